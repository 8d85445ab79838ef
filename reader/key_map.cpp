#include "reader/key_map.h"

#include <array>
#include <vector>

namespace corvan {

namespace {

struct Binding {
    Key key;
    bool ctrl;
    bool alt;
    KeyAction action;
    std::string_view label;  // how people write the key
};

// clang-format off
constexpr std::array kBindings{
    Binding{Key::Return,    false, true,  KeyAction::ToggleFullScreen, "Alt+Enter"},
    Binding{Key::S,         true,  false, KeyAction::Screenshot,       "Ctrl+S"},
    Binding{Key::Return,    false, false, KeyAction::Advance,          "Enter"},
    Binding{Key::Space,     false, false, KeyAction::Advance,          "Space"},
    Binding{Key::Escape,    false, false, KeyAction::Back,             "Escape"},
    Binding{Key::Up,        false, false, KeyAction::Up,               "↑"},
    Binding{Key::Down,      false, false, KeyAction::Down,             "↓"},
    Binding{Key::Left,      false, false, KeyAction::Left,             "←"},
    Binding{Key::Right,     false, false, KeyAction::Right,            "→"},
    Binding{Key::Home,      false, false, KeyAction::First,            "Home"},
    Binding{Key::End,       false, false, KeyAction::Last,             "End"},
    Binding{Key::WheelUp,   false, false, KeyAction::WheelBack,        "wheel up"},
    Binding{Key::WheelDown, false, false, KeyAction::WheelForward,     "wheel down"},
    Binding{Key::PageUp,    false, false, KeyAction::BacklogBack,      "Page Up"},
    Binding{Key::PageDown,  false, false, KeyAction::BacklogForward,   "Page Down"},
    Binding{Key::Ctrl,      false, false, KeyAction::HoldSkip,         "Ctrl (held alone)"},
    Binding{Key::Tab,       false, false, KeyAction::ToggleSkip,       "Tab"},
    Binding{Key::A,         false, false, KeyAction::ToggleAuto,       "A"},
    Binding{Key::H,         false, false, KeyAction::HideFrame,        "H"},
    Binding{Key::O,         false, false, KeyAction::PlayerSettings,   "O"},
    Binding{Key::F11,       false, false, KeyAction::ToggleFullScreen, "F11"},
    Binding{Key::F12,       false, false, KeyAction::Screenshot,       "F12"},
    Binding{Key::Plus,      false, false, KeyAction::LouderMusic,      "+"},
    Binding{Key::Minus,     false, false, KeyAction::QuieterMusic,     "-"},
};
// clang-format on

// The rows of the table for people: the actions a row stands for and what they do.
struct DocRow {
    std::vector<KeyAction> actions;
    std::string_view does;
};

const std::vector<DocRow>& docRows() {
    static const std::vector<DocRow> rows{
        {{KeyAction::Advance},
         "a left click where the pointer is: reads on, picks the highlighted row, plate or "
         "button"},
        {{KeyAction::Back}, "a right click: the system menu, or back from the floor map"},
        {{KeyAction::Up, KeyAction::Down, KeyAction::Left, KeyAction::Right},
         "move the highlight to the next row, plate or button that way, in every menu, the "
         "hotel menu, the floor map, the galleries and the scene replay (in a list, left and "
         "right go to the row before and after); the first press works at once"},
        {{KeyAction::First, KeyAction::Last}, "the highlight to the first or the last of them"},
        {{KeyAction::WheelBack, KeyAction::WheelForward},
         "the highlight a row up or down in a menu; with no menu open, wheel up opens the "
         "backlog"},
        {{KeyAction::BacklogBack, KeyAction::BacklogForward},
         "the backlog (when no menu is open): the pages read so far over the picture dimmed, "
         "the page on screen last; Page Up and Down, the arrows and the wheel turn its pages, "
         "Home and End go to the first and the last, Enter or a click plays a page's voice (♪) "
         "again, Escape, a right click or the wheel turned down past the last page close it"},
        {{KeyAction::HoldSkip},
         "skips pages read before (in any game played with this save folder) while it is "
         "held: each appears whole at once, and the skip stops at the first page not read "
         "yet, a choice, a menu or the map (`SkipUnread=1` skips unread pages too); a shortcut "
         "such as Ctrl+S never skips"},
        {{KeyAction::ToggleSkip}, "the same skip, on and off without holding"},
        {{KeyAction::ToggleAuto},
         "auto-advance on and off: a page ends by itself after a pause that grows with its "
         "length, never before its voice has ended (`AutoSpeed`); a click, a key or a menu "
         "ends it"},
        {{KeyAction::HideFrame},
         "hides the message frame to show the whole picture (the middle button too); any "
         "click or key brings it back without reading on"},
        {{KeyAction::PlayerSettings},
         "the player's settings window: volume, scaling, fullscreen, auto-advance speed and "
         "what skipping skips"},
        {{KeyAction::ToggleFullScreen}, "fullscreen on and off"},
        {{KeyAction::Screenshot},
         "saves the game screen (640x480 PNG, `corvan-DATE-TIME.png`) in `$XDG_PICTURES_DIR` or "
         "the pictures folder, else the home folder"},
        {{KeyAction::LouderMusic, KeyAction::QuieterMusic},
         "the music louder or softer by 10 (`Volume`, 0 to 100, default 80)"},
    };
    return rows;
}

}  // namespace

std::optional<KeyAction> keyAction(Key key, KeyModifiers modifiers) {
    for (const Binding& b : kBindings) {
        if (b.key != key) continue;
        if (b.ctrl || b.alt) {
            if (b.ctrl == modifiers.ctrl && b.alt == modifiers.alt) return b.action;
            continue;
        }
        if (!modifiers.alt) return b.action;
    }
    return std::nullopt;
}

std::string keyTableMarkdown() {
    std::string out = "| keys | does |\n|---|---|\n";
    for (const DocRow& row : docRows()) {
        std::string keys;
        for (KeyAction action : row.actions) {
            for (const Binding& b : kBindings) {
                if (b.action != action) continue;
                if (!keys.empty()) keys += ", ";
                keys += b.label;
            }
        }
        out += "| " + keys + " | " + std::string(row.does) + " |\n";
    }
    return out;
}

}  // namespace corvan
