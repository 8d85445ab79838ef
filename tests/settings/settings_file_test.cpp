// The settings store every program shares: how Brackwell.ini reads, how one value is written
// into it without losing any other byte, and the file's replacement.

#include "settings/settings_file.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <limits>

#include "settings/int_value.h"
#include "support/test_archive.h"

namespace corvan::test {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;
using Value = std::optional<std::string>;

// clang-format off
const struct TrickyFile {
    const char* name;
    std::string before;
    std::vector<std::pair<const char*, Value>> reads;
    const char* key;  // then written with `value`
    const char* value;
    std::string after;
} kTrickyFiles[] = {
    {"empty file", "", {{"SaveDir", {}}}, "SaveDir", "/s", "[Corvan]\nSaveDir=/s\n"},
    {"byte order mark", "\xEF\xBB\xBF[Corvan]\nBGM=1\n", {{"BGM", "1"}}, "BGM", "0",
     "\xEF\xBB\xBF[Corvan]\nBGM=0\n"},
    {"comments", "; SaveDir=/no\n[Corvan]\n# BGM=5\n;BGM=6\nWave=1\n; the end\n",
     {{"SaveDir", {}}, {"BGM", {}}, {"Wave", "1"}}, "BGM", "1",
     "; SaveDir=/no\n[Corvan]\n# BGM=5\n;BGM=6\nWave=1\nBGM=1\n; the end\n"},
    {"other sections", "Top=1\n[Other]\nSaveDir=/o\nno equals sign\n\n[Corvan]\nGameDir=/cd\n\n[Z]\nK=v\n",
     {{"Top", {}}, {"SaveDir", {}}, {"GameDir", "/cd"}, {"K", {}}}, "SaveDir", "/s",
     "Top=1\n[Other]\nSaveDir=/o\nno equals sign\n\n[Corvan]\nGameDir=/cd\nSaveDir=/s\n\n[Z]\nK=v\n"},
    {"comma and blank in a path, quotes, equals signs, empty value",
     "[Corvan]\nSaveDir = /home/p/my saves, old  \nGameDir=\"/cd\"\nPath=a=b\nBGM=\n",
     {{"SaveDir", "/home/p/my saves, old"}, {"GameDir", "\"/cd\""}, {"Path", "a=b"}, {"BGM", ""}},
     "SaveDir", "/x, y", "[Corvan]\nSaveDir = /x, y\nGameDir=\"/cd\"\nPath=a=b\nBGM=\n"},
    {"CRLF line ends", "[Corvan]\r\nBGM=1\r\n\r\n[Other]\r\nK=v\r\n", {{"BGM", "1"}}, "Wave", "1",
     "[Corvan]\r\nBGM=1\r\nWave=1\r\n\r\n[Other]\r\nK=v\r\n"},
    {"letter case of names", "[corvan]\nsavedir=/s\n", {{"SaveDir", "/s"}, {"SAVEDIR", "/s"}},
     "SaveDir", "/t", "[corvan]\nsavedir=/t\n"},
    {"a key twice, a section twice", "[Corvan]\nBGM=1\nBGM=2\n[Corvan]\nWave=3\n",
     {{"BGM", "1"}, {"Wave", "3"}}, "BGM", "7", "[Corvan]\nBGM=7\nBGM=2\n[Corvan]\nWave=3\n"},
    {"missing section, no final line break", "[Other]\nK=v", {{"K", {}}}, "BGM", "1",
     "[Other]\nK=v\n\n[Corvan]\nBGM=1\n"},
    {"no final line break in the section", "[Corvan]\nBGM=1", {{"BGM", "1"}}, "Wave", "0",
     "[Corvan]\nBGM=1\nWave=0"},
    {"CRLF, the last line's LF lost", "[Corvan]\r\nGameDir=/cd\r", {{"GameDir", "/cd"}}, "BGM", "1",
     "[Corvan]\r\nGameDir=/cd\r\nBGM=1"},
    {"CRLF, the last line's LF lost, no section", "[Other]\r\nK=v\r", {{"K", {}}}, "BGM", "1",
     "[Other]\r\nK=v\r\n\r\n[Corvan]\r\nBGM=1\r\n"},
    {"bytes that are not UTF-8", "; caf\xE9\n[Corvan]\nGameDir=/m\xE9\x82\n",
     {{"GameDir", "/m\xE9\x82"}}, "BGM", "1", "; caf\xE9\n[Corvan]\nGameDir=/m\xE9\x82\nBGM=1\n"},
};
// clang-format on

TEST(SettingsFile,
     GivenTrickyFiles_WhenReadAndOneValueWritten_ThenAsWrittenAndOnlyThatLineChanges) {
    for (const TrickyFile& c : kTrickyFiles) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const SettingsFile file(dir.path() / "Brackwell.ini");
        writeText(file.path(), c.before);
        for (const auto& [key, value] : c.reads) EXPECT_EQ(file.read(key), value) << key;
        std::string error;
        ASSERT_TRUE(file.write(c.key, c.value, error)) << error;
        EXPECT_EQ(readText(file.path()), c.after);
        EXPECT_EQ(namesIn(dir.path()), Names{"Brackwell.ini"});
    }
}

