// Fuzz target: the settings store's text, as a player may have edited it by hand. The input's
// first byte picks a key, the bytes up to the next NUL are a value and the rest is the file's
// text. Storing a value must change nothing but that value: it reads back as stored, storing
// it again changes no byte, and every other key reads as before. Every value must also read as
// a number, or as none, without fault.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/ini_text.h"
#include "settings/int_value.h"

namespace {

constexpr std::string_view kSection = "Corvan";
// The game's own keys, and one with a blank inside as a hand-written file may hold.
constexpr std::string_view kKeys[] = {"SaveDir",  "GameDir", "BGM",   "Wave",
                                      "TextWind", "Delay",   "GMode", "My Key"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view key = kKeys[data[0] % std::size(kKeys)];
    std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t end = input.find('\0');
    const std::string_view value = input.substr(0, end);
    const std::string_view text = end == std::string_view::npos ? "" : input.substr(end + 1);

    for (const std::string_view k : kKeys) {
        if (const auto v = corvan::iniValue(text, kSection, k)) (void)corvan::parseIntValue(*v);
    }
    (void)corvan::parseIntValue(value);
    if (!corvan::storableIniValue(value)) return 0;

    const std::string stored = corvan::withIniValue(text, kSection, key, value);
    if (corvan::iniValue(stored, kSection, key) != value) abort();
    if (corvan::withIniValue(stored, kSection, key, value) != stored) abort();
    for (const std::string_view k : kKeys) {
        if (k == key) continue;
        if (corvan::iniValue(stored, kSection, k) != corvan::iniValue(text, kSection, k)) abort();
    }
    return 0;
}
