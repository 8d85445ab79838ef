// Drawing on game bitmaps: raster operations, clipping, fills, pattern fills, stretching and
// colour-keyed drawing.

#include "render/raster.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace corvan {
namespace {

constexpr std::uint32_t kBorder = 0x5A5A5A;

// A bitmap whose every pixel has its own colour, so a pixel copied from the wrong place shows.
Bitmap numbered(int width, int height, std::uint32_t base = 0x100000) {
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            fillRect(b, {x, y, x + 1, y + 1}, base + static_cast<std::uint32_t>(y * 4096 + x));
        }
    }
    return b;
}

bool inside(const Rect& r, int x, int y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

Bitmap filled(int width, int height, std::uint32_t colour) {
    Bitmap b(width, height);
    fillRect(b, {0, 0, width, height}, colour);
    return b;
}

// Pixel (x, y) of `b` as its three stored bytes.
std::array<std::uint8_t, 3> bytesAt(const Bitmap& b, int x, int y) {
    const std::uint8_t* p = b.row(y) + x * 3;
    return {p[0], p[1], p[2]};
}

// What a plain copy of w x h pixels from (sx, sy) of `src` to (dx, dy) of `before` must give:
// every pixel whose source and destination both lie inside their bitmaps is copied, every
// other pixel keeps its colour.
Bitmap expectedCopy(const Bitmap& before, int dx, int dy, int w, int h, const Bitmap& src, int sx,
                    int sy) {
    Bitmap out = before;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            if (x < dx || x >= dx + w || y < dy || y >= dy + h) continue;
            const int fx = sx + x - dx, fy = sy + y - dy;
            if (fx < 0 || fy < 0 || fx >= src.width() || fy >= src.height()) continue;
            fillRect(out, {x, y, x + 1, y + 1}, src.pixel(fx, fy));
        }
    }
    return out;
}

// Every pixel (x, y) of `actual` is `want(x, y)`; only the first wrong pixel is reported.
void expectPixels(const Bitmap& actual, const std::function<std::uint32_t(int, int)>& want,
                  const std::string& what = "") {
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            if (actual.pixel(x, y) != want(x, y)) {
                ADD_FAILURE() << what << ": pixel (" << x << ", " << y << ") is " << std::hex
                              << actual.pixel(x, y) << ", expected " << want(x, y);
                return;
            }
        }
    }
}

void expectSamePixels(const Bitmap& actual, const Bitmap& expected, const std::string& what) {
    ASSERT_EQ(actual.width(), expected.width()) << what;
    ASSERT_EQ(actual.height(), expected.height()) << what;
    expectPixels(
        actual, [&](int x, int y) { return expected.pixel(x, y); }, what);
}

// --- Raster operations ---

TEST(RasterOps, GivenEachOperation_ThenEveryByteIsCombinedAsNamed) {
    // Bytes in memory: blue, green, red.
    const std::uint32_t dstColour = 0xAA330F;  // blue AA, green 33, red 0F
    const std::uint32_t srcColour = 0x3C55F0;  // blue 3C, green 55, red F0
    struct Case {
        RasterOp op;
        std::array<std::uint8_t, 3> bytes;  // blue, green, red
    };
    const Case cases[] = {
        {RasterOp::Copy, {0x3C, 0x55, 0xF0}},
        {RasterOp::And, {0x28, 0x11, 0x00}},
        {RasterOp::Or, {0xBE, 0x77, 0xFF}},
        {RasterOp::CopyInverted, {0xC3, 0xAA, 0x0F}},
        {RasterOp::InvertDestination, {0x55, 0xCC, 0xF0}},
    };
    for (const Case& c : cases) {
        Bitmap dst = filled(4, 3, dstColour);
        const Bitmap src = filled(4, 3, srcColour);
        blit(dst, 1, 1, 2, 1, src, 0, 0, c.op);
        EXPECT_EQ(bytesAt(dst, 1, 1), c.bytes) << static_cast<int>(c.op);
        EXPECT_EQ(bytesAt(dst, 2, 1), c.bytes) << static_cast<int>(c.op);
        // Nothing outside the rectangle changes.
        fillRect(dst, {1, 1, 3, 2}, dstColour);
        expectSamePixels(dst, filled(4, 3, dstColour), std::to_string(static_cast<int>(c.op)));
    }
}

