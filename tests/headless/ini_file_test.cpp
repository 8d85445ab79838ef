// The headless player's INI settings file.

#include "headless/ini_file.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/test_archive.h"

namespace corvan::test {
namespace {

namespace fs = std::filesystem;

IniFile loaded(const TempDir& dir, const std::string& text) {
    writeText(dir.path() / "settings.ini", text);
    IniFile ini;
    EXPECT_TRUE(ini.load(dir.path() / "settings.ini"));
    return ini;
}

TEST(IniFile, GivenNoFile_WhenLoaded_ThenSucceedsEmpty) {
    TempDir dir;
    IniFile ini;
    ini.setValue("Corvan", "Stale", "1");  // loading forgets what was there
    EXPECT_TRUE(ini.load(dir.path() / "missing.ini"));
    EXPECT_EQ(ini.value("Corvan", "Stale"), std::nullopt);
    EXPECT_EQ(ini.text(), "");
}

TEST(IniFile, GivenSameKeyInTwoSections_WhenRead_ThenEachSectionGivesItsOwn) {
    TempDir dir;
    const IniFile ini = loaded(dir,
                               "Top=outside\n"
                               "[Other]\n"
                               "SaveDir=wrong\n"
                               "[Corvan]\n"
                               "SaveDir=/saves\n"
                               "GameDir=/cd\n");
    EXPECT_EQ(ini.value("Corvan", "SaveDir"), "/saves");
    EXPECT_EQ(ini.value("Other", "SaveDir"), "wrong");
    EXPECT_EQ(ini.value("Corvan", "GameDir"), "/cd");
    EXPECT_EQ(ini.value("Other", "GameDir"), std::nullopt);
    EXPECT_EQ(ini.value("Corvan", "Top"), std::nullopt);
    EXPECT_EQ(ini.value("Missing", "SaveDir"), std::nullopt);
}

TEST(IniFile, GivenValueHoldingEqualsSign_WhenRead_ThenOnlyTheFirstEqualsSplits) {
    TempDir dir;
    const IniFile ini = loaded(dir, "[Corvan]\nPath=a=b=c\nEmpty=\n");
    EXPECT_EQ(ini.value("Corvan", "Path"), "a=b=c");
    EXPECT_EQ(ini.value("Corvan", "Empty"), "");
}

TEST(IniFile, GivenQuotedValueAndBlanks_WhenRead_ThenQuotesAndOuterBlanksAreDropped) {
    TempDir dir;
    const IniFile ini = loaded(dir,
                               "[Corvan]\n"
                               "SaveDir=\"/home/a b/saves\"\n"
                               "  Delay =  1  \n"
                               "Lone=\"\n");
    EXPECT_EQ(ini.value("Corvan", "SaveDir"), "/home/a b/saves");
    EXPECT_EQ(ini.value("Corvan", "Delay"), "1");
    EXPECT_EQ(ini.value("Corvan", "Lone"), "\"");  // one quote alone is no quoting
}

TEST(IniFile, GivenCrlfLineEnds_WhenRead_ThenCarriageReturnsAreNotPartOfValues) {
    TempDir dir;
    const IniFile ini = loaded(dir, "[Corvan]\r\nSaveDir=/saves\r\nBGM=1\r\n");
    EXPECT_EQ(ini.value("Corvan", "SaveDir"), "/saves");
    EXPECT_EQ(ini.value("Corvan", "BGM"), "1");
}

TEST(IniFile, GivenLinesItDoesNotUnderstand_WhenValueSet_ThenTheyAreKeptAsTheyAre) {
    TempDir dir;
    IniFile ini = loaded(dir,
                         "; a comment\n"
                         "[Other]\n"
                         "junk without equals\n"
                         "Key=kept\n"
                         "\n"
                         "[Corvan]\n"
                         "# another comment\n"
                         "BGM=0\n");
    ini.setValue("Corvan", "BGM", "1");
    EXPECT_EQ(ini.text(),
              "; a comment\n"
              "[Other]\n"
              "junk without equals\n"
              "Key=kept\n"
              "\n"
              "[Corvan]\n"
              "# another comment\n"
              "BGM=1\n");
}

TEST(IniFile, GivenExistingSection_WhenNewKeySet_ThenItJoinsThatSectionBeforeItsBlankLines) {
    TempDir dir;
    IniFile ini = loaded(dir,
                         "[Corvan]\n"
                         "BGM=0\n"
                         "\n"
                         "[Other]\n"
                         "Key=kept\n");
    ini.setValue("Corvan", "GameDir", "/cd");
    EXPECT_EQ(ini.text(),
              "[Corvan]\n"
              "BGM=0\n"
              "GameDir=/cd\n"
              "\n"
              "[Other]\n"
              "Key=kept\n");
    EXPECT_EQ(ini.value("Corvan", "GameDir"), "/cd");
    EXPECT_EQ(ini.value("Other", "GameDir"), std::nullopt);
}

TEST(IniFile, GivenNoSuchSection_WhenValueSet_ThenSectionIsAddedAtTheEnd) {
    TempDir dir;
    IniFile ini = loaded(dir, "[Other]\nKey=kept\n");
    ini.setValue("Corvan", "Delay", "1");
    ini.setValue("Corvan", "Wave", "0");
    EXPECT_EQ(ini.text(), "[Other]\nKey=kept\n\n[Corvan]\nDelay=1\nWave=0\n");

    IniFile empty;
    empty.setValue("Corvan", "SaveDir", "/s");
    EXPECT_EQ(empty.text(), "[Corvan]\nSaveDir=/s\n");
}

TEST(IniFile, GivenKeyTwiceInSection_WhenSetAndRead_ThenTheFirstIsTheOneUsed) {
    TempDir dir;
    IniFile ini = loaded(dir, "[Corvan]\nBGM=1\nBGM=2\n");
    EXPECT_EQ(ini.value("Corvan", "BGM"), "1");
    ini.setValue("Corvan", "BGM", "7");
    EXPECT_EQ(ini.value("Corvan", "BGM"), "7");
}

TEST(IniFile, GivenValues_WhenSavedAndLoaded_ThenTheyReadBack) {
    TempDir dir;
    const fs::path file = dir.path() / "corvan.ini";
    writeText(file, "[Other]\nKey=kept\n");
    IniFile ini;
    ASSERT_TRUE(ini.load(file));
    ini.setValue("Corvan", "SaveDir", "/home/a b/saves");
    ini.setValue("Corvan", "Path", "x=y");
    std::string error;
    ASSERT_TRUE(ini.save(file, error)) << error;

    IniFile again;
    ASSERT_TRUE(again.load(file));
    EXPECT_EQ(again.value("Corvan", "SaveDir"), "/home/a b/saves");
    EXPECT_EQ(again.value("Corvan", "Path"), "x=y");
    EXPECT_EQ(again.value("Other", "Key"), "kept");
    EXPECT_EQ(again.text(), ini.text());
    // Nothing of the replacing step is left beside the file.
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(dir.path())) files.push_back(entry.path());
    EXPECT_EQ(files, std::vector<fs::path>{file});
}

TEST(IniFile, GivenMissingFolder_WhenSaved_ThenFailsWithMessageAndWritesNothing) {
    TempDir dir;
    IniFile ini;
    ini.setValue("Corvan", "BGM", "1");
    const fs::path file = dir.path() / "no-such-folder" / "corvan.ini";
    std::string error;
    EXPECT_FALSE(ini.save(file, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(fs::exists(file));
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(IniFile, GivenFileThatCannotBeReplaced_WhenSaved_ThenOldFileStaysWhole) {
    TempDir dir;
    // A folder where the file should be: the rename over it fails.
    const fs::path file = dir.path() / "corvan.ini";
    fs::create_directories(file / "inside");
    IniFile ini;
    ini.setValue("Corvan", "BGM", "1");
    std::string error;
    EXPECT_FALSE(ini.save(file, error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fs::is_directory(file / "inside"));
    EXPECT_FALSE(fs::exists(file.string() + ".tmp"));
}

}  // namespace
}  // namespace corvan::test
