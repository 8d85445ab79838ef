#pragma once

// Building script archives: turning script text into the NUL-ended lines the game reads, and
// packing named chunks into the archive's directory-and-data form.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvan {

struct ChunkSource {
    std::string name;   // at most 8 bytes
    std::string bytes;  // decoded chunk: code page 932 lines, each ended by a NUL
};

// Something in a script file that keeps it from being packed as written. Line 0 is the whole
// file.
struct SourceProblem {
    std::string file;
    int line = 0;
    std::string what;
};

// Reads every .txt (UTF-8) and .sjis (code page 932 as it is) file of `dir` as a chunk named
// after the file, in the order of the file names; `files` gets each chunk's file. Each problem (a
// name of more than 8 bytes or one already taken, text with no Shift-JIS form, a NUL byte, a line
// over 255 bytes, a chunk over 32 768 bytes) is listed in `problems`; its file or line is still
// read as well as it can be, so that a checker can look at the rest. False, with `error` set, when
// the folder or a file cannot be read at all.
bool readChunkSources(const std::filesystem::path& dir, std::vector<ChunkSource>& chunks,
                      std::vector<std::string>& files, std::vector<SourceProblem>& problems,
                      std::string& error);

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
