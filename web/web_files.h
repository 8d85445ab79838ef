#pragma once

// The browser's file store: the page serves the game folder ("/game": the demo from the site, or
// the files of a folder the player picked, which stay on their machine) and the save folder
// ("/save", kept in the browser's storage, one store for each game).

#include "engine/file_store.h"

namespace corvan::web {

inline constexpr const char* kGameFolder = "/game";
inline constexpr const char* kSaveFolder = "/save";

class WebFiles : public FileStore {
public:
    std::optional<std::filesystem::path> find(const std::filesystem::path& base,
                                              std::string_view relative) override;
    FileStatus status(const std::filesystem::path& path) override;
    bool opensForReading(const std::filesystem::path& path) override;
    bool read(const std::filesystem::path& path, std::uint64_t offset, std::size_t maxBytes,
              std::vector<std::uint8_t>& bytes) override;
    bool write(const std::filesystem::path& path, std::string_view bytes,
               std::string& error) override;
};

}  // namespace corvan::web
