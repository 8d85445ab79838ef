#include "web/key_map.h"

#include <array>
#include <utility>

namespace corvan::web {

std::optional<Key> gameKey(std::string_view browserKey) {
    // clang-format off
    static constexpr std::array<std::pair<std::string_view, Key>, 27> kKeys{{
        {"Enter", Key::Return}, {" ", Key::Space}, {"Escape", Key::Escape},
        {"ArrowUp", Key::Up}, {"ArrowDown", Key::Down}, {"ArrowLeft", Key::Left},
        {"ArrowRight", Key::Right}, {"PageUp", Key::PageUp}, {"PageDown", Key::PageDown},
        {"Home", Key::Home}, {"End", Key::End}, {"Tab", Key::Tab}, {"Control", Key::Ctrl},
        {"a", Key::A}, {"A", Key::A}, {"h", Key::H}, {"H", Key::H}, {"o", Key::O}, {"O", Key::O},
        {"s", Key::S}, {"S", Key::S}, {"F11", Key::F11}, {"F12", Key::F12},
        // The + key without Shift on many keyboards is "=".
        {"+", Key::Plus}, {"=", Key::Plus},
        // The page's names for the wheel's turns.
        {"WheelUp", Key::WheelUp}, {"WheelDown", Key::WheelDown},
    }};
    // clang-format on
    if (browserKey == "-") return Key::Minus;
    for (const auto& [name, key] : kKeys) {
        if (name == browserKey) return key;
    }
    return std::nullopt;
}

}  // namespace corvan::web
