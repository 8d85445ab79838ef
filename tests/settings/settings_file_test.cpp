// The settings store every program shares: how Brackwell.ini reads, how one value is written
// into it without losing any other byte, and the file's replacement.

#include "settings/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <limits>

#include "settings/int_value.h"
#include "support/test_archive.h"

namespace corvan::test {
namespace {

namespace fs = std::filesystem;

struct Read {
    const char* key;
    std::optional<std::string> value;
};

struct TrickyFile {
    const char* name;
    std::string before;
    std::vector<Read> reads;
    const char* key;  // then written with `value`
    const char* value;
    std::string after;
};

const TrickyFile kTrickyFiles[] = {
    {"empty file", "", {{"SaveDir", std::nullopt}}, "SaveDir", "/s", "[Corvan]\nSaveDir=/s\n"},
    {"byte order mark",
     "\xEF\xBB\xBF[Corvan]\nBGM=1\n",
     {{"BGM", "1"}},
     "BGM",
     "0",
     "\xEF\xBB\xBF[Corvan]\nBGM=0\n"},
    {"byte order mark, no section",
     "\xEF\xBB\xBF; note\n",
     {{"BGM", std::nullopt}},
     "BGM",
     "1",
     "\xEF\xBB\xBF; note\n\n[Corvan]\nBGM=1\n"},
    {"comments",
     "; SaveDir=/no\n[Corvan]\n# BGM=5\n;BGM=6\nWave=1\n; the end\n",
     {{"SaveDir", std::nullopt}, {"BGM", std::nullopt}, {"Wave", "1"}},
     "BGM",
     "1",
     "; SaveDir=/no\n[Corvan]\n# BGM=5\n;BGM=6\nWave=1\nBGM=1\n; the end\n"},
    {"other sections",
     "Top=1\n[Other]\nSaveDir=/other\nno equals sign\n\n[Corvan]\nGameDir=/cd\n\n[Later]\nK=v\n",
     {{"Top", std::nullopt}, {"SaveDir", std::nullopt}, {"GameDir", "/cd"}, {"K", std::nullopt}},
     "SaveDir",
     "/s",
     "Top=1\n[Other]\nSaveDir=/other\nno equals sign\n\n[Corvan]\nGameDir=/cd\nSaveDir=/s\n\n"
     "[Later]\nK=v\n"},
    {"comma and blank in a path, quotes, equals signs",
     "[Corvan]\nSaveDir = /home/p/my saves, old  \nGameDir=\"/cd\"\nPath=a=b\n",
     {{"SaveDir", "/home/p/my saves, old"}, {"GameDir", "\"/cd\""}, {"Path", "a=b"}},
     "SaveDir",
     "/x, y",
     "[Corvan]\nSaveDir = /x, y\nGameDir=\"/cd\"\nPath=a=b\n"},
    {"CRLF line ends, new key",
     "[Corvan]\r\nBGM=1\r\n\r\n[Other]\r\nK=v\r\n",
     {{"BGM", "1"}, {"K", std::nullopt}},
     "Wave",
     "1",
     "[Corvan]\r\nBGM=1\r\nWave=1\r\n\r\n[Other]\r\nK=v\r\n"},
    {"CRLF line ends, changed key",
     "[Corvan]\r\nBGM=1\r\n",
     {{"BGM", "1"}},
     "BGM",
     "0",
     "[Corvan]\r\nBGM=0\r\n"},
    {"letter case of names",
     "[corvan]\nsavedir=/s\n",
     {{"SaveDir", "/s"}, {"SAVEDIR", "/s"}},
     "SaveDir",
     "/t",
     "[corvan]\nsavedir=/t\n"},
    {"a key twice, a section twice",
     "[Corvan]\nBGM=1\nBGM=2\n[Corvan]\nWave=3\n",
     {{"BGM", "1"}, {"Wave", "3"}},
     "BGM",
     "7",
     "[Corvan]\nBGM=7\nBGM=2\n[Corvan]\nWave=3\n"},
    {"missing section, no final line break",
     "[Other]\nK=v",
     {{"K", std::nullopt}},
     "BGM",
     "1",
     "[Other]\nK=v\n\n[Corvan]\nBGM=1\n"},
    {"no final line break in the section",
     "[Corvan]\nBGM=1",
     {{"BGM", "1"}},
     "Wave",
     "0",
     "[Corvan]\nBGM=1\nWave=0"},
    {"bytes that are not UTF-8",
     "; caf\xE9\n[Corvan]\nGameDir=/m\xE9\x82\n",
     {{"GameDir", "/m\xE9\x82"}},
     "BGM",
     "1",
     "; caf\xE9\n[Corvan]\nGameDir=/m\xE9\x82\nBGM=1\n"},
    {"empty value", "[Corvan]\nBGM=\n", {{"BGM", ""}}, "BGM", "1", "[Corvan]\nBGM=1\n"},
};

TEST(SettingsFile, GivenTrickyFiles_WhenReadAndOneValueWritten_ThenValuesAsWrittenAndOnlyThatLineChanges) {
    for (const TrickyFile& c : kTrickyFiles) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const SettingsFile file(dir.path() / "Brackwell.ini");
        writeText(file.path(), c.before);
        for (const Read& read : c.reads) EXPECT_EQ(file.read(read.key), read.value) << read.key;
        std::string error;
        ASSERT_TRUE(file.write(c.key, c.value, error)) << error;
        EXPECT_EQ(readText(file.path()), c.after);
        EXPECT_EQ(file.read(c.key), c.value);
        EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"Brackwell.ini"});
    }
}

