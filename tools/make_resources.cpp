// make_resources: draws the artwork the program carries and writes it as BMP files.
//
// Run by hand when the artwork changes: `make_resources resources`. The files it writes are
// kept in the source tree and embedded into the program at build time. Everything is drawn
// from code with a fixed pseudo-random sequence, so a run always writes the same bytes.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "engine/file_write.h"
#include "render/bitmap.h"
#include "render/bmp.h"
#include "render/raster.h"

namespace fs = std::filesystem;
using namespace corvan;

namespace {

// ---------------------------------------------------------------------------------------------
// BMP files with a palette

// Writes `bitmap` as a bottom-up BMP of `bitCount` bits per pixel (1, 4, 8 or 24). For 1, 4 and
// 8 bits the palette holds the bitmap's colours in ascending 0xBBGGRR order, so black comes
// first and white last. Empty when the colours do not fit the palette.
std::vector<std::uint8_t> encodeBmp(const Bitmap& bitmap, int bitCount) {
    if (bitCount == 24) return writeBmp(bitmap);
    std::map<std::uint32_t, int> index;
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) index[bitmap.pixel(x, y)] = 0;
    }
    if (index.size() > (1u << bitCount)) return {};
    std::vector<std::uint32_t> palette;
    for (auto& [colour, i] : index) {
        i = static_cast<int>(palette.size());
        palette.push_back(colour);
    }

    const std::size_t stride = (static_cast<std::size_t>(bitmap.width()) * bitCount + 31) / 32 * 4;
    const std::size_t pixelOffset = 14 + 40 + palette.size() * 4;
    const std::size_t size = pixelOffset + stride * bitmap.height();
    std::vector<std::uint8_t> out(size, 0);
    auto put16 = [&](std::size_t at, std::uint32_t v) {
        out[at] = static_cast<std::uint8_t>(v);
        out[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, static_cast<std::uint32_t>(size));
    put32(10, static_cast<std::uint32_t>(pixelOffset));
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(bitmap.width()));
    put32(22, static_cast<std::uint32_t>(bitmap.height()));
    put16(26, 1);
    put16(28, static_cast<std::uint32_t>(bitCount));
    put32(34, static_cast<std::uint32_t>(stride * bitmap.height()));
    put32(46, static_cast<std::uint32_t>(palette.size()));
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const std::size_t at = 54 + i * 4;
        out[at] = static_cast<std::uint8_t>(palette[i] >> 16);  // blue
        out[at + 1] = static_cast<std::uint8_t>(palette[i] >> 8);
        out[at + 2] = static_cast<std::uint8_t>(palette[i]);
    }
    for (int y = 0; y < bitmap.height(); ++y) {
        std::uint8_t* row = out.data() + pixelOffset + stride * (bitmap.height() - 1 - y);
        for (int x = 0; x < bitmap.width(); ++x) {
            const unsigned i = static_cast<unsigned>(index[bitmap.pixel(x, y)]);
            if (bitCount == 8) row[x] = static_cast<std::uint8_t>(i);
            if (bitCount == 4) row[x / 2] |= static_cast<std::uint8_t>(i << (x % 2 == 0 ? 4 : 0));
            if (bitCount == 1) row[x / 8] |= static_cast<std::uint8_t>(i << (7 - x % 8));
        }
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// Drawing helpers

// A small fixed pseudo-random sequence, so the artwork never changes between runs.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed) {}
    // 0.0 to 1.0.
    double next() {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 24);
    }

private:
    std::uint32_t state_;
};

struct Rgb {
    double r = 0, g = 0, b = 0;
};

Rgb mix(Rgb a, Rgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

std::uint32_t toColour(Rgb c) {
    auto channel = [](double v) {
        return static_cast<int>(std::lround(std::clamp(v, 0.0, 255.0)));
    };
    return rgb(channel(c.r), channel(c.g), channel(c.b));
}

void setPixel(Bitmap& b, int x, int y, std::uint32_t colour) {
    fillRect(b, {x, y, x + 1, y + 1}, colour);
}

// The distance of (x, y) from the nearest edge of a w x h bitmap, 0 on the edge.
int edgeDistance(int x, int y, int w, int h) {
    return std::min({x, y, w - 1 - x, h - 1 - y});
}

// True when (x, y), at `ring` pixels from the edge, lies on the lit (top or left) half of the
// frame. The top-right and bottom-left corner pixels of a ring belong to the shaded half.
bool litSide(int x, int y, int w, int h, int ring) {
    if (y == ring && x < w - 1 - ring) return true;
    if (x == ring && y < h - 1 - ring) return true;
    return false;
}

// A frame of `lit.size()` rings around the edge of `b`: ring i has colour lit[i] on the top
// and left sides and shaded[i] on the bottom and right sides.
void drawFrame(Bitmap& b, const std::vector<Rgb>& lit, const std::vector<Rgb>& shaded) {
    const int w = b.width(), h = b.height();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int ring = edgeDistance(x, y, w, h);
            if (ring >= static_cast<int>(lit.size())) continue;
            const bool top = litSide(x, y, w, h, ring);
            setPixel(b, x, y, toColour(top ? lit[ring] : shaded[ring]));
        }
    }
}

