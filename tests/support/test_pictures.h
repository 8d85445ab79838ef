#pragma once

// Pictures for tests: bitmaps drawn in code and written as PRS files where a game finds them.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>

#include "render/bitmap.h"
#include "render/raster.h"

namespace corvan::test {

// A bitmap whose every pixel is `colour(x, y)` (0xBBGGRR).
Bitmap makeBitmap(int width, int height, const std::function<std::uint32_t(int, int)>& colour);
Bitmap solidBitmap(int width, int height, std::uint32_t colour);

// Writes `bitmap` as a 24-bit BMP compressed to PRS at `file`, making its folders.
// Compressing a full-screen picture takes a while, so each distinct picture is compressed once
// per test run.
void writePrs(const std::filesystem::path& file, const Bitmap& bitmap);

// Whether `a` and `b` have the same pixels inside `r` (which both must cover).
bool sameArea(const Bitmap& a, const Bitmap& b, Rect r);
// Whether `a` and `b` have the same size and the same pixels.
bool sameBitmap(const Bitmap& a, const Bitmap& b);

// How many pixels of each colour (0xBBGGRR) lie inside `r`.
std::map<std::uint32_t, int> colourCounts(const Bitmap& b, Rect r);

}  // namespace corvan::test
