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
    Binding{Key::Ctrl,      false, false, KeyAction::HoldSkip,         "Ctrl (held alone)"},
    Binding{Key::F11,       false, false, KeyAction::ToggleFullScreen, "F11"},
    Binding{Key::F12,       false, false, KeyAction::Screenshot,       "F12"},
    Binding{Key::Plus,      false, false, KeyAction::LouderMusic,      "+"},
    Binding{Key::Minus,     false, false, KeyAction::QuieterMusic,     "-"},
    Binding{Key::O,         false, false, KeyAction::PlayerSettings,   "o"},
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
         "the highlight a row up or down in a menu"},
        {{KeyAction::HoldSkip},
         "skips: page and click waits end by themselves while it is held; a shortcut such as "
         "Ctrl+S never skips"},
        {{KeyAction::ToggleFullScreen}, "fullscreen on and off"},
        {{KeyAction::Screenshot},
         "saves the game screen (640x480 PNG, `corvan-DATE-TIME.png`) in `$XDG_PICTURES_DIR` or "
         "the pictures folder, else the home folder"},
        {{KeyAction::LouderMusic, KeyAction::QuieterMusic},
         "the music louder or softer by 10 (`Volume`, 0 to 100, default 80)"},
        {{KeyAction::PlayerSettings},
         "the player settings window 環境設定 (also in the window's menu: the Menu key, or Shift "
         "with the right button)"},
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