TEST(RasterOps, GivenInvertDestination_ThenEveryPixelIsInvertedAndTwiceGivesItBack) {
    const Bitmap original = numbered(5, 4);
    const auto inverted = [&](int x, int y) { return ~original.pixel(x, y) & 0xFFFFFF; };
    Bitmap dst = original;
    const Bitmap unrelated = filled(5, 4, 0x123456);
    draw(dst, 0, 0, unrelated, RasterOp::InvertDestination);
    expectPixels(dst, inverted, "whatever the source");
    draw(dst, 0, 0, unrelated, RasterOp::InvertDestination);
    expectSamePixels(dst, original, "inverted twice");
    // Drawn onto itself, as the dissolve transition turns its pattern into its negative.
    draw(dst, 0, 0, dst, RasterOp::InvertDestination);
    expectPixels(dst, inverted, "drawn onto itself");
}

TEST(RasterOps, GivenAndThenOrWithMaskAndInverse_ThenTheResultMixesBothPictures) {
    // The masking idiom of the dither dissolve: keep the old picture where the mask is white,
    // put the new one where it is black.
    const Bitmap oldPicture = filled(4, 1, 0x102030);
    const Bitmap newPicture = filled(4, 1, 0xC0B0A0);
    Bitmap mask(4, 1);
    fillRect(mask, {0, 0, 2, 1}, 0xFFFFFF);  // left half white, right half black
    Bitmap screen = oldPicture;
    draw(screen, 0, 0, mask, RasterOp::And);
    Bitmap inverse = mask;
    draw(inverse, 0, 0, inverse, RasterOp::InvertDestination);
    draw(inverse, 0, 0, newPicture, RasterOp::And);
    draw(screen, 0, 0, inverse, RasterOp::Or);
    expectPixels(
        screen, [](int x, int) { return x < 2 ? 0x102030u : 0xC0B0A0u; }, "mixed");
}

TEST(RasterOps, GivenBlendThroughPattern_ThenItEqualsAndThenOrWithThePatternAndItsInverse) {
    // Rectangles that start at every byte phase of the tile, end within the first 48 bytes or
    // far beyond, and reach outside the bitmaps.
    const Bitmap tile = numbered(8, 8, 0xA5C30F);
    const Bitmap newPicture = numbered(72, 12, 0x5A3CF0);
    const Rect rects[] = {{0, 0, 72, 12},   {1, 0, 72, 12}, {5, 2, 66, 9}, {3, 1, 18, 4},
                          {-4, -2, 90, 20}, {7, 12, 8, 13}, {9, 3, 9, 9}};
    for (const Rect& r : rects) {
        const std::string what = std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                                 std::to_string(r.right) + "," + std::to_string(r.bottom);
        Bitmap screen = numbered(72, 12);
        Bitmap expected = screen;
        Bitmap pattern(72, 12);
        fillPattern(pattern, r, tile);
        copyRect(expected, pattern, r, RasterOp::And);
        copyRect(pattern, pattern, r, RasterOp::InvertDestination);
        copyRect(pattern, newPicture, r, RasterOp::And);
        copyRect(expected, pattern, r, RasterOp::Or);
        blendThroughPattern(screen, newPicture, r, tile);
        expectSamePixels(screen, expected, what);
    }
    Bitmap screen = numbered(20, 4);
    blendThroughPattern(screen, newPicture, {0, 0, 20, 4}, numbered(4, 8));
    expectSamePixels(screen, numbered(20, 4), "a tile not 8x8");
}

// --- Block copies and clipping ---

TEST(RasterBlit, GivenCopyColumns_ThenEveryStepthColumnFromTheLeftEdgeIsCopiedClipped) {
    const Bitmap src = numbered(30, 9, 0x400000);
    struct Case {
        Rect r;
        int step;
    };
    const Case cases[] = {{{0, 0, 30, 9}, 8}, {{3, 1, 29, 8}, 8},  {{-5, -2, 40, 12}, 3},
                          {{2, 0, 3, 9}, 1},  {{31, 0, 40, 9}, 2}, {{0, 0, 30, 9}, 0}};
    for (const Case& c : cases) {
        Bitmap expected = numbered(28, 10);
        for (int x = c.r.left; c.step > 0 && x < c.r.right; x += c.step) {
            copyRect(expected, src, {x, c.r.top, x + 1, c.r.bottom});
        }
        Bitmap dst = numbered(28, 10);
        copyColumns(dst, src, c.r, c.step);
        expectSamePixels(dst, expected,
                         std::to_string(c.r.left) + " step " + std::to_string(c.step));
    }
}

