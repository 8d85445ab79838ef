#pragma once

// The browser's keys as the game's key map names them (reader/keys.h): the page hands on the
// browser's key names ("Enter", " ", "ArrowUp", "Control", "s"; "WheelUp" and "WheelDown" for
// the wheel), and what they do is the game's own key map, the desktop window's.

#include <optional>
#include <string_view>

#include "reader/keys.h"

namespace corvan::web {

std::optional<Key> gameKey(std::string_view browserKey);

}  // namespace corvan::web
