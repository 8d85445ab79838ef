// prstool, the picture tool: encoding BMP and PNG pictures into PRS files, decoding them back,
// the info report, and refusing what the game could not show.

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <set>

#include "headless/png_writer.h"
#include "render/bmp.h"
#include "render/prs.h"
#include "render/raster.h"
#include "support/run_program.h"
#include "support/test_archive.h"

namespace corvan::test {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// Runs prstool in `workDir`; a run that takes longer than 30 s is ended (exit code 124).
ProgramRun prstool(const fs::path& workDir, const std::vector<std::string>& args) {
    return runProgram(std::string(CORVAN_TOOLS_DIR) + "/prstool", workDir, args);
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

// The run failed with `code` and its error names every one of `words`.
void expectFailure(const ProgramRun& run, std::initializer_list<std::string> words, int code = 1) {
    EXPECT_EQ(run.exitCode, code);
    for (const std::string& word : words) EXPECT_TRUE(contains(run.err, word)) << run.err;
}

// Encodes the picture file `in` (written first when `bytes` are given) to `out`.
ProgramRun encode(const fs::path& dir, const std::string& in, const std::string& out,
                  const Bytes& bytes = {}) {
    if (!bytes.empty()) writeBytes(dir / in, bytes);
    return prstool(dir, {"encode", in, out});
}

// No temporary or partial file was left next to the outputs.
void expectOnlyFiles(const fs::path& dir, std::set<std::string> names) {
    std::set<std::string> present;
    for (const auto& entry : fs::directory_iterator(dir)) present.insert(entry.path().filename());
    EXPECT_EQ(present, names);
}

// The 54-byte header of a BMP file with a 40-byte info header and `bits` per pixel.
Bytes bmpHeader(std::size_t fileSize, std::uint32_t pixelOffset, int width, int height, int bits) {
    Bytes f(fileSize, 0);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) f[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    f[0] = 'B';
    f[1] = 'M';
    put32(2, static_cast<std::uint32_t>(fileSize));
    put32(10, pixelOffset);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    f[26] = 1;
    f[28] = static_cast<std::uint8_t>(bits);
    return f;
}

// --- PNG files made byte by byte ---
// Stored (uncompressed) deflate blocks, so any colour type, bit depth and interlacing can be
// written without a PNG library.

std::uint32_t crc32(const std::uint8_t* data, std::size_t size) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = ~0u;
    for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void putBe32(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void chunk(Bytes& png, const char* type, const Bytes& data) {
    putBe32(png, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    putBe32(png, crc32(png.data() + start, png.size() - start));
}

Bytes zlibStored(const Bytes& raw) {
    Bytes out = {0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
        out.push_back(at + n == raw.size() ? 1 : 0);
        for (const std::size_t v : {n, ~n}) {
            out.push_back(static_cast<std::uint8_t>(v));
            out.push_back(static_cast<std::uint8_t>(v >> 8));
        }
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
    // Sample s (0 = first channel) of pixel (x, y), up to the bit depth.
    std::function<std::uint32_t(int x, int y, int s)> sample{};
    bool interlaced = false;
    Bytes palette{};       // PLTE: r, g, b per entry
    Bytes transparency{};  // tRNS
};

// The filtered scanlines (filter type 0) of the pixels (x0 + dx * i, y0 + dy * j).
void appendScanlines(const PngSpec& s, int x0, int y0, int dx, int dy, Bytes& raw) {
    const int channels = std::array{1, 1, 3, 1, 2, 1, 4}[s.colourType];
    for (int y = y0; y < s.height; y += dy) {
        Bytes line;
        int bits = 0;
        std::uint32_t acc = 0;
        if (x0 >= s.width) return;  // an empty pass has no scanlines
        for (int x = x0; x < s.width; x += dx) {
            for (int c = 0; c < channels; ++c) {
                const std::uint32_t v = s.sample(x, y, c);
                if (s.bitDepth == 16) line.push_back(static_cast<std::uint8_t>(v >> 8));
                if (s.bitDepth >= 8) {
                    line.push_back(static_cast<std::uint8_t>(v));
                    continue;
                }
                acc = acc << s.bitDepth | (v & ((1u << s.bitDepth) - 1));
                bits += s.bitDepth;
                if (bits == 8) {
                    line.push_back(static_cast<std::uint8_t>(acc));
                    acc = 0;
                    bits = 0;
                }
            }
        }
        if (bits > 0) line.push_back(static_cast<std::uint8_t>(acc << (8 - bits)));
        raw.push_back(0);
        raw.insert(raw.end(), line.begin(), line.end());
    }
}

Bytes makePng(const PngSpec& s) {
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    putBe32(header, static_cast<std::uint32_t>(s.width));
    putBe32(header, static_cast<std::uint32_t>(s.height));
    header.insert(header.end(),
                  {static_cast<std::uint8_t>(s.bitDepth), static_cast<std::uint8_t>(s.colourType),
                   0, 0, static_cast<std::uint8_t>(s.interlaced ? 1 : 0)});
    chunk(png, "IHDR", header);
    if (!s.palette.empty()) chunk(png, "PLTE", s.palette);
    if (!s.transparency.empty()) chunk(png, "tRNS", s.transparency);
    Bytes raw;
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

// --- Help and arguments ---

TEST(Prstool, GivenHelpOrNoOrWrongArguments_ThenCommandsOrUsageAreShown) {
    TempDir dir;
    ProgramRun run = prstool(dir.path(), {"--help"});
    EXPECT_EQ(run.exitCode, 0);
    for (const char* word : {"encode", "decode", "info", "1 MiB"}) {
        EXPECT_TRUE(contains(run.out, word)) << word;
    }
    expectFailure(prstool(dir.path(), {}), {"usage"}, 2);
    expectFailure(prstool(dir.path(), {"squash", "a", "b"}), {"squash"}, 2);
    expectFailure(prstool(dir.path(), {"encode", "only-one"}), {}, 2);
}

// --- Round trips ---

TEST(PrstoolRoundTrip, GivenBmpFile_ThenDecodingGivesTheSameFileByteForByte) {
    TempDir dir;
    // A 24-bit picture and one with a palette (stored as it is, not converted); an all-black
    // picture of the largest size the game shows, and a single pixel.
    Bytes palette8 = bmpHeader(54 + 1024 + 8 * 3, 54 + 1024, 7, 3, 8);
    for (int i = 0; i < 256; ++i) {
        palette8[54 + i * 4] = static_cast<std::uint8_t>(i);
        palette8[55 + i * 4] = static_cast<std::uint8_t>(255 - i);
        palette8[56 + i * 4] = static_cast<std::uint8_t>(i * 3);
    }
    for (std::size_t i = 54 + 1024; i < palette8.size(); ++i) {
        palette8[i] = static_cast<std::uint8_t>(i * 11);
    }
    Bitmap one(1, 1);
    fillRect(one, {0, 0, 1, 1}, 0x123456);
    for (const Bytes& file :
         {writeBmp(pattern(64, 48)), palette8, writeBmp(Bitmap(640, 480)), writeBmp(one)}) {
        ProgramRun run = encode(dir.path(), "in.bmp", "OUT.PRS", file);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        // The PRS file is what the game's decoder reads: its bytes decode to the BMP file.
        std::string error;
        const auto decoded = decodePrsBytes(readBytes(dir.path() / "OUT.PRS"), error);
        ASSERT_TRUE(decoded.has_value()) << error;
        EXPECT_EQ(*decoded, file);

        run = prstool(dir.path(), {"decode", "OUT.PRS", "back.bmp"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(readBytes(dir.path() / "back.bmp"), file);
    }
    EXPECT_LT(fs::file_size(dir.path() / "OUT.PRS"), 100u);
}

TEST(PrstoolRoundTrip, GivenPngFile_ThenItIsStoredAsA24BitBmpAndDecodesBackToAPng) {
    TempDir dir;
    const Bitmap picture = pattern(33, 21);  // odd width: padded BMP rows
    std::string error;
    ASSERT_TRUE(writePng(picture, dir.path() / "in.png", error)) << error;
    ProgramRun run = encode(dir.path(), "in.png", "pic.prs");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "33x21")) << run.out;

    const auto decoded = decodePrsBytes(readBytes(dir.path() / "pic.prs"), error);
    ASSERT_TRUE(decoded.has_value()) << error;
    EXPECT_EQ(*decoded, writeBmp(picture));

    run = prstool(dir.path(), {"decode", "pic.prs", "out.bmp"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Bytes bmp = readBytes(dir.path() / "out.bmp");
    ASSERT_GT(bmp.size(), 30u);
    EXPECT_EQ(bmp[28], 24);
    expectSamePixels(decodeBmpFile(dir.path() / "out.bmp"), 33, 21,
                     [&](int x, int y) { return picture.pixel(x, y); });

    // Decoded to a PNG file, that file encodes to the same picture again.
    run = prstool(dir.path(), {"decode", "pic.prs", "a.PNG"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(encode(dir.path(), "a.PNG", "b.prs").exitCode, 0);
    ASSERT_EQ(prstool(dir.path(), {"decode", "b.prs", "b.bmp"}).exitCode, 0);
    EXPECT_EQ(readBytes(dir.path() / "b.bmp"), writeBmp(picture));
}

// --- PNG kinds ---

// Encodes the PNG made from `s`, decodes the result and checks its pixels against `colour`;
// fails the test if the tool refuses.
void expectThroughPrs(const PngSpec& s, const std::function<std::uint32_t(int, int)>& colour) {
    TempDir dir;
    ProgramRun run = encode(dir.path(), "in.png", "k.prs", makePng(s));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    run = prstool(dir.path(), {"decode", "k.prs", "k.bmp"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    expectSamePixels(decodeBmpFile(dir.path() / "k.bmp"), s.width, s.height, colour);
}

TEST(PrstoolPng, GivenEachPngKind_ThenEveryPixelLandsInPlaceAsRgb) {
    using U = std::uint32_t;
    const U palette[4] = {rgb(255, 0, 0), rgb(0, 255, 0), rgb(0, 0, 255), rgb(10, 20, 30)};
    const Bytes plte = {255, 0, 0, 0, 255, 0, 0, 0, 255, 10, 20, 30};
    const auto index = [](int x, int y, int) { return static_cast<U>((x + y) % 4); };
    const auto paletteColour = [&](int x, int y) { return palette[(x + y) % 4]; };
    struct Case {
        const char* name;
        PngSpec png;
        std::function<U(int, int)> colour;
    };
    const Case cases[] = {
        {"RGBA: alpha dropped",
         {5, 3, 8, 6,
          [](int x, int y, int c) {
              return std::array<U, 4>{U(x * 50), 200, U(y * 80), x == 2 ? 0u : 128u}[c];
          }},
         [](int x, int y) { return rgb(x * 50, 200, y * 80); }},
        {"grey: equal red, green, blue",
         {9, 2, 8, 0, [](int x, int y, int) { return U(x * 30 + y); }},
         [](int x, int y) { return rgb(x * 30 + y, x * 30 + y, x * 30 + y); }},
        {"1-bit grey: 0 black, 1 white",
         {9, 2, 1, 0, [](int x, int y, int) { return U((x + y) % 2); }},
         [](int x, int y) { return (x + y) % 2 ? 0xFFFFFFu : 0u; }},
        {"grey with alpha",
         {9, 2, 8, 4, [](int x, int, int c) { return c == 0 ? 100u + x : 0u; }},
         [](int x, int) { return rgb(100 + x, 100 + x, 100 + x); }},
        {"4-bit palette", {7, 3, 4, 3, index, false, plte}, paletteColour},
        {"4-bit palette, transparency dropped",
         {7, 3, 4, 3, index, false, plte, {0, 255, 128}},
         paletteColour},
        {"16 bits: each sample keeps its high byte",
         {4, 2, 16, 2, [](int x, int y, int c) { return U((x * 60 + y * 9 + c * 20) * 257); }},
         [](int x, int y) {
             return rgb(x * 60 + y * 9, x * 60 + y * 9 + 20, x * 60 + y * 9 + 40);
         }},
        {"interlaced",
         {11, 10, 8, 2,
          [](int x, int y, int c) { return U(c == 0   ? x * 20
                                             : c == 1 ? y * 20
                                                      : 99); }, true},
         [](int x, int y) { return rgb(x * 20, y * 20, 99); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expectThroughPrs(c.png, c.colour);
    }
}

// --- Info ---

TEST(PrstoolInfo, GivenPrsFile_ThenSizesRatioAndPictureFormatAreShown) {
    TempDir dir;
    const Bytes bmp = writeBmp(pattern(64, 48));
    ASSERT_EQ(encode(dir.path(), "in.bmp", "p.prs", bmp).exitCode, 0);
    const auto compressed = fs::file_size(dir.path() / "p.prs");
    const ProgramRun run = prstool(dir.path(), {"info", "p.prs"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    char ratio[32];
    std::snprintf(ratio, sizeof ratio, "%.1f%%", 100.0 * compressed / bmp.size());
    for (const std::string& part : {"decoded size:    " + std::to_string(bmp.size()) + " bytes",
                                    "compressed size: " + std::to_string(compressed) + " bytes",
                                    std::string(ratio), std::string("64x48, 24 bits per pixel")}) {
        EXPECT_TRUE(contains(run.out, part)) << run.out;
    }
}

TEST(PrstoolInfo, GivenPalettePicture_ThenItsOwnBitDepthIsShown) {
    TempDir dir;
    Bytes f = bmpHeader(62 + 8, 62, 8, 2, 1);  // a 1-bit picture, 8x2
    f[58] = f[59] = f[60] = 0xFF;              // entry 1 white
    f[62] = 0xF0;
    f[66] = 0x0F;
    ASSERT_EQ(encode(dir.path(), "in.bmp", "p.prs", f).exitCode, 0);
    const ProgramRun run = prstool(dir.path(), {"info", "p.prs"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(contains(run.out, "8x2, 1 bits per pixel")) << run.out;
}

// --- Refusals ---

TEST(PrstoolRefuse, GivenInputThatIsNoPicture_ThenEncodingIsRefusedAndNothingWritten) {
    TempDir dir;
    writeText(dir.path() / "notes.txt", "just some text\n");
    expectFailure(encode(dir.path(), "notes.txt", "x.prs"), {"not a PNG or BMP file"});
    expectFailure(encode(dir.path(), "missing.bmp", "x.prs"), {"cannot read"});
    expectOnlyFiles(dir.path(), {"notes.txt"});
}

TEST(PrstoolRefuse, GivenDamagedBmpOrPng_ThenEncodingIsRefusedWithTheReason) {
    TempDir dir;
    Bytes bmp = writeBmp(pattern(10, 10));
    bmp.resize(bmp.size() - 5);
    expectFailure(encode(dir.path(), "cut.bmp", "x.prs", bmp), {"cut.bmp", "cut short"});

    Bytes rle = writeBmp(pattern(4, 4));
    rle[30] = 1;  // run-length compressed
    expectFailure(encode(dir.path(), "rle.bmp", "x.prs", rle), {"compressed"});

    const PngSpec s{.width = 20, .height = 20, .sample = [](int x, int, int) {
                        return static_cast<std::uint32_t>(x);
                    }};
    Bytes png = makePng(s);
    png.resize(png.size() / 2);
    expectFailure(encode(dir.path(), "cut.png", "x.prs", png), {"damaged PNG"});

    png = makePng(s);
    png[png.size() - 20] ^= 0x55;  // inside the picture data: its checksum no longer fits
    expectFailure(encode(dir.path(), "bad.png", "x.prs", png), {"bad.png"});
    expectOnlyFiles(dir.path(), {"cut.bmp", "rle.bmp", "cut.png", "bad.png"});
}

TEST(PrstoolRefuse, GivenPictureOverOneMebibyteAsBmp_ThenEncodingIsRefused) {
    TempDir dir;
    // 640x546 at 24 bits: 1 048 374 bytes, just fits; 640x547 is 1 050 294 bytes, too big.
    EXPECT_EQ(encode(dir.path(), "fits.bmp", "fits.prs", writeBmp(Bitmap(640, 546))).exitCode, 0);
    expectFailure(encode(dir.path(), "big.bmp", "big.prs", writeBmp(Bitmap(640, 547))),
                  {"1050294", "1048576"});
    EXPECT_FALSE(fs::exists(dir.path() / "big.prs"));

    // A PNG is measured as the BMP file it becomes.
    std::string error;
    ASSERT_TRUE(writePng(Bitmap(600, 600), dir.path() / "big.png", error)) << error;
    expectFailure(encode(dir.path(), "big.png", "big.prs"), {"1080054"});
    EXPECT_FALSE(fs::exists(dir.path() / "big.prs"));
}

TEST(PrstoolRefuse, GivenTruncatedPrs_ThenDecodeAndInfoRefuseWithTheByteCounts) {
    TempDir dir;
    ASSERT_EQ(encode(dir.path(), "in.bmp", "full.prs", writeBmp(pattern(64, 48))).exitCode, 0);
    Bytes prs = readBytes(dir.path() / "full.prs");
    prs.resize(prs.size() / 2);
    writeBytes(dir.path() / "half.prs", prs);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"decode", "half.prs", "out.bmp"},
          std::vector<std::string>{"decode", "half.prs", "out.png"},
          std::vector<std::string>{"info", "half.prs"}}) {
        SCOPED_TRACE(args[0] + " " + args.back());
        expectFailure(prstool(dir.path(), args), {"half.prs", "ends after"});
    }
    writeBytes(dir.path() / "tiny.prs", {0, 0, 5});
    expectFailure(prstool(dir.path(), {"info", "tiny.prs"}), {"header"});
    EXPECT_FALSE(fs::exists(dir.path() / "out.bmp"));
    EXPECT_FALSE(fs::exists(dir.path() / "out.png"));
}

TEST(PrstoolRefuse, GivenPrsDecodingOverOneMebibyteOrHoldingNoBmp_ThenDecodeAndInfoRefuse) {
    TempDir dir;
    // Header: 0x100001 bytes, one more than the game takes.
    Bytes huge = {0, 0, 0x01, 0x00, 0x10, 0, 0, 0};
    huge.resize(huge.size() + 9 * 1000, 0);
    writeBytes(dir.path() / "huge.prs", huge);
    expectFailure(prstool(dir.path(), {"decode", "huge.prs", "out.bmp"}), {"1048577"});

    const std::string text = "this is not a picture at all, only text";
    writeBytes(dir.path() / "text.prs", encodePrsBytes(Bytes(text.begin(), text.end())));
    expectFailure(prstool(dir.path(), {"decode", "text.prs", "out.bmp"}), {"no BMP picture"});
    expectFailure(prstool(dir.path(), {"info", "text.prs"}), {"no BMP picture"});
    EXPECT_FALSE(fs::exists(dir.path() / "out.bmp"));
}

TEST(PrstoolRefuse, GivenUnknownOutputKind_ThenDecodeRefusesBeforeWriting) {
    TempDir dir;
    ASSERT_EQ(encode(dir.path(), "in.bmp", "p.prs", writeBmp(pattern(8, 8))).exitCode, 0);
    expectFailure(prstool(dir.path(), {"decode", "p.prs", "out.gif"}), {".bmp or .png"});
    expectOnlyFiles(dir.path(), {"in.bmp", "p.prs"});
}

TEST(PrstoolRefuse, GivenFailedEncodeOrMissingOutputFolder_ThenNothingIsWritten) {
    TempDir dir;
    writeText(dir.path() / "keep.prs", "old contents");
    writeText(dir.path() / "bad.bmp", "BM but nothing else");
    expectFailure(encode(dir.path(), "bad.bmp", "keep.prs"), {});
    EXPECT_EQ(readText(dir.path() / "keep.prs"), "old contents");
    expectOnlyFiles(dir.path(), {"keep.prs", "bad.bmp"});

    expectFailure(encode(dir.path(), "in.bmp", "no/such/folder/p.prs", writeBmp(pattern(8, 8))),
                  {"cannot write"});
}

}  // namespace
}  // namespace corvan::test
