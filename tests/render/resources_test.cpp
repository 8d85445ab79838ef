// The artwork built into the program: every picture is there at its size and in the form the
// drawing code relies on.

#include "render/resources.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "support/dither_tiles.h"

namespace corvan {
namespace {

using test::kDitherTiles;

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;

// Bits per pixel of the stored BMP file.
int storedBitCount(std::string_view name) {
    const auto bytes = resourceBytes(name);
    if (bytes.size() < 30) return 0;
    return bytes[28] | bytes[29] << 8;
}

std::uint32_t red(std::uint32_t c) {
    return c & 0xFF;
}
std::uint32_t green(std::uint32_t c) {
    return c >> 8 & 0xFF;
}
std::uint32_t blue(std::uint32_t c) {
    return c >> 16 & 0xFF;
}

// Row y of tile t of the loaded strip as a byte, the leftmost pixel in the top bit; fails the
// test on a pixel that is neither black nor white.
std::uint8_t tileRow(const Bitmap& diza, int t, int y) {
    std::uint8_t bits = 0;
    for (int x = 0; x < 8; ++x) {
        const std::uint32_t c = diza.pixel(8 * t + x, y);
        EXPECT_TRUE(c == kWhite || c == kBlack) << "tile " << t << " at " << x << "," << y;
        if (c == kWhite) bits |= static_cast<std::uint8_t>(0x80 >> x);
    }
    return bits;
}

int blackPixels(const Bitmap& diza, int t) {
    int n = 0;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) n += diza.pixel(8 * t + x, y) == kBlack;
    }
    return n;
}

// ---------------------------------------------------------------------------------------------

TEST(Resources, GivenEveryName_ThenThePictureLoadsAtItsSize) {
    struct Case {
        const char* name;
        int width, height;
    };
    const Case cases[] = {{"DIZA", 136, 8},      {"TEXT_BG", 576, 96}, {"HEART", 16, 16},
                          {"SELECTBG", 276, 36}, {"FWIN3", 88, 48},    {"FUKURO", 20, 20},
                          {"PLATE", 100, 60}};
    for (const Case& c : cases) {
        const auto bytes = resourceBytes(c.name);
        ASSERT_GE(bytes.size(), 2u) << c.name;
        EXPECT_EQ(bytes[0], 'B') << c.name;
        EXPECT_EQ(bytes[1], 'M') << c.name;
        const Bitmap b = loadResource(c.name);
        EXPECT_EQ(b.width(), c.width) << c.name;
        EXPECT_EQ(b.height(), c.height) << c.name;
    }
}

TEST(Resources, GivenUnknownName_ThenNothingIsFound) {
    for (const char* name : {"", "NOPE", "diza", "TEXT_B", "TEXT_BG.bmp", "DIZA "}) {
        EXPECT_TRUE(resourceBytes(name).empty()) << name;
        const Bitmap b = loadResource(name);
        EXPECT_EQ(b.width(), 0) << name;
        EXPECT_EQ(b.height(), 0) << name;
    }
}

TEST(Resources, GivenDitherStrip_ThenItIsStoredWithOneBitPerPixel) {
    EXPECT_EQ(storedBitCount("DIZA"), 1);
    EXPECT_EQ(storedBitCount("TEXT_BG"), 8);
}

TEST(ResourcesDiza, GivenTheStrip_ThenEveryTileMatchesTheTableBitForBit) {
    const Bitmap diza = loadResource("DIZA");
    ASSERT_EQ(diza.width(), 136);
    for (int t = 0; t < 17; ++t) {
        for (int y = 0; y < 8; ++y) {
            EXPECT_EQ(tileRow(diza, t, y), kDitherTiles[t][y]) << "tile " << t << " row " << y;
        }
    }
}

TEST(ResourcesDiza, GivenFirstAndLastTiles_ThenTheyAreAllWhiteAndAllBlack) {
    const Bitmap diza = loadResource("DIZA");
    EXPECT_EQ(blackPixels(diza, 0), 0);
    EXPECT_EQ(blackPixels(diza, 16), 64);
}

TEST(ResourcesDiza, GivenTileSix_ThenItsRowsAreTheIrregularOnes) {
    const Bitmap diza = loadResource("DIZA");
    const std::uint8_t rows[8] = {0x55, 0xBB, 0x55, 0xEA, 0x55, 0xBB, 0x55, 0xEE};
    for (int y = 0; y < 8; ++y) EXPECT_EQ(tileRow(diza, 6, y), rows[y]) << y;
    EXPECT_EQ(tileRow(diza, 1, 0), 0x77);
    EXPECT_EQ(tileRow(diza, 13, 1), 0x00);
    EXPECT_EQ(tileRow(diza, 15, 7), 0x88);
}

TEST(ResourcesDiza, GivenConsecutiveTiles_ThenBlackPixelsOnlyEverGrow) {
    const Bitmap diza = loadResource("DIZA");
    for (int t = 0; t < 16; ++t) {
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                if (diza.pixel(8 * t + x, y) == kBlack) {
                    EXPECT_EQ(diza.pixel(8 * (t + 1) + x, y), kBlack)
                        << "tile " << t + 1 << " at " << x << "," << y;
                }
            }
        }
        EXPECT_GT(blackPixels(diza, t + 1), blackPixels(diza, t)) << t;
        EXPECT_NEAR(blackPixels(diza, t), 4 * t, 2) << t;
    }
}

