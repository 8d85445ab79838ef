#pragma once

// Files the program writes are written whole or not at all: the bytes go to a temporary file
// with a fresh unique name in the same folder, synced to the disk, then renamed over the old
// file, and the folder is synced so that the new name lasts too. A crash, a power cut
// or a full disk in the middle leaves the old file as it was, and a temporary file left behind
// by an earlier crash never stands in the way. When the path is a symbolic link, its target is
// replaced and the link stays; a file that existed keeps its permissions (and, where the
// system allows, its owner).

#include <filesystem>
#include <string>
#include <string_view>

namespace corvan {

// False, with `error` naming the file and the reason, when anything fails: the old file is
// then untouched, except when only the folder's sync failed after the new file took its
// place. Nothing of the attempt is left beside the file.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         std::string& error);

}  // namespace corvan
