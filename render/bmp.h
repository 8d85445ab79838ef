#pragma once

// BMP files: what the game's pictures decode to and how its resource artwork is stored. The
// reader takes uncompressed 1-, 4-, 8- and 24-bit pictures (and 32-bit ones, dropping the
// fourth byte), bottom-up or top-down; anything else, or any file whose numbers do not add up,
// is refused with a message and never read outside its bytes.

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
