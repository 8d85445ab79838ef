// The demo game that the README's first command plays: it must keep playing through to its
// last page, showing every feature it was written to show.

#include <gtest/gtest.h>

#include "engine/settings.h"
#include "headless/replay.h"
#include "support/test_archive.h"

namespace corvan::test {
namespace {

TEST(DemoGame, PlaysThroughEveryChapterWithClicksAlone) {
    TempDir save;
    HeadlessPlayer player(GameOptions{.withSound = true});
    player.host().setSettingFallback(setting::kSaveDir, save.path().string());
    player.host().setSettingFallback(setting::kGameDir, CORVAN_DEMO_DIR);

    int clicks = 0;
    int picks = 0;
    for (player.run(); player.game().scriptRunning && clicks < 30; player.run()) {
        if (player.game().menuKind == 1) {
            player.click(MouseButton::Left, 100, 34);  // the first choice row
            ++picks;
        } else {
            player.click(MouseButton::Left, 320, 240);
            ++clicks;
        }
    }
    const Game& game = player.game();
    EXPECT_FALSE(game.scriptRunning);
    EXPECT_EQ(game.lastChunk, "chap2");
    EXPECT_EQ(clicks, 10);  // nine page waits and one plain wait
    EXPECT_EQ(picks, 1);
    EXPECT_EQ(game.vars.v(10), 3);
    EXPECT_EQ(game.vars.v(11), 30);
    EXPECT_EQ(game.vars.s(1), 1);
    EXPECT_TRUE(game.vars.TestFlag(20));

    std::vector<std::string> chunks;
    for (const std::string& line : player.host().events()) {
        if (line.rfind("chunk ", 0) == 0) chunks.push_back(line.substr(6));
    }
    EXPECT_EQ(chunks, (std::vector<std::string>{"main", "hall", "messys", "chap2"}));

    std::vector<std::string> transitions;
    for (const std::string& line : player.host().events()) {
        if (line.rfind("transition ", 0) == 0) transitions.push_back(line.substr(11));
    }
    EXPECT_EQ(transitions, (std::vector<std::string>{"4 frames 25", "6 frames 17", "10 frames 50",
                                                     "7 frames 48", "13 frames 24"}));
}

}  // namespace
}  // namespace corvan::test
