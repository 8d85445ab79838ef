// Save files (8256 bytes) and the seen record (768 bytes): layouts, odd sizes, flag 999 and the
// cleared mark, the record's merge by OR and reset, writes through links and leftovers, and
// writes that fail harmlessly.

#include "ui/saves.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/setting_names.h"
#include "support/file_size_limit.h"
#include "support/test_game.h"

namespace corvan::test {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

// A story that stops on its first page, and the chunks a save and a load start.
std::vector<ChunkSource> story() {
    return {chunk("main", "*gra S246,0\nfirst▼\n"), chunk("SAVE", "saved▼\n"),
            chunk("LOAD", "loaded▼\n")};
}

void putLE(Bytes& bytes, std::size_t offset, std::uint32_t value) {
    for (int k = 0; k < 4; ++k) bytes[offset + k] = static_cast<std::uint8_t>(value >> (8 * k));
}

std::uint32_t getLE(const Bytes& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (int k = 0; k < 4; ++k) value |= static_cast<std::uint32_t>(bytes[offset + k]) << (8 * k);
    return value;
}

// A save file written by hand: flag byte i is i ^ 0x5A, V i is 1000 + i (V3 negative), S i is
// -(i + 1) (S998 the largest number).
Bytes handWrittenSave() {
    Bytes bytes(8256, 0);
    for (std::size_t i = 0; i < 256; ++i) bytes[i] = static_cast<std::uint8_t>(i ^ 0x5A);
    for (std::uint32_t i = 0; i < 1000; ++i) putLE(bytes, 256 + 4 * i, 1000 + i);
    putLE(bytes, 256 + 4 * 3, static_cast<std::uint32_t>(-123456789));
    for (std::uint32_t i = 0; i < 1000; ++i) {
        putLE(bytes, 4256 + 4 * i, static_cast<std::uint32_t>(-static_cast<std::int32_t>(i) - 1));
    }
    putLE(bytes, 4256 + 4 * 998, 0x7FFFFFFF);
    return bytes;
}

// Fills every variable with a pattern unlike the hand-written file's.
void fillVariables(Game& g) {
    for (std::size_t i = 0; i < 256; ++i) g.vars.flagBytes()[i] = 0xEE;
    g.vars.values().fill(77);
    g.vars.systemValues().fill(-77);
}

TEST(SaveFileLayout, GivenVariables_WhenEncoded_ThenFlagsThenVThenSAsLittleEndianIn8256Bytes) {
    Variables vars;
    vars.SetFlag(0);
    vars.SetFlag(1023);
    vars.flagBytes()[255] = 0x42;  // past the last flag, and saved all the same
    vars.setV(0, 0x01020304);
    vars.setV(999, -2);
    vars.setS(0, -1);
    vars.setS(999, 0x7FFFFFFF);
    const std::string text = saves::encodeSaveFile(vars);
    const Bytes bytes(text.begin(), text.end());
    Bytes expected(8256, 0);  // every byte not set here is zero
    expected[0] = 0x01;
    expected[127] = 0x80;
    expected[255] = 0x42;
    putLE(expected, 256, 0x01020304);
    putLE(expected, 256 + 4 * 999, 0xFFFFFFFE);
    putLE(expected, 4256, 0xFFFFFFFF);
    putLE(expected, 4256 + 4 * 999, 0x7FFFFFFF);
    EXPECT_EQ(bytes, expected);
}

TEST(SaveFileLayout, GivenAFileWrittenByHand_WhenLoadedAndSaved_ThenItsBytesAndVariablesMatch) {
    TestGame t(story());
    Game& g = t.start();
    const Bytes expected = handWrittenSave();
    saves::decodeSaveFile(expected, g.vars);
    const Variables saved = g.vars;
    ASSERT_TRUE(g.SaveSlot(3));
    EXPECT_EQ(readBytes(t.saveDir() / "save3.cv"), expected);
    EXPECT_EQ(namesIn(t.saveDir()), (Lines{"save3.cv", "seen.cv"}));
    writeBytes(t.saveDir() / "save7.cv", expected);
    fillVariables(g);
    ASSERT_TRUE(g.LoadSlot(7));
    for (std::size_t i = 0; i < 256; ++i) {
        ASSERT_EQ(g.vars.flagBytes()[i], static_cast<std::uint8_t>(i ^ 0x5A)) << "flag byte " << i;
    }
    EXPECT_TRUE(g.vars.TestFlag(1));  // byte 0 is 0x5A: bits 1, 3, 4 and 6
    EXPECT_FALSE(g.vars.TestFlag(0));
    EXPECT_EQ(g.vars.v(0), 1000);
    EXPECT_EQ(g.vars.v(3), -123456789);
    EXPECT_EQ(g.vars.v(999), 1999);
    EXPECT_EQ(g.vars.s(0), -1);
    EXPECT_EQ(g.vars.s(998), 0x7FFFFFFF);
    EXPECT_EQ(g.vars.s(999), -1000);
    EXPECT_EQ(g.vars.flagBytes(), saved.flagBytes());
    EXPECT_EQ(g.vars.values(), saved.values());
    EXPECT_EQ(g.vars.systemValues(), saved.systemValues());
    ASSERT_TRUE(g.SaveSlot(2));  // and saved again, byte for byte the same
    EXPECT_EQ(readBytes(t.saveDir() / "save2.cv"), expected);
}

// Loads slot 4 from the hand-written file cut or padded to `size` bytes, over filled variables.
void loadResized(TestGame& t, Game& g, std::size_t size) {
    Bytes bytes = handWrittenSave();
    bytes.resize(size, 0x33);
    writeBytes(t.saveDir() / "save4.cv", bytes);
    fillVariables(g);
    ASSERT_TRUE(g.LoadSlot(4));
}

TEST(SaveFileSize, GivenAShortOrLongFile_WhenLoaded_ThenOnlyTheBytesItHoldsUpTo8256AreTaken) {
    TestGame t(story());
    Game& g = t.start();
    loadResized(t, g, 0);
    EXPECT_EQ(g.vars.flagBytes()[17], 0xEE);
    EXPECT_EQ(g.vars.v(0), 77);
    EXPECT_EQ(t.events("chunk "), (Lines{"main", "LOAD"}));
    loadResized(t, g, 256);
    EXPECT_EQ(g.vars.flagBytes()[0], 0x5A);
    EXPECT_EQ(g.vars.flagBytes()[255], 0xA5);
    for (std::int32_t i = 0; i < 1000; ++i) {
        ASSERT_EQ(g.vars.v(i), 77) << "V" << i;
        ASSERT_EQ(g.vars.s(i), -77) << "S" << i;
    }
    EXPECT_EQ(t.events("chunk "), (Lines{"main", "LOAD", "LOAD"}));
    // The flags, V0 to V999, S0 whole and the first two bytes of S1.
    Bytes bytes = handWrittenSave();
    bytes.resize(4256 + 4 + 2);
    writeBytes(t.saveDir() / "save5.cv", bytes);
    fillVariables(g);
    g.vars.setS(1, 0x11223344);
    ASSERT_TRUE(g.LoadSlot(5));
    EXPECT_EQ(g.vars.v(999), 1999);
    EXPECT_EQ(g.vars.s(0), -1);
    EXPECT_EQ(static_cast<std::uint32_t>(g.vars.s(1)), 0x1122FFFEu);  // -2 is FE FF FF FF
    EXPECT_EQ(g.vars.s(2), -77);
    loadResized(t, g, 9000);
    EXPECT_EQ(g.vars.s(999), -1000);
    EXPECT_EQ(g.vars.v(0), 1000);
}

TEST(SaveFileMissing, GivenNoFileOrAFolderInItsPlace_WhenLoadedOrSaved_ThenNothingHappens) {
    TestGame t(story());
    Game& g = t.start();
    fs::create_directory(t.saveDir() / "save3.cv");
    fillVariables(g);
    g.aMarks[9] = 1;
    fs::remove(t.saveDir() / "seen.cv");
    EXPECT_FALSE(g.LoadSlot(1));
    EXPECT_FALSE(g.LoadSlot(3));
    EXPECT_FALSE(g.LoadSlot(0));
    EXPECT_FALSE(g.LoadSlot(9));
    EXPECT_EQ(g.vars.v(0), 77);
    // The seen record was not touched either.
    EXPECT_EQ(g.aMarks[9], 1);
    EXPECT_FALSE(fs::exists(t.saveDir() / "seen.cv"));
    EXPECT_EQ(t.events("chunk "), (Lines{"main"}));
    // Saving there fails: the folder stays and no temporary file is left.
    EXPECT_FALSE(g.SaveSlot(3));
    EXPECT_TRUE(fs::is_directory(t.saveDir() / "save3.cv"));
    EXPECT_EQ(namesIn(t.saveDir()), (Lines{"save3.cv"}));
    EXPECT_EQ(t.events("msgbox ").size(), 1u);
}

TEST(SaveRoutine, GivenAPausedPageAndAnOldSave_WhenSaved_ThenItIsReplacedAndSaveStartsAfresh) {
    TestGame t(story());
    writeBytes(t.saveDir() / "save8.cv", Bytes(8256, 0xAB));
    t.host().writeSetting(setting::kDelay, "1");
    Game& g = t.start();
    t.player().run();
    ASSERT_EQ(g.waitKind, WaitKind::Page);
    g.inputLatch = true;
    g.vars.setV(1, 5);
    ASSERT_TRUE(g.SaveSlot(8));
    EXPECT_EQ(g.waitKind, WaitKind::None);
    EXPECT_FALSE(g.inputLatch);
    EXPECT_EQ(g.lastChunk, "SAVE");
    EXPECT_EQ(t.events("chunk "), (Lines{"main", "SAVE"}));
    EXPECT_TRUE(t.events("msgbox").empty());
    const Bytes bytes = readBytes(t.saveDir() / "save8.cv");
    ASSERT_EQ(bytes.size(), 8256u);
    EXPECT_EQ(bytes[0], 0);
    EXPECT_EQ(getLE(bytes, 256 + 4), 5u);
}

TEST(SaveRoutine, GivenASaveFolderWithALongPath_WhenSavedAndLoaded_ThenTheFilesLiveThere) {
    TestGame t(story());
    Game& g = t.start();
    const fs::path deep =
        t.saveDir() / std::string(120, 'd') / "セーブ フォルダ" / std::string(90, 'e');
    fs::create_directories(deep);
    g.saveFolder = deep;
    g.vars.setV(2, 31);
    ASSERT_TRUE(g.SaveSlot(4));
    g.vars.setV(2, 0);
    ASSERT_TRUE(g.LoadSlot(4));
    EXPECT_EQ(g.vars.v(2), 31);
    EXPECT_TRUE(fs::is_regular_file(deep / "save4.cv"));
    EXPECT_EQ(fs::file_size(deep / "seen.cv"), 768u);
}

TEST(ClearedGameFlag, GivenAClearMarkOrFlag999_WhenSaved_ThenFlag999IsSetSavedAndTheMarkIs1) {
    struct Case {
        int mark;
        bool flag;
        bool expected;
    };
    for (const Case& c : {Case{2, false, true}, Case{0, false, false}, Case{0, true, true}}) {
        SCOPED_TRACE(std::to_string(c.mark) + (c.flag ? "+999" : ""));
        TestGame t(story());
        if (c.mark == 2) t.host().writeSetting(setting::kClear, "1");
        Game& g = t.start();
        if (c.mark == 0) {
            ASSERT_EQ(g.clearMark, 0);
        }
        g.clearMark = c.mark;  // 2: a second cleared game in this run
        if (c.flag) g.vars.SetFlag(999);
        ASSERT_TRUE(g.SaveSlot(1));
        EXPECT_EQ(g.vars.TestFlag(999), c.expected);
        EXPECT_EQ(g.clearMark, c.expected ? 1 : 0);
        if (c.mark == 2) {
            EXPECT_EQ(t.host().readSetting(setting::kClear), "1");
        }
        EXPECT_EQ(readBytes(t.saveDir() / "save1.cv")[999 / 8], c.expected ? 0x80 : 0);
    }
}

TEST(ClearedGameFlag, GivenTwoGameClearsThenASave_WhenSaved_ThenTheSettingKeeps2) {
    TestGame t({chunk("main", "*gameclr\n*gameclr\nA▼\n"), chunk("SAVE", "s\n")});
    Game& g = t.start();
    t.player().run();
    ASSERT_EQ(g.clearMark, 2);
    ASSERT_TRUE(g.SaveSlot(2));
    EXPECT_EQ(g.clearMark, 1);
    EXPECT_TRUE(g.vars.TestFlag(999));
    EXPECT_EQ(t.host().readSetting(setting::kClear), "2");
}

TEST(SaveWriteFailure, GivenTheDiskFillsUp_WhenSaved_ThenTheOldSaveKeepsItsBytes) {
    TestGame t(story());
    Game& g = t.start();
    const Bytes old = handWrittenSave();
    writeBytes(t.saveDir() / "save1.cv", old);
    g.vars.setV(0, 9);
    g.aMarks[4] = 1;
    g.clearMark = 2;
    {
        const FileSizeLimit full(100);
        EXPECT_FALSE(g.SaveSlot(1));
    }
    EXPECT_TRUE(g.vars.TestFlag(999));  // set all the same
    EXPECT_EQ(g.clearMark, 1);
    EXPECT_EQ(readBytes(t.saveDir() / "save1.cv"), old);
    EXPECT_EQ(namesIn(t.saveDir()), (Lines{"save1.cv", "seen.cv"}));
    EXPECT_EQ(t.events("save-error "),
              (Lines{"cannot write " + (t.saveDir() / "save1.cv").string() + ": " +
                     std::strerror(EFBIG)}));
    // The player is told; nothing else of the save happens.
    ASSERT_EQ(t.events("msgbox ").size(), 1u);
    EXPECT_EQ(t.events("msgbox ")[0].rfind("コルヴァン|セーブできませんでした。", 0), 0u);
    EXPECT_EQ(t.events("chunk "), (Lines{"main"}));
    EXPECT_EQ(readBytes(t.saveDir() / "seen.cv")[4], 0);
    // The game goes on, and the next save that can be written is.
    ASSERT_TRUE(g.SaveSlot(1));
    EXPECT_EQ(getLE(readBytes(t.saveDir() / "save1.cv"), 256), 9u);
}

TEST(SaveFilePlaces, GivenLinksLeftoversAndModes_WhenSaved_ThenWrittenThereKeepingTheirModes) {
    using fs::perms;
    const struct {
        const char* name;
        bool links;      // save3.cv and seen.cv are symbolic links to another folder
        bool leftovers;  // an earlier crash left save3.cv.tmp (a folder) and seen.cv.tmp
        perms mode;
    } cases[] = {
        {"through links", true, false, perms::owner_read | perms::owner_write | perms::group_read},
        {"past leftovers", false, true, perms::owner_read | perms::owner_write},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestGame t(story());
        TempDir elsewhere;
        Lines names;
        for (const std::string name : {"save3.cv", "seen.cv"}) {
            const fs::path file = (c.links ? elsewhere.path() : t.saveDir()) / name;
            writeBytes(file, Bytes(name == "seen.cv" ? 768 : 8256, 0));
            fs::permissions(file, c.mode);
            if (c.links) fs::create_symlink(file, t.saveDir() / name);
            names.push_back(name);
        }
        if (c.leftovers) {
            fs::create_directory(t.saveDir() / "save3.cv.tmp");
            writeText(t.saveDir() / "seen.cv.tmp", "half");
            names = {"save3.cv", "save3.cv.tmp", "seen.cv", "seen.cv.tmp"};
        }
        Game& g = t.start();
        g.vars.setV(0, 9);
        g.aMarks[5] = 1;
        ASSERT_TRUE(g.SaveSlot(3));

        const fs::path folder = c.links ? elsewhere.path() : t.saveDir();
        EXPECT_EQ(getLE(readBytes(folder / "save3.cv"), 256), 9u);
        EXPECT_EQ(readBytes(folder / "seen.cv")[5], 1);
        EXPECT_EQ(namesIn(t.saveDir()), names);
        for (const char* name : {"save3.cv", "seen.cv"}) {
            EXPECT_EQ(fs::status(folder / name).permissions(), c.mode) << name;
            EXPECT_EQ(fs::is_symlink(t.saveDir() / name), c.links) << name;
        }
    }
}

TEST(SeenWriteFailure,
     GivenTheSeenRecordCannotBeWritten_WhenUpdated_ThenTheOldFileAndTheMarksInMemoryStay) {
    TestGame t(story());
    Game& g = t.start();
    Bytes old(768, 0);
    old[3] = 1;
    writeBytes(t.saveDir() / "seen.cv", old);
    g.bMarks[8] = 1;
    {
        const FileSizeLimit full(100);
        g.UpdateSeenRecord();
    }
    EXPECT_EQ(readBytes(t.saveDir() / "seen.cv"), old);
    EXPECT_EQ(namesIn(t.saveDir()), (Lines{"seen.cv"}));
    EXPECT_EQ(g.aMarks[3], 1);
    EXPECT_EQ(g.bMarks[8], 1);
    EXPECT_EQ(t.events("warning ").size(), 1u);
    EXPECT_NE(t.events("warning ")[0].find((t.saveDir() / "seen.cv").string()), std::string::npos);
    EXPECT_TRUE(t.events("msgbox").empty());
}

TEST(SeenRecordLayout, GivenMarksAndEValues_WhenEncoded_ThenThreeBlocksOf256Bytes) {
    saves::Marks a{}, b{};
    saves::Persistent e{};
    a[0] = 1;
    b[255] = 1;
    e[1] = -1;
    e[255] = 0x40;
    const std::string bytes = saves::encodeSeenRecord(a, b, e);
    ASSERT_EQ(bytes.size(), 768u);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[511], 1);
    EXPECT_EQ(static_cast<std::uint8_t>(bytes[513]), 0xFF);
    EXPECT_EQ(bytes[767], 0x40);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\0'), 768 - 4);
}

