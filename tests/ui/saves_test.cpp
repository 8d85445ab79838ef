// Save files and the seen record: the 8256-byte and 768-byte layouts written and read back, files
// written by hand to those layouts, short, long and unreadable files, flag 999 and the cleared
// mark, the seen record's merge by OR and its reset, and writes that fail without harming the
// file that was there.

#include "ui/saves.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/settings.h"
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

Bytes fileBytes(const fs::path& file) {
    const std::string text = readText(file);
    return Bytes(text.begin(), text.end());
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

// --- The save file's layout ----------------------------------------------------------------

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

    ASSERT_EQ(bytes.size(), 8256u);
    EXPECT_EQ(bytes[0], 0x01);
    EXPECT_EQ(bytes[127], 0x80);
    EXPECT_EQ(bytes[255], 0x42);
    EXPECT_EQ(bytes[256], 0x04);
    EXPECT_EQ(bytes[257], 0x03);
    EXPECT_EQ(bytes[258], 0x02);
    EXPECT_EQ(bytes[259], 0x01);
    EXPECT_EQ(getLE(bytes, 256 + 4 * 999), 0xFFFFFFFEu);
    EXPECT_EQ(getLE(bytes, 4256), 0xFFFFFFFFu);
    EXPECT_EQ(getLE(bytes, 4256 + 4 * 999), 0x7FFFFFFFu);
    // Everything else is zero.
    std::size_t others = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const bool set = i == 0 || i == 127 || i == 255 || (i >= 256 && i < 260) ||
                         (i >= 256 + 4 * 999 && i < 4256 + 4) || i >= 4256 + 4 * 999;
        if (!set && bytes[i] != 0) ++others;
    }
    EXPECT_EQ(others, 0u);
}

TEST(SaveFileLayout, GivenAGame_WhenSavedToASlot_ThenTheFileHoldsExactlyItsVariables) {
    TestGame t(story());
    Game& g = t.start();
    const Bytes expected = handWrittenSave();
    saves::decodeSaveFile(expected, g.vars);

    ASSERT_TRUE(g.SaveSlot(3));

    EXPECT_EQ(fileBytes(t.saveDir() / "save3.cv"), expected);
    EXPECT_FALSE(fs::exists(t.saveDir() / "save3.cv.tmp"));
}

TEST(SaveFileLayout, GivenAFileWrittenByHand_WhenLoaded_ThenEveryFlagAndValueComesFromIt) {
    TestGame t(story());
    Game& g = t.start();
    writeBytes(t.saveDir() / "save7.cv", handWrittenSave());
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
}

TEST(SaveFileLayout,
     GivenASavedGame_WhenLoadedIntoOtherVariables_ThenTheyAreRestoredAndResaveIdentically) {
    TestGame t(story());
    Game& g = t.start();
    g.vars.SetFlag(999);
    g.vars.SetFlag(5);
    g.vars.setV(10, -42);
    g.vars.setV(777, 1);
    g.vars.setS(500, 123456);
    const Variables saved = g.vars;
    ASSERT_TRUE(g.SaveSlot(1));
    const Bytes first = fileBytes(t.saveDir() / "save1.cv");
    fillVariables(g);

    ASSERT_TRUE(g.LoadSlot(1));

    EXPECT_EQ(g.vars.flagBytes(), saved.flagBytes());
    EXPECT_EQ(g.vars.values(), saved.values());
    EXPECT_EQ(g.vars.systemValues(), saved.systemValues());
    ASSERT_TRUE(g.SaveSlot(2));
    EXPECT_EQ(fileBytes(t.saveDir() / "save2.cv"), first);
}

// --- Files of another size, and files that cannot be read ------------------------------------

