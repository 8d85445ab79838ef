#include "engine/file_store.h"

#include "engine/cp932.h"

namespace corvan {

std::optional<std::filesystem::path> findScriptFile(FileStore& files,
                                                    const std::filesystem::path& base,
                                                    std::string_view cp932Relative) {
    const std::string utf8 = cp932ToUtf8(cp932Relative);
    if (auto found = files.find(base, utf8)) return found;
    if (utf8 == cp932Relative) return std::nullopt;
    return files.find(base, cp932Relative);
}

}  // namespace corvan
