// Reading and writing BMP files: every pixel format the reader takes, row order and padding,
// palettes, and the refusal of damaged or unsupported files.

#include "render/bmp.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

namespace corvan {
namespace {

// A BMP file made byte by byte, so the tests do not depend on the writer under test.
struct BmpSpec {
    int width = 1;
    int height = 1;  // negative: rows stored top-down
    int bitCount = 24;
    std::uint32_t headerSize = 40;
    std::uint32_t compression = 0;
    std::uint32_t paletteUsed = 0;
    std::vector<std::uint32_t> palette;  // 0xBBGGRR
    std::size_t gap = 0;                 // bytes between the palette and the pixels
    std::uint8_t padding = 0xCD;         // value of the row padding bytes
    // The palette index (up to 8 bits) or colour (0xBBGGRR) of pixel (x, y), y from the top.
    std::function<std::uint32_t(int, int)> value = [](int, int) { return 0u; };
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
    const auto bitmap = readBmp(file, error);
    EXPECT_FALSE(bitmap.has_value()) << what;
    EXPECT_FALSE(error.empty()) << what;
}

std::uint32_t colourOf(int x, int y) {
    return static_cast<std::uint32_t>(0x204060 + x * 0x010203 + y * 0x100000);
}

void expectPixels(const Bitmap& b, int width, int height,
                  const std::function<std::uint32_t(int, int)>& colour) {
    ASSERT_EQ(b.width(), width);
    ASSERT_EQ(b.height(), height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            ASSERT_EQ(b.pixel(x, y), colour(x, y)) << "at " << x << "," << y;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Reading

TEST(BmpRead, Given24BitBottomUpFileWithPadding_ThenRowsComeTopFirst) {
    BmpSpec s;
    s.width = 3;  // 9 bytes a row, 3 bytes of padding
    s.height = 2;
    s.value = colourOf;
    expectPixels(read(makeBmp(s)), 3, 2, colourOf);
}

TEST(BmpRead, Given24BitTopDownFile_ThenRowsKeepTheirOrder) {
    BmpSpec s;
    s.width = 5;
    s.height = -3;
    s.value = colourOf;
    expectPixels(read(makeBmp(s)), 5, 3, colourOf);
}

TEST(BmpRead, GivenWidthsWithEveryPadding_ThenEveryRowLinesUp) {
    for (int width = 1; width <= 5; ++width) {
        BmpSpec s;
        s.width = width;
        s.height = 4;
        s.value = colourOf;
        expectPixels(read(makeBmp(s)), width, 4, colourOf);
    }
}

TEST(BmpRead, Given32BitFile_ThenTheFourthByteIsDropped) {
    BmpSpec s;
    s.width = 3;
    s.height = 2;
    s.bitCount = 32;
    s.value = colourOf;
    expectPixels(read(makeBmp(s)), 3, 2, colourOf);
    s.compression = 3;  // bit fields naming the usual byte order
    s.height = -2;
    expectPixels(read(makeBmp(s)), 3, 2, colourOf);
}

TEST(BmpRead, Given8BitFile_ThenIndexesGoThroughThePalette) {
    BmpSpec s;
    s.width = 6;
    s.height = 3;
    s.bitCount = 8;
    for (std::uint32_t i = 0; i < 256; ++i) s.palette.push_back(i * 0x010101 ^ 0x00FF00);
    auto index = [](int x, int y) { return static_cast<std::uint32_t>(x * 40 + y * 7); };
    s.value = index;
    expectPixels(read(makeBmp(s)), 6, 3, [&](int x, int y) { return s.palette[index(x, y)]; });
}

TEST(BmpRead, Given8BitFileWithShortPalette_ThenOnlyTheUsedEntriesAreRead) {
    BmpSpec s;
    s.width = 3;
    s.height = 1;
    s.bitCount = 8;
    s.paletteUsed = 3;
    s.palette = {0x0000FF, 0x00FF00, 0xFF0000};
    s.value = [](int x, int) { return static_cast<std::uint32_t>(2 - x); };
    // The pixels follow right after the three entries.
    expectPixels(read(makeBmp(s)), 3, 1, [&](int x, int) { return s.palette[2 - x]; });
}

TEST(BmpRead, Given4BitFileOfOddWidth_ThenTheHighNibbleIsTheLeftPixel) {
    BmpSpec s;
    s.width = 5;
    s.height = 2;
    s.bitCount = 4;
    for (std::uint32_t i = 0; i < 16; ++i) s.palette.push_back(i * 0x111111);
    auto index = [](int x, int y) { return static_cast<std::uint32_t>((x * 3 + y * 5) % 16); };
    s.value = index;
    expectPixels(read(makeBmp(s)), 5, 2, [&](int x, int y) { return s.palette[index(x, y)]; });
}

TEST(BmpRead, Given1BitFile_ThenTheMostSignificantBitIsTheLeftPixel) {
    BmpSpec s;
    s.width = 10;  // two bytes a row, padded to four
    s.height = -2;
    s.bitCount = 1;
    s.palette = {0x0000FF, 0xFFFF00};  // red for 0, cyan for 1
    auto bit = [](int x, int y) { return static_cast<std::uint32_t>((0x2D5 >> (x + y) % 10) & 1); };
    s.value = bit;
    expectPixels(read(makeBmp(s)), 10, 2, [&](int x, int y) { return s.palette[bit(x, y)]; });
}

TEST(BmpRead, GivenCoreHeader_ThenPaletteEntriesAreThreeBytes) {
    BmpSpec s;
    s.headerSize = 12;
    s.width = 4;
    s.height = 2;
    s.bitCount = 8;
    // The core header has no count of used colours: the palette has all 256 entries.
    for (std::uint32_t i = 0; i < 256; ++i)
        s.palette.push_back((0x112233 + i * 0x030201) & 0xFFFFFF);
    s.value = [](int x, int y) { return static_cast<std::uint32_t>(x * 60 + y); };
    expectPixels(read(makeBmp(s)), 4, 2, [&](int x, int y) { return s.palette[x * 60 + y]; });

    BmpSpec rgb;
    rgb.headerSize = 12;
    rgb.width = 3;
    rgb.height = 3;
    rgb.value = colourOf;
    expectPixels(read(makeBmp(rgb)), 3, 3, colourOf);
}

TEST(BmpRead, GivenGapBeforeThePixels_ThenThePixelOffsetIsHonoured) {
    BmpSpec s;
    s.width = 2;
    s.height = 2;
    s.bitCount = 8;
    s.palette = {0x000000, 0xFFFFFF};
    s.paletteUsed = 2;
    s.gap = 37;
    s.value = [](int x, int y) { return static_cast<std::uint32_t>((x + y) % 2); };
    expectPixels(read(makeBmp(s)), 2, 2,
                 [](int x, int y) { return (x + y) % 2 ? 0xFFFFFFu : 0x000000u; });
}

// ---------------------------------------------------------------------------------------------
// Writing

TEST(BmpWrite, GivenBitmap_ThenFileIs24BitBottomUpWithPaddedRows) {
    Bitmap b(3, 2);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            std::uint8_t* p = b.row(y) + x * 3;
            const std::uint32_t c = colourOf(x, y);
            p[0] = static_cast<std::uint8_t>(c >> 16);
            p[1] = static_cast<std::uint8_t>(c >> 8);
            p[2] = static_cast<std::uint8_t>(c);
        }
    }
    const std::vector<std::uint8_t> file = writeBmp(b);
    ASSERT_EQ(file.size(), 54u + 2 * 12);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    auto u32 = [&](std::size_t at) {
        return file[at] | file[at + 1] << 8 | file[at + 2] << 16 | file[at + 3] << 24;
    };
    EXPECT_EQ(u32(2), 78);   // file size
    EXPECT_EQ(u32(10), 54);  // pixel offset
    EXPECT_EQ(u32(14), 40);  // header size
    EXPECT_EQ(u32(18), 3);
    EXPECT_EQ(u32(22), 2);  // positive: bottom-up
    EXPECT_EQ(file[28], 24);
    EXPECT_EQ(u32(30), 0);  // uncompressed
    // The first stored row is the bottom one: pixel (0, 1) in blue, green, red order.
    const std::uint32_t c = colourOf(0, 1);
    EXPECT_EQ(file[54], c >> 16 & 0xFF);
    EXPECT_EQ(file[55], c >> 8 & 0xFF);
    EXPECT_EQ(file[56], c & 0xFF);
    // Padding bytes are zero.
    EXPECT_EQ(file[54 + 9], 0);
    EXPECT_EQ(file[54 + 10], 0);
    EXPECT_EQ(file[54 + 11], 0);
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

// ---------------------------------------------------------------------------------------------
// Refusals

BmpSpec smallPaletteFile() {
    BmpSpec s;
    s.width = 5;
    s.height = 3;
    s.bitCount = 8;
    for (std::uint32_t i = 0; i < 4; ++i) s.palette.push_back(i * 0x404040);
    s.paletteUsed = 4;
    s.value = [](int x, int y) { return static_cast<std::uint32_t>((x + y) % 4); };
    return s;
}

TEST(BmpRefuse, GivenFileCutAnywhere_ThenItIsRefused) {
    // Header (54 bytes), palette (16 bytes) and pixels (3 rows of 8 bytes): every cut is a
    // damaged file, whichever part it falls into.
    const std::vector<std::uint8_t> file = makeBmp(smallPaletteFile());
    ASSERT_EQ(file.size(), 54u + 16 + 24);
    read(file);
    for (std::size_t size = 0; size < file.size(); ++size) {
        expectRefused(std::vector<std::uint8_t>(file.begin(), file.begin() + size),
                      "cut to " + std::to_string(size) + " bytes");
    }
}

TEST(BmpRefuse, GivenZeroOrNegativeOrHugeSizes_ThenTheFileIsRefused) {
    const std::pair<std::int32_t, std::int32_t> sizes[] = {
        {0, 3},           {5, 0},          {-5, 3},          {100000, 100000},
        {70000, 70000},   {5, INT32_MIN},  {INT32_MAX, 2},   {INT32_MAX, INT32_MAX},
        {65536, 65536},
    };
    for (const auto& [w, h] : sizes) {
        std::vector<std::uint8_t> file = makeBmp(smallPaletteFile());
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
    // Run-length 8 and 4, bit fields on a 24-bit picture, embedded JPEG and PNG.
    const Case cases[] = {{8, 1}, {4, 2}, {24, 3}, {24, 4}, {24, 5}, {8, 3}};
    for (const Case& c : cases) {
        BmpSpec s;
        s.width = 4;
        s.height = 2;
        s.bitCount = c.bitCount;
        if (c.bitCount <= 8) s.palette.assign(1u << c.bitCount, 0x808080);
        std::vector<std::uint8_t> file = makeBmp(s);
        put32(file, 30, c.compression);
        expectRefused(file, "compression " + std::to_string(c.compression));
    }
}

TEST(BmpRefuse, GivenUnsupportedDepthsOrHeaders_ThenTheFileIsRefused) {
    for (int bitCount : {0, 2, 16, 48, 64}) {
        BmpSpec s;
        s.width = 4;
        s.height = 2;
        s.bitCount = bitCount;
        expectRefused(makeBmp(s), std::to_string(bitCount) + " bits");
    }
    for (std::uint32_t headerSize : {0u, 20u, 39u}) {
        std::vector<std::uint8_t> file = makeBmp(smallPaletteFile());
        put32(file, 14, headerSize);
        expectRefused(file, "header size " + std::to_string(headerSize));
    }
    std::vector<std::uint8_t> notBmp = makeBmp(smallPaletteFile());
    notBmp[0] = 'M';
    notBmp[1] = 'B';
    expectRefused(notBmp, "wrong signature");
    expectRefused({}, "empty");
}

TEST(BmpRefuse, GivenHeaderSizeReachingPastTheFile_ThenTheFileIsRefused) {
    // A header that claims to be longer than the whole file cannot be followed by a palette.
    for (std::uint32_t headerSize : {0xFFFFFFF6u, 0xFFFFFFFFu, 0x80000000u, 100000u}) {
        std::vector<std::uint8_t> file = makeBmp(smallPaletteFile());
        put32(file, 14, headerSize);
        expectRefused(file, "header size " + std::to_string(headerSize));
    }
}

TEST(BmpRefuse, GivenPixelOffsetPastTheEnd_ThenTheFileIsRefused) {
    std::vector<std::uint8_t> file = makeBmp(smallPaletteFile());
    put32(file, 10, static_cast<std::uint32_t>(file.size() - 10));
    expectRefused(file, "offset near the end");
    put32(file, 10, 0xFFFFFFFF);
    expectRefused(file, "offset far past the end");
}

TEST(BmpRefuse, GivenGarbageAndDamagedFiles_ThenReadingNeverFailsBadly) {
    // Random damage to valid files of every depth: each read either gives a picture of a sane
    // size or a message. Run under a sanitizer, this also shows no byte outside the file is read.
    std::mt19937 random(1234);
    std::vector<std::vector<std::uint8_t>> seeds;
    for (int bitCount : {1, 4, 8, 24, 32}) {
        BmpSpec s;
        s.width = 7;
        s.height = bitCount % 8 == 0 ? -3 : 3;
        s.bitCount = bitCount;
        if (bitCount <= 8) s.palette.assign(1u << bitCount, 0x123456);
        s.value = colourOf;
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
        const auto bitmap = readBmp(file, error);
        if (!bitmap) {
            EXPECT_FALSE(error.empty());
        }
    }
}

}  // namespace
}  // namespace corvan
