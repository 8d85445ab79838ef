#pragma once

// The game's state as one JSON object, named as the game's globals are named: what a test or a
// game author compares after a replay.

#include <string>

#include "game/game.h"

namespace corvan {

std::string stateJson(const Game& game);

// A JSON string literal for UTF-8 text.
std::string jsonString(std::string_view text);

}  // namespace corvan
