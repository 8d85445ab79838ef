#pragma once

// What the fuzz targets that play a whole game share: a game folder and a save folder of their
// own, removed when the fuzzer exits, holding the demo game's pictures, music and voices or a
// picture and a song from the fuzz input in their place; and what the player does, taken from
// the fuzz input, so that the fuzzer steers the game through its menus, saves, opens the scene
// replay and changes settings in the middle of the story.
//
// An input of a game target ends in this order:
//   ...the target's own files... | picture | song | picture length | song length | actions | n
// The two lengths are 32-bit little-endian numbers; each is cut to the bytes there are, and a
// length of 0 keeps the demo's files. n, the last byte, counts the actions (at most
// kMaxPlayerActions); each takes kPlayerActionBytes bytes. Inputs too short for all of that
// simply give no actions or no files.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "headless/replay.h"

namespace corvan::fuzz {

struct GameFolders {
    std::filesystem::path game;  // its GRA, MIDI and wave folders, and maybe mg_data.stf
    std::filesystem::path save;  // empty at the start of every input
};

// A picture and a song the game plays instead of the demo's: every picture name of the demo
// names `picture`, every music file `song`. Empty: the demo's own.
struct GameFiles {
    std::span<const std::uint8_t> picture;
    std::span<const std::uint8_t> song;
};

// The files from the end of the input (after the actions were taken), which is shortened by
// what they take.
GameFiles takeGameFiles(std::span<const std::uint8_t>& input);

// The folders, with the save folder emptied and `files` in place. With `demoArchive` the game
// folder also links the demo's mg_data.stf; without, the caller writes one there.
const GameFolders& freshFolders(bool demoArchive, const GameFiles& files = {});

// Points a player that has not started yet at those folders (its settings are in memory).
void useFolders(HeadlessPlayer& player, const GameFolders& folders);

// One thing the player does after the game has run to its next wait.
struct PlayerAction {
    enum class Kind : std::uint8_t {
        Click,        // left
        RightClick,   // the system menu, or back
        MiddleClick,  //
        Move,         // the pointer alone
        Press,        // a button goes down here...
        Release,      // ...and comes up here, maybe somewhere else
        Save,         // the slot list for saving, and slot 1 + x % 8 picked from it
        SceneReplay,  // the scene replay menu opened, as `view 3` opens it
        Setting,      // a setting changed in the settings dialog: name x, value y of a list
    };
    static constexpr int kKinds = 9;
    Kind kind = Kind::Click;
    MouseButton button = MouseButton::Left;  // of Press and Release
    // 0: the game first runs to its next wait; else it gets just this many idle calls, so that
    // an action can land in the middle of a transition or a line of text.
    int idleCalls = 0;
    int x = 0;
    int y = 0;
};

// Each action takes six bytes: the kind (the byte modulo kKinds; the rest of it picks the
// button), the idle calls, then x and y as signed 16-bit little-endian numbers.
constexpr std::size_t kMaxPlayerActions = 40;
constexpr std::size_t kPlayerActionBytes = 6;
std::vector<PlayerAction> takePlayerActions(std::span<const std::uint8_t>& input);

// `actions` in the form takePlayerActions reads, for making seeds.
std::vector<std::uint8_t> playerActionBytes(const std::vector<PlayerAction>& actions);
// `files` with their lengths, in the form takeGameFiles reads.
std::vector<std::uint8_t> gameFileBytes(const GameFiles& files);

// Starts the game and does each action in turn, then runs the game to its next wait; every run
// is bounded. Stops early when the window closes.
void play(HeadlessPlayer& player, const std::vector<PlayerAction>& actions);

}  // namespace corvan::fuzz
