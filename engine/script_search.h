#pragma once

// Searches over a decoded chunk that the interpreter and the script checker share, so that the
// checker finds exactly what the game finds.
//
// A label is found by bytes, not by lines: a ':' anywhere in the chunk followed by the name's
// bytes (ASCII letters folded) counts, so a longer label that begins with the name, and a colon
// inside a text or command line, both match. The game always searched this way and its scripts
// rely on it.

#include <cstdint>
#include <span>
#include <string_view>

namespace corvan {

// Longest label name compared; a longer name is cut to this many bytes.
inline constexpr int kMaxLabelLength = 31;

// The offset just past the NUL that ends the line of the first match at or after `start`, or
// -1 when the chunk has none.
int findLabelIn(std::span<const std::uint8_t> chunk, std::int32_t start, std::string_view name);

// Where message section `n` of a message chunk starts: section 0 at the chunk's start, section
// n after the n-th line holding only ':'. Returns the chunk's length when the chunk has fewer
// sections.
std::int32_t messageSectionStart(std::span<const std::uint8_t> chunk, std::int32_t n);

// The number, from 1, of the line that starts at or holds `offset`: one more than the line ends
// (NUL bytes) before it. An offset at or past the chunk's end counts all its lines.
int lineNumberAt(std::span<const std::uint8_t> chunk, std::int32_t offset);

}  // namespace corvan
