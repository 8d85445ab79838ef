#pragma once

// The desktop's file store: the file system itself. Lookups ignore the letter case of each
// component (engine/file_lookup.h); writes go through a temporary file renamed over the old one
// (engine/file_write.h).

#include "engine/file_store.h"

namespace corvan {

class SystemFiles : public FileStore {
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

// The one file store of a desktop program.
SystemFiles& systemFiles();

}  // namespace corvan