TEST(RasterBlit, GivenRectangleInsideBothBitmaps_ThenExactlyThosePixelsAreCopied) {
    const Bitmap src = numbered(6, 5);
    Bitmap dst = filled(8, 7, kBorder);
    const Bitmap before = dst;
    blit(dst, 3, 2, 3, 4, src, 1, 1);
    expectSamePixels(dst, expectedCopy(before, 3, 2, 3, 4, src, 1, 1), "inside");
    EXPECT_EQ(dst.pixel(3, 2), src.pixel(1, 1));
    EXPECT_EQ(dst.pixel(5, 5), src.pixel(3, 4));
}

TEST(RasterBlit, GivenRectanglesPartlyOrWhollyOutside_ThenOnlyTheOverlapIsCopied) {
    const Bitmap src = numbered(5, 4);
    struct Case {
        int dx, dy, w, h, sx, sy;
    };
    const Case cases[] = {
        {-2, -1, 5, 4, 0, 0},   // destination hangs over the top-left corner
        {5, 4, 5, 4, 0, 0},     // destination hangs over the bottom-right corner
        {1, 1, 5, 4, -2, -3},   // source starts before the source bitmap
        {0, 0, 7, 6, 2, 1},     // source runs past the source bitmap's end
        {-3, 2, 9, 9, -1, -1},  // both at once
        {-10, 0, 5, 4, 0, 0},   // wholly left of the destination
        {0, 20, 5, 4, 0, 0},    // wholly below the destination
        {0, 0, 5, 4, 5, 0},     // source wholly right of the source bitmap
        {0, 0, 5, 4, -5, -4},   // source wholly before the source bitmap
        {2, 2, 0, 3, 0, 0},     // no width
        {2, 2, 3, -2, 0, 0},    // negative height
        {1000000, 1000000, 5, 4, 0, 0},
        {-1000000, -1000000, 2000000, 2000000, 0, 0},
    };
    for (const Case& c : cases) {
        Bitmap dst = filled(7, 6, kBorder);
        const Bitmap before = dst;
        blit(dst, c.dx, c.dy, c.w, c.h, src, c.sx, c.sy);
        expectSamePixels(dst, expectedCopy(before, c.dx, c.dy, c.w, c.h, src, c.sx, c.sy),
                         "blit at " + std::to_string(c.dx) + "," + std::to_string(c.dy) + " from " +
                             std::to_string(c.sx) + "," + std::to_string(c.sy));
    }
}

TEST(RasterBlit, GivenClippedBlitWithAnd_ThenOnlyTheOverlapIsCombined) {
    const Bitmap src = filled(4, 4, 0x0F0F0F);
    Bitmap dst = filled(5, 5, 0xFFFFFF);
    blit(dst, -2, 3, 4, 4, src, 0, 0, RasterOp::And);
    expectPixels(dst, [](int x, int y) { return x < 2 && y >= 3 ? 0x0F0F0Fu : 0xFFFFFFu; });
}

TEST(RasterBlit, GivenDrawAtNegativePosition_ThenTheVisiblePartLinesUp) {
    const Bitmap src = numbered(4, 4);
    Bitmap dst = filled(3, 3, kBorder);
    draw(dst, -1, -2, src);
    // (0, 0) shows source (1, 2); the bottom row keeps its colour, source row 4 does not exist.
    expectSamePixels(dst, expectedCopy(filled(3, 3, kBorder), -1, -2, 4, 4, src, 0, 0), "draw");
}

TEST(RasterBlit, GivenCopyRect_ThenTheSameRectangleOfTheSourceIsCopiedClipped) {
    const Bitmap src = numbered(6, 6);
    Bitmap dst = filled(6, 6, kBorder);
    const Bitmap before = dst;
    copyRect(dst, src, {-1, 2, 3, 9});
    expectSamePixels(dst, expectedCopy(before, -1, 2, 4, 7, src, -1, 2), "copyRect");
    EXPECT_EQ(dst.pixel(0, 2), src.pixel(0, 2));
    EXPECT_EQ(dst.pixel(3, 2), kBorder);
}

