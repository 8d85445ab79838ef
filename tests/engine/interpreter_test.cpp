// The interpreter step: line kinds, label search by bytes, the end of a chunk, called chunks,
// message sections, choice branches and over-long lines.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scenario.h"
#include "support/test_game.h"

namespace corvan::test {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

TEST(InterpreterLines, GivenOnlyEmptyLines_WhenOneStepRuns_ThenEachMovesTheCursorDownOneRow) {
    TestGame t({chunk("main", "\n\n\n")});
    Game& g = startFast(t);
    t.step();
    EXPECT_EQ(g.textLine, 3);
    EXPECT_EQ(g.textColumn, 0);
    EXPECT_FALSE(g.frameOpen);
    EXPECT_EQ(g.waitKind, WaitKind::None);
    EXPECT_EQ(g.delayTicks, 0);
    EXPECT_TRUE(t.textLines().empty());
    // Nothing stopped the step: it went on to the end of the chunk.
    EXPECT_FALSE(g.scriptRunning);
}

TEST(InterpreterLines, GivenEmptyLinesBetweenTextLines_WhenStepping_ThenTheNextTextIsRowsLower) {
    TestGame t({chunk("main", "a\n\n\nb\n")});
    Game& g = startFast(t);
    t.step();
    EXPECT_EQ(g.textLine, 1);
    t.step();
    EXPECT_EQ(t.textLines(), (Lines{"a", "b"}));
    EXPECT_EQ(g.textLine, 4);
}

TEST(InterpreterLines, GivenLabelsCommentsAndCommandsInARow_WhenOneStepRuns_ThenAllRunUpToText) {
    TestGame t({chunk("main",
                      ":start\n"
                      ";a comment\n"
                      "*flag_on 3\n"
                      ":next\n"
                      "*\n"
                      "*nosuchcommand 9\n"
                      ";another comment\n"
                      "*flag_on 4\n"
                      "Hello\n"
                      "*flag_on 5\n")});
    Game& g = startFast(t);
    t.step();
    EXPECT_TRUE(g.vars.TestFlag(3));
    EXPECT_TRUE(g.vars.TestFlag(4));
    EXPECT_FALSE(g.vars.TestFlag(5));
    EXPECT_EQ(t.textLines(), (Lines{"Hello"}));
    EXPECT_EQ(g.textLine, 1);
    EXPECT_TRUE(g.scriptRunning);
}

TEST(InterpreterLines, GivenATextLine_WhenItsFirstCharacterIsPaced_ThenTheLineIsHalfDone) {
    TestGame t({chunk("main", "abc\n")});
    Game& g = t.start();  // normal speed: one character per step
    t.step();
    EXPECT_FALSE(g.fetchLine);
    EXPECT_EQ(g.linePos, 1);
    EXPECT_EQ(g.textColumn, 1);
}

TEST(LabelSearch, GivenAColonInsideATextLine_WhenGoingToThatName_ThenTheScriptLandsAfterThatLine) {
    TestGame t({chunk("main", "*go B\nこれは:Bです\nafter\n:B\nreal\n")});
    Game& g = startFast(t);
    t.step();
    EXPECT_EQ(t.textLines(), (Lines{"after"}));
    EXPECT_EQ(g.FindLabel("B"), g.scriptPos - 6);  // "after" and its NUL were fetched
}

TEST(LabelSearch, GivenAColonInsideACommandLine_WhenGoingToThatName_ThenTheCommandIsPassedOver) {
    TestGame t({chunk("main", "*go X\n*flag_on 7 :X\nafter\n:X\nreal\n")});
    Game& g = startFast(t);
    t.step();
    EXPECT_FALSE(g.vars.TestFlag(7));
    EXPECT_EQ(t.textLines(), (Lines{"after"}));
}

TEST(LabelSearch, GivenLabels_WhenFoundInAnyCase_ThenTheOffsetIsJustPastTheNulEndingTheirLine) {
    TestGame t({rawChunk("main", "abc\0:L1\0:Start\0text\0"s)});
    Game& g = t.start();
    EXPECT_EQ(g.FindLabel("L1"), 8);
    for (const char* name : {"START", "start", "sTaRt"}) EXPECT_EQ(g.FindLabel(name), 15) << name;
}

TEST(LabelSearch, GivenALabelTwice_WhenGoingToIt_ThenTheFirstPlaceWins) {
    TestGame t({chunk("main", "*go DUP\nskipped\n:DUP\none\n:DUP\ntwo\n")});
    Game& g = startFast(t);
    EXPECT_EQ(g.FindLabel("DUP"), 21);  // "*go DUP\0skipped\0:DUP\0" is 21 bytes
    t.step();
    EXPECT_EQ(t.textLines(), (Lines{"one"}));
}

TEST(LabelSearch, GivenALongerLabelBeginningWithTheName_WhenSearching_ThenItMatches) {
    TestGame t({chunk("main", "*go LABEL1\n:LABEL10\nten\n:LABEL1\none\n")});
    Game& g = startFast(t);
    EXPECT_EQ(g.FindLabel("LABEL1"), 20);  // "*go LABEL1\0:LABEL10\0"
    t.step();
    EXPECT_EQ(t.textLines(), (Lines{"ten"}));
}

TEST(LabelSearch, GivenAScriptPosition_WhenSearchingForward_ThenEarlierPlacesAreNotSeen) {
    // ":A\0" at 0, "one\0" at 3, ":A\0" at 7, "two\0" at 10.
    TestGame t({rawChunk("main", ":A\0one\0:A\0two\0"s)});
    Game& g = t.start();
    g.scriptPos = 4;
    EXPECT_EQ(g.FindLabelForward("A"), 10);
    g.scriptPos = 7;
    EXPECT_EQ(g.FindLabelForward("A"), 10);
    g.scriptPos = 8;
    EXPECT_EQ(g.FindLabelForward("A"), -1);
    EXPECT_EQ(g.FindLabel("A"), 3);
}

TEST(LabelSearch, GivenAMissingLabel_WhenGotoLabelIsCalled_ThenScriptPositionStays) {
    TestGame t({chunk("main", "first\nsecond\n")});
    Game& g = startFast(t);
    t.step();
    const int before = g.scriptPos;
    EXPECT_EQ(g.FindLabel("NOPE"), -1);
    g.GotoLabel("NOPE");
    EXPECT_EQ(g.scriptPos, before);
}

TEST(LabelSearch, GivenANameOf32BytesOrMore_WhenSearching_ThenOnlyItsFirst31BytesCount) {
    const std::string label31(31, 'A');
    TestGame t({rawChunk("main", ":" + label31 + "XYZ\0after\0"s)});
    Game& g = t.start();
    const int expected = 1 + 31 + 3 + 1;
    EXPECT_EQ(g.FindLabel(label31 + "Q"), expected);
    EXPECT_EQ(g.FindLabel(label31 + std::string(40, 'Q')), expected);
    EXPECT_EQ(g.FindLabelForward(label31 + "QQ"), expected);
    EXPECT_EQ(g.FindLabel(std::string(30, 'A') + "B"), -1);
}

TEST(LabelSearch, GivenALabelAtTheVeryEndOfAFullChunk_WhenSearching_ThenNothingPastItIsRead) {
    std::string bytes(Archive::kMaxChunkLength - 3, 'x');
    bytes += ":AB";  // no NUL: the chunk ends in the middle of the label
    TestGame t({rawChunk("main", bytes)});
    Game& g = t.start();
    ASSERT_EQ(g.scriptLength, Archive::kMaxChunkLength);
    EXPECT_EQ(g.FindLabel("ABC"), -1);
    EXPECT_EQ(g.FindLabel(std::string("AB") + std::string(40, 'C')), -1);
    EXPECT_EQ(g.FindLabel("AB"), Archive::kMaxChunkLength);
}

TEST(LabelSearch, GivenAShorterChunkLoadedOverALongerOne_WhenSearching_ThenOldBytesAreNotSeen) {
    TestGame t({chunk("main", "x\n"), chunk("long", std::string(100, 'y') + "\n:ZZ\nz\n")});
    Game& g = t.start();
    ASSERT_TRUE(g.LoadChunk("long"));
    ASSERT_GT(g.FindLabel("ZZ"), 0);
    ASSERT_TRUE(g.LoadChunk("main"));
    EXPECT_EQ(g.FindLabel("ZZ"), -1);
}

TEST(ChunkEnd, GivenTheLastLineShown_WhenTheNextStepFetches_ThenTheInterpreterStops) {
    TestGame t({chunk("main", "only\n")});
    Game& g = startFast(t);
    t.step();
    EXPECT_TRUE(g.scriptRunning);
    t.step();
    EXPECT_FALSE(g.scriptRunning);
    t.player().idle(30);
    EXPECT_EQ(t.textLines(), (Lines{"only"}));
}

TEST(ChunkEnd, GivenACalledChunkEndingWithoutEnd_WhenItRunsOff_ThenCallerIsRestoredButIdle) {
    TestGame t({chunk("main", "*call sub\nback\n"), chunk("sub", "in sub\n")});
    Game& g = startFast(t);
    t.player().run();
    EXPECT_EQ(t.textLines(), (Lines{"in sub"}));
    EXPECT_FALSE(g.scriptRunning);
    EXPECT_FALSE(g.inCall);
    EXPECT_EQ(g.scriptPos, 10);     // just after "*call sub\0"
    EXPECT_EQ(g.scriptLength, 15);  // the caller's length
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(g.scriptBuffer.data()), 9), "*call sub");
    t.player().idle(30);
    EXPECT_EQ(t.textLines(), (Lines{"in sub"}));
}

