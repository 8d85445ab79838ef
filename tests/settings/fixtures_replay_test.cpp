// corvan-replay --config over the settings fixtures that the game and the updater read too
// (tests/shell/start_up_test.cpp, tests/updater/updater_test.cpp): the same save folder, game
// folder and speed factor from every file.

#include <gtest/gtest.h>

#include "headless/json_checker.h"
#include "support/run_program.h"
#include "support/settings_fixtures.h"
#include "support/test_archive.h"

namespace corvan::test {
namespace {

namespace fs = std::filesystem;

TEST(SettingsFixtures, GivenEachFixture_WhenReplayedWithIt_ThenFoldersAndSpeedAsTheFileSays) {
    for (const SettingsFixture& fixture : kSettingsFixtures) {
        SCOPED_TRACE(fixture.name);
        TempDir dir;
        const fs::path save = dir.path() / kFixtureSaveFolder;
        const fs::path game = dir.path() / "game";
        const fs::path elsewhere = dir.path() / "elsewhere";  // the command line's game folder
        fs::create_directories(save);
        fs::create_directories(elsewhere);
        writeArchive(game / "mg_data.stf", {chunk("main", "始まり\n▼\n")});
        writeText(dir.path() / "Brackwell.ini",
                  fixtureText(fixture.text, save.string(), game.string()));

        const ProgramRun run =
            runProgram(std::string(CORVAN_TOOLS_DIR) + "/corvan-replay", dir.path(),
                       {"--config", "Brackwell.ini", "--save", "fallback", "--state", "state.json",
                        elsewhere.string()},
                       {std::nullopt, {{"TMPDIR", dir.path().string()}}});
        ASSERT_EQ(run.exitCode, 0) << run.err;

        // Without the file's GameDir the game asks for the archive in the folder it was given.
        EXPECT_EQ(run.out.find("chunk main") != std::string::npos, fixture.installed) << run.out;
        EXPECT_EQ(fs::exists(save / "seen.cv"), fixture.installed);
        if (!fixture.installed) continue;
        std::string error;
        const auto state = JsonReader::parse(readText(dir.path() / "state.json"), error);
        ASSERT_TRUE(state) << error;
        EXPECT_EQ((*state)["speedFactor"].number, fixture.speedFactor);
    }
}

}  // namespace
}  // namespace corvan::test
