// make_demo_pictures: draws the demo game's pictures and writes them as PNG files.
//
// Run by hand when the pictures change: `make_demo_pictures demo/pictures`. The PNG files are
// kept in the source tree; the build turns them into the game's PRS pictures (demo/demo.cmake).
// Everything is drawn from code with fixed pseudo-random sequences, so a run always writes the
// same pictures.
//
//   A001  the hotel on its hill on a December night
//   A002  the lobby with the front desk
//   A003  the corridor of the third floor
//   A004  the hotel on the snowy morning after
//   B001  the old clerk of the front desk, an overlay for A002 on a magenta see-through colour
//
// The message frame covers y 376 to 471 of every picture, so the lower part of each is kept
// quiet.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "headless/png_writer.h"
#include "render/bitmap.h"
#include "render/raster.h"
#include "tools/png_read.h"

namespace fs = std::filesystem;
using namespace corvan;

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr double kPi = 3.14159265358979323846;

// ---------------------------------------------------------------------------------------------
// Colours and noise

struct Rgb {
    double r = 0, g = 0, b = 0;
};

Rgb operator+(Rgb a, Rgb b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
Rgb operator*(Rgb a, double k) {
    return {a.r * k, a.g * k, a.b * k};
}

Rgb mix(Rgb a, Rgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

double smoothstep(double edge0, double edge1, double x) {
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

// A small fixed pseudo-random sequence.
class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed) {}
    // 0.0 to 1.0.
    double next() {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 24);
    }
    double between(double low, double high) { return low + (high - low) * next(); }

private:
    std::uint32_t state_;
};

// Smooth value noise in 0..1 on a unit grid, the same for the same arguments.
double valueNoise(double x, double y, std::uint32_t seed) {
    auto lattice = [seed](int ix, int iy) {
        std::uint32_t h = static_cast<std::uint32_t>(ix) * 374761393u +
                          static_cast<std::uint32_t>(iy) * 668265263u + seed * 2246822519u;
        h = (h ^ (h >> 13)) * 1274126177u;
        h ^= h >> 16;
        return static_cast<double>(h & 0xFFFF) / 65535.0;
    };
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const double tx = smoothstep(0, 1, x - fx), ty = smoothstep(0, 1, y - fy);
    const double top = lattice(ix, iy) + (lattice(ix + 1, iy) - lattice(ix, iy)) * tx;
    const double bottom =
        lattice(ix, iy + 1) + (lattice(ix + 1, iy + 1) - lattice(ix, iy + 1)) * tx;
    return top + (bottom - top) * ty;
}

// Three octaves of value noise, 0..1.
double cloudNoise(double x, double y, std::uint32_t seed) {
    return (valueNoise(x, y, seed) * 0.57 + valueNoise(x * 2.1, y * 2.1, seed + 1) * 0.29 +
            valueNoise(x * 4.3, y * 4.3, seed + 2) * 0.14);
}

// ---------------------------------------------------------------------------------------------
// The canvas: premultiplied colour and coverage per pixel, painted with anti-aliased shapes

// Inside test of a shape at a point given in pixel units.
using Shape = std::function<bool(double, double)>;
// Colour of a shape at a pixel centre.
using Paint = std::function<Rgb(double, double)>;

struct Box {
    int left = 0, top = 0, right = kWidth, bottom = kHeight;
};

class Canvas {
public:
    // An opaque black canvas, or a see-through one for an overlay.
    explicit Canvas(bool opaque = true)
        : colour_(kWidth * kHeight), alpha_(kWidth * kHeight, opaque ? 1.0 : 0.0) {}

    double alpha(int x, int y) const { return alpha_[index(x, y)]; }
    // The colour the pixel shows, undoing the premultiplication.
    Rgb colour(int x, int y) const {
        const double a = alpha_[index(x, y)];
        return a > 0 ? colour_[index(x, y)] * (1.0 / a) : Rgb{};
    }

    // Lays colour `c` over pixel (x, y) with opacity `a`.
    void blend(int x, int y, Rgb c, double a) {
        if (x < 0 || y < 0 || x >= kWidth || y >= kHeight || a <= 0) return;
        a = std::min(a, 1.0);
        const std::size_t i = index(x, y);
        colour_[i] = c * a + colour_[i] * (1.0 - a);
        alpha_[i] = a + alpha_[i] * (1.0 - a);
    }

    // Adds light: brightens the colour without changing the coverage.
    void add(int x, int y, Rgb c) {
        if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) return;
        const std::size_t i = index(x, y);
        colour_[i] = colour_[i] + c * alpha_[i];
    }

    // Fills every pixel of `box` with `paint`.
    void fill(Box box, const Paint& paint) {
        box = toCanvas(box);
        clip(box);
        for (int y = box.top; y < box.bottom; ++y) {
            for (int x = box.left; x < box.right; ++x) {
                blend(x, y, paint(fromCanvasX(x + 0.5), fromCanvasY(y + 0.5)), 1.0);
            }
        }
    }

    // Draws everything after this `scale` times larger around (x, y): fills, shapes and lights
    // are still given in the coordinates of the unscaled drawing.
    void zoom(double x, double y, double scale) {
        zoomX_ = x;
        zoomY_ = y;
        scale_ = scale;
    }

    // Paints `shape` within `box`: the coverage of each pixel comes from samples x samples
    // points inside it, the colour from `paint` at its centre.
    void shape(Box box, const Shape& inside, const Paint& paint, double opacity = 1.0,
               int samples = 4) {
        box = toCanvas(box);
        clip(box);
        const double step = 1.0 / samples;
        for (int y = box.top; y < box.bottom; ++y) {
            for (int x = box.left; x < box.right; ++x) {
                int hits = 0;
                for (int sy = 0; sy < samples; ++sy) {
                    for (int sx = 0; sx < samples; ++sx) {
                        if (inside(fromCanvasX(x + (sx + 0.5) * step),
                                   fromCanvasY(y + (sy + 0.5) * step))) {
                            ++hits;
                        }
                    }
                }
                if (hits == 0) continue;
                const double coverage = static_cast<double>(hits) / (samples * samples);
                blend(x, y, paint(fromCanvasX(x + 0.5), fromCanvasY(y + 0.5)), coverage * opacity);
            }
        }
    }

    void shape(Box box, const Shape& inside, Rgb c, double opacity = 1.0) {
        shape(
            box, inside, [c](double, double) { return c; }, opacity);
    }

    // A soft round light: adds `c` scaled by a falloff that is 1 at the centre and fades out
    // towards `radius`.
    void glow(double cx, double cy, double radius, Rgb c, double strength = 1.0) {
        cx = zoomX_ + (cx - zoomX_) * scale_;
        cy = zoomY_ + (cy - zoomY_) * scale_;
        radius *= scale_;
        Box box{static_cast<int>(cx - radius) - 1, static_cast<int>(cy - radius) - 1,
                static_cast<int>(cx + radius) + 2, static_cast<int>(cy + radius) + 2};
        clip(box);
        for (int y = box.top; y < box.bottom; ++y) {
            for (int x = box.left; x < box.right; ++x) {
                const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / radius;
                if (d >= 1.0) continue;
                const double fall = (1.0 - d) * (1.0 - d);
                add(x, y, c * (fall * strength));
            }
        }
    }

    // Darkens towards the corners.
    void vignette(double strength) {
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const double dx = (x - kWidth / 2.0) / (kWidth / 2.0);
                const double dy = (y - kHeight / 2.0) / (kHeight / 2.0);
                const double k = 1.0 - strength * smoothstep(0.45, 1.45, dx * dx + dy * dy);
                colour_[index(x, y)] = colour_[index(x, y)] * k;
            }
        }
    }

    // The finished picture. A 4x4 ordered dither spreads the rounding, so gradients show no
    // bands. Pixels an overlay leaves less than half covered get `key`; covered pixels never
    // take the key colour.
    Bitmap toBitmap(std::uint32_t key = 0, bool keyed = false) const {
        static constexpr std::array<int, 16> kBayer = {0, 8,  2, 10, 12, 4, 14, 6,
                                                       3, 11, 1, 9,  15, 7, 13, 5};
        Bitmap out(kWidth, kHeight);
        for (int y = 0; y < kHeight; ++y) {
            std::uint8_t* row = out.row(y);
            for (int x = 0; x < kWidth; ++x) {
                std::uint32_t value = key;
                if (!keyed || alpha(x, y) >= 0.5) {
                    const Rgb c = colour(x, y);
                    const double d = (kBayer[(y % 4) * 4 + x % 4] + 0.5) / 16.0 - 0.5;
                    auto channel = [d](double v) {
                        return std::clamp(static_cast<int>(std::floor(v + 0.5 + d * 0.9)), 0, 255);
                    };
                    value = rgb(channel(c.r), channel(c.g), channel(c.b));
                    if (keyed && value == key) value ^= 0x000100;  // one step of green off
                }
                row[x * 3] = static_cast<std::uint8_t>(value >> 16);
                row[x * 3 + 1] = static_cast<std::uint8_t>(value >> 8);
                row[x * 3 + 2] = static_cast<std::uint8_t>(value);
            }
        }
        return out;
    }

