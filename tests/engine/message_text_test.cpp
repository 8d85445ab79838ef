// Message text bookkeeping: the text cursor, the wait marks, the inline tags and the pacing of
// characters. Pixels are not looked at here, only where the cursor goes and what blocks the
// next step.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "render/layers.h"
#include "render/raster.h"
#include "settings/setting_names.h"
#include "support/scenario.h"
#include "support/test_game.h"
#include "support/test_pictures.h"

namespace corvan::test {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

// The text state a test expects; fields left empty are not checked.
struct Want {
    std::optional<int> column = {};
    std::optional<int> line = {};
    std::optional<int> linePos = {};
    std::optional<bool> fetch = {};
    std::optional<int> delay = {};
    std::optional<WaitKind> wait = {};
    std::optional<int> colour = {};
    std::optional<int> large = {};
    std::optional<bool> frame = {};
};

// Runs `steps` interpreter steps, then checks what `want` holds.
void stepThen(TestGame& t, int steps, const Want& want) {
    for (int i = 0; i < steps; ++i) t.step();
    const Game& g = t.game();
    if (want.column) {
        EXPECT_EQ(g.textColumn, *want.column) << "column";
    }
    if (want.line) {
        EXPECT_EQ(g.textLine, *want.line) << "line";
    }
    if (want.linePos) {
        EXPECT_EQ(g.linePos, *want.linePos) << "linePos";
    }
    if (want.fetch) {
        EXPECT_EQ(g.fetchLine, *want.fetch) << "fetchLine";
    }
    if (want.delay) {
        EXPECT_EQ(g.delayTicks, *want.delay) << "delayTicks";
    }
    if (want.wait) {
        EXPECT_EQ(g.waitKind, *want.wait) << "waitKind";
    }
    if (want.colour) {
        EXPECT_EQ(g.textColour, *want.colour) << "textColour";
    }
    if (want.large) {
        EXPECT_EQ(g.largeText, *want.large) << "largeText";
    }
    if (want.frame) {
        EXPECT_EQ(g.frameOpen, *want.frame) << "frameOpen";
    }
}

// --- The cursor ------------------------------------------------------------------------------

TEST(TextCursor, GivenOneAndTwoByteCharacters_WhenPacedOneByOne_ThenColumnsFollowTheirWidth) {
    TestGame t({chunk("main", "aあb\n")});
    t.start();
    stepThen(t, 1, {.column = 1});
    stepThen(t, 1, {.column = 3});
    stepThen(t, 1, {.column = 4, .line = 0});
}

TEST(TextCursor, GivenLargeText_WhenCharactersShow_ThenTheyTakeTwiceTheColumns) {
    TestGame t({chunk("main", "x\n[4]aあ[1]b\n")});
    t.start();
    // 'x' opens the frame, which starts in normal text, and the line ends.
    stepThen(t, 3, {.column = 2, .large = 1});
    stepThen(t, 1, {.column = 6});
    stepThen(t, 1, {.column = 7, .large = 0});
}

TEST(TextCursor, GivenAFullWidthSpace_WhenItIsMet_ThenTwoColumnsPassAndTheStepGoesOn) {
    TestGame t({chunk("main", "x\n　a\n[4]　a\n")});
    t.start();
    // After 'x' and its line end, the space does not end a paced step; the 'a' does.
    stepThen(t, 3, {.column = 3});
    stepThen(t, 2, {.column = 4});  // two for the space in large text too, two for the 'a'
}

TEST(TextCursor, GivenAClosedFrame_WhenACharacterShows_ThenTheFrameOpensAtTheTopLeft) {
    TestGame t({chunk("main", "\n\n　a\n")});
    t.start();
    stepThen(t, 0, {.frame = false});
    // Two empty lines and the space move the cursor, then 'a' opens the frame.
    stepThen(t, 1, {.column = 1, .line = 0, .frame = true});
}

TEST(TextCursor, GivenALineOfOnlyAFullWidthSpace_WhenItRuns_ThenTheFrameIsNotOpened) {
    TestGame t({chunk("main", "　\n")});
    startFast(t);
    stepThen(t, 1, {.line = 1, .frame = false});
}

TEST(TextCursor, GivenTheEndOfALine_WhenReached_ThenTheCursorMovesToTheNextRowStart) {
    TestGame t({chunk("main", "ab\ncd\n")});
    startFast(t);
    stepThen(t, 1, {.column = 0, .line = 1, .fetch = true});
    stepThen(t, 1, {.line = 2});
    EXPECT_EQ(t.textLines(), (Lines{"ab", "cd"}));
}

TEST(TextCursor, GivenATrailingBackslash_WhenTheNextLineShows_ThenItContinuesOnTheSameRow) {
    TestGame t({rawChunk("main", "ab\\\0cd\0"s)});
    t.start();
    // The backslash ends the third step without a line break.
    stepThen(t, 3, {.column = 2, .line = 0, .fetch = true});
    stepThen(t, 1, {.column = 3, .line = 0});
}

TEST(TextCursor, GivenABackslashInsideALine_WhenItShows_ThenItIsAnOrdinaryCharacter) {
    TestGame t({rawChunk("main", "a\\b\0"s)});
    t.start();
    stepThen(t, 3, {.column = 3, .fetch = false});
}

TEST(TextCursor, GivenALineHoldingOnlyATag_WhenItRuns_ThenTheCursorStillMovesDownOneRow) {
    TestGame t({chunk("main", "[gra A001]\n[col 2]\n")});
    startFast(t);
    stepThen(t, 1, {.line = 1});
    stepThen(t, 1, {.line = 2, .colour = 2});
}

TEST(TextCursor, GivenALeadByteAtTheEndOfALineOrOfAFullLine_WhenItShows_ThenTheLineEndIsSeen) {
    for (const std::string& text : {"a"s, std::string(254, 'a')}) {
        SCOPED_TRACE(text.size());
        TestGame t({rawChunk("main", text + "\x82\0next\0"s)});
        startFast(t);
        stepThen(t, 1, {.column = 0, .line = 1, .fetch = true});
        t.step();
        EXPECT_EQ(t.textLines().back(), "next");
    }
}

TEST(TextCursor, GivenAHalfWidthKanaOrControlByte_WhenShown_ThenItIsTakenWithTheNextByte) {
    for (const std::string& line : {"x\0\xb1"s + "ab\0"s, "x\0\tab\0"s}) {
        TestGame t({rawChunk("main", line)});
        t.start();
        stepThen(t, 3, {.column = 2, .linePos = 2});  // after 'x', which opens the frame
        stepThen(t, 1, {.column = 3});
    }
}

TEST(TextCursor, GivenABracketAsSecondByteOfACharacter_WhenShown_ThenNoTagIsRead) {
    TestGame t({chunk("main", "ーab]c\n")});  // "ー" is 0x81 0x5B: its second byte is '['
    t.start();
    stepThen(t, 1, {.column = 2});
    stepThen(t, 3, {.column = 5, .fetch = false});
}

TEST(TextCursor, GivenABackslashAsSecondByteAtALineEnd_WhenShown_ThenTheLineBreaksAsUsual) {
    TestGame t({chunk("main", "アソ\nnext\n")});  // "ソ" is 0x83 0x5C: its second byte is '\'
    startFast(t);
    stepThen(t, 1, {.column = 0, .line = 1});
}

// --- Wait marks ------------------------------------------------------------------------------

TEST(WaitMarks, GivenAPageOrPlainWaitMark_WhenReached_ThenThatWaitStartsAndTheRestIsIgnored) {
    for (const auto& [line, kind] :
         {std::pair{"ab▼cd", WaitKind::Page}, std::pair{"ab〓cd", WaitKind::Plain}}) {
        SCOPED_TRACE(line);
        TestGame t({chunk("main", std::string(line) + "\nnext\n")});
        startFast(t);
        stepThen(t, 1, {.column = 2, .line = 0, .fetch = true, .wait = kind});
        EXPECT_EQ(t.textLines(), Lines{line});
    }
}

TEST(WaitMarks, GivenANewPageMark_WhenReached_ThenANewPageOpensWithoutAWait) {
    TestGame t({chunk("main", "ab\n[4][col 3]cd▽ef\ngh\n")});
    startFast(t);
    // "ef" is not drawn; the large text and the colour are reset.
    stepThen(t, 2,
             {.column = 0,
              .line = 0,
              .fetch = true,
              .wait = WaitKind::None,
              .colour = 0,
              .large = 0,
              .frame = true});
    stepThen(t, 1, {.line = 1});
    EXPECT_EQ(t.textLines().back(), "gh");
}

TEST(WaitMarks, GivenAHeart_WhenReached_ThenItTakesTwoColumnsAndEndsTheStep) {
    TestGame t({chunk("main", "a◆b\n")});
    startFast(t);
    stepThen(t, 1, {.column = 3, .fetch = false, .delay = 0});
    stepThen(t, 1, {.column = 0, .line = 1});
}

// --- Inline tags -----------------------------------------------------------------------------

TEST(TextTags, GivenAWaitTag_WhenReached_ThenTheStepEndsWithThatDelayAndTheLineGoesOn) {
    TestGame t({chunk("main", "a[wait 5]b\n")});
    startFast(t);
    stepThen(t, 1, {.column = 1, .fetch = false, .delay = 5});
    stepThen(t, 1, {.column = 0, .line = 1, .delay = 0});
}

TEST(TextTags, GivenAWaitTagUnderADelay_WhenReached_ThenThePacingRuleDoesNotReplaceIt) {
    TestGame t({chunk("main", "[delay 8][WAIT 5]a\n")});
    startFast(t);
    stepThen(t, 1, {.column = 0, .delay = 5});  // pacing would have given 8 / 4 = 2
}

TEST(TextTags, GivenANegativeWait_WhenReached_ThenItWaitsNotAtAllAndTheStoryGoesOn) {
    TestGame t({chunk("main", "[wait -3]a\nnext\n")});
    Game& g = startFast(t);
    stepThen(t, 1, {.delay = 0});
    t.player().run(20);
    EXPECT_EQ(t.textLines(), (Lines{"[wait -3]a", "next"}));
    EXPECT_FALSE(g.scriptRunning);
}

TEST(TextTags, GivenDelayZero_WhenReached_ThenTheTextDelayIsOne) {
    TestGame t({chunk("main", "[delay 8][delay 0]ab\n")});
    Game& g = startFast(t);
    stepThen(t, 1, {.line = 1, .delay = 0});  // the fast speed shows the whole line again
    EXPECT_EQ(g.textDelay, 1);
}

TEST(TextTags, GivenADelayOfTwoOrMore_WhenCharactersShow_ThenEachEndsTheStepWithAQuarterOfIt) {
    TestGame t({chunk("main", "[delay 8]ab\n")});
    Game& g = startFast(t);
    stepThen(t, 1, {.column = 1, .delay = 2});
    EXPECT_EQ(g.textDelay, 8);
    stepThen(t, 1, {.column = 2, .delay = 2});
    g.delayTicks = 0;
    stepThen(t, 1, {.line = 1, .delay = 2});  // the line end waits as long
}

TEST(TextTags, GivenSmallAndOddDelays_WhenACharacterShows_ThenTheQuarterIsRoundedDownToAtLeast1) {
    for (const auto& [delay, ticks] : {std::pair{2, 1}, {3, 1}, {13, 3}, {40, 10}}) {
        SCOPED_TRACE(delay);
        TestGame t({chunk("main", "[delay " + std::to_string(delay) + "]a\n")});
        startFast(t);
        stepThen(t, 1, {.delay = ticks});
    }
}

TEST(TextTags, GivenADelayTagAtNormalSpeed_WhenACharacterShows_ThenTheDelayAppliesToo) {
    TestGame t({chunk("main", "[delay 12]a◆\n")});
    Game& g = t.start();
    stepThen(t, 1, {.delay = 3});
    g.delayTicks = 0;
    stepThen(t, 1, {.delay = 3});  // the heart waits as long as a character
}

TEST(TextTags, GivenAColourTag_WhenReached_ThenTheTextColourChanges) {
    TestGame t({chunk("main", "a[col 5]b\n[COL 3]c\n")});
    startFast(t);
    stepThen(t, 1, {.colour = 5});
    stepThen(t, 1, {.colour = 3});
}

TEST(TextTags, GivenATagArgument_WhenRead_ThenItIsTakenAtAFixedDistanceFromTheBracket) {
    TestGame t({chunk("main", "a[colx7]b\n")});
    startFast(t);
    stepThen(t, 1, {.colour = 7});
}

TEST(TextTags, GivenAnUnknownTag_WhenReached_ThenItIsSkippedToItsBracket) {
    TestGame t({chunk("main", "a[foo bar]b\n")});
    t.start();
    stepThen(t, 2, {.column = 2, .linePos = 11});
}

TEST(TextTags, GivenAnUnclosedBracket_WhenReached_ThenTheLineEndsWithoutALineBreak) {
    // At the fast speed the cursor goes to the next row with the next line; at normal speed
    // the bracket fetches "cd" in the same step and shows its 'c' in the same row.
    for (const bool fast : {true, false}) {
        SCOPED_TRACE(fast);
        TestGame t({chunk("main", "ab[col 3\ncd\n")});
        fast ? startFast(t) : t.start();
        if (fast) {
            stepThen(t, 1, {.column = 0, .line = 1, .colour = 3});
        } else {
            stepThen(t, 3, {.column = 3, .line = 0});
        }
        EXPECT_EQ(t.textLines(), (Lines{"ab[col 3", "cd"}));
    }
}

TEST(TextTags, GivenAVoiceTag_WhenReached_ThenTheVoiceClipPlaysUnlessTheBuildIsSilent) {
    for (const bool sound : {true, false}) {
        SCOPED_TRACE(sound);
        TestGame t({chunk("main", "[voice 01234]a\n")}, GameOptions{.withSound = sound});
        t.addSoundFiles({"wave/0/01234.wav"});
        startFast(t);
        stepThen(t, 1, {.column = 0, .line = 1});
        EXPECT_EQ(t.events("voice "), sound ? Lines{"01234"} : Lines{});
    }
}

TEST(TextTags, GivenAClearOverlayTag_WhenReached_ThenTheOverlayIsNoLongerShown) {
    TestGame t({chunk("main", "[clrb]a\n")});
    Game& g = startFast(t);
    g.overlayShown = true;
    t.step();
    EXPECT_FALSE(g.overlayShown);
}

// --- Text speed ------------------------------------------------------------------------------

TEST(TextSpeed, GivenNormalSpeed_WhenTextShows_ThenEachCharacterEndsTheStepWithoutADelay) {
    TestGame t({chunk("main", "abc\n")});
    Game& g = t.start();
    ASSERT_TRUE(g.settings.charByChar);
    stepThen(t, 1, {.column = 1, .delay = 0});
    EXPECT_TRUE(g.updatePending);
    stepThen(t, 2, {.column = 3, .line = 0});
    stepThen(t, 1, {.line = 1});
}

TEST(TextSpeed, GivenFastSpeed_WhenTextShows_ThenOneWholeLineShowsPerStep) {
    TestGame t({chunk("main", "abc\ndef\n")});
    Game& g = startFast(t);
    ASSERT_FALSE(g.settings.charByChar);
    stepThen(t, 1, {.line = 1, .delay = 0});
    EXPECT_EQ(t.textLines(), (Lines{"abc"}));
}

TEST(TextSpeed, GivenFastSpeed_WhenALineEndsInAWaitMark_ThenTheWholeLineIsShownBeforeTheWait) {
    for (const bool movable : {false, true}) {
        SCOPED_TRACE(movable ? "movable frame" : "fixed frame");
        TestGame t({chunk("main", "*gra S246,0\nfirst\nsecond line▼\nthird〓\n")});
        t.host().writeSetting(setting::kTextWind, movable ? "1" : "0");
        Game& g = startFast(t);
        for (const WaitKind wait : {WaitKind::Page, WaitKind::Plain}) {
            t.player().run();
            ASSERT_EQ(g.waitKind, wait);
            // What the player sees is the whole frame, the waiting line included.
            if (movable) {
                EXPECT_TRUE(sameBitmap(t.host().textWindow(), g.layers.textFrame));
            } else {
                Bitmap shown(kFrameWidth, kFrameHeight);
                blit(shown, 0, 0, kFrameWidth, kFrameHeight, g.screen, kFrameLeft, kFrameTop);
                EXPECT_TRUE(sameBitmap(shown, g.layers.textFrame));
            }
            t.player().click(MouseButton::Left, 320, 240);
        }
    }
}

TEST(TextCursor,
     GivenACursorFarBelowAndRightOfTheFrame_WhenTextShows_ThenNothingIsDrawnAndItWraps) {
    TestGame t({chunk("main", "a\nあ◆\n\n[4]い\n")});
    Game& g = startFast(t);
    t.step();
    const Bitmap frame = g.layers.textFrame;
    g.textColumn = 2147483000;
    g.textLine = 2147483646;
    t.player().run();
    // The counters run on past their top as 32-bit integers always did; nothing lands in
    // the frame.
    EXPECT_EQ(g.textLine, -2147483647);
    EXPECT_EQ(g.textColumn, 0);
    EXPECT_TRUE(sameBitmap(g.layers.textFrame, frame));
}

}  // namespace
}  // namespace corvan::test