TEST(MessageSection, GivenMess1_WhenItRuns_ThenTheSecondSectionShowsAndTheScriptComesBack) {
    TestGame t({chunk("main", "before\n*mess 1\nafter\n:tail\n"),
                chunk("messys", "zero\n:\none\n▼\n:\ntwo\n")});
    Game& g = startFast(t);
    t.player().run();
    EXPECT_EQ(t.textLines(), (Lines{"before", "one", "▼"}));
    EXPECT_TRUE(g.inMessage);
    EXPECT_EQ(g.waitKind, WaitKind::Page);
    t.player().click(MouseButton::Left, 100, 100);
    t.player().run();
    EXPECT_EQ(t.textLines(), (Lines{"before", "one", "▼", "after"}));
    EXPECT_FALSE(g.inMessage);
}

TEST(MessageSection, GivenASectionNumberFarPastTheChunk_WhenItRuns_ThenTheSearchStopsAtTheEnd) {
    TestGame t(
        {chunk("main", "before\n*mess 2000000000\nafter\n"), chunk("messys", "zero\n:\none\n")});
    Game& g = startFast(t);
    t.player().run();
    EXPECT_EQ(t.textLines(), (Lines{"before"}));
    EXPECT_TRUE(g.inMessage);
    EXPECT_EQ(g.scriptPos, g.scriptLength);
    EXPECT_FALSE(g.scriptRunning);
}

