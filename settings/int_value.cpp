#include "settings/int_value.h"

namespace corvan {

namespace {

int digitValue(char c, int base) {
    int digit = 16;
    if (c >= '0' && c <= '9')
        digit = c - '0';
    else if (c >= 'a' && c <= 'f')
        digit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        digit = c - 'A' + 10;
    return digit < base ? digit : -1;
}

// The digits as a number, or nullopt when a byte is no digit or the number passes `limit`.
std::optional<std::uint64_t> digitsValue(std::string_view digits, int base, std::uint64_t limit) {
    if (digits.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        const int digit = digitValue(c, base);
        if (digit < 0) return std::nullopt;
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (value > limit) return std::nullopt;
    }
    return value;
}

}  // namespace

std::optional<std::int32_t> parseIntValue(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const auto bits = digitsValue(text.substr(2), 16, 0xFFFFFFFFu);
        if (!bits) return std::nullopt;
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(*bits));
    }
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+')) text.remove_prefix(1);
    const std::uint64_t limit = negative ? 0x80000000u : 0x7FFFFFFFu;
    const auto magnitude = digitsValue(text, 10, limit);
    if (!magnitude) return std::nullopt;
    const std::int64_t value =
        negative ? -static_cast<std::int64_t>(*magnitude) : static_cast<std::int64_t>(*magnitude);
    return static_cast<std::int32_t>(value);
}

}  // namespace corvan
