#pragma once

// Conversion between the game's code page 932 (Shift-JIS with the Windows extensions) and
// Unicode, one character at a time, so that one unmappable character never loses the rest of the
// text. The tables are the C library converter's (engine/cp932_table.h).

#include <optional>
#include <string>
#include <string_view>

namespace corvan {

// Bytes with no Unicode form (0x80, 0xA0, 0xFD-0xFF, broken pairs) become U+FFFD.
std::string cp932ToUtf8(std::string_view bytes);

// The code page 932 form of a UTF-8 text. On failure returns nullopt and sets `badOffset` to the
// byte offset in `text` of the first character that has no code page 932 form or is not valid
// UTF-8.
std::optional<std::string> utf8ToCp932(std::string_view text, std::size_t* badOffset = nullptr);

// The characters of exactly these bytes (a two-byte character, or single-byte characters one
// after the other); nullopt when any of them has no character or the bytes end inside a
// two-byte character.
std::optional<std::u32string> cp932Characters(std::string_view bytes);

}  // namespace corvan
