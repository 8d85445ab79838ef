#pragma once

// The artwork the program carries: BMP files from the source tree's resources folder, built
// into the program. Names are the file names without ".bmp": "DIZA", "TEXT_BG", "HEART",
// "SELECTBG", "FWIN3", "FUKURO" and "PLATE", matched exactly.

#include <cstdint>
#include <span>
#include <string_view>

#include "render/bitmap.h"

namespace corvan {

// The BMP file bytes of the named resource; empty when there is none of that name. The bytes
// live as long as the program.
std::span<const std::uint8_t> resourceBytes(std::string_view name);

// The named resource decoded into a bitmap; an empty (0x0) bitmap when there is none of that
// name or its bytes are no readable BMP.
Bitmap loadResource(std::string_view name);

}  // namespace corvan
