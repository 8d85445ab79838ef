#pragma once

// The one table of what each key does, shared by every host: the Qt window maps its key codes
// onto `Key`, the headless player reads key names from its input script, and the README's and
// the manual's key tables are written from the same rows (`keyTableMarkdown`).

#include <optional>
#include <string>
#include <string_view>

#include "reader/keys.h"

namespace corvan {

enum class KeyAction {
    Advance,         // a left click where the pointer is: read on, pick the highlighted row
    Back,            // a right click: the system menu, back from the floor map
    Up,              // the highlight to the row, plate or button above, or the one before
    Down,            // ... below, or the one after
    Left,            // ... to the left, or the one before
    Right,           // ... to the right, or the one after
    First,           // the first row, plate or button
    Last,            // the last one
    WheelBack,       // the wheel turned up: the previous row in a menu, else the backlog
    WheelForward,    // the wheel turned down: the next row in a menu
    BacklogBack,     // the backlog, or a page back in it
    BacklogForward,  // a page on in the backlog
    HoldSkip,        // held: pages read before end by themselves
    ToggleSkip,      // the same skip, without holding
    ToggleAuto,      // auto-advance on and off
    HideFrame,       // the picture without its message frame
    PlayerSettings,  // the player's settings window
    ToggleFullScreen,
    Screenshot,
    LouderMusic,
    QuieterMusic,
};

// Which modifier keys are down with a key.
struct KeyModifiers {
    bool ctrl = false;
    bool alt = false;
};

// The action of a key pressed with these modifiers, or nullopt for a key that does nothing.
// A binding that names Ctrl or Alt wins over the plain one; a plain binding answers with Ctrl
// held as well (so reading on works while Ctrl skips), but not with Alt.
std::optional<KeyAction> keyAction(Key key, KeyModifiers modifiers);

// The key table for people: one row an action, the keys that do it and what it does, as a
// Markdown table ("| keys | does |").
std::string keyTableMarkdown();

}  // namespace corvan
