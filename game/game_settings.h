#pragma once

// The game's values in the settings store, and reading them the way the game always has:
// integers are stored as strings and read with a default of 0 (settings/int_value.h).

#include <cstdint>
#include <string_view>

#include "engine/host.h"
#include "settings/setting_names.h"

namespace corvan {

// An integer setting: the stored string as decimal or 0x hexadecimal; 0 when missing or not a
// number.
std::int32_t readIntSetting(Host& host, std::string_view name);
void writeIntSetting(Host& host, std::string_view name, std::int32_t value);

// What the running game takes from the store at start-up.
struct GameSettings {
    bool musicOn = true;           // BGM = 0
    bool voiceOn = true;           // Wave = 0
    bool movableFrame = false;     // TextWind != 0
    bool charByChar = true;        // Delay = 0: the normal text speed
    std::int32_t speedFactor = 1;  // GMode + 1
    std::int32_t clearMark = 0;    // Clear != 0 gives 1
};

GameSettings readGameSettings(Host& host);

}  // namespace corvan
