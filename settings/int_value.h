#pragma once

// Integer settings are stored as text. They read as decimal, with an optional sign, or as
// hexadecimal after "0x" or "0X"; a leading zero does not make octal ("010" is ten). Text with
// anything else in it (trailing letters, a fraction, blanks inside), an empty text and a
// number that needs more than 32 bits are no number at all, and the caller's default applies.

#include <cstdint>
#include <optional>
#include <string_view>

namespace corvan {

// Hexadecimal takes up to 32 bits as they are: "0xFFFFFFFF" is -1.
std::optional<std::int32_t> parseIntValue(std::string_view text);

}  // namespace corvan
