#include "web/web_files.h"

#include "web/page.h"

namespace corvan::web {

std::optional<std::filesystem::path> WebFiles::find(const std::filesystem::path& base,
                                                    std::string_view relative) {
    if (auto found = page::findFile(base.string(), relative)) return std::filesystem::path(*found);
    return std::nullopt;
}

FileStatus WebFiles::status(const std::filesystem::path& path) {
    return page::fileStatus(path.string());
}

bool WebFiles::opensForReading(const std::filesystem::path& path) {
    return page::fileOpensForReading(path.string());
}

bool WebFiles::read(const std::filesystem::path& path, std::uint64_t offset, std::size_t maxBytes,
                    std::vector<std::uint8_t>& bytes) {
    return page::readFile(path.string(), offset, maxBytes, bytes);
}

bool WebFiles::write(const std::filesystem::path& path, std::string_view bytes,
                     std::string& error) {
    return page::writeFile(path.string(), bytes, error);
}

}  // namespace corvan::web
