// The idle handler, the 60 ms timer and the left click that ends click waits: what holds the
// interpreter back and what lets it go on.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "support/scenario.h"
#include "support/test_game.h"

namespace corvan::test {
namespace {

using Lines = std::vector<std::string>;

std::uint32_t lcgAfter(int draws) {
    std::uint32_t state = 1;
    for (int i = 0; i < draws; ++i) state = state * 22695477u + 1u;
    return state;
}

// --- The idle handler ------------------------------------------------------------------------

TEST(AppIdle, GivenAnyBlock_WhenIdleIsCalled_ThenNoStepRunsUntilItIsLiftedAndThenOneDoes) {
    struct Block {
        const char* name;
        std::function<void(Game&, bool)> set;
    };
    const std::vector<Block> blocks{
        {"viewFlag",
         [](Game& g, bool on) { g.viewFlag = on ? ViewFlag::ViewShown : ViewFlag::Story; }},
        {"menuKind", [](Game& g, bool on) { g.menuKind = on ? MenuKind::Choice : MenuKind::None; }},
        {"menuKind 5",
         [](Game& g, bool on) { g.menuKind = on ? MenuKind::FloorMap : MenuKind::None; }},
        {"delayTicks", [](Game& g, bool on) { g.delayTicks = on ? 3 : 0; }},
        {"waitKind 1", [](Game& g, bool on) { g.waitKind = on ? WaitKind::Page : WaitKind::None; }},
        {"waitKind 2",
         [](Game& g, bool on) { g.waitKind = on ? WaitKind::Plain : WaitKind::None; }},
        {"scriptRunning", [](Game& g, bool on) { g.scriptRunning = !on; }},
    };
    for (const Block& block : blocks) {
        SCOPED_TRACE(block.name);
        TestGame t({chunk("main", "a\nb\n")});
        Game& g = startFast(t);
        block.set(g, true);
        g.AppIdle();
        g.AppIdle();
        EXPECT_TRUE(t.textLines().empty());
        EXPECT_EQ(g.scriptPos, 0);

        block.set(g, false);
        EXPECT_TRUE(g.AppIdle());
        EXPECT_EQ(t.textLines(), (Lines{"a"}));
    }
}

TEST(AppIdle, GivenAStartedGame_WhenIdleCallsRun_ThenEachDrawsOneRandomNumber) {
    TestGame t({chunk("main", "a\n▼\nb\n")});
    Game& g = startFast(t);
    EXPECT_EQ(g.random.state(), 1u);  // start-up draws none
    g.AppIdle();
    EXPECT_EQ(g.random.state(), lcgAfter(1));
    for (int i = 0; i < 9; ++i) g.AppIdle();  // blocked by the page wait for most of these
    ASSERT_EQ(g.waitKind, WaitKind::Page);
    EXPECT_EQ(g.random.state(), lcgAfter(10));
}

TEST(AppIdle, GivenTheGeneratorFromOne_WhenDrawn_ThenResultsAreBits16To30OfTheState) {
    Random random;
    EXPECT_EQ(random.next(), static_cast<std::int32_t>((lcgAfter(1) >> 16) & 0x7FFF));
    EXPECT_EQ(random.next(), static_cast<std::int32_t>((lcgAfter(2) >> 16) & 0x7FFF));
    EXPECT_EQ(random.state(), lcgAfter(2));
}

TEST(AppIdle, GivenAQuitRequest_WhenTheNextIdleCallComes_ThenTheWindowClosesWithoutAStep) {
    TestGame t({chunk("main", "a\n")});
    Game& g = startFast(t);
    g.quitRequested = true;
    EXPECT_FALSE(t.player().closed());

    t.player().idle();
    EXPECT_TRUE(t.player().closed());
    EXPECT_EQ(t.events("close"), (Lines{""}));
    EXPECT_TRUE(t.textLines().empty());
    EXPECT_EQ(g.random.state(), lcgAfter(1));  // the number is drawn before the close
}

TEST(AppIdle, GivenARepaintRequest_WhenIdleIsCalled_ThenItIsTakenCareOf) {
    TestGame t({chunk("main", "a\n")});
    Game& g = startFast(t);
    g.menuKind = MenuKind::Choice;
    g.updatePending = true;
    g.AppIdle();
    EXPECT_FALSE(g.updatePending);
}

// --- The timer -------------------------------------------------------------------------------

TEST(Timer, GivenATimedDelay_WhenTicksCome_ThenEachCountsItDownByOne) {
    TestGame t({chunk("main", "a\n")});
    Game& g = t.start();
    g.delayTicks = 2;
    for (const int left : {1, 0, 0}) {
        g.Timer1Timer();
        EXPECT_EQ(g.delayTicks, left);
    }
    EXPECT_EQ(g.tickCount, 3);
}

TEST(Timer, GivenAWaitTag_WhenPlayed_ThenTheLineGoesOnOnlyOnceItsTicksHavePassed) {
    TestGame t({chunk("main", "a[wait 4]b\nnext\n")});
    Game& g = startFast(t);
    t.player().idle();  // runs up to the tag
    ASSERT_EQ(g.delayTicks, 4);
    t.player().idle(11);  // the fourth tick comes after the twelfth idle call
    EXPECT_EQ(g.delayTicks, 0);
    EXPECT_EQ(g.textLine, 0);
    EXPECT_EQ(g.textColumn, 1);

    t.player().idle();
    EXPECT_EQ(g.textLine, 1);
    EXPECT_EQ(t.textLines(), (Lines{"a[wait 4]b"}));
}

TEST(Timer, GivenNormalSpeed_WhenIdleCallsRun_ThenOneCharacterShowsPerCallAndEveryThirdTicks) {
    TestGame t({chunk("main", "abcde\nf\n")});
    Game& g = t.start();
    t.player().idle(2);
    EXPECT_EQ(g.tickCount, 0);
    t.player().idle();
    EXPECT_EQ(g.tickCount, 1);
    t.player().idle(2);
    EXPECT_EQ(g.textColumn, 5);
    EXPECT_EQ(g.textLine, 0);
    t.player().idle();
    EXPECT_EQ(g.textLine, 1);
    EXPECT_EQ(g.tickCount, 2);
    t.player().idle(30);
    EXPECT_EQ(g.tickCount, 12);
}

TEST(Timer, GivenADelayTag_WhenPlayed_ThenEachCharacterWaitsAQuarterOfItInTicks) {
    TestGame t({chunk("main", "[delay 8]ab\n")});
    Game& g = startFast(t);
    t.player().idle();  // 'a'; then two ticks, at the third and sixth idle calls
    EXPECT_EQ(g.textColumn, 1);
    t.player().idle(5);
    EXPECT_EQ(g.textColumn, 1);
    EXPECT_EQ(g.delayTicks, 0);
    t.player().idle();
    EXPECT_EQ(g.textColumn, 2);
}

// --- The left click --------------------------------------------------------------------------

TEST(LeftClick, GivenAPageOrPlainWait_WhenClicked_ThenTheWaitEndsAndANewPageStartsOrTheTextStays) {
    struct Case {
        const char* mark;
        WaitKind kind;
        int column;  // after the click
        int line;
    };
    for (const Case& c : {Case{"▼", WaitKind::Page, 0, 0}, Case{"〓", WaitKind::Plain, 2, 1}}) {
        SCOPED_TRACE(c.mark);
        TestGame t({chunk("main", std::string("ab\ncd") + c.mark + "\nef\n")});
        Game& g = startFast(t);
        t.player().run();
        ASSERT_EQ(g.waitKind, c.kind);
        ASSERT_EQ(g.textLine, 1);
        ASSERT_EQ(g.textColumn, 2);

        t.player().click(MouseButton::Left, 320, 240);
        EXPECT_EQ(g.waitKind, WaitKind::None);
        EXPECT_EQ(g.textColumn, c.column);
        EXPECT_EQ(g.textLine, c.line);
        t.player().idle();
        EXPECT_EQ(t.textLines().back(), "ef");
        EXPECT_EQ(g.textLine, c.line + 1);
    }
}

TEST(LeftClick, GivenAPageWaitInTheAlternateTextMode_WhenClicked_ThenTheCursorGoesHome) {
    TestGame t({chunk("main", "x\n")});
    Game& g = t.start();
    g.altTextMode = AltTextMode::On;
    g.waitKind = WaitKind::Page;
    g.textColumn = 5;
    g.textLine = 2;

    t.player().click(MouseButton::Left, 10, 10);

    EXPECT_EQ(g.waitKind, WaitKind::None);
    EXPECT_EQ(g.textColumn, 0);
    EXPECT_EQ(g.textLine, 0);
}

TEST(LeftClick, GivenPacedTextOrATimedDelay_WhenClicked_ThenNothingChangesNorIsShortened) {
    TestGame t({chunk("main", "abcdef\n")});
    Game& g = t.start();
    t.step();
    t.step();
    ASSERT_EQ(g.textColumn, 2);
    t.player().click(MouseButton::Left, 320, 240);
    EXPECT_EQ(g.textColumn, 2);
    EXPECT_EQ(g.linePos, 2);
    EXPECT_FALSE(g.fetchLine);
    EXPECT_EQ(g.waitKind, WaitKind::None);

    TestGame delayed({chunk("main", "[delay 12]abc\n")});
    Game& d = startFast(delayed);
    delayed.step();
    ASSERT_EQ(d.delayTicks, 3);
    delayed.player().click(MouseButton::Left, 320, 240);
    EXPECT_EQ(d.delayTicks, 3);
    EXPECT_EQ(d.textColumn, 1);
}

TEST(LeftClick, GivenAPageWait_WhenTheMiddleButtonOrABlockedLeftOneIsPressed_ThenTheWaitStays) {
    TestGame t({chunk("main", "ab▼\n")});
    Game& g = startFast(t);
    t.player().run();
    ASSERT_EQ(g.waitKind, WaitKind::Page);

    t.player().click(MouseButton::Middle, 320, 240);
    EXPECT_EQ(g.waitKind, WaitKind::Page);

    g.viewFlag = ViewFlag::ViewShown;  // a view screen
    t.player().click(MouseButton::Left, 320, 240);
    EXPECT_EQ(g.waitKind, WaitKind::Page);
    EXPECT_EQ(g.textColumn, 2);
    g.viewFlag = ViewFlag::Story;

    // The input latch holds until any button's release clears it.
    g.inputLatch = true;
    t.player().mouseDown(MouseButton::Left, 320, 240);
    EXPECT_EQ(g.waitKind, WaitKind::Page);
    t.player().mouseUp(MouseButton::Right, 320, 240);
    EXPECT_FALSE(g.inputLatch);
    t.player().mouseDown(MouseButton::Left, 320, 240);
    EXPECT_EQ(g.waitKind, WaitKind::None);
}

}  // namespace
}  // namespace corvan::test
