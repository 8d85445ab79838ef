#include "engine/settings.h"

#include <cerrno>
#include <cstdlib>
#include <string>

namespace corvan {

std::int32_t readIntSetting(Host& host, std::string_view name) {
    const auto text = host.readSetting(name);
    if (!text) return 0;
    const std::string value(*text);
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(value.c_str(), &end, 0);
    if (end == value.c_str() || errno == ERANGE) return 0;
    return static_cast<std::int32_t>(parsed);
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
    s.speedFactor = readIntSetting(host, setting::kGMode) + 1;
    s.clearMark = readIntSetting(host, setting::kClear) != 0 ? 1 : 0;
    return s;
}

}  // namespace corvan