TEST(SeenRecordAtStartUp, GivenARecordOrNone_WhenTheGameStarts_ThenItIsInMemoryOrMadeAsZeros) {
    TestGame fresh(story());
    fresh.start();
    EXPECT_EQ(readBytes(fresh.saveDir() / "seen.cv"), Bytes(768, 0));
    EXPECT_EQ(namesIn(fresh.saveDir()), (Lines{"seen.cv"}));

    TestGame t(story());
    Bytes record(768, 0);
    record[12] = 1;
    record[256 + 200] = 1;
    record[512 + 3] = 0xFE;  // E3 = -2
    record[767] = 5;
    writeBytes(t.saveDir() / "seen.cv", record);
    Game& g = t.start();
    EXPECT_EQ(g.aMarks[12], 1);
    EXPECT_EQ(g.bMarks[200], 1);
    EXPECT_EQ(g.vars.e(3), -2);
    EXPECT_EQ(g.vars.e(255), 5);
    EXPECT_EQ(g.aMarks[13], 0);
    EXPECT_EQ(readBytes(t.saveDir() / "seen.cv"), record);
}

TEST(SeenRecordMerge, GivenBitsInMemoryAndInTheFile_WhenUpdated_ThenBothAreORedTogetherAndWritten) {
    TestGame t(story());
    Game& g = t.start();
    Bytes record(768, 0);
    record[6] = 1;
    record[256 + 7] = 1;
    record[512 + 0] = 0xF0;
    writeBytes(t.saveDir() / "seen.cv", record);
    g.aMarks[5] = 1;
    g.bMarks[7] = 1;
    g.vars.setE(0, 0x0F);
    g.UpdateSeenRecord();
    EXPECT_EQ(g.aMarks[5], 1);
    EXPECT_EQ(g.aMarks[6], 1);
    EXPECT_EQ(g.bMarks[7], 1);
    EXPECT_EQ(g.vars.e(0), -1);  // 0x0F | 0xF0
    Bytes expected(768, 0);
    expected[5] = expected[6] = 1;
    expected[256 + 7] = 1;
    expected[512] = 0xFF;
    EXPECT_EQ(readBytes(t.saveDir() / "seen.cv"), expected);
}

