#pragma once

// The keys the game answers, by the names every host and the headless player's input script
// use for them. A host maps its own key codes onto these; the mouse wheel counts as two keys.

#include <optional>
#include <string_view>

namespace corvan {

enum class Key {
    Return,
    Space,
    Escape,
    Up,
    Down,
    Left,
    Right,
    PageUp,
    PageDown,
    Home,
    End,
    Tab,
    Ctrl,
    A,
    H,
    O,
    S,
    F11,
    F12,
    Plus,
    Minus,
    WheelUp,
    WheelDown,
};

// The name of a key in the input script ("return", "pageup", "wheel up").
std::string_view keyName(Key key);
// The key of a name, or nullopt for a name that is none.
std::optional<Key> keyNamed(std::string_view name);

}  // namespace corvan
