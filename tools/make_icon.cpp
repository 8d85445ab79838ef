// make_icon: draws the program's icon, a hotel at night with a gold room key, at the sizes a
// desktop's icon theme asks for, and writes them as OUTDIR/NxN/apps/corvan.png.
//
// The picture is a list of plain shapes on a 256-unit square, painted in order. Every pixel is
// sampled 4x4 times, so edges are smooth and the corners of the night sky are see-through. The
// smallest sizes get fewer, larger windows, which stay windows instead of blurring into the wall.

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "headless/png_writer.h"
#include "render/bitmap.h"

namespace {

using corvan::Bitmap;

struct Colour {
    float red = 0, green = 0, blue = 0;
};

Colour mix(Colour a, Colour b, float t) {
    return {a.red + (b.red - a.red) * t, a.green + (b.green - a.green) * t,
            a.blue + (b.blue - a.blue) * t};
}

// A rectangle with rounded corners (a circle when it is square and its radius half its side),
// less a hole (a circle of radius `hole` at its centre), shaded from `top` to `bottom`.
struct Shape {
    float left, top, right, bottom;
    float radius = 0;
    Colour topColour;
    Colour bottomColour = topColour;
    float hole = 0;

    bool contains(float x, float y) const {
        if (x < left || x >= right || y < top || y >= bottom) return false;
        const float cx = std::fmin(std::fmax(x, left + radius), right - radius);
        const float cy = std::fmin(std::fmax(y, top + radius), bottom - radius);
        if ((x - cx) * (x - cx) + (y - cy) * (y - cy) > radius * radius) return false;
        const float mx = (left + right) / 2, my = (top + bottom) / 2;
        return (x - mx) * (x - mx) + (y - my) * (y - my) >= hole * hole;
    }
    Colour colourAt(float y) const {
        return mix(topColour, bottomColour, (y - top) / (bottom - top));
    }
};

Shape circle(float cx, float cy, float r, Colour colour, float hole = 0) {
    return {cx - r, cy - r, cx + r, cy + r, r, colour, colour, hole};
}

Shape box(float left, float top, float right, float bottom, Colour colour) {
    return {left, top, right, bottom, 0, colour, colour};
}

constexpr Colour kSkyTop{44, 58, 120};
constexpr Colour kSkyBottom{12, 16, 46};
constexpr Colour kMoon{250, 240, 196};
constexpr Colour kWall{222, 180, 122};
constexpr Colour kWallShade{176, 132, 84};
constexpr Colour kCornice{120, 70, 44};
constexpr Colour kSign{204, 44, 56};
constexpr Colour kLit{255, 216, 96};
constexpr Colour kDark{64, 58, 84};
constexpr Colour kDoor{96, 52, 30};
constexpr Colour kGold{244, 192, 48};
constexpr Colour kGoldEdge{70, 40, 8};

// The room key, lying across the building's foot: a ring with a hole and a bit with two teeth.
// `grow` widens every part, for the dark edge drawn under the gold.
void addKey(std::vector<Shape>& shapes, float grow, Colour colour) {
    shapes.push_back(circle(160, 190, 30 + grow, colour, std::fmax(12 - grow, 0.f)));
    shapes.push_back(box(184 - grow, 183 - grow, 242 + grow, 197 + grow, colour));
    shapes.push_back(box(214 - grow, 197 - grow, 224 + grow, 216 + grow, colour));
    shapes.push_back(box(230 - grow, 197 - grow, 242 + grow, 210 + grow, colour));
}

std::vector<Shape> iconShapes(int size) {
    std::vector<Shape> shapes;
    shapes.push_back({8, 8, 248, 248, 44, kSkyTop, kSkyBottom});
    shapes.push_back(circle(54, 54, 18, kMoon));
    shapes.push_back(box(98, 34, 142, 54, kSign));
    shapes.push_back({66, 62, 174, 236, 0, kWall, kWallShade});
    shapes.push_back(box(58, 52, 182, 66, kCornice));

    // Windows, lit or dark in a fixed scatter; the smallest icons get two columns of three.
    const bool small = size <= 32;
    const int columns = small ? 2 : 3;
    const int rows = small ? 3 : 5;
    const float width = small ? 30 : 22;
    const float height = small ? 26 : 15;
    const float gapX = (108 - columns * width) / (columns + 1);
    const float gapY = (small ? 120 : 118) / float(rows);
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            const float x = 66 + gapX + column * (width + gapX);
            const float y = 76 + row * gapY;
            const bool lit = (row * 7 + column * 3) % 5 != 1;
            shapes.push_back(box(x, y, x + width, y + height, lit ? kLit : kDark));
        }
    }
    shapes.push_back({104, 200, 136, 236, 16, kDoor, kDoor});
    shapes.push_back(box(104, 216, 136, 236, kDoor));

    addKey(shapes, 6, kGoldEdge);
    addKey(shapes, 0, kGold);
    return shapes;
}

// The icon at `size` pixels: colours and opacities.
void drawIcon(int size, Bitmap& picture, std::vector<std::uint8_t>& alpha) {
    constexpr int kSamples = 4;
    const std::vector<Shape> shapes = iconShapes(size);
    picture.resize(size, size);
    alpha.assign(static_cast<std::size_t>(size) * size, 0);
    const float unit = 256.f / size;
    for (int py = 0; py < size; ++py) {
        std::uint8_t* row = picture.row(py);
        for (int px = 0; px < size; ++px) {
            Colour sum;
            int covered = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const float x = (px + (sx + 0.5f) / kSamples) * unit;
                    const float y = (py + (sy + 0.5f) / kSamples) * unit;
                    for (auto shape = shapes.rbegin(); shape != shapes.rend(); ++shape) {
                        if (!shape->contains(x, y)) continue;
                        const Colour c = shape->colourAt(y);
                        sum = {sum.red + c.red, sum.green + c.green, sum.blue + c.blue};
                        ++covered;
                        break;
                    }
                }
            }
            if (covered == 0) continue;
            row[px * 3 + 0] = static_cast<std::uint8_t>(std::lround(sum.blue / covered));
            row[px * 3 + 1] = static_cast<std::uint8_t>(std::lround(sum.green / covered));
            row[px * 3 + 2] = static_cast<std::uint8_t>(std::lround(sum.red / covered));
            alpha[static_cast<std::size_t>(py) * size + px] =
                static_cast<std::uint8_t>(covered * 255 / (kSamples * kSamples));
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icon OUTDIR\n");
        return 2;
    }
    constexpr std::array kSizes{16, 32, 48, 64, 128, 256};
    for (const int size : kSizes) {
        const std::string name = std::to_string(size) + "x" + std::to_string(size);
        const std::filesystem::path folder = std::filesystem::path(argv[1]) / name / "apps";
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        Bitmap picture;
        std::vector<std::uint8_t> alpha;
        drawIcon(size, picture, alpha);
        std::string error;
        if (!corvan::writePng(picture, alpha, folder / "corvan.png", error)) {
            std::fprintf(stderr, "make_icon: %s\n", error.c_str());
            return 1;
        }
    }
    return 0;
}
