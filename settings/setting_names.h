#pragma once

// The names of the game's values in the settings store (the section "Corvan" of its INI file),
// shared by the game, its setup and the programs that prepare a store for it.

#include <string_view>

namespace corvan::setting {
inline constexpr std::string_view kSaveDir = "SaveDir";
inline constexpr std::string_view kGameDir = "GameDir";
inline constexpr std::string_view kBgm = "BGM";
inline constexpr std::string_view kWave = "Wave";
inline constexpr std::string_view kTextWind = "TextWind";
inline constexpr std::string_view kDelay = "Delay";
inline constexpr std::string_view kGMode = "GMode";
inline constexpr std::string_view kClear = "Clear";
// The reader's comforts, written only when the player changes them:
//   AutoSpeed   how fast auto-advance turns pages, 1 (slow) to 10 (fast); default 5
//   SkipUnread  1: skipping reads on through pages not read before too; default 0
inline constexpr std::string_view kAutoSpeed = "AutoSpeed";
inline constexpr std::string_view kSkipUnread = "SkipUnread";
}  // namespace corvan::setting
