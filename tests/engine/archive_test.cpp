#include "engine/archive.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "support/test_game.h"

namespace corvan::test {
namespace {

// One directory entry as it lies in the file, written by hand so that these tests do not lean
// on the archive builder they are meant to check against.
struct RawEntry {
    std::string name;  // at most 8 bytes, NUL-padded in the file
    std::uint32_t offset = 0;
    std::uint16_t length = 0;
    std::uint8_t unusedByte = 0;  // byte 11 of the entry
};

void putEntry(std::vector<std::uint8_t>& file, int index, const RawEntry& e) {
    std::uint8_t* p = file.data() + index * Archive::kEntrySize;
    for (std::size_t k = 0; k < 8; ++k) {
        p[k] = k < e.name.size() ? static_cast<std::uint8_t>(e.name[k]) : 0;
    }
    p[8] = static_cast<std::uint8_t>(e.offset);
    p[9] = static_cast<std::uint8_t>(e.offset >> 8);
    p[10] = static_cast<std::uint8_t>(e.offset >> 16);
    p[11] = e.unusedByte;
    p[12] = static_cast<std::uint8_t>(e.length);
    p[13] = static_cast<std::uint8_t>(e.length >> 8);
}

std::vector<std::uint8_t> directoryOf(const std::vector<RawEntry>& entries) {
    std::vector<std::uint8_t> file(Archive::kDirectorySize, 0);
    for (std::size_t i = 0; i < entries.size(); ++i)
        putEntry(file, static_cast<int>(i), entries[i]);
    return file;
}

Archive archiveWithNames(const std::vector<std::string>& names) {
    std::vector<RawEntry> entries;
    for (const std::string& n : names) entries.push_back({n, 0, 0});
    Archive archive;
    archive.setDirectory(directoryOf(entries));
    return archive;
}

std::vector<std::uint8_t> builtArchive(const std::vector<ChunkSource>& chunks) {
    std::string error;
    auto bytes = buildArchive(chunks, error);
    EXPECT_TRUE(bytes) << error;
    return bytes.value_or(std::vector<std::uint8_t>{});
}

void setEntryLength(std::vector<std::uint8_t>& file, int index, std::uint16_t length) {
    file[index * Archive::kEntrySize + 12] = static_cast<std::uint8_t>(length);
    file[index * Archive::kEntrySize + 13] = static_cast<std::uint8_t>(length >> 8);
}

void setEntryOffset(std::vector<std::uint8_t>& file, int index, std::uint32_t offset) {
    file[index * Archive::kEntrySize + 8] = static_cast<std::uint8_t>(offset);
    file[index * Archive::kEntrySize + 9] = static_cast<std::uint8_t>(offset >> 8);
    file[index * Archive::kEntrySize + 10] = static_cast<std::uint8_t>(offset >> 16);
}

std::string bufferText(const Game& g) {
    return std::string(reinterpret_cast<const char*>(g.scriptBuffer.data()),
                       static_cast<std::size_t>(g.scriptLength));
}

// Checks the index that each request finds in an archive whose entries carry `names`.
void expectFound(const std::vector<std::string>& names,
                 std::initializer_list<std::pair<std::string, int>> requests) {
    const Archive archive = archiveWithNames(names);
    for (const auto& [request, index] : requests)
        EXPECT_EQ(archive.findEntry(request), index) << request;
}

TEST(ArchiveNames, GivenEntryNames_WhenRequested_ThenOnlyTheWholeNameMatchesFoldingAsciiLetters) {
    // Eight bytes are found by eight bytes, not by more.
    expectFound({"other", "abcdefgh"}, {{"abcdefgh", 1}, {"abcdefghi", -1}, {"ABCDEFGH", 1}});
    // A request that begins an entry name, or is longer or shorter than it, does not match.
    expectFound({"mainplus", "chap10"}, {{"main", -1}, {"chap1", -1}, {"chap10", 1}});
    expectFound({"main"}, {{"main2", -1}, {"mai", -1}, {"main", 0}});
    expectFound({"MaIn", "save"}, {{"main", 0}, {"MAIN", 0}, {"SAVE", 1}, {"Save", 1}});
    // Trailing blanks count.
    expectFound({"main", "chap "}, {{"main ", -1}, {"chap", -1}, {"chap ", 1}});
    // Duplicates: the lower index wins.
    expectFound({"a", "dup", "b", "DUP", "dup"}, {{"dup", 1}, {"Dup", 1}});
}

TEST(ArchiveNames, GivenBytesOtherThanAsciiLetters_WhenComparing_ThenTheyAreNotFolded) {
    // '@' and '`', '[' and '{' differ by the same bit as 'A' and 'a'; so do 0xC0 and 0xE0.
    expectFound({"@x", "[y", "\xC0z", "\x82\xA0"}, {{"`x", -1}, {"@X", 0}, {"{y", -1}, {"[Y", 1}});
    expectFound({"@x", "[y", "\xC0z", "\x82\xA0"},
                {{"\xE0z", -1}, {"\xC0Z", 2}, {"\x82\xA0", 3}, {"\x82\x80", -1}});
}

TEST(ArchiveNames, GivenANameInTheLastEntry_WhenSearching_ThenItIsFound) {
    std::vector<std::uint8_t> file(Archive::kDirectorySize, 0);
    putEntry(file, Archive::kEntryCount - 1, {"last", 21000, 3});
    Archive archive;
    archive.setDirectory(file);
    EXPECT_EQ(archive.findEntry("last"), Archive::kEntryCount - 1);
}

TEST(ArchiveNames, GivenDuplicateChunks_WhenTheGameChainsToThem_ThenTheFirstLoads) {
    TestGame t({chunk("main", "*chain dup\n"), chunk("dup", "first\n"), chunk("dup", "second\n")});
    t.start();
    t.player().run();
    EXPECT_EQ(t.textLines(), std::vector<std::string>{"first"});
}

TEST(ArchiveDirectory, GivenAnEntry_WhenRead_ThenFieldsAreLittleEndianAndByte11IsIgnored) {
    Archive archive;
    archive.setDirectory(directoryOf({{"x", 0x123456, 0xBEEF, 0xAA}}));
    const ArchiveEntry e = archive.entry(0);
    EXPECT_EQ(e.nameView(), "x");
    EXPECT_EQ(e.offset, 0x123456u);
    EXPECT_EQ(e.length, 0xBEEF);
}

TEST(ArchiveChunks, GivenNegatedStoredBytes_WhenTheChunkIsRead_ThenTheyAreDecoded) {
    TempDir dir;
    std::vector<std::uint8_t> file = directoryOf({{"c", 21000, 6, 0x7F}});
    // 'h' 'a' NUL 0xFF 0x80 0x01, each stored as (256 - b) mod 256.
    const std::vector<std::uint8_t> stored = {0x98, 0x9F, 0x00, 0x01, 0x80, 0xFF};
    file.insert(file.end(), stored.begin(), stored.end());
    writeBytes(dir.path() / "mg_data.stf", file);
    Archive archive;
    ASSERT_TRUE(archive.loadDirectory(dir.path() / "mg_data.stf"));
    std::vector<std::uint8_t> buffer(Archive::kMaxChunkLength, 0xEE);
    std::string error;
    ASSERT_EQ(archive.readChunk(0, buffer.data(), error), 6) << error;
    EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + 6),
              (std::vector<std::uint8_t>{'h', 'a', 0x00, 0xFF, 0x80, 0x01}));
}

