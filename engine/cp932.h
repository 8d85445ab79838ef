#pragma once

// Conversion between the game's code page 932 (Shift-JIS with the Windows extensions) and
// UTF-8, one character at a time through iconv, so that one unmappable character never loses
// the rest of the text.

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

}  // namespace corvan
