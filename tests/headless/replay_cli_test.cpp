// corvan-replay as a program: options, input scripts, the log, state and screen files.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "headless/json_checker.h"
#include "settings/settings_file.h"
#include "support/run_program.h"
#include "support/test_archive.h"

namespace corvan::test {
namespace {

namespace fs = std::filesystem;

const std::string kReplay = std::string(CORVAN_TOOLS_DIR) + "/corvan-replay";

// Runs corvan-replay in `workDir` with these arguments; `input` becomes its standard input.
// A run that takes longer than 30 s is ended and reported as exit code 124.
ProgramRun replay(const fs::path& workDir, const std::vector<std::string>& args,
                  const std::string& input = "") {
    // TMPDIR keeps the default save folder inside the test's own folder.
    return runProgram(kReplay, workDir, args, {input, {{"TMPDIR", workDir.string()}}});
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

bool hasLine(const std::string& text, const std::string& line) {
    for (const std::string& l : lines(text)) {
        if (l == line) return true;
    }
    return false;
}

bool hasLineStarting(const std::string& text, const std::string& prefix) {
    for (const std::string& l : lines(text)) {
        if (l.rfind(prefix, 0) == 0) return true;
    }
    return false;
}

JsonValue readState(const fs::path& file) {
    std::string error;
    const std::string text = readText(file);
    auto value = JsonReader::parse(text, error);
    EXPECT_TRUE(value.has_value()) << file << ": " << error << "\n" << text;
    return value.value_or(JsonValue{});
}

const char* const kTwoPages =
    "こんにちは\n"
    "*calc V010=5\n"
    "▼\n"
    "*calc V011=6\n"
    "二ページ目\n"
    "▼\n";

const std::string kNotInstalled =
    "msgbox コルヴァン|セーブドライブが設定されていません。先に setup を実行してください。";
const std::string kArchiveMissing =
    "msgbox コルヴァン起動ディレクトリ|ファイルが見つかりません(MG_DATA.STF)。";

// A working folder and a game folder holding an archive.
class ReplayCli : public ::testing::Test {
protected:
    void SetUp() override { writeArchive(game() / "mg_data.stf", {chunk("main", kTwoPages)}); }
    fs::path work() const { return work_.path(); }
    fs::path game() const { return game_.path(); }
    ProgramRun replayWithInput(const std::string& script, std::vector<std::string> args) {
        writeText(work() / "input.txt", script);
        args.insert(args.begin(), {"--input", "input.txt"});
        return replay(work(), args);
    }

    TempDir work_;
    TempDir game_;
};

TEST_F(ReplayCli, GivenHelp_ThenPrintsUsageAndExitsZero) {
    const ProgramRun run = replay(work(), {"--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.out.find("usage: corvan-replay"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("--input"), std::string::npos);
}

TEST_F(ReplayCli, GivenNoGameDir_ThenExitsTwoWithMessage) {
    const ProgramRun run = replay(work(), {});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("GAMEDIR"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
}

TEST_F(ReplayCli, GivenGameDirThatIsNoFolder_ThenExitsTwoSayingSo) {
    writeText(work() / "plain-file", "x");
    ProgramRun run = replay(work(), {"plain-file"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("plain-file"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("not a folder"), std::string::npos) << run.err;

    run = replay(work(), {"no-such-folder"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("no-such-folder"), std::string::npos) << run.err;
}

TEST_F(ReplayCli, GivenUnknownOption_ThenExitsTwoNamingIt) {
    const ProgramRun run = replay(work(), {"--frobnicate", game().string()});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("--frobnicate"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
}

TEST_F(ReplayCli, GivenOptionWithoutItsValue_ThenExitsTwo) {
    const ProgramRun run = replay(work(), {game().string(), "--state"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("--state"), std::string::npos) << run.err;
}

TEST_F(ReplayCli, GivenUnknownInputCommand_ThenExitsTwoNamingTheLineAndRunsNothing) {
    const ProgramRun run = replayWithInput(
        "run\n# comment\n\njump 3\nrun\n",
        {"--state", "state.json", "--shot", "shot.png", "--log", "log.txt", game().string()});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("line 4"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("jump"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(work() / "state.json"));
    EXPECT_FALSE(fs::exists(work() / "shot.png"));
    EXPECT_FALSE(hasLine(readText(work() / "log.txt"), "chunk main"));
    EXPECT_FALSE(hasLine(run.out, "chunk main"));
}

TEST_F(ReplayCli, GivenBadCommandArgument_ThenExitsTwoNamingTheLine) {
    const ProgramRun run =
        replayWithInput("run\nclick 10\n", {"--state", "state.json", game().string()});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("line 2"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(work() / "state.json"));
}

// A row or a plate that is not on the screen is named with its input line; the run goes on.
TEST_F(ReplayCli, GivenChooseOrPlaceWithNothingToPick_ThenExitsOneNamingTheLine) {
    const ProgramRun run = replayWithInput("run\nchoose 2\nplace 移動\nread\n", {game().string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("input line 2: no menu is open"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("input line 3: neither the hotel menu nor the floor map is up"),
              std::string::npos)
        << run.err;
    EXPECT_TRUE(hasLine(run.out, "text 二ページ目")) << run.out;
}

TEST_F(ReplayCli, GivenMissingInputFile_ThenFailsWithMessage) {
    const ProgramRun run = replay(work(), {"--input", "absent.txt", game().string()});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_FALSE(run.signalled);
    EXPECT_NE(run.err.find("absent.txt"), std::string::npos) << run.err;
}

TEST_F(ReplayCli, GivenStateOption_ThenFinalStateHasEveryKeyInValidJson) {
    const ProgramRun run = replay(work(), {"--state", "state.json", game().string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const JsonValue state = readState(work() / "state.json");
    ASSERT_EQ(state.type, JsonValue::Type::Object);
    for (const std::string& key : stateJsonKeys()) EXPECT_TRUE(state.has(key)) << key;
    // Without --input the game runs to its first wait.
    EXPECT_EQ(state["chunk"].text, "main");
    EXPECT_EQ(state["waitKind"].number, 1);
    EXPECT_TRUE(state["scriptRunning"].boolean);
    EXPECT_EQ(state["V"].integerMembers(), (std::map<std::string, std::int64_t>{{"10", 5}}));
}

TEST_F(ReplayCli, GivenLogOption_ThenLogHasTheChunkAndTextLines) {
    const ProgramRun run = replay(work(), {"--log", "events.log", game().string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string log = readText(work() / "events.log");
    EXPECT_EQ(lines(log), (std::vector<std::string>{"chunk main", "text こんにちは", "text ▼"}));
    EXPECT_FALSE(hasLineStarting(run.out, "chunk")) << run.out;
}

TEST_F(ReplayCli, GivenRead_ThenEveryPageIsClickedThroughAndReadingStopsAtTheChoice) {
    writeArchive(game() / "mg_data.stf",
                 {chunk("main", std::string(kTwoPages) + "〓\n*select 2\nはい\nいいえ\n")});
    const ProgramRun run =
        replayWithInput("read\n", {"--log", "events.log", "--state", "s.json", game().string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(hasLine(readText(work() / "events.log"), "text 二ページ目"));
    const JsonValue state = readState(work() / "s.json");
    EXPECT_EQ(state["menuKind"].number, 1);
    EXPECT_EQ(state["V"].integerMembers(),
              (std::map<std::string, std::int64_t>{{"10", 5}, {"11", 6}}));
}

TEST_F(ReplayCli, GivenFramesOption_ThenEveryTransitionFrameHasItsHashOnALine) {
    writeArchive(game() / "mg_data.stf", {chunk("main", "*gra SF00,4\n*gra S0F0,6\n文▼\n")});
    const ProgramRun run =
        replay(work(), {"--log", "events.log", "--frames", "frames.txt", game().string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    int expected = 0;
    for (const std::string& line : lines(readText(work() / "events.log"))) {
        if (line.rfind("transition ", 0) == 0) {
            expected += std::stoi(line.substr(line.rfind(' ') + 1));
        }
    }
    const std::vector<std::string> hashes = lines(readText(work() / "frames.txt"));
    ASSERT_GT(expected, 2);
    ASSERT_EQ(static_cast<int>(hashes.size()), expected);
    for (const std::string& hash : hashes) {
        EXPECT_EQ(hash.find_first_not_of("0123456789abcdef"), std::string::npos) << hash;
        EXPECT_EQ(hash.size(), 16u);
    }
    // The picture changes while a transition runs, and each transition ends on its own picture.
    EXPECT_NE(hashes.front(), hashes[static_cast<std::size_t>(expected / 2)]);
    const ProgramRun again = replay(work(), {"--frames", "again.txt", game().string()});
    EXPECT_EQ(readText(work() / "again.txt"), readText(work() / "frames.txt"));
}

TEST_F(ReplayCli, GivenChainsToMissingAndPresentChunks_ThenLoadsAndTheMissingChunkAreLogged) {
    TempDir chained;
    writeArchive(chained.path() / "mg_data.stf",
                 {chunk("main", "*chain nothere\n続き\n*chain ch2\n"), chunk("ch2", "二章\n▼\n")});
    const ProgramRun run = replay(work(), {"--log", "events.log", chained.path().string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(lines(readText(work() / "events.log")),
              (std::vector<std::string>{"chunk main", "chunk-missing nothere (by chain from main)",
                                        "text 続き", "chunk ch2", "text 二章", "text ▼"}));
}

TEST_F(ReplayCli, GivenNoLogOption_ThenEventsGoToStandardOutput) {
    const ProgramRun run = replay(work(), {game().string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(hasLine(run.out, "chunk main")) << run.out;
    EXPECT_TRUE(hasLine(run.out, "text こんにちは")) << run.out;
    EXPECT_FALSE(hasLine(run.out, "text 二ページ目")) << run.out;
}

TEST_F(ReplayCli, GivenInputFromStandardInput_ThenItsCommandsRun) {
    const ProgramRun run =
        replay(work(), {"--input", "-", "--state", "state.json", game().string()},
               "# from a pipe\nrun\nclick 320 240\nrun\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(hasLine(run.out, "text 二ページ目")) << run.out;
    const JsonValue state = readState(work() / "state.json");
    EXPECT_EQ(state["V"].integerMembers(),
              (std::map<std::string, std::int64_t>{{"10", 5}, {"11", 6}}));
}

TEST_F(ReplayCli, GivenStateCommandMidScript_ThenIntermediateStateIsWritten) {
    const ProgramRun run = replayWithInput("run\nstate mid.json\nclick 320 240\nrun\n",
                                           {"--state", "final.json", game().string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const JsonValue mid = readState(work() / "mid.json");
    const JsonValue final = readState(work() / "final.json");
    for (const std::string& key : stateJsonKeys()) EXPECT_TRUE(mid.has(key)) << key;
    EXPECT_EQ(mid["V"].integerMembers(), (std::map<std::string, std::int64_t>{{"10", 5}}));
    EXPECT_EQ(final["V"].integerMembers(),
              (std::map<std::string, std::int64_t>{{"10", 5}, {"11", 6}}));
    EXPECT_LT(mid["scriptPos"].number, final["scriptPos"].number);
    EXPECT_LT(mid["idleCalls"].number, final["idleCalls"].number);
}

TEST_F(ReplayCli, GivenShotOption_ThenScreenIsWrittenAs640x480Png) {
    const ProgramRun run =
        replayWithInput("run\nshot mid.png\n", {"--shot", "final.png", game().string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const char* name : {"mid.png", "final.png"}) {
        const std::string png = readText(work() / name);
        ASSERT_GE(png.size(), 24u) << name;
        EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << name;
        EXPECT_EQ(png.substr(12, 4), "IHDR") << name;
        auto bigEndian = [&](std::size_t at) {
            std::uint32_t v = 0;
            for (std::size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<std::uint8_t>(png[at + i]);
            return v;
        };
        EXPECT_EQ(bigEndian(16), 640u) << name;
        EXPECT_EQ(bigEndian(20), 480u) << name;
        EXPECT_FALSE(fs::exists(work() / (std::string(name) + ".tmp")));
    }
}

TEST_F(ReplayCli, GivenSaveFolderThatDoesNotExist_ThenItIsCreated) {
    const fs::path save = work() / "deep" / "er" / "saves";
    const ProgramRun run = replay(work(), {"--save", save.string(), game().string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(fs::is_directory(save));
    EXPECT_TRUE(hasLine(run.out, "chunk main"));
}

TEST_F(ReplayCli, GivenSoundOption_ThenMusicAndVoiceAreLogged) {
    TempDir soundGame;
    writeArchive(soundGame.path() / "mg_data.stf",
                 {chunk("main", "*music 4\n*music 3\n*voice 12345\n*voice 999\n歌\n▼\n")});
    writeBytes(soundGame.path() / "MIDI/03.MID",
               {'M', 'T', 'h', 'd', 0,   0, 0, 6, 0, 0, 0,    1,    0,
                96,  'M', 'T', 'r', 'k', 0, 0, 0, 4, 0, 0xFF, 0x2F, 0});
    writeBytes(soundGame.path() / "wave/1/12345.wav", {});
    ProgramRun run = replay(work(), {"--sound", soundGame.path().string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // What the player would see and hear: the box for the missing track, the track that
    // plays, the voice that was found, and the one that was not.
    EXPECT_TRUE(hasLine(run.out,
                        "msgbox コルヴァン|音楽ファイル MIDI/04.MID を開けません。\\n"
                        "ファイルが見つかりません。"))
        << run.out;
    EXPECT_FALSE(hasLine(run.out, "music 4")) << run.out;
    EXPECT_TRUE(hasLine(run.out, "music 3")) << run.out;
    EXPECT_TRUE(hasLine(run.out, "voice 12345")) << run.out;
    EXPECT_TRUE(hasLine(run.out, "voice-missing 999")) << run.out;

    // The build without sound plays neither.
    run = replay(work(), {soundGame.path().string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_FALSE(hasLineStarting(run.out, "music")) << run.out;
    EXPECT_FALSE(hasLineStarting(run.out, "voice")) << run.out;
    EXPECT_TRUE(hasLine(run.out, "text 歌")) << run.out;
}

TEST_F(ReplayCli, GivenArchiveMissing_WhenAnsweredOkAndPicked_ThenGameStartsFromPickedFolder) {
    TempDir empty;
    writeText(work() / "corvan.ini", "");
    const ProgramRun run =
        replayWithInput("answer ok\npick " + (game() / "mg_data.stf").string() + "\nrun\n",
                        {"--config", "corvan.ini", "--state", "state.json", empty.path().string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(hasLineStarting(run.out, kArchiveMissing)) << run.out;
    EXPECT_TRUE(hasLine(run.out, "chunk main")) << run.out;
    EXPECT_TRUE(hasLine(run.out, "text こんにちは")) << run.out;
    EXPECT_EQ(readState(work() / "state.json")["chunk"].text, "main");
    // The folder found is remembered for the next start.
    EXPECT_EQ(SettingsFile(work() / "corvan.ini").read("GameDir"), game().string());
}

TEST_F(ReplayCli, GivenArchiveMissing_WhenPickedFileIsElsewhere_ThenTheQuestionIsAskedAgain) {
    TempDir empty;
    TempDir wrong;
    const ProgramRun run =
        replayWithInput("answer ok\npick " + (wrong.path() / "mg_data.stf").string() +
                            "\nanswer ok\npick " + (game() / "mg_data.stf").string() + "\nrun\n",
                        {empty.path().string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    int asked = 0;
    for (const std::string& line : lines(run.out)) asked += line.rfind(kArchiveMissing, 0) == 0;
    EXPECT_EQ(asked, 2) << run.out;
    EXPECT_TRUE(hasLine(run.out, "chunk main")) << run.out;
}

TEST_F(ReplayCli, GivenArchiveMissing_WhenNothingAnswered_ThenToolEndsWithoutStarting) {
    TempDir empty;
    const ProgramRun run = replay(work(), {"--state", "state.json", empty.path().string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;  // 124 would mean it hung
    EXPECT_FALSE(run.signalled);
    EXPECT_TRUE(hasLineStarting(run.out, kArchiveMissing)) << run.out;
    EXPECT_TRUE(hasLine(run.out, "close")) << run.out;
    EXPECT_FALSE(hasLineStarting(run.out, "chunk")) << run.out;
    const JsonValue state = readState(work() / "state.json");
    EXPECT_EQ(state["chunk"].text, "");
    EXPECT_TRUE(state["quitRequested"].boolean);
}

TEST_F(ReplayCli, GivenArchiveMissing_WhenOkButPickCancelled_ThenAskedAgainAndCancelEnds) {
    TempDir empty;
    const ProgramRun run =
        replayWithInput("answer ok\npick cancel\nrun\n", {empty.path().string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    int asked = 0;
    for (const std::string& line : lines(run.out)) asked += line.rfind(kArchiveMissing, 0) == 0;
    EXPECT_EQ(asked, 2) << run.out;
    EXPECT_TRUE(hasLine(run.out, "close")) << run.out;
    EXPECT_FALSE(hasLineStarting(run.out, "chunk")) << run.out;
}

TEST_F(ReplayCli, GivenConfigWithSaveDirNull_ThenNotInstalledMessageAndQuit) {
    writeText(work() / "corvan.ini", "[Corvan]\nSaveDir=NULL\n");
    const ProgramRun run =
        replay(work(), {"--config", "corvan.ini", "--state", "state.json", game().string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(hasLine(run.out, kNotInstalled)) << run.out;
    EXPECT_TRUE(hasLine(run.out, "close")) << run.out;
    EXPECT_FALSE(hasLineStarting(run.out, "chunk")) << run.out;
    EXPECT_FALSE(hasLineStarting(run.out, kArchiveMissing)) << run.out;
    EXPECT_TRUE(readState(work() / "state.json")["quitRequested"].boolean);
}

TEST_F(ReplayCli, GivenConfigFile_ThenGameDirAndSetValuesAreWrittenBackAndTheRestKept) {
    writeText(work() / "corvan.ini",
              "; kept as written\n"
              "[Other]\n"
              "Key=kept\n"
              "\n"
              "[Corvan]\n"
              "Delay=0\n"
              "Custom=value\n");
    const ProgramRun run = replayWithInput("run\nset Delay 1\nset BGM 1\n",
                                           {"--config", "corvan.ini", game().string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(readText(work() / "corvan.ini"),
              "; kept as written\n"
              "[Other]\n"
              "Key=kept\n"
              "\n"
              "[Corvan]\n"
              "Delay=1\n"
              "Custom=value\n"
              "GameDir=" +
                  game().string() +
                  "\n"
                  "BGM=1\n");
}

TEST_F(ReplayCli, GivenConfigWithGameDir_ThenItIsUsedInsteadOfTheCommandLineFolder) {
    TempDir other;
    writeArchive(other.path() / "mg_data.stf", {chunk("main", "別の遊び\n▼\n")});
    writeText(work() / "corvan.ini", "[Corvan]\nGameDir=" + other.path().string() + "\n");
    const ProgramRun run = replay(work(), {"--config", "corvan.ini", game().string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(hasLine(run.out, "text 別の遊び")) << run.out;
    EXPECT_FALSE(hasLine(run.out, "text こんにちは")) << run.out;
}

TEST_F(ReplayCli, GivenConfigThatDoesNotExistYet_ThenItIsCreatedWithTheGameDir) {
    const ProgramRun run = replay(work(), {"--config", "new.ini", game().string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(readText(work() / "new.ini"), "[Corvan]\nGameDir=" + game().string() + "\n");
}

TEST_F(ReplayCli, GivenSetWithoutConfig_ThenTheGameTakesTheSetting) {
    // BGM=1 switches the music off for the rest of the game.
    TempDir soundGame;
    writeArchive(soundGame.path() / "mg_data.stf", {chunk("main", "一\n▼\n*music 4\n二\n▼\n")});
    const ProgramRun run = replayWithInput("run\nset BGM 1\nclick 320 240\nrun\n",
                                           {"--sound", soundGame.path().string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(hasLine(run.out, "text 二")) << run.out;
    EXPECT_FALSE(hasLine(run.out, "music 4")) << run.out;  // music was switched off
}

}  // namespace
}  // namespace corvan::test
