// Start-up: refusing a game that was never set up, finding the game directory (asking the
// player when the archive is not where the settings say) and initialising the game.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "settings/setting_names.h"
#include "support/test_game.h"

namespace corvan::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

constexpr const char* kNotInstalled =
    "コルヴァン|セーブドライブが設定されていません。先に setup を実行してください。";
// The headless host writes the message's line break as "\n".
constexpr const char* kArchiveQuestion =
    "コルヴァン起動ディレクトリ|ファイルが見つかりません(MG_DATA.STF)。\\n"
    "このファイルとデータフォルダ(GRA,WAV,MIDI)があるフォルダ（ディレクトリ）を指定してください。";

bool sameFolder(const std::optional<std::string>& a, const fs::path& b) {
    std::error_code ec;
    return a && fs::equivalent(*a, b, ec);
}

// --- Not installed ---------------------------------------------------------------------------

TEST(StartUp, GivenSaveDirNull_WhenStarting_ThenTheGameRefusesAndClosesAtTheFirstIdleCall) {
    TestGame t({chunk("main", "hello\n")});
    t.host().writeSetting(setting::kSaveDir, "NULL");

    Game& g = t.start();

    EXPECT_EQ(t.events("msgbox "), (Lines{kNotInstalled}));
    EXPECT_TRUE(g.quitRequested);
    EXPECT_TRUE(t.events("chunk ").empty());
    EXPECT_FALSE(t.player().closed());
    t.player().idle();
    EXPECT_TRUE(t.player().closed());
    EXPECT_TRUE(t.textLines().empty());
}

TEST(StartUp, GivenNoSaveDirAtAll_WhenStarting_ThenTheGameRefusesToRun) {
    HeadlessPlayer player;

    player.start();

    EXPECT_EQ(player.host().events(), (Lines{std::string("msgbox ") + kNotInstalled}));
    EXPECT_TRUE(player.game().quitRequested);
}

TEST(StartUp, GivenSaveDirNullInOtherLetters_WhenStarting_ThenTheGameRuns) {
    TestGame t({chunk("main", "hello\n")});
    t.host().writeSetting(setting::kSaveDir, "null");

    Game& g = t.start();

    EXPECT_TRUE(t.events("msgbox ").empty());
    EXPECT_FALSE(g.quitRequested);
    EXPECT_EQ(t.events("chunk "), (Lines{"main"}));
}

TEST(StartUp, GivenASaveDir_WhenStarting_ThenSavesGoToThatFolder) {
    TestGame t({chunk("main", "hello\n")});

    Game& g = t.start();

    std::error_code ec;
    EXPECT_TRUE(fs::equivalent(g.saveFolder, t.saveDir(), ec));
}

TEST(StartUp, GivenAnEmptySaveDir_WhenStarting_ThenSavesGoToTheRootFolder) {
    TestGame t({chunk("main", "hello\n")});
    t.host().writeSetting(setting::kSaveDir, "");

    Game& g = t.start();

    EXPECT_FALSE(g.quitRequested);
    EXPECT_TRUE(g.saveFolder.has_root_directory());
    EXPECT_TRUE(g.saveFolder.relative_path().empty());
}

// --- Finding the game directory --------------------------------------------------------------

TEST(StartUp, GivenTheArchiveInGameDir_WhenStarting_ThenNoQuestionIsAsked) {
    TestGame t({chunk("main", "hello\n")});

    Game& g = t.start();

    EXPECT_TRUE(t.events("msgbox ").empty());
    EXPECT_TRUE(t.events("dialog ").empty());
    std::error_code ec;
    EXPECT_TRUE(fs::equivalent(g.gameDirectory, t.gameDir(), ec));
}

TEST(StartUp, GivenNoArchiveInGameDir_WhenThePlayerCancels_ThenTheGameQuitsUninitialised) {
    TestGame t({chunk("main", "hello\n")});
    TempDir empty;
    t.host().writeSetting(setting::kGameDir, empty.path().string());
    t.host().queueAnswer(MessageAnswer::Cancel);

    Game& g = t.start();

    EXPECT_EQ(t.events("msgbox "), (Lines{kArchiveQuestion}));
    EXPECT_TRUE(t.events("dialog ").empty());
    EXPECT_TRUE(g.quitRequested);
    EXPECT_TRUE(t.events("chunk ").empty());
    EXPECT_FALSE(g.scriptRunning);
    EXPECT_TRUE(sameFolder(t.host().readSetting(setting::kGameDir), empty.path()));
    t.player().idle();
    EXPECT_TRUE(t.player().closed());
}

