// Reading and writing BMP files: every pixel format the reader takes, row order and padding,
// palettes, and the refusal of damaged or unsupported files.

#include "render/bmp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <random>
#include <vector>

#include "render/raster.h"

namespace corvan {
namespace {

// A BMP file made byte by byte, so the tests do not depend on the writer under test.
struct BmpSpec {
    int width = 1;
    int height = 1;  // negative: rows stored top-down
    int bitCount = 24;
    // The palette index (up to 8 bits) or colour (0xBBGGRR) of pixel (x, y), y from the top.
    std::function<std::uint32_t(int, int)> value = [](int, int) { return 0u; };
    std::vector<std::uint32_t> palette{};  // 0xBBGGRR
    std::uint32_t paletteUsed = 0;
    std::uint32_t headerSize = 40;
    std::uint32_t compression = 0;
    std::size_t gap = 0;          // bytes between the palette and the pixels
    std::uint8_t padding = 0xCD;  // value of the row padding bytes
};

void put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    out[at] = static_cast<std::uint8_t>(v);
    out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    put16(out, at, v & 0xFFFF);
    put16(out, at + 2, v >> 16);
}

std::vector<std::uint8_t> makeBmp(const BmpSpec& s) {
    const int rows = s.height < 0 ? -s.height : s.height;
    const std::size_t entrySize = s.headerSize == 12 ? 3 : 4;
    const std::size_t masks = s.compression == 3 ? 12 : 0;
    const std::size_t paletteStart = 14 + s.headerSize + masks;
    const std::size_t pixelOffset = paletteStart + s.palette.size() * entrySize + s.gap;
    const std::size_t rowBits = static_cast<std::size_t>(s.width) * s.bitCount;
    const std::size_t stride = (rowBits + 31) / 32 * 4;
    std::vector<std::uint8_t> out(pixelOffset + stride * rows, 0);
    out[0] = 'B';
    out[1] = 'M';
    put32(out, 2, static_cast<std::uint32_t>(out.size()));
    put32(out, 10, static_cast<std::uint32_t>(pixelOffset));
    put32(out, 14, s.headerSize);
    if (s.headerSize == 12) {
        put16(out, 18, static_cast<std::uint32_t>(s.width));
        put16(out, 20, static_cast<std::uint32_t>(s.height));
        put16(out, 22, 1);
        put16(out, 24, static_cast<std::uint32_t>(s.bitCount));
    } else {
        put32(out, 18, static_cast<std::uint32_t>(s.width));
        put32(out, 22, static_cast<std::uint32_t>(s.height));
        put16(out, 26, 1);
        put16(out, 28, static_cast<std::uint32_t>(s.bitCount));
        put32(out, 30, s.compression);
        put32(out, 34, static_cast<std::uint32_t>(stride * rows));
        put32(out, 46, s.paletteUsed);
        if (masks != 0) {
            put32(out, 54, 0x00FF0000);
            put32(out, 58, 0x0000FF00);
            put32(out, 62, 0x000000FF);
        }
    }
    for (std::size_t i = 0; i < s.palette.size(); ++i) {
        const std::size_t at = paletteStart + i * entrySize;
        out[at] = static_cast<std::uint8_t>(s.palette[i] >> 16);
        out[at + 1] = static_cast<std::uint8_t>(s.palette[i] >> 8);
        out[at + 2] = static_cast<std::uint8_t>(s.palette[i]);
        if (entrySize == 4) out[at + 3] = 0x77;  // reserved byte, ignored
    }
    for (std::size_t i = paletteStart + s.palette.size() * entrySize; i < pixelOffset; ++i) {
        out[i] = 0xEE;
    }
    for (int y = 0; y < rows; ++y) {
        const int fileRow = s.height < 0 ? y : rows - 1 - y;
        std::uint8_t* row = out.data() + pixelOffset + stride * fileRow;
        for (std::size_t b = (rowBits + 7) / 8; b < stride; ++b) row[b] = s.padding;
        for (int x = 0; x < s.width; ++x) {
            const std::uint32_t v = s.value(x, y);
            switch (s.bitCount) {
                case 1: row[x / 8] |= static_cast<std::uint8_t>((v & 1) << (7 - x % 8)); break;
                case 4: row[x / 2] |= static_cast<std::uint8_t>((v & 15) << (x % 2 ? 0 : 4)); break;
                case 8: row[x] = static_cast<std::uint8_t>(v); break;
                case 24:
                case 32: {
                    std::uint8_t* p = row + x * (s.bitCount / 8);
                    p[0] = static_cast<std::uint8_t>(v >> 16);
                    p[1] = static_cast<std::uint8_t>(v >> 8);
                    p[2] = static_cast<std::uint8_t>(v);
                    if (s.bitCount == 32) p[3] = 0xA5;
                    break;
                }
                default: break;
            }
        }
    }
    return out;
}

Bitmap read(const std::vector<std::uint8_t>& file) {
    std::string error;
    auto bitmap = readBmp(file, error);
    EXPECT_TRUE(bitmap.has_value()) << error;
    return bitmap.value_or(Bitmap{});
}

void expectRefused(const std::vector<std::uint8_t>& file, const std::string& what) {
    std::string error;
    EXPECT_FALSE(readBmp(file, error).has_value()) << what;
    EXPECT_FALSE(error.empty()) << what;
}

std::uint32_t colourOf(int x, int y) {
    return static_cast<std::uint32_t>(0x204060 + x * 0x010203 + y * 0x100000);
}

std::vector<std::uint32_t> ramp(std::uint32_t size, std::uint32_t (*entry)(std::uint32_t)) {
    std::vector<std::uint32_t> palette;
    for (std::uint32_t i = 0; i < size; ++i) palette.push_back(entry(i));
    return palette;
}

// Reads the file made from `s`: every pixel has the colour `s` put there, through the palette
// for depths up to 8 bits.
void expectReadBack(const BmpSpec& s) {
    const Bitmap b = read(makeBmp(s));
    ASSERT_EQ(b.width(), s.width);
    ASSERT_EQ(b.height(), std::abs(s.height));
    for (int y = 0; y < b.height(); ++y) {
        for (int x = 0; x < s.width; ++x) {
            const std::uint32_t v = s.value(x, y);
            ASSERT_EQ(b.pixel(x, y), s.bitCount <= 8 ? s.palette[v] : v) << "at " << x << "," << y;
        }
    }
}

// --- Reading ---

TEST(BmpRead, GivenEachPixelFormatAndLayout_ThenEveryPixelIsRead) {
    using U = std::uint32_t;
    std::vector<std::pair<std::string, BmpSpec>> cases = {
        {"24-bit bottom-up, 9 bytes a row and 3 of padding", {3, 2, 24, colourOf}},
        {"24-bit top-down: rows keep their order", {5, -3, 24, colourOf}},
        {"32-bit: the fourth byte is dropped", {3, 2, 32, colourOf}},
        {"32-bit with bit fields naming the usual byte order", {3, -2, 32, colourOf, {}, 0, 40, 3}},
        {"8-bit through the palette",
         {6, 3, 8, [](int x, int y) { return U(x * 40 + y * 7); },
          ramp(256, [](U i) { return i * 0x010101 ^ 0x00FF00; })}},
        {"8-bit short palette: pixels right after the three used entries",
         {3, 1, 8, [](int x, int) { return U(2 - x); }, {0x0000FF, 0x00FF00, 0xFF0000}, 3}},
        {"4-bit odd width: the high nibble is the left pixel",
         {5, 2, 4, [](int x, int y) { return U((x * 3 + y * 5) % 16); },
          ramp(16, [](U i) { return i * 0x111111; })}},
        // Two bytes a row, padded to four; red for 0, cyan for 1.
        {"1-bit: the most significant bit is the left pixel",
         {10,
          -2,
          1,
          [](int x, int y) { return U((0x2D5 >> (x + y) % 10) & 1); },
          {0x0000FF, 0xFFFF00}}},
        // The core header has no count of used colours: the palette has all 256 entries.
        {"core header: palette entries of three bytes",
         {4, 2, 8, [](int x, int y) { return U(x * 60 + y); },
          ramp(256, [](U i) { return (0x112233 + i * 0x030201) & 0xFFFFFF; }), 0, 12}},
        {"core header, 24-bit", {3, 3, 24, colourOf, {}, 0, 12}},
        {"gap before the pixels: the pixel offset is honoured",
         {2,
          2,
          8,
          [](int x, int y) { return U((x + y) % 2); },
          {0x000000, 0xFFFFFF},
          2,
          40,
          0,
          37}},
    };
    for (int width = 1; width <= 5; ++width) {
        cases.push_back(
            {"every padding: width " + std::to_string(width), {width, 4, 24, colourOf}});
    }
    for (const auto& [name, layout] : cases) {
        SCOPED_TRACE(name);
        expectReadBack(layout);
    }
}

// A BMP file around pixel bytes given as they are stored: a 40-byte header, then the colour
// masks (for bit fields) or the palette, then `data`.
std::vector<std::uint8_t> storedBmp(int width, int height, int bitCount, std::uint32_t compression,
                                    const std::vector<std::uint32_t>& paletteOrMasks,
                                    const std::vector<std::uint8_t>& data) {
    const std::size_t pixelOffset = 54 + paletteOrMasks.size() * 4;
    std::vector<std::uint8_t> out(pixelOffset, 0);
    out[0] = 'B';
    out[1] = 'M';
    put32(out, 10, static_cast<std::uint32_t>(pixelOffset));
    put32(out, 14, 40);
    put32(out, 18, static_cast<std::uint32_t>(width));
    put32(out, 22, static_cast<std::uint32_t>(height));
    put16(out, 26, 1);
    put16(out, 28, static_cast<std::uint32_t>(bitCount));
    put32(out, 30, compression);
    if (bitCount <= 8) put32(out, 46, static_cast<std::uint32_t>(paletteOrMasks.size()));
    for (std::size_t i = 0; i < paletteOrMasks.size(); ++i)
        put32(out, 54 + 4 * i, paletteOrMasks[i]);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::vector<std::uint32_t> rowOf(const Bitmap& b, int y) {
    std::vector<std::uint32_t> row;
    for (int x = 0; x < b.width(); ++x) row.push_back(b.pixel(x, y));
    return row;
}

TEST(BmpRead, GivenSixteenBitPixels_ThenEachFieldIsWidenedToEightBitsByShifting) {
    using Row = std::vector<std::uint32_t>;
    // Five-five-five without masks: white, red, green, blue, the lowest step of grey; one row,
    // padded to twelve bytes.
    const Bitmap plain = read(storedBmp(
        5, 1, 16, 0, {}, {0xFF, 0x7F, 0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0x21, 0x04, 0xAB, 0xCD}));
    EXPECT_EQ(rowOf(plain, 0), (Row{0xF8F8F8, 0x0000F8, 0x00F800, 0xF80000, 0x080808}));
    // Five-six-five in bit fields: white and the greens of six bits.
    const Bitmap fields = read(storedBmp(3, 1, 16, 3, {0xF800, 0x07E0, 0x001F},
                                         {0xFF, 0xFF, 0xE0, 0x07, 0x20, 0x00, 0, 0}));
    EXPECT_EQ(rowOf(fields, 0), (Row{0xF8FCF8, 0x00FC00, 0x000400}));
    // Thirty-two bits with red in the lowest byte.
    const Bitmap reversed =
        read(storedBmp(1, 1, 32, 3, {0x0000FF, 0x00FF00, 0xFF0000}, {0x11, 0x22, 0x33, 0x44}));
    EXPECT_EQ(reversed.pixel(0, 0), 0x332211u);
    // Masks with a hole or none at all are no colour.
    expectRefused(storedBmp(1, 1, 16, 3, {0xF000, 0x07E0, 0x001F}, {0, 0}), "no red");
    expectRefused(storedBmp(1, 1, 16, 3, {0xF800, 0x05E0, 0x001F}, {0, 0}), "holed green");
}

TEST(BmpRead, GivenRunLengthPictures_ThenEveryRunMoveAndEndIsFollowed) {
    using Row = std::vector<std::uint32_t>;
    const std::vector<std::uint32_t> palette = {0x010101, 0x111111, 0x222222, 0x333333,
                                                0x444444, 0x555555, 0x666666, 0x777777,
                                                0x888888, 0x999999, 0xAAAAAA, 0xBBBBBB};
    // Bottom row: a run of three 5s, end of row. Middle: 1 2 3 given one by one (padded), a
    // move of one to the right, end of row. Top: a move to column 2, a run of two 7s, end.
    const Bitmap eight = read(storedBmp(4, 3, 8, 1, palette, {3, 5, 0, 0, 0, 3, 1, 2, 3, 0, 0, 2,
                                                              1, 0, 0, 0, 0, 2, 2, 0, 2, 7, 0, 1}));
    const std::uint32_t unset = palette[0];  // pixels no run sets
    EXPECT_EQ(rowOf(eight, 0), (Row{unset, unset, palette[7], palette[7]}));
    EXPECT_EQ(rowOf(eight, 1), (Row{palette[1], palette[2], palette[3], unset}));
    EXPECT_EQ(rowOf(eight, 2), (Row{palette[5], palette[5], palette[5], unset}));
    // Four bits: a run alternates the two nibbles; three pixels one by one take two bytes.
    const Bitmap four =
        read(storedBmp(5, 2, 4, 2, palette, {5, 0xAB, 0, 0, 0, 3, 0x12, 0x30, 0, 1}));
    EXPECT_EQ(rowOf(four, 0), (Row{palette[1], palette[2], palette[3], unset, unset}));
    EXPECT_EQ(rowOf(four, 1),
              (Row{palette[10], palette[11], palette[10], palette[11], palette[10]}));

    const std::vector<std::pair<const char*, std::vector<std::uint8_t>>> malformed = {
        {"a run past the row's end", {5, 1, 0, 1}},
        {"no end before the rows are done", {3, 5}},
        {"a move above the top", {0, 2, 0, 9, 0, 1}},
        {"pixels one by one cut short", {0, 5, 1, 2}},
        {"an end of row past the top, then a run", {0, 0, 0, 0, 0, 0, 1, 1, 0, 1}},
    };
    for (const auto& [what, data] : malformed) {
        expectRefused(storedBmp(4, 3, 8, 1, palette, data), what);
    }
    std::vector<std::uint8_t> topDown = storedBmp(4, 3, 8, 1, palette, {0, 1});
    put32(topDown, 22, static_cast<std::uint32_t>(-3));
    expectRefused(topDown, "top-down");
}

// --- Writing ---

TEST(BmpWrite, GivenBitmap_ThenFileIs24BitBottomUpWithPaddedRows) {
    Bitmap b(3, 2);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) fillRect(b, {x, y, x + 1, y + 1}, colourOf(x, y));
    }
    const std::vector<std::uint8_t> file = writeBmp(b);
    ASSERT_EQ(file.size(), 54u + 2 * 12);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(file[28], 24);
    // File size, pixel offset, header size, width, height (positive: bottom-up), uncompressed.
    for (const auto& [at, value] :
         {std::pair{2, 78}, {10, 54}, {14, 40}, {18, 3}, {22, 2}, {30, 0}}) {
        EXPECT_EQ(file[at] | file[at + 1] << 8 | file[at + 2] << 16 | file[at + 3] << 24, value)
            << "at " << at;
    }
    // The first stored row is the bottom one: pixel (0, 1) in blue, green, red order; then the
    // padding bytes are zero.
    const std::uint32_t c = colourOf(0, 1);
    EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 54, file.begin() + 57),
              (std::vector<std::uint8_t>{static_cast<std::uint8_t>(c >> 16),
                                         static_cast<std::uint8_t>(c >> 8),
                                         static_cast<std::uint8_t>(c)}));
    EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 63, file.begin() + 66),
              std::vector<std::uint8_t>(3, 0));
}

