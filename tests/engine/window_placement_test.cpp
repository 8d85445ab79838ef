// Where start-up puts the main window: centred by its 648x512 outer size, with its border, and
// on a screen no larger than the picture without a border and without the floating message
// window.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/layers.h"
#include "settings/setting_names.h"
#include "support/test_game.h"

namespace corvan::test {
namespace {

struct Placement {
    WindowPoint screen;
    WindowPoint topLeft;
    bool bordered;
};

TEST(WindowPlacement,
     GivenScreensOfManySizes_WhenTheGameStarts_ThenTheWindowIsCentredByItsOuterSize) {
    const std::vector<Placement> cases{
        {{1024, 768}, {188, 128}, true},  {{800, 600}, {76, 44}, true},
        {{1025, 769}, {188, 128}, true},  // halves cut off
        {{641, 481}, {-3, -15}, true},    // cut toward zero, not down
        {{1920, 1080}, {636, 284}, true},
    };
    for (const Placement& c : cases) {
        TestGame t({chunk("main", "hello\n")});
        t.host().setScreenSize(c.screen);

        t.start();

        SCOPED_TRACE(std::to_string(c.screen.x) + "x" + std::to_string(c.screen.y));
        EXPECT_EQ(t.host().mainWindowAt(), c.topLeft);
        EXPECT_EQ(t.host().mainWindowSize(), (WindowPoint{648, 512}));
        EXPECT_EQ(t.host().mainWindowBordered(), c.bordered);
        EXPECT_TRUE(t.game().mainWindowBordered);
    }
}

TEST(WindowPlacement,
     GivenAScreenOnlyAsLargeAsThePicture_WhenTheGameStarts_ThenTheWindowHasNoBorder) {
    const std::vector<Placement> cases{
        {{640, 480}, {-4, -16}, false},
        {{640, 1024}, {-4, 256}, false},
        {{1280, 480}, {316, -16}, false},
    };
    for (const Placement& c : cases) {
        TestGame t({chunk("main", "hello\n")});
        t.host().setScreenSize(c.screen);

        t.start();

        SCOPED_TRACE(std::to_string(c.screen.x) + "x" + std::to_string(c.screen.y));
        EXPECT_EQ(t.host().mainWindowAt(), c.topLeft);
        EXPECT_EQ(t.host().mainWindowSize(), (WindowPoint{648, 512}));
        EXPECT_FALSE(t.host().mainWindowBordered());
        EXPECT_FALSE(t.game().mainWindowBordered);
    }
}

TEST(WindowPlacement,
     GivenA640By480ScreenAndTheMovableFrameStored_WhenTextShows_ThenItIsOnThePicture) {
    TestGame t({chunk("main", "*gra S246,0\nhello▼\n")});
    t.host().setScreenSize({640, 480});
    t.host().writeSetting(setting::kTextWind, "1");
    t.host().writeSetting(setting::kDelay, "1");

    Game& g = t.start();
    t.player().run();

    ASSERT_EQ(g.waitKind, WaitKind::Page);
    EXPECT_FALSE(g.movableFrame);
    EXPECT_FALSE(t.host().textWindowShown());
    EXPECT_NE(g.screen.pixel(38, 465), 0x204060u);  // the frame covers the picture
    EXPECT_EQ(t.host().readSetting(setting::kTextWind), "1");
}

TEST(WindowPlacement,
     GivenALargeScreenAndTheMovableFrameStored_WhenTextShows_ThenItIsInTheMessageWindow) {
    TestGame t({chunk("main", "*gra S246,0\nhello▼\n")});
    t.host().writeSetting(setting::kTextWind, "1");
    t.host().writeSetting(setting::kDelay, "1");

    Game& g = t.start();
    t.player().run();

    ASSERT_EQ(g.waitKind, WaitKind::Page);
    EXPECT_TRUE(g.movableFrame);
    EXPECT_TRUE(t.host().textWindowShown());
    EXPECT_EQ(g.screen.pixel(38, 465), 0x204060u);
}

}  // namespace
}  // namespace corvan::test
