// The demo game that the README's first command plays: it must keep playing through to the
// hotel, showing every feature it was written to show, and the hotel must stay walkable.

#include <gtest/gtest.h>

#include "headless/replay.h"
#include "settings/setting_names.h"
#include "support/test_archive.h"

namespace corvan::test {
namespace {

std::vector<std::string> eventsAfter(HeadlessPlayer& player, const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& line : player.host().events()) {
        if (line.rfind(prefix, 0) == 0) out.push_back(line.substr(prefix.size()));
    }
    return out;
}

class DemoGame : public testing::Test {
protected:
    DemoGame() : player(GameOptions{.withSound = true}) {
        player.host().setSettingFallback(setting::kSaveDir, save.path().string());
        player.host().setSettingFallback(setting::kGameDir, CORVAN_DEMO_DIR);
    }

    // Clicks through pages and picks the first choice until the hotel menu is up.
    void playToTheHotel() {
        for (player.run(); player.game().menuKind != MenuKind::Hotel && clicks < 30; player.run()) {
            if (player.game().menuKind == MenuKind::Choice) {
                player.click(MouseButton::Left, 100, 34);  // the first choice row
                ++picks;
            } else {
                player.click(MouseButton::Left, 320, 240);
                ++clicks;
            }
        }
    }
    // One click on the hotel menu or floor map, then the page the chunk shows, then back.
    void walk(int x, int y) {
        player.click(MouseButton::Left, x, y);
        player.run();
    }
    void readThePage() {
        player.click(MouseButton::Left, 320, 240);
        player.run();
    }

    TempDir save;
    HeadlessPlayer player;
    int clicks = 0;
    int picks = 0;
};

TEST_F(DemoGame, PlaysThroughEveryChapterIntoTheHotelWithClicksAlone) {
    playToTheHotel();
    const Game& game = player.game();
    EXPECT_EQ(game.menuKind, MenuKind::Hotel);
    EXPECT_EQ(game.lastChunk, "chap2");
    EXPECT_EQ(clicks, 10);  // nine page waits and one plain wait
    EXPECT_EQ(picks, 1);
    EXPECT_EQ(game.vars.v(10), 3);
    EXPECT_EQ(game.vars.v(11), 30);
    EXPECT_EQ(game.vars.v(50), 40);
    EXPECT_EQ(game.vars.s(1), 1);
    EXPECT_TRUE(game.vars.TestFlag(20));
    EXPECT_EQ(eventsAfter(player, "chunk "),
              (std::vector<std::string>{"main", "hall", "messys", "chap2"}));
    EXPECT_EQ(eventsAfter(player, "transition "),
              (std::vector<std::string>{"4 frames 25", "6 frames 17", "10 frames 50",
                                        "7 frames 48", "13 frames 24"}));
}

TEST_F(DemoGame, TheHotelCanBeWalkedFloorToFloorAndCollectedIn) {
    playToTheHotel();
    walk(80, 50);    // 移動
    walk(100, 390);  // 1F: the lift from 3F
    EXPECT_EQ(player.game().lastChunk, "KAI");
    EXPECT_EQ(player.game().vars.v(60), 1);
    EXPECT_EQ(player.game().vars.v(61), -2);
    EXPECT_EQ(player.host().mainWindowMoves().size(), 11u);  // the lift's shake, and back
    readThePage();
    EXPECT_EQ(player.game().menuKind, MenuKind::Hotel);

    walk(80, 50);    // 移動
    walk(340, 150);  // the lobby on 1F
    EXPECT_EQ(player.game().lastChunk, "ROB");
    readThePage();

    walk(80, 130);  // 徴収
    EXPECT_EQ(player.game().lastChunk, "IVE");
    readThePage();
    EXPECT_EQ(player.game().menuKind, MenuKind::Hotel);
    EXPECT_EQ(player.game().vars.v(50), 60);
}

}  // namespace
}  // namespace corvan::test
