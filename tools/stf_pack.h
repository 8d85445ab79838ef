#pragma once

// Building script archives: turning script text into the NUL-ended lines the game reads, and
// packing named chunks into the archive's directory-and-data form.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvan {

struct ChunkSource {
    std::string name;   // at most 8 bytes
    std::string bytes;  // decoded chunk: code page 932 lines, each ended by a NUL
};

// Script text with lines ended by LF or CRLF into NUL-ended lines. `utf8` text is converted to
// code page 932; otherwise the bytes are taken as they are. On failure returns nullopt and sets
// `error` to "line N: what is wrong".
std::optional<std::string> scriptLinesFromText(std::string_view text, bool utf8,
                                               std::string& error);

// NUL-ended lines back into text with LF line ends (code page 932 bytes as they are).
std::string textFromScriptLines(std::string_view bytes);

// The archive file for these chunks, in this order. On failure returns nullopt and sets `error`
// (a name longer than 8 bytes, more than 1500 chunks, a chunk over 32 768 bytes, data beyond
// the 24-bit offsets).
std::optional<std::vector<std::uint8_t>> buildArchive(const std::vector<ChunkSource>& chunks,
                                                      std::string& error);

}  // namespace corvan