// Runs `work` in a child process that cannot write where the folder's permissions say no: as
// "nobody" when this process is root, who may write anywhere. True when `work` returned true.
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

fs::perms permissionsOf(const fs::path& path) { return fs::status(path).permissions(); }

TEST(SettingsFile, GivenAReadOnlyFolder_WhenWritten_ThenFailureReportedAndTheFileAsItWas) {
    TempDir dir;
    const fs::path folder = dir.path() / "config";
    const SettingsFile file(folder / "Brackwell.ini");
    writeText(file.path(), "; mine\n[Corvan]\nBGM=0\n");
    fs::permissions(dir.path(), fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec |
                                fs::perms::group_exec | fs::perms::others_exec);
    fs::permissions(file.path(), fs::perms::owner_read | fs::perms::owner_write |
                                     fs::perms::group_read | fs::perms::others_read);

    EXPECT_TRUE(inUnprivilegedChild([&] { return file.read("BGM") == "0"; }));
    EXPECT_FALSE(inUnprivilegedChild([&] {
        std::string error;
        return file.write("BGM", "1", error) ||
               error.find(file.path().string()) == std::string::npos;
    }));
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_EQ(readText(file.path()), "; mine\n[Corvan]\nBGM=0\n");
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"Brackwell.ini"});
}

