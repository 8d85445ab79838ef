#pragma once

// Files the program writes are written whole or not at all: the bytes go to a temporary file
// in the same folder, which is then renamed over the old file. A crash or a full disk in the
// middle leaves the old file as it was.

#include <filesystem>
#include <string>
#include <string_view>

namespace corvan {

// False, with `error` set and the old file untouched, when anything fails.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string& error);

}  // namespace corvan
