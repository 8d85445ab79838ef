#pragma once

// What the fuzz targets that play a whole game share: a game folder and a save folder of their
// own, removed when the fuzzer exits, holding the demo game's pictures, music and voices; and
// mouse input taken from the fuzz input, so that the fuzzer steers the game through its menus.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "headless/replay.h"

namespace corvan::fuzz {

struct GameFolders {
    std::filesystem::path game;  // links to the demo's GRA, MIDI and wave folders
    std::filesystem::path save;  // empty at the start of every input
};

// The folders, with the save folder emptied. With `demoArchive` the game folder also links the
// demo's mg_data.stf; without, the caller writes one there.
const GameFolders& freshFolders(bool demoArchive);

// Points a player that has not started yet at those folders (its settings are in memory).
void useFolders(HeadlessPlayer& player, const GameFolders& folders);

// One thing the player does with the mouse after the game has run to its next wait.
struct MouseAction {
    enum class Kind { Click, RightClick, MiddleClick, Move };
    Kind kind = Kind::Click;
    // 0: the game first runs to its next wait; else it gets just this many idle calls, so that
    // a click can land in the middle of a transition or a line of text.
    int idleCalls = 0;
    int x = 0;
    int y = 0;
};

// Mouse actions from the end of the input, which is shortened by what they take: the last byte
// is their count (at most kMaxMouseActions), and each takes five bytes before it: the kind in
// the low two bits and the idle calls in the others, then x and y as signed 16-bit
// little-endian numbers. Inputs too short for that give no actions.
constexpr std::size_t kMaxMouseActions = 40;
constexpr std::size_t kMouseActionBytes = 5;
std::vector<MouseAction> takeMouseActions(std::span<const std::uint8_t>& input);

// Starts the game and does each action in turn, then runs the game to its next wait; every run
// is bounded. Stops early when the window closes.
void play(HeadlessPlayer& player, const std::vector<MouseAction>& actions);

}  // namespace corvan::fuzz