TEST(BmpWrite, GivenBitmapsOfManySizes_ThenWriteThenReadGivesTheSamePixels) {
    std::mt19937 random(7);
    for (const auto& [w, h] :
         {std::pair{1, 1}, {2, 3}, {3, 2}, {4, 4}, {5, 1}, {17, 9}, {640, 2}}) {
        Bitmap b(w, h);
        for (int y = 0; y < h; ++y) {
            for (std::size_t i = 0; i < b.stride(); ++i) {
                b.row(y)[i] = static_cast<std::uint8_t>(random());
            }
        }
        const Bitmap back = read(writeBmp(b));
        ASSERT_EQ(back.width(), w);
        ASSERT_EQ(back.height(), h);
        for (int y = 0; y < h; ++y) {
            ASSERT_TRUE(std::equal(b.row(y), b.row(y) + b.stride(), back.row(y)))
                << w << "x" << h << " row " << y;
        }
    }
}

// --- Refusals ---

std::vector<std::uint8_t> smallPaletteFile() {
    return makeBmp({5,
                    3,
                    8,
                    [](int x, int y) { return static_cast<std::uint32_t>((x + y) % 4); },
                    {0x000000, 0x404040, 0x808080, 0xC0C0C0},
                    4});
}

TEST(BmpRefuse, GivenFileCutAnywhere_ThenItIsRefused) {
    // Header (54 bytes), palette (16 bytes) and pixels (3 rows of 8 bytes): every cut is a
    // damaged file, whichever part it falls into.
    const std::vector<std::uint8_t> file = smallPaletteFile();
    ASSERT_EQ(file.size(), 54u + 16 + 24);
    read(file);
    for (std::size_t size = 0; size < file.size(); ++size) {
        expectRefused(std::vector<std::uint8_t>(file.begin(), file.begin() + size),
                      "cut to " + std::to_string(size) + " bytes");
    }
}

