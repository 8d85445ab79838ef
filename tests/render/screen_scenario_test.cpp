// Whole pages through the headless player: pictures, the message frame and its text as the
// player sees them on the screen surface.

#include <gtest/gtest.h>

#include "headless/png_writer.h"
#include "support/test_game.h"
#include "support/test_pictures.h"

namespace corvan::test {
namespace {

TEST(ScreenScenario, APictureWithAPageOfTextShowsTheFrameOverIt) {
    TestGame t({chunk("main",
                      "*gra A001,6\n*grb b002\n*gra A001,1\nホテル「コルヴァン」へようこそ。\n[col "
                      "2]赤い文字[col 0]と◆ハート。▼\n")});
    writePrs(t.gameDir() / "GRA/A/A001.PRS", makeBitmap(640, 480, [](int x, int y) {
                 return static_cast<std::uint32_t>((x * 255 / 640) << 8 | (y * 255 / 480));
             }));
    writePrs(t.gameDir() / "GRA/B/B002.PRS", makeBitmap(200, 200, [](int x, int y) {
                 const int dx = x - 100, dy = y - 100;
                 return dx * dx + dy * dy < 80 * 80 ? 0xFFFFFFu : 0xFF00FFu;
             }));
    t.start();
    t.player().run();
    for (int i = 0; i < 9; ++i) t.player().idle();
    std::string error;
    ASSERT_TRUE(writePng(t.game().screen, "/tmp/corvan_scenario.png", error)) << error;
    EXPECT_EQ(t.game().waitKind, WaitKind::Page);
}

}  // namespace
}  // namespace corvan::test
