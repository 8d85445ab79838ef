// A013: the bar on the tenth floor: the counter, bottles lit from behind, and the town's few
// lights far below the window.

#include <cmath>

#include "demo/make_pictures/kit/noise.h"
#include "demo/make_pictures/kit/room.h"
#include "demo/make_pictures/pictures.h"

namespace corvan::art {

namespace {

const Camera kEye{290, 300, 215, 1.35, 0.3};
const RoomBox kRoom{-2.4, 2.6, 2.6, 6.0};
const std::vector<Lamp> kLamps = {{{-1.2, 2.0, 3.0}, 1.2}, {{-1.2, 2.0, 4.6}, 1.2}};
constexpr double kWindowNear = 1.8, kWindowFar = 5.6;

Rgb shadeRoom(const Hit& hit) {
    const Vec3& p = hit.at;
    Rgb albedo;
    switch (hit.surface) {
        case Surface::Back:
        case Surface::Left: {
            const double along = hit.surface == Surface::Back ? p.x : p.z;
            albedo = Rgb{60, 40, 34} * (0.85 + 0.2 * cloudNoise(along * 3, p.y * 3, 13));
            if (std::fmod(along + 20, 0.9) < 0.02) albedo = albedo * 0.7;
            break;
        }
        case Surface::Right:
            if (p.z > kWindowNear && p.z < kWindowFar && p.y > 0.6 && p.y < 2.4) {
                // The night outside: a dark valley and the town's lights low down.
                Rgb night = mix(Rgb{10, 14, 34}, Rgb{30, 36, 70}, (2.4 - p.y) / 1.8);
                if (p.y < 1.0 + 0.08 * std::sin(p.z * 3)) night = Rgb{8, 10, 18};
                return night;
            }
            albedo = {60, 40, 34};
            break;
        case Surface::Floor:
            albedo = Rgb{70, 30, 30} * (0.85 + 0.2 * cloudNoise(p.x * 4, p.z * 4, 14));
            break;
        case Surface::Ceiling: albedo = {40, 30, 28}; break;
    }
    const double light = lampLight(kLamps, p, normalOf(hit.surface), 0.18);
    return Rgb{albedo.r * light * 1.1, albedo.g * light, albedo.b * light * 0.85};
}

void drawBottles(Canvas& c) {
    // Shelves on the back wall, lit from behind in amber.
    const double z = kRoom.back - 0.02;
    polygon(c, backQuad(kEye, -2.2, 1.0, 0.4, 2.3, z), [](double, double y) {
        return mix(Rgb{190, 130, 60}, Rgb{110, 60, 30}, std::abs(y - 170) / 60);
    });
    Random random(0xBA2u);
    for (int shelf = 0; shelf < 3; ++shelf) {
        const double y0 = 1.05 + shelf * 0.42;
        polygon(c, backQuad(kEye, -2.2, y0 - 0.03, 0.4, y0, z - 0.01), Rgb{60, 36, 20});
        for (double x = -2.1; x < 0.3;) {
            const double w = random.between(0.07, 0.11), h = random.between(0.22, 0.34);
            const Rgb glass = mix(mix(Rgb{40, 90, 50}, Rgb{120, 50, 30}, random.next()),
                                  Rgb{200, 170, 110}, random.next() * 0.5);
            const Point base = project(kEye, {x + w / 2, y0, z - 0.02});
            const Point top = project(kEye, {x + w / 2, y0 + h, z - 0.02});
            const double half = w / 2 * kEye.focal / z;
            rect(c, base.x - half, top.y + (base.y - top.y) * 0.35, base.x + half, base.y, glass,
                 0.92);
            rect(c, base.x - half * 0.35, top.y, base.x + half * 0.35,
                 top.y + (base.y - top.y) * 0.36, glass, 0.92);
            rect(c, base.x - half * 0.6, base.y - (base.y - top.y) * 0.45, base.x + half * 0.6,
                 base.y - (base.y - top.y) * 0.25, Rgb{230, 220, 190}, 0.8);
            x += w + 0.03;
        }
    }
    const Point glow = project(kEye, {-0.9, 1.6, z});
    c.glow(glow.x, glow.y, 170, {70, 44, 16}, 0.7);
}

void drawTownLights(Canvas& c) {
    Random random(0x7013u);
    for (int i = 0; i < 55; ++i) {
        const double zz = random.between(kWindowNear + 0.1, kWindowFar - 0.1);
        const double y = random.between(0.62, 0.98);
        const Point p = project(kEye, {kRoom.right - 0.01, y, zz});
        const Rgb tint = random.next() < 0.7 ? Rgb{255, 210, 130} : Rgb{200, 220, 255};
        c.glow(p.x, p.y, random.between(2, 5), tint, 0.9);
    }
    // The window's frame bars.
    for (const double zz : {kWindowNear, 3.7, kWindowFar}) {
        polygon(c, sideQuad(kEye, kRoom.right - 0.02, zz - 0.04, 0.6, zz + 0.04, 2.4),
                Rgb{30, 22, 20});
    }
    polygon(c, sideQuad(kEye, kRoom.right - 0.02, kWindowNear, 0.55, kWindowFar, 0.62),
            Rgb{50, 34, 28});
}

void drawCounter(Canvas& c) {
    // The counter along the left, its top polished, with stools before it.
    solidBox(c, kEye, {-2.4, 0, 1.6}, {-1.45, 1.05, 5.6},
             {{80, 36, 24}, {120, 60, 36}, {96, 44, 28}});
    solidBox(c, kEye, {-2.4, 1.05, 1.55}, {-1.38, 1.1, 5.6},
             {{150, 100, 60}, {170, 116, 70}, {140, 90, 54}});
    for (const double z : {2.2, 3.1, 4.0, 4.9}) {
        const Point seat = project(kEye, {-1.1, 0.75, z});
        const Point foot = project(kEye, {-1.1, 0, z});
        line(c, seat, foot, 4.0 * 3 / z, {150, 130, 90});
        ellipse(c, seat.x, seat.y, 60 / z, 16 / z, Rgb{120, 30, 34});
        ellipse(c, foot.x, foot.y, 40 / z, 10 / z, Rgb{120, 100, 70});
    }
    // A glass on the counter, and the pendant lamps over it.
    const Point glassAt = project(kEye, {-1.6, 1.1, 2.3});
    polygon(c,
            {{glassAt.x - 6, glassAt.y},
             {glassAt.x + 6, glassAt.y},
             {glassAt.x + 8, glassAt.y - 20},
             {glassAt.x - 8, glassAt.y - 20}},
            Rgb{200, 150, 80}, 0.7);
    for (const Lamp& lamp : kLamps) {
        const Point at = project(kEye, lamp.at);
        const Point hook = project(kEye, {lamp.at.x, kRoom.ceiling, lamp.at.z});
        line(c, hook, at, 1, {20, 16, 14});
        polygon(c,
                {{at.x - 14, at.y + 8},
                 {at.x + 14, at.y + 8},
                 {at.x + 6, at.y - 6},
                 {at.x - 6, at.y - 6}},
                Rgb{170, 110, 40});
        c.glow(at.x, at.y + 10, 90, {110, 70, 30}, 0.8);
    }
}

}  // namespace

Canvas drawBar() {
    Canvas c;
    paintRoom(c, kEye, kRoom, shadeRoom);
    drawBottles(c);
    drawTownLights(c);
    drawCounter(c);
    c.vignette(0.55);
    return c;
}

}  // namespace corvan::art
