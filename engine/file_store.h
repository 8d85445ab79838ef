#pragma once

// The files the game reads and writes: the game folder's archive, pictures, music and voices,
// and the save folder's saves and seen record. The game reaches them only through this
// interface, which its host hands out (`Host::files`): the desktop's is the file system
// (engine/system_files.h); the browser's serves the game from the web or the player's own
// folder and keeps the saves in the browser's storage.
//
// Paths are those the game builds from its two folders, with '/' between components.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace corvan {

struct FileStatus {
    bool exists = false;       // a file or a folder
    bool regularFile = false;  // a file, not a folder
    std::uint64_t size = 0;    // of a regular file; 0 when it cannot be told
    bool sizeKnown = false;
};

class FileStore {
public:
    virtual ~FileStore() = default;

    // An existing file or folder under `base` whose components match `relative` ('/' or '\'
    // between them) without regard to the letter case of ASCII letters, the exact name first;
    // nullopt when there is none.
    virtual std::optional<std::filesystem::path> find(const std::filesystem::path& base,
                                                      std::string_view relative) = 0;

    virtual FileStatus status(const std::filesystem::path& path) = 0;

    // True when the path is a regular file that opens for reading.
    virtual bool opensForReading(const std::filesystem::path& path) = 0;

    // Up to `maxBytes` bytes of a regular file from `offset` on, into `bytes` (resized to what
    // was read: fewer at the file's end). False when the file does not open or a read fails.
    virtual bool read(const std::filesystem::path& path, std::uint64_t offset, std::size_t maxBytes,
                      std::vector<std::uint8_t>& bytes) = 0;

    // Replaces the file whole or not at all. False, with `error` naming the file and the
    // reason, and the old file untouched, when anything fails.
    virtual bool write(const std::filesystem::path& path, std::string_view bytes,
                       std::string& error) = 0;
};

// A file named by the script, whose names are code page 932 bytes: a game copied from its disc
// onto Linux has UTF-8 file names, so the UTF-8 form is looked for first, then the bytes as
// they are (a copy that kept the disc's own bytes).
std::optional<std::filesystem::path> findScriptFile(FileStore& files,
                                                    const std::filesystem::path& base,
                                                    std::string_view cp932Relative);

}  // namespace corvan