TEST(SaveFileSize, GivenAFileOfOnly256Bytes_WhenLoaded_ThenOnlyTheFlagsChange) {
    TestGame t(story());
    Game& g = t.start();
    Bytes bytes = handWrittenSave();
    bytes.resize(256);
    writeBytes(t.saveDir() / "save4.cv", bytes);
    fillVariables(g);

    ASSERT_TRUE(g.LoadSlot(4));

    EXPECT_EQ(g.vars.flagBytes()[0], 0x5A);
    EXPECT_EQ(g.vars.flagBytes()[255], 0xA5);
    for (std::int32_t i = 0; i < 1000; ++i) {
        ASSERT_EQ(g.vars.v(i), 77) << "V" << i;
        ASSERT_EQ(g.vars.s(i), -77) << "S" << i;
    }
    EXPECT_EQ(t.events("chunk "), (Lines{"main", "LOAD"}));
}

TEST(SaveFileSize, GivenAFileEndingInsideAValue_WhenLoaded_ThenOnlyTheBytesItHoldsAreTaken) {
    TestGame t(story());
    Game& g = t.start();
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
}

TEST(SaveFileSize, GivenAFileLongerThan8256Bytes_WhenLoaded_ThenTheTailIsIgnored) {
    TestGame t(story());
    Game& g = t.start();
    Bytes bytes = handWrittenSave();
    bytes.resize(9000, 0x33);
    writeBytes(t.saveDir() / "save6.cv", bytes);

    ASSERT_TRUE(g.LoadSlot(6));

    EXPECT_EQ(g.vars.s(999), -1000);
    EXPECT_EQ(g.vars.v(0), 1000);
}

TEST(SaveFileSize, GivenAnEmptyFile_WhenLoaded_ThenNothingChangesButTheLoadChunkStarts) {
    TestGame t(story());
    Game& g = t.start();
    writeBytes(t.saveDir() / "save2.cv", {});
    fillVariables(g);

    EXPECT_TRUE(g.LoadSlot(2));

    EXPECT_EQ(g.vars.flagBytes()[17], 0xEE);
    EXPECT_EQ(g.vars.v(0), 77);
    EXPECT_EQ(t.events("chunk "), (Lines{"main", "LOAD"}));
}

TEST(SaveFileMissing, GivenNoFileOrAFolderInItsPlace_WhenLoaded_ThenNothingHappensAtAll) {
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
}

// --- The routines around a save and a load ---------------------------------------------------

TEST(SaveRoutine, GivenAPausedPage_WhenSaved_ThenTheRunStateIsResetAndSaveStarts) {
    TestGame t(story());
    t.host().writeSetting(setting::kDelay, "1");
    Game& g = t.start();
    t.player().run();
    ASSERT_EQ(g.waitKind, 1);
    g.inputLatch = true;

    ASSERT_TRUE(g.SaveSlot(8));

    EXPECT_EQ(g.waitKind, 0);
    EXPECT_FALSE(g.inputLatch);
    EXPECT_EQ(g.lastChunk, "SAVE");
    EXPECT_EQ(t.events("chunk "), (Lines{"main", "SAVE"}));
    EXPECT_TRUE(t.events("msgbox").empty());
    EXPECT_EQ(fs::file_size(t.saveDir() / "save8.cv"), 8256u);
}

