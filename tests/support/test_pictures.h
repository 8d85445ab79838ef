#pragma once

// Pictures for tests: bitmaps drawn in code and written as PRS files where a game finds them.

#include <cstdint>
#include <filesystem>
#include <functional>

#include "render/bitmap.h"

namespace corvan::test {

// A bitmap whose every pixel is `colour(x, y)` (0xBBGGRR).
Bitmap makeBitmap(int width, int height, const std::function<std::uint32_t(int, int)>& colour);
Bitmap solidBitmap(int width, int height, std::uint32_t colour);

// Writes `bitmap` as a 24-bit BMP compressed to PRS at `file`, making its folders.
void writePrs(const std::filesystem::path& file, const Bitmap& bitmap);

}  // namespace corvan::test