const Rgb kBlack{0, 0, 0};

// ---------------------------------------------------------------------------------------------
// The pictures

// The 17 dither tiles of the dissolve and soft-wipe transitions, one byte per row, the most
// significant bit the leftmost pixel, a set bit white. Tile t has about 4t black pixels, and
// every black pixel of a tile stays black in the tiles after it.
constexpr std::array<std::array<std::uint8_t, 8>, 17> kDitherTiles = {{
    {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
    {0x77, 0xFF, 0xFF, 0xFF, 0x77, 0xFF, 0xFF, 0xFF},
    {0x77, 0xFF, 0xDD, 0xFF, 0x77, 0xFF, 0xDD, 0xFF},
    {0x55, 0xFF, 0xDD, 0xFF, 0x55, 0xFF, 0xDD, 0xFF},
    {0x55, 0xFF, 0x55, 0xFF, 0x55, 0xFF, 0x55, 0xFF},
    {0x55, 0xBB, 0x55, 0xFF, 0x55, 0xBB, 0x55, 0xFF},
    {0x55, 0xBB, 0x55, 0xEA, 0x55, 0xBB, 0x55, 0xEE},
    {0x55, 0xBB, 0x55, 0xAA, 0x55, 0xBB, 0x55, 0xAA},
    {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA},
    {0x11, 0xAA, 0x55, 0xAA, 0x11, 0xAA, 0x55, 0xAA},
    {0x11, 0xAA, 0x44, 0xAA, 0x11, 0xAA, 0x44, 0xAA},
    {0x11, 0xAA, 0x44, 0x88, 0x11, 0xAA, 0x44, 0x88},
    {0x11, 0x88, 0x44, 0x88, 0x11, 0x88, 0x44, 0x88},
    {0x11, 0x00, 0x44, 0x88, 0x11, 0x00, 0x44, 0x88},
    {0x11, 0x00, 0x00, 0x88, 0x11, 0x00, 0x00, 0x88},
    {0x00, 0x00, 0x00, 0x88, 0x00, 0x00, 0x00, 0x88},
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},
}};

Bitmap makeDiza() {
    Bitmap b(136, 8);
    for (int t = 0; t < 17; ++t) {
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                const bool white = (kDitherTiles[t][y] >> (7 - x) & 1) != 0;
                setPixel(b, 8 * t + x, y, white ? 0xFFFFFF : 0x000000);
            }
        }
    }
    return b;
}

// The message frame: dark red wood grain inside a black line, a gold bevel and a black line.
Bitmap makeTextBg() {
    constexpr int kW = 576, kH = 96;
    Bitmap b(kW, kH);
    Noise noise(0x7E47B6u);
    // Fibres: every row of the wood gets a slowly drifting brightness of its own.
    std::vector<double> fibre(kH);
    for (double& f : fibre) f = noise.next();
    std::vector<double> knotPhase(4);
    for (double& p : knotPhase) p = noise.next() * 6.283;

    const Rgb dark{54, 12, 10};
    const Rgb light{124, 36, 22};
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            // Grain lines run along the panel and bend gently, as in a plank cut along its length.
            const double bend = 7.0 * std::sin(x * 0.011 + knotPhase[0]) +
                                3.0 * std::sin(x * 0.029 + knotPhase[1]) +
                                1.5 * std::sin(x * 0.071 + y * 0.05 + knotPhase[2]);
            const double v = (y + bend) / 9.0;
            const double ring = v - std::floor(v);  // 0..1 across one growth ring
            // Late wood (a narrow dark band) at the end of every ring, early wood lighter.
            double t = ring < 0.78 ? 0.55 + 0.35 * ring / 0.78 : 0.9 - (ring - 0.78) / 0.22 * 0.75;
            const int fy = std::clamp(y + static_cast<int>(std::lround(bend * 0.5)), 0, kH - 1);
            t += (fibre[fy] - 0.5) * 0.22;
            t += 0.06 * std::sin(x * 0.23 + fibre[y] * 9.0);
            t = std::clamp(t, 0.0, 1.0);
            // 48 shades keep the picture within an 8-bit palette.
            t = std::round(t * 47.0) / 47.0;
            setPixel(b, x, y, toColour(mix(dark, light, t)));
        }
    }
    const std::vector<Rgb> lit = {kBlack,         {255, 232, 150}, {236, 196, 98},
                                  {206, 160, 62}, {176, 128, 42},  kBlack};
    const std::vector<Rgb> shaded = {kBlack,         {122, 84, 24},  {150, 108, 36},
                                     {178, 134, 52}, {204, 160, 70}, kBlack};
    drawFrame(b, lit, shaded);
    return b;
}