TEST(StartUp, GivenNoArchiveInGameDir_WhenThePlayerPicksTheArchive_ThenItsFolderIsUsedAndKept) {
    TestGame t({chunk("main", "hello\n")});
    TempDir empty;
    t.host().writeSetting(setting::kGameDir, empty.path().string());
    const std::string picked = (t.gameDir() / "mg_data.stf").string();
    t.host().queueAnswer(MessageAnswer::Ok);
    t.host().queuePick(picked);

    Game& g = t.start();

    EXPECT_EQ(t.events("msgbox "), (Lines{kArchiveQuestion}));
    EXPECT_EQ(t.events("dialog "), (Lines{"mg_data.stf ゲームファイル|*.stf -> " + picked}));
    EXPECT_FALSE(g.quitRequested);
    EXPECT_EQ(t.events("chunk "), (Lines{"main"}));
    std::error_code ec;
    EXPECT_TRUE(fs::equivalent(g.gameDirectory, t.gameDir(), ec));
    EXPECT_TRUE(sameFolder(t.host().readSetting(setting::kGameDir), t.gameDir()));
}

TEST(StartUp, GivenAPickedFileOfAnotherName_WhenSearching_ThenItsOwnFolderIsSearched) {
    TestGame t({chunk("main", "hello\n")});
    TempDir empty;
    t.host().writeSetting(setting::kGameDir, empty.path().string());
    // A short name: cutting a fixed 12 bytes off this path would leave a wrong folder.
    t.host().queueAnswer(MessageAnswer::Ok);
    t.host().queuePick((t.gameDir() / "x.stf").string());

    Game& g = t.start();

    EXPECT_EQ(t.events("msgbox ").size(), 1u);
    EXPECT_EQ(t.events("chunk "), (Lines{"main"}));
    EXPECT_TRUE(sameFolder(t.host().readSetting(setting::kGameDir), t.gameDir()));
    EXPECT_FALSE(g.quitRequested);
}

TEST(StartUp, GivenAPickedFolderWithoutTheArchive_WhenSearching_ThenTheQuestionRepeats) {
    TestGame t({chunk("main", "hello\n")});
    TempDir empty;
    TempDir other;
    t.host().writeSetting(setting::kGameDir, empty.path().string());
    t.host().queueAnswer(MessageAnswer::Ok);
    t.host().queuePick((other.path() / "mg_data.stf").string());
    t.host().queueAnswer(MessageAnswer::Ok);
    t.host().queuePick(std::nullopt);  // the dialog cancelled: nothing changes, asked again
    t.host().queueAnswer(MessageAnswer::Ok);
    t.host().queuePick((t.gameDir() / "mg_data.stf").string());

    Game& g = t.start();

    EXPECT_EQ(t.events("msgbox "), (Lines{kArchiveQuestion, kArchiveQuestion, kArchiveQuestion}));
    EXPECT_EQ(t.events("dialog ").size(), 3u);
    EXPECT_FALSE(g.quitRequested);
    EXPECT_EQ(t.events("chunk "), (Lines{"main"}));
}

TEST(StartUp, GivenAFolderChosenOnce_WhenTheGameStartsAgain_ThenItFindsTheArchiveAtOnce) {
    TempDir gameDir;
    TempDir saveDir;
    TempDir empty;
    TempDir store;
    writeArchive(gameDir.path() / "mg_data.stf", {chunk("main", "hello\n")});
    const fs::path ini = store.path() / "corvan.ini";
    std::string error;
    {
        HeadlessPlayer first;
        ASSERT_TRUE(first.host().useSettingsFile(ini, error)) << error;
        first.host().writeSetting(setting::kSaveDir, saveDir.path().string());
        first.host().writeSetting(setting::kGameDir, empty.path().string());
        first.host().queueAnswer(MessageAnswer::Ok);
        first.host().queuePick((gameDir.path() / "mg_data.stf").string());
        first.start();
        ASSERT_FALSE(first.game().quitRequested);
    }

    HeadlessPlayer second;
    ASSERT_TRUE(second.host().useSettingsFile(ini, error)) << error;
    second.start();

    EXPECT_EQ(second.host().events(), (Lines{"chunk main"}));
    EXPECT_TRUE(second.game().scriptRunning);
}

