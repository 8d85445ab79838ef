#pragma once

// Test fixtures: script archives and game folders made in code, in fresh temporary folders
// that are removed when the fixture goes.

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "authoring/stf_pack.h"

namespace corvan::test {

// A temporary folder, removed with everything in it when destroyed.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// A chunk from UTF-8 script text: lines split at '\n' and converted to code page 932.
ChunkSource chunk(const std::string& name, const std::string& utf8Text);
// A chunk taken byte for byte (already NUL-ended lines, any bytes).
ChunkSource rawChunk(const std::string& name, std::string bytes);

// Writes an archive of these chunks to `file`; fails the current test when it cannot.
void writeArchive(const std::filesystem::path& file, const std::vector<ChunkSource>& chunks);
void writeBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes);
// Writes `text` byte for byte to `file`, making its folders.
void writeText(const std::filesystem::path& file, const std::string& text);
std::string readText(const std::filesystem::path& file);
// The names of the files and folders in `folder`, sorted.
std::vector<std::string> namesIn(const std::filesystem::path& folder);
std::vector<std::uint8_t> readBytes(const std::filesystem::path& file);

}  // namespace corvan::test
