// prstool, the picture tool: encoding BMP and PNG pictures into PRS files, decoding them back,
// the info report, and refusing what the game could not show.

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <functional>

#include "headless/png_writer.h"
#include "render/bmp.h"
#include "render/prs.h"
#include "render/raster.h"
#include "support/run_program.h"
#include "support/test_archive.h"

namespace corvan::test {
namespace {

namespace fs = std::filesystem;

const std::string kPrstool = std::string(CORVAN_TOOLS_DIR) + "/prstool";

// Runs prstool in `workDir`; a run that takes longer than 30 s is ended (exit code 124).
ProgramRun prstool(const fs::path& workDir, const std::vector<std::string>& args) {
    return runProgram(kPrstool, workDir, args);
}

// A picture with a different colour in every pixel.
Bitmap pattern(int width, int height) {
    Bitmap b(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            fillRect(b, {x, y, x + 1, y + 1}, rgb(x * 5, y * 7, (x * y) & 0xFF));
        }
    }
    return b;
}

Bitmap decodeBmpFile(const fs::path& file) {
    std::string error;
    auto bitmap = readBmp(readBytes(file), error);
    EXPECT_TRUE(bitmap.has_value()) << file << ": " << error;
    return bitmap.value_or(Bitmap{});
}

void expectSamePixels(const Bitmap& actual, int width, int height,
                      const std::function<std::uint32_t(int, int)>& colour) {
    ASSERT_EQ(actual.width(), width);
    ASSERT_EQ(actual.height(), height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            ASSERT_EQ(actual.pixel(x, y), colour(x, y)) << "at " << x << "," << y;
        }
    }
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// No temporary or partial file was left next to the outputs.
void expectOnlyFiles(const fs::path& dir, std::vector<std::string> names) {
    std::vector<std::string> present;
    for (const auto& entry : fs::directory_iterator(dir)) {
        present.push_back(entry.path().filename().string());
    }
    std::sort(present.begin(), present.end());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(present, names);
}

// ---------------------------------------------------------------------------------------------
// PNG files made byte by byte: stored (uncompressed) deflate blocks, so any colour type, bit
// depth and interlacing can be written without a PNG library.

std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void putBe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void chunk(std::vector<std::uint8_t>& png, const char* type,
           const std::vector<std::uint8_t>& data) {
    putBe32(png, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    putBe32(png, crc32(png.data() + start, png.size() - start));
}

std::vector<std::uint8_t> zlibStored(const std::vector<std::uint8_t>& raw) {
    std::vector<std::uint8_t> out = {0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
        out.push_back(at + n == raw.size() ? 1 : 0);
        out.push_back(static_cast<std::uint8_t>(n));
        out.push_back(static_cast<std::uint8_t>(n >> 8));
        out.push_back(static_cast<std::uint8_t>(~n));
        out.push_back(static_cast<std::uint8_t>(~n >> 8));
        out.insert(out.end(), raw.begin() + at, raw.begin() + at + n);
        at += n;
    } while (at < raw.size());
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    putBe32(out, b << 16 | a);
    return out;
}

struct PngSpec {
    int width = 1;
    int height = 1;
    int bitDepth = 8;
    int colourType = 2;  // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
    bool interlaced = false;
    std::vector<std::uint8_t> palette;       // PLTE: r, g, b per entry
    std::vector<std::uint8_t> transparency;  // tRNS
    // Sample s (0 = first channel) of pixel (x, y), up to the bit depth.
    std::function<std::uint32_t(int x, int y, int s)> sample;
};

int channels(int colourType) {
    switch (colourType) {
        case 2:
            return 3;
        case 4:
            return 2;
        case 6:
            return 4;
        default:
            return 1;
    }
}

// The filtered scanlines (filter type 0) of the pixels (x0 + dx * i, y0 + dy * j).
void appendScanlines(const PngSpec& s, int x0, int y0, int dx, int dy,
                     std::vector<std::uint8_t>& raw) {
    for (int y = y0; y < s.height; y += dy) {
        std::vector<std::uint8_t> line;
        int bits = 0;
        std::uint32_t acc = 0;
        bool any = false;
        for (int x = x0; x < s.width; x += dx) {
            any = true;
            for (int c = 0; c < channels(s.colourType); ++c) {
                const std::uint32_t v = s.sample(x, y, c);
                if (s.bitDepth == 16) {
                    line.push_back(static_cast<std::uint8_t>(v >> 8));
                    line.push_back(static_cast<std::uint8_t>(v));
                } else if (s.bitDepth == 8) {
                    line.push_back(static_cast<std::uint8_t>(v));
                } else {
                    acc = acc << s.bitDepth | (v & ((1u << s.bitDepth) - 1));
                    bits += s.bitDepth;
                    if (bits == 8) {
                        line.push_back(static_cast<std::uint8_t>(acc));
                        acc = 0;
                        bits = 0;
                    }
                }
            }
        }
        if (!any) return;  // an empty pass has no scanlines
        if (bits > 0) line.push_back(static_cast<std::uint8_t>(acc << (8 - bits)));
        raw.push_back(0);
        raw.insert(raw.end(), line.begin(), line.end());
    }
}

std::vector<std::uint8_t> makePng(const PngSpec& s) {
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    putBe32(header, static_cast<std::uint32_t>(s.width));
    putBe32(header, static_cast<std::uint32_t>(s.height));
    header.push_back(static_cast<std::uint8_t>(s.bitDepth));
    header.push_back(static_cast<std::uint8_t>(s.colourType));
    header.push_back(0);
    header.push_back(0);
    header.push_back(s.interlaced ? 1 : 0);
    chunk(png, "IHDR", header);
    if (!s.palette.empty()) chunk(png, "PLTE", s.palette);
    if (!s.transparency.empty()) chunk(png, "tRNS", s.transparency);
    std::vector<std::uint8_t> raw;
    if (s.interlaced) {
        const int passes[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                  {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
        for (const auto& p : passes) appendScanlines(s, p[0], p[1], p[2], p[3], raw);
    } else {
        appendScanlines(s, 0, 0, 1, 1, raw);
    }
    chunk(png, "IDAT", zlibStored(raw));
    chunk(png, "IEND", {});
    return png;
}

// ---------------------------------------------------------------------------------------------
// Help and arguments

TEST(Prstool, GivenHelp_ThenEveryCommandIsDescribed) {
    TempDir dir;
    const ProgramRun run = prstool(dir.path(), {"--help"});
    EXPECT_EQ(run.exitCode, 0);
    for (const char* word : {"encode", "decode", "info", "1 MiB"}) {
        EXPECT_TRUE(contains(run.out, word)) << word;
    }
}

TEST(Prstool, GivenNoOrWrongArguments_ThenUsageIsShownWithExitCode2) {
    TempDir dir;
    ProgramRun run = prstool(dir.path(), {});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(contains(run.err, "usage"));
    run = prstool(dir.path(), {"squash", "a", "b"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(contains(run.err, "squash"));
    run = prstool(dir.path(), {"encode", "only-one"});
    EXPECT_EQ(run.exitCode, 2);
}

// ---------------------------------------------------------------------------------------------
// Round trips

TEST(PrstoolRoundTrip, GivenBmpFile_ThenDecodingGivesTheSameFileByteForByte) {
    TempDir dir;
    // A 24-bit picture and one with a palette (stored as it is, not converted).
    std::vector<std::uint8_t> palette8(54 + 1024 + 8 * 3, 0);
    {
        auto& f = palette8;
        f[0] = 'B';
        f[1] = 'M';
        auto put32 = [&](std::size_t at, std::uint32_t v) {
            for (int i = 0; i < 4; ++i) f[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
        };
        put32(2, static_cast<std::uint32_t>(f.size()));
        put32(10, 54 + 1024);
        put32(14, 40);
        put32(18, 7);
        put32(22, 3);
        f[26] = 1;
        f[28] = 8;
        for (int i = 0; i < 256; ++i) {
            f[54 + i * 4] = static_cast<std::uint8_t>(i);
            f[55 + i * 4] = static_cast<std::uint8_t>(255 - i);
            f[56 + i * 4] = static_cast<std::uint8_t>(i * 3);
        }
        for (std::size_t i = 54 + 1024; i < f.size(); ++i) f[i] = static_cast<std::uint8_t>(i * 11);
    }
    const std::vector<std::vector<std::uint8_t>> files = {writeBmp(pattern(64, 48)), palette8};
    for (std::size_t i = 0; i < files.size(); ++i) {
        writeBytes(dir.path() / "in.bmp", files[i]);
        ProgramRun run = prstool(dir.path(), {"encode", "in.bmp", "OUT.PRS"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        // The PRS file is what the game's decoder reads: its bytes decode to the BMP file.
        std::string error;
        const auto decoded = decodePrsBytes(readBytes(dir.path() / "OUT.PRS"), error);
        ASSERT_TRUE(decoded.has_value()) << error;
        EXPECT_EQ(*decoded, files[i]) << i;

        run = prstool(dir.path(), {"decode", "OUT.PRS", "back.bmp"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(readBytes(dir.path() / "back.bmp"), files[i]) << i;
    }
}

TEST(PrstoolRoundTrip, GivenPngFile_ThenItIsStoredAsA24BitBmpWithTheSamePixels) {
    TempDir dir;
    const Bitmap picture = pattern(33, 21);  // odd width: padded BMP rows
    std::string error;
    ASSERT_TRUE(writePng(picture, dir.path() / "in.png", error)) << error;
    ProgramRun run = prstool(dir.path(), {"encode", "in.png", "pic.prs"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "33x21")) << run.out;

    const auto decoded = decodePrsBytes(readBytes(dir.path() / "pic.prs"), error);
    ASSERT_TRUE(decoded.has_value()) << error;
    EXPECT_EQ(*decoded, writeBmp(picture));

    run = prstool(dir.path(), {"decode", "pic.prs", "out.bmp"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::uint8_t> bmp = readBytes(dir.path() / "out.bmp");
    ASSERT_GT(bmp.size(), 30u);
    EXPECT_EQ(bmp[28], 24);
    expectSamePixels(decodeBmpFile(dir.path() / "out.bmp"), 33, 21,
                     [&](int x, int y) { return picture.pixel(x, y); });
}

TEST(PrstoolRoundTrip, GivenDecodeToPng_ThenEncodingThatPngGivesTheSamePicture) {
    TempDir dir;
    const Bitmap picture = pattern(40, 30);
    writeBytes(dir.path() / "a.bmp", writeBmp(picture));
    ASSERT_EQ(prstool(dir.path(), {"encode", "a.bmp", "a.prs"}).exitCode, 0);
    ProgramRun run = prstool(dir.path(), {"decode", "a.prs", "a.PNG"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(prstool(dir.path(), {"encode", "a.PNG", "b.prs"}).exitCode, 0);
    ASSERT_EQ(prstool(dir.path(), {"decode", "b.prs", "b.bmp"}).exitCode, 0);
    EXPECT_EQ(readBytes(dir.path() / "b.bmp"), writeBmp(picture));
}

TEST(PrstoolRoundTrip, GivenEmptyAndUniformPictures_ThenTheyRoundTrip) {
    TempDir dir;
    Bitmap black(640, 480);  // the largest picture the game shows, compressing very well
    Bitmap one(1, 1);
    fillRect(one, {0, 0, 1, 1}, 0x123456);
    for (const Bitmap* b : {&black, &one}) {
        const std::vector<std::uint8_t> file = writeBmp(*b);
        writeBytes(dir.path() / "in.bmp", file);
        ASSERT_EQ(prstool(dir.path(), {"encode", "in.bmp", "x.prs"}).exitCode, 0);
        ASSERT_EQ(prstool(dir.path(), {"decode", "x.prs", "x.bmp"}).exitCode, 0);
        EXPECT_EQ(readBytes(dir.path() / "x.bmp"), file);
    }
    EXPECT_LT(fs::file_size(dir.path() / "x.prs"), 100u);
}

// ---------------------------------------------------------------------------------------------
// PNG kinds

// Encodes the PNG `file`, decodes the result and returns the picture; fails the test if the
// tool refuses.
Bitmap throughPrs(const fs::path& dir, const std::vector<std::uint8_t>& file) {
    writeBytes(dir / "in.png", file);
    ProgramRun run = prstool(dir, {"encode", "in.png", "k.prs"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    run = prstool(dir, {"decode", "k.prs", "k.bmp"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return decodeBmpFile(dir / "k.bmp");
}

TEST(PrstoolPng, GivenRgbWithAlpha_ThenAlphaIsDroppedAndColoursKept) {
    TempDir dir;
    PngSpec s;
    s.width = 5;
    s.height = 3;
    s.colourType = 6;
    s.sample = [](int x, int y, int c) {
        const std::uint32_t v[4] = {static_cast<std::uint32_t>(x * 50), 200,
                                    static_cast<std::uint32_t>(y * 80), x == 2 ? 0u : 128u};
        return v[c];
    };
    expectSamePixels(throughPrs(dir.path(), makePng(s)), 5, 3,
                     [](int x, int y) { return rgb(x * 50, 200, y * 80); });
}

TEST(PrstoolPng, GivenGreyPictures_ThenGreyBecomesEqualRedGreenBlue) {
    TempDir dir;
    PngSpec grey;
    grey.width = 9;
    grey.height = 2;
    grey.colourType = 0;
    grey.sample = [](int x, int y, int) { return static_cast<std::uint32_t>(x * 30 + y); };
    expectSamePixels(throughPrs(dir.path(), makePng(grey)), 9, 2,
                     [](int x, int y) { return rgb(x * 30 + y, x * 30 + y, x * 30 + y); });

    PngSpec bits = grey;  // one bit per pixel: 0 black, 1 white
    bits.bitDepth = 1;
    bits.sample = [](int x, int y, int) { return static_cast<std::uint32_t>((x + y) % 2); };
    expectSamePixels(throughPrs(dir.path(), makePng(bits)), 9, 2,
                     [](int x, int y) { return (x + y) % 2 ? 0xFFFFFFu : 0u; });

    PngSpec greyAlpha = grey;
    greyAlpha.colourType = 4;
    greyAlpha.sample = [](int x, int, int c) { return c == 0 ? 100u + x : 0u; };
    expectSamePixels(throughPrs(dir.path(), makePng(greyAlpha)), 9, 2,
                     [](int x, int) { return rgb(100 + x, 100 + x, 100 + x); });
}

TEST(PrstoolPng, GivenPalettePictures_ThenIndexesBecomeTheirColours) {
    TempDir dir;
    PngSpec s;
    s.width = 7;
    s.height = 3;
    s.colourType = 3;
    s.bitDepth = 4;
    s.palette = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30};
    s.sample = [](int x, int y, int) { return static_cast<std::uint32_t>((x + y) % 4); };
    const std::uint32_t colours[4] = {rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255),
                                      rgb(10, 20, 30)};
    auto expected = [&](int x, int y) { return colours[(x + y) % 4]; };
    expectSamePixels(throughPrs(dir.path(), makePng(s)), 7, 3, expected);

    // A transparency table is dropped too.
    s.transparency = {0, 255, 128};
    expectSamePixels(throughPrs(dir.path(), makePng(s)), 7, 3, expected);
}

TEST(PrstoolPng, Given16BitPicture_ThenEachSampleKeepsItsHighByte) {
    TempDir dir;
    PngSpec s;
    s.width = 4;
    s.height = 2;
    s.bitDepth = 16;
    s.sample = [](int x, int y, int c) {
        return static_cast<std::uint32_t>((x * 60 + y * 9 + c * 20) * 257);
    };
    expectSamePixels(throughPrs(dir.path(), makePng(s)), 4, 2, [](int x, int y) {
        return rgb(x * 60 + y * 9, x * 60 + y * 9 + 20, x * 60 + y * 9 + 40);
    });
}

TEST(PrstoolPng, GivenInterlacedPicture_ThenEveryPixelLandsInPlace) {
    TempDir dir;
    PngSpec s;
    s.width = 11;
    s.height = 10;
    s.interlaced = true;
    s.sample = [](int x, int y, int c) {
        return static_cast<std::uint32_t>(c == 0 ? x * 20 : c == 1 ? y * 20 : 99);
    };
    expectSamePixels(throughPrs(dir.path(), makePng(s)), 11, 10,
                     [](int x, int y) { return rgb(x * 20, y * 20, 99); });
}

// ---------------------------------------------------------------------------------------------
// Info

TEST(PrstoolInfo, GivenPrsFile_ThenSizesRatioAndPictureFormatAreShown) {
    TempDir dir;
    const std::vector<std::uint8_t> bmp = writeBmp(pattern(64, 48));
    writeBytes(dir.path() / "in.bmp", bmp);
    ASSERT_EQ(prstool(dir.path(), {"encode", "in.bmp", "p.prs"}).exitCode, 0);
    const auto compressed = fs::file_size(dir.path() / "p.prs");
    const ProgramRun run = prstool(dir.path(), {"info", "p.prs"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "decoded size:    " + std::to_string(bmp.size()) + " bytes"))
        << run.out;
    EXPECT_TRUE(contains(run.out, "compressed size: " + std::to_string(compressed) + " bytes"))
        << run.out;
    char ratio[32];
    std::snprintf(ratio, sizeof ratio, "%.1f%%", 100.0 * compressed / bmp.size());
    EXPECT_TRUE(contains(run.out, ratio)) << run.out;
    EXPECT_TRUE(contains(run.out, "64x48, 24 bits per pixel")) << run.out;
}

TEST(PrstoolInfo, GivenPalettePicture_ThenItsOwnBitDepthIsShown) {
    TempDir dir;
    // A 1-bit picture, 8x2.
    std::vector<std::uint8_t> f(62 + 8, 0);
    f[0] = 'B';
    f[1] = 'M';
    f[2] = static_cast<std::uint8_t>(f.size());
    f[10] = 62;
    f[14] = 40;
    f[18] = 8;
    f[22] = 2;
    f[26] = 1;
    f[28] = 1;
    f[58] = f[59] = f[60] = 0xFF;  // entry 1 white
    f[62] = 0xF0;
    f[66] = 0x0F;
    writeBytes(dir.path() / "in.bmp", f);
    ASSERT_EQ(prstool(dir.path(), {"encode", "in.bmp", "p.prs"}).exitCode, 0);
    const ProgramRun run = prstool(dir.path(), {"info", "p.prs"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "8x2, 1 bits per pixel")) << run.out;
}

// ---------------------------------------------------------------------------------------------
// Refusals

TEST(PrstoolRefuse, GivenInputThatIsNoPicture_ThenEncodingIsRefusedAndNothingWritten) {
    TempDir dir;
    writeText(dir.path() / "notes.txt", "just some text\n");
    ProgramRun run = prstool(dir.path(), {"encode", "notes.txt", "x.prs"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "not a PNG or BMP file")) << run.err;

    run = prstool(dir.path(), {"encode", "missing.bmp", "x.prs"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "cannot read")) << run.err;
    expectOnlyFiles(dir.path(), {"notes.txt"});
}

TEST(PrstoolRefuse, GivenDamagedBmpOrPng_ThenEncodingIsRefusedWithTheReason) {
    TempDir dir;
    std::vector<std::uint8_t> bmp = writeBmp(pattern(10, 10));
    bmp.resize(bmp.size() - 5);
    writeBytes(dir.path() / "cut.bmp", bmp);
    ProgramRun run = prstool(dir.path(), {"encode", "cut.bmp", "x.prs"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "cut.bmp")) << run.err;
    EXPECT_TRUE(contains(run.err, "cut short")) << run.err;

    std::vector<std::uint8_t> rle = writeBmp(pattern(4, 4));
    rle[30] = 1;  // run-length compressed
    writeBytes(dir.path() / "rle.bmp", rle);
    run = prstool(dir.path(), {"encode", "rle.bmp", "x.prs"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "compressed")) << run.err;

    PngSpec s;
    s.width = 20;
    s.height = 20;
    s.sample = [](int x, int, int) { return static_cast<std::uint32_t>(x); };
    std::vector<std::uint8_t> png = makePng(s);
    png.resize(png.size() / 2);
    writeBytes(dir.path() / "cut.png", png);
    run = prstool(dir.path(), {"encode", "cut.png", "x.prs"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "damaged PNG")) << run.err;

    png = makePng(s);
    png[png.size() - 20] ^= 0x55;  // inside the picture data: its checksum no longer fits
    writeBytes(dir.path() / "bad.png", png);
    run = prstool(dir.path(), {"encode", "bad.png", "x.prs"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "bad.png")) << run.err;
    expectOnlyFiles(dir.path(), {"cut.bmp", "rle.bmp", "cut.png", "bad.png"});
}

TEST(PrstoolRefuse, GivenPictureOverOneMebibyteAsBmp_ThenEncodingIsRefused) {
    TempDir dir;
    // 640x546 at 24 bits: 1 048 374 bytes, just fits; 640x547 is 1 050 294 bytes, too big.
    writeBytes(dir.path() / "fits.bmp", writeBmp(Bitmap(640, 546)));
    EXPECT_EQ(prstool(dir.path(), {"encode", "fits.bmp", "fits.prs"}).exitCode, 0);
    writeBytes(dir.path() / "big.bmp", writeBmp(Bitmap(640, 547)));
    ProgramRun run = prstool(dir.path(), {"encode", "big.bmp", "big.prs"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "1050294")) << run.err;
    EXPECT_TRUE(contains(run.err, "1048576")) << run.err;
    EXPECT_FALSE(fs::exists(dir.path() / "big.prs"));

    // A PNG is measured as the BMP file it becomes.
    std::string error;
    ASSERT_TRUE(writePng(Bitmap(600, 600), dir.path() / "big.png", error)) << error;
    run = prstool(dir.path(), {"encode", "big.png", "big.prs"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "1080054")) << run.err;
    EXPECT_FALSE(fs::exists(dir.path() / "big.prs"));
}

TEST(PrstoolRefuse, GivenTruncatedPrs_ThenDecodeAndInfoRefuseWithTheByteCounts) {
    TempDir dir;
    writeBytes(dir.path() / "in.bmp", writeBmp(pattern(64, 48)));
    ASSERT_EQ(prstool(dir.path(), {"encode", "in.bmp", "full.prs"}).exitCode, 0);
    std::vector<std::uint8_t> prs = readBytes(dir.path() / "full.prs");
    prs.resize(prs.size() / 2);
    writeBytes(dir.path() / "half.prs", prs);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"decode", "half.prs", "out.bmp"},
          std::vector<std::string>{"decode", "half.prs", "out.png"},
          std::vector<std::string>{"info", "half.prs"}}) {
        const ProgramRun run = prstool(dir.path(), args);
        EXPECT_EQ(run.exitCode, 1) << args[0];
        EXPECT_TRUE(contains(run.err, "half.prs")) << run.err;
        EXPECT_TRUE(contains(run.err, "ends after")) << run.err;
    }
    writeBytes(dir.path() / "tiny.prs", {0, 0, 5});
    const ProgramRun run = prstool(dir.path(), {"info", "tiny.prs"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "header")) << run.err;
    EXPECT_FALSE(fs::exists(dir.path() / "out.bmp"));
    EXPECT_FALSE(fs::exists(dir.path() / "out.png"));
}

TEST(PrstoolRefuse, GivenPrsDecodingOverOneMebibyte_ThenItIsRefused) {
    TempDir dir;
    // Header: 0x100001 bytes, one more than the game takes.
    std::vector<std::uint8_t> prs = {0, 0, 0x01, 0x00, 0x10, 0, 0, 0};
    prs.resize(prs.size() + 9 * 1000, 0);
    writeBytes(dir.path() / "huge.prs", prs);
    const ProgramRun run = prstool(dir.path(), {"decode", "huge.prs", "out.bmp"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "1048577")) << run.err;
    EXPECT_FALSE(fs::exists(dir.path() / "out.bmp"));
}

TEST(PrstoolRefuse, GivenPrsHoldingNoBmp_ThenDecodeAndInfoSaySo) {
    TempDir dir;
    const std::string text = "this is not a picture at all, only text";
    writeBytes(dir.path() / "text.prs",
               encodePrsBytes(std::vector<std::uint8_t>(text.begin(), text.end())));
    ProgramRun run = prstool(dir.path(), {"decode", "text.prs", "out.bmp"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "no BMP picture")) << run.err;
    run = prstool(dir.path(), {"info", "text.prs"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "no BMP picture")) << run.err;
    EXPECT_FALSE(fs::exists(dir.path() / "out.bmp"));
}

TEST(PrstoolRefuse, GivenUnknownOutputKind_ThenDecodeRefusesBeforeWriting) {
    TempDir dir;
    writeBytes(dir.path() / "in.bmp", writeBmp(pattern(8, 8)));
    ASSERT_EQ(prstool(dir.path(), {"encode", "in.bmp", "p.prs"}).exitCode, 0);
    const ProgramRun run = prstool(dir.path(), {"decode", "p.prs", "out.gif"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, ".bmp or .png")) << run.err;
    expectOnlyFiles(dir.path(), {"in.bmp", "p.prs"});
}

TEST(PrstoolRefuse, GivenFailedEncode_ThenAnExistingOutputFileIsLeftAsItWas) {
    TempDir dir;
    writeText(dir.path() / "keep.prs", "old contents");
    writeText(dir.path() / "bad.bmp", "BM but nothing else");
    const ProgramRun run = prstool(dir.path(), {"encode", "bad.bmp", "keep.prs"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(readText(dir.path() / "keep.prs"), "old contents");
    expectOnlyFiles(dir.path(), {"keep.prs", "bad.bmp"});
}

TEST(PrstoolRefuse, GivenOutputFolderMissing_ThenTheWriteFailsWithAMessage) {
    TempDir dir;
    writeBytes(dir.path() / "in.bmp", writeBmp(pattern(8, 8)));
    const ProgramRun run = prstool(dir.path(), {"encode", "in.bmp", "no/such/folder/p.prs"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(contains(run.err, "cannot write")) << run.err;
}

}  // namespace
}  // namespace corvan::test
