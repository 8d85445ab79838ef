#pragma once

// Reads PNG files into game bitmaps, for the picture tools. Every kind of PNG is taken:
// palette, grey and 16-bit pictures are converted to 8-bit RGB, and an alpha channel or a
// transparent colour is dropped (pixels keep their colour values, so a see-through key colour
// must be painted into the picture itself).

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "render/bitmap.h"

namespace corvan {

// The largest picture read, in pixels; anything bigger is refused before it is decoded.
constexpr std::int64_t kMaxPngPixels = 16 * 1024 * 1024;

// True when `file` starts with the PNG signature.
bool looksLikePng(std::span<const std::uint8_t> file);

// The picture, or nothing with `error` set for a damaged, truncated or oversized file.
std::optional<Bitmap> readPng(std::span<const std::uint8_t> file, std::string& error);

}  // namespace corvan
