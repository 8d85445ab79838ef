#pragma once

// Files the program writes are written whole or not at all: the bytes go to a temporary file
// with a fresh unique name in the same folder, which is then renamed over the old file. A crash
// or a full disk in the middle leaves the old file as it was, and a temporary file left behind
// by an earlier crash never stands in the way. When the path is a symbolic link, its target is
// replaced and the link stays; a file that existed keeps its permissions (and, where the
// system allows, its owner).

#include <filesystem>
#include <string>
#include <string_view>

namespace corvan {

// False, with `error` naming the file and the reason, and the old file untouched, when
// anything fails. Nothing of the attempt is left beside the file.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string& error);

}  // namespace corvan
