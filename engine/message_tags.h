#pragma once

// What message text is made of besides its characters: the inline tags in square brackets and
// the two-byte marks that end or open a page. The text drawer and the script checker read text
// with these same tables.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace corvan {

// Special two-byte characters, as lead byte x 256 + trail byte.
inline constexpr std::uint16_t kPageWaitMark = 0x81A5;   // ▼
inline constexpr std::uint16_t kPlainWaitMark = 0x81AC;  // 〓
inline constexpr std::uint16_t kNewPageMark = 0x81A4;    // ▽
inline constexpr std::uint16_t kWideSpace = 0x8140;      // full-width space
inline constexpr std::uint16_t kHeartMark = 0x819F;      // ◆

enum class TextTag { Picture, Normal, Large, Colour, Wait, Voice, ClearOverlay, Delay };

struct TextTagEntry {
    std::string_view keyword;
    int argumentOffset;  // from the '['; 0 for a tag without argument
    TextTag tag;
};

// Matched in this order, each by its own length, so "[10]" is the "1" tag.
inline constexpr std::array<TextTagEntry, 8> kTextTags{{
    {"gra", 5, TextTag::Picture},
    {"1", 0, TextTag::Normal},
    {"4", 0, TextTag::Large},
    {"col", 5, TextTag::Colour},
    {"wait", 6, TextTag::Wait},
    {"voice", 7, TextTag::Voice},
    {"clrb", 0, TextTag::ClearOverlay},
    {"delay", 7, TextTag::Delay},
}};

// The tag whose keyword the bytes after a '[' begin with (ASCII letters folded); `available`
// is how many bytes follow the '[' before the line's end. nullptr when none matches: the game
// skips such a tag up to its ']'.
const TextTagEntry* matchTextTag(const std::uint8_t* afterBracket, std::size_t available);

// How many bytes the text drawer takes for the character starting with `b`, followed by `b2`:
// one for 0x20-0x7E, two for any other byte (half-width katakana and control bytes too), but one
// for a lead byte at the very end of the line.
constexpr int characterBytes(std::uint8_t b, std::uint8_t b2) {
    return (b >= 0x20 && b <= 0x7E) || b2 == 0 ? 1 : 2;
}

}  // namespace corvan
