// A005: room 303 at night: the bed, the writing desk with its lamp, and snow at the window.

#include <cmath>

#include "demo/make_pictures/kit/noise.h"
#include "demo/make_pictures/kit/room.h"
#include "demo/make_pictures/pictures.h"

namespace corvan::art {

namespace {

const Camera kEye{300, 330, 205, 1.4, 0.1};
const RoomBox kRoom{-1.7, 1.9, 2.6, 5.2};
const std::vector<Lamp> kLamps = {{{-0.25, 0.95, 4.9}, 1.6}, {{1.55, 1.15, 3.1}, 1.7}};

// The window in the back wall.
constexpr double kWindowLeft = -0.2, kWindowRight = 1.05, kWindowBottom = 0.95, kWindowTop = 2.2;

Rgb backWall(double x, double y) {
    if (x > kWindowLeft - 0.08 && x < kWindowRight + 0.08 && y > kWindowBottom - 0.08 &&
        y < kWindowTop + 0.08) {
        return {210, 196, 170};  // the frame; the glass is painted over it
    }
    if (y < 0.1) return {60, 40, 30};
    // Sage paper with cream stripes.
    Rgb paper{120, 140, 112};
    if (std::fmod(x + 10, 0.3) < 0.025) paper = {146, 160, 128};
    if (y > kRoom.ceiling - 0.12) paper = {214, 206, 186};
    return paper;
}

Rgb sideWall(double z, double y) {
    if (y < 0.1) return {60, 40, 30};
    if (y > kRoom.ceiling - 0.12) return {214, 206, 186};
    Rgb paper{120, 140, 112};
    if (std::fmod(z + 10, 0.3) < 0.025) paper = {146, 160, 128};
    return paper;
}

Rgb carpet(double x, double z) {
    Rgb rose{132, 76, 78};
    // A border a little in from the walls, and a faint pattern of lozenges.
    const double edge = std::min({x - kRoom.left, kRoom.right - x, kRoom.back - z});
    if (edge > 0.25 && edge < 0.33) rose = {176, 140, 96};
    const double u = std::fmod(x + 10, 0.5) - 0.25, v = std::fmod(z + 10, 0.5) - 0.25;
    if (std::abs(std::abs(u) + std::abs(v) - 0.16) < 0.02) rose = rose * 0.88;
    return rose * (0.92 + 0.16 * cloudNoise(x * 3, z * 3, 303));
}

Rgb shadeRoom(const Hit& hit) {
    const Vec3& p = hit.at;
    Rgb albedo;
    switch (hit.surface) {
        case Surface::Back: albedo = backWall(p.x, p.y); break;
        case Surface::Left:
        case Surface::Right: albedo = sideWall(p.z, p.y); break;
        case Surface::Floor: albedo = carpet(p.x, p.z); break;
        case Surface::Ceiling:
            // A plain ceiling with the rose of the ceiling light.
            albedo =
                std::hypot(p.x - 0.1, p.z - 3.4) < 0.22 ? Rgb{236, 228, 206} : Rgb{214, 206, 186};
            break;
    }
    const double light = lampLight(kLamps, p, normalOf(hit.surface), 0.22);
    // The snow light from the window is cool and faint.
    const double fromWindow =
        0.12 * std::exp(-std::pow((p.x - 0.4) / 1.4, 2)) * std::exp(-(kRoom.back - p.z) / 2.5);
    return albedo * std::min(light, 1.25) + Rgb{60, 70, 100} * fromWindow;
}

void drawWindow(Canvas& c) {
    const std::vector<Point> glass =
        backQuad(kEye, kWindowLeft, kWindowBottom, kWindowRight, kWindowTop, kRoom.back);
    const double top = glass[2].y, bottom = glass[0].y, left = glass[0].x, right = glass[1].x;
    polygon(c, glass, [&](double x, double y) {
        Rgb sky = mix(Rgb{14, 20, 46}, Rgb{52, 60, 96}, (y - top) / (bottom - top));
        // Snowy hills and one far light.
        const double hill = bottom - 22 - 8 * std::sin(x * 0.05);
        if (y > hill) sky = mix(Rgb{120, 130, 160}, Rgb{70, 78, 104}, (y - hill) / 22);
        return sky;
    });
    c.glow(left + (right - left) * 0.7, bottom - 20, 8, {200, 160, 90}, 0.9);
    Random random(0x303u);
    for (int i = 0; i < 60; ++i) {
        const double x = random.between(left, right), y = random.between(top, bottom);
        ellipse(c, x, y, 1.1, 1.1, Rgb{240, 244, 255}, random.between(0.4, 0.9));
    }
    // Glazing bars and the sill.
    const double midX = (left + right) / 2, midY = top + (bottom - top) * 0.42;
    rect(c, midX - 1.5, top, midX + 1.5, bottom, Rgb{200, 186, 160});
    rect(c, left, midY - 1.5, right, midY + 1.5, Rgb{200, 186, 160});
    polygon(c,
            backQuad(kEye, kWindowLeft - 0.12, kWindowBottom - 0.1, kWindowRight + 0.12,
                     kWindowBottom - 0.04, kRoom.back - 0.04),
            Rgb{222, 210, 188});
    // Curtains tied back on both sides.
    for (const int side : {-1, 1}) {
        const double edgeX = side < 0 ? kWindowLeft - 0.12 : kWindowRight + 0.12;
        const double inner = edgeX - side * 0.22, outer = edgeX + side * 0.14;
        const std::vector<Point> curtain = {
            project(kEye, {outer, kWindowTop + 0.22, kRoom.back - 0.02}),
            project(kEye, {inner, kWindowTop + 0.22, kRoom.back - 0.02}),
            project(kEye, {edgeX - side * 0.02, 1.35, kRoom.back - 0.02}),
            project(kEye, {inner + side * 0.05, 0.6, kRoom.back - 0.02}),
            project(kEye, {outer, 0.6, kRoom.back - 0.02})};
        polygon(c, curtain, [side](double x, double) {
            const double fold = 0.5 + 0.5 * std::sin(x * 0.5 + side);
            return mix(Rgb{90, 22, 30}, Rgb{150, 44, 48}, fold);
        });
    }
    polygon(c,
            backQuad(kEye, kWindowLeft - 0.4, kWindowTop + 0.18, kWindowRight + 0.4,
                     kWindowTop + 0.3, kRoom.back - 0.02),
            Rgb{120, 30, 36});
}

void drawBed(Canvas& c) {
    // The headboard against the back wall, the bed reaching into the room.
    solidBox(c, kEye, {-1.62, 0.3, kRoom.back - 0.08}, {-0.42, 1.15, kRoom.back - 0.02},
             {{96, 54, 34}, {120, 70, 44}, {80, 44, 28}});
    solidBox(c, kEye, {-1.6, 0.0, 3.1}, {-0.45, 0.32, kRoom.back - 0.1},
             {{80, 44, 28}, {90, 50, 32}, {70, 38, 24}});
    solidBox(c, kEye, {-1.62, 0.32, 3.08}, {-0.43, 0.52, kRoom.back - 0.1},
             {{226, 222, 210}, {236, 232, 222}, {196, 190, 180}});
    // The blanket over the near half, deep blue with a turned-down sheet.
    solidBox(c, kEye, {-1.64, 0.3, 3.06}, {-0.41, 0.55, 4.2},
             {{44, 58, 96}, {58, 74, 118}, {36, 48, 80}});
    polygon(c, floorQuad(kEye, -1.64, 4.2, -0.41, 4.35, 0.555), Rgb{236, 232, 222});
    // Two pillows.
    for (const double x : {-1.45, -0.95}) {
        const Point a = project(kEye, {x, 0.62, 4.85});
        const Point b = project(kEye, {x + 0.42, 0.62, 4.85});
        ellipse(c, (a.x + b.x) / 2, a.y, (b.x - a.x) / 2, 7, Rgb{244, 240, 232});
    }
}

void drawNightstand(Canvas& c) {
    solidBox(c, kEye, {-0.4, 0.0, 4.6}, {-0.05, 0.55, kRoom.back - 0.05},
             {{100, 58, 36}, {124, 74, 46}, {80, 46, 28}});
    const Point base = project(kEye, {-0.25, 0.55, 4.9});
    rect(c, base.x - 2, base.y - 14, base.x + 2, base.y, Rgb{180, 150, 80});
    polygon(c,
            {{base.x - 12, base.y - 14},
             {base.x + 12, base.y - 14},
             {base.x + 8, base.y - 30},
             {base.x - 8, base.y - 30}},
            Rgb{255, 226, 170});
    c.glow(base.x, base.y - 22, 90, {90, 64, 30}, 0.9);
    c.glow(base.x, base.y - 22, 22, {160, 120, 60}, 0.8);
}

void drawDesk(Canvas& c) {
    // A mirror over the desk on the right wall.
    polygon(c, sideQuad(kEye, kRoom.right - 0.01, 2.75, 1.25, 3.55, 1.95), Rgb{170, 130, 70});
    polygon(c, sideQuad(kEye, kRoom.right - 0.02, 2.8, 1.3, 3.5, 1.9), [](double, double y) {
        return mix(Rgb{90, 100, 96}, Rgb{50, 58, 60}, (y - 90) / 120);
    });
    solidBox(c, kEye, {1.3, 0.0, 2.6}, {kRoom.right - 0.02, 0.76, 3.8},
             {{110, 62, 38}, {132, 80, 50}, {92, 52, 32}});
    // The chair, its back to us: four legs, the seat and a back of two posts and a rail.
    const BoxColours wood{{96, 54, 34}, {116, 66, 42}, {76, 42, 26}};
    for (const double x : {0.97, 1.25}) {
        for (const double z : {2.88, 3.2}) {
            solidBox(c, kEye, {x, 0.0, z}, {x + 0.035, 0.44, z + 0.035}, wood);
        }
    }
    solidBox(c, kEye, {0.95, 0.44, 2.87}, {1.3, 0.49, 3.25},
             {{120, 44, 46}, {150, 60, 60}, {100, 36, 38}});
    for (const double x : {0.97, 1.25})
        solidBox(c, kEye, {x, 0.49, 2.87}, {x + 0.035, 0.95, 2.9}, wood);
    solidBox(c, kEye, {0.97, 0.72, 2.87}, {1.285, 0.92, 2.9}, wood);
    // The lamp with a green shade, and an envelope on the blotter.
    const Point base = project(kEye, {1.6, 0.76, 3.3});
    rect(c, base.x - 1.5, base.y - 16, base.x + 1.5, base.y, Rgb{190, 160, 80});
    polygon(c,
            {{base.x - 13, base.y - 16},
             {base.x + 13, base.y - 16},
             {base.x + 7, base.y - 26},
             {base.x - 7, base.y - 26}},
            Rgb{40, 110, 70});
    c.glow(base.x, base.y - 6, 120, {96, 70, 32}, 0.9);
    c.glow(base.x, base.y - 8, 30, {160, 130, 70}, 0.8);
    polygon(c, floorQuad(kEye, 1.4, 2.95, 1.62, 3.1, 0.765), Rgb{236, 224, 196});
}

}  // namespace

Canvas drawGuestRoom() {
    Canvas c;
    paintRoom(c, kEye, kRoom, shadeRoom);
    drawWindow(c);
    drawBed(c);
    drawNightstand(c);
    drawDesk(c);
    c.vignette(0.5);
    return c;
}

}  // namespace corvan::art