TEST(ResourcesHeart, GivenTheIcon_ThenItIsAWhiteHeartOnBlackWithinTheTopLeft15x15) {
    const Bitmap heart = loadResource("HEART");
    ASSERT_EQ(heart.width(), 16);
    int white = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const std::uint32_t c = heart.pixel(x, y);
            ASSERT_TRUE(c == kWhite || c == kBlack) << x << "," << y;
            if (x == 15 || y == 15) {
                EXPECT_EQ(c, kBlack) << x << "," << y;
            }
            white += c == kWhite;
        }
    }
    EXPECT_GT(white, 80);  // a solid heart, not an outline
    // A heart: two lobes with a notch between them at the top, a point at the bottom.
    EXPECT_EQ(heart.pixel(7, 7), kWhite);
    EXPECT_EQ(heart.pixel(0, 0), kBlack);
    EXPECT_EQ(heart.pixel(14, 0), kBlack);
    EXPECT_EQ(heart.pixel(0, 13), kBlack);
    EXPECT_EQ(heart.pixel(14, 13), kBlack);
    int notchRow = -1;
    for (int y = 0; y < 15 && notchRow < 0; ++y) {
        if (heart.pixel(4, y) == kWhite && heart.pixel(10, y) == kWhite &&
            heart.pixel(7, y) == kBlack) {
            notchRow = y;
        }
    }
    EXPECT_GE(notchRow, 0) << "no notch between the lobes";
}

TEST(ResourcesTextBackdrop, GivenTheFrame_ThenItLiesWithinTheOuterSixPixels) {
    const Bitmap bg = loadResource("TEXT_BG");
    ASSERT_EQ(bg.width(), 576);
    // The outer line and the inner line of the frame are black all round.
    for (int ring : {0, 5}) {
        for (int x = ring; x < 576 - ring; ++x) {
            EXPECT_EQ(bg.pixel(x, ring), kBlack) << x;
            EXPECT_EQ(bg.pixel(x, 95 - ring), kBlack) << x;
        }
        for (int y = ring; y < 96 - ring; ++y) {
            EXPECT_EQ(bg.pixel(ring, y), kBlack) << y;
            EXPECT_EQ(bg.pixel(575 - ring, y), kBlack) << y;
        }
    }
    // Between them a gold bevel: red and green well above blue.
    for (int ring = 1; ring <= 4; ++ring) {
        for (const auto& [x, y] : {std::pair{100, ring}, {ring, 50}, {300, 95 - ring}}) {
            const std::uint32_t c = bg.pixel(x, y);
            EXPECT_GT(red(c), blue(c) + 40) << x << "," << y;
            EXPECT_GT(green(c), blue(c) + 20) << x << "," << y;
        }
    }
    // Inside: dark red wood, with grain (more than one shade).
    std::uint32_t first = bg.pixel(6, 6);
    bool shades = false;
    for (int y = 6; y < 90; ++y) {
        for (int x = 6; x < 570; ++x) {
            const std::uint32_t c = bg.pixel(x, y);
            ASSERT_GT(red(c), green(c)) << x << "," << y;
            ASSERT_GT(red(c), blue(c)) << x << "," << y;
            ASSERT_LT(red(c), 0xC0u) << x << "," << y;
            shades = shades || c != first;
        }
    }
    EXPECT_TRUE(shades);
}

TEST(ResourcesChoiceRow, GivenTheRowBackground_ThenTheTextAreaIsDarkForSilverText) {
    const Bitmap row = loadResource("SELECTBG");
    ASSERT_EQ(row.width(), 276);
    // Text is drawn from (10, 10), 16 pixels high: silver 0xC0 strokes need a dark ground.
    for (int y = 8; y < 30; ++y) {
        for (int x = 8; x < 268; ++x) {
            const std::uint32_t c = row.pixel(x, y);
            ASSERT_LT(std::max({red(c), green(c), blue(c)}), 0x60u) << x << "," << y;
        }
    }
    // A thin light border.
    EXPECT_GT(row.pixel(100, 0) & 0xFF, 0x80u);
    EXPECT_GT(row.pixel(0, 18) & 0xFF, 0x80u);
}

TEST(ResourcesMoneyWindow, GivenBagsCopiedIn_ThenTheirBackgroundMatchesTheWindowInside) {
    // Bags are copied as plain 20x20 squares at (4 + 20i, 4 + 20j): the window's inside and the
    // bag's corners must be one colour, or every bag shows as a box.
    const Bitmap window = loadResource("FWIN3");
    const Bitmap bag = loadResource("FUKURO");
    ASSERT_EQ(window.width(), 88);
    ASSERT_EQ(bag.width(), 20);
    const std::uint32_t inside = window.pixel(4, 4);
    for (int y = 4; y < 44; ++y) {
        for (int x = 4; x < 84; ++x) ASSERT_EQ(window.pixel(x, y), inside) << x << "," << y;
    }
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(bag.pixel(i, 0), inside) << i;
        EXPECT_EQ(bag.pixel(0, i), inside) << i;
        EXPECT_EQ(bag.pixel(19, i), inside) << i;
    }
    // The bag itself is drawn in the middle.
    EXPECT_NE(bag.pixel(10, 12), inside);
    // The frame differs from the inside.
    EXPECT_NE(window.pixel(1, 20), inside);
    EXPECT_NE(window.pixel(86, 20), inside);
}

TEST(ResourcesPlate, GivenTheLabelArea_ThenWhiteTextAndBlackShadowBothShow) {
    const Bitmap plate = loadResource("PLATE");
    ASSERT_EQ(plate.width(), 100);
    // Labels are written in the top 48 rows from x = 8: the plate is of middle brightness there.
    for (int y = 10; y < 48; ++y) {
        for (int x = 8; x < 92; ++x) {
            const std::uint32_t c = plate.pixel(x, y);
            const std::uint32_t brightest = std::max({red(c), green(c), blue(c)});
            ASSERT_GT(brightest, 0x30u) << x << "," << y;
            ASSERT_LT(brightest, 0xD0u) << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace corvan
