#pragma once

// The keys of the game window, as players of today's adventure games expect them. A key stands
// for the mouse action it names (the game itself still sees only the mouse), or works the
// window: fullscreen, screenshots, music volume.

#include <Qt>

namespace corvan::shell {

enum class KeyAction {
    None,
    Advance,           // Enter, Space, keypad Enter: a left click (read on, pick the row)
    Back,              // Escape: a right click (system menu, back from the floor map)
    PreviousRow,       // Up, Left: the highlight one row up in a menu
    NextRow,           // Down, Right
    ToggleFullScreen,  // F11, Alt+Enter
    Screenshot,        // F12, Ctrl+S
    LouderMusic,       // +
    QuieterMusic,      // -
};

KeyAction keyAction(int key, Qt::KeyboardModifiers modifiers);

// Whether the key is the one held to skip: page and click waits end by themselves meanwhile.
inline bool isSkipKey(int key) {
    return key == Qt::Key_Control;
}

}  // namespace corvan::shell
