#include "reader/keys.h"

#include <array>
#include <utility>

namespace corvan {

namespace {

// clang-format off
constexpr std::array<std::pair<Key, std::string_view>, 23> kNames{{
    {Key::Return, "return"},     {Key::Space, "space"},       {Key::Escape, "escape"},
    {Key::Up, "up"},             {Key::Down, "down"},         {Key::Left, "left"},
    {Key::Right, "right"},       {Key::PageUp, "pageup"},     {Key::PageDown, "pagedown"},
    {Key::Home, "home"},         {Key::End, "end"},           {Key::Tab, "tab"},
    {Key::Ctrl, "ctrl"},         {Key::A, "a"},               {Key::H, "h"},
    {Key::O, "o"},               {Key::S, "s"},               {Key::F11, "f11"},
    {Key::F12, "f12"},           {Key::Plus, "plus"},         {Key::Minus, "minus"},
    {Key::WheelUp, "wheel up"},  {Key::WheelDown, "wheel down"},
}};
// clang-format on

}  // namespace

std::string_view keyName(Key key) {
    for (const auto& [k, name] : kNames) {
        if (k == key) return name;
    }
    return {};
}

std::optional<Key> keyNamed(std::string_view name) {
    for (const auto& [k, n] : kNames) {
        if (n == name) return k;
    }
    return std::nullopt;
}

}  // namespace corvan
