#pragma once

// BMP files: what the game's pictures decode to and how its resource artwork is stored. The
// reader takes what the game's own platform read: 1-, 4-, 8-, 16- (5-5-5, or any bit fields
// such as 5-6-5), 24- and 32-bit pictures, bottom-up or top-down, and run-length 8- and 4-bit
// ones; anything else, or any file whose numbers do not add up, is refused with a message and
// never read outside its bytes.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "render/bitmap.h"

namespace corvan {

std::optional<Bitmap> readBmp(std::span<const std::uint8_t> file, std::string& error);

// A 24-bit bottom-up BMP file of the bitmap.
std::vector<std::uint8_t> writeBmp(const Bitmap& bitmap);

}  // namespace corvan
