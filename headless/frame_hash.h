#pragma once

// A short fingerprint of a screen, for golden runs that compare every transition frame with
// the frames of a recorded run: 64-bit FNV-1a over the pixels, row by row, three bytes a pixel.

#include <cstdint>
#include <string>

#include "render/bitmap.h"

namespace corvan {

inline std::uint64_t frameHash(const Bitmap& screen) {
    std::uint64_t hash = 14695981039346656037ull;
    for (int y = 0; y < screen.height(); ++y) {
        const std::uint8_t* p = screen.row(y);
        for (std::size_t i = 0; i < screen.stride(); ++i) {
            hash = (hash ^ p[i]) * 1099511628211ull;
        }
    }
    return hash;
}

// The hash as 16 lower-case hexadecimal digits.
inline std::string frameHashText(const Bitmap& screen) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::uint64_t hash = frameHash(screen);
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4)
        text[static_cast<std::size_t>(i)] = kDigits[hash & 15];
    return text;
}

}  // namespace corvan
