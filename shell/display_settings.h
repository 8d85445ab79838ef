#pragma once

// The player's choices for today's screens and speakers, kept in the settings store beside the
// game's own values (they are only ever written when the player changes them):
//   Scale       the windowed picture's integer scale; 0 or none: as `Scaling` sizes the window
//   Scaling     auto (the default), whole, sharp or smooth (shell/picture_layout.h), in the
//               window and in fullscreen
//   Smooth      1: smooth scaling in fullscreen, where `Scaling` is not set (an older setting)
//   FullScreen  1: start in fullscreen (F11 and Alt+Enter switch and remember it)
//   Volume      the music's loudness, 0 to 100 (default 80); + and - change it by 10

#include <optional>
#include <string_view>

#include "engine/host.h"
#include "shell/picture_layout.h"

namespace corvan::shell {

namespace setting {
inline constexpr std::string_view kScale = "Scale";
inline constexpr std::string_view kScaling = "Scaling";
inline constexpr std::string_view kSmooth = "Smooth";
inline constexpr std::string_view kFullScreen = "FullScreen";
inline constexpr std::string_view kVolume = "Volume";
}  // namespace setting

inline constexpr int kDefaultVolume = 80;

// What the command line asks for, over the stored choices.
struct DisplayRequest {
    std::optional<int> scale = {};
    std::optional<bool> fullScreen = {};
};

struct DisplayChoices {
    int scale = 0;                    // 0: as the scaling sizes the window
    Scaling scaling = Scaling::Auto;  // as stored; the window's
    Scaling fullScreenScaling = Scaling::Auto;
    bool fullScreen = false;
    int volume = kDefaultVolume;
};

// A stored whole number from `low` to `high`; nullopt when it is missing or out of range.
std::optional<int> storedInt(Host& host, std::string_view name, int low, int high);

// The stored choices with the request over them; values out of range read as the defaults.
DisplayChoices readDisplayChoices(Host& host, const DisplayRequest& request);

}  // namespace corvan::shell