TEST(BmpRefuse, GivenZeroOrNegativeOrHugeSizes_ThenTheFileIsRefused) {
    const std::pair<std::int32_t, std::int32_t> sizes[] = {
        {0, 3},         {5, 0},         {-5, 3},        {100000, 100000},
        {70000, 70000}, {5, INT32_MIN}, {INT32_MAX, 2}, {INT32_MAX, INT32_MAX},
        {65536, 65536},
    };
    for (const auto& [w, h] : sizes) {
        std::vector<std::uint8_t> file = smallPaletteFile();
        put32(file, 18, static_cast<std::uint32_t>(w));
        put32(file, 22, static_cast<std::uint32_t>(h));
        expectRefused(file, std::to_string(w) + "x" + std::to_string(h));
    }
}

TEST(BmpRefuse, GivenCompressedFiles_ThenTheyAreRefused) {
    struct Case {
        int bitCount;
        std::uint32_t compression;
    };
    // Bit fields on a 24- or 8-bit picture, run lengths at the other depth, JPEG and PNG.
    const Case cases[] = {{8, 2}, {4, 1}, {24, 3}, {24, 4}, {24, 5}, {8, 3}};
    for (const Case& c : cases) {
        BmpSpec s{4, 2, c.bitCount};
        if (c.bitCount <= 8) s.palette.assign(1u << c.bitCount, 0x808080);
        std::vector<std::uint8_t> file = makeBmp(s);
        put32(file, 30, c.compression);
        expectRefused(file, "compression " + std::to_string(c.compression));
    }
}

