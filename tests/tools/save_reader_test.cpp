// stftool saves: what the game wrote into its save folder comes back, and two saves are told
// apart value by value.

#include "authoring/save_reader.h"

#include <gtest/gtest.h>

#include "headless/json_checker.h"
#include "support/run_program.h"
#include "support/test_game.h"

namespace corvan::test {
namespace {

namespace fs = std::filesystem;

const std::string kStftool = std::string(CORVAN_TOOLS_DIR) + "/stftool";

TEST(SaveReader, GivenSavesMadeByTheGame_ThenEverySlotAndTheSeenRecordComeBack) {
    TestGame game({chunk("main",
                         "*flag_on 3\n*flag_on 200\n*calc V001=42\n*calc S010=-7\n"
                         "*calc E005=3\n一頁目。▼\n")});
    Game& g = game.start();
    game.player().run();
    g.aMarks[12] = 1;
    g.bMarks[4] = 1;
    ASSERT_TRUE(g.SaveSlot(1));
    g.vars.setV(1, 43);
    g.vars.ClearFlag(200);
    ASSERT_TRUE(g.SaveSlot(2));

    const ProgramRun json =
        runProgram(kStftool, game.saveDir(), {"saves", "--json", game.saveDir().string()});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    EXPECT_EQ(json.out,
              "{\"slots\": {\"1\": {\"flags\": [3, 200], \"V\": {\"1\": 42}, \"S\": {\"10\": -7}}, "
              "\"2\": {\"flags\": [3], \"V\": {\"1\": 43}, \"S\": {\"10\": -7}}}, "
              "\"seen\": {\"A\": [12], \"B\": [4], \"E\": {\"5\": 3}}}\n");
    std::string error;
    EXPECT_TRUE(JsonReader::parse(json.out, error).has_value()) << error;

    const ProgramRun text =
        runProgram(kStftool, game.saveDir(), {"saves", game.saveDir().string()});
    EXPECT_NE(text.out.find("  flags set: F003 F200\n  V values: V001=42\n"), std::string::npos)
        << text.out;

    const ProgramRun diff = runProgram(kStftool, game.saveDir(),
                                       {"saves", "--diff", (game.saveDir() / "save1.cv").string(),
                                        (game.saveDir() / "save2.cv").string()});
    ASSERT_EQ(diff.exitCode, 0) << diff.err;
    EXPECT_EQ(diff.out, "F200: on -> off\nV001: 42 -> 43\n");
}

TEST(SaveReader, GivenNoFolderOrFilesOfTwoKinds_ThenItSaysSoAndFails) {
    TempDir work;
    const ProgramRun missing = runProgram(kStftool, work.path(), {"saves", "nowhere"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("nowhere is not a folder"), std::string::npos) << missing.err;
    writeText(work.path() / "save1.cv", std::string(8256, '\0'));
    writeText(work.path() / "SEEN.CV", std::string(700, '\0'));  // short, and in capitals
    SaveFolder folder;
    std::string error;
    ASSERT_TRUE(readSaveFolder(work.path(), folder, error)) << error;
    ASSERT_TRUE(folder.seen.has_value());
    EXPECT_NE(folder.seen->note.find("700 bytes"), std::string::npos) << folder.seen->note;
    std::string diff;
    EXPECT_FALSE(diffSaveFiles(work.path() / "save1.cv", work.path() / "SEEN.CV", diff, error));
    EXPECT_NE(error.find("of one kind"), std::string::npos) << error;
}

}  // namespace
}  // namespace corvan::test
