// Building and reading script archives: the stf_pack functions and the stftool program.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "engine/archive.h"
#include "engine/cp932.h"
#include "support/run_program.h"
#include "support/test_archive.h"
#include "tools/stf_pack.h"

namespace corvan::test {
namespace {

namespace fs = std::filesystem;

const std::string kStftool = std::string(CORVAN_TOOLS_DIR) + "/stftool";

// Runs stftool in `workDir`. A run that takes longer than 30 s is ended (exit code 124).
ProgramRun stftool(const fs::path& workDir, const std::vector<std::string>& args) {
    return runProgram(kStftool, workDir, args);
}

// The decoded bytes of chunk `name` of the archive `file`; fails the test when it is missing.
std::string chunkBytes(const fs::path& file, const std::string& name) {
    Archive archive;
    if (!archive.loadDirectory(file)) {
        ADD_FAILURE() << "cannot read " << file;
        return {};
    }
    const int index = archive.findEntry(name);
    if (index < 0) {
        ADD_FAILURE() << "no chunk " << name << " in " << file;
        return {};
    }
    std::vector<std::uint8_t> buffer(Archive::kMaxChunkLength);
    std::string error;
    const int length = archive.readChunk(index, buffer.data(), error);
    if (length < 0) {
        ADD_FAILURE() << error;
        return {};
    }
    return std::string(buffer.begin(), buffer.begin() + length);
}

std::string sjis(const std::string& utf8) {
    const auto bytes = utf8ToCp932(utf8);
    EXPECT_TRUE(bytes.has_value()) << utf8;
    return bytes.value_or("");
}

// ---------------------------------------------------------------------------------------------
// Script text into lines

TEST(ScriptLines, GivenLfAndCrlfLineEnds_ThenEveryLineEndsWithNul) {
    std::string error;
    EXPECT_EQ(scriptLinesFromText("a\nbc\n", false, error), std::string("a\0bc\0", 5));
    EXPECT_EQ(scriptLinesFromText("a\r\nbc\r\n", false, error), std::string("a\0bc\0", 5));
    EXPECT_EQ(scriptLinesFromText("a\r\nb\nc\r\n", false, error), std::string("a\0b\0c\0", 6));
}

TEST(ScriptLines, GivenLastLineWithoutLineEnd_ThenItIsStillEnded) {
    std::string error;
    EXPECT_EQ(scriptLinesFromText("a\nlast", false, error), std::string("a\0last\0", 7));
    EXPECT_EQ(scriptLinesFromText("", false, error), std::string());
}

TEST(ScriptLines, GivenBlankLines_ThenTheyAreKeptAsEmptyLines) {
    std::string error;
    EXPECT_EQ(scriptLinesFromText("\n\na\n\n", false, error), std::string("\0\0a\0\0", 5));
    EXPECT_EQ(scriptLinesFromText("\r\n", false, error), std::string("\0", 1));
}

TEST(ScriptLines, GivenUtf8Text_ThenItBecomesCodePage932) {
    std::string error;
    EXPECT_EQ(scriptLinesFromText("あ\n*chain ｶﾅ\n", true, error),
              std::string("\x82\xA0\0*chain \xB6\xC5\0", 13));
}

TEST(ScriptLines, GivenRawBytes_ThenTheyAreTakenAsTheyAre) {
    std::string error;
    // Not UTF-8 at all; with conversion off nothing is checked or changed.
    EXPECT_EQ(scriptLinesFromText("\x82\xA0\xFF\x80\n", false, error),
              std::string("\x82\xA0\xFF\x80\0", 5));
}

TEST(ScriptLines, GivenCharacterWithoutCodePageForm_ThenFailsNamingTheLine) {
    std::string error;
    EXPECT_FALSE(scriptLinesFromText("一\n二\n三 😀\n", true, error).has_value());
    EXPECT_EQ(error.rfind("line 3", 0), 0u) << error;
    EXPECT_FALSE(scriptLinesFromText("ok\r\n\xFF\r\n", true, error).has_value());
    EXPECT_EQ(error.rfind("line 2", 0), 0u) << error;
}

TEST(ScriptLines, GivenNulEndedLines_ThenTextHasLfLineEnds) {
    EXPECT_EQ(textFromScriptLines(std::string("a\0\0b\0", 5)), "a\n\nb\n");
    EXPECT_EQ(textFromScriptLines(std::string("\x82\xA0\0", 3)), "\x82\xA0\n");
    EXPECT_EQ(textFromScriptLines(""), "");
}

// ---------------------------------------------------------------------------------------------
// Archive layout

TEST(BuildArchive, GivenChunks_ThenDirectoryAddressesNegatedDataInOrder) {
    std::string error;
    const auto file = buildArchive({{"main", std::string("A\0\x01", 3)}, {"two", "xy"}}, error);
    ASSERT_TRUE(file.has_value()) << error;
    ASSERT_EQ(file->size(), 21000u + 3 + 2);
    const std::uint8_t* e0 = file->data();
    EXPECT_EQ(std::string(e0, e0 + 8), std::string("main\0\0\0\0", 8));
    // Offset 21000 = 0x005208, 24 bits low byte first; length 3.
    EXPECT_EQ(e0[8], 0x08);
    EXPECT_EQ(e0[9], 0x52);
    EXPECT_EQ(e0[10], 0x00);
    EXPECT_EQ(e0[12], 3);
    EXPECT_EQ(e0[13], 0);
    const std::uint8_t* e1 = file->data() + 14;
    EXPECT_EQ(std::string(e1, e1 + 8), std::string("two\0\0\0\0\0", 8));
    EXPECT_EQ(e1[8] | e1[9] << 8 | e1[10] << 16, 21003);
    EXPECT_EQ(e1[12] | e1[13] << 8, 2);
    // Data negated: 'A' (0x41) -> 0xBF, NUL stays NUL, 0x01 -> 0xFF.
    EXPECT_EQ((*file)[21000], 0xBF);
    EXPECT_EQ((*file)[21001], 0x00);
    EXPECT_EQ((*file)[21002], 0xFF);
    EXPECT_EQ((*file)[21003], static_cast<std::uint8_t>(0x100 - 'x'));
    // Every unused entry stays zero.
    for (std::size_t i = 28; i < 21000; ++i) ASSERT_EQ((*file)[i], 0) << i;
}

TEST(BuildArchive, GivenNameOfEightBytes_ThenItFillsTheFieldWithoutTerminator) {
    TempDir dir;
    writeArchive(dir.path() / "a.stf", {chunk("main", "x\n"), chunk("chapter8", "y\n")});
    const auto bytes = readBytes(dir.path() / "a.stf");
    EXPECT_EQ(std::string(bytes.begin() + 14, bytes.begin() + 22), "chapter8");
    Archive archive;
    ASSERT_TRUE(archive.loadDirectory(dir.path() / "a.stf"));
    EXPECT_EQ(archive.findEntry("chapter8"), 1);
    EXPECT_EQ(chunkBytes(dir.path() / "a.stf", "chapter8"), std::string("y\0", 2));
}

TEST(BuildArchive, GivenBadNames_ThenRefusedNamingTheChunk) {
    std::string error;
    EXPECT_FALSE(buildArchive({{"chapter10", "x"}}, error).has_value());
    EXPECT_NE(error.find("chapter10"), std::string::npos) << error;
    EXPECT_FALSE(buildArchive({{"", "x"}}, error).has_value());
}

TEST(BuildArchive, GivenChunkCountLimit_ThenFifteenHundredFitAndOneMoreIsRefused) {
    std::vector<ChunkSource> chunks;
    for (int i = 0; i < 1500; ++i)
        chunks.push_back({"c" + std::to_string(i), std::string(1, '\0')});
    std::string error;
    const auto full = buildArchive(chunks, error);
    ASSERT_TRUE(full.has_value()) << error;
    EXPECT_EQ(full->size(), 21000u + 1500);
    chunks.push_back({"extra", std::string(1, '\0')});
    EXPECT_FALSE(buildArchive(chunks, error).has_value());
    EXPECT_NE(error.find("1500"), std::string::npos) << error;
}

TEST(BuildArchive, GivenChunkSizeLimit_ThenThirtyTwoKibibytesFitAndOneMoreByteIsRefused) {
    std::string error;
    const auto full = buildArchive({{"big", std::string(32768, 'a')}}, error);
    ASSERT_TRUE(full.has_value()) << error;
    // 32768 needs the length field's top bit.
    EXPECT_EQ((*full)[12] | (*full)[13] << 8, 32768);
    EXPECT_FALSE(buildArchive({{"big", std::string(32769, 'a')}}, error).has_value());
    EXPECT_NE(error.find("big"), std::string::npos) << error;
}

// ---------------------------------------------------------------------------------------------
// stftool

class Stftool : public ::testing::Test {
protected:
    fs::path work() const { return work_.path(); }
    fs::path src() const { return work_.path() / "src"; }
    TempDir work_;
};

TEST_F(Stftool, GivenHelp_ThenPrintsUsageAndExitsZero) {
    const ProgramRun run = stftool(work(), {"--help"});
    EXPECT_EQ(run.exitCode, 0);
    for (const char* command : {"pack", "list", "extract", "cat"}) {
        EXPECT_NE(run.out.find(command), std::string::npos) << command;
    }
}

TEST_F(Stftool, GivenNoOrUnknownCommand_ThenFailsWithUsage) {
    ProgramRun run = stftool(work(), {});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("usage"), std::string::npos) << run.err;
    run = stftool(work(), {"frob", "x"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("frob"), std::string::npos) << run.err;
    run = stftool(work(), {"cat", "only-one-argument"});
    EXPECT_NE(run.exitCode, 0);
}

TEST_F(Stftool, GivenJapaneseText_WhenPackedListedAndCat_ThenTextComesBackTheSame) {
    const std::string mainText = "こんにちは、世界。\n*chain next\n\n▼ ①\n";
    writeText(src() / "main.txt", mainText);
    writeText(src() / "next.txt", "第二章\n");
    writeText(src() / "notes.md", "not a chunk\n");  // other extensions are not packed
    ProgramRun run = stftool(work(), {"pack", "a.stf", "src"});
    ASSERT_EQ(run.exitCode, 0) << run.err;

    EXPECT_EQ(chunkBytes(work() / "a.stf", "main"),
              sjis("こんにちは、世界。") + '\0' + "*chain next" + '\0' + '\0' + sjis("▼ ①") + '\0');

    run = stftool(work(), {"list", "a.stf"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("main"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("next"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("notes"), std::string::npos) << run.out;

    run = stftool(work(), {"cat", "a.stf", "main"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, mainText);
    // Names are found without regard to letter case, as the game finds them.
    run = stftool(work(), {"cat", "a.stf", "NEXT"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "第二章\n");
}

TEST_F(Stftool, GivenCrlfLineEnds_WhenPacked_ThenLinesEndWithNulOnly) {
    writeText(src() / "main.txt", "一\r\n二\r\n\r\nend\r\n");
    ASSERT_EQ(stftool(work(), {"pack", "a.stf", "src"}).exitCode, 0);
    EXPECT_EQ(chunkBytes(work() / "a.stf", "main"),
              sjis("一") + '\0' + sjis("二") + '\0' + '\0' + "end" + '\0');
}

TEST_F(Stftool, GivenSjisFile_WhenPacked_ThenItsBytesAreTakenAsTheyAre) {
    // Shift-JIS bytes that are no valid UTF-8, and a byte no character uses.
    writeText(src() / "main.sjis", "\x82\xA0\x82\xA2\r\n\x81\xA5\xFD\n");
    const ProgramRun run = stftool(work(), {"pack", "a.stf", "src"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(chunkBytes(work() / "a.stf", "main"),
              std::string("\x82\xA0\x82\xA2\0\x81\xA5\xFD\0", 9));
}

TEST_F(Stftool, GivenNameOfNineBytes_WhenPacked_ThenRefusedNamingTheFile) {
    writeText(src() / "main.txt", "x\n");
    writeText(src() / "chapter10.txt", "y\n");
    const ProgramRun run = stftool(work(), {"pack", "a.stf", "src"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_FALSE(run.signalled);
    EXPECT_NE(run.err.find("chapter10.txt"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(work() / "a.stf"));
}

TEST_F(Stftool, GivenNameOfEightBytes_WhenPacked_ThenItIsFoundByCat) {
    writeText(src() / "chapter8.txt", "八\n");
    ASSERT_EQ(stftool(work(), {"pack", "a.stf", "src"}).exitCode, 0);
    const ProgramRun run = stftool(work(), {"cat", "a.stf", "chapter8"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "八\n");
}

TEST_F(Stftool, GivenMoreThanFifteenHundredFiles_WhenPacked_ThenRefused) {
    for (int i = 0; i <= 1500; ++i) writeText(src() / ("c" + std::to_string(i) + ".txt"), "x\n");
    ProgramRun run = stftool(work(), {"pack", "a.stf", "src"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_FALSE(run.signalled);
    EXPECT_NE(run.err.find("1500"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(work() / "a.stf"));

    // Exactly 1500 fit.
    fs::remove(src() / "c1500.txt");
    run = stftool(work(), {"pack", "a.stf", "src"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    run = stftool(work(), {"cat", "a.stf", "c1499"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "x\n");
}

TEST_F(Stftool, GivenChunkOverThirtyTwoKibibytes_WhenPacked_ThenRefusedNamingTheFile) {
    // 128 lines of 254 letters and one of 127: 128 * 255 + 128 = 32768 bytes with the NULs.
    std::string text;
    for (int i = 0; i < 128; ++i) text += std::string(254, 'a') + "\n";
    writeText(src() / "fits.txt", text + std::string(127, 'b') + "\n");
    ProgramRun run = stftool(work(), {"pack", "a.stf", "src"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(chunkBytes(work() / "a.stf", "fits").size(), 32768u);

    writeText(src() / "toolong.txt", text + std::string(128, 'b') + "\n");  // one byte more
    run = stftool(work(), {"pack", "b.stf", "src"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("toolong.txt"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(work() / "b.stf"));
}

TEST_F(Stftool, GivenCharacterWithoutCodePageForm_WhenPacked_ThenRefusedNamingFileAndLine) {
    writeText(src() / "main.txt", "ok\n");
    writeText(src() / "smile.txt", "一行目\n二行目 😀\n");
    const ProgramRun run = stftool(work(), {"pack", "a.stf", "src"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("smile.txt"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("line 2"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(work() / "a.stf"));
}

TEST_F(Stftool, GivenPackedArchive_WhenExtractedAndPackedAgain_ThenArchiveIsIdentical) {
    writeText(src() / "main.txt", "こんにちは\r\n*chain ch2\r\n");
    writeText(src() / "ch2.txt", "二章 ｶﾀｶﾅ\n\n▼\n");
    writeText(src() / "LOAD.sjis", "\x82\xA0\n");
    ASSERT_EQ(stftool(work(), {"pack", "a.stf", "src"}).exitCode, 0);

    ProgramRun run = stftool(work(), {"extract", "a.stf", "out"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(readText(work() / "out" / "main.sjis"), sjis("こんにちは") + "\n*chain ch2\n");
    EXPECT_EQ(readText(work() / "out" / "ch2.sjis"), sjis("二章 ｶﾀｶﾅ") + "\n\n" + sjis("▼") + "\n");
    EXPECT_EQ(readText(work() / "out" / "LOAD.sjis"), "\x82\xA0\n");

    run = stftool(work(), {"pack", "b.stf", "out"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(readBytes(work() / "b.stf"), readBytes(work() / "a.stf"));
}

TEST_F(Stftool, GivenArchiveCutShortInItsData_WhenListedAndCat_ThenMessageAndNoCrash) {
    writeText(src() / "main.txt", "こんにちは\n二行目\n");
    ASSERT_EQ(stftool(work(), {"pack", "a.stf", "src"}).exitCode, 0);
    fs::resize_file(work() / "a.stf", 21000 + 4);

    ProgramRun run = stftool(work(), {"list", "a.stf"});
    EXPECT_FALSE(run.signalled);
    EXPECT_NE(run.exitCode, 124) << "hung";
    EXPECT_NE(run.out.find("main"), std::string::npos) << run.out;  // the directory is whole
    EXPECT_FALSE(run.err.empty()) << "no word about the missing data";

    run = stftool(work(), {"cat", "a.stf", "main"});
    EXPECT_FALSE(run.signalled);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("main"), std::string::npos) << run.err;
}

TEST_F(Stftool, GivenArchiveCutShortInItsDirectory_WhenListedAndCat_ThenMessageAndNoCrash) {
    writeText(src() / "main.txt", "x\n");
    ASSERT_EQ(stftool(work(), {"pack", "a.stf", "src"}).exitCode, 0);
    fs::resize_file(work() / "a.stf", 100);

    ProgramRun run = stftool(work(), {"list", "a.stf"});
    EXPECT_FALSE(run.signalled);
    EXPECT_NE(run.exitCode, 124) << "hung";
    EXPECT_FALSE(run.err.empty()) << "no word about the short file";

    run = stftool(work(), {"cat", "a.stf", "main"});
    EXPECT_FALSE(run.signalled);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_FALSE(run.err.empty());
}

TEST_F(Stftool, GivenGarbageFile_WhenListedCatAndExtracted_ThenMessageAndNoCrash) {
    // Bytes of a fixed pseudo-random sequence, directory and data alike.
    std::vector<std::uint8_t> garbage(30000);
    std::uint32_t state = 12345;
    for (auto& b : garbage) {
        state = state * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>(state >> 16);
    }
    // One entry named "main" whose data lies far past the end of the file.
    const std::uint8_t entry[14] = {'m', 'a', 'i', 'n', 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0x10, 0};
    std::copy(std::begin(entry), std::end(entry), garbage.begin());
    writeBytes(work() / "junk.stf", garbage);

    ProgramRun run = stftool(work(), {"list", "junk.stf"});
    EXPECT_FALSE(run.signalled);
    EXPECT_NE(run.exitCode, 124) << "hung";
    EXPECT_FALSE(run.err.empty()) << "no word about entries that lie past the end";

    run = stftool(work(), {"cat", "junk.stf", "main"});
    EXPECT_FALSE(run.signalled);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("main"), std::string::npos) << run.err;

    run = stftool(work(), {"extract", "junk.stf", "out"});
    EXPECT_FALSE(run.signalled);
    EXPECT_NE(run.exitCode, 124) << "hung";
    // Whatever the names, nothing lands outside the folder asked for.
    for (const auto& item : fs::directory_iterator(work())) {
        const std::string name = item.path().filename().string();
        EXPECT_TRUE(name == "junk.stf" || name == "out") << name;
    }
}

TEST_F(Stftool, GivenMissingName_WhenCat_ThenFailsNamingIt) {
    writeText(src() / "main.txt", "x\n");
    ASSERT_EQ(stftool(work(), {"pack", "a.stf", "src"}).exitCode, 0);
    ProgramRun run = stftool(work(), {"cat", "a.stf", "nothere"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("nothere"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");

    // A name that begins like an entry is still another name.
    run = stftool(work(), {"cat", "a.stf", "mai"});
    EXPECT_NE(run.exitCode, 0);
}

TEST_F(Stftool, GivenMissingArchive_WhenListedOrCat_ThenFailsNamingIt) {
    ProgramRun run = stftool(work(), {"list", "absent.stf"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("absent.stf"), std::string::npos) << run.err;
    run = stftool(work(), {"cat", "absent.stf", "main"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("absent.stf"), std::string::npos) << run.err;
}

TEST_F(Stftool, GivenPackSourceThatIsNoFolder_ThenFailsNamingIt) {
    const ProgramRun run = stftool(work(), {"pack", "a.stf", "nosuchdir"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("nosuchdir"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(work() / "a.stf"));
}

}  // namespace
}  // namespace corvan::test