private:
    static std::size_t index(int x, int y) { return static_cast<std::size_t>(y) * kWidth + x; }
    double fromCanvasX(double x) const { return zoomX_ + (x - zoomX_) / scale_; }
    double fromCanvasY(double y) const { return zoomY_ + (y - zoomY_) / scale_; }
    Box toCanvas(Box box) const {
        return {static_cast<int>(std::floor(zoomX_ + (box.left - zoomX_) * scale_)),
                static_cast<int>(std::floor(zoomY_ + (box.top - zoomY_) * scale_)),
                static_cast<int>(std::ceil(zoomX_ + (box.right - zoomX_) * scale_)),
                static_cast<int>(std::ceil(zoomY_ + (box.bottom - zoomY_) * scale_))};
    }
    static void clip(Box& box) {
        box.left = std::max(box.left, 0);
        box.top = std::max(box.top, 0);
        box.right = std::min(box.right, kWidth);
        box.bottom = std::min(box.bottom, kHeight);
    }

    std::vector<Rgb> colour_;
    std::vector<double> alpha_;
    double zoomX_ = 0, zoomY_ = 0, scale_ = 1.0;
};

// ---------------------------------------------------------------------------------------------
// Shapes

Shape rectShape(double left, double top, double right, double bottom) {
    return [=](double x, double y) { return x >= left && x < right && y >= top && y < bottom; };
}

Shape ellipseShape(double cx, double cy, double rx, double ry) {
    return [=](double x, double y) {
        const double dx = (x - cx) / rx, dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1.0;
    };
}

struct Point {
    double x = 0, y = 0;
};

// Even-odd rule.
Shape polygonShape(std::vector<Point> points) {
    return [points = std::move(points)](double x, double y) {
        bool in = false;
        for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            const Point& a = points[i];
            const Point& b = points[j];
            if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) {
                in = !in;
            }
        }
        return in;
    };
}

Box boundsOf(const std::vector<Point>& points) {
    double l = 1e9, t = 1e9, r = -1e9, b = -1e9;
    for (const Point& p : points) {
        l = std::min(l, p.x);
        t = std::min(t, p.y);
        r = std::max(r, p.x);
        b = std::max(b, p.y);
    }
    return {static_cast<int>(std::floor(l)) - 1, static_cast<int>(std::floor(t)) - 1,
            static_cast<int>(std::ceil(r)) + 1, static_cast<int>(std::ceil(b)) + 1};
}

void polygon(Canvas& c, const std::vector<Point>& points, const Paint& paint, double op = 1.0) {
    c.shape(boundsOf(points), polygonShape(points), paint, op);
}

void polygon(Canvas& c, const std::vector<Point>& points, Rgb colour, double op = 1.0) {
    polygon(
        c, points, [colour](double, double) { return colour; }, op);
}

void rect(Canvas& c, double l, double t, double r, double b, Rgb colour, double op = 1.0) {
    c.shape({static_cast<int>(l) - 1, static_cast<int>(t) - 1, static_cast<int>(r) + 2,
             static_cast<int>(b) + 2},
            rectShape(l, t, r, b), colour, op);
}

void ellipse(Canvas& c, double cx, double cy, double rx, double ry, const Paint& paint,
             double op = 1.0) {
    c.shape({static_cast<int>(cx - rx) - 1, static_cast<int>(cy - ry) - 1,
             static_cast<int>(cx + rx) + 2, static_cast<int>(cy + ry) + 2},
            ellipseShape(cx, cy, rx, ry), paint, op);
}

void ellipse(Canvas& c, double cx, double cy, double rx, double ry, Rgb colour, double op = 1.0) {
    ellipse(
        c, cx, cy, rx, ry, [colour](double, double) { return colour; }, op);
}

// A line of width `w` from a to b with round ends.
void line(Canvas& c, Point a, Point b, double w, Rgb colour, double op = 1.0) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    const Shape inside = [=](double x, double y) {
        double t = len2 > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / len2 : 0.0;
        t = std::clamp(t, 0.0, 1.0);
        return std::hypot(x - (a.x + t * dx), y - (a.y + t * dy)) <= w / 2;
    };
    c.shape(
        {static_cast<int>(std::min(a.x, b.x) - w) - 1, static_cast<int>(std::min(a.y, b.y) - w) - 1,
         static_cast<int>(std::max(a.x, b.x) + w) + 2,
         static_cast<int>(std::max(a.y, b.y) + w) + 2},
        inside, [colour](double, double) { return colour; }, op);
}

// ---------------------------------------------------------------------------------------------
// A001 and A004: the hotel on the hill, by night and on the snowy morning

// The top of the hill the hotel stands on.
double hillTop(double x) {
    const double u = (x - 330.0) / 330.0;
    return 262.0 + 96.0 * u * u - 10.0 * std::exp(-u * u * 30.0) + 6.0 * std::sin(x * 0.021);
}

// The far mountains behind the hill.
double ridgeTop(double x) {
    return 268.0 + 22.0 * std::sin(x * 0.011 + 0.8) + 12.0 * std::sin(x * 0.029 + 2.1) +
           5.0 * std::sin(x * 0.071);
}

// The road from the bottom of the picture up to the hotel door: its centre and half width.
double roadCentre(double y) {
    const double t = (y - 262.0) / (kHeight - 262.0);
    return 322.0 + 95.0 * std::sin(t * 2.6) * (1.0 - 0.35 * t) - 20.0 * t;
}
double roadHalfWidth(double y) {
    return 4.0 + (y - 262.0) * 0.55;
}

struct Palette {
    bool night = true;
    Rgb skyTop, skyHorizon;
    Rgb ridge, hillNear, hillFar;
    Rgb wall, wallShade, roof, trim;
    Rgb windowLit, windowDark;
    Rgb road;
    Rgb tree;
};

Palette nightPalette() {
    Palette p;
    p.night = true;
    p.skyTop = {6, 10, 34};
    p.skyHorizon = {46, 58, 112};
    p.ridge = {22, 28, 58};
    p.hillFar = {18, 30, 40};
    p.hillNear = {10, 16, 24};
    p.wall = {44, 46, 70};
    p.wallShade = {30, 30, 50};
    p.roof = {22, 22, 38};
    p.trim = {70, 72, 100};
    p.windowLit = {255, 206, 120};
    p.windowDark = {18, 22, 40};
    p.road = {32, 36, 52};
    p.tree = {8, 14, 22};
    return p;
}

Palette snowPalette() {
    Palette p;
    p.night = false;
    p.skyTop = {150, 170, 196};
    p.skyHorizon = {222, 222, 232};
    p.ridge = {146, 160, 188};
    p.hillFar = {246, 248, 252};
    p.hillNear = {214, 222, 238};
    p.wall = {178, 160, 140};
    p.wallShade = {136, 120, 108};
    p.roof = {90, 70, 66};
    p.trim = {226, 222, 214};
    p.windowLit = {250, 220, 160};
    p.windowDark = {70, 84, 104};
    p.road = {200, 208, 224};
    p.tree = {40, 56, 58};
    return p;
}

void drawSky(Canvas& c, const Palette& p) {
    c.fill({}, [&](double x, double y) {
        const double t = std::pow(std::clamp(y / 300.0, 0.0, 1.0), 1.4);
        Rgb sky = mix(p.skyTop, p.skyHorizon, t);
        // Thin clouds, faint by night.
        const double n = cloudNoise(x / 160.0, y / 45.0, 11);
        const double cloud = smoothstep(0.55, 0.8, n) * (1.0 - smoothstep(120, 260, y) * 0.5);
        sky = p.night ? mix(sky, Rgb{52, 60, 100}, cloud * 0.35)
                      : mix(sky, Rgb{244, 244, 248}, cloud * 0.6);
        return sky;
    });
}

void drawStars(Canvas& c) {
    Random random(0x57A25u);
    for (int i = 0; i < 190; ++i) {
        const double x = random.between(0, kWidth);
        const double y = random.between(0, 250);
        const double bright = random.between(0.25, 1.0) * (1.0 - y / 330.0);
        const Rgb tint = mix(Rgb{255, 236, 200}, Rgb{200, 220, 255}, random.next());
        const int ix = static_cast<int>(x), iy = static_cast<int>(y);
        c.add(ix, iy, tint * (0.9 * bright));
        if (bright > 0.72) {
            // The brightest twinkle with a small cross.
            for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                c.add(ix + dx, iy + dy, tint * (0.35 * bright));
            }
            c.glow(ix + 0.5, iy + 0.5, 4.0, tint, 0.25);
        }
    }
}

void drawMoon(Canvas& c) {
    const double cx = 522, cy = 78, r = 25;
    c.glow(cx, cy, 120, {60, 66, 100}, 0.8);
    c.glow(cx, cy, 55, {90, 96, 120}, 0.8);
    ellipse(c, cx, cy, r, r, [&](double x, double y) {
        // Lit from the lower left, with soft grey seas.
        const double shade = ((x - cx) * 0.5 - (y - cy) * 0.2) / r;
        Rgb m = mix(Rgb{255, 250, 222}, Rgb{214, 210, 188}, shade * 0.8 + 0.2);
        const double sea = smoothstep(0.55, 0.75, cloudNoise(x / 9.0, y / 9.0, 5));
        return mix(m, Rgb{188, 186, 170}, sea * 0.55);
    });
}

