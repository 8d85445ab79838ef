// A007: inside the old lift: brass doors, the floor dial over them, and the panel of buttons.

#include <cmath>

#include "demo/make_pictures/kit/noise.h"
#include "demo/make_pictures/kit/room.h"
#include "demo/make_pictures/pictures.h"

namespace corvan::art {

namespace {

const Camera kEye{250, 320, 190, 1.55, 0};
const RoomBox kCar{-0.8, 0.8, 2.3, 1.45};
const std::vector<Lamp> kLamps = {{{0, 2.25, 0.7}, 1.2}};

Rgb panelling(double along, double y) {
    if (y < 0.08) return {40, 26, 18};
    if (y > 0.9 && y < 0.96) return {200, 160, 80};  // the hand rail
    Rgb wood{112, 66, 40};
    const double panel = std::fmod(along + 10, 0.5);
    if (panel < 0.025 || (y > 1.0 && std::fmod(y, 0.65) < 0.025)) wood = wood * 0.7;
    return wood * (0.9 + 0.2 * cloudNoise(along * 8, y * 1.5, 7));
}

Rgb shadeCar(const Hit& hit) {
    const Vec3& p = hit.at;
    Rgb albedo;
    switch (hit.surface) {
        case Surface::Back:
            // The doors: brushed brass, two leaves, over a frame of dark wood.
            if (std::abs(p.x) < 0.55 && p.y < 2.0) {
                const double sheen = 0.8 + 0.2 * std::cos(p.x * 9);
                albedo = Rgb{196, 156, 90} * sheen;
                if (std::abs(p.x) < 0.006) albedo = {60, 40, 20};
                if (std::abs(std::abs(p.x) - 0.275) < 0.2 && std::abs(p.y - 1.0) < 0.7 &&
                    std::abs(std::abs(std::abs(p.x) - 0.275) - 0.19) < 0.01) {
                    albedo = albedo * 0.75;
                }
            } else {
                albedo = panelling(p.x, p.y) * 0.8;
            }
            break;
        case Surface::Left:
        case Surface::Right: albedo = panelling(p.z, p.y); break;
        case Surface::Floor: {
            const bool dark = (static_cast<int>(std::floor(p.x / 0.2 + 20)) +
                               static_cast<int>(std::floor(p.z / 0.2))) %
                                  2 !=
                              0;
            albedo = dark ? Rgb{60, 40, 34} : Rgb{170, 150, 120};
            break;
        }
        case Surface::Ceiling:
            albedo = std::abs(p.x) < 0.45 && std::abs(p.z - 0.7) < 0.35 ? Rgb{255, 246, 220}
                                                                        : Rgb{150, 110, 60};
            if (albedo.r > 250) return albedo;
            break;
    }
    return albedo * std::min(lampLight(kLamps, p, normalOf(hit.surface), 0.3), 1.3);
}

void drawDial(Canvas& c) {
    // The floor dial over the doors, its needle between the floors, slowing.
    const Point centre = project(kEye, {0, 2.05, kCar.back - 0.01});
    c.shape(
        {static_cast<int>(centre.x) - 60, static_cast<int>(centre.y) - 60,
         static_cast<int>(centre.x) + 61, static_cast<int>(centre.y) + 2},
        [&](double x, double y) {
            return y <= centre.y && std::hypot(x - centre.x, y - centre.y) <= 54;
        },
        Rgb{180, 140, 70});
    c.shape(
        {static_cast<int>(centre.x) - 60, static_cast<int>(centre.y) - 60,
         static_cast<int>(centre.x) + 61, static_cast<int>(centre.y) + 2},
        [&](double x, double y) {
            return y <= centre.y && std::hypot(x - centre.x, y - centre.y) <= 46;
        },
        Rgb{238, 226, 196});
    // Eleven marks, from the basement on the left to the tenth floor on the right.
    for (int i = 0; i <= 10; ++i) {
        const double a = kPi - i * kPi / 10;
        const Point inner{centre.x + std::cos(a) * 36, centre.y - std::sin(a) * 36};
        const Point outer{centre.x + std::cos(a) * 44, centre.y - std::sin(a) * 44};
        line(c, inner, outer, i == 3 ? 2.6 : 1.4, i == 3 ? Rgb{160, 30, 30} : Rgb{60, 40, 30});
    }
    const double needle = kPi - 3.4 * kPi / 10;
    line(c, centre, {centre.x + std::cos(needle) * 40, centre.y - std::sin(needle) * 40}, 2.0,
         {40, 24, 20});
    ellipse(c, centre.x, centre.y, 4, 4, Rgb{120, 90, 40});
}

void drawButtons(Canvas& c) {
    // The panel on the right wall: eleven buttons, the third floor's lit.
    polygon(c, sideQuad(kEye, kCar.right - 0.01, 1.0, 1.0, 1.3, 1.62), Rgb{170, 130, 64});
    for (int i = 0; i <= 10; ++i) {
        const double y = 1.08 + (i % 6) * 0.09;
        const double z = 1.07 + (i / 6) * 0.14;
        const Point p = project(kEye, {kCar.right - 0.02, y, z});
        const bool lit = i == 3;
        const double r = 3.2 * 1.1 / z;
        ellipse(c, p.x, p.y, r * 0.7, r, lit ? Rgb{255, 220, 140} : Rgb{232, 220, 196});
        if (lit) c.glow(p.x, p.y, 12, {150, 100, 40}, 0.9);
    }
    // The alarm bell's button, red, below.
    const Point alarm = project(kEye, {kCar.right - 0.02, 1.0, 1.2});
    ellipse(c, alarm.x, alarm.y, 2.6, 3.6, Rgb{170, 30, 30});
}

}  // namespace

Canvas drawLift() {
    Canvas c;
    paintRoom(c, kEye, kCar, shadeCar);
    drawDial(c);
    drawButtons(c);
    const Point lamp = project(kEye, {0, 2.3, 0.7});
    c.glow(lamp.x, lamp.y + 10, 220, {60, 50, 30}, 0.7);
    c.vignette(0.55);
    return c;
}

}  // namespace corvan::art
