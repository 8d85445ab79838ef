// A009: the indoor pool on the second floor at night: still water under the arched windows,
// the snow outside, and the lamps' reflections.

#include <cmath>

#include "demo/make_pictures/kit/noise.h"
#include "demo/make_pictures/kit/room.h"
#include "demo/make_pictures/pictures.h"

namespace corvan::art {

namespace {

const Camera kEye{300, 320, 190, 1.6, 0};
const RoomBox kHall{-3.2, 3.2, 4.2, 14.0};
const std::vector<Lamp> kLamps = {{{-2.9, 2.6, 4.0}, 2.0},
                                  {{2.9, 2.6, 4.0}, 2.0},
                                  {{-2.9, 2.6, 9.0}, 2.0},
                                  {{2.9, 2.6, 9.0}, 2.0}};
constexpr double kPoolHalf = 1.9, kPoolNear = 2.6, kPoolFar = 12.6;

bool inPool(double x, double z) {
    return std::abs(x) < kPoolHalf && z > kPoolNear && z < kPoolFar;
}

// The arched windows of the back wall: three, each with a round top.
bool inWindow(double x, double y) {
    for (const double cx : {-2.0, 0.0, 2.0}) {
        const double dx = x - cx;
        if (std::abs(dx) < 0.7 && y > 0.9 && y < 3.0) return true;
        if (y >= 3.0 && dx * dx + (y - 3.0) * (y - 3.0) < 0.49) return true;
    }
    return false;
}

Rgb tiles(double u, double v, Rgb base) {
    Rgb tile = base;
    if (std::fmod(u + 20, 0.25) < 0.015 || std::fmod(v + 20, 0.25) < 0.015) tile = tile * 0.8;
    return tile;
}

Rgb outside(double x, double y) {
    Rgb night = mix(Rgb{60, 70, 110}, Rgb{12, 18, 44}, (y - 0.9) / 2.8);
    const double hill = 1.3 + 0.15 * std::sin(x * 2.1);
    if (y < hill) night = Rgb{150, 160, 190} * (0.7 + 0.3 * (y / hill));
    return night;
}

Rgb shadeHall(const Hit& hit) {
    const Vec3& p = hit.at;
    if (hit.surface == Surface::Back && inWindow(p.x, p.y)) return outside(p.x, p.y);
    Rgb albedo;
    switch (hit.surface) {
        case Surface::Back: albedo = tiles(p.x, p.y, {200, 214, 214}); break;
        case Surface::Left:
        case Surface::Right: albedo = tiles(p.z, p.y, {200, 214, 214}); break;
        case Surface::Floor:
            if (inPool(p.x, p.z)) {
                // Water: the pale blue of the tiles under it, darker with depth, lines of
                // light where the surface moves.
                const double ripple = cloudNoise(p.x * 2.2, p.z * 0.9, 91);
                Rgb water = mix(Rgb{30, 110, 140}, Rgb{12, 50, 80}, (p.z - kPoolNear) / 10);
                water = water * (0.8 + 0.4 * ripple);
                if (std::abs(p.x) < 0.08 && std::fmod(p.z, 1.0) < 0.6) water = water * 1.3;
                return water + Rgb{20, 30, 40} * smoothstep(0.62, 0.7, ripple);
            }
            albedo = tiles(p.x, p.z, {170, 180, 176});
            if (std::abs(std::abs(p.x) - kPoolHalf) < 0.1 || std::abs(p.z - kPoolNear) < 0.1) {
                albedo = {220, 220, 210};  // the coping round the pool
            }
            break;
        case Surface::Ceiling: albedo = {150, 160, 166}; break;
    }
    const double light = lampLight(kLamps, p, normalOf(hit.surface), 0.22);
    return Rgb{albedo.r * light * 0.95, albedo.g * light, albedo.b * light * 1.05};
}

void drawColumns(Canvas& c) {
    for (const double z : {3.0, 6.5, 10.0}) {
        for (const int side : {-1, 1}) {
            const double x = side * 2.95;
            solidBox(c, kEye, {x - 0.18, 0, z - 0.18}, {x + 0.18, kHall.ceiling, z + 0.18},
                     {{210, 210, 200}, {230, 230, 220}, {170, 170, 164}});
        }
    }
}

void drawReflections(Canvas& c) {
    // The lamps and the windows glimmer in the water.
    for (const Lamp& lamp : kLamps) {
        const Point at = project(kEye, {lamp.at.x * 0.55, 0, lamp.at.z + 1.5});
        c.glow(at.x, at.y, 26, {60, 70, 60}, 0.8);
        const Point light = project(kEye, lamp.at);
        c.glow(light.x, light.y, 70, {90, 90, 70}, 0.9);
        ellipse(c, light.x, light.y, 5, 5, Rgb{255, 248, 220});
    }
    Random random(0x9001u);
    for (int i = 0; i < 70; ++i) {
        const double z = random.between(kPoolNear + 0.5, kPoolFar);
        const double x = random.between(-kPoolHalf, kPoolHalf);
        const Point p = project(kEye, {x, 0, z});
        const double len = 30 / z;
        line(c, {p.x - len, p.y}, {p.x + len, p.y}, 0.9, {180, 220, 230}, 0.35);
    }
}

}  // namespace

Canvas drawPool() {
    Canvas c;
    paintRoom(c, kEye, kHall, shadeHall);
    // Snow falling past the windows.
    Random random(0x5E0Au);
    for (int i = 0; i < 80; ++i) {
        const double x = random.between(-2.7, 2.7), y = random.between(1.0, 3.6);
        if (!inWindow(x, y)) continue;
        const Point p = project(kEye, {x, y, kHall.back});
        ellipse(c, p.x, p.y, 0.9, 0.9, Rgb{240, 244, 255}, 0.8);
    }
    drawReflections(c);
    drawColumns(c);
    c.vignette(0.5);
    return c;
}

}  // namespace corvan::art