TEST(SettingsFile, GivenASymbolicLink_WhenWritten_ThenItsTargetChangesAndTheLinkStays) {
    TempDir dir;
    writeText(dir.path() / "kept" / "settings.ini", "# kept\n[Corvan]\nBGM=0\n");
    fs::permissions(dir.path() / "kept" / "settings.ini",
                    fs::perms::owner_read | fs::perms::owner_write);
    fs::create_directory(dir.path() / "config");
    const SettingsFile file(dir.path() / "config" / "Brackwell.ini");
    fs::create_symlink("../kept/settings.ini", file.path());

    EXPECT_EQ(file.read("BGM"), "0");
    std::string error;
    ASSERT_TRUE(file.write("BGM", "1", error)) << error;

    EXPECT_TRUE(fs::is_symlink(file.path()));
    EXPECT_EQ(readText(dir.path() / "kept" / "settings.ini"), "# kept\n[Corvan]\nBGM=1\n");
    EXPECT_EQ(permissionsOf(dir.path() / "kept" / "settings.ini"),
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(namesIn(dir.path() / "kept"), std::vector<std::string>{"settings.ini"});
}

TEST(SettingsFile, GivenNoFileOrFolder_WhenWritten_ThenBothAreMadeAndALeftoverTemporaryIsNoBar) {
    TempDir dir;
    const SettingsFile file(dir.path() / "new" / "config" / "Brackwell.ini");
    EXPECT_EQ(file.read("BGM"), std::nullopt);
    std::string error;
    ASSERT_TRUE(file.write("BGM", "1", error)) << error;
    EXPECT_EQ(readText(file.path()), "[Corvan]\nBGM=1\n");

    fs::create_directory(file.path().string() + ".tmp");  // left by a crash long ago
    ASSERT_TRUE(file.write("BGM", "2", error)) << error;
    EXPECT_EQ(file.read("BGM"), "2");
}

TEST(SettingsFile, GivenWhatCannotBeStored_WhenWritten_ThenRefusedWithTheFileNamed) {
    TempDir dir;
    const SettingsFile file(dir.path() / "Brackwell.ini");
    writeText(file.path(), "[Corvan]\nGameDir=/cd\n");
    for (const char* value : {"/a\nSaveDir=/b", "/a\r", " /a", "/a "}) {
        std::string error;
        EXPECT_FALSE(file.write("GameDir", value, error)) << value;
        EXPECT_NE(error.find(file.path().string()), std::string::npos) << error;
    }
    EXPECT_EQ(readText(file.path()), "[Corvan]\nGameDir=/cd\n");

    // A folder where the file should be can be neither read nor replaced.
    const SettingsFile folder(dir.path() / "folder.ini");
    fs::create_directories(folder.path() / "inside");
    std::string error;
    EXPECT_EQ(folder.read("BGM"), std::nullopt);
    EXPECT_FALSE(folder.write("BGM", "1", error));
    EXPECT_NE(error.find(folder.path().string()), std::string::npos) << error;
    EXPECT_TRUE(fs::is_directory(folder.path() / "inside"));
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"Brackwell.ini", "folder.ini"}));
}

TEST(SettingsFile, GivenXdgConfigHome_ThenTheFileIsBrackwellIniThereWhenItIsAbsolute) {
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string savedValue = saved ? saved : "";
    const fs::path home = std::getenv("HOME") ? std::getenv("HOME") : "";
    const struct {
        const char* value;  // nullptr: unset
        fs::path expected;
    } cases[] = {
        {"/some/config", "/some/config/Brackwell.ini"},
        {"relative/config", home / ".config" / "Brackwell.ini"},
        {"", home / ".config" / "Brackwell.ini"},
        {nullptr, home / ".config" / "Brackwell.ini"},
    };
    for (const auto& c : cases) {
        if (c.value) ::setenv("XDG_CONFIG_HOME", c.value, 1);
        else ::unsetenv("XDG_CONFIG_HOME");
        EXPECT_EQ(SettingsFile::defaultPath(), c.expected) << (c.value ? c.value : "unset");
    }
    if (saved) ::setenv("XDG_CONFIG_HOME", savedValue.c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");
}

TEST(IntValue, GivenStoredTexts_ThenDecimalOrHexWithin32BitsElseNoNumber) {
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    const struct {
        const char* text;
        std::optional<std::int32_t> value;
    } cases[] = {
        {"0", 0},           {"1", 1},          {"-5", -5},        {"+7", 7},
        {"08", 8},          {"010", 10},       {"0x2", 2},        {"0X1f", 31},
        {"0xFFFFFFFF", -1}, {"2147483647", kMax}, {"-2147483648", kMin},
        {"2147483648", {}}, {"-2147483649", {}}, {"0x100000000", {}}, {"1abc", {}},
        {"1.5", {}},        {"", {}},          {" 1", {}},        {"0x", {}},
        {"-0x1", {}},       {"-", {}},         {"abc", {}},       {"99999999999999999999", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(parseIntValue(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
}  // namespace corvan::test