void drawSun(Canvas& c) {
    // A pale winter sun behind a thin haze.
    c.glow(150, 70, 220, {60, 56, 40}, 0.9);
    c.glow(150, 70, 60, {90, 86, 66}, 1.0);
    ellipse(c, 150, 70, 18, 18, Rgb{255, 252, 238}, 0.85);
}

void drawRidge(Canvas& c, const Palette& p) {
    c.shape(
        {0, 220, kWidth, 300}, [](double x, double y) { return y >= ridgeTop(x); },
        [&](double x, double y) {
            Rgb r = mix(p.ridge, p.hillFar, (y - 240.0) / 80.0 * 0.5);
            if (!p.night) {
                // Snow on the far slopes, blue in the hollows.
                const double n = cloudNoise(x / 30.0, y / 8.0, 3);
                r = mix(r, Rgb{226, 232, 244}, smoothstep(0.45, 0.6, n) * 0.35);
            }
            return r;
        });
}

void drawPine(Canvas& c, const Palette& p, double x, double baseY, double height) {
    const double w = height * 0.42;
    rect(c, x - height * 0.04, baseY - height * 0.18, x + height * 0.04, baseY, p.tree);
    for (int tier = 0; tier < 3; ++tier) {
        const double top = baseY - height + tier * height * 0.22;
        const double bottom = baseY - height * 0.12 - (2 - tier) * height * 0.2;
        const double half = w * (0.55 + tier * 0.22);
        polygon(c, {{x, top}, {x + half, bottom}, {x - half, bottom}}, p.tree);
        if (!p.night) {
            // Snow lying on the upper side of each tier.
            const double sh = (bottom - top) * 0.45;
            polygon(c,
                    {{x, top},
                     {x + half * 0.7, top + sh * 1.4},
                     {x + half * 0.2, top + sh * 1.1},
                     {x - half * 0.3, top + sh * 1.5},
                     {x - half * 0.75, top + sh * 1.3}},
                    Rgb{236, 240, 248});
        }
    }
}

void drawHill(Canvas& c, const Palette& p) {
    c.shape(
        {0, 240, kWidth, kHeight}, [](double x, double y) { return y >= hillTop(x); },
        [&](double x, double y) {
            const double depth = std::clamp((y - hillTop(x)) / 180.0, 0.0, 1.0);
            Rgb h = mix(p.hillFar, p.hillNear, depth);
            if (p.night) {
                // Moonlight grazing the crest from the right.
                h = mix(h, Rgb{40, 52, 74},
                        (1.0 - smoothstep(0, 22, y - hillTop(x))) * 0.5 * smoothstep(200, 640, x));
                const double grass = cloudNoise(x / 18.0, y / 6.0, 21);
                h = h * (0.86 + 0.28 * grass);
            } else {
                // Drifts: soft blue shadows in the snow.
                const double drift = cloudNoise(x / 70.0, y / 16.0, 21);
                h = mix(h, Rgb{190, 202, 228}, smoothstep(0.5, 0.75, drift) * 0.7);
                h = mix(h, Rgb{250, 251, 255},
                        smoothstep(0.0, 14.0, y - hillTop(x)) * (1.0 - depth) * 0.4);
                // A faint blue edge where the crest meets the sky.
                h = mix(h, Rgb{196, 206, 230}, (1.0 - smoothstep(0.0, 3.0, y - hillTop(x))) * 0.6);
            }
            return h;
        });
}

void drawRoad(Canvas& c, const Palette& p) {
    // The forecourt before the door, where the road ends.
    const Shape inside = [](double x, double y) {
        if (y < 262.0) return false;
        const double dx = (x - 335.0) / 72.0, dy = (y - 266.0) / 9.0;
        return std::abs(x - roadCentre(y)) <= roadHalfWidth(y) || dx * dx + dy * dy <= 1.0;
    };
    c.shape({100, 255, 560, kHeight}, inside, [&](double x, double y) {
        const double across = std::clamp((x - roadCentre(y)) / roadHalfWidth(y), -1.0, 1.0);
        Rgb r = p.road;
        if (p.night) {
            // The light from the hotel door spills down the road.
            r = mix(r, Rgb{92, 84, 80}, std::exp(-(y - 262.0) / 60.0) * 0.8);
            r = r * (1.0 - 0.25 * across * across);
            if (std::abs(across) > 0.94 && y > 276) r = mix(r, Rgb{74, 78, 96}, 0.6);
        } else {
            // Two wheel tracks in the snow.
            const double track = std::exp(-std::pow((std::abs(across) - 0.45) / 0.1, 2));
            r = mix(r, Rgb{168, 176, 198}, track * 0.7);
        }
        return r;
    });
    // Lamps along the road.
    for (const double y : {300.0, 350.0}) {
        const double x = roadCentre(y) - roadHalfWidth(y) - 10 - (y - 300) * 0.2;
        const double h = 26 + (y - 300) * 0.45;
        rect(c, x - 1.2, y - h, x + 1.2, y, p.night ? Rgb{20, 20, 30} : Rgb{60, 60, 70});
        ellipse(c, x, y - h, 3.2, 3.2, p.night ? Rgb{255, 232, 170} : Rgb{120, 120, 120});
        if (p.night) {
            c.glow(x, y - h, 40, {140, 110, 60}, 0.8);
            c.glow(x, y, 30, {50, 40, 24}, 0.6);
        }
    }
}

// One window of the hotel.
void drawWindow(Canvas& c, const Palette& p, double x, double y, double w, double h, bool lit) {
    rect(c, x - 1, y - 1, x + w + 1, y + h + 1, p.trim * 0.8);
    if (lit && p.night) {
        c.shape({static_cast<int>(x) - 1, static_cast<int>(y) - 1, static_cast<int>(x + w) + 2,
                 static_cast<int>(y + h) + 2},
                rectShape(x, y, x + w, y + h), [&](double, double py) {
                    return mix(p.windowLit, Rgb{230, 150, 70}, (py - y) / h * 0.6);
                });
        rect(c, x + w / 2 - 0.5, y, x + w / 2 + 0.5, y + h, Rgb{120, 80, 40});
    } else {
        c.shape({static_cast<int>(x) - 1, static_cast<int>(y) - 1, static_cast<int>(x + w) + 2,
                 static_cast<int>(y + h) + 2},
                rectShape(x, y, x + w, y + h), [&](double, double py) {
                    return mix(p.windowDark * 1.25, p.windowDark, (py - y) / h);
                });
        if (!p.night) {
            // A little snow on the sill.
            rect(c, x - 1.5, y + h, x + w + 1.5, y + h + 1.6, Rgb{244, 246, 252});
        }
    }
}