// A heart, white on black, inside the top-left 15x15 pixels of a 16x16 picture.
Bitmap makeHeart() {
    constexpr std::array<std::string_view, 15> kRows = {
        "...............",  //
        "..XXX.....XXX..",  //
        ".XXXXX...XXXXX.",  //
        "XXXXXXX.XXXXXXX",  //
        "XXXXXXXXXXXXXXX",  //
        "XXXXXXXXXXXXXXX",  //
        "XXXXXXXXXXXXXXX",  //
        ".XXXXXXXXXXXXX.",  //
        "..XXXXXXXXXXX..",  //
        "...XXXXXXXXX...",  //
        "....XXXXXXX....",  //
        ".....XXXXX.....",  //
        "......XXX......",  //
        ".......X.......",  //
        "...............",  //
    };
    Bitmap b(16, 16);
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 15; ++x) {
            if (kRows[y][x] == 'X') setPixel(b, x, y, 0xFFFFFF);
        }
    }
    return b;
}

// A choice row: a dark blue panel, lighter at the top, with a thin light border and a faint
// inner highlight. Dark enough that silver and white text stand out on it.
Bitmap makeSelectBg() {
    constexpr int kW = 276, kH = 36;
    Bitmap b(kW, kH);
    const Rgb top{44, 50, 84};
    const Rgb bottom{14, 16, 34};
    for (int y = 0; y < kH; ++y) {
        const double t = static_cast<double>(y) / (kH - 1);
        fillRect(b, {0, y, kW, y + 1}, toColour(mix(top, bottom, std::pow(t, 0.8))));
    }
    // A soft glow along the left end, where the text starts.
    for (int y = 1; y < kH - 1; ++y) {
        for (int x = 1; x < 40; ++x) {
            const std::uint32_t c = b.pixel(x, y);
            Rgb p{static_cast<double>(c & 0xFF), static_cast<double>(c >> 8 & 0xFF),
                  static_cast<double>(c >> 16 & 0xFF)};
            const double glow = 0.18 * (1.0 - x / 40.0);
            setPixel(b, x, y, toColour(mix(p, {90, 100, 150}, glow)));
        }
    }
    drawFrame(b, {{176, 186, 216}, {70, 78, 118}}, {{112, 120, 156}, {26, 28, 52}});
    return b;
}

constexpr std::uint32_t kMoneyWindowInside = rgb(22, 26, 46);

// The money window: a black line, a two-pixel gold bevel and a black line around a plain dark
// blue inside, where the bags go. The bags are copied in as squares, so the inside is one flat
// colour that the bag picture shares.
Bitmap makeMoneyWindow() {
    Bitmap b(88, 48);
    fillRect(b, {0, 0, 88, 48}, kMoneyWindowInside);
    drawFrame(b, {kBlack, {250, 222, 130}, {206, 160, 62}, kBlack},
              {kBlack, {128, 90, 28}, {170, 126, 46}, kBlack});
    return b;
}

