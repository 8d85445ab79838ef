#pragma once

// How a failed check prints the game's state enums: by name and number, as the state dump
// shows them ("WaitKind::Page (1)"), instead of the bytes of an unknown type.

#include <ostream>
#include <string_view>

#include "game/enum_number.h"
#include "game/hotel_views.h"
#include "game/menu_state.h"
#include "game/run_state.h"

namespace corvan {

namespace state_printers {
inline void print(std::ostream* os, std::string_view type, std::string_view name, int number) {
    *os << type << "::" << (name.empty() ? "?" : name) << " (" << number << ")";
}
}  // namespace state_printers

inline void PrintTo(WaitKind v, std::ostream* os) {
    const char* names[] = {"None", "Page", "Plain"};
    const int n = toNumber(v);
    state_printers::print(os, "WaitKind", n >= 0 && n <= 2 ? names[n] : "", n);
}

inline void PrintTo(MenuKind v, std::ostream* os) {
    const char* names[] = {"None", "Choice", "System", "Slots", "Hotel", "FloorMap"};
    const int n = toNumber(v);
    state_printers::print(os, "MenuKind", n >= 0 && n <= 5 ? names[n] : "", n);
}

inline void PrintTo(CaseState v, std::ostream* os) {
    const int n = toNumber(v);
    state_printers::print(os, "CaseState", n == 0 ? "None" : n == 2 ? "InBranch" : "", n);
}

inline void PrintTo(ViewFlag v, std::ostream* os) {
    const int n = toNumber(v);
    state_printers::print(os, "ViewFlag", n == 0 ? "Story" : n == 2 ? "ViewShown" : "", n);
}

inline void PrintTo(AltTextMode v, std::ostream* os) {
    const int n = toNumber(v);
    state_printers::print(os, "AltTextMode", n == 0 ? "Off" : n == 1 ? "On" : "", n);
}

}  // namespace corvan