void drawHotel(Canvas& c, const Palette& p) {
    Random random(0x4073Eu);
    const double base = 262.0;
    const Rgb snow{244, 246, 252};
    const Rgb snowShade{206, 214, 234};

    // Wings, lower than the main block.
    for (const auto& [l, r] : {std::pair{178.0, 232.0}, {428.0, 482.0}}) {
        c.shape({static_cast<int>(l) - 1, 190, static_cast<int>(r) + 2, static_cast<int>(base) + 2},
                rectShape(l, 204, r, base),
                [&p, l = l, r = r](double x, double) {
                    return mix(p.wallShade, p.wall, (x - l) / (r - l));
                });
        polygon(c, {{l - 4, 205}, {l + 8, 190}, {r - 8, 190}, {r + 4, 205}}, p.roof);
        if (!p.night) polygon(c, {{l - 4, 205}, {l + 8, 190}, {r - 8, 190}, {r + 4, 205}}, snow);
        if (!p.night) rect(c, l - 4, 203, r + 4, 206, snowShade);
        for (int floor = 0; floor < 2; ++floor) {
            for (int i = 0; i < 3; ++i) {
                const double wx = l + 7 + i * 16, wy = 212 + floor * 24;
                drawWindow(c, p, wx, wy, 9, 13, random.next() < 0.45);
            }
        }
    }

    // The main block: four floors.
    const double left = 232, right = 428, top = 136;
    c.shape({static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
             static_cast<int>(base) + 1},
            rectShape(left, top, right, base), [&](double x, double y) {
                Rgb w = mix(p.wall, p.wallShade, smoothstep(300, 428, x) * 0.6);
                // Stone courses.
                if (std::fmod(y - top, 8.0) < 0.9) w = w * 0.9;
                return w;
            });
    // Cornices between the floors.
    for (int floor = 0; floor <= 4; ++floor) {
        const double y = top + 6 + floor * 29;
        rect(c, left - 2, y - 1.5, right + 2, y + 0.5, p.trim);
        if (!p.night) rect(c, left - 2, y - 2.8, right + 2, y - 1.5, snow);
    }
    // Windows, the fourth floor at the top; room 303, third from the left on the third floor, is
    // lit.
    for (int floor = 0; floor < 4; ++floor) {
        const double wy = top + 11 + floor * 29;
        const bool ground = floor == 3;
        for (int i = 0; i < 10; ++i) {
            const double wx = left + 9 + i * 18.6;
            if (ground && (i == 4 || i == 5)) continue;  // the door
            const bool room303 = floor == 1 && i == 2;
            const bool lit = room303 || ground || random.next() < 0.42;
            drawWindow(c, p, wx, wy, 10, 17, lit);
        }
    }
    // The door, warm light under an awning.
    const double doorL = 313, doorR = 347;
    if (p.night) {
        rect(c, doorL, 232, doorR, base, Rgb{60, 40, 30});
        for (const double l : {doorL + 2, 331.0}) {
            c.shape({static_cast<int>(l), 233, static_cast<int>(l) + 16, static_cast<int>(base)},
                    rectShape(l, 234, l + 14, base), [&](double, double y) {
                        return mix(Rgb{250, 206, 136}, Rgb{206, 136, 70}, (y - 234) / 28);
                    });
        }
        c.glow(330, base - 6, 60, {90, 66, 36}, 0.9);
    } else {
        rect(c, doorL, 232, doorR, base, Rgb{92, 70, 60});
        rect(c, doorL + 2, 234, 329, base, Rgb{120, 96, 84});
        rect(c, 331, 234, doorR - 2, base, Rgb{120, 96, 84});
    }
    polygon(c, {{doorL - 8, 232}, {doorR + 8, 232}, {doorR + 4, 226}, {doorL - 4, 226}},
            p.night ? Rgb{100, 30, 34} : Rgb{140, 40, 44});
    if (!p.night) rect(c, doorL - 6, 224.5, doorR + 6, 227, snow);

    // The roof: a mansard over the block and a tower with a spire in the middle.
    const std::vector<Point> roof = {
        {left - 6, top + 1}, {left + 14, top - 22}, {right - 14, top - 22}, {right + 6, top + 1}};
    polygon(c, roof, [&](double x, double) {
        return mix(p.roof * 1.2, p.roof * 0.85, (x - left) / (right - left));
    });
    if (!p.night) {
        polygon(c,
                {{left - 6, top + 1},
                 {left + 14, top - 22},
                 {right - 14, top - 22},
                 {right + 6, top + 1},
                 {right - 20, top - 4},
                 {330, top - 9},
                 {left + 30, top - 3}},
                [&](double x, double) { return mix(snow, snowShade, (x - left) / 300.0); });
    }
    // Dormer windows in the roof.
    for (int i = 0; i < 5; ++i) {
        const double dx = left + 28 + i * 36;
        if (i == 2) continue;
        polygon(c,
                {{dx - 7, top - 4},
                 {dx - 7, top - 14},
                 {dx, top - 20},
                 {dx + 7, top - 14},
                 {dx + 7, top - 4}},
                p.wallShade);
        drawWindow(c, p, dx - 3.5, top - 13, 7, 8, random.next() < 0.5);
        if (!p.night) polygon(c, {{dx - 8, top - 13}, {dx, top - 21}, {dx + 8, top - 13}}, snow);
    }
    // The tower.
    c.shape({304, 70, 357, static_cast<int>(top)}, rectShape(306, 84, 354, top),
            [&](double x, double) { return mix(p.wall, p.wallShade, (x - 306) / 60.0); });
    rect(c, 304, 84, 356, 87, p.trim);
    polygon(c, {{300, 86}, {330, 38}, {360, 86}},
            [&](double x, double) { return mix(p.roof * 1.25, p.roof * 0.8, (x - 300) / 60.0); });
    if (!p.night) polygon(c, {{330, 38}, {318, 58}, {326, 56}, {333, 62}, {342, 58}}, snow);
    line(c, {330, 38}, {330, 26}, 1.4, p.night ? Rgb{60, 60, 80} : Rgb{70, 60, 60});
    // The clock face of the tower.
    ellipse(c, 330, 104, 10, 10, p.trim);
    ellipse(c, 330, 104, 8.2, 8.2, p.night ? Rgb{250, 226, 170} : Rgb{240, 236, 222});
    if (p.night) c.glow(330, 104, 26, {100, 80, 40}, 0.7);
    line(c, {330, 104}, {325.5, 101.5}, 1.2, {40, 30, 30});
    line(c, {330, 104}, {330, 97.5}, 1.0, {40, 30, 30});
    // The sign over the door: a lit board.
    rect(c, 300, 214, 360, 223, p.night ? Rgb{40, 30, 30} : Rgb{70, 46, 40});
    for (int i = 0; i < 6; ++i) {
        rect(c, 305 + i * 9, 216.5, 310 + i * 9, 220.5,
             p.night ? Rgb{255, 200, 120} : Rgb{220, 200, 150});
    }
    if (p.night) c.glow(330, 218, 40, {90, 60, 30}, 0.8);

    // A faint warm haze in the night air round the lit building.
    if (p.night) c.glow(330, 200, 170, {24, 20, 16}, 1.0);
}

void drawCar(Canvas& c) {
    // The car that has just arrived, standing at the door with its lights on.
    const double x = 372, y = 270;
    polygon(c,
            {{x - 18, y},
             {x - 18, y - 6},
             {x - 10, y - 8},
             {x - 6, y - 13},
             {x + 8, y - 13},
             {x + 13, y - 8},
             {x + 19, y - 7},
             {x + 19, y}},
            Rgb{16, 16, 24});
    rect(c, x - 4, y - 12, x + 7, y - 8.5, Rgb{70, 64, 60});
    ellipse(c, x - 11, y + 0.5, 3, 3, Rgb{6, 6, 10});
    ellipse(c, x + 12, y + 0.5, 3, 3, Rgb{6, 6, 10});
    ellipse(c, x - 17, y - 4, 1.6, 1.4, Rgb{255, 246, 210});
    c.glow(x - 22, y - 3, 24, {120, 110, 80}, 0.7);
    c.glow(x + 19, y - 4, 6, {160, 20, 10}, 0.7);
}

void drawSnowfall(Canvas& c) {
    Random random(0x5A0Fu);
    for (int i = 0; i < 140; ++i) {
        const double x = random.between(0, kWidth);
        const double y = random.between(0, 372);
        const double r = random.between(0.7, 1.9);
        ellipse(c, x, y, r, r, Rgb{255, 255, 255}, random.between(0.45, 0.9));
    }
}

void drawSparkles(Canvas& c) {
    Random random(0x5BA4Cu);
    for (int i = 0; i < 90; ++i) {
        const double x = random.between(0, kWidth);
        const double y = random.between(300, 372);
        if (y < hillTop(x) + 4) continue;
        c.add(static_cast<int>(x), static_cast<int>(y), Rgb{40, 40, 40});
    }
}

Canvas drawHotelScene(bool night) {
    const Palette p = night ? nightPalette() : snowPalette();
    Canvas c;
    drawSky(c, p);
    if (night) {
        drawStars(c);
        drawMoon(c);
    } else {
        drawSun(c);
    }
    drawRidge(c, p);
    // Far trees on the ridge, then the hill with the hotel and the nearer trees.
    Random random(0x7E1u);
    for (int i = 0; i < 26; ++i) {
        const double x = random.between(0, kWidth);
        const double h = random.between(8, 16);
        if (std::abs(x - 330) < 170) continue;
        drawPine(c, p, x, ridgeTop(x) + 8 + h * 0.3, h);
    }
    drawHill(c, p);
    drawHotel(c, p);
    for (const auto& [x, h] : {std::pair{150.0, 30.0},
                               {122.0, 40.0},
                               {96.0, 26.0},
                               {520.0, 36.0},
                               {548.0, 28.0},
                               {496.0, 24.0},
                               {585.0, 44.0}}) {
        drawPine(c, p, x, hillTop(x) + h * 0.35 + 4, h);
    }
    drawRoad(c, p);
    if (night) {
        drawCar(c);
    } else {
        drawSparkles(c);
        drawSnowfall(c);
    }
    c.vignette(night ? 0.45 : 0.18);
    return c;
}

// ---------------------------------------------------------------------------------------------
// A002: the lobby

// The front desk: the clerk of B001 stands behind it with his hands on its top.
constexpr double kCounterLeft = 150;
constexpr double kCounterRight = 490;
constexpr double kCounterBack = 296;   // the far edge of the top, where the clerk is cut off
constexpr double kCounterFront = 308;  // the near edge of the top
constexpr double kFloorLine = 330;     // where the back wall meets the floor

// The light in the lobby: warm, strongest round the two lamps and the desk.
double lobbyLight(double x, double y) {
    const double a = std::exp(-(std::pow((x - 185) / 150, 2) + std::pow((y - 120) / 160, 2)));
    const double b = std::exp(-(std::pow((x - 505) / 150, 2) + std::pow((y - 120) / 160, 2)));
    const double desk = std::exp(-(std::pow((x - 320) / 240, 2) + std::pow((y - 250) / 200, 2)));
    return 0.55 + 0.35 * (a + b) + 0.3 * desk;
}

