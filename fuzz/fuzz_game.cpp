#include "fuzz/fuzz_game.h"

#include <stdlib.h>

#include <cstdlib>
#include <system_error>

#include "settings/setting_names.h"

namespace corvan::fuzz {

namespace {

namespace fs = std::filesystem;

// Idle calls one run may take: enough for a page of text at the slowest speed and a
// transition, few enough that an input that never waits stays quick.
constexpr std::int64_t kRunLimit = 400;

struct Folders {
    fs::path root;
    GameFolders inside;
};

void removeFolders();

Folders& folders() {
    static Folders made = [] {
        std::string pattern = (fs::temp_directory_path() / "corvan-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) abort();
        const fs::path root(pattern);
        Folders f{root, {root / "game", root / "save"}};
        fs::create_directories(f.inside.game);
        for (const char* name : {"GRA", "MIDI", "wave"}) {
            fs::create_directory_symlink(fs::path(CORVAN_DEMO_DIR) / name, f.inside.game / name);
        }
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

int signed16(const std::uint8_t* at) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(at[0] | at[1] << 8));
}

}  // namespace

const GameFolders& freshFolders(bool demoArchive) {
    const GameFolders& f = folders().inside;
    std::error_code ignored;
    fs::remove_all(f.save, ignored);
    fs::create_directories(f.save);
    const fs::path archive = f.game / "mg_data.stf";
    fs::remove(archive, ignored);
    if (demoArchive) fs::create_symlink(fs::path(CORVAN_DEMO_DIR) / "mg_data.stf", archive);
    return f;
}

void useFolders(HeadlessPlayer& player, const GameFolders& folders) {
    player.host().setSettingFallback(setting::kSaveDir, folders.save.string());
    player.host().setSettingFallback(setting::kGameDir, folders.game.string());
}

std::vector<MouseAction> takeMouseActions(std::span<const std::uint8_t>& input) {
    std::vector<MouseAction> actions;
    if (input.empty()) return actions;
    const std::size_t count = std::min<std::size_t>(input.back(), kMaxMouseActions);
    if (input.size() < 1 + count * kMouseActionBytes) return actions;
    input = input.first(input.size() - 1);
    const std::uint8_t* at = input.data() + input.size() - count * kMouseActionBytes;
    for (std::size_t i = 0; i < count; ++i, at += kMouseActionBytes) {
        MouseAction a;
        a.kind = static_cast<MouseAction::Kind>(at[0] & 3);
        a.idleCalls = at[0] >> 2;
        a.x = signed16(at + 1);
        a.y = signed16(at + 3);
        actions.push_back(a);
    }
    input = input.first(input.size() - count * kMouseActionBytes);
    return actions;
}

void play(HeadlessPlayer& player, const std::vector<MouseAction>& actions) {
    player.start();
    for (const MouseAction& a : actions) {
        if (player.closed()) return;
        if (a.idleCalls == 0) {
            player.run(kRunLimit);
        } else {
            player.idle(a.idleCalls);
        }
        player.mouseMove(a.x, a.y);
        switch (a.kind) {
            case MouseAction::Kind::Click: player.click(MouseButton::Left, a.x, a.y); break;
            case MouseAction::Kind::RightClick: player.click(MouseButton::Right, a.x, a.y); break;
            case MouseAction::Kind::MiddleClick: player.click(MouseButton::Middle, a.x, a.y); break;
            case MouseAction::Kind::Move: break;
        }
    }
    if (!player.closed()) player.run(kRunLimit);
}

}  // namespace corvan::fuzz