// Runs `work` in a child process that the folders' permissions bind: as "nobody" when this
// process is root, who may write anywhere. True when `work` returned true.
bool inUnprivilegedChild(const std::function<bool()>& work) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
        ::_exit(work() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

TEST(SettingsFile, GivenAReadOnlyFolder_WhenWritten_ThenFailureReportedAndTheFileAsItWas) {
    using fs::perms;
    TempDir dir;
    const fs::path folder = dir.path() / "config";
    const SettingsFile file(folder / "Brackwell.ini");
    writeText(file.path(), "; mine\n[Corvan]\nBGM=0\n");
    fs::permissions(dir.path(), perms::owner_all | perms::group_exec | perms::others_exec);
    fs::permissions(folder, perms::owner_read | perms::owner_exec | perms::others_exec);
    fs::permissions(file.path(), perms::owner_read | perms::others_read);

    EXPECT_TRUE(inUnprivilegedChild([&] { return file.read("BGM") == "0"; }));
    EXPECT_FALSE(inUnprivilegedChild([&] {
        std::string error;
        return file.write("BGM", "1", error) || error.find(file.path()) == std::string::npos;
    }));
    fs::permissions(folder, perms::owner_all);  // so that the folder can be removed again
    EXPECT_EQ(readText(file.path()), "; mine\n[Corvan]\nBGM=0\n");
    EXPECT_EQ(namesIn(folder), Names{"Brackwell.ini"});
}

TEST(SettingsFile, GivenASymbolicLink_WhenWritten_ThenItsTargetChangesKeepingItsMode) {
    TempDir dir;
    const fs::path target = dir.path() / "kept" / "settings.ini";
    writeText(target, "# kept\n[Corvan]\nBGM=0\n");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    const SettingsFile file(dir.path() / "config" / "Brackwell.ini");
    fs::create_directory(dir.path() / "config");
    fs::create_symlink("../kept/settings.ini", file.path());

    std::string error;
    ASSERT_TRUE(file.write("BGM", "1", error)) << error;
    EXPECT_TRUE(fs::is_symlink(file.path()));
    EXPECT_EQ(readText(target), "# kept\n[Corvan]\nBGM=1\n");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(namesIn(target.parent_path()), Names{"settings.ini"});
}

TEST(SettingsFile, GivenNoFileNorFolder_WhenWritten_ThenBothAreMade) {
    TempDir dir;
    const SettingsFile file(dir.path() / "new" / "config" / "Brackwell.ini");
    EXPECT_EQ(file.read("BGM"), std::nullopt);
    std::string error;
    ASSERT_TRUE(file.write("BGM", "1", error)) << error;
    EXPECT_EQ(readText(file.path()), "[Corvan]\nBGM=1\n");
}

TEST(SettingsFile, GivenWhatCannotBeStoredOrAFolderInItsPlace_WhenWritten_ThenRefusedNamingIt) {
    TempDir dir;
    const SettingsFile file(dir.path() / "Brackwell.ini");
    writeText(file.path(), "[Corvan]\nGameDir=/cd\n");
    const SettingsFile folder(dir.path() / "folder.ini");
    fs::create_directories(folder.path() / "inside");
    const std::pair<const SettingsFile*, const char*> cases[] = {
        {&file, "/a\nSaveDir=/b"}, {&file, "/a\r"}, {&file, " /a"}, {&file, "/a "}, {&folder, "1"}};
    for (const auto& [store, value] : cases) {
        std::string error;
        EXPECT_FALSE(store->write("GameDir", value, error)) << value;
        EXPECT_NE(error.find(store->path()), std::string::npos) << error;
    }
    EXPECT_EQ(readText(file.path()), "[Corvan]\nGameDir=/cd\n");
    EXPECT_EQ(folder.read("GameDir"), std::nullopt);
    EXPECT_EQ(namesIn(dir.path()), (Names{"Brackwell.ini", "folder.ini"}));
    EXPECT_EQ(namesIn(folder.path()), Names{"inside"});
}

TEST(IntValue, GivenStoredTexts_ThenDecimalOrHexWithin32BitsElseNoNumber) {
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
        {"0", 0},
        {"-5", -5},
        {"+7", 7},
        {"08", 8},
        {"010", 10},
        {"0x2", 2},
        {"0X1f", 31},
        {"0xFFFFFFFF", -1},
        {"2147483647", -(kMin + 1)},
        {"-2147483648", kMin},
        {"2147483648", {}},
        {"-2147483649", {}},
        {"0x100000000", {}},
        {"1abc", {}},
        {"1.5", {}},
        {"", {}},
        {" 1", {}},
        {"0x", {}},
        {"-0x1", {}},
        {"-", {}},
        {"99999999999999999999", {}}};
    for (const auto& [text, value] : cases) EXPECT_EQ(parseIntValue(text), value) << text;
}

}  // namespace
}  // namespace corvan::test
