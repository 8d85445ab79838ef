#pragma once

// The game's 24-bit bitmap: pixels stored top row first, three bytes each in the order blue,
// green, red, as a 24-bit BMP holds them. The game draws only on bitmaps of its own; a host
// shows finished ones.

#include <algorithm>
#include <cstdint>
#include <vector>

namespace corvan {

// Rectangles are (left, top, right, bottom) with right and bottom exclusive.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    bool operator==(const Rect&) const = default;
};

class Bitmap {
public:
    Bitmap() = default;
    Bitmap(int width, int height) { resize(width, height); }

    // New size; every pixel black.
    void resize(int width, int height) {
        width_ = width > 0 ? width : 0;
        height_ = height > 0 ? height : 0;
        pixels_.assign(static_cast<std::size_t>(width_) * height_ * 3, 0);
        markDamage({0, 0, width_, height_});
    }

    // The part drawn on since the damage was last taken, for a host that shows the bitmap to
    // show only what changed. Every drawing operation (render/raster.h) marks what it touches.
    void markDamage(Rect r) {
        r = {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width_),
             std::min(r.bottom, height_)};
        if (r.empty()) return;
        damage_ = damage_.empty()
                      ? r
                      : Rect{std::min(damage_.left, r.left), std::min(damage_.top, r.top),
                             std::max(damage_.right, r.right), std::max(damage_.bottom, r.bottom)};
    }
    Rect damage() const { return damage_; }
    // Taking the damage is the bookkeeping of showing the bitmap, not a change of its picture,
    // so a host that is handed the bitmap to show takes it too.
    Rect takeDamage() const {
        const Rect taken = damage_;
        damage_ = {};
        return taken;
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
    mutable Rect damage_;
};

}  // namespace corvan
