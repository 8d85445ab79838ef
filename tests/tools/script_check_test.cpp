// The script checker on small games kept as data: each tests/data/script_check/*.case file holds
// the chunks, the files of the game folder and the exact report.

#include "authoring/script_check.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "headless/json_checker.h"
#include "support/run_program.h"
#include "support/test_archive.h"

namespace corvan::test {
namespace {

namespace fs = std::filesystem;

struct CheckCase {
    std::vector<ChunkSource> chunks;
    std::vector<std::string> files;
    std::string expected;
};

// Reads the sections "== chunk NAME", "== file PATH" and "== expect" of a case file; the text
// before the first section describes the case.
CheckCase readCase(const fs::path& file) {
    CheckCase c;
    std::istringstream in(readText(file));
    std::string line, section, name, body;
    auto finish = [&] {
        if (section == "chunk") c.chunks.push_back(chunk(name, body));
        if (section == "expect") c.expected = body;
        body.clear();
    };
    while (std::getline(in, line)) {
        if (line.rfind("== ", 0) == 0) {
            finish();
            std::istringstream words(line.substr(3));
            words >> section >> name;
            if (section == "file") c.files.push_back(name);
            continue;
        }
        if (!section.empty()) body += line + "\n";
    }
    finish();
    return c;
}

TEST(ScriptCheck, GivenEachCaseOfTheData_ThenTheReportIsExactlyTheExpectedOne) {
    const fs::path folder = fs::path(CORVAN_SOURCE_DIR) / "tests/data/script_check";
    int cases = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != ".case") continue;
        SCOPED_TRACE(entry.path().filename().string());
        ++cases;
        const CheckCase c = readCase(entry.path());
        TempDir game;
        for (const std::string& file : c.files) writeText(game.path() / file, "");
        ScriptCheckInput input;
        input.chunks = c.chunks;
        input.gameFolder = game.path();
        const std::vector<Finding> findings = checkScripts(input);
        EXPECT_EQ(formatFindings(findings), c.expected);
        EXPECT_EQ(hasErrors(findings), c.expected.find(": error: ") != std::string::npos);
    }
    EXPECT_GE(cases, 8);
}

// --- stftool check and pack ---

const std::string kStftool = std::string(CORVAN_TOOLS_DIR) + "/stftool";

TEST(StftoolCheck, GivenScriptFiles_ThenCheckNamesFileAndLineAndPackOnlyWarns) {
    TempDir work;
    writeText(work.path() / "src/main.txt", "一行目\n*go nowhere\n*chain two\n");
    writeText(work.path() / "src/two.txt", "[col 4]黄色\n");

    // The source folder: findings name the file and line; an error fails the check.
    ProgramRun run = runProgram(kStftool, work.path(), {"check", "src"});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(run.out,
              "src/main.txt:2: error: no label \"nowhere\" in the chunk: the jump falls through\n"
              "src/two.txt:1: warning: [col 4] comes before the frame opens, and the opening "
              "undoes it: open the page first with a line holding ▽\n");

    // Pack writes the archive and prints the same findings, and still succeeds.
    fs::create_directories(work.path() / "game");
    run = runProgram(kStftool, work.path(), {"pack", "game/mg_data.stf", "src"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("src/main.txt:2: error: no label"), std::string::npos) << run.err;

    // The game folder: findings name the chunk; --json is one object of the same findings.
    run = runProgram(kStftool, work.path(), {"check", "--json", "game"});
    EXPECT_EQ(run.exitCode, 1);
    std::string error;
    const auto json = JsonReader::parse(run.out, error);
    ASSERT_TRUE(json.has_value()) << error << "\n" << run.out;
    EXPECT_EQ((*json)["errors"].number, 1);
    EXPECT_EQ((*json)["warnings"].number, 1);
    const JsonValue& first = (*json)["findings"].items.at(0);
    EXPECT_EQ(first["chunk"].text, "main");
    EXPECT_EQ(first["line"].number, 2);
    EXPECT_EQ(first["severity"].text, "error");

    // A clean game passes.
    writeText(work.path() / "src/main.txt", "一行目\n*chain two\n");
    writeText(work.path() / "src/two.txt", "▽\n[col 4]黄色\n");
    run = runProgram(kStftool, work.path(), {"check", "src"});
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(run.out, "");
}

// A story of 300 chunks that makes one mistake in each: the report groups them, a screen and
// not 300 lines, and the JSON keeps every one.
TEST(StftoolCheck, GivenTheSameWarningAllOverALargeStory_ThenItIsGroupedIntoOneEntry) {
    std::vector<ChunkSource> chunks{chunk("main", "*go next\n:next\n*chain c1\n")};
    for (int k = 1; k <= 300; ++k) {
        const std::string next = k < 300 ? "*chain c" + std::to_string(k + 1) + "\n" : "";
        chunks.push_back(chunk("c" + std::to_string(k),
                               "*if V" + std::to_string(100 + k) + ">0 x\n:x\n頁▼\n" + next));
    }
    ScriptCheckInput input;
    input.chunks = chunks;
    const std::vector<Finding> findings = checkScripts(input);
    EXPECT_EQ(findings.size(), 300u);
    EXPECT_EQ(formatFindings(findings),
              "c1:1: warning: V101 is tested but no line sets it: it is always 0\n"
              "  ... and 299 more like it: c2:1 c3:1 c4:1 c5:1 c6:1 c7:1 c8:1 c9:1 ... (--json "
              "lists them all)\n");
}

TEST(StftoolCheck, GivenDamagedArchive_ThenEachLostPartIsAnError) {
    TempDir work;
    writeArchive(work.path() / "mg_data.stf", {chunk("main", "こんにちは\n"), chunk("two", "x\n")});
    fs::resize_file(work.path() / "mg_data.stf", 21000 + 5);
    const ProgramRun run = runProgram(kStftool, work.path(), {"check", "mg_data.stf"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("two: error: entry 1: chunk lies past the end of the archive"),
              std::string::npos)
        << run.out;
}

}  // namespace
}  // namespace corvan::test
