// A014: the restaurant on the first floor after closing: white cloths, candles, and by the
// window one table laid for two.

#include <cmath>

#include "demo/make_pictures/kit/noise.h"
#include "demo/make_pictures/kit/room.h"
#include "demo/make_pictures/pictures.h"

namespace corvan::art {

namespace {

const Camera kEye{290, 320, 200, 1.55, 0};
const RoomBox kRoom{-3.4, 3.4, 3.2, 9.0};
const std::vector<Lamp> kLamps = {
    {{0, 2.9, 3.5}, 1.6}, {{0, 2.9, 6.8}, 1.6}, {{1.9, 0.95, 7.6}, 0.9}};

Rgb shadeRoom(const Hit& hit) {
    const Vec3& p = hit.at;
    Rgb albedo;
    switch (hit.surface) {
        case Surface::Back:
            // Tall windows between cream pilasters.
            if (std::fmod(p.x + 20, 1.7) > 0.35 && p.y > 0.8 && p.y < 2.8) {
                Rgb night = mix(Rgb{20, 26, 56}, Rgb{60, 66, 100}, (2.8 - p.y) / 2);
                if (p.y < 1.15 + 0.1 * std::sin(p.x * 2)) night = Rgb{140, 150, 180} * 0.7;
                return night;
            }
            albedo = {214, 200, 170};
            break;
        case Surface::Left:
        case Surface::Right:
            albedo = p.y < 1.0 ? Rgb{110, 70, 44} : Rgb{200, 176, 140};
            if (p.y > 1.0 && p.y < 1.05) albedo = {180, 140, 70};
            if (p.y > 1.4 && p.y < 2.4 && std::fmod(p.z + 20, 2.2) < 1.2) albedo = {176, 150, 116};
            break;
        case Surface::Floor: {
            const bool dark = (static_cast<int>(std::floor(p.x / 0.5 + 20)) +
                               static_cast<int>(std::floor(p.z / 0.5))) %
                                  2 !=
                              0;
            albedo = dark ? Rgb{112, 70, 48} : Rgb{140, 96, 64};
            break;
        }
        case Surface::Ceiling: albedo = {220, 206, 180}; break;
    }
    return albedo * std::min(lampLight(kLamps, p, normalOf(hit.surface), 0.18), 1.2);
}

// A round table in a white cloth: the cloth falls to the floor, the top is an ellipse.
void drawTable(Canvas& c, double x, double z, double radius, int places, bool laid) {
    const Point top = project(kEye, {x, 0.75, z});
    const Point floor = project(kEye, {x, 0, z});
    const double rx = radius * kEye.focal / z;
    const double ry = rx * (kEye.eyeHeight - 0.75) / z * 0.9;
    rect(c, top.x - rx, top.y, top.x + rx, floor.y, [&](double px, double) {
        const double fold = 0.5 + 0.5 * std::sin((px - top.x) / rx * 9);
        return mix(Rgb{200, 196, 186}, Rgb{236, 232, 224}, fold * 0.6 + 0.2);
    });
    ellipse(c, floor.x, floor.y, rx, ry * 0.6, Rgb{200, 196, 186});
    ellipse(c, top.x, top.y, rx, ry, Rgb{246, 244, 238});
    // The chairs' backs showing behind the table.
    for (int i = 0; i < places; ++i) {
        const double side = i == 0 ? -1 : 1;
        const Point back = project(kEye, {x + side * radius * 1.05, 1.0, z + 0.15});
        const double w = 0.09 * kEye.focal / z, h = 0.55 * kEye.focal / z;
        rect(c, back.x - w, back.y, back.x + w, back.y + h, Rgb{100, 50, 36});
    }
    if (!laid) return;
    // Two glasses, two plates and a candle.
    for (const double side : {-0.5, 0.5}) {
        ellipse(c, top.x + side * rx, top.y + ry * 0.1, rx * 0.22, ry * 0.22, Rgb{255, 255, 255});
        rect(c, top.x + side * rx * 0.4 - 1.5, top.y - 10, top.x + side * rx * 0.4 + 1.5, top.y,
             Rgb{220, 230, 236}, 0.8);
    }
    rect(c, top.x - 1.8, top.y - 14, top.x + 1.8, top.y, Rgb{246, 240, 220});
    ellipse(c, top.x, top.y - 16, 1.8, 3, Rgb{255, 220, 120});
    c.glow(top.x, top.y - 16, 50, {120, 80, 30}, 0.9);
}

void drawChandelier(Canvas& c, double z) {
    const Point at = project(kEye, {0, 2.75, z});
    const Point hook = project(kEye, {0, kRoom.ceiling, z});
    line(c, hook, at, 1.4, {150, 120, 60});
    const double r = 0.45 * kEye.focal / z;
    ellipse(c, at.x, at.y, r, r * 0.25, Rgb{190, 150, 70});
    for (int i = 0; i < 6; ++i) {
        const double a = i * kPi / 3;
        const double cx = at.x + std::cos(a) * r, cy = at.y + std::sin(a) * r * 0.25;
        ellipse(c, cx, cy - 4, 2.5, 4, Rgb{255, 236, 180});
        c.glow(cx, cy - 4, 22, {120, 90, 40}, 0.8);
    }
    c.glow(at.x, at.y, 200 / z * 4, {60, 44, 20}, 0.8);
}

}  // namespace

Canvas drawRestaurant() {
    Canvas c;
    paintRoom(c, kEye, kRoom, shadeRoom);
    drawChandelier(c, 6.8);
    // Far tables first; the one by the window on the right is laid for two.
    drawTable(c, -1.8, 7.4, 0.55, 2, false);
    drawTable(c, 1.9, 7.6, 0.55, 2, true);
    drawTable(c, -2.2, 5.0, 0.6, 2, false);
    drawTable(c, 2.2, 5.2, 0.6, 2, false);
    drawTable(c, 0, 6.0, 0.6, 2, false);
    drawChandelier(c, 3.5);
    c.vignette(0.5);
    return c;
}

}  // namespace corvan::art
