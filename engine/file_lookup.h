#pragma once

// Game files are found without regard to the letter case of each path component, because the
// game discs carry upper-case names ("GRA/A/A001.PRS", "MG_DATA.STF") and scripts name them in
// any case.

#include <filesystem>
#include <optional>
#include <string_view>

namespace corvan {

// `relative` uses '/' or '\' between components. Returns the path of an existing file or
// folder under `base` whose components match, trying the exact name first; nullopt when none.
std::optional<std::filesystem::path> findIgnoringCase(const std::filesystem::path& base,
                                                      std::string_view relative);

// A file named by the script (engine/file_store.h), in the file system.
std::optional<std::filesystem::path> findScriptFile(const std::filesystem::path& base,
                                                    std::string_view cp932Relative);

}  // namespace corvan
