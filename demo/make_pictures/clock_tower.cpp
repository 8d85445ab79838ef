// A018: inside the clock tower: the back of the great dial with the moon behind it, the hands'
// shadows stopped at twenty to twelve, and the gears of the clockwork.

#include <cmath>

#include "demo/make_pictures/kit/noise.h"
#include "demo/make_pictures/kit/room.h"
#include "demo/make_pictures/pictures.h"

namespace corvan::art {

namespace {

const Camera kEye{300, 320, 230, 1.6, 0};
const RoomBox kTower{-2.3, 2.3, 4.6, 4.2};
const Vec3 kDialCentre{0, 2.55, kTower.back};
constexpr double kDialRadius = 1.5;
const std::vector<Lamp> kMoon = {{{0, 2.55, 4.0}, 2.4}};

Rgb shadeTower(const Hit& hit) {
    const Vec3& p = hit.at;
    if (hit.surface == Surface::Back &&
        std::hypot(p.x - kDialCentre.x, p.y - kDialCentre.y) < kDialRadius) {
        // The dial's milk glass with the moon behind it: brightest a little up and right.
        const double d = std::hypot(p.x - 0.5, p.y - 3.0);
        return mix(Rgb{236, 240, 250}, Rgb{140, 156, 190}, d / 2.2);
    }
    Rgb albedo;
    switch (hit.surface) {
        case Surface::Back:
        case Surface::Left:
        case Surface::Right: {
            const double along = hit.surface == Surface::Back ? p.x : p.z;
            // Brick, the courses shifted every other row.
            const double row = std::floor(p.y / 0.09);
            const double offset = std::fmod(row, 2.0) * 0.11;
            albedo = Rgb{120, 84, 66} *
                     (0.85 + 0.25 * valueNoise(std::floor((along + offset + 20) / 0.22), row, 29));
            if (std::fmod(p.y, 0.09) < 0.012 || std::fmod(along + offset + 20, 0.22) < 0.012) {
                albedo = {90, 80, 70};
            }
            break;
        }
        case Surface::Floor:
            albedo = Rgb{96, 70, 48} *
                     (0.9 + 0.15 * valueNoise(std::floor((p.x + 20) / 0.25), p.z * 2, 31));
            if (std::fmod(p.x + 20, 0.25) < 0.012) albedo = albedo * 0.6;
            break;
        case Surface::Ceiling: albedo = {60, 44, 34}; break;
    }
    const double light = lampLight(kMoon, p, normalOf(hit.surface), 0.14);
    return Rgb{albedo.r * light * 0.8, albedo.g * light * 0.9, albedo.b * light * 1.15};
}

void drawDialMarks(Canvas& c) {
    const Point centre = project(kEye, kDialCentre);
    const double r = kDialRadius * kEye.focal / kDialCentre.z;
    ring(c, centre.x, centre.y, r - 3, r + 4, Rgb{50, 44, 48});
    // The hour marks, dark against the light, and the hands' shadows seen from behind: the
    // picture of twenty to twelve turned over.
    for (int i = 0; i < 12; ++i) {
        const double a = i * kPi / 6;
        const Point inner{centre.x + std::sin(a) * r * 0.78, centre.y - std::cos(a) * r * 0.78};
        const Point outer{centre.x + std::sin(a) * r * 0.92, centre.y - std::cos(a) * r * 0.92};
        line(c, inner, outer, i % 3 == 0 ? 6 : 3, {70, 70, 84}, 0.85);
    }
    const double hour = -(11 + 40 / 60.0) * kPi / 6;
    const double minute = -40 * kPi / 30;
    line(c, centre, {centre.x + std::sin(hour) * r * 0.5, centre.y - std::cos(hour) * r * 0.5}, 8,
         {40, 40, 50}, 0.9);
    line(c, centre,
         {centre.x + std::sin(minute) * r * 0.75, centre.y - std::cos(minute) * r * 0.75}, 5,
         {40, 40, 50}, 0.9);
    ellipse(c, centre.x, centre.y, 9, 9, Rgb{60, 50, 44});
    c.glow(centre.x + r * 0.3, centre.y - r * 0.3, r * 1.6, {50, 56, 70}, 0.9);
}

// A gear seen face on, with `teeth` teeth, its spokes and hub.
void gear(Canvas& c, Point at, double radius, int teeth, double turn, Rgb metal) {
    c.shape(
        {static_cast<int>(at.x - radius) - 8, static_cast<int>(at.y - radius) - 8,
         static_cast<int>(at.x + radius) + 9, static_cast<int>(at.y + radius) + 9},
        [=](double x, double y) {
            const double d = std::hypot(x - at.x, y - at.y);
            const double a = std::atan2(y - at.y, x - at.x) + turn;
            const double tooth = std::cos(a * teeth) > 0.1 ? radius * 1.08 : radius;
            if (d > tooth) return false;
            if (d < radius * 0.2) return true;
            if (d > radius * 0.82) return true;
            // Six spokes.
            return std::abs(std::sin((a - turn) * 3 + turn * 3)) < 0.18;
        },
        metal);
    ellipse(c, at.x, at.y, radius * 0.12, radius * 0.12, metal * 0.6);
}

void drawClockwork(Canvas& c) {
    // The frame on the floor, the shaft to the dial, and the gears.
    solidBox(c, kEye, {-1.2, 0, 2.2}, {0.9, 0.6, 3.0}, {{70, 50, 36}, {96, 70, 48}, {56, 40, 28}});
    const Point shaftFrom = project(kEye, {0, 1.15, 2.6});
    const Point shaftTo = project(kEye, kDialCentre);
    line(c, shaftFrom, shaftTo, 5, {90, 84, 80});
    gear(c, project(kEye, {-0.55, 1.1, 2.5}), 62, 24, 0.1, {150, 120, 70});
    gear(c, project(kEye, {0.35, 1.25, 2.55}), 34, 14, 0.3, {170, 140, 80});
    gear(c, project(kEye, {0.05, 0.95, 2.45}), 22, 10, 0.0, {130, 104, 60});
    // The pendulum hangs still.
    const Point pivot = project(kEye, {0.7, 2.0, 2.7});
    const Point bob = project(kEye, {0.7, 0.9, 2.7});
    line(c, pivot, bob, 2, {120, 110, 100});
    ellipse(c, bob.x, bob.y, 14, 14, Rgb{170, 140, 80});
}

void drawBeams(Canvas& c) {
    const BoxColours wood{{80, 56, 38}, {100, 72, 50}, {60, 42, 28}};
    solidBox(c, kEye, {-2.3, 4.2, 1.0}, {2.3, 4.4, 1.2}, wood);
    solidBox(c, kEye, {-2.3, 4.2, 3.2}, {2.3, 4.4, 3.4}, wood);
    solidBox(c, kEye, {-2.05, 0, 3.3}, {-1.85, 4.2, 3.5}, wood);
    solidBox(c, kEye, {1.85, 0, 3.3}, {2.05, 4.2, 3.5}, wood);
    // A ladder against the left wall up to the bells.
    for (const double z : {1.6, 2.0}) {
        line(c, project(kEye, {-2.2, 0, z}), project(kEye, {-2.2, 4.6, z}), 4, {110, 80, 50});
    }
    for (double y = 0.3; y < 4.6; y += 0.35) {
        line(c, project(kEye, {-2.2, y, 1.6}), project(kEye, {-2.2, y, 2.0}), 3, {110, 80, 50});
    }
}

}  // namespace

Canvas drawClockTower() {
    Canvas c;
    paintRoom(c, kEye, kTower, shadeTower);
    drawDialMarks(c);
    drawBeams(c);
    drawClockwork(c);
    // Dust in the moonlight.
    Random random(0xD057u);
    for (int i = 0; i < 90; ++i) {
        const double x = random.between(150, 500), y = random.between(60, 360);
        c.add(static_cast<int>(x), static_cast<int>(y), Rgb{60, 64, 80});
    }
    c.vignette(0.6);
    return c;
}

}  // namespace corvan::art
