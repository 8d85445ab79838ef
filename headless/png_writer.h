#pragma once

// Writes a game bitmap as an RGB PNG file, whole or not at all.

#include <filesystem>
#include <string>

#include "render/bitmap.h"

namespace corvan {

bool writePng(const Bitmap& bitmap, const std::filesystem::path& path, std::string& error);

}  // namespace corvan