TEST(StartUp, GivenTheArchiveInCapitals_WhenStarting_ThenItIsFound) {
    TestGame t({chunk("main", "wrong one\n")});
    TempDir upper;
    writeArchive(upper.path() / "MG_DATA.STF", {chunk("main", "capitals\n")});
    t.host().writeSetting(setting::kGameDir, upper.path().string());
    t.host().writeSetting(setting::kDelay, "1");

    Game& g = t.start();
    t.player().run();

    EXPECT_TRUE(t.events("msgbox ").empty());
    EXPECT_FALSE(g.quitRequested);
    EXPECT_EQ(t.textLines(), (Lines{"capitals"}));
}

// --- Initialising the game -------------------------------------------------------------------

TEST(InitGame, GivenAStart_WhenTheGameIsInitialised_ThenChunkMainRunsWithACleanRunState) {
    TestGame t({chunk("other", "x\n"), chunk("main", "hello\n")});

    Game& g = t.start();

    EXPECT_EQ(t.events("chunk "), (Lines{"main"}));
    EXPECT_EQ(g.lastChunk, "main");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(g.chapterName.data())), "main");
    EXPECT_TRUE(g.scriptRunning);
    EXPECT_TRUE(g.fetchLine);
    EXPECT_EQ(g.scriptPos, 0);
    EXPECT_EQ(g.textDelay, 1);
    EXPECT_EQ(g.waitKind, WaitKind::None);
    EXPECT_EQ(g.menuKind, MenuKind::None);
    EXPECT_FALSE(g.quitRequested);
}

TEST(InitGame, GivenNoClearSetting_WhenInitialised_ThenV777IsZero) {
    TestGame t({chunk("main", "hello\n")});

    Game& g = t.start();

    EXPECT_EQ(g.clearMark, 0);
    EXPECT_EQ(g.vars.v(777), 0);
}

TEST(InitGame, GivenAClearedGame_WhenInitialised_ThenV777HoldsOneWhateverTheStoredCount) {
    for (const char* stored : {"1", "5"}) {
        TestGame t({chunk("main", "hello\n")});
        t.host().writeSetting(setting::kClear, stored);

        Game& g = t.start();

        EXPECT_EQ(g.clearMark, 1) << stored;
        EXPECT_EQ(g.vars.v(777), 1) << stored;
    }
}

TEST(InitGame, GivenVariablesInUse_WhenInitialisedAgain_ThenTheyAreClearedButV777IsKept) {
    TestGame t({chunk("main", "hello\n")});
    t.host().writeSetting(setting::kClear, "1");
    Game& g = t.start();
    g.vars.setV(5, 9);
    g.vars.setS(6, 4);
    g.vars.SetFlag(3);
    g.aMarks[2] = 1;
    g.bMarks[7] = 1;

    g.InitGame();

    EXPECT_EQ(g.vars.v(5), 0);
    EXPECT_EQ(g.vars.s(6), 0);
    EXPECT_FALSE(g.vars.TestFlag(3));
    EXPECT_EQ(g.aMarks[2], 0);
    EXPECT_EQ(g.bMarks[7], 0);
    EXPECT_EQ(g.vars.v(777), 1);
}

TEST(InitGame, GivenNoSettings_WhenInitialised_ThenSoundIsOnAndTextIsPacedAtNormalSpeed) {
    TestGame t({chunk("main", "hello\n")});

    Game& g = t.start();

    EXPECT_TRUE(g.settings.musicOn);
    EXPECT_TRUE(g.settings.voiceOn);
    EXPECT_TRUE(g.settings.charByChar);
    EXPECT_EQ(g.settings.speedFactor, 1);
}

TEST(InitGame, GivenStoredSettings_WhenInitialised_ThenTheyAreTakenIntoTheGame) {
    TestGame t({chunk("main", "hello\n")});
    t.host().writeSetting(setting::kBgm, "1");
    t.host().writeSetting(setting::kWave, "1");
    t.host().writeSetting(setting::kDelay, "1");
    t.host().writeSetting(setting::kGMode, "2");

    Game& g = t.start();

    EXPECT_FALSE(g.settings.musicOn);
    EXPECT_FALSE(g.settings.voiceOn);
    EXPECT_FALSE(g.settings.charByChar);
    EXPECT_EQ(g.settings.speedFactor, 3);
}

TEST(InitGame, GivenTheFastSpeedSetting_WhenTheStoryRuns_ThenWholeLinesShowPerIdleCall) {
    TestGame t({chunk("main", "abc\ndef\n")});
    t.host().writeSetting(setting::kDelay, "1");
    Game& g = t.start();

    g.AppIdle();

    EXPECT_EQ(t.textLines(), (Lines{"abc"}));
    EXPECT_EQ(g.textLine, 1);
}

}  // namespace
}  // namespace corvan::test
