// The floating message window of the movable frame mode: it shows the text frame, and any
// button drags it, moving it only on every fourth move event. Its clicks never reach the story.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/resources.h"
#include "settings/setting_names.h"
#include "support/test_game.h"

namespace corvan::test {
namespace {

using Lines = std::vector<std::string>;

constexpr WindowPoint kFirstPlace{2, 2};

// A page at the fast speed in the movable frame mode, left at its ▼ (on a line of its own, so
// that the line before it has reached the window).
Game& startMovable(TestGame& t) {
    t.host().writeSetting(setting::kTextWind, "1");
    t.host().writeSetting(setting::kDelay, "1");
    Game& g = t.start();
    t.player().run();
    return g;
}

const char* const kPage = "*gra S246,0\nabc\n▼\nnext\n";

WindowPoint where(TestGame& t) {
    return t.host().textWindowPosition();
}

// --- What it shows ------------------------------------------------------------------------------

TEST(MessageWindow,
     GivenTheMovableFrame_WhenAPageIsWritten_ThenTheWindowShowsItAndThePictureStaysBare) {
    TestGame t({chunk("main", kPage)});
    Game& g = startMovable(t);

    ASSERT_TRUE(t.host().textWindowShown());
    const Bitmap& shown = t.host().textWindow();
    ASSERT_EQ(shown.width(), 576);
    ASSERT_EQ(shown.height(), 96);
    const Bitmap backdrop = loadResource("TEXT_BG");
    int changed = 0;
    for (int y = 0; y < 96; ++y) {
        for (int x = 0; x < 576; ++x) changed += shown.pixel(x, y) != backdrop.pixel(x, y);
    }
    EXPECT_GT(changed, 0);
    EXPECT_EQ(g.screen.pixel(100, 460), 0x204060u);
    EXPECT_EQ(where(t), kFirstPlace);
}

// --- Drag ---------------------------------------------------------------------------------------

TEST(MessageWindowDrag,
     GivenTheButtonHeld_WhenThePointerMoves_ThenOnlyEveryFourthMoveMovesTheWindow) {
    TestGame t({chunk("main", kPage)});
    Game& g = startMovable(t);

    g.TextWindowMouseDown(10, 10);
    g.TextWindowMouseMove(11, 10);
    g.TextWindowMouseMove(12, 11);
    g.TextWindowMouseMove(13, 12);
    EXPECT_EQ(where(t), kFirstPlace);
    g.TextWindowMouseMove(30, 25);
    EXPECT_EQ(where(t), (WindowPoint{22, 17}));

    // The next moves add to where the window is now.
    g.TextWindowMouseMove(15, 15);
    g.TextWindowMouseMove(15, 15);
    g.TextWindowMouseMove(15, 15);
    EXPECT_EQ(where(t), (WindowPoint{22, 17}));
    g.TextWindowMouseMove(5, 14);
    EXPECT_EQ(where(t), (WindowPoint{17, 21}));
}

TEST(MessageWindowDrag, GivenAnEarlierDrag_WhenANewOneStarts_ThenTheMoveCountGoesOnFromWhereItWas) {
    TestGame t({chunk("main", kPage)});
    Game& g = startMovable(t);
    g.TextWindowMouseDown(10, 10);
    for (int i = 0; i < 6; ++i) g.TextWindowMouseMove(10, 10);  // moves 1 to 6
    g.TextWindowMouseUp();
    ASSERT_EQ(where(t), kFirstPlace);

    g.TextWindowMouseDown(20, 20);
    g.TextWindowMouseMove(21, 20);  // move 7
    EXPECT_EQ(where(t), kFirstPlace);
    g.TextWindowMouseMove(23, 24);  // move 8
    EXPECT_EQ(where(t), (WindowPoint{5, 6}));
}

TEST(MessageWindowDrag,
     GivenTheButtonReleased_WhenThePointerMoves_ThenTheWindowStaysAndNoMoveCounts) {
    TestGame t({chunk("main", kPage)});
    Game& g = startMovable(t);
    g.TextWindowMouseDown(10, 10);
    for (int i = 0; i < 3; ++i) g.TextWindowMouseMove(11, 11);  // moves 1 to 3
    g.TextWindowMouseUp();

    for (int i = 0; i < 9; ++i) g.TextWindowMouseMove(50, 50);
    EXPECT_EQ(where(t), kFirstPlace);

    g.TextWindowMouseDown(10, 10);
    g.TextWindowMouseMove(14, 13);  // move 4
    EXPECT_EQ(where(t), (WindowPoint{6, 5}));
}

TEST(MessageWindowDrag, GivenADrag_WhenTheButtonIsPressedAgain_ThenTheFirstGrabPointStays) {
    TestGame t({chunk("main", kPage)});
    Game& g = startMovable(t);
    g.TextWindowMouseDown(10, 10);
    g.TextWindowMouseMove(10, 10);
    g.TextWindowMouseMove(10, 10);
    g.TextWindowMouseMove(10, 10);

    g.TextWindowMouseDown(50, 60);
    g.TextWindowMouseMove(20, 10);

    EXPECT_EQ(where(t), (WindowPoint{12, 2}));
}

TEST(MessageWindowDrag,
     GivenAWindowMovedElsewhere_WhenADragStarts_ThenItStartsFromWhereTheWindowIs) {
    TestGame t({chunk("main", kPage)});
    Game& g = startMovable(t);
    t.host().moveTextWindow({300, 200});

    g.TextWindowMouseDown(10, 10);
    for (int i = 0; i < 3; ++i) g.TextWindowMouseMove(10, 10);
    g.TextWindowMouseMove(7, 12);

    EXPECT_EQ(where(t), (WindowPoint{297, 202}));
}

TEST(MessageWindowClicks,
     GivenAPageWait_WhenTheMessageWindowIsClicked_ThenTheWaitStaysAndNoMenuOpens) {
    TestGame t({chunk("main", kPage)});
    Game& g = startMovable(t);
    ASSERT_EQ(g.waitKind, WaitKind::Page);

    for (int i = 0; i < 3; ++i) {
        g.TextWindowMouseDown(100, 30);
        g.TextWindowMouseMove(100, 30);
        g.TextWindowMouseUp();
    }
    t.player().idle(6);

    EXPECT_EQ(g.waitKind, WaitKind::Page);
    EXPECT_EQ(g.menuKind, MenuKind::None);
    EXPECT_EQ(t.textLines(), (Lines{"abc", "▼"}));
}

}  // namespace
}  // namespace corvan::test
