#include "shell/display_settings.h"

#include "settings/int_value.h"

namespace corvan::shell {

std::optional<int> storedInt(Host& host, std::string_view name, int low, int high) {
    const auto text = host.readSetting(name);
    if (!text) return std::nullopt;
    const auto value = parseIntValue(*text);
    if (!value || *value < low || *value > high) return std::nullopt;
    return *value;
}

DisplayChoices readDisplayChoices(Host& host, const DisplayRequest& request) {
    DisplayChoices c;
    c.scale = request.scale.value_or(storedInt(host, setting::kScale, 0, 16).value_or(0));
    const auto scalingText = host.readSetting(setting::kScaling);
    const auto scaling = scalingText ? scalingNamed(*scalingText) : std::nullopt;
    c.scaling = scaling.value_or(Scaling::Auto);
    const bool smooth = storedInt(host, setting::kSmooth, 0, 1).value_or(0) == 1;
    c.fullScreenScaling = scaling.value_or(smooth ? Scaling::Smooth : Scaling::Auto);
    c.fullScreen =
        request.fullScreen.value_or(storedInt(host, setting::kFullScreen, 0, 1).value_or(0) == 1);
    c.volume = storedInt(host, setting::kVolume, 0, 100).value_or(kDefaultVolume);
    return c;
}

}  // namespace corvan::shell