TEST(SeenRecordMerge,
     GivenAShortSeenRecord_WhenUpdated_ThenTheBytesItHoldsAreMergedAndAWholeOneWritten) {
    TestGame t(story());
    Game& g = t.start();
    writeBytes(t.saveDir() / "seen.cv", Bytes{0, 1, 1});
    g.aMarks[200] = 1;
    g.UpdateSeenRecord();
    EXPECT_EQ(g.aMarks[1], 1);
    EXPECT_EQ(g.aMarks[2], 1);
    EXPECT_EQ(g.aMarks[200], 1);
    EXPECT_EQ(fs::file_size(t.saveDir() / "seen.cv"), 768u);
}

TEST(SeenRecordReset,
     GivenTheSeenRecordDeletedWhileRunning_WhenSavedLoadedOrCleared_ThenEveryMarkIsCleared) {
    enum class Trigger { Save, Load, GameClear };
    for (const Trigger trigger : {Trigger::Save, Trigger::Load, Trigger::GameClear}) {
        SCOPED_TRACE(static_cast<int>(trigger));
        TestGame t(story());
        Game& g = t.start();
        writeBytes(t.saveDir() / "save1.cv", Bytes(8256, 0));
        g.aMarks[1] = 1;
        g.bMarks[2] = 1;
        g.vars.setE(3, 4);
        fs::remove(t.saveDir() / "seen.cv");
        switch (trigger) {
            case Trigger::Save: ASSERT_TRUE(g.SaveSlot(2)); break;
            case Trigger::Load: ASSERT_TRUE(g.LoadSlot(1)); break;
            case Trigger::GameClear: g.RecordClearedGame(); break;
        }
        EXPECT_EQ(g.aMarks, saves::Marks{});
        EXPECT_EQ(g.bMarks, saves::Marks{});
        EXPECT_EQ(g.vars.e(3), 0);
        EXPECT_EQ(readBytes(t.saveDir() / "seen.cv"), Bytes(768, 0));
    }
}

