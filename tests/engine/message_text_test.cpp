// Message text bookkeeping: the text cursor, the wait marks, the inline tags and the pacing of
// characters. Pixels are not looked at here, only where the cursor goes and what blocks the
// next step.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scenario.h"
#include "support/test_game.h"

namespace corvan::test {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

// --- The cursor ------------------------------------------------------------------------------

TEST(TextCursor, GivenOneAndTwoByteCharacters_WhenPacedOneByOne_ThenColumnsFollowTheirWidth) {
    TestGame t({chunk("main", "aあb\n")});
    Game& g = t.start();

    t.step();
    EXPECT_EQ(g.textColumn, 1);
    t.step();
    EXPECT_EQ(g.textColumn, 3);
    t.step();
    EXPECT_EQ(g.textColumn, 4);
    EXPECT_EQ(g.textLine, 0);
}

TEST(TextCursor, GivenLargeText_WhenCharactersShow_ThenTheyTakeTwiceTheColumns) {
    TestGame t({chunk("main", "x\n[4]aあ[1]b\n")});
    Game& g = t.start();
    t.step();  // 'x' opens the frame, which starts in normal text
    t.step();

    t.step();
    EXPECT_EQ(g.largeText, 1);
    EXPECT_EQ(g.textColumn, 2);
    t.step();
    EXPECT_EQ(g.textColumn, 6);
    t.step();
    EXPECT_EQ(g.largeText, 0);
    EXPECT_EQ(g.textColumn, 7);
}

TEST(TextCursor, GivenAFullWidthSpace_WhenItIsMet_ThenTwoColumnsPassAndTheStepGoesOn) {
    TestGame t({chunk("main", "x\n　a\n[4]　a\n")});
    Game& g = t.start();
    t.step();  // 'x' opens the frame
    t.step();  // line end

    t.step();  // the space does not end a paced step; the 'a' does
    EXPECT_EQ(g.textColumn, 3);
    t.step();  // line end
    t.step();
    EXPECT_EQ(g.textColumn, 4);  // two for the space in large text too, two for the 'a'
}

TEST(TextCursor, GivenAClosedFrame_WhenACharacterShows_ThenTheFrameOpensAtTheTopLeft) {
    TestGame t({chunk("main", "\n\n　a\n")});
    Game& g = t.start();
    ASSERT_FALSE(g.frameOpen);

    t.step();  // two empty lines and the space move the cursor, then 'a' opens the frame

    EXPECT_TRUE(g.frameOpen);
    EXPECT_EQ(g.textColumn, 1);
    EXPECT_EQ(g.textLine, 0);
}

TEST(TextCursor, GivenALineOfOnlyAFullWidthSpace_WhenItRuns_ThenTheFrameIsNotOpened) {
    TestGame t({chunk("main", "　\n")});
    Game& g = startFast(t);

    t.step();

    EXPECT_FALSE(g.frameOpen);
    EXPECT_EQ(g.textLine, 1);
}

TEST(TextCursor, GivenTheEndOfALine_WhenReached_ThenTheCursorMovesToTheNextRowStart) {
    TestGame t({chunk("main", "ab\ncd\n")});
    Game& g = startFast(t);

    t.step();
    EXPECT_EQ(g.textColumn, 0);
    EXPECT_EQ(g.textLine, 1);
    EXPECT_TRUE(g.fetchLine);
    t.step();
    EXPECT_EQ(g.textLine, 2);
    EXPECT_EQ(t.textLines(), (Lines{"ab", "cd"}));
}

TEST(TextCursor, GivenATrailingBackslash_WhenTheNextLineShows_ThenItContinuesOnTheSameRow) {
    TestGame t({rawChunk("main", "ab\\\0cd\0"s)});
    Game& g = t.start();

    t.step();
    t.step();
    t.step();  // the backslash ends the step without a line break
    EXPECT_TRUE(g.fetchLine);
    EXPECT_EQ(g.textColumn, 2);
    EXPECT_EQ(g.textLine, 0);
    t.step();

    EXPECT_EQ(g.textColumn, 3);
    EXPECT_EQ(g.textLine, 0);
}

TEST(TextCursor, GivenABackslashInsideALine_WhenItShows_ThenItIsAnOrdinaryCharacter) {
    TestGame t({rawChunk("main", "a\\b\0"s)});
    Game& g = t.start();

    t.step();
    t.step();
    t.step();

    EXPECT_EQ(g.textColumn, 3);
    EXPECT_FALSE(g.fetchLine);
}

TEST(TextCursor, GivenALineHoldingOnlyATag_WhenItRuns_ThenTheCursorStillMovesDownOneRow) {
    TestGame t({chunk("main", "[gra A001]\n[col 2]\n")});
    Game& g = startFast(t);

    t.step();
    EXPECT_EQ(g.textLine, 1);
    t.step();
    EXPECT_EQ(g.textLine, 2);
    EXPECT_EQ(g.textColour, 2);
}

TEST(TextCursor, GivenALeadByteAtTheVeryEndOfALine_WhenItShows_ThenTheLineEndIsStillSeen) {
    TestGame t({rawChunk("main", "a\x82\0next\0"s)});
    Game& g = startFast(t);

    t.step();
    EXPECT_TRUE(g.fetchLine);
    EXPECT_EQ(g.textLine, 1);
    EXPECT_EQ(g.textColumn, 0);
    t.step();

    EXPECT_EQ(t.textLines().back(), "next");
}

TEST(TextCursor, GivenALeadByteAtTheLastPlaceOfAFullLine_WhenItShows_ThenTheLineEndIsStillSeen) {
    TestGame t({rawChunk("main", std::string(254, 'a') + "\x82\0next\0"s)});
    Game& g = startFast(t);

    t.step();
    EXPECT_TRUE(g.fetchLine);
    EXPECT_EQ(g.textLine, 1);
    t.step();

    EXPECT_EQ(t.textLines().back(), "next");
}

TEST(TextCursor, GivenAHalfWidthKanaOrControlByte_WhenShown_ThenItIsTakenWithTheNextByte) {
    const std::string kana = "x\0\xb1"s + "ab\0"s;
    const std::string tab = "x\0\tab\0"s;
    for (const std::string& line : {kana, tab}) {
        TestGame t({rawChunk("main", line)});
        Game& g = t.start();
        t.step();  // 'x' opens the frame
        t.step();

        t.step();
        EXPECT_EQ(g.textColumn, 2);
        EXPECT_EQ(g.linePos, 2);
        t.step();
        EXPECT_EQ(g.textColumn, 3);
    }
}

TEST(TextCursor, GivenABracketAsSecondByteOfACharacter_WhenShown_ThenNoTagIsRead) {
    // "ー" is 0x81 0x5B: its second byte is the code of '['.
    TestGame t({chunk("main", "ーab]c\n")});
    Game& g = t.start();

    t.step();
    EXPECT_EQ(g.textColumn, 2);
    t.step();
    t.step();
    t.step();

    EXPECT_EQ(g.textColumn, 5);
    EXPECT_FALSE(g.fetchLine);
}

TEST(TextCursor, GivenABackslashAsSecondByteAtALineEnd_WhenShown_ThenTheLineBreaksAsUsual) {
    // "ソ" is 0x83 0x5C: its second byte is the code of the backslash.
    TestGame t({chunk("main", "アソ\nnext\n")});
    Game& g = startFast(t);

    t.step();

    EXPECT_EQ(g.textLine, 1);
    EXPECT_EQ(g.textColumn, 0);
}

// --- Wait marks ------------------------------------------------------------------------------

TEST(WaitMarks, GivenAPageWaitMark_WhenReached_ThenAPageWaitStartsAndTheRestIsIgnored) {
    TestGame t({chunk("main", "ab▼cd\nnext\n")});
    Game& g = startFast(t);

    t.step();

    EXPECT_EQ(g.waitKind, 1);
    EXPECT_TRUE(g.fetchLine);
    EXPECT_EQ(g.textColumn, 2);
    EXPECT_EQ(g.textLine, 0);
    EXPECT_EQ(t.textLines(), (Lines{"ab▼cd"}));
}

TEST(WaitMarks, GivenAPlainWaitMark_WhenReached_ThenAPlainWaitStartsAndTheRestIsIgnored) {
    TestGame t({chunk("main", "ab〓cd\nnext\n")});
    Game& g = startFast(t);

    t.step();

    EXPECT_EQ(g.waitKind, 2);
    EXPECT_TRUE(g.fetchLine);
    EXPECT_EQ(g.textColumn, 2);
    EXPECT_EQ(g.textLine, 0);
}

TEST(WaitMarks, GivenANewPageMark_WhenReached_ThenANewPageOpensWithoutAWait) {
    TestGame t({chunk("main", "ab\n[4][col 3]cd▽ef\ngh\n")});
    Game& g = startFast(t);

    t.step();
    t.step();

    EXPECT_EQ(g.waitKind, 0);
    EXPECT_TRUE(g.fetchLine);
    EXPECT_TRUE(g.frameOpen);
    EXPECT_EQ(g.textColumn, 0);  // "ef" was not drawn
    EXPECT_EQ(g.textLine, 0);
    EXPECT_EQ(g.largeText, 0);
    EXPECT_EQ(g.textColour, 0);
    t.step();
    EXPECT_EQ(t.textLines().back(), "gh");
    EXPECT_EQ(g.textLine, 1);
}

TEST(WaitMarks, GivenAHeart_WhenReached_ThenItTakesTwoColumnsAndEndsTheStep) {
    TestGame t({chunk("main", "a◆b\n")});
    Game& g = startFast(t);

    t.step();
    EXPECT_EQ(g.textColumn, 3);
    EXPECT_FALSE(g.fetchLine);
    EXPECT_EQ(g.delayTicks, 0);
    t.step();

    EXPECT_EQ(g.textColumn, 0);
    EXPECT_EQ(g.textLine, 1);
}

// --- Inline tags -----------------------------------------------------------------------------

TEST(TextTags, GivenAWaitTag_WhenReached_ThenTheStepEndsWithThatDelayAndTheLineGoesOn) {
    TestGame t({chunk("main", "a[wait 5]b\n")});
    Game& g = startFast(t);

    t.step();
    EXPECT_EQ(g.delayTicks, 5);
    EXPECT_FALSE(g.fetchLine);
    EXPECT_EQ(g.textColumn, 1);
    t.step();

    EXPECT_EQ(g.textColumn, 0);
    EXPECT_EQ(g.textLine, 1);
    EXPECT_EQ(g.delayTicks, 0);
}

TEST(TextTags, GivenAWaitTagUnderADelay_WhenReached_ThenThePacingRuleDoesNotReplaceIt) {
    TestGame t({chunk("main", "[delay 8][WAIT 5]a\n")});
    Game& g = startFast(t);

    t.step();

    EXPECT_EQ(g.delayTicks, 5);  // pacing would have given 8 / 4 = 2
    EXPECT_EQ(g.textColumn, 0);
}

TEST(TextTags, GivenANegativeWait_WhenReached_ThenItWaitsNotAtAllAndTheStoryGoesOn) {
    TestGame t({chunk("main", "[wait -3]a\nnext\n")});
    Game& g = startFast(t);

    t.step();
    EXPECT_EQ(g.delayTicks, 0);
    t.player().run(20);

    EXPECT_EQ(t.textLines(), (Lines{"[wait -3]a", "next"}));
    EXPECT_FALSE(g.scriptRunning);
}

TEST(TextTags, GivenDelayZero_WhenReached_ThenTheTextDelayIsOne) {
    TestGame t({chunk("main", "[delay 8][delay 0]ab\n")});
    Game& g = startFast(t);

    t.step();

    EXPECT_EQ(g.textDelay, 1);
    EXPECT_EQ(g.delayTicks, 0);
    EXPECT_EQ(g.textLine, 1);  // the fast speed shows the whole line again
}

TEST(TextTags, GivenADelayOfTwoOrMore_WhenCharactersShow_ThenEachEndsTheStepWithAQuarterOfIt) {
    TestGame t({chunk("main", "[delay 8]ab\n")});
    Game& g = startFast(t);

    t.step();
    EXPECT_EQ(g.textDelay, 8);
    EXPECT_EQ(g.textColumn, 1);
    EXPECT_EQ(g.delayTicks, 2);
    t.step();
    EXPECT_EQ(g.textColumn, 2);
    EXPECT_EQ(g.delayTicks, 2);
    g.delayTicks = 0;
    t.step();  // the line end waits as long
    EXPECT_EQ(g.textLine, 1);
    EXPECT_EQ(g.delayTicks, 2);
}

TEST(TextTags, GivenSmallAndOddDelays_WhenACharacterShows_ThenTheQuarterIsRoundedDownToAtLeast1) {
    struct Case {
        const char* line;
        int ticks;
    };
    for (const Case& c : {Case{"[delay 2]a\n", 1}, Case{"[delay 3]a\n", 1},
                          Case{"[delay 13]a\n", 3}, Case{"[delay 40]a\n", 10}}) {
        TestGame t({chunk("main", c.line)});
        Game& g = startFast(t);

        t.step();

        EXPECT_EQ(g.delayTicks, c.ticks) << c.line;
    }
}

TEST(TextTags, GivenADelayTagAtNormalSpeed_WhenACharacterShows_ThenTheDelayAppliesToo) {
    TestGame t({chunk("main", "[delay 12]a◆\n")});
    Game& g = t.start();

    t.step();
    EXPECT_EQ(g.delayTicks, 3);
    g.delayTicks = 0;
    t.step();  // the heart waits as long as a character

    EXPECT_EQ(g.delayTicks, 3);
}

TEST(TextTags, GivenAColourTag_WhenReached_ThenTheTextColourChanges) {
    TestGame t({chunk("main", "a[col 5]b\n[COL 3]c\n")});
    Game& g = startFast(t);

    t.step();
    EXPECT_EQ(g.textColour, 5);
    t.step();
    EXPECT_EQ(g.textColour, 3);
}

TEST(TextTags, GivenATagArgument_WhenRead_ThenItIsTakenAtAFixedDistanceFromTheBracket) {
    TestGame t({chunk("main", "a[colx7]b\n")});
    Game& g = startFast(t);

    t.step();

    EXPECT_EQ(g.textColour, 7);
}

TEST(TextTags, GivenAnUnknownTag_WhenReached_ThenItIsSkippedToItsBracket) {
    TestGame t({chunk("main", "a[foo bar]b\n")});
    Game& g = t.start();

    t.step();
    t.step();

    EXPECT_EQ(g.textColumn, 2);
    EXPECT_EQ(g.linePos, 11);
}

TEST(TextTags, GivenAnUnclosedBracket_WhenReached_ThenTheLineEndsWithoutALineBreak) {
    TestGame t({chunk("main", "ab[col 3\ncd\n")});
    Game& g = startFast(t);

    t.step();

    EXPECT_EQ(t.textLines(), (Lines{"ab[col 3", "cd"}));
    EXPECT_EQ(g.textColour, 3);
    EXPECT_EQ(g.textLine, 1);
    EXPECT_EQ(g.textColumn, 0);
}

TEST(TextTags, GivenAnUnclosedBracketAtNormalSpeed_WhenReached_ThenTheNextLineGoesOnInTheRow) {
    TestGame t({chunk("main", "ab[col 3\ncd\n")});
    Game& g = t.start();

    t.step();
    t.step();
    t.step();  // the bracket fetches "cd" in the same step and shows its 'c'

    EXPECT_EQ(t.textLines(), (Lines{"ab[col 3", "cd"}));
    EXPECT_EQ(g.textColumn, 3);
    EXPECT_EQ(g.textLine, 0);
}

TEST(TextTags, GivenAVoiceTag_WhenReached_ThenTheVoiceClipPlays) {
    TestGame t({chunk("main", "[voice 01234]a\n")}, GameOptions{.withSound = true});
    Game& g = startFast(t);

    t.step();

    EXPECT_EQ(t.events("voice "), (Lines{"01234"}));
    EXPECT_EQ(g.textColumn, 0);
    EXPECT_EQ(g.textLine, 1);
}

TEST(TextTags, GivenTheSilentBuild_WhenAVoiceTagIsReached_ThenNothingPlays) {
    TestGame t({chunk("main", "[voice 01234]a\n")}, GameOptions{.withSound = false});
    startFast(t);

    t.step();

    EXPECT_TRUE(t.events("voice ").empty());
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

    t.step();
    EXPECT_EQ(g.textColumn, 1);
    EXPECT_EQ(g.delayTicks, 0);
    EXPECT_TRUE(g.updatePending);
    t.step();
    t.step();
    EXPECT_EQ(g.textColumn, 3);
    EXPECT_EQ(g.textLine, 0);
    t.step();

    EXPECT_EQ(g.textLine, 1);
}

TEST(TextSpeed, GivenFastSpeed_WhenTextShows_ThenOneWholeLineShowsPerStep) {
    TestGame t({chunk("main", "abc\ndef\n")});
    Game& g = startFast(t);
    ASSERT_FALSE(g.settings.charByChar);

    t.step();

    EXPECT_EQ(t.textLines(), (Lines{"abc"}));
    EXPECT_EQ(g.textLine, 1);
    EXPECT_EQ(g.delayTicks, 0);
}

}  // namespace
}  // namespace corvan::test