void drawLobbyWall(Canvas& c) {
    c.fill({0, 0, kWidth, static_cast<int>(kFloorLine) + 1}, [](double x, double y) {
        Rgb wall{176, 124, 80};
        // A damask pattern of small diamonds, a little darker than the ground.
        const double u = std::fmod(x + 1000, 32.0) - 16.0;
        const double v =
            std::fmod(y + 1000 + (std::fmod(std::floor((x + 1000) / 32.0), 2.0) * 20), 40.0) - 20.0;
        const double diamond = std::abs(u) / 9.0 + std::abs(v) / 14.0;
        if (diamond < 1.0 && diamond > 0.62) wall = wall * 0.9;
        // Fine vertical stripes.
        if (std::fmod(x + 1000, 32.0) < 1.2) wall = wall * 0.93;
        wall = wall * lobbyLight(x, y);
        return wall;
    });
    // The cornice at the ceiling.
    c.fill({0, 0, kWidth, 26}, [](double x, double y) {
        Rgb wood = mix(Rgb{70, 38, 24}, Rgb{40, 20, 14}, y / 26.0);
        return wood * (0.8 + 0.3 * lobbyLight(x, 100));
    });
    rect(c, 0, 25, kWidth, 28, Rgb{170, 130, 70});
    rect(c, 0, 30, kWidth, 31.5, Rgb{120, 80, 46});
    // Wainscot: dark wood panels below a rail.
    c.fill({0, 232, kWidth, static_cast<int>(kFloorLine)}, [](double x, double y) {
        Rgb wood = mix(Rgb{92, 50, 30}, Rgb{66, 34, 20}, (y - 232) / 98.0);
        const double grain = cloudNoise(x / 60.0, y / 4.0, 77);
        wood = wood * (0.9 + 0.2 * grain);
        // Panels 64 wide with a bevelled edge.
        const double px = std::fmod(x + 1000, 64.0);
        if (y > 244 && y < 320 && px > 6 && px < 58) {
            if (px < 8 || y < 247)
                wood = wood * 1.25;
            else if (px > 56 || y > 317)
                wood = wood * 0.7;
        }
        return wood * lobbyLight(x, y);
    });
    rect(c, 0, 228, kWidth, 233, Rgb{128, 80, 46});
    rect(c, 0, 228, kWidth, 229, Rgb{190, 140, 80});
    rect(c, 0, kFloorLine - 5, kWidth, kFloorLine, Rgb{40, 20, 12});
}

void drawLobbyFloor(Canvas& c) {
    // A chequered marble floor seen in perspective from eye height.
    constexpr double kHorizon = 200;
    c.shape(
        {0, static_cast<int>(kFloorLine), kWidth, kHeight},
        [](double, double y) { return y >= kFloorLine; },
        [](double x, double y) {
            // Supersample the tiles, so that the far rows do not shimmer.
            Rgb sum;
            for (int s = 0; s < 9; ++s) {
                const double sx = x - 0.5 + (s % 3 + 0.5) / 3.0;
                const double sy = y - 0.5 + (s / 3 + 0.5) / 3.0;
                const double depth = 260.0 / (sy - kHorizon);
                const double u = (sx - 320) * depth / 42.0;
                const double v = depth * 3.4;
                const bool dark =
                    (static_cast<int>(std::floor(u)) + static_cast<int>(std::floor(v))) % 2 != 0;
                Rgb tile = dark ? Rgb{146, 96, 68} : Rgb{226, 206, 172};
                const double vein = cloudNoise(u * 1.3 + v * 0.7, v * 1.6, dark ? 41 : 43);
                tile = tile * (0.92 + 0.16 * vein);
                sum = sum + tile;
            }
            Rgb floor = sum * (1.0 / 9.0);
            // Reflections of the lamps and a darker foreground.
            floor = floor * (0.95 * lobbyLight(x, 470 - (y - kFloorLine) * 1.4));
            return floor * (1.0 - 0.35 * smoothstep(kFloorLine, kHeight, y));
        });
    // A red carpet in front of the desk.
    polygon(c,
            {{230, kCounterFront + 48}, {410, kCounterFront + 48}, {470, kHeight}, {170, kHeight}},
            [](double x, double y) {
                Rgb carpet{130, 30, 34};
                const double edge = std::min(std::abs(x - 170 - (kHeight - y) * 0.35),
                                             std::abs(x - 470 + (kHeight - y) * 0.35));
                if (edge < 10 && edge > 5) carpet = Rgb{190, 140, 60};
                return carpet * (0.9 - 0.3 * smoothstep(360, 480, y));
            });
}

void drawCurtainedWindow(Canvas& c) {
    const double l = 38, r = 142, t = 62, b = 212;
    rect(c, l - 7, t - 7, r + 7, b + 10, Rgb{70, 40, 24});
    // The night outside.
    c.fill({static_cast<int>(l), static_cast<int>(t), static_cast<int>(r), static_cast<int>(b)},
           [](double, double y) {
               return mix(Rgb{8, 12, 36}, Rgb{36, 44, 88}, (y - 62) / 150);
           });
    Random random(0x3A1u);
    for (int i = 0; i < 14; ++i) {
        c.add(static_cast<int>(random.between(l, r)), static_cast<int>(random.between(t, 150)),
              {180, 180, 200});
    }
    // The hill and a far light.
    c.shape(
        {static_cast<int>(l), 170, static_cast<int>(r), static_cast<int>(b)},
        [](double x, double y) { return y > 186 + 10 * std::sin(x * 0.04); }, Rgb{10, 14, 24});
    c.glow(118, 190, 6, {200, 160, 90}, 0.8);
    // Glazing bars.
    rect(c, (l + r) / 2 - 1.5, t, (l + r) / 2 + 1.5, b, Rgb{70, 40, 24});
    rect(c, l, 130, r, 133, Rgb{70, 40, 24});
    rect(c, l - 10, b + 6, r + 10, b + 12, Rgb{110, 70, 40});
    // Curtains on both sides, with folds.
    for (const int side : {0, 1}) {
        const double edge = side == 0 ? l - 8 : r + 8;
        const double dir = side == 0 ? 1.0 : -1.0;
        const Shape curtain = [=](double x, double y) {
            if (y < t - 16 || y > 226) return false;
            // Tied back: narrow at the tie, wider above and below.
            const double tie = std::exp(-std::pow((y - 160) / 40, 2));
            const double width = 38 - 18 * tie;
            return (x - edge) * dir >= -6 && (x - edge) * dir <= width;
        };
        c.shape({static_cast<int>(l) - 20, static_cast<int>(t) - 18, static_cast<int>(r) + 20, 230},
                curtain, [=](double x, double) {
                    const double fold = 0.5 + 0.5 * std::sin((x - edge) * 0.45);
                    return mix(Rgb{96, 16, 24}, Rgb{170, 40, 44}, fold);
                });
        const double tieA = edge - 6 * dir, tieB = edge + 20 * dir;
        rect(c, std::min(tieA, tieB), 157, std::max(tieA, tieB), 162, Rgb{200, 160, 80});
    }
    // Pelmet.
    rect(c, l - 14, t - 22, r + 14, t - 8, Rgb{120, 22, 30});
    rect(c, l - 14, t - 9, r + 14, t - 7, Rgb{200, 160, 80});
}

void drawSconce(Canvas& c, double x, double y) {
    c.glow(x, y, 150, {70, 46, 20}, 0.9);
    rect(c, x - 10, y + 16, x + 10, y + 22, Rgb{150, 110, 50});
    line(c, {x, y + 19}, {x, y + 8}, 2.5, {160, 120, 60});
    polygon(c, {{x - 12, y + 8}, {x + 12, y + 8}, {x + 8, y - 10}, {x - 8, y - 10}},
            [&](double, double py) {
                return mix(Rgb{255, 236, 190}, Rgb{250, 190, 110}, (py - y + 10) / 18);
            });
    c.glow(x, y, 36, {140, 110, 60}, 0.9);
}

void drawClock(Canvas& c) {
    const double cx = 320, cy = 66, r = 30;
    // A dark wood case and a brass ring.
    ellipse(c, cx, cy, r + 8, r + 8, Rgb{60, 32, 20});
    ellipse(c, cx, cy, r + 3, r + 3, Rgb{200, 160, 80});
    ellipse(c, cx, cy, r, r, [&](double x, double y) {
        return mix(Rgb{250, 240, 214}, Rgb{210, 192, 160}, std::hypot(x - cx, y - cy) / r);
    });
    for (int i = 0; i < 12; ++i) {
        const double a = i * kPi / 6;
        const double inner = i % 3 == 0 ? r - 9 : r - 6;
        line(c, {cx + std::sin(a) * inner, cy - std::cos(a) * inner},
             {cx + std::sin(a) * (r - 3), cy - std::cos(a) * (r - 3)}, i % 3 == 0 ? 2.4 : 1.3,
             {50, 36, 30});
    }
    // Ten o'clock.
    const double hour = 10 * kPi / 6, minute = 0;
    line(c, {cx, cy}, {cx + std::sin(hour) * r * 0.5, cy - std::cos(hour) * r * 0.5}, 3.0,
         {30, 20, 20});
    line(c, {cx, cy}, {cx + std::sin(minute) * r * 0.75, cy - std::cos(minute) * r * 0.75}, 2.0,
         {30, 20, 20});
    ellipse(c, cx, cy, 3, 3, Rgb{170, 130, 60});
}