TEST(Loops, GivenACountingLoopOfAMillionLines_WhenOneStepRuns_ThenItEndsInThatStep) {
    TestGame t({chunk("main",
                      ":loop\n"
                      "*calc V001=V001+1\n"
                      "*calc F010=V001/200000\n"
                      "*if_on 10 done\n"
                      "*go loop\n"
                      ":done\n"
                      "done▼\n")});
    Game& g = startFast(t);
    t.step();  // the jump out of the loop ends the step
    EXPECT_EQ(g.vars.v(1), 200000);
    t.step();
    EXPECT_EQ(t.textLines(), (Lines{"done▼"}));
    EXPECT_FALSE(g.scriptLooping());
    EXPECT_TRUE(t.events("script-loop").empty());
}

TEST(Loops, GivenALoopThatComesBackToTheSameState_ThenEachStepGoesRoundOnceAndTheGameAnswers) {
    TestGame t({chunk("main",
                      "*calc V002=1\n"
                      ":a\n"
                      "\n"
                      "*calc V001=V001+1\n"
                      "*calc V001=V001-1\n"
                      "*go a\n")});
    Game& g = startFast(t);
    // The first step finds the repeat and ends; run() stops there instead of using its budget.
    EXPECT_EQ(t.player().run(), 1);
    EXPECT_EQ(t.events("script-loop "), (Lines{"main:4"}));
    EXPECT_TRUE(g.scriptLooping());
    const std::int32_t row = g.textLine;
    t.step();
    EXPECT_EQ(g.textLine, row + 1);  // once round the loop, past its blank line, a step
    EXPECT_EQ(g.vars.v(2), 1);       // and never back to the chunk's start
    t.player().click(MouseButton::Right, 100, 100);
    EXPECT_EQ(g.menuKind, MenuKind::System);
    t.player().click(MouseButton::Right, 100, 100);
    EXPECT_EQ(g.menuKind, MenuKind::None);
    // The player acted: the loop is looked for afresh and told again.
    t.player().run();
    EXPECT_EQ(t.events("script-loop ").size(), 2U);
}

