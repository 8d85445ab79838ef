#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "support/test_game.h"

namespace corvan::test {
namespace {

using Lines = std::vector<std::string>;
using Name = std::array<std::uint8_t, 8>;

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
const std::string kFlag5 = "*flag_on 5\n";
const char* const kMessages = "zero\n:\none\n:skip\nstill one\n:\ntwo\n";

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

struct PlayCase {
    const char* name;
    std::string main;
    Lines expected;
    bool firstStepShowsA = false;
    const char* otherName = "unused";
    const char* otherText = "";
};

TEST(CommandPlay, GivenAScript_WhenPlayed_ThenItShowsTheLinesItsCommandsLeadTo) {
    const PlayCase cases[] = {
        {"unknownKeywordsAndBareStar",
         "*\n*bogus 1\n*goto x\n*ifx V001=0 x\nA\n:x\nB\n",
         {"A", "B"},
         true},
        {"endWithMoreLettersInACall", "*call sub\nM\n", {"M"}, false, "sub", "*ENDLESS\nS\n"},
        {"goMissingLabel", "*go nowhere\nA\n:x\nB\n", {"A", "B"}},
        {"goTwoBlanksBelongToTheName", "*go  x\nA\n:x\nB\n", {"A", "B"}},
        {"ifOnSet", kFlag5 + branch("*if_on 5 x"), kJumped},
        {"ifOnClear", branch("*if_on 5 x"), kPassed},
        {"ifOnEightDigits", kFlag5 + branch("*if_on 00000005 x"), kJumped},
        {"ifOnNineDigits", kFlag5 + branch("*if_on 000000005 x"), kPassed, true},
        {"ifOnNoLabel", kFlag5 + "*if_on 5\nA\n", {"A"}, true},
        {"ifOffClear", branch("*if_off 5 x"), kJumped},
        {"ifOffSet", kFlag5 + branch("*if_off 5 x"), kPassed},
        {"ifOffSevenDigits", branch("*if_off 0000005 x"), kJumped},
        {"ifOffEightDigits", branch("*if_off 00000005 x"), kPassed, true},
        {"ifOffBeyondTheFlags", branch("*if_off 2000 x"), kJumped},
        {"ifTrue", branch("*if V001=0 x"), kJumped},
        {"ifFalse", branch("*if V001=1 x"), kPassed},
        // The condition holds, but the label is the text after the first blank: "= 0 x".
        {"ifBlanksAroundTheOperator", branch("*if V001 = 0 x"), kPassed},
        {"ifTabBeforeTheLabel", branch("*if V001=0\tx"), kJumped},
        {"ifE3Set255ByCalcIsBelowZero", "*calc E003=255\n" + branch("*if e003<0 x"), kJumped},
        {"chainNameInCapitals", "*chain NEXT\nA\n", {"N"}, false, "next", "N\n"},
        {"endOutsideACall", "*end\nA\n*END\nB\n", {"A", "B"}},
        {"messSection0", "*mess 0\nafter\n", {"zero", "after"}, false, "messys", kMessages},
    };
    for (const PlayCase& c : cases) {
        SCOPED_TRACE(c.name);
        TestGame t({chunk("main", c.main), chunk(c.otherName, c.otherText)});
        t.start();
        if (c.firstStepShowsA) {
            t.step();
            EXPECT_TRUE(shown(t, "A"));
        }
        EXPECT_EQ(play(t), c.expected);
    }
}

TEST(CommandPlay, GivenAJumpingCommand_WhenStepped_ThenTheStepEndsAndTheNextShowsOneLine) {
    const std::pair<std::string, Lines> cases[] = {
        {kFlag5 + "*if_on 5 nowhere\nA\n", {"A"}},
        {kFlag5 + branch("*if_on 5 x"), {"B"}},
        {branch("*if V001=0 x"), {"B"}},
        {branch("*if V001=1 x"), {"A"}},
    };
    for (const auto& [script, expected] : cases) {
        SCOPED_TRACE(script);
        TestGame t({chunk("main", script)});
        t.start();
        t.step();
        EXPECT_TRUE(t.textLines().empty());
        t.step();
        EXPECT_EQ(t.textLines(), expected);
    }
}

TEST(Keywords, GivenKeywordsInCapitals_WhenRun_ThenTheyWorkLikeLowerCase) {
    TestGame t({chunk("main", "*FLAG_ON 5\n*Calc V001=4\n*MUSIC 3\n*Go x\nA\n:x\nB\n")});
    t.addSoundFiles({"MIDI/03.MID"});
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
    EXPECT_EQ(g.menuKind, MenuKind::None);
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
    EXPECT_EQ(g.menuKind, MenuKind::Slots);
    EXPECT_FALSE(shown(t, "A"));
}

TEST(GoCommand, GivenAFoundLabel_WhenGoing_ThenTheStepGoesOnThere) {
    TestGame t({chunk("main", "*go x\nA\n:x\nB\n")});
    t.start();
    t.step();
    EXPECT_EQ(t.textLines(), Lines{"B"});
}

TEST(GoCommand, GivenABranchRunning_WhenGoing_ThenTheCaseStateIsReset) {
    TestGame t({chunk("main", "*go x\n:x\nX\n:y\nY\n:end\nE\n")});
    Game& g = t.start();
    g.caseState = CaseState::InBranch;  // as if a choice branch were running
    EXPECT_EQ(play(t), (Lines{"X", "Y", "E"}));
    EXPECT_EQ(g.caseState, CaseState::None);
}

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

TEST(CalcCommand, GivenCalcLines_WhenRun_ThenAssignedAndTextAfterABlankIgnored) {
    TestGame t(
        {chunk("main", "*calc V005=V005+1\n*calc V005=V005+1\n*calc S002=7 and a note\nA\n")});
    Game& g = t.start();
    t.step();
    EXPECT_EQ(g.vars.v(5), 2);
    EXPECT_EQ(g.vars.s(2), 7);
}

TEST(ChainCommand, GivenAChunk_WhenChained_ThenItLoadsAndTheStepEnds) {
    TestGame t({chunk("main", "*chain next\nA\n"), chunk("next", "N\n")});
    Game& g = t.start();
    t.step();
    EXPECT_TRUE(t.textLines().empty());
    EXPECT_EQ(g.lastChunk, "next");
    EXPECT_EQ(g.chapterName, (Name{'n', 'e', 'x', 't', 0, 0, 0, 0}));
    EXPECT_EQ(play(t), Lines{"N"});
}

TEST(ChainCommand, GivenShortAndLongNames_WhenChained_ThenTheChapterNameIs8BytesNulPadded) {
    TestGame t({chunk("main", "*chain ab\n"), chunk("ab", "*chain longname9\nL\n")});
    Game& g = t.start();
    t.step();
    EXPECT_EQ(g.chapterName, (Name{'a', 'b', 0, 0, 0, 0, 0, 0}));
    t.step();
    EXPECT_EQ(g.chapterName, (Name{'l', 'o', 'n', 'g', 'n', 'a', 'm', 'e'}));
}

TEST(ChainCommand, GivenAMissingChunk_WhenChained_ThenTheNextStepRunsTheNextLine) {
    TestGame t({chunk("main", "*chain nowhere\nA\n")});
    Game& g = t.start();
    t.step();
    EXPECT_TRUE(t.textLines().empty());
    EXPECT_EQ(g.lastChunk, "main");
    EXPECT_EQ(g.chapterName, (Name{'n', 'o', 'w', 'h', 'e', 'r', 'e', 0}));
    t.step();
    EXPECT_EQ(t.textLines(), Lines{"A"});
}

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

TEST(EndCommand, GivenAView_WhenEndReturns_ThenOnlyTheSceneReplayViewSetsTheViewFlag) {
    for (const auto& [viewKind, viewFlag] :
         {std::pair{3, ViewFlag::ViewShown}, std::pair{1, ViewFlag::Story}}) {
        SCOPED_TRACE(viewKind);
        TestGame t({chunk("main", "*call sub\nM\n"), chunk("sub", "*end\n")});
        Game& g = t.start();
        t.step();
        g.viewKind = viewKind;
        t.step();
        EXPECT_FALSE(g.inCall);
        EXPECT_EQ(g.viewFlag, viewFlag);
    }
}

TEST(MessCommand, GivenSection1_WhenMessRuns_ThenTheStepEndsInsideItAndItRunsUpToALabel) {
    // The label ":skip" is no separator, but it ends the section.
    TestGame t({chunk("main", "*mess 1\nafter\n"), chunk("messys", kMessages)});
    Game& g = t.start();
    t.step();
    EXPECT_TRUE(t.textLines().empty());
    EXPECT_TRUE(g.inMessage);
    EXPECT_EQ(g.lastChunk, "messys");
    EXPECT_EQ(play(t), (Lines{"one", "after"}));
    EXPECT_FALSE(g.inMessage);
}

TEST(MessCommand, GivenTheLastSection_WhenItRunsOffTheChunk_ThenTheInterpreterStops) {
    TestGame t({chunk("main", "*mess 2\nafter\n"), chunk("messys", kMessages)});
    Game& g = t.start();
    EXPECT_EQ(play(t), Lines{"two"});
    EXPECT_FALSE(g.scriptRunning);
    EXPECT_TRUE(g.inMessage);
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

TEST(GameclrCommand, GivenNoneOrAStoredFive_WhenGameclrRuns_ThenOneOrTwoIsWritten) {
    TestGame none({chunk("main", "*gameclr\nA\n")});
    none.start();
    none.step();
    EXPECT_EQ(none.host().readSetting("Clear"), "1");
    EXPECT_EQ(none.game().vars.v(777), 1);

    TestGame five({chunk("main", "*gameclr\nA\n")});
    five.host().setSettingFallback("Clear", "5");
    Game& g = five.start();
    EXPECT_EQ(g.vars.v(777), 1);
    five.step();
    EXPECT_EQ(five.host().readSetting("Clear"), "2");
    EXPECT_EQ(g.vars.v(777), 2);
}

TEST(GameclrCommand, GivenAClearedGame_WhenGameinitRuns_ThenV777KeepsTheNewMark) {
    TestGame t({chunk("main", "*gameclr\n*calc V777=9\n*gameinit\nA\n")});
    Game& g = t.start();
    t.step();
    EXPECT_EQ(g.vars.v(777), 1);
}

TEST(SelectCommand, GivenSelect3_WhenRun_ThenAChoiceMenuOf3RowsOpens) {
    TestGame t({chunk("main", "*select 3\none\ntwo\nthree\n")});
    Game& g = t.start();
    g.hoveredRow = 2;
    t.step();
    EXPECT_EQ(g.rowCount, 3);
    EXPECT_EQ(g.menuKind, MenuKind::Choice);
    EXPECT_EQ(g.hoveredRow, 0);
    EXPECT_TRUE(g.fetchLine);
    EXPECT_TRUE(t.textLines().empty());
}

TEST(SelectCommand, GivenABuildWithOrWithoutSound_WhenSelectRuns_ThenVoice90022PlaysOnlyWithIt) {
    for (const bool withSound : {true, false}) {
        SCOPED_TRACE(withSound);
        TestGame t({chunk("main", "*select 2\none\ntwo\n")}, GameOptions{.withSound = withSound});
        t.addMenuVoices();
        Game& g = t.start();
        t.step();
        EXPECT_EQ(eventLines(t, "voice"), withSound ? Lines{"voice 90022"} : Lines{});
        EXPECT_EQ(g.menuKind, MenuKind::Choice);
    }
}

TEST(MusicCommand, GivenTracksOrClips_WhenMusicOrVoiceRuns_ThenEachNewTrackPlaysOnceAndZeroStops) {
    TestGame t({chunk("main",
                      "*music 3\n*music 3\n*music 0\n*music 0\n*music 12\n*voice 10001\n"
                      "*VOICE a23\nA\n")});
    t.addSoundFiles({"MIDI/03.MID", "MIDI/12.MID", "wave/1/10001.wav", "wave/a23.wav"});
    t.start();
    t.step();
    EXPECT_EQ(eventLines(t, "music"), (Lines{"music 3", "music-stop", "music 12"}));
    EXPECT_EQ(eventLines(t, "voice"), (Lines{"voice 10001", "voice a23"}));
}

TEST(MusicCommand, GivenTheBuildWithoutSound_WhenMusicAndVoiceRun_ThenNothingPlays) {
    TestGame t({chunk("main", "*music 3\n*voice 10001\nA\n")}, GameOptions{.withSound = false});
    t.start();
    t.step();
    EXPECT_TRUE(shown(t, "A"));
    EXPECT_TRUE(eventLines(t, "music").empty());
    EXPECT_TRUE(eventLines(t, "voice").empty());
}

TEST(ModeCommand, GivenMode2_WhenRun_ThenTheModeIsSetAndTheStepEnds) {
    TestGame t({chunk("main", "*mode 2\nA\n")});
    Game& g = t.start();
    t.step();
    EXPECT_EQ(g.altTextMode, static_cast<AltTextMode>(2));
    EXPECT_TRUE(g.fetchLine);
    EXPECT_TRUE(t.textLines().empty());
}

TEST(LoadCommand, GivenLoad_WhenRun_ThenTheSlotListOpensAndInputLatches) {
    TestGame t({chunk("main", "*load\nA\n")});
    Game& g = t.start();
    g.hoveredRow = 4;
    t.step();
    EXPECT_EQ(g.menuKind, MenuKind::Slots);
    EXPECT_EQ(g.hoveredRow, 0);
    EXPECT_TRUE(g.inputLatch);
    EXPECT_TRUE(t.textLines().empty());
}

TEST(OverlayCommands, GivenGraGrbOrClrb_WhenRun_ThenTheOverlayStateChangesAndTheStepGoesOn) {
    struct Case {
        const char* line;
        bool deferred;
        bool shownAfter;
    };
    for (const Case& c : {Case{"*grb B001", true, true}, Case{"*gra A001", false, true},
                          Case{"*clrb", false, false}}) {
        SCOPED_TRACE(c.line);
        TestGame t({chunk("main", std::string(c.line) + "\nA\n")});
        Game& g = t.start();
        g.overlayShown = true;
        t.step();
        EXPECT_EQ(g.overlayDeferred, c.deferred);
        if (!c.shownAfter) {
            EXPECT_FALSE(g.overlayShown);
        }
        EXPECT_TRUE(shown(t, "A"));
    }
}

TEST(CaseBranches, GivenAPickedRow_WhenItsBranchRuns_ThenItEndsPastEndAndTheStateClears) {
    const std::string choice =
        "*select 3\none\ntwo\nthree\n:CASE1\nC1\n:CASE2\nC2\n:CASE3\nC3\n:end\nafter\n";
    struct Case {
        const char* name;
        std::string script;
        int row;
        Lines expected;
    };
    const Case cases[] = {
        {"row2MeetsCase3", choice, 2, {"C2", "after"}},
        {"row3MeetsEnd", choice, 3, {"C3", "after"}},
        {"caseLabelWithABlankIsNotTaken",
         "*select 2\nr1\nr2\n:CASE 2\nwrong\n:CASE2\nright\n:end\nafter\n",
         2,
         {"right", "after"}},
        {"case21BeforeCase2IsTaken",
         "*select 2\nr1\nr2\n:CASE21\nX\n:CASE2\nY\n:end\nZ\n",
         2,
         {"X", "Z"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestGame t({chunk("main", c.script)});
        Game& g = t.start();
        t.step();
        ASSERT_EQ(g.menuKind, MenuKind::Choice);
        g.menuKind = MenuKind::None;
        g.JumpToCase(c.row);
        EXPECT_EQ(g.caseState, CaseState::InBranch);  // a branch is running
        EXPECT_EQ(play(t), c.expected);
        EXPECT_EQ(g.caseState, CaseState::None);
    }
}

TEST(CaseBranches, GivenACaseLabelBeforeTheSelect_WhenPicked_ThenOnlyLaterLabelsCount) {
    TestGame t({chunk("main", ":CASE1\nearly\n*select 1\nr1\n:CASE1\nlate\n:end\nafter\n")});
    Game& g = t.start();
    EXPECT_EQ(play(t), Lines{"early"});
    ASSERT_EQ(g.menuKind, MenuKind::Choice);
    g.menuKind = MenuKind::None;
    g.JumpToCase(1);
    EXPECT_EQ(play(t), (Lines{"early", "late", "after"}));
}

}  // namespace
}  // namespace corvan::test
