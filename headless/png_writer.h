#pragma once

// Writes a game bitmap as an RGB PNG file, whole or not at all.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "render/bitmap.h"

namespace corvan {

bool writePng(const Bitmap& bitmap, const std::filesystem::path& path, std::string& error);

// The same as an RGBA PNG: `alpha` holds one opacity a pixel (0 see-through, 255 opaque), row by
// row, width x height of them; false when it holds any other number.
bool writePng(const Bitmap& bitmap, const std::vector<std::uint8_t>& alpha,
              const std::filesystem::path& path, std::string& error);

}  // namespace corvan