TEST(SaveRoutine, GivenAnExistingSave_WhenSavedOver_ThenItIsReplacedWithoutAQuestion) {
    TestGame t(story());
    Game& g = t.start();
    writeBytes(t.saveDir() / "save1.cv", Bytes(8256, 0xAB));
    g.vars.setV(1, 5);

    ASSERT_TRUE(g.SaveSlot(1));

    const Bytes bytes = fileBytes(t.saveDir() / "save1.cv");
    ASSERT_EQ(bytes.size(), 8256u);
    EXPECT_EQ(bytes[0], 0);
    EXPECT_EQ(getLE(bytes, 256 + 4), 5u);
    EXPECT_TRUE(t.events("msgbox").empty());
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

// --- Flag 999 and the cleared mark -----------------------------------------------------------

TEST(ClearedGameFlag, GivenClearMark2_WhenSaved_ThenFlag999IsSetSavedAndTheMarkDropsTo1) {
    TestGame t(story());
    t.host().writeSetting(setting::kClear, "1");
    Game& g = t.start();
    g.clearMark = 2;  // a second cleared game in this run

    ASSERT_TRUE(g.SaveSlot(1));

    EXPECT_TRUE(g.vars.TestFlag(999));
    EXPECT_EQ(g.clearMark, 1);
    EXPECT_EQ(t.host().readSetting(setting::kClear), "1");
    const Bytes bytes = fileBytes(t.saveDir() / "save1.cv");
    EXPECT_EQ(bytes[999 / 8], 0x80);  // flag 999: bit 7 of byte 124
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

TEST(ClearedGameFlag, GivenNoClearedGame_WhenSaved_ThenFlag999AndTheMarkStayClear) {
    TestGame t(story());
    Game& g = t.start();
    ASSERT_EQ(g.clearMark, 0);

    ASSERT_TRUE(g.SaveSlot(1));

    EXPECT_FALSE(g.vars.TestFlag(999));
    EXPECT_EQ(g.clearMark, 0);
    EXPECT_EQ(fileBytes(t.saveDir() / "save1.cv")[124], 0);
}

TEST(ClearedGameFlag, GivenFlag999FromALoadedGame_WhenSaved_ThenTheMarkBecomes1) {
    TestGame t(story());
    Game& g = t.start();
    g.vars.SetFlag(999);

    ASSERT_TRUE(g.SaveSlot(1));

    EXPECT_EQ(g.clearMark, 1);
}

TEST(ClearedGameFlag, GivenASaveThatCannotBeWritten_WhenSaved_ThenFlag999IsStillSet) {
    TestGame t(story());
    Game& g = t.start();
    g.clearMark = 2;
    fs::create_directory(t.saveDir() / "save1.cv.tmp");

    EXPECT_FALSE(g.SaveSlot(1));

    EXPECT_TRUE(g.vars.TestFlag(999));
    EXPECT_EQ(g.clearMark, 1);
}

// --- Writes that fail ------------------------------------------------------------------------

TEST(SaveWriteFailure, GivenTheTemporaryFileCannotBeMade_WhenSaved_ThenTheOldSaveKeepsItsBytes) {
    TestGame t(story());
    Game& g = t.start();
    const Bytes old = handWrittenSave();
    writeBytes(t.saveDir() / "save1.cv", old);
    fs::create_directory(t.saveDir() / "save1.cv.tmp");
    g.vars.setV(0, 9);
    g.aMarks[4] = 1;

    EXPECT_FALSE(g.SaveSlot(1));

    EXPECT_EQ(fileBytes(t.saveDir() / "save1.cv"), old);
    // The player is told; nothing else of the save happens.
    ASSERT_EQ(t.events("msgbox ").size(), 1u);
    EXPECT_EQ(t.events("msgbox ")[0].rfind("コルヴァン|セーブできませんでした。", 0), 0u);
    EXPECT_EQ(t.events("chunk "), (Lines{"main"}));
    EXPECT_EQ(fileBytes(t.saveDir() / "seen.cv")[4], 0);
    // The game goes on, and the next save that can be written is.
    fs::remove(t.saveDir() / "save1.cv.tmp");
    ASSERT_TRUE(g.SaveSlot(1));
    EXPECT_EQ(getLE(fileBytes(t.saveDir() / "save1.cv"), 256), 9u);
}

TEST(SaveWriteFailure,
     GivenAFolderWhereTheSaveFileShouldBe_WhenSaved_ThenTheFolderStaysAndNoTemporaryIsLeft) {
    TestGame t(story());
    Game& g = t.start();
    fs::create_directory(t.saveDir() / "save2.cv");

    EXPECT_FALSE(g.SaveSlot(2));

    EXPECT_TRUE(fs::is_directory(t.saveDir() / "save2.cv"));
    EXPECT_FALSE(fs::exists(t.saveDir() / "save2.cv.tmp"));
    EXPECT_EQ(t.events("msgbox ").size(), 1u);
}

TEST(SeenWriteFailure,
     GivenTheSeenRecordCannotBeWritten_WhenUpdated_ThenTheOldFileAndTheMarksInMemoryStay) {
    TestGame t(story());
    Game& g = t.start();
    Bytes old(768, 0);
    old[3] = 1;
    writeBytes(t.saveDir() / "seen.cv", old);
    fs::create_directory(t.saveDir() / "seen.cv.tmp");
    g.bMarks[8] = 1;

    g.UpdateSeenRecord();

    EXPECT_EQ(fileBytes(t.saveDir() / "seen.cv"), old);
    EXPECT_EQ(g.aMarks[3], 1);
    EXPECT_EQ(g.bMarks[8], 1);
    EXPECT_EQ(t.events("warning ").size(), 1u);
    EXPECT_TRUE(t.events("msgbox").empty());
}

// --- The seen record -------------------------------------------------------------------------

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

TEST(SeenRecordAtStartUp, GivenNoSeenRecord_WhenTheGameStarts_ThenOneOf768ZeroBytesIsMade) {
    TestGame t(story());
    t.start();

    EXPECT_EQ(fileBytes(t.saveDir() / "seen.cv"), Bytes(768, 0));
    EXPECT_FALSE(fs::exists(t.saveDir() / "seen.cv.tmp"));
}

TEST(SeenRecordAtStartUp, GivenASeenRecord_WhenTheGameStarts_ThenItsMarksAndEValuesAreInMemory) {
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
    EXPECT_EQ(fileBytes(t.saveDir() / "seen.cv"), record);
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
    EXPECT_EQ(fileBytes(t.saveDir() / "seen.cv"), expected);
}

TEST(SeenRecordMerge,
     GivenAnEValueTheScriptLowered_WhenTheRecordIsUpdated_ThenItsStoredBitsComeBack) {
    TestGame t({chunk("main", "*calc E010=6\n*gameclr\n*calc E010=1\n*gameclr\nA▼\n")});
    Game& g = t.start();

    t.player().run();

    EXPECT_EQ(g.vars.e(10), 7);
    EXPECT_EQ(fileBytes(t.saveDir() / "seen.cv")[512 + 10], 7);
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
            case Trigger::Save:
                ASSERT_TRUE(g.SaveSlot(2));
                break;
            case Trigger::Load:
                ASSERT_TRUE(g.LoadSlot(1));
                break;
            case Trigger::GameClear:
                g.RecordClearedGame();
                break;
        }

        EXPECT_EQ(g.aMarks, saves::Marks{});
        EXPECT_EQ(g.bMarks, saves::Marks{});
        EXPECT_EQ(g.vars.e(3), 0);
        EXPECT_EQ(fileBytes(t.saveDir() / "seen.cv"), Bytes(768, 0));
    }
}

TEST(SeenRecordOnSaveAndLoad, GivenNewMarks_WhenSavedOrLoaded_ThenTheRecordHoldsThem) {
    TestGame t(story());
    Game& g = t.start();
    g.aMarks[40] = 1;
    ASSERT_TRUE(g.SaveSlot(1));
    EXPECT_EQ(fileBytes(t.saveDir() / "seen.cv")[40], 1);

    g.bMarks[41] = 1;
    ASSERT_TRUE(g.LoadSlot(1));
    EXPECT_EQ(fileBytes(t.saveDir() / "seen.cv")[256 + 41], 1);
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
    const Bytes bytes = fileBytes(t.saveDir() / "seen.cv");
    EXPECT_EQ(bytes[512 + 1], 3);
    EXPECT_EQ(bytes[512 + 2], 9);
}

}  // namespace
}  // namespace corvan::test