TEST(BmpRefuse, GivenUnsupportedDepthsHeadersOrPixelOffsets_ThenTheFileIsRefused) {
    for (int bitCount : {0, 2, 48, 64}) {
        expectRefused(makeBmp({4, 2, bitCount}), std::to_string(bitCount) + " bits");
    }
    // Header sizes no reader knows or reaching past the whole file, pixel offsets past its end.
    const std::pair<std::size_t, std::uint32_t> patches[] = {
        {14, 0u},          {14, 20u},     {14, 39u},     {14, 0xFFFFFFF6u}, {14, 0xFFFFFFFFu},
        {14, 0x80000000u}, {14, 100000u}, {10, 94 - 10}, {10, 0xFFFFFFFFu},
    };
    for (const auto& [at, value] : patches) {
        std::vector<std::uint8_t> file = smallPaletteFile();
        put32(file, at, value);
        expectRefused(file, std::to_string(value) + " at " + std::to_string(at));
    }
    std::vector<std::uint8_t> notBmp = smallPaletteFile();
    notBmp[0] = 'M';
    notBmp[1] = 'B';
    expectRefused(notBmp, "wrong signature");
    expectRefused({}, "empty");
}

TEST(BmpRefuse, GivenGarbageAndDamagedFiles_ThenReadingNeverFailsBadly) {
    // Random damage to valid files of every depth: each read either gives a picture of a sane
    // size or a message. Run under a sanitizer, this also shows no byte outside the file is read.
    std::mt19937 random(1234);
    std::vector<std::vector<std::uint8_t>> seeds;
    for (int bitCount : {1, 4, 8, 24, 32}) {
        BmpSpec s{7, bitCount % 8 == 0 ? -3 : 3, bitCount, colourOf};
        if (bitCount <= 8) s.palette.assign(1u << bitCount, 0x123456);
        seeds.push_back(makeBmp(s));
    }
    for (int round = 0; round < 3000; ++round) {
        std::vector<std::uint8_t> file = seeds[round % seeds.size()];
        const int flips = 1 + static_cast<int>(random() % 6);
        for (int i = 0; i < flips; ++i) {
            // Mostly the header, where the numbers are.
            const std::size_t at = random() % 4 != 0 ? random() % 60 : random() % file.size();
            if (at < file.size()) file[at] = static_cast<std::uint8_t>(random());
        }
        if (random() % 5 == 0) file.resize(random() % (file.size() + 1));
        std::string error;
        const auto bitmap = readBmp(file, error);
        if (bitmap) {
            EXPECT_GT(bitmap->width(), 0);
            EXPECT_GT(bitmap->height(), 0);
            EXPECT_LE(static_cast<std::int64_t>(bitmap->width()) * bitmap->height(),
                      16 * 1024 * 1024);
        } else {
            EXPECT_FALSE(error.empty());
        }
    }
    for (int round = 0; round < 500; ++round) {
        std::vector<std::uint8_t> file(random() % 200);
        for (auto& b : file) b = static_cast<std::uint8_t>(random());
        if (file.size() >= 2 && round % 2 == 0) {
            file[0] = 'B';
            file[1] = 'M';
        }
        std::string error;
        if (!readBmp(file, error)) {
            EXPECT_FALSE(error.empty());
        }
    }
}

}  // namespace
}  // namespace corvan
