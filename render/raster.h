#pragma once

// Drawing on game bitmaps: block copies with the raster operations the game uses, fills,
// pattern fills, stretching and colour-keyed drawing. Every operation clips against both
// bitmaps, so no rectangle, however wrong, reads or writes outside them, and marks what it drew
// on as the destination's damage.

#include <cstdint>

#include "render/bitmap.h"

namespace corvan {

enum class RasterOp {
    Copy,               // dst = src
    And,                // dst = dst & src
    Or,                 // dst = dst | src
    CopyInverted,       // dst = ~src
    InvertDestination,  // dst = ~dst (the source is not read)
};

// Colours are 24-bit values written 0xBBGGRR.
constexpr std::uint32_t rgb(int red, int green, int blue) {
    return static_cast<std::uint32_t>(blue & 0xFF) << 16 |
           static_cast<std::uint32_t>(green & 0xFF) << 8 | static_cast<std::uint32_t>(red & 0xFF);
}

// Copies `size` pixels from (sx, sy) of `src` to (dx, dy) of `dst` with `op`.
void blit(Bitmap& dst, int dx, int dy, int width, int height, const Bitmap& src, int sx, int sy,
          RasterOp op = RasterOp::Copy);
// The whole of `src` at (dx, dy).
void draw(Bitmap& dst, int dx, int dy, const Bitmap& src, RasterOp op = RasterOp::Copy);
// Rectangle `r` of `src` to the same rectangle of `dst`.
void copyRect(Bitmap& dst, const Bitmap& src, Rect r, RasterOp op = RasterOp::Copy);

// Copies every `step`-th one-pixel column of rectangle `r`, from its left edge on, from `src`
// to the same place in `dst`: the columns of a blind in one pass down the rows.
void copyColumns(Bitmap& dst, const Bitmap& src, Rect r, int step);

void fillRect(Bitmap& dst, Rect r, std::uint32_t colour);
// Fills `r` with the 8x8 `tile` repeated from the bitmap's origin (a pattern brush).
void fillPattern(Bitmap& dst, Rect r, const Bitmap& tile);
// Nearest-neighbour stretch of rectangle `from` of `src` into rectangle `to` of `dst`.
void stretch(Bitmap& dst, Rect to, const Bitmap& src, Rect from);
// Mixes `src` into rectangle `r` of `dst` (where both bitmaps have it) bit by bit through the
// 8x8 `tile` repeated from the bitmaps' origin: where a bit of the tile is set, dst keeps its
// bit; where it is clear, src's bit takes its place. The same as dst AND pattern, then dst OR
// (src AND NOT pattern), in one pass. Any other tile size leaves dst alone.
void blendThroughPattern(Bitmap& dst, const Bitmap& src, Rect r, const Bitmap& tile);
// Draws `src` at (dx, dy), leaving out every pixel of colour `key`.
void drawKeyed(Bitmap& dst, int dx, int dy, const Bitmap& src, std::uint32_t key);

}  // namespace corvan
