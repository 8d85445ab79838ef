#include "engine/ascii.h"

namespace corvan {

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    return equalBytesIgnoringAsciiCase(reinterpret_cast<const std::uint8_t*>(a.data()),
                                       reinterpret_cast<const std::uint8_t*>(b.data()), a.size());
}

std::int32_t parseDecimal(const std::uint8_t* text, const std::uint8_t* end) {
    const std::uint8_t* p = text;
    auto isSpace = [](std::uint8_t c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (p < end && *p != 0 && isSpace(*p)) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    std::uint32_t value = 0;
    while (p < end && *p >= '0' && *p <= '9') {
        value = value * 10u + static_cast<std::uint32_t>(*p - '0');
        ++p;
    }
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

std::int32_t parseDecimal(std::string_view text) {
    const auto* begin = reinterpret_cast<const std::uint8_t*>(text.data());
    return parseDecimal(begin, begin + text.size());
}

}  // namespace corvan
