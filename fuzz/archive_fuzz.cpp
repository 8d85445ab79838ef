// Fuzz target: any bytes as the script archive mg_data.stf. The game starts on it and is played
// for a bounded number of idle calls, with clicks to get past page waits and menus, so that the
// directory reader, the chunk loader, the interpreter and the commands all meet damaged data.

#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "headless/replay.h"
#include "settings/setting_names.h"

namespace {

namespace fs = std::filesystem;

struct Folders {
    fs::path root;
    fs::path game;
    fs::path save;
};

void removeFolders();

// One game folder and one save folder for the whole run, made on the first input and removed
// when the fuzzer exits.
const Folders& folders() {
    static const Folders made = [] {
        std::string pattern = (fs::temp_directory_path() / "corvan-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) abort();
        const fs::path root(pattern);
        Folders f{root, root / "game", root / "save"};
        fs::create_directories(f.game);
        fs::create_directories(f.save);
        return f;
    }();
    static const bool cleanup = std::atexit(removeFolders) == 0;
    (void)cleanup;
    return made;
}

void removeFolders() {
    std::error_code ignored;
    fs::remove_all(folders().root, ignored);
}

constexpr int kRounds = 8;                // run, then click, this often
constexpr std::int64_t kIdleCalls = 400;  // idle calls per round at most

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Folders& f = folders();
    {
        std::ofstream out(f.game / "mg_data.stf", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    // Both builds are the same game; the one with sound also runs the music and voice code.
    corvan::HeadlessPlayer player(corvan::GameOptions{.withSound = size % 2 == 0});
    corvan::HeadlessHost& host = player.host();
    host.setSettingFallback(corvan::setting::kSaveDir, f.save.string());
    host.setSettingFallback(corvan::setting::kGameDir, f.game.string());
    player.start();
    for (int round = 0; round < kRounds && !player.closed(); ++round) {
        player.run(kIdleCalls);
        // Clicks spread over the window: the text frame, menu rows, the corners.
        const int x = (round * 97) % 640;
        const int y = (round * 211) % 480;
        player.mouseMove(x, y);
        player.click(round % 3 == 2 ? corvan::MouseButton::Right : corvan::MouseButton::Left, x, y);
    }
    return 0;
}