TEST(RasterBlit, GivenOverlappingCopyWithinOneBitmap_ThenTheResultIsAsFromASnapshot) {
    struct Case {
        int dx, dy, sx, sy;
    };
    const Case cases[] = {
        {0, 1, 0, 0},  // down
        {0, 0, 0, 1},  // up
        {1, 0, 0, 0},  // right
        {0, 0, 1, 0},  // left
        {2, 1, 0, 0},  // down and right
        {0, 0, 1, 2},  // up and left
    };
    for (const Case& c : cases) {
        Bitmap b = numbered(6, 6);
        const Bitmap snapshot = b;
        blit(b, c.dx, c.dy, 4, 4, b, c.sx, c.sy);
        expectSamePixels(b, expectedCopy(snapshot, c.dx, c.dy, 4, 4, snapshot, c.sx, c.sy),
                         "self copy " + std::to_string(c.dx) + "," + std::to_string(c.dy));
    }
}

TEST(RasterBlit, GivenEmptyBitmaps_ThenNothingHappens) {
    Bitmap empty;
    const Bitmap src = numbered(3, 3);
    draw(empty, 0, 0, src);
    EXPECT_EQ(empty.width(), 0);
    Bitmap dst = filled(3, 3, kBorder);
    draw(dst, 0, 0, Bitmap{});
    expectSamePixels(dst, filled(3, 3, kBorder), "empty source");
}

// --- Fills ---

TEST(RasterFill, GivenColour_ThenBytesAreBlueGreenRed) {
    Bitmap b(2, 2);
    fillRect(b, {0, 0, 2, 2}, rgb(0x11, 0x22, 0x33));
    EXPECT_EQ(bytesAt(b, 1, 1), (std::array<std::uint8_t, 3>{0x33, 0x22, 0x11}));
    EXPECT_EQ(b.pixel(0, 0), 0x332211u);
}

TEST(RasterFill, GivenRectanglePartlyOutside_ThenOnlyTheInsideIsFilled) {
    const Rect rects[] = {
        {-3, -2, 2, 3},     {4, 3, 20, 20}, {-5, 1, 50, 2}, {2, -9, 3, 50},
        {-10, -10, -1, -1}, {6, 0, 9, 5},   {3, 3, 3, 5},   {4, 4, 2, 2},
    };
    for (const Rect& r : rects) {
        Bitmap b = filled(6, 5, kBorder);
        fillRect(b, r, 0x00FF00);
        expectPixels(
            b, [&](int x, int y) { return inside(r, x, y) ? 0x00FF00u : kBorder; },
            std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
                "," + std::to_string(r.bottom));
    }
}

TEST(RasterPattern, GivenTile_ThenItRepeatsFromTheBitmapOriginNotTheRectangle) {
    const Bitmap tile = numbered(8, 8, 0x400000);
    Bitmap b = filled(30, 27, kBorder);
    const Rect r{3, 5, 21, 26};
    fillPattern(b, r, tile);
    expectPixels(
        b, [&](int x, int y) { return inside(r, x, y) ? tile.pixel(x % 8, y % 8) : kBorder; });
}

TEST(RasterPattern, GivenRectangleReachingOutside_ThenTheClippedPartKeepsTheOriginAlignment) {
    const Bitmap tile = numbered(8, 8, 0x400000);
    Bitmap b = filled(13, 11, kBorder);
    fillPattern(b, {-5, -3, 100, 100}, tile);
    expectPixels(b, [&](int x, int y) { return tile.pixel(x % 8, y % 8); });
    Bitmap untouched = filled(4, 4, kBorder);
    fillPattern(untouched, {4, 0, 9, 4}, tile);
    fillPattern(untouched, {0, 0, 4, 4}, Bitmap{});
    expectSamePixels(untouched, filled(4, 4, kBorder), "outside or no tile");
}

// --- Stretching ---