TEST(Loops, GivenALoopThatNeverRepeats_WhenItRunsPastTheBudget_ThenItIsCutAndStepsGoOnInSlices) {
    TestGame t({chunk("main", ":a\n*calc V001=V001+1\n*go a\n")});
    Game& g = startFast(t);
    t.step();
    const std::int32_t turns = g.vars.v(1);
    EXPECT_EQ(turns, LoopWatch::kLineBudget / 2);
    EXPECT_EQ(t.events("script-loop "), (Lines{"main:3"}));
    t.step();  // from now on a step runs a slice, so the window keeps answering
    EXPECT_EQ(g.vars.v(1) - turns, LoopWatch::kLinesPerStepInLoop / 2);
    EXPECT_EQ(t.events("script-loop ").size(), 1U);
}

TEST(Loops, GivenAWaitForAFlagNothingSets_WhenRunning_ThenItIsToldAsALoopAcrossSteps) {
    // Each turn ends its step (a jumping if_off, a false if): no step runs long, and the loop
    // is found as the steps come back to the same state.
    TestGame t({chunk("main", "*flag_on 3\n:w\n*if_off 20 w\n"),
                chunk("x", ":v\n*if V001>0 nowhere\n*go v\n")});
    Game& g = startFast(t);
    EXPECT_LT(t.player().run(), 100);
    EXPECT_EQ(t.events("script-loop "), (Lines{"main:3"}));
    g.LoadChunk("x");
    t.player().click(MouseButton::Left, 10, 10);  // the player acts: the watch starts again
    EXPECT_LT(t.player().run(), 100);
    EXPECT_EQ(t.events("script-loop ").back(), "x:2");
}

TEST(MessageSection, GivenTheLastSectionWithoutALabel_WhenItRunsOff_ThenItStopsInTheSection) {
    TestGame t(
        {chunk("main", "before\n*mess 2\nafter\n"), chunk("messys", "zero\n:\none\n:\ntwo\n")});
    Game& g = startFast(t);
    t.player().run();
    EXPECT_EQ(t.textLines(), (Lines{"before", "two"}));
    EXPECT_FALSE(g.scriptRunning);
    EXPECT_TRUE(g.inMessage);
}

TEST(MessageSection, GivenALongName_WhenEnteringAMessageChunk_ThenFourBytesOfItAreUsed) {
    TestGame t({chunk("main", "first\nsecond\n"), chunk("mesabcd", "section\n:\nrest\n")});
    Game& g = startFast(t);
    t.step();
    EXPECT_TRUE(g.EnterMessageChunk("abcdef"));
    EXPECT_TRUE(g.inMessage);
    EXPECT_EQ(g.lastChunk, "mesabcd");
    t.player().run();
    EXPECT_EQ(t.textLines(), (Lines{"first", "section", "second"}));
    EXPECT_FALSE(g.inMessage);
}

