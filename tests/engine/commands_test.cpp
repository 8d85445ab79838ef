#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "support/test_game.h"

namespace corvan::test {
namespace {

using Lines = std::vector<std::string>;

bool shown(TestGame& t, const std::string& line) {
    const Lines lines = t.textLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Runs until the game waits or the script stops, and returns every text line shown.
Lines play(TestGame& t) {
    t.player().run();
    return t.textLines();
}

// The full log lines that begin with `start`.
Lines eventLines(TestGame& t, const std::string& start) {
    Lines out;
    for (const std::string& e : t.host().events()) {
        if (e.rfind(start, 0) == 0) out.push_back(e);
    }
    return out;
}

// A script where `command` either jumps to the label "x" (shows B) or passes on (shows A);
// both ways end with C.
std::string branch(const std::string& command) {
    return command + "\nA\n*go out\n:x\nB\n:out\nC\n";
}
const Lines kJumped{"B", "C"};
const Lines kPassed{"A", "C"};

// --- Step behaviour of each command -----------------------------------------------------------

struct StepCase {
    const char* name;
    const char* line;
    bool goesOn;
};

class CommandStep : public testing::TestWithParam<StepCase> {};

TEST_P(CommandStep, GivenACommandLine_WhenOneStepRuns_ThenItGoesOnOrEndsAsItsKeywordSays) {
    TestGame t({chunk("main", std::string(GetParam().line) + "\nmarker\n")});
    t.start();
    t.step();
    EXPECT_EQ(shown(t, "marker"), GetParam().goesOn) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Keywords, CommandStep,
    testing::Values(
        StepCase{"gra", "*gra A001", true}, StepCase{"music", "*music 3", true},
        StepCase{"voice", "*voice 10001", true}, StepCase{"goMissingLabel", "*go nowhere", true},
        StepCase{"clrb", "*clrb", true}, StepCase{"flagOn", "*flag_on 5", true},
        StepCase{"flagOff", "*flag_off 5", true}, StepCase{"select", "*select 2", false},
        StepCase{"chainMissing", "*chain nowhere", false},
        StepCase{"ifOnClear", "*if_on 5 x", true},
        StepCase{"ifOffJumpAttempt", "*if_off 5 nowhere", false},
        StepCase{"calc", "*calc V001=1", true}, StepCase{"ifTrue", "*if V001=0 nowhere", false},
        StepCase{"ifFalse", "*if V001=1 nowhere", false},
        StepCase{"callMissing", "*call nowhere", true}, StepCase{"endOutsideCall", "*end", true},
        StepCase{"mode", "*mode 1", false}, StepCase{"load", "*load", false},
        StepCase{"gameinit", "*gameinit", true}, StepCase{"grb", "*grb B001", true},
        StepCase{"move", "*move", false}, StepCase{"special", "*special 1", true},
        StepCase{"gameclr", "*gameclr", true}, StepCase{"view", "*view 1", false},
        StepCase{"unknown", "*bogus 1", true}, StepCase{"bareStar", "*", true},
        StepCase{"graWithoutBlank", "*gra", true}),
    [](const testing::TestParamInfo<StepCase>& info) { return std::string(info.param.name); });

TEST(CommandSequence, GivenCommandsThatGoOn_WhenOneStepRuns_ThenAllRunUpToText) {
    TestGame t({chunk("main",
                      "*flag_on 3\n*calc V001=9\n;note\n*music 2\n*go x\n*bogus\n:x\n*grb B1\n"
                      "*gameinit\n*flag_on 4\nshown\n")});
    Game& g = t.start();
    t.step();
    EXPECT_TRUE(shown(t, "shown"));
    EXPECT_TRUE(g.vars.TestFlag(4));
    EXPECT_FALSE(g.vars.TestFlag(3));  // gameinit came after
    EXPECT_TRUE(g.overlayDeferred);
}

// --- Keyword matching -------------------------------------------------------------------------

TEST(Keywords, GivenKeywordsInCapitals_WhenRun_ThenTheyWorkLikeLowerCase) {
    TestGame t({chunk("main", "*FLAG_ON 5\n*Calc V001=4\n*MUSIC 3\n*Go x\nA\n:x\nB\n")});
    Game& g = t.start();
    EXPECT_EQ(play(t), Lines{"B"});
    EXPECT_TRUE(g.vars.TestFlag(5));
    EXPECT_EQ(g.vars.v(1), 4);
    EXPECT_EQ(eventLines(t, "music"), Lines{"music 3"});
}

TEST(Keywords, GivenAKeywordWithoutItsBlank_WhenRun_ThenTheLineIsSkipped) {
    TestGame t({chunk("main", "*gra\n*grb\n*flag_on5\n*calcV001=5\n*go\n*selectx 3\nA\n")});
    Game& g = t.start();
    t.step();
    EXPECT_TRUE(shown(t, "A"));
    EXPECT_FALSE(g.overlayDeferred);
    EXPECT_FALSE(g.vars.TestFlag(5));
    EXPECT_EQ(g.vars.v(1), 0);
    EXPECT_EQ(g.menuKind, 0);
}

TEST(Keywords, GivenABlankAfterTheStar_WhenRun_ThenNoKeywordMatches) {
    TestGame t({chunk("main", "* flag_on 5\n*  go x\nA\n:x\nB\n")});
    Game& g = t.start();
    EXPECT_EQ(play(t), (Lines{"A", "B"}));
    EXPECT_FALSE(g.vars.TestFlag(5));
}

TEST(Keywords, GivenBlanklessKeywordsWithMoreLetters_WhenRun_ThenTheyMatch) {
    TestGame t({chunk("main", "*clrbAll\n*gameinitNow\n*loading\nA\n")});
    Game& g = t.start();
    g.overlayShown = true;
    g.vars.setV(8, 8);
    t.step();
    EXPECT_FALSE(g.overlayShown);
    EXPECT_EQ(g.vars.v(8), 0);
    EXPECT_EQ(g.menuKind, 3);
    EXPECT_FALSE(shown(t, "A"));
}

TEST(Keywords, GivenEndWithMoreLetters_WhenRunInACall_ThenItReturns) {
    TestGame t({chunk("main", "*call sub\nM\n"), chunk("sub", "*ENDLESS\nS\n")});
    t.start();
    EXPECT_EQ(play(t), Lines{"M"});
}

TEST(Keywords, GivenUnknownKeywordsAndABareStar_WhenRun_ThenTheyAreSkipped) {
    TestGame t({chunk("main", "*\n*bogus 1\n*goto x\n*ifx V001=0 x\nA\n:x\nB\n")});
    t.start();
    t.step();
    EXPECT_TRUE(shown(t, "A"));
    EXPECT_EQ(play(t), (Lines{"A", "B"}));
}

// --- go ---------------------------------------------------------------------------------------

TEST(GoCommand, GivenAFoundLabel_WhenGoing_ThenTheStepGoesOnThere) {
    TestGame t({chunk("main", "*go x\nA\n:x\nB\n")});
    t.start();
    t.step();
    EXPECT_EQ(t.textLines(), Lines{"B"});
}

TEST(GoCommand, GivenAMissingLabel_WhenGoing_ThenTheNextLineRuns) {
    TestGame t({chunk("main", "*go nowhere\nA\n:x\nB\n")});
    t.start();
    EXPECT_EQ(play(t), (Lines{"A", "B"}));
}

TEST(GoCommand, GivenTwoBlanksAfterGo_WhenGoing_ThenTheSecondBelongsToTheName) {
    TestGame t({chunk("main", "*go  x\nA\n:x\nB\n")});
    t.start();
    EXPECT_EQ(play(t), (Lines{"A", "B"}));
}

TEST(GoCommand, GivenABranchRunning_WhenGoing_ThenTheCaseStateIsReset) {
    TestGame t({chunk("main", "*go x\n:x\nX\n:y\nY\n:end\nE\n")});
    Game& g = t.start();
    g.caseState = 2;  // as if a choice branch were running
    EXPECT_EQ(play(t), (Lines{"X", "Y", "E"}));
    EXPECT_EQ(g.caseState, 0);
}

// --- flag_on, flag_off ------------------------------------------------------------------------

TEST(FlagCommands, GivenFlagNumbers_WhenFlagOnAndOffRun_ThenThoseFlagsChange) {
    TestGame t(
        {chunk("main", "*flag_on 5\n*flag_on 1023\n*flag_on 12abc\n*flag_off 5\n*flag_on 0\nA\n")});
    Game& g = t.start();
    t.step();
    EXPECT_FALSE(g.vars.TestFlag(5));
    EXPECT_TRUE(g.vars.TestFlag(1023));
    EXPECT_TRUE(g.vars.TestFlag(12));
    EXPECT_TRUE(g.vars.TestFlag(0));
}

TEST(FlagCommands, GivenNumbersOutsideTheFlags_WhenFlagOnAndOffRun_ThenNothingChanges) {
    TestGame t({chunk("main", "*flag_on 1024\n*flag_on -3\n*flag_off 1030\nA\n")});
    Game& g = t.start();
    g.vars.flagBytes()[128] = 0xFF;
    t.step();
    EXPECT_EQ(g.vars.flagBytes()[128], 0xFF);
    for (int i = 0; i < 128; ++i) EXPECT_EQ(g.vars.flagBytes()[i], 0) << i;
}

// --- if_on, if_off ----------------------------------------------------------------------------

TEST(IfOn, GivenAOneDigitFlag_WhenIfOnRuns_ThenItJumpsOnlyWhenSet) {
    TestGame set({chunk("main", "*flag_on 5\n" + branch("*if_on 5 x"))});
    set.start();
    EXPECT_EQ(play(set), kJumped);

    TestGame clear({chunk("main", branch("*if_on 5 x"))});
    clear.start();
    EXPECT_EQ(play(clear), kPassed);
}

TEST(IfOn, GivenAnEightDigitNumber_WhenIfOnRuns_ThenItJumps) {
    TestGame t({chunk("main", "*flag_on 5\n" + branch("*if_on 00000005 x"))});
    t.start();
    EXPECT_EQ(play(t), kJumped);
}

TEST(IfOn, GivenANineDigitNumber_WhenIfOnRuns_ThenNoJumpAndTheStepGoesOn) {
    TestGame t({chunk("main", "*flag_on 5\n" + branch("*if_on 000000005 x"))});
    t.start();
    t.step();
    EXPECT_TRUE(shown(t, "A"));
    EXPECT_EQ(play(t), kPassed);
}

TEST(IfOn, GivenNoLabel_WhenIfOnRuns_ThenTheStepGoesOn) {
    TestGame t({chunk("main", "*flag_on 5\n*if_on 5\nA\n")});
    t.start();
    t.step();
    EXPECT_TRUE(shown(t, "A"));
}

TEST(IfOn, GivenAMissingLabel_WhenIfOnJumps_ThenTheStepEndsAndTheNextLineFollows) {
    TestGame t({chunk("main", "*flag_on 5\n*if_on 5 nowhere\nA\n")});
    t.start();
    t.step();
    EXPECT_TRUE(t.textLines().empty());
    t.step();
    EXPECT_EQ(t.textLines(), Lines{"A"});
}

TEST(IfOn, GivenAFoundLabel_WhenIfOnJumps_ThenTheStepEnds) {
    TestGame t({chunk("main", "*flag_on 5\n" + branch("*if_on 5 x"))});
    t.start();
    t.step();
    EXPECT_TRUE(t.textLines().empty());
    t.step();
    EXPECT_EQ(t.textLines(), Lines{"B"});
}

TEST(IfOff, GivenAOneDigitFlag_WhenIfOffRuns_ThenItJumpsOnlyWhenClear) {
    TestGame clear({chunk("main", branch("*if_off 5 x"))});
    clear.start();
    EXPECT_EQ(play(clear), kJumped);

    TestGame set({chunk("main", "*flag_on 5\n" + branch("*if_off 5 x"))});
    set.start();
    EXPECT_EQ(play(set), kPassed);
}

TEST(IfOff, GivenASevenDigitNumber_WhenIfOffRuns_ThenItJumps) {
    TestGame t({chunk("main", branch("*if_off 0000005 x"))});
    t.start();
    EXPECT_EQ(play(t), kJumped);
}

TEST(IfOff, GivenAnEightDigitNumber_WhenIfOffRuns_ThenNoJump) {
    TestGame t({chunk("main", branch("*if_off 00000005 x"))});
    t.start();
    t.step();
    EXPECT_TRUE(shown(t, "A"));
    EXPECT_EQ(play(t), kPassed);
}

TEST(IfOff, GivenAFlagNumberBeyondTheFlags_WhenIfOffRuns_ThenItJumps) {
    TestGame t({chunk("main", branch("*if_off 2000 x"))});
    t.start();
    EXPECT_EQ(play(t), kJumped);
}

// --- calc, if ---------------------------------------------------------------------------------

TEST(CalcCommand, GivenCalcLines_WhenRun_ThenAssignedAndTextAfterABlankIgnored) {
    TestGame t(
        {chunk("main", "*calc V005=V005+1\n*calc V005=V005+1\n*calc S002=7 and a note\nA\n")});
    Game& g = t.start();
    t.step();
    EXPECT_EQ(g.vars.v(5), 2);
    EXPECT_EQ(g.vars.s(2), 7);
}

TEST(IfCommand, GivenATrueCondition_WhenIfRuns_ThenItJumpsToTheLabel) {
    TestGame t({chunk("main", branch("*if V001=0 x"))});
    t.start();
    EXPECT_EQ(play(t), kJumped);
}

TEST(IfCommand, GivenAFalseCondition_WhenIfRuns_ThenTheNextLineRuns) {
    TestGame t({chunk("main", branch("*if V001=1 x"))});
    t.start();
    EXPECT_EQ(play(t), kPassed);
}

TEST(IfCommand, GivenATrueOrFalseCondition_WhenIfRuns_ThenTheStepEnds) {
    for (const char* command : {"*if V001=0 x", "*if V001=1 x"}) {
        TestGame t({chunk("main", branch(command))});
        t.start();
        t.step();
        EXPECT_TRUE(t.textLines().empty()) << command;
        t.step();
        EXPECT_EQ(t.textLines().size(), 1u) << command;
    }
}

TEST(IfCommand, GivenBlanksAroundTheOperator_WhenIfRuns_ThenNoJump) {
    // V001 is 0, so the condition holds with the right side read as 0, but the label taken is
    // the text after the first blank, "= 0 x", which is nowhere.
    TestGame t({chunk("main", branch("*if V001 = 0 x"))});
    t.start();
    EXPECT_EQ(play(t), kPassed);
}

TEST(IfCommand, GivenATabBeforeTheLabel_WhenIfRuns_ThenItJumps) {
    TestGame t({chunk("main", branch("*if V001=0\tx"))});
    t.start();
    EXPECT_EQ(play(t), kJumped);
}

TEST(IfCommand, GivenE3Set255ByCalc_WhenIfComparesBelowZero_ThenItJumps) {
    TestGame t({chunk("main", "*calc E003=255\n" + branch("*if e003<0 x"))});
    t.start();
    EXPECT_EQ(play(t), kJumped);
}

// --- chain ------------------------------------------------------------------------------------

TEST(ChainCommand, GivenAChunk_WhenChained_ThenItLoadsAndTheStepEnds) {
    TestGame t({chunk("main", "*chain next\nA\n"), chunk("next", "N\n")});
    Game& g = t.start();
    t.step();
    EXPECT_TRUE(t.textLines().empty());
    EXPECT_EQ(g.lastChunk, "next");
    EXPECT_EQ(g.chapterName, (std::array<std::uint8_t, 8>{'n', 'e', 'x', 't', 0, 0, 0, 0}));
    EXPECT_EQ(play(t), Lines{"N"});
}

TEST(ChainCommand, GivenANameInCapitals_WhenChained_ThenTheChunkLoads) {
    TestGame t({chunk("main", "*chain NEXT\nA\n"), chunk("next", "N\n")});
    t.start();
    EXPECT_EQ(play(t), Lines{"N"});
}

TEST(ChainCommand, GivenShortAndLongNames_WhenChained_ThenTheChapterNameIs8BytesNulPadded) {
    TestGame t({chunk("main", "*chain ab\n"), chunk("ab", "*chain longname9\nL\n")});
    Game& g = t.start();
    t.step();
    EXPECT_EQ(g.chapterName, (std::array<std::uint8_t, 8>{'a', 'b', 0, 0, 0, 0, 0, 0}));
    t.step();
    EXPECT_EQ(g.chapterName, (std::array<std::uint8_t, 8>{'l', 'o', 'n', 'g', 'n', 'a', 'm', 'e'}));
}

TEST(ChainCommand, GivenAMissingChunk_WhenChained_ThenTheNextStepRunsTheNextLine) {
    TestGame t({chunk("main", "*chain nowhere\nA\n")});
    Game& g = t.start();
    t.step();
    EXPECT_TRUE(t.textLines().empty());
    EXPECT_EQ(g.lastChunk, "main");
    EXPECT_EQ(g.chapterName, (std::array<std::uint8_t, 8>{'n', 'o', 'w', 'h', 'e', 'r', 'e', 0}));
    t.step();
    EXPECT_EQ(t.textLines(), Lines{"A"});
}

void dirtyRunState(Game& g) {
    g.caseState = 2;
    g.textDelay = 8;
    g.frameOpen = true;
    g.waitKind = 1;
    g.delayTicks = 5;
    g.menuKind = 3;
    g.inMessage = true;
    g.inCall = true;
    g.inputLatch = true;
    g.overlayShown = true;
    g.overlayDeferred = true;
    g.vars.SetFlag(9);
    g.vars.setV(9, 9);
}

void expectCleanRunState(const Game& g) {
    EXPECT_EQ(g.caseState, 0);
    EXPECT_EQ(g.textDelay, 1);
    EXPECT_FALSE(g.frameOpen);
    EXPECT_EQ(g.waitKind, 0);
    EXPECT_EQ(g.delayTicks, 0);
    EXPECT_EQ(g.menuKind, 0);
    EXPECT_FALSE(g.inMessage);
    EXPECT_FALSE(g.inCall);
    EXPECT_EQ(g.altTextMode, 0);
    EXPECT_FALSE(g.inputLatch);
    EXPECT_FALSE(g.overlayShown);
    EXPECT_FALSE(g.overlayDeferred);
    // The variables are the story's, not the run state.
    EXPECT_TRUE(g.vars.TestFlag(9));
    EXPECT_EQ(g.vars.v(9), 9);
}

TEST(ChainCommand, GivenADirtyRunState_WhenChained_ThenItIsReset) {
    TestGame t({chunk("main", "*chain next\n"), chunk("next", "N\n")});
    Game& g = t.start();
    dirtyRunState(g);
    t.step();
    expectCleanRunState(g);
}

TEST(ChainCommand, GivenADirtyRunState_WhenChainingToAMissingChunk_ThenItIsReset) {
    TestGame t({chunk("main", "*chain nowhere\nA\n")});
    Game& g = t.start();
    dirtyRunState(g);
    t.step();
    expectCleanRunState(g);
}

// --- call, end --------------------------------------------------------------------------------

TEST(CallCommand, GivenACalledChunk_WhenItsEndRuns_ThenTheCallerGoesOnAfterTheCall) {
    TestGame t({chunk("main", "*call sub\nM\n"), chunk("sub", "S1\n*end\nS2\n")});
    Game& g = t.start();
    EXPECT_EQ(play(t), (Lines{"S1", "M"}));
    EXPECT_FALSE(g.inCall);
}

TEST(CallCommand, GivenCallAndEnd_WhenStepped_ThenEachEndsTheStep) {
    TestGame t({chunk("main", "*call sub\nM\n"), chunk("sub", "*end\nS\n")});
    Game& g = t.start();
    t.step();
    EXPECT_TRUE(t.textLines().empty());
    EXPECT_TRUE(g.inCall);
    EXPECT_EQ(g.lastChunk, "sub");
    EXPECT_EQ(g.scriptPos, 0);
    t.step();
    EXPECT_TRUE(t.textLines().empty());
    EXPECT_FALSE(g.inCall);
    EXPECT_EQ(g.scriptPos, 10);  // just past "*call sub" and its NUL
    t.step();
    EXPECT_EQ(t.textLines(), Lines{"M"});
}

TEST(CallCommand, GivenAMissingChunk_WhenCalled_ThenTheNextLineRunsInTheSameStep) {
    TestGame t({chunk("main", "*call nowhere\nM\n")});
    Game& g = t.start();
    t.step();
    EXPECT_EQ(t.textLines(), Lines{"M"});
    EXPECT_FALSE(g.inCall);
    EXPECT_EQ(g.lastChunk, "main");
}

TEST(CallCommand, GivenANestedCall_WhenBothEnd_ThenTheOuterCallerIsLost) {
    TestGame t({chunk("main", "*call a\nM\n"), chunk("a", "A1\n*call b\nA2\n*end\nA3\n"),
                chunk("b", "B1\n*end\nB2\n")});
    Game& g = t.start();
    EXPECT_EQ(play(t), (Lines{"A1", "B1", "A2", "A3"}));
    EXPECT_FALSE(g.scriptRunning);
    EXPECT_FALSE(g.inCall);
}

TEST(EndCommand, GivenNoCall_WhenEndRuns_ThenItIsSkipped) {
    TestGame t({chunk("main", "*end\nA\n*END\nB\n")});
    t.start();
    EXPECT_EQ(play(t), (Lines{"A", "B"}));
}

TEST(EndCommand, GivenTheSceneReplayView_WhenEndReturns_ThenTheViewFlagIsSet) {
    TestGame t({chunk("main", "*call sub\nM\n"), chunk("sub", "*end\n")});
    Game& g = t.start();
    t.step();
    g.viewKind = 3;
    t.step();
    EXPECT_FALSE(g.inCall);
    EXPECT_EQ(g.viewFlag, 2);
}

TEST(EndCommand, GivenAnotherView_WhenEndReturns_ThenTheViewFlagStays) {
    TestGame t({chunk("main", "*call sub\nM\n"), chunk("sub", "*end\n")});
    Game& g = t.start();
    t.step();
    g.viewKind = 1;
    t.step();
    EXPECT_EQ(g.viewFlag, 0);
}

// --- mess -------------------------------------------------------------------------------------

const char* const kMessages = "zero\n:\none\n:skip\nstill one\n:\ntwo\n";

TEST(MessCommand, GivenSectionN_WhenMessRuns_ThenItStartsAfterTheNthSeparatorAndReturns) {
    {
        TestGame t({chunk("main", "*mess 0\nafter\n"), chunk("messys", kMessages)});
        t.start();
        EXPECT_EQ(play(t), (Lines{"zero", "after"}));
    }
    {
        // The label ":skip" is no separator, but it ends the section.
        TestGame t({chunk("main", "*mess 1\nafter\n"), chunk("messys", kMessages)});
        Game& g = t.start();
        EXPECT_EQ(play(t), (Lines{"one", "after"}));
        EXPECT_FALSE(g.inMessage);
    }
}

TEST(MessCommand, GivenTheLastSection_WhenItRunsOffTheChunk_ThenTheInterpreterStops) {
    TestGame t({chunk("main", "*mess 2\nafter\n"), chunk("messys", kMessages)});
    Game& g = t.start();
    EXPECT_EQ(play(t), Lines{"two"});
    EXPECT_FALSE(g.scriptRunning);
    EXPECT_TRUE(g.inMessage);
}

TEST(MessCommand, GivenAMessageChunk_WhenMessRuns_ThenTheStepEndsInsideIt) {
    TestGame t({chunk("main", "*mess 1\nafter\n"), chunk("messys", kMessages)});
    Game& g = t.start();
    t.step();
    EXPECT_TRUE(t.textLines().empty());
    EXPECT_TRUE(g.inMessage);
    EXPECT_EQ(g.lastChunk, "messys");
}

TEST(MessCommand, GivenNoMessageChunk_WhenMessRuns_ThenNothingChanges) {
    TestGame t({chunk("main", "*mess 1\nafter\n:x\nlast\n")});
    Game& g = t.start();
    t.step();
    EXPECT_FALSE(g.inMessage);
    EXPECT_EQ(g.lastChunk, "main");
    EXPECT_EQ(g.scriptPos, 8);  // just past "*mess 1" and its NUL
    EXPECT_EQ(play(t), (Lines{"after", "last"}));
}

// --- gameinit, gameclr ------------------------------------------------------------------------

TEST(GameinitCommand, GivenSetVariables_WhenGameinitRuns_ThenFlagsVAndSClearAndV777IsTheMark) {
    TestGame t({chunk("main", "*gameinit\nA\n")});
    Game& g = t.start();
    g.vars.flagBytes().fill(0xFF);
    g.vars.values().fill(4);
    g.vars.systemValues().fill(5);
    g.vars.setE(3, 33);
    g.clearMark = 2;
    t.step();
    EXPECT_TRUE(shown(t, "A"));
    for (int i = 0; i < 256; ++i) ASSERT_EQ(g.vars.flagBytes()[i], 0) << i;
    EXPECT_EQ(g.vars.v(0), 0);
    EXPECT_EQ(g.vars.v(776), 0);
    EXPECT_EQ(g.vars.v(777), 2);
    EXPECT_EQ(g.vars.v(999), 0);
    EXPECT_EQ(g.vars.s(0), 0);
    EXPECT_EQ(g.vars.s(777), 0);
    EXPECT_EQ(g.vars.e(3), 33);
}

TEST(GameclrCommand, GivenRepeatedClears_WhenGameclrRuns_ThenTheMarkIsOneThenTwo) {
    TestGame t({chunk("main",
                      "*gameclr\n*calc V001=V777\n*gameclr\n*calc V002=V777\n*gameclr\n"
                      "*calc V003=V777\nA\n")});
    Game& g = t.start();
    EXPECT_EQ(g.vars.v(777), 0);
    t.step();
    EXPECT_TRUE(shown(t, "A"));
    EXPECT_EQ(g.vars.v(1), 1);
    EXPECT_EQ(g.vars.v(2), 2);
    EXPECT_EQ(g.vars.v(3), 2);
    EXPECT_EQ(t.host().readSetting("Clear"), "2");
}

TEST(GameclrCommand, GivenNoStoredClear_WhenGameclrRuns_ThenOneIsWritten) {
    TestGame t({chunk("main", "*gameclr\nA\n")});
    Game& g = t.start();
    t.step();
    EXPECT_EQ(t.host().readSetting("Clear"), "1");
    EXPECT_EQ(g.vars.v(777), 1);
}

TEST(GameclrCommand, GivenAStoredFive_WhenGameclrRuns_ThenTwoIsWritten) {
    TestGame t({chunk("main", "*gameclr\nA\n")});
    t.host().setSettingFallback("Clear", "5");
    Game& g = t.start();
    EXPECT_EQ(g.vars.v(777), 1);
    t.step();
    EXPECT_EQ(t.host().readSetting("Clear"), "2");
    EXPECT_EQ(g.vars.v(777), 2);
}

TEST(GameclrCommand, GivenAClearedGame_WhenGameinitRuns_ThenV777KeepsTheNewMark) {
    TestGame t({chunk("main", "*gameclr\n*calc V777=9\n*gameinit\nA\n")});
    Game& g = t.start();
    t.step();
    EXPECT_EQ(g.vars.v(777), 1);
}

// --- select -----------------------------------------------------------------------------------

TEST(SelectCommand, GivenSelect3_WhenRun_ThenAChoiceMenuOf3RowsOpens) {
    TestGame t({chunk("main", "*select 3\none\ntwo\nthree\n")});
    Game& g = t.start();
    g.hoveredRow = 2;
    t.step();
    EXPECT_EQ(g.rowCount, 3);
    EXPECT_EQ(g.menuKind, 1);
    EXPECT_EQ(g.hoveredRow, 0);
    EXPECT_TRUE(g.fetchLine);
    EXPECT_TRUE(t.textLines().empty());
}

TEST(SelectCommand, GivenTheBuildWithSound_WhenSelectRuns_ThenVoice90022Plays) {
    TestGame t({chunk("main", "*select 2\none\ntwo\n")}, GameOptions{.withSound = true});
    t.start();
    t.step();
    EXPECT_EQ(eventLines(t, "voice"), Lines{"voice 90022"});
}

TEST(SelectCommand, GivenTheBuildWithoutSound_WhenSelectRuns_ThenNoVoicePlays) {
    TestGame t({chunk("main", "*select 2\none\ntwo\n")}, GameOptions{.withSound = false});
    Game& g = t.start();
    t.step();
    EXPECT_TRUE(eventLines(t, "voice").empty());
    EXPECT_EQ(g.menuKind, 1);
}

// --- music, voice -----------------------------------------------------------------------------

TEST(MusicCommand, GivenTracks_WhenMusicRuns_ThenEachNewTrackPlaysOnceAndZeroStops) {
    TestGame t({chunk("main", "*music 3\n*music 3\n*music 0\n*music 0\n*music 12\nA\n")});
    t.start();
    t.step();
    EXPECT_EQ(eventLines(t, "music"), (Lines{"music 3", "music-stop", "music 12"}));
}

TEST(MusicCommand, GivenTheBuildWithoutSound_WhenMusicAndVoiceRun_ThenNothingPlays) {
    TestGame t({chunk("main", "*music 3\n*voice 10001\nA\n")}, GameOptions{.withSound = false});
    t.start();
    t.step();
    EXPECT_TRUE(shown(t, "A"));
    EXPECT_TRUE(eventLines(t, "music").empty());
    EXPECT_TRUE(eventLines(t, "voice").empty());
}

TEST(VoiceCommand, GivenAClipName_WhenVoiceRuns_ThenThatClipPlays) {
    TestGame t({chunk("main", "*voice 10001\n*VOICE a23\nA\n")});
    t.start();
    t.step();
    EXPECT_EQ(eventLines(t, "voice"), (Lines{"voice 10001", "voice a23"}));
}

// --- mode, load, grb, clrb ------------------------------------------------------------------

TEST(ModeCommand, GivenMode2_WhenRun_ThenTheModeIsSetAndTheStepEnds) {
    TestGame t({chunk("main", "*mode 2\nA\n")});
    Game& g = t.start();
    t.step();
    EXPECT_EQ(g.altTextMode, 2);
    EXPECT_TRUE(g.fetchLine);
    EXPECT_TRUE(t.textLines().empty());
}

TEST(LoadCommand, GivenLoad_WhenRun_ThenTheSlotListOpensAndInputLatches) {
    TestGame t({chunk("main", "*load\nA\n")});
    Game& g = t.start();
    g.hoveredRow = 4;
    t.step();
    EXPECT_EQ(g.menuKind, 3);
    EXPECT_EQ(g.hoveredRow, 0);
    EXPECT_TRUE(g.inputLatch);
    EXPECT_TRUE(t.textLines().empty());
}

TEST(GrbCommand, GivenGrb_WhenRun_ThenTheOverlayIsDeferredAndTheStepGoesOn) {
    TestGame t({chunk("main", "*grb B001\nA\n")});
    Game& g = t.start();
    t.step();
    EXPECT_TRUE(g.overlayDeferred);
    EXPECT_TRUE(shown(t, "A"));
}

TEST(GraCommand, GivenGra_WhenRun_ThenTheOverlayIsNotDeferred) {
    TestGame t({chunk("main", "*gra A001\nA\n")});
    Game& g = t.start();
    t.step();
    EXPECT_FALSE(g.overlayDeferred);
    EXPECT_TRUE(shown(t, "A"));
}

TEST(ClrbCommand, GivenAnOverlay_WhenClrbRuns_ThenItIsClearedAndTheStepGoesOn) {
    TestGame t({chunk("main", "*clrb\nA\n")});
    Game& g = t.start();
    g.overlayShown = true;
    t.step();
    EXPECT_FALSE(g.overlayShown);
    EXPECT_TRUE(shown(t, "A"));
}

// --- CASE branches of a choice ----------------------------------------------------------------

const char* const kChoice =
    "*select 3\none\ntwo\nthree\n:CASE1\nC1\n:CASE2\nC2\n:CASE3\nC3\n:end\nafter\n";

TEST(CaseBranches, GivenRow2Picked_WhenTheBranchMeetsCase3_ThenItSkipsPastEnd) {
    TestGame t({chunk("main", kChoice)});
    Game& g = t.start();
    t.step();
    ASSERT_EQ(g.menuKind, 1);
    g.menuKind = 0;
    g.JumpToCase(2);
    EXPECT_EQ(g.caseState, 2);
    EXPECT_EQ(play(t), (Lines{"C2", "after"}));
    EXPECT_EQ(g.caseState, 0);
}

TEST(CaseBranches, GivenRow3Picked_WhenTheBranchMeetsEnd_ThenItGoesOnAfterIt) {
    TestGame t({chunk("main", kChoice)});
    Game& g = t.start();
    t.step();
    g.menuKind = 0;
    g.JumpToCase(3);
    EXPECT_EQ(play(t), (Lines{"C3", "after"}));
    EXPECT_EQ(g.caseState, 0);
}

TEST(CaseBranches, GivenACaseLabelWithABlank_WhenRow2IsPicked_ThenItIsNotTaken) {
    TestGame t({chunk("main", "*select 2\nr1\nr2\n:CASE 2\nwrong\n:CASE2\nright\n:end\nafter\n")});
    Game& g = t.start();
    t.step();
    g.menuKind = 0;
    g.JumpToCase(2);
    EXPECT_EQ(play(t), (Lines{"right", "after"}));
}

TEST(CaseBranches, GivenCase21BeforeCase2_WhenRow2IsPicked_ThenCase21IsTaken) {
    TestGame t({chunk("main", "*select 2\nr1\nr2\n:CASE21\nX\n:CASE2\nY\n:end\nZ\n")});
    Game& g = t.start();
    t.step();
    g.menuKind = 0;
    g.JumpToCase(2);
    EXPECT_EQ(play(t), (Lines{"X", "Z"}));
}

TEST(CaseBranches, GivenACaseLabelBeforeTheSelect_WhenPicked_ThenOnlyLaterLabelsCount) {
    TestGame t({chunk("main", ":CASE1\nearly\n*select 1\nr1\n:CASE1\nlate\n:end\nafter\n")});
    Game& g = t.start();
    EXPECT_EQ(play(t), Lines{"early"});
    ASSERT_EQ(g.menuKind, 1);
    g.menuKind = 0;
    g.JumpToCase(1);
    EXPECT_EQ(play(t), (Lines{"early", "late", "after"}));
}

}  // namespace
}  // namespace corvan::test
