#include "render/raster.h"

#include <algorithm>
#include <cstring>
#include <vector>

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

// Eight bytes at a time, so that a full-screen pass stays well inside a frame's budget.
template <typename Op>
void combineWords(std::uint8_t* d, const std::uint8_t* s, std::size_t n, Op op) {
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t dw, sw;
        std::memcpy(&dw, d + i, 8);
        std::memcpy(&sw, s + i, 8);
        dw = op(dw, sw);
        std::memcpy(d + i, &dw, 8);
    }
    for (; i < n; ++i) d[i] = static_cast<std::uint8_t>(op(std::uint64_t{d[i]}, std::uint64_t{s[i]}));
}

void combineRow(std::uint8_t* d, const std::uint8_t* s, std::size_t n, RasterOp op) {
    switch (op) {
        case RasterOp::Copy: std::memmove(d, s, n); break;
        case RasterOp::And:
            combineWords(d, s, n, [](std::uint64_t a, std::uint64_t b) { return a & b; });
            break;
        case RasterOp::Or:
            combineWords(d, s, n, [](std::uint64_t a, std::uint64_t b) { return a | b; });
            break;
        case RasterOp::CopyInverted:
            combineWords(d, s, n, [](std::uint64_t, std::uint64_t b) { return ~b; });
            break;
        case RasterOp::InvertDestination:
            combineWords(d, d, n, [](std::uint64_t a, std::uint64_t) { return ~a; });
            break;
    }
}

}  // namespace

void blit(Bitmap& dst, int dx, int dy, int width, int height, const Bitmap& src, int sx, int sy,
          RasterOp op) {
    if (!clipCopy(dst, dx, dy, width, height, src, sx, sy)) return;
    dst.markDamage({dx, dy, dx + width, dy + height});
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
    dst.markDamage(r);
    std::uint8_t* first = dst.row(r.top) + r.left * 3;
    for (int x = 0; x < r.width(); ++x) {
        first[x * 3 + 0] = static_cast<std::uint8_t>(colour >> 16);
        first[x * 3 + 1] = static_cast<std::uint8_t>(colour >> 8);
        first[x * 3 + 2] = static_cast<std::uint8_t>(colour);
    }
    const std::size_t bytes = static_cast<std::size_t>(r.width()) * 3;
    for (int y = r.top + 1; y < r.bottom; ++y) std::memcpy(dst.row(y) + r.left * 3, first, bytes);
}

void fillPattern(Bitmap& dst, Rect r, const Bitmap& tile) {
    r = clipRect(dst, r);
    if (r.empty() || tile.width() <= 0 || tile.height() <= 0) return;
    dst.markDamage(r);
    // Each of the tile's rows, laid out once across the rectangle's width, then copied down.
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(tile.height()) * r.width() * 3);
    const std::size_t bytes = static_cast<std::size_t>(r.width()) * 3;
    for (int ty = 0; ty < tile.height(); ++ty) {
        std::uint8_t* p = rows.data() + bytes * ty;
        for (int x = r.left; x < r.right; ++x, p += 3) {
            std::memcpy(p, tile.row(ty) + (x % tile.width()) * 3, 3);
        }
    }
    for (int y = r.top; y < r.bottom; ++y) {
        std::memcpy(dst.row(y) + r.left * 3, rows.data() + bytes * (y % tile.height()), bytes);
    }
}

void stretch(Bitmap& dst, Rect to, const Bitmap& src, Rect from) {
    if (to.empty() || from.empty()) return;
    const Rect clipped = clipRect(dst, to);
    if (clipped.empty()) return;
    dst.markDamage(clipped);
    // Nearest source column for every destination column, worked out once.
    std::vector<int> column(static_cast<std::size_t>(clipped.width()));
    for (int x = clipped.left; x < clipped.right; ++x) {
        column[static_cast<std::size_t>(x - clipped.left)] = static_cast<int>(
            from.left + static_cast<long long>(x - to.left) * from.width() / to.width());
    }
    int previousSource = -1;
    int previousRow = -1;
    for (int y = clipped.top; y < clipped.bottom; ++y) {
        const int sy = static_cast<int>(
            from.top + static_cast<long long>(y - to.top) * from.height() / to.height());
        if (sy < 0 || sy >= src.height()) continue;
        std::uint8_t* p = dst.row(y) + clipped.left * 3;
        if (sy == previousSource && previousRow >= 0) {
            std::memcpy(p, dst.row(previousRow) + clipped.left * 3,
                        static_cast<std::size_t>(clipped.width()) * 3);
        } else {
            const std::uint8_t* srcRow = src.row(sy);
            for (const int sx : column) {
                if (sx >= 0 && sx < src.width()) std::memcpy(p, srcRow + sx * 3, 3);
                p += 3;
            }
        }
        previousSource = sy;
        previousRow = y;
    }
}

void drawKeyed(Bitmap& dst, int dx, int dy, const Bitmap& src, std::uint32_t key) {
    int sx = 0, sy = 0, w = src.width(), h = src.height();
    if (!clipCopy(dst, dx, dy, w, h, src, sx, sy)) return;
    dst.markDamage({dx, dy, dx + w, dy + h});
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