TEST(CaseBranch, GivenTheLastBranch_WhenItReachesTheEndLabel_ThenItOnlyClearsTheBranchMark) {
    TestGame t({chunk("main", ":CASE1\none\n:CASE2\ntwo\n:End\nafter\n")});
    Game& g = startFast(t);
    g.JumpToCase(2);
    EXPECT_EQ(g.caseState, CaseState::InBranch);
    t.step();
    EXPECT_EQ(g.caseState, CaseState::InBranch);
    t.step();
    EXPECT_EQ(t.textLines(), (Lines{"two", "after"}));
    EXPECT_EQ(g.caseState, CaseState::None);
}

TEST(ChunkEnd, GivenACalledChunkEndingWithEnd_WhenEndRuns_ThenTheCallerGoesOn) {
    TestGame t({chunk("main", "*call sub\nback\n"), chunk("sub", "in sub\n*end\nnever\n")});
    Game& g = startFast(t);
    t.player().run();
    EXPECT_EQ(t.textLines(), (Lines{"in sub", "back"}));
    EXPECT_FALSE(g.inCall);
}

TEST(MessageSection, GivenASection_WhenItRuns_ThenItShowsUpToAnyLabelAndTheScriptComesBack) {
    struct Case {
        int section;
        const char* messys;  // none: no message chunk, and mess is passed over
        Lines expected;
    };
    const Case cases[] = {
        {0, "zero\n:\none\n", {"before", "zero", "after"}},
        {0, "zero\n:other\nnot shown\n", {"before", "zero", "after"}},
        // The first colon is passed over together with the second, so "::" separates nothing.
        {1, "zero\n::\nfake\n:\none\n:\n", {"before", "one", "after"}},
        {1, nullptr, {"before", "after"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.messys ? c.messys : "none");
        const std::string main = "before\n*mess " + std::to_string(c.section) + "\nafter\n";
        TestGame t(
            {chunk("main", main), chunk(c.messys ? "messys" : "other", c.messys ? c.messys : "")});
        Game& g = startFast(t);
        t.player().run();
        EXPECT_EQ(t.textLines(), c.expected);
        EXPECT_FALSE(g.inMessage);
    }
}

TEST(CaseBranch, GivenAPickedBranchOrNone_WhenPlayed_ThenItShowsTheLinesUpToTheFirstLaterEnd) {
    const std::string cases12 = ":CASE1\none\n:CASE2\ntwo\n";
    struct Case {
        std::string script;
        int pickedRow;  // 0: no branch mark
        Lines expected;
    };
    const Case cases[] = {
        // A branch meeting another CASE label skips to the end label.
        {cases12 + ":End\nafter\n", 1, {"one", "after"}},
        // A label beginning with "end" is no end label.
        {":CASE1\none\n:ENDING\nmiddle\n:end\nafter\n", 1, {"one", "middle", "after"}},
        // Only end labels after the branch count.
        {":end\nbefore\n" + cases12 + ":end\nafter\n", 1, {"one", "after"}},
        // With no end label the script goes on after the CASE label.
        {cases12, 1, {"one", "two"}},
        // With no branch mark the labels are passed without jumping.
        {cases12 + ":end\nafter\n", 0, {"one", "two", "after"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        TestGame t({chunk("main", c.script)});
        Game& g = startFast(t);
        if (c.pickedRow != 0) g.JumpToCase(c.pickedRow);
        t.player().run();
        EXPECT_EQ(t.textLines(), c.expected);
        EXPECT_EQ(g.caseState, CaseState::None);
    }
}

TEST(LabelSearch, GivenAMissingLabel_WhenGoingToIt_ThenTheScriptGoesOnWithTheNextLine) {
    TestGame t({chunk("main", "*go NOPE\nnext\n")});
    startFast(t);
    t.step();
    EXPECT_EQ(t.textLines(), (Lines{"next"}));
}

TEST(LongLines, GivenALineOf300Bytes_WhenItRuns_ThenItsFirst255BytesShowAndTheNextLineFollows) {
    TestGame t({rawChunk("main", std::string(300, 'a') + "\0next\0"s)});
    Game& g = startFast(t);
    t.step();
    EXPECT_EQ(t.textLines(), (Lines{std::string(255, 'a')}));
    EXPECT_EQ(g.textLine, 1);
    t.step();
    EXPECT_EQ(t.textLines(), (Lines{std::string(255, 'a'), "next"}));
}

TEST(LongLines, GivenAWaitMarkPastByte255_WhenTheLineRuns_ThenTheMarkIsPassedOver) {
    TestGame t({rawChunk("main", std::string(255, 'a') + "\x81\xa5\0next\0"s)});
    Game& g = startFast(t);
    t.step();
    EXPECT_EQ(g.waitKind, WaitKind::None);
    EXPECT_EQ(g.textLine, 1);
    t.step();
    EXPECT_EQ(t.textLines().back(), "next");
}

TEST(LongLines, GivenALastLineWithoutNul_WhenItRuns_ThenItEndsAtTheChunkEnd) {
    TestGame t({rawChunk("main", "first\0tail"s)});
    Game& g = startFast(t);
    t.step();
    t.step();
    EXPECT_EQ(t.textLines(), (Lines{"first", "tail"}));
    EXPECT_EQ(g.textLine, 2);
    t.step();
    EXPECT_FALSE(g.scriptRunning);
}

// The one list of what ResetRunState clears, checked for each way a chapter starts afresh.
TEST(RunState, GivenABusyRunState_WhenResetOrChained_ThenThePerChapterPartIsCleared) {
    struct Case {
        const char* name;
        const char* script;
        bool chained;  // the reset is a chain's, run by one step; else ResetRunState itself
    };
    for (const Case& c :
         {Case{"ResetRunState", "x\n", false}, Case{"chain to a chunk", "*chain next\n", true},
          Case{"chain to a missing chunk", "*chain nowhere\nA\n", true}}) {
        SCOPED_TRACE(c.name);
        TestGame t({chunk("main", c.script), chunk("next", "N\n")});
        Game& g = t.start();
        g.caseState = CaseState::InBranch;
        g.textDelay = 9;
        g.frameOpen = g.inMessage = g.inCall = g.inputLatch = true;
        g.overlayShown = g.overlayDeferred = true;
        g.waitKind = WaitKind::Page;
        g.delayTicks = 7;
        g.menuKind = MenuKind::Slots;
        // The alternate text mode would read the chain line as text.
        if (!c.chained) g.altTextMode = AltTextMode::On;
        g.vars.setV(5, 42);
        g.vars.SetFlag(12);
        g.textColumn = 6;
        g.textLine = 3;
        if (c.chained) {
            t.step();
        } else {
            g.ResetRunState();
        }
        EXPECT_EQ(g.caseState, CaseState::None);
        EXPECT_EQ(g.textDelay, 1);
        EXPECT_FALSE(g.frameOpen);
        EXPECT_EQ(g.waitKind, WaitKind::None);
        EXPECT_EQ(g.delayTicks, 0);
        EXPECT_EQ(g.menuKind, MenuKind::None);
        EXPECT_FALSE(g.inMessage);
        EXPECT_FALSE(g.inCall);
        EXPECT_EQ(g.altTextMode, AltTextMode::Off);
        EXPECT_FALSE(g.inputLatch);
        EXPECT_FALSE(g.overlayShown);
        EXPECT_FALSE(g.overlayDeferred);
        // The variables are the story's, not the run state.
        EXPECT_EQ(g.vars.v(5), 42);
        EXPECT_TRUE(g.vars.TestFlag(12));
        // Nor is the text cursor, which the reset itself leaves where it was.
        if (!c.chained) {
            EXPECT_EQ(g.textColumn, 6);
            EXPECT_EQ(g.textLine, 3);
        }
    }
}

}  // namespace
}  // namespace corvan::test
