// A017: the gymnasium on the second floor: wall bars, a punching bag, an old rowing machine,
// and on the far wall the framed photographs of the staff of years gone by.

#include <cmath>

#include "demo/make_pictures/kit/noise.h"
#include "demo/make_pictures/kit/room.h"
#include "demo/make_pictures/pictures.h"

namespace corvan::art {

namespace {

const Camera kEye{300, 330, 215, 1.5, 0.2};
const RoomBox kRoom{-3.0, 3.0, 3.4, 8.0};
const std::vector<Lamp> kLamps = {{{0, 3.3, 3.0}, 1.5}, {{0, 3.3, 6.0}, 1.5}};

Rgb shadeRoom(const Hit& hit) {
    const Vec3& p = hit.at;
    Rgb albedo;
    switch (hit.surface) {
        case Surface::Back:
        case Surface::Right: {
            const double along = hit.surface == Surface::Back ? p.x : p.z;
            // High windows under the ceiling, dark now.
            if (p.y > 2.5 && p.y < 3.2 && std::fmod(along + 20, 1.4) > 0.3) {
                return mix(Rgb{20, 26, 50}, Rgb{40, 48, 80}, (3.2 - p.y) / 0.7);
            }
            albedo = p.y < 1.2 ? Rgb{150, 120, 84} : Rgb{206, 206, 196};
            if (p.y < 1.2 && std::fmod(along + 20, 0.12) < 0.01) albedo = albedo * 0.8;
            break;
        }
        case Surface::Left: albedo = p.y < 1.2 ? Rgb{150, 120, 84} : Rgb{206, 206, 196}; break;
        case Surface::Floor: {
            albedo = Rgb{176, 126, 76} *
                     (0.9 + 0.12 * valueNoise(std::floor((p.x + 20) / 0.12), p.z, 17));
            if (std::fmod(p.x + 20, 0.12) < 0.008) albedo = albedo * 0.75;
            // Court lines.
            if (std::abs(std::hypot(p.x, p.z - 5.0) - 1.4) < 0.03 || std::abs(p.z - 5.0) < 0.03) {
                albedo = {200, 60, 50};
            }
            break;
        }
        case Surface::Ceiling: albedo = {210, 210, 204}; break;
    }
    const double light = lampLight(kLamps, p, normalOf(hit.surface), 0.3);
    return Rgb{albedo.r * light * 0.96, albedo.g * light, albedo.b * light * 1.04};
}

void drawWallBars(Canvas& c) {
    const double x = kRoom.left + 0.08;
    for (double z = 2.0; z < 5.2; z += 0.9) {
        polygon(c, sideQuad(kEye, x, z, 0, z + 0.06, 2.6), Rgb{170, 120, 70});
    }
    for (double y = 0.2; y < 2.6; y += 0.16) {
        const Point a = project(kEye, {x, y, 2.0}), b = project(kEye, {x, y, 5.16});
        line(c, a, b, 2.2, {196, 150, 96});
    }
}

void drawPunchingBag(Canvas& c) {
    const Point hook = project(kEye, {1.4, kRoom.ceiling, 3.4});
    const Point top = project(kEye, {1.4, 1.95, 3.4});
    const Point bottom = project(kEye, {1.4, 0.85, 3.4});
    line(c, hook, top, 1.5, {60, 60, 60});
    const double r = 0.19 * kEye.focal / 3.4;
    rect(c, top.x - r, top.y, top.x + r, bottom.y, [&](double x, double) {
        return mix(Rgb{150, 40, 36}, Rgb{70, 20, 18}, (x - top.x + r) / (2 * r));
    });
    ellipse(c, top.x, top.y, r, r * 0.3, Rgb{130, 36, 32});
    ellipse(c, bottom.x, bottom.y, r, r * 0.3, Rgb{90, 24, 22});
}

void drawRowingMachine(Canvas& c) {
    solidBox(c, kEye, {-1.3, 0.0, 3.8}, {-1.2, 0.12, 5.6},
             {{70, 70, 74}, {100, 100, 104}, {60, 60, 64}});
    solidBox(c, kEye, {-1.4, 0.12, 4.2}, {-1.1, 0.2, 4.5},
             {{40, 40, 44}, {60, 60, 64}, {30, 30, 34}});
    const Point wheel = project(kEye, {-1.25, 0.3, 5.55});
    ring(c, wheel.x, wheel.y, 10, 16, Rgb{90, 90, 96});
}

void drawStaffPhotographs(Canvas& c) {
    // Five framed photographs in a row; the middle one, larger, is the staff of long ago.
    const double z = kRoom.back - 0.02;
    for (int i = 0; i < 5; ++i) {
        const double x = -1.6 + i * 0.8;
        const double h = i == 2 ? 0.5 : 0.36;
        const double w = i == 2 ? 0.62 : 0.44;
        polygon(c, backQuad(kEye, x - w / 2, 1.6, x + w / 2, 1.6 + h, z), Rgb{60, 44, 30});
        const std::vector<Point> photo =
            backQuad(kEye, x - w / 2 + 0.04, 1.64, x + w / 2 - 0.04, 1.6 + h - 0.04, z - 0.005);
        polygon(c, photo, [&photo, i](double px, double py) {
            // A faded sepia of people in a row.
            const double u = (px - photo[0].x) / (photo[1].x - photo[0].x);
            const double v = (py - photo[2].y) / (photo[0].y - photo[2].y);
            Rgb sepia{196, 170, 130};
            const double people = std::fmod(u * (i == 2 ? 7 : 5), 1.0);
            if (v > 0.35 && std::abs(people - 0.5) < 0.22 * (v > 0.55 ? 1.0 : 0.6))
                sepia = {110, 86, 60};
            return sepia;
        });
    }
}

}  // namespace

Canvas drawGym() {
    Canvas c;
    paintRoom(c, kEye, kRoom, shadeRoom);
    drawWallBars(c);
    drawStaffPhotographs(c);
    drawRowingMachine(c);
    drawPunchingBag(c);
    for (const Lamp& lamp : kLamps) {
        const Point at = project(kEye, lamp.at);
        rect(c, at.x - 40 / lamp.at.z * 3, at.y - 2, at.x + 40 / lamp.at.z * 3, at.y + 3,
             Rgb{250, 252, 255});
        c.glow(at.x, at.y, 140, {50, 54, 60}, 0.7);
    }
    c.vignette(0.45);
    return c;
}

}  // namespace corvan::art
