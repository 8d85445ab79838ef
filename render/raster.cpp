#include "render/raster.h"

#include <algorithm>
#include <cstring>

namespace corvan {

namespace {

// Shrinks a copy of w x h pixels from (sx, sy) to (dx, dy) so both rectangles lie inside their
// bitmaps. False when nothing is left.
bool clipCopy(const Bitmap& dst, int& dx, int& dy, int& w, int& h, const Bitmap& src, int& sx,
              int& sy) {
    if (dx < 0) { sx -= dx; w += dx; dx = 0; }
    if (dy < 0) { sy -= dy; h += dy; dy = 0; }
    if (sx < 0) { dx -= sx; w += sx; sx = 0; }
    if (sy < 0) { dy -= sy; h += sy; sy = 0; }
    w = std::min({w, dst.width() - dx, src.width() - sx});
    h = std::min({h, dst.height() - dy, src.height() - sy});
    return w > 0 && h > 0;
}

Rect clipRect(const Bitmap& b, Rect r) {
    return {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, b.width()),
            std::min(r.bottom, b.height())};
}

void combineRow(std::uint8_t* d, const std::uint8_t* s, std::size_t n, RasterOp op) {
    switch (op) {
        case RasterOp::Copy: std::memmove(d, s, n); break;
        case RasterOp::And:
            for (std::size_t i = 0; i < n; ++i) d[i] &= s[i];
            break;
        case RasterOp::Or:
            for (std::size_t i = 0; i < n; ++i) d[i] |= s[i];
            break;
        case RasterOp::CopyInverted:
            for (std::size_t i = 0; i < n; ++i) d[i] = static_cast<std::uint8_t>(~s[i]);
            break;
        case RasterOp::InvertDestination:
            for (std::size_t i = 0; i < n; ++i) d[i] = static_cast<std::uint8_t>(~d[i]);
            break;
    }
}

}  // namespace

void blit(Bitmap& dst, int dx, int dy, int width, int height, const Bitmap& src, int sx, int sy,
          RasterOp op) {
    if (!clipCopy(dst, dx, dy, width, height, src, sx, sy)) return;
    const std::size_t bytes = static_cast<std::size_t>(width) * 3;
    // A copy within one bitmap must not read rows it has already written.
    const bool sameBitmap = &dst == &src;
    const bool bottomUp = sameBitmap && dy > sy;
    for (int i = 0; i < height; ++i) {
        const int row = bottomUp ? height - 1 - i : i;
        combineRow(dst.row(dy + row) + dx * 3, src.row(sy + row) + sx * 3, bytes, op);
    }
}

void draw(Bitmap& dst, int dx, int dy, const Bitmap& src, RasterOp op) {
    blit(dst, dx, dy, src.width(), src.height(), src, 0, 0, op);
}

void copyRect(Bitmap& dst, const Bitmap& src, Rect r, RasterOp op) {
    blit(dst, r.left, r.top, r.width(), r.height(), src, r.left, r.top, op);
}

void fillRect(Bitmap& dst, Rect r, std::uint32_t colour) {
    r = clipRect(dst, r);
    if (r.empty()) return;
    const std::uint8_t b = static_cast<std::uint8_t>(colour >> 16);
    const std::uint8_t g = static_cast<std::uint8_t>(colour >> 8);
    const std::uint8_t red = static_cast<std::uint8_t>(colour);
    for (int y = r.top; y < r.bottom; ++y) {
        std::uint8_t* p = dst.row(y) + r.left * 3;
        for (int x = r.left; x < r.right; ++x, p += 3) {
            p[0] = b;
            p[1] = g;
            p[2] = red;
        }
    }
}

void fillPattern(Bitmap& dst, Rect r, const Bitmap& tile) {
    r = clipRect(dst, r);
    if (r.empty() || tile.width() <= 0 || tile.height() <= 0) return;
    for (int y = r.top; y < r.bottom; ++y) {
        const std::uint8_t* tileRow = tile.row(y % tile.height());
        std::uint8_t* p = dst.row(y) + r.left * 3;
        for (int x = r.left; x < r.right; ++x, p += 3) {
            std::memcpy(p, tileRow + (x % tile.width()) * 3, 3);
        }
    }
}

void stretch(Bitmap& dst, Rect to, const Bitmap& src, Rect from) {
    if (to.empty() || from.empty()) return;
    const Rect clipped = clipRect(dst, to);
    for (int y = clipped.top; y < clipped.bottom; ++y) {
        const long long sy64 =
            from.top + static_cast<long long>(y - to.top) * from.height() / to.height();
        const int sy = static_cast<int>(sy64);
        if (sy < 0 || sy >= src.height()) continue;
        const std::uint8_t* srcRow = src.row(sy);
        std::uint8_t* p = dst.row(y) + clipped.left * 3;
        for (int x = clipped.left; x < clipped.right; ++x, p += 3) {
            const int sx = static_cast<int>(
                from.left + static_cast<long long>(x - to.left) * from.width() / to.width());
            if (sx < 0 || sx >= src.width()) continue;
            std::memcpy(p, srcRow + sx * 3, 3);
        }
    }
}

void drawKeyed(Bitmap& dst, int dx, int dy, const Bitmap& src, std::uint32_t key) {
    int sx = 0, sy = 0, w = src.width(), h = src.height();
    if (!clipCopy(dst, dx, dy, w, h, src, sx, sy)) return;
    const std::uint8_t kb = static_cast<std::uint8_t>(key >> 16);
    const std::uint8_t kg = static_cast<std::uint8_t>(key >> 8);
    const std::uint8_t kr = static_cast<std::uint8_t>(key);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* s = src.row(sy + y) + sx * 3;
        std::uint8_t* d = dst.row(dy + y) + dx * 3;
        for (int x = 0; x < w; ++x, s += 3, d += 3) {
            if (s[0] == kb && s[1] == kg && s[2] == kr) continue;
            std::memcpy(d, s, 3);
        }
    }
}

}  // namespace corvan
