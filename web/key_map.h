#pragma once

// The game's keys in the browser, as the desktop window has them (shell/key_input.h): a key
// stands for the mouse action it names, and the game itself still sees only the mouse. Keys are
// the browser's key names ("Enter", " ", "Escape", "ArrowUp", "Control"). The page itself takes
// the keys that work the page rather than the game: Alt+Enter and F11 for fullscreen, Ctrl+S for
// a screenshot, + and - for the music's volume.

#include <string_view>

namespace corvan::web {

enum class GameKey {
    None,
    Advance,      // Enter, Space: a left click where the pointer is
    Back,         // Escape: a right click
    PreviousRow,  // Up, Left: the highlight one row up in a menu
    NextRow,      // Down, Right
};

GameKey gameKey(std::string_view key, bool alt);

// Whether the key is the one held to skip: page and click waits end by themselves meanwhile.
inline bool isSkipKey(std::string_view key) {
    return key == "Control";
}

}  // namespace corvan::web