void drawKeyRack(Canvas& c) {
    const double l = 398, t = 132, r = 486, b = 226;
    rect(c, l - 4, t - 4, r + 4, b + 4, Rgb{60, 32, 20});
    Random random(0x4E7u);
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            const double x = l + col * 22, y = t + row * 23.5;
            rect(c, x + 1, y + 1, x + 21, y + 22.5, Rgb{34, 16, 10});
            if (random.next() < 0.7) {
                // A key hanging with its brass tag.
                line(c, {x + 11, y + 4}, {x + 11, y + 12}, 1.2, {190, 160, 90});
                rect(c, x + 7.5, y + 12, x + 14.5, y + 20, Rgb{196, 150, 70});
            }
        }
    }
}

void drawElevator(Canvas& c) {
    const double l = 536, r = 626, t = 120, b = kFloorLine;
    rect(c, l - 9, t - 9, r + 9, b, Rgb{190, 150, 80});
    rect(c, l - 5, t - 5, r + 5, b, Rgb{120, 84, 40});
    c.fill({static_cast<int>(l), static_cast<int>(t), static_cast<int>(r), static_cast<int>(b)},
           [&](double x, double) {
               const double sheen = 0.75 + 0.25 * std::cos((x - l) / (r - l) * kPi * 2);
               return Rgb{150, 118, 70} * sheen;
           });
    rect(c, (l + r) / 2 - 1, t, (l + r) / 2 + 1, b, Rgb{70, 50, 26});
    // The floor dial above the door, its needle on 1.
    const double dx = (l + r) / 2, dy = t - 14;
    c.shape(
        {static_cast<int>(dx) - 26, static_cast<int>(dy) - 26, static_cast<int>(dx) + 27,
         static_cast<int>(dy) + 2},
        [&](double x, double y) { return y <= dy && std::hypot(x - dx, y - dy) <= 22; },
        Rgb{200, 160, 80});
    c.shape(
        {static_cast<int>(dx) - 26, static_cast<int>(dy) - 26, static_cast<int>(dx) + 27,
         static_cast<int>(dy) + 2},
        [&](double x, double y) { return y <= dy && std::hypot(x - dx, y - dy) <= 18; },
        Rgb{240, 226, 190});
    line(c, {dx, dy}, {dx - 14, dy - 5}, 1.6, {60, 30, 20});
    rect(c, r + 10, 220, r + 14, 232, Rgb{220, 200, 150});
}

void drawPlant(Canvas& c, double x, double base) {
    // A brass pot with a fan of long leaves.
    Random random(0x9A11u);
    for (int i = 0; i < 13; ++i) {
        const double a = -kPi / 2 + (i - 6) * 0.2 + random.between(-0.06, 0.06);
        const double len = random.between(70, 110);
        const Point tip{x + std::cos(a) * len, base - 40 + std::sin(a) * len};
        const Point mid{x + std::cos(a) * len * 0.5, base - 40 + std::sin(a) * len * 0.5};
        const double w = random.between(7, 10);
        const double nx = -std::sin(a) * w, ny = std::cos(a) * w;
        const Rgb leaf = mix(Rgb{30, 70, 36}, Rgb{70, 120, 56}, random.next());
        polygon(
            c, {{x, base - 40}, {mid.x + nx, mid.y + ny}, tip, {mid.x - nx, mid.y - ny}},
            [&](double px, double) { return leaf * (0.8 + 0.4 * smoothstep(x + 40, x - 40, px)); });
    }
    polygon(c, {{x - 26, base - 46}, {x + 26, base - 46}, {x + 18, base}, {x - 18, base}},
            [&](double px, double) {
                return mix(Rgb{230, 190, 110}, Rgb{120, 80, 30}, (px - x + 26) / 52);
            });
    rect(c, x - 28, base - 48, x + 28, base - 43, Rgb{200, 160, 80});
}

void drawCounter(Canvas& c) {
    // The top: polished wood seen a little from above, with a brass edge.
    c.fill({static_cast<int>(kCounterLeft) - 8, static_cast<int>(kCounterBack),
            static_cast<int>(kCounterRight) + 8, static_cast<int>(kCounterFront)},
           [](double x, double y) {
               const Rgb wood = mix(Rgb{120, 64, 36}, Rgb{150, 84, 46}, (y - kCounterBack) / 12);
               const double shine = std::exp(-std::pow((x - 250) / 60, 2)) * 0.4 +
                                    std::exp(-std::pow((x - 420) / 50, 2)) * 0.3;
               return mix(wood, Rgb{230, 180, 120}, shine);
           });
    rect(c, kCounterLeft - 8, kCounterFront, kCounterRight + 8, kCounterFront + 3,
         Rgb{220, 180, 100});
    // The front: panels of dark mahogany, down past the bottom of the picture.
    c.fill({static_cast<int>(kCounterLeft), static_cast<int>(kCounterFront) + 3,
            static_cast<int>(kCounterRight), kHeight},
           [](double x, double y) {
               Rgb wood = mix(Rgb{98, 44, 28}, Rgb{50, 22, 14}, (y - kCounterFront) / 150);
               wood = wood * (0.9 + 0.2 * cloudNoise(x / 80.0, y / 5.0, 91));
               const double px = std::fmod(x - kCounterLeft, 68.0);
               const double py = y - kCounterFront;
               if (py > 12 && py < 60 && px > 8 && px < 60) {
                   if (px < 10 || py < 14)
                       wood = wood * 0.65;
                   else if (px > 58 || py > 58)
                       wood = wood * 1.35;
                   else
                       wood = wood * 1.08;
               }
               return wood;
           });
    rect(c, kCounterLeft, kCounterFront + 70, kCounterRight, kCounterFront + 73, Rgb{160, 120, 60});
    // A guest book, open, and the brass bell.
    polygon(c, {{186, 300}, {222, 300}, {226, 306}, {182, 306}}, Rgb{240, 232, 214});
    line(c, {204, 300}, {204, 306}, 1, {150, 130, 110});
    ellipse(c, 454, 298, 9, 7, [](double x, double y) {
        return mix(Rgb{250, 220, 140}, Rgb{150, 110, 40}, (x - 445 + y - 291) / 24);
    });
    rect(c, 443, 298, 465, 302, Rgb{120, 90, 40});
    ellipse(c, 454, 290.5, 1.6, 1.6, Rgb{220, 190, 110});
}

Canvas drawLobby() {
    Canvas c;
    drawLobbyWall(c);
    drawLobbyFloor(c);
    drawCurtainedWindow(c);
    drawSconce(c, 185, 120);
    drawSconce(c, 500, 120);
    drawClock(c);
    drawKeyRack(c);
    drawElevator(c);
    // A framed picture of the hotel behind the left of the desk.
    rect(c, 196, 140, 262, 196, Rgb{170, 130, 60});
    c.fill({200, 144, 258, 192}, [](double x, double y) {
        Rgb sky = mix(Rgb{40, 60, 110}, Rgb{110, 120, 150}, (y - 144) / 48);
        if (y > 178 - 6 * std::cos((x - 229) / 20)) sky = Rgb{40, 60, 44};
        if (x > 220 && x < 238 && y > 164 && y < 180) sky = Rgb{200, 180, 150};
        return sky;
    });
    drawPlant(c, 84, 372);
    drawCounter(c);
    c.vignette(0.4);
    return c;
}

// ---------------------------------------------------------------------------------------------
// A003: the corridor of the third floor, drawn by casting a ray through every sample

struct Vec {
    double x = 0, y = 0, z = 0;
};

constexpr double kHalfWidth = 1.1;  // the walls stand at x = -1.1 and 1.1
constexpr double kCeiling = 2.5;
constexpr double kEndWall = 9.0;
constexpr double kEyeHeight = 1.5;
constexpr double kFocal = 320;
constexpr double kVanishX = 320;
constexpr double kVanishY = 215;

// The lamps on the ceiling, and one over the clock at the end.
constexpr std::array<Vec, 4> kCorridorLamps = {
    {{0, 2.42, 1.8}, {0, 2.42, 4.4}, {0, 2.42, 7.0}, {0, 2.2, 8.7}}};

// Doors: left wall and right wall, centred at these depths.
constexpr std::array<double, 3> kLeftDoors = {2.3, 5.0, 7.6};
constexpr std::array<double, 2> kRightDoors = {3.6, 6.3};
constexpr double kDoorHalf = 0.45;
constexpr double kDoorHeight = 2.05;