// One money bag on the money window's inside colour: a round sack tied at the neck, with a
// gold coin mark.
Bitmap makeMoneyBag() {
    constexpr int kSize = 20;
    Bitmap b(kSize, kSize);
    fillRect(b, {0, 0, kSize, kSize}, kMoneyWindowInside);
    const Rgb cloth{206, 158, 86};
    const Rgb clothDark{126, 84, 36};
    const Rgb clothLight{240, 206, 140};
    auto inBody = [](double x, double y) {
        // The sack: an ellipse in the lower part, narrowing to the neck.
        const double dx = (x - 10.0) / 8.2, dy = (y - 12.3) / 6.3;
        return dx * dx + dy * dy <= 1.0;
    };
    auto inTop = [](double x, double y) {
        // The gathered cloth above the tie: a small fan, wider at the top.
        if (y < 1.5 || y > 6.5) return false;
        const double half = 1.6 + (6.5 - y) * 0.75;
        return std::abs(x - 10.0) <= half;
    };
    auto inside = [&](int x, int y) {
        const double cx = x + 0.5, cy = y + 0.5;
        return inBody(cx, cy) || inTop(cx, cy);
    };
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (!inside(x, y)) continue;
            const bool edge =
                !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            if (edge) {
                setPixel(b, x, y, 0x000000);
                continue;
            }
            // Light from the top left.
            const double shade = ((x - 10.0) * 0.6 + (y - 10.0) * 0.8) / 10.0;
            Rgb c = shade < 0 ? mix(cloth, clothLight, -shade * 1.4) : mix(cloth, clothDark, shade);
            setPixel(b, x, y, toColour(c));
        }
    }
    // The cord round the neck.
    for (int x = 7; x <= 13; ++x) setPixel(b, x, 6, rgb(150, 24, 20));
    setPixel(b, 6, 6, 0x000000);
    setPixel(b, 14, 6, 0x000000);
    // The coin mark on the sack.
    for (int y = 10; y <= 15; ++y) {
        for (int x = 8; x <= 13; ++x) {
            const double dx = x - 10.5, dy = y - 12.5;
            const double d = dx * dx + dy * dy;
            if (d <= 3.2) {
                setPixel(b, x, y, rgb(255, 226, 80));
            } else if (d <= 6.6) {
                setPixel(b, x, y, rgb(150, 104, 20));
            }
        }
    }
    setPixel(b, 10, 12, rgb(150, 104, 20));
    setPixel(b, 11, 12, rgb(150, 104, 20));
    return b;
}

// The plate behind every label of the hotel map: a bevelled steel-blue panel of middle
// brightness, so that a label's white strokes and black shadow both show on it.
Bitmap makePlate() {
    constexpr int kW = 100, kH = 60;
    Bitmap b(kW, kH);
    Noise noise(0x91A7Eu);
    const Rgb top{96, 112, 160};
    const Rgb bottom{52, 62, 104};
    for (int y = 0; y < kH; ++y) {
        // Brushed metal: each row a little lighter or darker than its neighbours.
        const double streak = (noise.next() - 0.5) * 0.08;
        const double t = static_cast<double>(y) / (kH - 1) + streak;
        fillRect(b, {0, y, kW, y + 1}, toColour(mix(top, bottom, t)));
    }
    drawFrame(b, {kBlack, {196, 208, 236}, {140, 154, 196}}, {kBlack, {30, 36, 64}, {42, 50, 86}});
    // Rivets in the corners.
    for (const auto& [rx, ry] : {std::pair{5, 5}, {93, 5}, {5, 53}, {93, 53}}) {
        setPixel(b, rx, ry, rgb(220, 226, 244));
        setPixel(b, rx + 1, ry, rgb(150, 160, 196));
        setPixel(b, rx, ry + 1, rgb(150, 160, 196));
        setPixel(b, rx + 1, ry + 1, rgb(34, 40, 70));
    }
    return b;
}

struct Resource {
    std::string_view name;
    int bitCount;
    Bitmap (*make)();
};

constexpr Resource kResources[] = {
    {"DIZA", 1, makeDiza},          {"TEXT_BG", 8, makeTextBg},    {"HEART", 1, makeHeart},
    {"SELECTBG", 24, makeSelectBg}, {"FWIN3", 4, makeMoneyWindow}, {"FUKURO", 8, makeMoneyBag},
    {"PLATE", 24, makePlate},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || std::string_view(argv[1]) == "--help") {
        std::cerr << "usage: make_resources OUT_DIR\n"
                     "  draws the program's resource pictures and writes them as "
                     "OUT_DIR/NAME.bmp\n";
        return argc == 2 ? 0 : 2;
    }
    const fs::path dir = argv[1];
    std::error_code ec;
    fs::create_directories(dir, ec);
    for (const Resource& r : kResources) {
        const Bitmap bitmap = r.make();
        const std::vector<std::uint8_t> file = encodeBmp(bitmap, r.bitCount);
        std::string error;
        // Every file must read back as exactly the picture drawn.
        const auto check = readBmp(file, error);
        if (file.empty() || !check || check->width() != bitmap.width() ||
            check->height() != bitmap.height() ||
            !std::equal(check->row(0), check->row(0) + bitmap.stride() * bitmap.height(),
                        bitmap.row(0))) {
            std::cerr << "make_resources: " << r.name << " does not fit " << r.bitCount
                      << " bits per pixel\n";
            return 1;
        }
        const fs::path path = dir / (std::string(r.name) + ".bmp");
        const std::string_view bytes(reinterpret_cast<const char*>(file.data()), file.size());
        if (!writeFileAtomically(path, bytes, error)) {
            std::cerr << "make_resources: " << error << "\n";
            return 1;
        }
        std::cout << path.string() << ": " << bitmap.width() << "x" << bitmap.height() << ", "
                  << r.bitCount << " bits per pixel, " << file.size() << " bytes\n";
    }
    return 0;
}
