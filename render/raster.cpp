#include "render/raster.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>
#include <vector>

namespace corvan {

namespace {

// Shrinks a copy of w x h pixels from (sx, sy) to (dx, dy) so both rectangles lie inside their
// bitmaps. False when nothing is left.
bool clipCopy(const Bitmap& dst, int& dx, int& dy, int& w, int& h, const Bitmap& src, int& sx,
              int& sy) {
    if (dx < 0) {
        sx -= dx;
        w += dx;
        dx = 0;
    }
    if (dy < 0) {
        sy -= dy;
        h += dy;
        dy = 0;
    }
    if (sx < 0) {
        dx -= sx;
        w += sx;
        sx = 0;
    }
    if (sy < 0) {
        dy -= sy;
        h += sy;
        sy = 0;
    }
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
    for (; i < n; ++i)
        d[i] = static_cast<std::uint8_t>(op(std::uint64_t{d[i]}, std::uint64_t{s[i]}));
}

void combineRow(std::uint8_t* d, const std::uint8_t* s, std::size_t n, RasterOp op) {
    switch (op) {
        case RasterOp::Copy:
            // The interlace and wave effects copy one-pixel columns a row at a time: too short
            // to be worth a call.
            if (n == 3) {
                std::uint8_t pixel[3];
                std::memcpy(pixel, s, 3);
                std::memcpy(d, pixel, 3);
            } else {
                std::memmove(d, s, n);
            }
            break;
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

void copyColumns(Bitmap& dst, const Bitmap& src, Rect r, int step) {
    if (step <= 0 || &dst == &src) return;
    const Rect clipped = clipRect(dst, clipRect(src, r));
    if (clipped.empty()) return;
    dst.markDamage(clipped);
    // The first column of the series inside the clipped rectangle.
    const int first = r.left + (clipped.left - r.left + step - 1) / step * step;
    for (int y = clipped.top; y < clipped.bottom; ++y) {
        std::uint8_t* d = dst.row(y);
        const std::uint8_t* s = src.row(y);
        for (int x = first; x < clipped.right; x += step) std::memcpy(d + x * 3, s + x * 3, 3);
    }
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

namespace {

// The columns of a stretch, worked out once and used for every row: the source byte of each
// target pixel of the span, and the same span as runs of pixels whose sources lie side by
// side. A squeeze to most of the width is a few long runs; one to less than half is single
// pixels, which go faster one by one.
class StretchColumns {
public:
    StretchColumns(std::vector<std::uint32_t> source, std::size_t sourceStride, bool sameBitmap)
        : source_(std::move(source)) {
        for (std::size_t i = 0; i < source_.size(); ++i) {
            if (!runs_.empty() && runs_.back().from + runs_.back().bytes == source_[i]) {
                runs_.back().bytes += 3;
            } else {
                runs_.push_back({i * 3, source_[i], 3, false});
            }
        }
        // A block copy may run up to 15 bytes past its run: in the target that is the next
        // runs' pixels, written afterwards; it must stay inside the span and inside the source
        // row, and never write what is still to be read.
        const std::size_t spanBytes = source_.size() * 3;
        for (Run& run : runs_) {
            const std::size_t blocks = (run.bytes + 15) / 16 * 16;
            run.blocks =
                !sameBitmap && run.to + blocks <= spanBytes && run.from + blocks <= sourceStride;
        }
        byPixel_ = !sameBitmap && runs_.size() * 2 > source_.size();
        // One by one, a pixel is moved as four bytes whose fourth the next pixel overwrites;
        // the span's last pixel, and any that is the source row's last, are moved as three,
        // so that no copy passes either row's end.
        fourBytes_ = source_.size() - 1;
        while (fourBytes_ > 0 && source_[fourBytes_ - 1] + 4 > sourceStride) --fourBytes_;
    }

    std::size_t spanBytes() const { return source_.size() * 3; }

    void copyRow(std::uint8_t* target, const std::uint8_t* sourceRow) const {
        if (byPixel_) {
            for (std::size_t i = 0; i < fourBytes_; ++i) {
                std::uint32_t pixel;
                std::memcpy(&pixel, sourceRow + source_[i], 4);
                std::memcpy(target + 3 * i, &pixel, 4);
            }
            for (std::size_t i = fourBytes_; i < source_.size(); ++i) {
                std::memcpy(target + 3 * i, sourceRow + source_[i], 3);
            }
            return;
        }
        for (const Run& run : runs_) {
            if (run.blocks) {
                for (std::size_t i = 0; i < run.bytes; i += 16) {
                    std::memcpy(target + run.to + i, sourceRow + run.from + i, 16);
                }
            } else {
                std::memmove(target + run.to, sourceRow + run.from, run.bytes);
            }
        }
    }

private:
    struct Run {
        std::size_t to = 0;    // byte offsets from the span's start
        std::size_t from = 0;  // and from the source row's start
        std::size_t bytes = 0;
        bool blocks = false;  // may be copied in 16-byte blocks
    };
    std::vector<std::uint32_t> source_;
    std::vector<Run> runs_;
    bool byPixel_ = false;
    std::size_t fourBytes_ = 0;  // pixels from the span's start that may be moved as four bytes
};

}  // namespace

void stretch(Bitmap& dst, Rect to, const Bitmap& src, Rect from) {
    if (to.empty() || from.empty()) return;
    const Rect clipped = clipRect(dst, to);
    if (clipped.empty()) return;
    dst.markDamage(clipped);
    auto sourceColumn = [&](int x) {
        return static_cast<int>(from.left +
                                static_cast<long long>(x - to.left) * from.width() / to.width());
    };
    // Source columns never decrease from left to right, so the target columns whose source
    // lies inside the source bitmap make one span; the others are left alone.
    int first = clipped.left;
    int last = clipped.right;
    while (first < last && sourceColumn(first) < 0) ++first;
    while (last > first && sourceColumn(last - 1) >= src.width()) --last;
    if (first == last) return;
    std::vector<std::uint32_t> source;
    source.reserve(static_cast<std::size_t>(last - first));
    for (int x = first; x < last; ++x) {
        source.push_back(static_cast<std::uint32_t>(sourceColumn(x)) * 3);
    }
    const StretchColumns columns(std::move(source), src.stride(), &dst == &src);
    int previousSource = -1;
    int previousRow = -1;
    for (int y = clipped.top; y < clipped.bottom; ++y) {
        const int sy = static_cast<int>(from.top + static_cast<long long>(y - to.top) *
                                                       from.height() / to.height());
        if (sy < 0 || sy >= src.height()) continue;
        std::uint8_t* p = dst.row(y) + first * 3;
        if (sy == previousSource) {
            std::memcpy(p, dst.row(previousRow) + first * 3, columns.spanBytes());
        } else {
            columns.copyRow(p, src.row(sy));
        }
        previousSource = sy;
        previousRow = y;
    }
}

void blendThroughPattern(Bitmap& dst, const Bitmap& src, Rect r, const Bitmap& tile) {
    r = clipRect(dst, clipRect(src, r));
    if (r.empty() || tile.width() != 8 || tile.height() != 8) return;
    dst.markDamage(r);
    // A tile row is 24 bytes; laid out from the rectangle's first byte over 48 bytes it lines
    // up with every 48-byte block of the row, worked through in 16-byte arrays of its own,
    // which the compiler turns into vector operations.
    constexpr int kBlock = 48;
    const std::size_t phase = static_cast<std::size_t>(r.left) * 3 % 24;
    std::array<std::array<std::uint8_t, kBlock>, 8> pattern{};
    for (int ty = 0; ty < 8; ++ty) {
        for (std::size_t i = 0; i < kBlock; ++i) pattern[ty][i] = tile.row(ty)[(phase + i) % 24];
    }
    const std::size_t bytes = static_cast<std::size_t>(r.width()) * 3;
    for (int y = r.top; y < r.bottom; ++y) {
        const std::array<std::uint8_t, kBlock>& keep = pattern[static_cast<std::size_t>(y % 8)];
        std::uint8_t* d = dst.row(y) + r.left * 3;
        const std::uint8_t* s = src.row(y) + r.left * 3;
        std::size_t i = 0;
        for (; i + kBlock <= bytes; i += kBlock) {
            for (std::size_t part = 0; part < kBlock; part += 16) {
                std::array<std::uint8_t, 16> mine;
                std::array<std::uint8_t, 16> theirs;
                std::memcpy(mine.data(), d + i + part, 16);
                std::memcpy(theirs.data(), s + i + part, 16);
                for (std::size_t k = 0; k < 16; ++k) {
                    const std::uint8_t bits = keep[part + k];
                    mine[k] = static_cast<std::uint8_t>((mine[k] & bits) | (theirs[k] & ~bits));
                }
                std::memcpy(d + i + part, mine.data(), 16);
            }
        }
        for (std::size_t k = 0; i < bytes; ++i, ++k) {
            d[i] = static_cast<std::uint8_t>((d[i] & keep[k]) | (s[i] & ~keep[k]));
        }
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