TEST(ArchiveChunks, GivenAChunkOfLengthZero_WhenLoadedAndStepped_ThenTheInterpreterStops) {
    TestGame t({rawChunk("main", "")});
    Game& g = t.start();
    EXPECT_TRUE(g.scriptRunning);
    EXPECT_EQ(g.scriptLength, 0);
    t.step();
    EXPECT_FALSE(g.scriptRunning);
    EXPECT_TRUE(t.textLines().empty());
}

TEST(ArchiveChunks, GivenAChunkOf32768Bytes_WhenLoaded_ThenItFillsTheBuffer) {
    std::string big(Archive::kMaxChunkLength - 1, 'x');
    big.push_back('\0');
    TestGame t({chunk("main", "a\n"), rawChunk("big", big)});
    Game& g = t.start();
    ASSERT_TRUE(g.LoadChunk("big"));
    EXPECT_EQ(g.scriptLength, Archive::kMaxChunkLength);
    EXPECT_EQ(g.scriptBuffer[Archive::kMaxChunkLength - 2], 'x');
    EXPECT_EQ(g.scriptBuffer[Archive::kMaxChunkLength - 1], 0);
}

TEST(LoadChunk, GivenABusyGame_WhenAMissingThenAFoundChunkLoads_ThenOnlyTheRunStateRestarts) {
    TestGame t({chunk("main", "a\nb\n"), chunk("next", "n\n")});
    Game& g = t.start();
    g.scriptPos = 2;
    g.fetchLine = g.scriptRunning = false;
    g.waitKind = WaitKind::Page;
    g.menuKind = MenuKind::Slots;
    g.caseState = CaseState::InBranch;
    g.inCall = g.inMessage = g.frameOpen = true;
    g.textDelay = 7;
    g.vars.SetFlag(12);
    g.vars.setV(3, 33);
    g.vars.setS(4, 44);
    g.vars.setE(5, 55);
    // A missing name changes nothing.
    EXPECT_FALSE(g.LoadChunk("nothere"));
    EXPECT_FALSE(g.LoadChunk("main_and_more"));
    EXPECT_EQ(g.scriptPos, 2);
    EXPECT_EQ(g.waitKind, WaitKind::Page);
    EXPECT_EQ(g.menuKind, MenuKind::Slots);
    EXPECT_EQ(g.caseState, CaseState::InBranch);
    EXPECT_FALSE(g.scriptRunning);
    EXPECT_EQ(bufferText(g), std::string("a\0b\0", 4));
    // A found one restarts the interpreter clean, in any case of its name.
    ASSERT_TRUE(g.LoadChunk("NEXT"));
    EXPECT_EQ(g.scriptPos, 0);
    EXPECT_TRUE(g.fetchLine);
    EXPECT_TRUE(g.scriptRunning);
    EXPECT_EQ(g.waitKind, WaitKind::None);
    EXPECT_EQ(g.menuKind, MenuKind::None);
    EXPECT_EQ(g.caseState, CaseState::None);
    EXPECT_EQ(bufferText(g), std::string("n\0", 2));
    // The call, the message, the frame, the speed and the variables are kept.
    EXPECT_TRUE(g.inCall);
    EXPECT_TRUE(g.inMessage);
    EXPECT_TRUE(g.frameOpen);
    EXPECT_EQ(g.textDelay, 7);
    EXPECT_TRUE(g.vars.TestFlag(12));
    EXPECT_EQ(g.vars.v(3), 33);
    EXPECT_EQ(g.vars.s(4), 44);
    EXPECT_EQ(g.vars.e(5), 55);
}