// The wall surface at (z, y) along a side wall, with the doors.
Rgb sideWall(double z, double y, bool left) {
    const auto& doors = left ? std::vector<double>(kLeftDoors.begin(), kLeftDoors.end())
                             : std::vector<double>(kRightDoors.begin(), kRightDoors.end());
    for (const double dz : doors) {
        const double u = z - dz;
        if (std::abs(u) < kDoorHalf + 0.08 && y < kDoorHeight + 0.08) {
            if (std::abs(u) >= kDoorHalf || y >= kDoorHeight) return {196, 170, 130};  // frame
            Rgb door{112, 48, 34};
            // Two sunken panels.
            const bool inPanel =
                std::abs(u) < kDoorHalf - 0.1 && ((y > 0.2 && y < 0.95) || (y > 1.1 && y < 1.9));
            if (inPanel) door = door * 0.82;
            // The brass number plate and the knob.
            const double knobU = left ? -0.32 : 0.32;
            if (std::abs(u) < 0.09 && std::abs(y - 1.62) < 0.05) return {220, 180, 96};
            if (std::hypot(u - knobU, (y - 1.0) * 1.0) < 0.04) return {230, 190, 100};
            return door;
        }
    }
    if (y < 0.09) return {40, 22, 16};  // skirting
    if (y < 0.92) {
        Rgb wood{96, 54, 34};
        const double pz = std::fmod(z + 100, 0.8);
        if (y > 0.16 && y < 0.84 && pz > 0.08 && pz < 0.72) wood = wood * 0.86;
        return wood;
    }
    if (y < 0.98) return {160, 110, 60};  // the rail
    if (y > kCeiling - 0.1) return {220, 206, 180};
    Rgb paper{206, 176, 128};
    if (std::fmod(z * 6.0 + 100, 1.0) < 0.12) paper = paper * 0.94;
    return paper;
}

// The end wall at (x, y), with the old standing clock.
Rgb endWall(double x, double y) {
    const double ax = std::abs(x);
    if (ax < 0.3 && y < 2.15) {
        const Rgb wood{84, 40, 24};
        if (y > 2.0) return wood * 1.2;  // the crown
        const double face = std::hypot(x, y - 1.68);
        if (face < 0.19) {
            if (face > 0.17) return {200, 160, 80};
            // Ten o'clock: the hour hand up and to the left, the minute hand straight up.
            const double hx = x, hy = y - 1.68;
            const bool minuteHand = std::abs(hx) < 0.008 && hy > 0 && hy < 0.15;
            const double hourAngle = 10 * kPi / 6;
            const double along = hx * std::sin(hourAngle) + hy * std::cos(hourAngle);
            const double across = hx * std::cos(hourAngle) - hy * std::sin(hourAngle);
            const bool hourHand = along > 0 && along < 0.1 && std::abs(across) < 0.012;
            if (minuteHand || hourHand) return {30, 20, 20};
            return {240, 228, 200};
        }
        if (y > 0.45 && y < 1.35 && ax < 0.14) {
            // The glass door of the pendulum.
            if (std::hypot(x - 0.03, y - 0.7) < 0.07) return {230, 190, 100};
            if (std::abs(x - 0.03 + (y - 0.7) * 0.05) < 0.008 && y > 0.7) return {190, 150, 80};
            return {40, 24, 20};
        }
        if (ax > 0.26 || y < 0.1) return wood * 0.8;
        return wood;
    }
    if (y < 0.09) return {40, 22, 16};
    if (y < 0.92) return {96, 54, 34};
    if (y < 0.98) return {160, 110, 60};
    return {206, 176, 128};
}

Rgb floorAt(double x, double z) {
    if (std::abs(x) < 0.78) {
        // The runner: deep red with gold borders and a row of diamonds.
        const double ax = std::abs(x);
        if (ax > 0.64 && ax < 0.7) return {196, 150, 70};
        Rgb carpet{124, 26, 32};
        const double m = std::fmod(z + 100, 0.9) - 0.45;
        if (std::abs(m) / 0.3 + ax / 0.3 < 1.0 && std::abs(m) / 0.3 + ax / 0.3 > 0.8) {
            carpet = {170, 110, 60};
        }
        return carpet;
    }
    // Boards along the corridor.
    Rgb board{110, 70, 44};
    const double seam = std::fmod(std::abs(x) * 6.0, 1.0);
    if (seam < 0.06) board = board * 0.7;
    return board;
}

Rgb ceilingAt(double x, double z) {
    for (const Vec& lamp : kCorridorLamps) {
        if (lamp.y < 2.4) continue;
        if (std::hypot(x - lamp.x, (z - lamp.z) * 0.8) < 0.2) return {255, 250, 230};
        if (std::hypot(x - lamp.x, (z - lamp.z) * 0.8) < 0.24) return {200, 160, 80};
    }
    return {226, 210, 184};
}

// The light falling on a surface point with normal n.
double corridorLight(Vec p, Vec n) {
    double light = 0.16;
    for (const Vec& lamp : kCorridorLamps) {
        const Vec d{lamp.x - p.x, lamp.y - p.y, lamp.z - p.z};
        const double dist = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
        const double facing = (d.x * n.x + d.y * n.y + d.z * n.z) / dist;
        if (facing <= 0) continue;
        light += 1.5 * facing / (1.0 + 0.9 * dist * dist);
    }
    return light;
}

Rgb traceCorridor(double sx, double sy) {
    const Vec d{(sx - kVanishX) / kFocal, (kVanishY - sy) / kFocal, 1.0};
    double t = kEndWall;
    int surface = 0;  // 0 end wall, 1 left, 2 right, 3 floor, 4 ceiling
    if (d.x < 0 && -kHalfWidth / d.x < t) t = -kHalfWidth / d.x, surface = 1;
    if (d.x > 0 && kHalfWidth / d.x < t) t = kHalfWidth / d.x, surface = 2;
    if (d.y < 0 && -kEyeHeight / d.y < t) t = -kEyeHeight / d.y, surface = 3;
    if (d.y > 0 && (kCeiling - kEyeHeight) / d.y < t)
        t = (kCeiling - kEyeHeight) / d.y, surface = 4;
    const Vec p{d.x * t, kEyeHeight + d.y * t, d.z * t};
    Rgb albedo;
    Vec n;
    double glow = 0;
    switch (surface) {
        case 0:
            albedo = endWall(p.x, p.y);
            n = {0, 0, -1};
            break;
        case 1:
            albedo = sideWall(p.z, p.y, true);
            n = {1, 0, 0};
            break;
        case 2:
            albedo = sideWall(p.z, p.y, false);
            n = {-1, 0, 0};
            break;
        case 3:
            albedo = floorAt(p.x, p.z);
            n = {0, 1, 0};
            break;
        default:
            albedo = ceilingAt(p.x, p.z);
            n = {0, -1, 0};
            if (albedo.r > 250) glow = 1.0;
            break;
    }
    double light = glow > 0 ? 1.0 : corridorLight(p, n);
    if (surface == 4 && glow == 0) {
        // The ceiling round each lamp catches its light; the rest is lit from below.
        light += 0.2;
        for (const Vec& lamp : kCorridorLamps) {
            const double d2 = (p.x - lamp.x) * (p.x - lamp.x) + (p.z - lamp.z) * (p.z - lamp.z);
            light += 0.5 / (1.0 + 1.2 * d2);
        }
    }
    Rgb lit = albedo * std::min(light, 1.3);
    // The far end fades into a warm dusk.
    return mix(lit, Rgb{40, 24, 16}, smoothstep(3.0, 12.0, t) * 0.45);
}

Canvas drawCorridor() {
    Canvas c;
    c.fill({}, [](double x, double y) {
        Rgb sum;
        for (int s = 0; s < 9; ++s) {
            sum = sum + traceCorridor(x - 0.5 + (s % 3 + 0.5) / 3.0, y - 0.5 + (s / 3 + 0.5) / 3.0);
        }
        return sum * (1.0 / 9.0);
    });
    // Soft halos under the lamps.
    for (const Vec& lamp : kCorridorLamps) {
        const double sx = kVanishX + kFocal * lamp.x / lamp.z;
        const double sy = kVanishY - kFocal * (lamp.y - kEyeHeight) / lamp.z;
        c.glow(sx, sy, 160 / lamp.z + 8, {110, 90, 50}, 0.8);
    }
    c.vignette(0.5);
    return c;
}

// ---------------------------------------------------------------------------------------------
// B001: the old clerk, standing behind the desk of A002

constexpr std::uint32_t kSeeThrough = rgb(255, 0, 255);

