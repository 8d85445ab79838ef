// Building and reading script archives: the stf_pack functions and the stftool program.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "authoring/stf_pack.h"
#include "engine/archive.h"
#include "engine/cp932.h"
#include "support/run_program.h"
#include "support/test_archive.h"

namespace corvan::test {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const std::string kStftool = std::string(CORVAN_TOOLS_DIR) + "/stftool";

// Runs stftool in `workDir`. A run that takes longer than 30 s is ended (exit code 124).
ProgramRun stftool(const fs::path& workDir, const std::vector<std::string>& args) {
    return runProgram(kStftool, workDir, args);
}

// The decoded bytes of chunk `name` of the archive `file`; fails the test when it is missing.
std::string chunkBytes(const fs::path& file, const std::string& name) {
    Archive archive;
    std::vector<std::uint8_t> buffer(Archive::kMaxChunkLength);
    std::string error = "cannot read " + file.string() + " or find chunk " + name;
    const int index = archive.loadDirectory(file) ? archive.findEntry(name) : -1;
    const int length = index < 0 ? -1 : archive.readChunk(index, buffer.data(), error);
    EXPECT_GE(length, 0) << error;
    return length < 0 ? "" : std::string(buffer.begin(), buffer.begin() + length);
}

std::string sjis(const std::string& utf8) {
    const auto bytes = utf8ToCp932(utf8);
    EXPECT_TRUE(bytes.has_value()) << utf8;
    return bytes.value_or("");
}

// --- Script text into lines ---

TEST(ScriptLines, GivenScriptText_ThenEveryLineEndsWithNul) {
    struct Case {
        const char* name;
        std::string text;
        bool convert;
        std::string lines;
    };
    const Case cases[] = {
        {"LF line ends", "a\nbc\n", false, std::string("a\0bc\0", 5)},
        {"CRLF line ends", "a\r\nbc\r\n", false, std::string("a\0bc\0", 5)},
        {"mixed line ends", "a\r\nb\nc\r\n", false, std::string("a\0b\0c\0", 6)},
        {"last line without line end", "a\nlast", false, std::string("a\0last\0", 7)},
        {"empty text", "", false, ""},
        {"blank lines kept", "\n\na\n\n", false, std::string("\0\0a\0\0", 5)},
        {"one blank CRLF line", "\r\n", false, std::string("\0", 1)},
        {"UTF-8 into code page 932", "あ\n*chain ｶﾅ\n", true,
         std::string("\x82\xA0\0*chain \xB6\xC5\0", 13)},
        // Not UTF-8 at all; with conversion off nothing is checked or changed.
        {"raw bytes as they are", "\x82\xA0\xFF\x80\n", false,
         std::string("\x82\xA0\xFF\x80\0", 5)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        EXPECT_EQ(scriptLinesFromText(c.text, c.convert, error), c.lines);
    }
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

// --- Archive layout ---

TEST(BuildArchive, GivenChunks_ThenDirectoryAddressesNegatedDataInOrder) {
    std::string error;
    const auto file = buildArchive({{"main", std::string("A\0\x01", 3)}, {"two", "xy"}}, error);
    ASSERT_TRUE(file.has_value()) << error;
    ASSERT_EQ(file->size(), 21000u + 3 + 2);
    const std::uint8_t* e0 = file->data();
    EXPECT_EQ(std::string(e0, e0 + 8), std::string("main\0\0\0\0", 8));
    // Offset 21000 = 0x005208, 24 bits low byte first; length 3.
    EXPECT_EQ(Bytes(e0 + 8, e0 + 11), (Bytes{0x08, 0x52, 0x00}));
    EXPECT_EQ(Bytes(e0 + 12, e0 + 14), (Bytes{3, 0}));
    const std::uint8_t* e1 = file->data() + 14;
    EXPECT_EQ(std::string(e1, e1 + 8), std::string("two\0\0\0\0\0", 8));
    EXPECT_EQ(e1[8] | e1[9] << 8 | e1[10] << 16, 21003);
    EXPECT_EQ(e1[12] | e1[13] << 8, 2);
    // Data negated: 'A' (0x41) -> 0xBF, NUL stays NUL, 0x01 -> 0xFF.
    EXPECT_EQ(Bytes(file->begin() + 21000, file->begin() + 21004),
              (Bytes{0xBF, 0x00, 0xFF, 0x100 - 'x'}));
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

// --- stftool ---

class Stftool : public ::testing::Test {
protected:
    fs::path work() const { return work_.path(); }
    ProgramRun run(const std::vector<std::string>& args) const { return stftool(work(), args); }
    // Writes `files` (name and text) into the folder src and packs that folder into `archive`.
    ProgramRun pack(const std::vector<std::pair<std::string, std::string>>& files,
                    const std::string& archive = "a.stf") const {
        for (const auto& [name, text] : files) writeText(work() / "src" / name, text);
        return run({"pack", archive, "src"});
    }
    TempDir work_;
};

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The run ended by itself, neither killed by a signal nor cut off as hung.
void expectNoCrash(const ProgramRun& run) {
    EXPECT_FALSE(run.signalled);
    EXPECT_NE(run.exitCode, 124) << "hung";
}

// The run failed without a crash and its error names every one of `words`.
void expectFails(const ProgramRun& run, std::initializer_list<std::string> words = {}) {
    EXPECT_FALSE(run.signalled);
    EXPECT_NE(run.exitCode, 0);
    for (const std::string& word : words) EXPECT_TRUE(has(run.err, word)) << run.err;
}

TEST_F(Stftool, GivenHelpOrNoOrUnknownCommand_ThenUsageIsPrinted) {
    const ProgramRun help = run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* command : {"pack", "list", "extract", "cat"}) {
        EXPECT_TRUE(has(help.out, command)) << command;
    }
    expectFails(run({}), {"usage"});
    expectFails(run({"frob", "x"}), {"frob"});
    expectFails(run({"cat", "only-one-argument"}));
}

TEST_F(Stftool, GivenJapaneseText_WhenPackedListedAndCat_ThenTextComesBackTheSame) {
    const std::string mainText = "こんにちは、世界。\n*chain next\n\n▼ ①\n";
    // Other extensions than .txt and .sjis are not packed.
    ProgramRun r =
        pack({{"main.txt", mainText}, {"next.txt", "第二章\n"}, {"notes.md", "not a chunk\n"}});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(chunkBytes(work() / "a.stf", "main"),
              sjis("こんにちは、世界。") + '\0' + "*chain next" + '\0' + '\0' + sjis("▼ ①") + '\0');

    r = run({"list", "a.stf"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(has(r.out, "main") && has(r.out, "next") && !has(r.out, "notes")) << r.out;

    r = run({"cat", "a.stf", "main"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, mainText);
    // Names are found without regard to letter case, as the game finds them.
    r = run({"cat", "a.stf", "NEXT"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "第二章\n");
}

TEST_F(Stftool, GivenCrlfOrSjisFiles_WhenPacked_ThenLinesEndWithNulOnly) {
    // Shift-JIS bytes that are no valid UTF-8, and a byte no character uses, taken as they are.
    const ProgramRun r = pack({{"main.txt", "一\r\n二\r\n\r\nend\r\n"},
                               {"raw.sjis", "\x82\xA0\x82\xA2\r\n\x81\xA5\xFD\n"}});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(chunkBytes(work() / "a.stf", "main"),
              sjis("一") + '\0' + sjis("二") + '\0' + '\0' + "end" + '\0');
    EXPECT_EQ(chunkBytes(work() / "a.stf", "raw"),
              std::string("\x82\xA0\x82\xA2\0\x81\xA5\xFD\0", 9));
}

TEST_F(Stftool, GivenNameOfNineBytes_WhenPacked_ThenRefusedNamingTheFile) {
    expectFails(pack({{"main.txt", "x\n"}, {"chapter10.txt", "y\n"}}), {"chapter10.txt"});
    EXPECT_FALSE(fs::exists(work() / "a.stf"));
}

TEST_F(Stftool, GivenNameOfEightBytes_WhenPacked_ThenItIsFoundByCat) {
    ASSERT_EQ(pack({{"chapter8.txt", "八\n"}}).exitCode, 0);
    const ProgramRun r = run({"cat", "a.stf", "chapter8"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "八\n");
}

TEST_F(Stftool, GivenMoreThanFifteenHundredFiles_WhenPacked_ThenRefused) {
    std::vector<std::pair<std::string, std::string>> files;
    for (int i = 0; i <= 1500; ++i) files.emplace_back("c" + std::to_string(i) + ".txt", "x\n");
    expectFails(pack(files), {"1500"});
    EXPECT_FALSE(fs::exists(work() / "a.stf"));

    // Exactly 1500 fit.
    fs::remove(work() / "src" / "c1500.txt");
    ProgramRun r = pack({});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = run({"cat", "a.stf", "c1499"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "x\n");
}

TEST_F(Stftool, GivenChunkOverThirtyTwoKibibytes_WhenPacked_ThenRefusedNamingTheFile) {
    // 128 lines of 254 letters and one of 127: 128 * 255 + 128 = 32768 bytes with the NULs.
    std::string text;
    for (int i = 0; i < 128; ++i) text += std::string(254, 'a') + "\n";
    const ProgramRun r = pack({{"fits.txt", text + std::string(127, 'b') + "\n"}});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(chunkBytes(work() / "a.stf", "fits").size(), 32768u);

    // One byte more.
    expectFails(pack({{"toolong.txt", text + std::string(128, 'b') + "\n"}}, "b.stf"),
                {"toolong.txt"});
    EXPECT_FALSE(fs::exists(work() / "b.stf"));
}

TEST_F(Stftool, GivenTextThatIsNotPlainUtf8_WhenPacked_ThenTheRealProblemIsNamedAtItsLine) {
    struct Case {
        const char* file;
        std::string text;
        std::initializer_list<std::string> words;
    };
    const Case cases[] = {
        {"smile.txt", "一行目\n二行目 😀\n", {"smile.txt, line 2", "😀", "no Shift-JIS"}},
        {"bom.txt", "\xEF\xBB\xBF一行目\n", {"bom.txt, line 1", "remove the BOM"}},
        {"sjis.txt",
         "ok\n" + sjis("一行目") + "\n",
         {"sjis.txt, line 2", "probably Shift-JIS", "iconv -f CP932 -t UTF-8", ".sjis"}},
        {"latin.txt", "caf\xE9\n\xFF\xFE\n", {"latin.txt, line 1", "not UTF-8"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        TempDir work;
        writeText(work.path() / "src" / "main.txt", "ok\n");
        writeText(work.path() / "src" / c.file, c.text);
        expectFails(stftool(work.path(), {"pack", "a.stf", "src"}), c.words);
        EXPECT_FALSE(fs::exists(work.path() / "a.stf"));
    }
}

TEST_F(Stftool, GivenPackedArchive_WhenExtractedAndPackedAgain_ThenArchiveIsIdentical) {
    ASSERT_EQ(pack({{"main.txt", "こんにちは\r\n*chain ch2\r\n"},
                    {"ch2.txt", "二章 ｶﾀｶﾅ\n\n▼\n"},
                    {"LOAD.sjis", "\x82\xA0\n"}})
                  .exitCode,
              0);
    ProgramRun r = run({"extract", "a.stf", "out"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(readText(work() / "out" / "main.sjis"), sjis("こんにちは") + "\n*chain ch2\n");
    EXPECT_EQ(readText(work() / "out" / "ch2.sjis"), sjis("二章 ｶﾀｶﾅ") + "\n\n" + sjis("▼") + "\n");
    EXPECT_EQ(readText(work() / "out" / "LOAD.sjis"), "\x82\xA0\n");

    r = run({"pack", "b.stf", "out"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(readBytes(work() / "b.stf"), readBytes(work() / "a.stf"));
}

TEST_F(Stftool, GivenArchiveCutShort_WhenListedAndCat_ThenMessageAndNoCrash) {
    struct Case {
        const char* name;
        std::uintmax_t size;
        bool directoryWhole;
    };
    for (const Case& c :
         {Case{"in its data", 21000 + 4, true}, Case{"in its directory", 100, false}}) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(pack({{"main.txt", "こんにちは\n二行目\n"}}).exitCode, 0);
        fs::resize_file(work() / "a.stf", c.size);
        const ProgramRun list = run({"list", "a.stf"});
        expectNoCrash(list);
        EXPECT_TRUE(!c.directoryWhole || has(list.out, "main")) << list.out;
        EXPECT_FALSE(list.err.empty()) << "no word about the missing data";
        const ProgramRun cat = run({"cat", "a.stf", "main"});
        expectFails(cat);
        EXPECT_TRUE(c.directoryWhole ? has(cat.err, "main") : !cat.err.empty()) << cat.err;
    }
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

    const ProgramRun list = run({"list", "junk.stf"});
    expectNoCrash(list);
    EXPECT_FALSE(list.err.empty()) << "no word about entries that lie past the end";
    expectFails(run({"cat", "junk.stf", "main"}), {"main"});
    expectNoCrash(run({"extract", "junk.stf", "out"}));
    // Whatever the names, nothing lands outside the folder asked for.
    for (const auto& item : fs::directory_iterator(work())) {
        const std::string name = item.path().filename().string();
        EXPECT_TRUE(name == "junk.stf" || name == "out") << name;
    }
}

TEST_F(Stftool, GivenMissingNameArchiveOrFolder_ThenFailsNamingIt) {
    ASSERT_EQ(pack({{"main.txt", "x\n"}}).exitCode, 0);
    const ProgramRun r = run({"cat", "a.stf", "nothere"});
    expectFails(r, {"nothere"});
    EXPECT_EQ(r.out, "");
    // A name that begins like an entry is still another name.
    expectFails(run({"cat", "a.stf", "mai"}));

    expectFails(run({"list", "absent.stf"}), {"absent.stf"});
    expectFails(run({"cat", "absent.stf", "main"}), {"absent.stf"});
    expectFails(run({"pack", "b.stf", "nosuchdir"}), {"nosuchdir"});
    EXPECT_FALSE(fs::exists(work() / "b.stf"));
}

}  // namespace
}  // namespace corvan::test