TEST(SeenRecordOnSaveAndLoad, GivenNewMarks_WhenSavedOrLoaded_ThenTheRecordHoldsThem) {
    TestGame t(story());
    Game& g = t.start();
    g.aMarks[40] = 1;
    ASSERT_TRUE(g.SaveSlot(1));
    EXPECT_EQ(readBytes(t.saveDir() / "seen.cv")[40], 1);
    g.bMarks[41] = 1;
    ASSERT_TRUE(g.LoadSlot(1));
    EXPECT_EQ(readBytes(t.saveDir() / "seen.cv")[256 + 41], 1);
    // The marks are not part of the saved game: loading leaves them as they are.
    EXPECT_EQ(g.aMarks[40], 1);
    EXPECT_EQ(g.bMarks[41], 1);
}

TEST(SeenRecordOnGameClear, GivenGameclr_WhenRun_ThenTheRecordIsMergedAndWrittenAfterTheMark) {
    TestGame t({chunk("main", "*calc E001=3\n*gameclr\nA▼\n")});
    Bytes record(768, 0);
    record[512 + 2] = 9;
    writeBytes(t.saveDir() / "seen.cv", record);
    Game& g = t.start();
    t.player().run();
    EXPECT_EQ(g.vars.v(777), 1);
    EXPECT_EQ(g.vars.e(2), 9);
    const Bytes bytes = readBytes(t.saveDir() / "seen.cv");
    EXPECT_EQ(bytes[512 + 1], 3);
    EXPECT_EQ(bytes[512 + 2], 9);
}

TEST(SeenRecordOnGameClear, GivenAnEValueLoweredBetweenTwoClears_WhenUpdated_ThenItsBitsComeBack) {
    TestGame t({chunk("main", "*calc E010=6\n*gameclr\n*calc E010=1\n*gameclr\nA▼\n")});
    Game& g = t.start();
    t.player().run();
    EXPECT_EQ(g.vars.e(10), 7);
    EXPECT_EQ(readBytes(t.saveDir() / "seen.cv")[512 + 10], 7);
}

}  // namespace
}  // namespace corvan::test