// Starts a game on `file` (written over the archive TestGame made) and checks that loading
// "bad" fails without touching the running chunk "main".
void expectBadChunkLeavesMainRunning(const std::vector<std::uint8_t>& file) {
    TestGame t({chunk("main", "")});
    writeBytes(t.gameDir() / "mg_data.stf", file);
    Game& g = t.start();
    ASSERT_EQ(g.lastChunk, "main");
    const std::string before = bufferText(g);
    g.scriptPos = 2;
    g.waitKind = WaitKind::Page;
    EXPECT_FALSE(g.LoadChunk("bad"));
    EXPECT_EQ(g.lastChunk, "main");
    EXPECT_EQ(bufferText(g), before);
    EXPECT_EQ(g.scriptPos, 2);
    EXPECT_EQ(g.waitKind, WaitKind::Page);
    EXPECT_TRUE(g.scriptRunning);
}

TEST(DamagedArchive, GivenAnEntryPastTheFileEndOrOver32768Bytes_WhenLoading_ThenMainStays) {
    const std::vector<ChunkSource> chunks = {chunk("main", "m1\nm2\n"), chunk("bad", "b\n")};
    {
        SCOPED_TRACE("offset past the end");
        auto file = builtArchive(chunks);
        setEntryOffset(file, 1, static_cast<std::uint32_t>(file.size() + 100));
        expectBadChunkLeavesMainRunning(file);
    }
    {
        SCOPED_TRACE("one byte past the end");
        auto file = builtArchive(chunks);
        setEntryLength(file, 1, 3);  // the chunk "b\0" is the file's last two bytes
        expectBadChunkLeavesMainRunning(file);
    }
    {
        SCOPED_TRACE("over 32768 bytes");
        auto file = builtArchive(chunks);
        file.resize(file.size() + 40000, 0);
        setEntryLength(file, 1, Archive::kMaxChunkLength + 1);
        expectBadChunkLeavesMainRunning(file);
    }
}

TEST(DamagedArchive, GivenTheArchiveRemovedAfterStartUp_WhenLoading_ThenFalseAndMainRunsOn) {
    TestGame t({chunk("main", "m1\nm2\n"), chunk("next", "n\n")});
    Game& g = t.start();
    const std::string before = bufferText(g);
    std::filesystem::remove(t.gameDir() / "mg_data.stf");
    EXPECT_FALSE(g.LoadChunk("next"));
    EXPECT_EQ(g.lastChunk, "main");
    EXPECT_EQ(bufferText(g), before);
    t.player().run();
    EXPECT_EQ(t.textLines(), (std::vector<std::string>{"m1", "m2"}));
}

TEST(DamagedArchive, GivenAFileShorterThanTheDirectory_WhenRead_ThenEntriesKeptButDataMissing) {
    TempDir dir;
    std::vector<std::uint8_t> file = directoryOf({{"main", 21000, 4}, {"tiny", 14, 4}});
    file.resize(2 * Archive::kEntrySize);
    writeBytes(dir.path() / "mg_data.stf", file);
    Archive archive;
    ASSERT_TRUE(archive.loadDirectory(dir.path() / "mg_data.stf"));
    EXPECT_EQ(archive.findEntry("main"), 0);
    EXPECT_EQ(archive.findEntry("tiny"), 1);
    EXPECT_EQ(archive.entry(2).nameView(), "");
    std::vector<std::uint8_t> buffer(Archive::kMaxChunkLength);
    std::string error;
    EXPECT_EQ(archive.readChunk(0, buffer.data(), error), -1);
    EXPECT_FALSE(error.empty());
}

TEST(DamagedArchive, GivenAFileShorterThanTheDirectory_WhenTheGameStarts_ThenNothingRuns) {
    TestGame t({chunk("main", "m\n")});
    std::vector<std::uint8_t> file = directoryOf({{"main", 21000, 2}});
    file.resize(100);
    writeBytes(t.gameDir() / "mg_data.stf", file);
    Game& g = t.start();
    t.player().run();
    EXPECT_FALSE(g.scriptRunning);
    EXPECT_EQ(g.scriptLength, 0);
    EXPECT_TRUE(t.textLines().empty());
}

}  // namespace
}  // namespace corvan::test