TEST(RasterStretch, GivenEvenOrUnevenFactors_ThenEachTargetPixelTakesTheSourcePixelAtItsStart) {
    // Doubling makes every source pixel a two by two block.
    const Bitmap small = numbered(3, 2);
    Bitmap doubled = filled(6, 4, kBorder);
    stretch(doubled, {0, 0, 6, 4}, small, {0, 0, 3, 2});
    expectPixels(
        doubled, [&](int x, int y) { return small.pixel(x / 2, y / 2); }, "doubled");

    // Target pixel i of n takes source pixel floor(i * m / n) of m.
    const Bitmap src = numbered(5, 3);
    Bitmap up = filled(8, 5, kBorder);
    stretch(up, {0, 0, 8, 5}, src, {0, 0, 5, 3});
    const int upColumns[8] = {0, 0, 1, 1, 2, 3, 3, 4};  // 5 -> 8
    const int upRows[5] = {0, 0, 1, 1, 2};              // 3 -> 5
    expectPixels(
        up, [&](int x, int y) { return src.pixel(upColumns[x], upRows[y]); }, "up");
    Bitmap down = filled(3, 2, kBorder);
    stretch(down, {0, 0, 3, 2}, src, {0, 0, 5, 3});
    const int downColumns[3] = {0, 1, 3};  // 5 -> 3
    const int downRows[2] = {0, 1};        // 3 -> 2
    expectPixels(
        down, [&](int x, int y) { return src.pixel(downColumns[x], downRows[y]); }, "down");
}

TEST(RasterStretch, GivenSourceAndTargetRectanglesInsideLargerBitmaps_ThenOffsetsAreHonoured) {
    const Bitmap src = numbered(10, 10);
    Bitmap dst = filled(10, 10, kBorder);
    stretch(dst, {5, 6, 7, 8}, src, {2, 3, 6, 7});  // 4x4 -> 2x2
    expectPixels(dst, [&](int x, int y) {
        return inside({5, 6, 7, 8}, x, y) ? src.pixel(2 + 2 * (x - 5), 3 + 2 * (y - 6)) : kBorder;
    });
}

TEST(RasterStretch, GivenTargetPartlyOutside_ThenTheVisiblePartIsAsIfUnclipped) {
    const Bitmap src = numbered(4, 4);
    // The whole stretch into a big bitmap, then the same stretch into a small one shifted so
    // that it hangs over every edge.
    Bitmap big = filled(16, 16, kBorder);
    stretch(big, {4, 4, 12, 12}, src, {0, 0, 4, 4});
    Bitmap small = filled(6, 6, kBorder);
    stretch(small, {-3, -2, 5, 6}, src, {0, 0, 4, 4});
    expectPixels(small, [&](int x, int y) { return x < 5 ? big.pixel(x + 7, y + 6) : kBorder; });
}

TEST(RasterStretch, GivenSourceRectanglePartlyOutsideTheSource_ThenMissingPixelsAreLeftAlone) {
    const Bitmap src = numbered(2, 2);
    Bitmap dst = filled(4, 4, kBorder);
    stretch(dst, {0, 0, 4, 4}, src, {-1, -1, 3, 3});  // 4x4 source area, one to one
    expectPixels(dst, [&](int x, int y) {
        return inside({1, 1, 3, 3}, x, y) ? src.pixel(x - 1, y - 1) : kBorder;
    });
}

TEST(RasterStretch, GivenRowsRepeatedFromASourcePartlyOutside_ThenMissingPixelsStayAsTheyWere) {
    // Every target row is taken twice; the columns and rows with no source keep their own
    // colours, however the rows above them look.
    const Bitmap src = numbered(2, 2);
    const Bitmap before = numbered(4, 8, 0x300000);
    Bitmap dst = before;
    stretch(dst, {0, 0, 4, 8}, src, {-1, -1, 3, 3});
    expectPixels(dst, [&](int x, int y) {
        return inside({1, 2, 3, 6}, x, y) ? src.pixel(x - 1, y / 2 - 1) : before.pixel(x, y);
    });
}

TEST(RasterStretch, GivenEveryWidthOfTheSqueeze_ThenEachColumnTakesItsSourceAndNoOtherChanges) {
    // The squeeze flip's widths and a few others, onto the middle of a wider bitmap: pixels are
    // copied in runs and blocks that must neither miss one nor spill past the target.
    const Bitmap src = numbered(640, 3);
    const int widths[] = {640, 632, 573, 484, 321, 320, 316, 110, 50, 1, 700, 1281};
    for (const int width : widths) {
        const Bitmap before = numbered(1300, 4, 0x800000);
        Bitmap dst = before;
        const Rect to{9, 0, 9 + width, 4};
        stretch(dst, to, src, {0, 0, 640, 3});
        expectPixels(
            dst,
            [&](int x, int y) {
                if (!inside(to, x, y)) return before.pixel(x, y);
                return src.pixel((x - 9) * 640 / width, y * 3 / 4);
            },
            std::to_string(width));
    }
}

