#pragma once

// The script archive: a 21 000-byte directory of 1500 named entries followed by chunk data
// whose bytes are stored negated. The archive keeps only the directory in memory; each chunk is
// read from the file when it is asked for, as the game always did.

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "engine/file_store.h"
#include "engine/system_files.h"

namespace corvan {

struct ArchiveEntry {
    std::array<std::uint8_t, 8> name{};  // NUL-padded; a name of 8 bytes has no terminator
    std::uint32_t offset = 0;            // 24 bits in the file
    std::uint16_t length = 0;

    std::string_view nameView() const;
};

class Archive {
public:
    static constexpr int kEntryCount = 1500;
    static constexpr int kEntrySize = 14;
    static constexpr int kDirectorySize = kEntryCount * kEntrySize;  // 21 000
    static constexpr int kMaxChunkLength = 32768;
    static constexpr int kMaxNameLength = 8;

    // Reads the directory of `file`. A file shorter than the directory leaves the missing
    // entries empty. False, with the archive unchanged, when the file cannot be read.
    // The file is read, now and for every chunk later, through `files`.
    bool loadDirectory(const std::filesystem::path& file, FileStore& files = systemFiles());
    // How many directory bytes the last loadDirectory found in its file; fewer than
    // kDirectorySize for a truncated archive.
    int directoryBytesRead() const { return directoryBytesRead_; }

    // Takes the directory from bytes already in memory (tools and tests).
    void setDirectory(std::span<const std::uint8_t> bytes);

    // Index of the first entry whose name equals `name` in full, ASCII letters folded; -1 when
    // none does. A name longer than 8 bytes never matches.
    int findEntry(std::string_view name) const;

    ArchiveEntry entry(int index) const;
    const std::filesystem::path& file() const { return file_; }

    // Reads chunk `index` from the file and decodes it into `buffer` (kMaxChunkLength bytes).
    // Returns the chunk's length, or -1 with `error` set when the entry is longer than a chunk
    // may be, points past the end of the file, or the file cannot be read. On failure the
    // buffer may hold partial data.
    int readChunk(int index, std::uint8_t* buffer, std::string& error) const;

private:
    std::array<std::uint8_t, kDirectorySize> directory_{};
    std::filesystem::path file_;
    FileStore* files_ = nullptr;
    int directoryBytesRead_ = kDirectorySize;
};

// Chunk bytes are stored as (256 - b) mod 256; the same operation encodes and decodes.
void negateBytes(std::uint8_t* bytes, std::size_t count);

}  // namespace corvan
