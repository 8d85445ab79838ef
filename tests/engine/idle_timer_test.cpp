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

TEST(AppIdle, GivenNothingBlocks_WhenIdleIsCalled_ThenOneInterpreterStepRuns) {
    TestGame t({chunk("main", "a\nb\n")});
    Game& g = startFast(t);

    EXPECT_TRUE(g.AppIdle());

    EXPECT_EQ(t.textLines(), (Lines{"a"}));
}

TEST(AppIdle, GivenAnyBlock_WhenIdleIsCalled_ThenTheInterpreterDoesNotRunUntilItIsLifted) {
    struct Block {
        const char* name;
        std::function<void(Game&)> set;
        std::function<void(Game&)> clear;
    };
    const std::vector<Block> blocks{
        {"viewFlag", [](Game& g) { g.viewFlag = 2; }, [](Game& g) { g.viewFlag = 0; }},
        {"menuKind", [](Game& g) { g.menuKind = 1; }, [](Game& g) { g.menuKind = 0; }},
        {"menuKind 5", [](Game& g) { g.menuKind = 5; }, [](Game& g) { g.menuKind = 0; }},
        {"delayTicks", [](Game& g) { g.delayTicks = 3; }, [](Game& g) { g.delayTicks = 0; }},
        {"waitKind 1", [](Game& g) { g.waitKind = 1; }, [](Game& g) { g.waitKind = 0; }},
        {"waitKind 2", [](Game& g) { g.waitKind = 2; }, [](Game& g) { g.waitKind = 0; }},
        {"scriptRunning", [](Game& g) { g.scriptRunning = false; },
         [](Game& g) { g.scriptRunning = true; }},
    };
    for (const Block& block : blocks) {
        TestGame t({chunk("main", "a\nb\n")});
        Game& g = startFast(t);
        block.set(g);

        g.AppIdle();
        g.AppIdle();
        EXPECT_TRUE(t.textLines().empty()) << block.name;
        EXPECT_EQ(g.scriptPos, 0) << block.name;

        block.clear(g);
        g.AppIdle();
        EXPECT_EQ(t.textLines(), (Lines{"a"})) << block.name;
    }
}

TEST(AppIdle, GivenAStartedGame_WhenIdleCallsRun_ThenEachDrawsOneRandomNumber) {
    TestGame t({chunk("main", "a\n▼\nb\n")});
    Game& g = startFast(t);
    EXPECT_EQ(g.random.state(), 1u);  // start-up draws none

    g.AppIdle();
    EXPECT_EQ(g.random.state(), lcgAfter(1));
    for (int i = 0; i < 9; ++i) g.AppIdle();  // blocked by the page wait for most of these
    ASSERT_EQ(g.waitKind, 1);

    EXPECT_EQ(g.random.state(), lcgAfter(10));
}

TEST(AppIdle, GivenTheGeneratorFromOne_WhenDrawn_ThenResultsAreBits16To30OfTheState) {
    Random random;

    const std::int32_t first = random.next();
    const std::int32_t second = random.next();

    EXPECT_EQ(first, static_cast<std::int32_t>((lcgAfter(1) >> 16) & 0x7FFF));
    EXPECT_EQ(second, static_cast<std::int32_t>((lcgAfter(2) >> 16) & 0x7FFF));
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
    g.menuKind = 1;
    g.updatePending = true;

    g.AppIdle();

    EXPECT_FALSE(g.updatePending);
}

// --- The timer -------------------------------------------------------------------------------

TEST(Timer, GivenATimedDelay_WhenTicksCome_ThenEachCountsItDownByOne) {
    TestGame t({chunk("main", "a\n")});
    Game& g = t.start();
    g.delayTicks = 2;

    g.Timer1Timer();
    EXPECT_EQ(g.delayTicks, 1);
    g.Timer1Timer();
    EXPECT_EQ(g.delayTicks, 0);
    g.Timer1Timer();

    EXPECT_EQ(g.delayTicks, 0);
    EXPECT_EQ(g.tickCount, 3);
}

