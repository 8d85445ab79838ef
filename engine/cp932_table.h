#pragma once

// The code page 932 tables. They are generated at build time from the C library's own converter
// (tools/make_cp932_table.cpp), so the game converts exactly as that converter does on
// every platform it runs on, a browser included, without needing it at run time.

#include <cstddef>
#include <cstdint>

namespace corvan::cp932_table {

// What a byte is on its own: the character it stands for, kLeadByte when it starts a two-byte
// character, kNoCharacter when it stands for nothing.
inline constexpr char32_t kLeadByte = 0xFFFFFFFE;
inline constexpr char32_t kNoCharacter = 0xFFFFFFFF;
extern const char32_t kSingle[256];

// Two-byte characters: the character of lead byte L and trail byte T is
// kDouble[kLeadIndex[L] * 256 + T], 0 when the pair stands for nothing.
inline constexpr int kLeadCount = 60;
extern const std::uint8_t kLeadIndex[256];
extern const std::uint16_t kDouble[kLeadCount * 256];

// Unicode to code page 932, sorted by code point: one or two bytes (high byte first), or none
// at all for the few characters the converter drops (the language tags).
struct Encoding {
    std::uint32_t codePoint;
    std::uint16_t bytes;
    std::uint8_t length;
};
extern const Encoding kEncodings[];
extern const std::size_t kEncodingCount;

}  // namespace corvan::cp932_table
