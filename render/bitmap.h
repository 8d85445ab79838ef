#pragma once

// The game's 24-bit bitmap: pixels stored top row first, three bytes each in the order blue,
// green, red, as a 24-bit BMP holds them. The game draws only on bitmaps of its own; a host
// shows finished ones.

#include <cstdint>
#include <vector>

namespace corvan {

class Bitmap {
public:
    Bitmap() = default;
    Bitmap(int width, int height) { resize(width, height); }

    // New size; every pixel black.
    void resize(int width, int height) {
        width_ = width > 0 ? width : 0;
        height_ = height > 0 ? height : 0;
        pixels_.assign(static_cast<std::size_t>(width_) * height_ * 3, 0);
    }

    int width() const { return width_; }
    int height() const { return height_; }
    std::size_t stride() const { return static_cast<std::size_t>(width_) * 3; }

    std::uint8_t* row(int y) { return pixels_.data() + stride() * y; }
    const std::uint8_t* row(int y) const { return pixels_.data() + stride() * y; }

    // Colour as 0xBBGGRR; 0 outside the bitmap.
    std::uint32_t pixel(int x, int y) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
        const std::uint8_t* p = row(y) + x * 3;
        return static_cast<std::uint32_t>(p[0]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 |
               p[2];
    }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> pixels_;
};

}  // namespace corvan