Canvas drawClerk() {
    Canvas c(false);
    const double cx = 320;
    const double cut = kCounterBack + 1;  // the body ends behind the desk's top
    const Rgb coat{34, 34, 46};
    const Rgb coatLight{70, 70, 92};
    const Rgb shirt{236, 232, 222};
    const Rgb skin{232, 190, 156};
    const Rgb skinShade{196, 146, 114};
    const Rgb hair{214, 214, 216};
    const Rgb outline{20, 16, 20};
    // Drawn a little larger than it is written, growing up from the desk.
    c.zoom(cx, cut, 1.22);

    // The body: shoulders falling to the sides, cut off at the desk.
    const std::vector<Point> body = {{cx - 30, 226}, {cx + 30, 226}, {cx + 62, 236},
                                     {cx + 74, 250}, {cx + 78, cut}, {cx - 78, cut},
                                     {cx - 74, 250}, {cx - 62, 236}};
    c.shape(boundsOf(body), polygonShape(body), [&](double x, double y) {
        // Light from the upper left.
        const double t = smoothstep(cx - 80, cx + 80, x) * 0.8 + (y - 226) / 200;
        return mix(coatLight, coat, t);
    });
    // The waistcoat and the shirt front in a V.
    polygon(c, {{cx - 22, 228}, {cx + 22, 228}, {cx + 30, cut}, {cx - 30, cut}}, Rgb{110, 30, 36});
    polygon(c, {{cx - 18, 228}, {cx + 18, 228}, {cx, 270}}, shirt);
    // The lapels of the coat.
    polygon(c, {{cx - 24, 226}, {cx - 8, 236}, {cx - 2, 272}, {cx - 30, 250}, {cx - 36, 234}},
            Rgb{52, 52, 70});
    polygon(c, {{cx + 24, 226}, {cx + 8, 236}, {cx + 2, 272}, {cx + 30, 250}, {cx + 36, 234}},
            Rgb{28, 28, 40});
    // Brass buttons of the waistcoat.
    for (const double y : {278.0, 290.0}) ellipse(c, cx, y, 2.2, 2.2, Rgb{230, 190, 100});
    // The name badge.
    rect(c, cx - 52, 252, cx - 34, 257, Rgb{220, 180, 90});
    // The collar and the bow tie.
    polygon(c, {{cx - 16, 222}, {cx + 16, 222}, {cx + 12, 232}, {cx, 236}, {cx - 12, 232}}, shirt);
    polygon(c, {{cx - 13, 226}, {cx - 2, 231}, {cx - 13, 237}}, Rgb{140, 24, 30});
    polygon(c, {{cx + 13, 226}, {cx + 2, 231}, {cx + 13, 237}}, Rgb{120, 18, 26});
    ellipse(c, cx, 231, 3, 3, Rgb{160, 34, 40});

    // The arms: sleeves down the sides, bending forward to the hands on the desk.
    for (const int side : {-1, 1}) {
        const std::vector<Point> sleeve = {{cx + side * 62, 238}, {cx + side * 80, 254},
                                           {cx + side * 82, cut}, {cx + side * 36, cut},
                                           {cx + side * 44, 282}, {cx + side * 58, 266}};
        polygon(c, sleeve, [&](double x, double y) {
            const double t = side < 0 ? 0.1 : 0.6;
            return mix(coatLight, coat, t + (y - 238) / 160 + 0.002 * std::abs(x - cx));
        });
        // White cuffs.
        polygon(c,
                {{cx + side * 48, cut - 10},
                 {cx + side * 34, cut - 6},
                 {cx + side * 36, cut},
                 {cx + side * 52, cut}},
                shirt);
    }
    // The hands, folded on the desk top: they lie in front of the cut.
    ellipse(c, cx - 18, cut + 2, 17, 8,
            [&](double x, double) { return mix(skin, skinShade, (x - cx + 35) / 40); });
    ellipse(c, cx + 16, cut + 1, 17, 8,
            [&](double x, double) { return mix(skin, skinShade, (x - cx) / 40 + 0.2); });
    for (int i = 0; i < 3; ++i) {
        line(c, {cx + 4 + i * 6, cut - 3}, {cx + 6 + i * 6, cut + 6}, 0.9, skinShade * 0.85);
    }

    // The neck and the head.
    rect(c, cx - 11, 204, cx + 11, 226, skinShade);
    ellipse(c, cx - 27, 184, 6, 10, skin);  // ears
    ellipse(c, cx + 27, 184, 6, 10, skinShade);
    ellipse(c, cx, 178, 27, 34, [&](double x, double y) {
        const double shade = smoothstep(cx - 30, cx + 30, x) * 0.6 + smoothstep(190, 212, y) * 0.3;
        return mix(skin, skinShade, shade);
    });
    // A bald crown with a light shine, white hair at the sides and back.
    for (const int side : {-1, 1}) {
        polygon(c,
                {{cx + side * 28, 160},
                 {cx + side * 20, 156},
                 {cx + side * 18, 176},
                 {cx + side * 24, 192},
                 {cx + side * 30, 186}},
                [&](double, double y) {
                    return mix(hair, Rgb{170, 170, 176}, (y - 156) / 40);
                });
    }
    ellipse(c, cx - 8, 154, 9, 5, Rgb{246, 214, 186}, 0.8);
    // Eyebrows, thick and white.
    for (const int side : {-1, 1}) {
        polygon(c,
                {{cx + side * 4, 170},
                 {cx + side * 19, 166},
                 {cx + side * 22, 171},
                 {cx + side * 6, 173}},
                hair);
    }
    // Closed, smiling eyes behind small round glasses.
    for (const int side : {-1, 1}) {
        const double ex = cx + side * 11;
        c.shape(
            {static_cast<int>(ex) - 6, 174, static_cast<int>(ex) + 7, 182},
            [&](double x, double y) {
                const double u = (x - ex) / 5.0;
                return std::abs(u) < 1 && std::abs(y - (178 - 2.2 * (1 - u * u))) < 0.8;
            },
            Rgb{60, 40, 34});
        c.shape(
            {static_cast<int>(ex) - 10, 168, static_cast<int>(ex) + 11, 189},
            [&](double x, double y) {
                const double d = std::hypot(x - ex, y - 178);
                return d > 7.4 && d < 8.8;
            },
            Rgb{190, 150, 70});
        c.glow(ex - 3, 175, 4, {60, 60, 60}, 0.5);
    }
    line(c, {cx - 3, 178}, {cx + 3, 178}, 1.2, {190, 150, 70});
    // The nose and a white moustache over a kind mouth.
    polygon(c, {{cx, 178}, {cx + 4, 192}, {cx - 3, 193}}, skinShade);
    polygon(c,
            {{cx - 16, 199},
             {cx - 8, 194},
             {cx, 196},
             {cx + 8, 194},
             {cx + 16, 199},
             {cx + 8, 199},
             {cx, 198.5},
             {cx - 8, 199}},
            hair);
    c.shape(
        {static_cast<int>(cx) - 8, 199, static_cast<int>(cx) + 9, 206},
        [&](double x, double y) {
            const double u = (x - cx) / 6.0;
            return std::abs(u) < 1 && std::abs(y - (201.5 + 1.5 * (1 - u * u))) < 0.6;
        },
        Rgb{150, 80, 70});
    // Cheeks warmed by the lamps.
    ellipse(c, cx - 16, 190, 5, 3.5, Rgb{236, 150, 130}, 0.35);
    ellipse(c, cx + 16, 190, 5, 3.5, Rgb{220, 130, 110}, 0.3);

    // A thin dark outline round the whole figure, so it stands out on the wall.
    Canvas outlined = c;
    for (int y = 1; y < kHeight - 1; ++y) {
        for (int x = 1; x < kWidth - 1; ++x) {
            if (c.alpha(x, y) >= 0.5) continue;
            const bool near = c.alpha(x - 1, y) >= 0.5 || c.alpha(x + 1, y) >= 0.5 ||
                              c.alpha(x, y - 1) >= 0.5 || c.alpha(x, y + 1) >= 0.5;
            if (near && y < cut - 1) outlined.blend(x, y, outline, 1.0);
        }
    }
    return outlined;
}

// ---------------------------------------------------------------------------------------------

struct Picture {
    std::string_view name;
    bool overlay;
    Canvas (*draw)();
};

Canvas drawNight() {
    return drawHotelScene(true);
}
Canvas drawSnowyMorning() {
    return drawHotelScene(false);
}

constexpr Picture kPictures[] = {
    {"A001", false, drawNight},        {"A002", false, drawLobby}, {"A003", false, drawCorridor},
    {"A004", false, drawSnowyMorning}, {"B001", true, drawClerk},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || std::string_view(argv[1]) == "--help") {
        std::cerr << "usage: make_demo_pictures OUT_DIR\n"
                     "  draws the demo game's pictures and writes them as OUT_DIR/NAME.png\n";
        return argc == 2 ? 0 : 2;
    }
    const fs::path dir = argv[1];
    std::error_code ec;
    fs::create_directories(dir, ec);
    for (const Picture& picture : kPictures) {
        const Bitmap bitmap = picture.draw().toBitmap(kSeeThrough, picture.overlay);
        if (picture.overlay && bitmap.pixel(0, 0) != kSeeThrough) {
            std::cerr << "make_demo_pictures: " << picture.name
                      << ": the top-left pixel must be the see-through colour\n";
            return 1;
        }
        const fs::path path = dir / (std::string(picture.name) + ".png");
        std::string error;
        if (!writePng(bitmap, path, error)) {
            std::cerr << "make_demo_pictures: " << error << "\n";
            return 1;
        }
        // Every file must read back as exactly the picture drawn.
        std::ifstream in(path, std::ios::binary);
        const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)),
                                             std::istreambuf_iterator<char>());
        const auto check = readPng(file, error);
        if (!check || check->width() != kWidth || check->height() != kHeight ||
            !std::equal(check->row(0), check->row(0) + bitmap.stride() * kHeight, bitmap.row(0))) {
            std::cerr << "make_demo_pictures: " << path.string() << " does not read back\n";
            return 1;
        }
        std::cout << path.string() << ": " << file.size() << " bytes\n";
    }
    return 0;
}
