#include "game/game_settings.h"

#include <string>

#include "settings/int_value.h"

namespace corvan {

std::int32_t readIntSetting(Host& host, std::string_view name) {
    const auto text = host.readSetting(name);
    return text ? parseIntValue(*text).value_or(0) : 0;
}

void writeIntSetting(Host& host, std::string_view name, std::int32_t value) {
    host.writeSetting(name, std::to_string(value));
}

GameSettings readGameSettings(Host& host) {
    GameSettings s;
    s.musicOn = readIntSetting(host, setting::kBgm) == 0;
    s.voiceOn = readIntSetting(host, setting::kWave) == 0;
    s.movableFrame = readIntSetting(host, setting::kTextWind) != 0;
    s.charByChar = readIntSetting(host, setting::kDelay) == 0;
    // Signed 32-bit with wrap-around, as the original computed it: a GMode of 2147483647 gives
    // a factor below 1, which means no effects.
    s.speedFactor = static_cast<std::int32_t>(
        static_cast<std::uint32_t>(readIntSetting(host, setting::kGMode)) + 1u);
    s.clearMark = readIntSetting(host, setting::kClear) != 0 ? 1 : 0;
    return s;
}

}  // namespace corvan
