// The files a player must not lose: a save, the seen record and the settings file. A writer
// killed at any moment leaves each of them as it was before the write or as the write meant it,
// never cut short or mixed; and the folder is synced after the rename, so that the new name
// outlives a power cut too.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "engine/file_write.h"
#include "settings/ini_text.h"
#include "settings/setting_names.h"
#include "settings/settings_file.h"
#include "support/test_game.h"
#include "ui/saves.h"

namespace {

// What fsync was given, while a test records it.
struct Synced {
    dev_t device;
    ino_t inode;
    bool folder;
};
bool recordingSyncs = false;
std::vector<Synced> syncs;

}  // namespace

// Every fsync of this test program comes here first (the program's own definition is found
// before the C library's): it notes the file or folder, then syncs it.
extern "C" int fsync(int fd) {
    struct stat st {};
    if (recordingSyncs && ::fstat(fd, &st) == 0) {
        syncs.push_back({st.st_dev, st.st_ino, S_ISDIR(st.st_mode)});
    }
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

namespace corvan::test {
namespace {

namespace fs = std::filesystem;

bool isSyncOf(const Synced& s, const fs::path& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && s.device == st.st_dev && s.inode == st.st_ino;
}

TEST(FileWrite, GivenAWrite_ThenTheFileIsSyncedAndThenItsFolderAfterTheRename) {
    TempDir dir;
    fs::create_directories(dir.path() / "real");
    fs::create_symlink(dir.path() / "real" / "save1.cv", dir.path() / "link.cv");
    for (const fs::path& path : {dir.path() / "Brackwell.ini", dir.path() / "link.cv"}) {
        SCOPED_TRACE(path.string());
        const fs::path file = fs::canonical(path.parent_path()) / path.filename();
        const fs::path written = fs::is_symlink(file) ? fs::read_symlink(file) : file;
        syncs.clear();
        recordingSyncs = true;
        std::string error;
        const bool saved = writeFileAtomically(path, "new contents", error);
        recordingSyncs = false;
        ASSERT_TRUE(saved) << error;
        ASSERT_EQ(syncs.size(), 2u);
        // The temporary file, which is the new file now, and then the folder its name is in.
        EXPECT_TRUE(!syncs[0].folder && isSyncOf(syncs[0], written));
        EXPECT_TRUE(syncs[1].folder && isSyncOf(syncs[1], written.parent_path()));
    }
}

// --- A writer killed at random moments -----------------------------------------------------

constexpr int kKills = 300;
constexpr const char* kNote = "Note";
constexpr std::size_t kSeenBits = 8 * Variables::kPersistentCount;

// Version n of each file, as the writer makes it: every V is n and every S is -n in the save;
// the first n bits of the E values are set in the seen record (which only ever gains bits, as
// the game ORs it with what it had); the settings file has one long note naming n at both ends.
void setVersion(Variables& vars, int n) {
    vars.values().fill(n);
    vars.systemValues().fill(-n);
    auto& e = vars.persistentValues();
    const std::size_t bits = std::min<std::size_t>(static_cast<std::size_t>(n), kSeenBits);
    for (std::size_t i = 0; i < e.size(); ++i) {
        const std::size_t inByte = std::min<std::size_t>(8, bits - std::min(bits, 8 * i));
        e[i] = static_cast<std::int8_t>((1u << inByte) - 1);
    }
}

std::string noteOf(int n) {
    return std::to_string(n) + ":" + std::string(3000, static_cast<char>('a' + n % 26)) + ":" +
           std::to_string(n);
}

std::optional<std::vector<std::uint8_t>> fileBytes(const fs::path& path) {
    if (!fs::exists(path)) return std::nullopt;
    const std::string text = readText(path);
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

// The version a file holds: 0 when it is missing, nullopt when it is no whole version.
std::optional<int> saveVersion(const fs::path& path) {
    const auto bytes = fileBytes(path);
    if (!bytes) return 0;
    if (bytes->size() != saves::kSaveFileSize) return std::nullopt;
    Variables vars;
    saves::decodeSaveFile(*bytes, vars);
    const int n = vars.v(0);
    Variables expected;
    setVersion(expected, n);
    if (vars.values() != expected.values() || vars.systemValues() != expected.systemValues()) {
        return std::nullopt;
    }
    return n;
}

std::optional<int> seenVersion(const fs::path& path) {
    const auto bytes = fileBytes(path);
    if (!bytes) return 0;
    if (bytes->size() != saves::kSeenRecordSize) return std::nullopt;
    int bits = 0;
    for (std::size_t i = saves::kPersistentOffset; i < bytes->size(); ++i) {
        bits += std::popcount((*bytes)[i]);
    }
    Variables expected;
    setVersion(expected, bits);
    const auto& e = expected.persistentValues();
    if (!std::equal(
            e.begin(), e.end(), bytes->begin() + saves::kPersistentOffset,
            [](std::int8_t a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }))
        return std::nullopt;
    return bits;
}

// `before` is the file as it was before the first version.
std::optional<int> settingsVersion(const fs::path& path, const std::string& before) {
    const std::string text = readText(path);
    if (text == before) return 0;
    const auto note = iniValue(text, kSettingsSection, kNote);
    if (!note) return std::nullopt;
    const int n = std::atoi(note->c_str());
    if (text != withIniValue(before, kSettingsSection, kNote, noteOf(n))) return std::nullopt;
    return n;
}

void announce(int fd, std::int32_t n) {
    if (::write(fd, &n, sizeof n) != sizeof n) _exit(3);
}

// The writer: starts the game and writes versions first, first + 1, ... until it is killed,
// telling the pipe the number of each version before it writes it.
[[noreturn]] void writeVersions(TestGame& t, int first, int announceFd) {
    Game& game = t.start();
    for (int n = first;; ++n) {
        announce(announceFd, n);
        setVersion(game.vars, n);
        t.player().setSetting(kNote, noteOf(n));
        if (!game.SaveSlot(1)) _exit(4);  // the save file, then the seen record
    }
}

// Reads the writer's announcements until the pipe closes or `until` is announced; the last
// one read, or `last` when none came.
int readAnnouncements(int fd, int last, std::optional<int> until = std::nullopt) {
    std::int32_t n = 0;
    while (::read(fd, &n, sizeof n) == sizeof n) {
        last = n;
        if (until && n >= *until) break;
    }
    return last;
}

// A folder of its own in memory (/dev/shm) where there is one, else in the temporary folder,
// removed with what is in it. Kills, not power cuts, are what the test below makes: in memory
// the syncs cost nothing, and hundreds of kills take seconds instead of minutes.
class MemoryDir {
public:
    MemoryDir() {
        const fs::path base =
            fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "corvan-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot make " << pattern;
        path_ = pattern;
    }
    ~MemoryDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    MemoryDir(const MemoryDir&) = delete;
    MemoryDir& operator=(const MemoryDir&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

TEST(CrashSafety, GivenAWriterKilledAtRandomMoments_ThenEveryFileIsTheOldOrTheNewVersion) {
    TestGame t({chunk("main", "first▼\n"), chunk("SAVE", "saved▼\n")});
    const MemoryDir saveDir;
    t.host().setSettingFallback(setting::kSaveDir, saveDir.path().string());
    const fs::path ini = saveDir.path() / "Brackwell.ini";
    std::string error;
    ASSERT_TRUE(t.host().useSettingsFile(ini, error)) << error;
    // The game folder, which the game records when it starts, is there from the beginning.
    const auto gameDir = t.host().readSetting(setting::kGameDir);
    ASSERT_TRUE(gameDir && SettingsFile(ini).write(setting::kGameDir, *gameDir, error)) << error;
    const std::string before = readText(ini);
    const fs::path save = saveDir.path() / "save1.cv";
    const fs::path seen = saveDir.path() / saves::kSeenRecordName;

    std::mt19937 random(std::random_device{}());
    int last = 0;  // the version whose writing began last
    double iterationSeconds = 0.001;
    int writesCut = 0;
    const auto started = std::chrono::steady_clock::now();
    for (int kill = 0; kill < kKills; ++kill) {
        int pipeEnds[2];
        ASSERT_EQ(::pipe(pipeEnds), 0);
        const pid_t writer = ::fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            ::close(pipeEnds[0]);
            writeVersions(t, last + 1, pipeEnds[1]);
        }
        ::close(pipeEnds[1]);
        // The kill comes after one or two whole versions, at a random point of the next one's
        // writing: however fast or slow the machine is, some kills cut a write in the middle,
        // and the files still move on from kill to kill.
        const int first = last + 1;
        const int wholeVersions = 1 + static_cast<int>(random() % 2);
        const auto firstAnnounced = std::chrono::steady_clock::now();
        last = readAnnouncements(pipeEnds[0], last, first + wholeVersions);
        ASSERT_EQ(last, first + wholeVersions) << "the writer ended by itself";
        const std::chrono::duration<double> took =
            std::chrono::steady_clock::now() - firstAnnounced;
        iterationSeconds = took.count() / wholeVersions;
        std::uniform_real_distribution<double> delay(0, 1.2 * iterationSeconds);
        std::this_thread::sleep_for(std::chrono::duration<double>(delay(random)));
        ::kill(writer, SIGKILL);
        int status = 0;
        ::waitpid(writer, &status, 0);
        last = readAnnouncements(pipeEnds[0], last);
        ::close(pipeEnds[0]);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer failed with status " << status;

        // The version whose writing began last, or the one before it.
        const int seenLast = std::min<int>(last, static_cast<int>(kSeenBits));
        const int seenBefore = std::min<int>(last - 1, static_cast<int>(kSeenBits));
        const auto saveNow = saveVersion(save);
        const auto seenNow = seenVersion(seen);
        const auto settingsNow = settingsVersion(ini, before);
        ASSERT_TRUE(saveNow == last || saveNow == last - 1) << "kill " << kill << ", " << last;
        ASSERT_TRUE(seenNow == seenLast || seenNow == seenBefore) << "kill " << kill;
        ASSERT_TRUE(settingsNow == last || settingsNow == last - 1)
            << "kill " << kill << ", " << last << "\n"
            << readText(ini);
        if (saveNow != settingsNow) ++writesCut;
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    // Only what a person reading the log may want to know; nothing is judged by it.
    std::printf("%d kills in %.1f s, %d versions written, %d kills between two files' writes\n",
                kKills, took.count(), last, writesCut);
    // Whatever the kills left behind beside the three files are temporary files.
    for (const auto& entry : fs::directory_iterator(saveDir.path())) {
        const std::string name = entry.path().filename().string();
        if (entry.path() == save || entry.path() == seen || entry.path() == ini) continue;
        EXPECT_TRUE(name.ends_with(".tmp")) << name;
    }
}

}  // namespace
}  // namespace corvan::test