TEST(RasterStretch, GivenEmptyOrWhollyOutsideRectangles_ThenNothingChanges) {
    const Bitmap src = numbered(4, 4);
    Bitmap dst = filled(5, 5, kBorder);
    stretch(dst, {0, 0, 0, 5}, src, {0, 0, 4, 4});
    stretch(dst, {0, 0, 5, 5}, src, {2, 2, 2, 4});
    stretch(dst, {5, 0, 9, 5}, src, {0, 0, 4, 4});
    stretch(dst, {-9, -9, -1, -1}, src, {0, 0, 4, 4});
    stretch(dst, {0, 0, 5, 5}, src, {10, 10, 14, 14});
    expectSamePixels(dst, filled(5, 5, kBorder), "empty stretches");
}

TEST(RasterStretch, GivenSqueezeToFewerColumns_ThenFullHeightIsKept) {
    // The squeeze flip draws the 640-wide screen into 573 columns of a work bitmap.
    const Bitmap src = numbered(640, 2);
    Bitmap dst(573, 2);
    stretch(dst, {0, 0, 573, 2}, src, {0, 0, 640, 2});
    EXPECT_EQ(dst.pixel(0, 0), src.pixel(0, 0));
    EXPECT_EQ(dst.pixel(572, 1), src.pixel(572 * 640 / 573, 1));
    EXPECT_EQ(dst.pixel(300, 1), src.pixel(300 * 640 / 573, 1));
}

// --- Colour-keyed drawing ---

TEST(RasterKeyed, GivenKeyColour_ThenExactlyThoseSourcePixelsAreLeftOut) {
    const std::uint32_t key = 0xFF00FF;
    const std::uint32_t near[] = {0xFE00FF, 0xFF00FE, 0xFF01FF, 0x00FF00, 0xFFFFFF, 0x000000};
    Bitmap src(7, 1);
    fillRect(src, {0, 0, 1, 1}, key);
    for (int i = 0; i < 6; ++i) fillRect(src, {i + 1, 0, i + 2, 1}, near[i]);
    Bitmap dst = filled(7, 1, kBorder);
    drawKeyed(dst, 0, 0, src, key);
    expectPixels(
        dst, [&](int x, int) { return x == 0 ? kBorder : near[x - 1]; }, "near the key");

    // With black as the key, black is see-through and everything else drawn.
    Bitmap withBlack = numbered(3, 3);
    fillRect(withBlack, {1, 0, 2, 3}, 0x000000);
    Bitmap onto = filled(3, 3, kBorder);
    drawKeyed(onto, 0, 0, withBlack, 0x000000);
    expectPixels(
        onto, [&](int x, int y) { return x == 1 ? kBorder : withBlack.pixel(x, y); }, "black key");
}

TEST(RasterKeyed, GivenPositionsPartlyOrWhollyOutside_ThenOnlyTheOverlapIsDrawn) {
    Bitmap src = numbered(4, 3);
    fillRect(src, {2, 1, 3, 2}, 0x00FF00);  // one key pixel
    const int positions[][2] = {{-2, -1}, {3, 2}, {-1, 1}, {5, 0}, {0, -3}, {-4, 0}, {1, 4}};
    for (const auto& p : positions) {
        Bitmap dst = filled(5, 4, kBorder);
        drawKeyed(dst, p[0], p[1], src, 0x00FF00);
        Bitmap expected = expectedCopy(filled(5, 4, kBorder), p[0], p[1], 4, 3, src, 0, 0);
        // The key pixel stays see-through.
        const int kx = p[0] + 2, ky = p[1] + 1;
        if (kx >= 0 && kx < 5 && ky >= 0 && ky < 4)
            fillRect(expected, {kx, ky, kx + 1, ky + 1}, kBorder);
        expectSamePixels(dst, expected,
                         "keyed at " + std::to_string(p[0]) + "," + std::to_string(p[1]));
    }
}

}  // namespace
}  // namespace corvan
