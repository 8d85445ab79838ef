#pragma once

// Byte-string helpers for script text: the script compares names and keywords with only the
// ASCII letters folded, leaving every Shift-JIS byte as it is, and reads numbers the way the C
// library's atoi does, but without its undefined behaviour on overflow.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace corvan {

constexpr std::uint8_t asciiUpper(std::uint8_t byte) {
    return (byte >= 'a' && byte <= 'z') ? static_cast<std::uint8_t>(byte - 'a' + 'A') : byte;
}

// True when the first `count` bytes of `a` and `b` are equal with ASCII letters folded. Inline:
// the interpreter matches every command line against the keyword table with it.
inline bool equalBytesIgnoringAsciiCase(const std::uint8_t* a, const std::uint8_t* b,
                                        std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (asciiUpper(a[i]) != asciiUpper(b[i])) return false;
    }
    return true;
}

// Whole-string comparison with ASCII letters folded.
bool equalIgnoringAsciiCase(std::string_view a, std::string_view b);

// A decimal integer in the manner of atoi: leading white space, an optional sign, then digits up
// to the first other byte; no digits give 0. Reading stops at `end` or at a NUL. Overflow wraps
// around in 32 bits instead of being undefined.
std::int32_t parseDecimal(const std::uint8_t* text, const std::uint8_t* end);
std::int32_t parseDecimal(std::string_view text);

// Length of a NUL-ended byte string inside a buffer of `capacity` bytes (capacity when no NUL).
inline std::size_t boundedLength(const std::uint8_t* text, std::size_t capacity) {
    const void* nul = std::memchr(text, 0, capacity);
    return nul == nullptr ? capacity
                          : static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - text);
}

}  // namespace corvan