TEST(Timer, GivenTheHeadlessClock_WhenIdleCallsRun_ThenTheTimerFiresAfterEveryThirdOne) {
    TestGame t({chunk("main", "a\n▼\n")});
    Game& g = t.start();

    t.player().idle();
    t.player().idle();
    EXPECT_EQ(g.tickCount, 0);
    t.player().idle();
    EXPECT_EQ(g.tickCount, 1);
    t.player().idle(3);
    EXPECT_EQ(g.tickCount, 2);
    t.player().idle(30);
    EXPECT_EQ(g.tickCount, 12);
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

TEST(Timer, GivenNormalSpeed_WhenIdleCallsRun_ThenOneCharacterShowsPerCall) {
    TestGame t({chunk("main", "abcde\nf\n")});
    Game& g = t.start();

    t.player().idle(5);
    EXPECT_EQ(g.textColumn, 5);
    EXPECT_EQ(g.textLine, 0);
    t.player().idle();

    EXPECT_EQ(g.textLine, 1);
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

TEST(LeftClick, GivenAPageWait_WhenClicked_ThenTheWaitEndsAndTheNextTextStartsANewPage) {
    TestGame t({chunk("main", "ab\ncd▼\nef\n")});
    Game& g = startFast(t);
    t.player().run();
    ASSERT_EQ(g.waitKind, 1);
    ASSERT_EQ(g.textLine, 1);
    ASSERT_EQ(g.textColumn, 2);

    t.player().click(MouseButton::Left, 320, 240);

    EXPECT_EQ(g.waitKind, 0);
    EXPECT_EQ(g.textColumn, 0);
    EXPECT_EQ(g.textLine, 0);
    t.player().idle();
    EXPECT_EQ(t.textLines().back(), "ef");
    EXPECT_EQ(g.textLine, 1);
}

TEST(LeftClick, GivenAPlainWait_WhenClicked_ThenTheWaitEndsAndTheTextStays) {
    TestGame t({chunk("main", "ab\ncd〓\nef\n")});
    Game& g = startFast(t);
    t.player().run();
    ASSERT_EQ(g.waitKind, 2);

    t.player().click(MouseButton::Left, 320, 240);

    EXPECT_EQ(g.waitKind, 0);
    EXPECT_EQ(g.textColumn, 2);
    EXPECT_EQ(g.textLine, 1);
    t.player().idle();
    EXPECT_EQ(g.textLine, 2);
}

TEST(LeftClick, GivenAPageWaitInTheAlternateTextMode_WhenClicked_ThenTheCursorGoesHome) {
    TestGame t({chunk("main", "x\n")});
    Game& g = t.start();
    g.altTextMode = 1;
    g.waitKind = 1;
    g.textColumn = 5;
    g.textLine = 2;

    t.player().click(MouseButton::Left, 10, 10);

    EXPECT_EQ(g.waitKind, 0);
    EXPECT_EQ(g.textColumn, 0);
    EXPECT_EQ(g.textLine, 0);
}

TEST(LeftClick, GivenPacedTextBeingWritten_WhenClicked_ThenNothingChanges) {
    TestGame t({chunk("main", "abcdef\n")});
    Game& g = t.start();
    t.step();
    t.step();
    ASSERT_EQ(g.textColumn, 2);

    t.player().click(MouseButton::Left, 320, 240);

    EXPECT_EQ(g.textColumn, 2);
    EXPECT_EQ(g.linePos, 2);
    EXPECT_FALSE(g.fetchLine);
    EXPECT_EQ(g.waitKind, 0);
}

TEST(LeftClick, GivenATimedDelay_WhenClicked_ThenTheDelayIsNotShortened) {
    TestGame t({chunk("main", "[delay 12]abc\n")});
    Game& g = startFast(t);
    t.step();
    ASSERT_EQ(g.delayTicks, 3);

    t.player().click(MouseButton::Left, 320, 240);

    EXPECT_EQ(g.delayTicks, 3);
    EXPECT_EQ(g.textColumn, 1);
}

TEST(LeftClick, GivenTheInputLatch_WhenPressed_ThenNothingHappensUntilTheButtonIsReleased) {
    TestGame t({chunk("main", "ab▼\n")});
    Game& g = startFast(t);
    t.player().run();
    ASSERT_EQ(g.waitKind, 1);
    g.inputLatch = true;

    t.player().mouseDown(MouseButton::Left, 320, 240);
    EXPECT_EQ(g.waitKind, 1);
    t.player().mouseUp(MouseButton::Right, 320, 240);  // any button's release clears it
    EXPECT_FALSE(g.inputLatch);
    t.player().mouseDown(MouseButton::Left, 320, 240);

    EXPECT_EQ(g.waitKind, 0);
}

TEST(LeftClick, GivenAViewScreen_WhenClicked_ThenTheClickWaitIsNotEnded) {
    TestGame t({chunk("main", "ab▼\n")});
    Game& g = startFast(t);
    t.player().run();
    g.viewFlag = 2;

    t.player().click(MouseButton::Left, 320, 240);

    EXPECT_EQ(g.waitKind, 1);
    EXPECT_EQ(g.textColumn, 2);
}

TEST(LeftClick, GivenAPageWait_WhenTheMiddleButtonIsClicked_ThenTheWaitStays) {
    TestGame t({chunk("main", "ab▼\n")});
    Game& g = startFast(t);
    t.player().run();

    t.player().click(MouseButton::Middle, 320, 240);

    EXPECT_EQ(g.waitKind, 1);
}

}  // namespace
}  // namespace corvan::test
