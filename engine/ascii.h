#pragma once

// Byte-string helpers for script text: the script compares names and keywords with only the
// ASCII letters folded, leaving every Shift-JIS byte as it is, and reads numbers the way the C
// library's atoi does, but without its undefined behaviour on overflow.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace corvan {

constexpr std::uint8_t asciiUpper(std::uint8_t byte) {
    return (byte >= 'a' && byte <= 'z') ? static_cast<std::uint8_t>(byte - 'a' + 'A') : byte;
}

// True when the first `count` bytes of `a` and `b` are equal with ASCII letters folded.
bool equalBytesIgnoringAsciiCase(const std::uint8_t* a, const std::uint8_t* b, std::size_t count);

// Whole-string comparison with ASCII letters folded.
bool equalIgnoringAsciiCase(std::string_view a, std::string_view b);

// A decimal integer in the manner of atoi: leading white space, an optional sign, then digits up
// to the first other byte; no digits give 0. Reading stops at `end` or at a NUL. Overflow wraps
// around in 32 bits instead of being undefined.
std::int32_t parseDecimal(const std::uint8_t* text, const std::uint8_t* end);
std::int32_t parseDecimal(std::string_view text);

// Length of a NUL-ended byte string inside a buffer of `capacity` bytes (capacity when no NUL).
std::size_t boundedLength(const std::uint8_t* text, std::size_t capacity);

}  // namespace corvan
