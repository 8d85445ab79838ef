#include "fuzz/fuzz_game.h"

#include <stdlib.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <string>
#include <system_error>

#include "settings/setting_names.h"

namespace corvan::fuzz {

namespace {

namespace fs = std::filesystem;

// Idle calls one run may take: enough for a page of text at the slowest speed and a
// transition, few enough that an input that never waits stays quick.
constexpr std::int64_t kRunLimit = 400;

// The settings the dialog changes, and values for them: good ones, the limits, and ones no
// dialog would write but a hand-edited file may hold. The folders are never changed: the
// game would then write wherever the input says.
constexpr std::array<std::string_view, 6> kSettingNames = {
    setting::kBgm,   setting::kWave,  setting::kTextWind,
    setting::kDelay, setting::kGMode, setting::kClear,
};
constexpr std::array<const char*, 11> kSettingValues = {
    "0", "1", "2", "3", "4", "-1", "255", "65536", "2147483648", "", "on",
};

struct Folders {
    fs::path root;
    GameFolders inside;
};

void removeFolders();

fs::path picturePath(const fs::path& root) {
    return root / "picture.prs";
}

fs::path songPath(const fs::path& root) {
    return root / "song.mid";
}

// `to` as a copy of the demo's folder `from` whose every file is a link to `file`.
void mirrorWithLinks(const fs::path& from, const fs::path& to, const fs::path& file) {
    for (const auto& entry : fs::recursive_directory_iterator(from)) {
        const fs::path there = to / fs::relative(entry.path(), from);
        if (entry.is_directory()) {
            fs::create_directories(there);
        } else {
            fs::create_directories(there.parent_path());
            fs::create_symlink(file, there);
        }
    }
}

// The game folder's GRA and MIDI are links, switched between the demo's folders and mirrors of
// them that lead every name to the input's file.
Folders& folders() {
    static Folders made = [] {
        std::string pattern = (fs::temp_directory_path() / "corvan-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) abort();
        const fs::path root(pattern);
        Folders f{root, {root / "game", root / "save"}};
        fs::create_directories(f.inside.game);
        const fs::path demo(CORVAN_DEMO_DIR);
        fs::create_directory_symlink(demo / "wave", f.inside.game / "wave");
        mirrorWithLinks(demo / "GRA", root / "GRA-input", picturePath(root));
        mirrorWithLinks(demo / "MIDI", root / "MIDI-input", songPath(root));
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

std::uint32_t unsigned32(const std::uint8_t* at) {
    return at[0] | at[1] << 8 | at[2] << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// Points the game folder's `name` at the demo's folder, or at its mirror for the input's file
// written to `file`.
void useFolder(const fs::path& root, const char* name, std::span<const std::uint8_t> bytes,
               const fs::path& file) {
    std::error_code ignored;
    const fs::path link = root / "game" / name;
    fs::remove(link, ignored);
    if (bytes.empty()) {
        fs::create_directory_symlink(fs::path(CORVAN_DEMO_DIR) / name, link);
        return;
    }
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    fs::create_directory_symlink(root / (std::string(name) + "-input"), link);
}

// Opens the slot list for saving, as the hotel menu's セーブ and the story's own load command
// open theirs, and picks the slot's row with a press and a release.
void saveInSlot(HeadlessPlayer& player, int slot) {
    Game& game = player.game();
    if (!player.waitingForPlayer() ||
        (game.menuKind != MenuKind::None && game.menuKind != MenuKind::Hotel)) {
        return;
    }
    game.OpenSlotList(true);
    player.mouseUp(MouseButton::Left, 0, 0);  // the press that opened the list is over
    const auto row = game.MenuRowPoint(1 + slot);
    if (!row) return;
    player.mouseMove(row->x, row->y);
    player.click(MouseButton::Left, row->x, row->y);
}

void openSceneReplay(HeadlessPlayer& player) {
    Game& game = player.game();
    if (player.waitingForPlayer() && game.menuKind == MenuKind::None &&
        game.viewFlag == ViewFlag::Story) {
        game.OpenSceneReplay();
    }
}

std::size_t pick(int number, std::size_t count) {
    return static_cast<std::size_t>(number < 0 ? -(number + 1) : number) % count;
}

}  // namespace

GameFiles takeGameFiles(std::span<const std::uint8_t>& input) {
    GameFiles files;
    if (input.size() < 8) return files;
    const std::uint8_t* lengths = input.data() + input.size() - 8;
    std::size_t pictureLength = unsigned32(lengths);
    std::size_t songLength = unsigned32(lengths + 4);
    input = input.first(input.size() - 8);
    songLength = std::min(songLength, input.size());
    files.song = input.last(songLength);
    input = input.first(input.size() - songLength);
    pictureLength = std::min(pictureLength, input.size());
    files.picture = input.last(pictureLength);
    input = input.first(input.size() - pictureLength);
    return files;
}

std::vector<std::uint8_t> gameFileBytes(const GameFiles& files) {
    std::vector<std::uint8_t> out(files.picture.begin(), files.picture.end());
    out.insert(out.end(), files.song.begin(), files.song.end());
    put32(out, static_cast<std::uint32_t>(files.picture.size()));
    put32(out, static_cast<std::uint32_t>(files.song.size()));
    return out;
}

const GameFolders& freshFolders(bool demoArchive, const GameFiles& files) {
    const Folders& all = folders();
    const GameFolders& f = all.inside;
    std::error_code ignored;
    fs::remove_all(f.save, ignored);
    fs::create_directories(f.save);
    const fs::path archive = f.game / "mg_data.stf";
    fs::remove(archive, ignored);
    if (demoArchive) fs::create_symlink(fs::path(CORVAN_DEMO_DIR) / "mg_data.stf", archive);
    useFolder(all.root, "GRA", files.picture, picturePath(all.root));
    useFolder(all.root, "MIDI", files.song, songPath(all.root));
    return f;
}

void useFolders(HeadlessPlayer& player, const GameFolders& folders) {
    player.host().setSettingFallback(setting::kSaveDir, folders.save.string());
    player.host().setSettingFallback(setting::kGameDir, folders.game.string());
}

std::vector<PlayerAction> takePlayerActions(std::span<const std::uint8_t>& input) {
    std::vector<PlayerAction> actions;
    if (input.empty()) return actions;
    const std::size_t count = std::min<std::size_t>(input.back(), kMaxPlayerActions);
    if (input.size() < 1 + count * kPlayerActionBytes) return actions;
    input = input.first(input.size() - 1);
    const std::uint8_t* at = input.data() + input.size() - count * kPlayerActionBytes;
    for (std::size_t i = 0; i < count; ++i, at += kPlayerActionBytes) {
        PlayerAction a;
        a.kind = static_cast<PlayerAction::Kind>(at[0] % PlayerAction::kKinds);
        a.button = static_cast<MouseButton>(at[0] / PlayerAction::kKinds % 3);
        a.idleCalls = at[1];
        a.x = signed16(at + 2);
        a.y = signed16(at + 4);
        actions.push_back(a);
    }
    input = input.first(input.size() - count * kPlayerActionBytes);
    return actions;
}

std::vector<std::uint8_t> playerActionBytes(const std::vector<PlayerAction>& actions) {
    std::vector<std::uint8_t> out;
    for (const PlayerAction& a : actions) {
        out.push_back(static_cast<std::uint8_t>(static_cast<int>(a.kind) +
                                                PlayerAction::kKinds * static_cast<int>(a.button)));
        out.push_back(static_cast<std::uint8_t>(a.idleCalls));
        put16(out, static_cast<std::uint16_t>(a.x));
        put16(out, static_cast<std::uint16_t>(a.y));
    }
    out.push_back(static_cast<std::uint8_t>(actions.size()));
    return out;
}

void play(HeadlessPlayer& player, const std::vector<PlayerAction>& actions) {
    using Kind = PlayerAction::Kind;
    player.start();
    for (const PlayerAction& a : actions) {
        if (player.closed()) return;
        if (a.idleCalls == 0) {
            player.run(kRunLimit);
        } else {
            player.idle(a.idleCalls);
        }
        if (player.closed()) return;
        if (a.kind <= Kind::Release) player.mouseMove(a.x, a.y);
        switch (a.kind) {
            case Kind::Click: player.click(MouseButton::Left, a.x, a.y); break;
            case Kind::RightClick: player.click(MouseButton::Right, a.x, a.y); break;
            case Kind::MiddleClick: player.click(MouseButton::Middle, a.x, a.y); break;
            case Kind::Move: break;
            case Kind::Press: player.mouseDown(a.button, a.x, a.y); break;
            case Kind::Release: player.mouseUp(a.button, a.x, a.y); break;
            case Kind::Save: saveInSlot(player, 1 + static_cast<int>(pick(a.x, 8))); break;
            case Kind::SceneReplay: openSceneReplay(player); break;
            case Kind::Setting:
                player.setSetting(std::string(kSettingNames[pick(a.x, kSettingNames.size())]),
                                  kSettingValues[pick(a.y, kSettingValues.size())]);
                break;
        }
    }
    if (!player.closed()) player.run(kRunLimit);
}

}  // namespace corvan::fuzz
