// The endings' pictures: the tower clock going again at dawn (A204), and the bus stop on the
// snowy road the morning the guest leaves (A206).

#include <cmath>

#include "demo/make_pictures/kit/noise.h"
#include "demo/make_pictures/kit/shapes.h"
#include "demo/make_pictures/pictures.h"

namespace corvan::art {

namespace {

// A crow in flight, its wings at `beat` (-1 down to 1 up), `size` pixels across.
void crow(Canvas& c, double x, double y, double size, double beat) {
    const double lift = beat * size * 0.3;
    polygon(c,
            {{x - size / 2, y - lift},
             {x - size * 0.1, y - size * 0.08},
             {x, y + size * 0.06},
             {x + size * 0.1, y - size * 0.08},
             {x + size / 2, y - lift},
             {x + size * 0.12, y + size * 0.04},
             {x, y + size * 0.16},
             {x - size * 0.12, y + size * 0.04}},
            Rgb{16, 14, 20});
}

void clockHand(Canvas& c, Point centre, double angle, double length, double width) {
    line(c, centre, {centre.x + std::sin(angle) * length, centre.y - std::cos(angle) * length},
         width, {30, 24, 22});
}

}  // namespace

Canvas drawClockAtDawn() {
    Canvas c;
    c.fill({}, [](double x, double y) {
        Rgb sky = mix(Rgb{70, 90, 150}, Rgb{250, 196, 150}, std::pow(y / 480.0, 1.3));
        const double n = cloudNoise(x / 180.0, y / 40.0, 404);
        sky = mix(sky, Rgb{255, 214, 190}, smoothstep(0.55, 0.8, n) * 0.5);
        return sky;
    });
    c.glow(600, 300, 360, {120, 80, 40}, 0.9);
    // The tower: stone, lit warm on its right by the rising sun.
    rect(c, 150, 60, 490, 480, [](double x, double y) {
        Rgb stone = mix(Rgb{150, 130, 126}, Rgb{220, 180, 150}, smoothstep(150, 490, x));
        stone = stone * (0.9 + 0.12 * cloudNoise(x / 20, y / 20, 405));
        if (std::fmod(y, 36) < 2 || std::fmod(x + std::floor(y / 36) * 30, 60) < 2)
            stone = stone * 0.85;
        return stone;
    });
    // A cornice with snow on it, and snow on the sill under the clock.
    rect(c, 136, 48, 504, 66, Rgb{130, 110, 104});
    rect(c, 134, 40, 506, 50, Rgb{246, 246, 252});
    rect(c, 176, 378, 464, 392, Rgb{140, 120, 110});
    rect(c, 174, 370, 466, 380, Rgb{248, 248, 252});
    // The clock going again: five past seven.
    const Point centre{320, 220};
    ellipse(c, centre.x, centre.y, 132, 132, Rgb{70, 56, 48});
    ellipse(c, centre.x, centre.y, 122, 122, [&](double x, double y) {
        return mix(Rgb{250, 242, 222}, Rgb{230, 214, 186},
                   std::hypot(x - centre.x - 30, y - centre.y + 30) / 180);
    });
    for (int i = 0; i < 60; ++i) {
        const double a = i * kPi / 30;
        const double inner = i % 5 == 0 ? 96 : 108;
        line(c, {centre.x + std::sin(a) * inner, centre.y - std::cos(a) * inner},
             {centre.x + std::sin(a) * 114, centre.y - std::cos(a) * 114}, i % 5 == 0 ? 5 : 1.5,
             {50, 40, 36});
    }
    clockHand(c, centre, (7 + 5 / 60.0) * kPi / 6, 62, 9);
    clockHand(c, centre, 5 * kPi / 30, 96, 6);
    ellipse(c, centre.x, centre.y, 9, 9, Rgb{60, 46, 40});
    c.glow(centre.x + 60, centre.y - 50, 120, {40, 30, 14}, 0.7);
    // Crows leaving the tower.
    crow(c, 540, 110, 46, 0.8);
    crow(c, 590, 170, 34, -0.4);
    crow(c, 500, 60, 28, 0.2);
    crow(c, 90, 140, 22, 0.6);
    c.vignette(0.3);
    return c;
}

Canvas drawBusStop() {
    Canvas c;
    constexpr double kHorizon = 250;
    c.fill({}, [](double x, double y) {
        if (y < kHorizon) {
            Rgb sky = mix(Rgb{170, 186, 210}, Rgb{232, 232, 238}, y / kHorizon);
            return mix(sky, Rgb{246, 246, 250},
                       smoothstep(0.5, 0.8, cloudNoise(x / 150, y / 40, 406)) * 0.6);
        }
        // The snowfield, with soft drifts.
        Rgb snow = mix(Rgb{224, 230, 242}, Rgb{250, 251, 255}, (y - kHorizon) / 230);
        return mix(snow, Rgb{196, 206, 228},
                   smoothstep(0.55, 0.75, cloudNoise(x / 90, y / 18, 407)) * 0.5);
    });
    // The hill with the hotel, small and far off on the left.
    c.shape(
        {0, 180, 300, 260},
        [](double x, double y) {
            return y > kHorizon - 30 * std::exp(-std::pow((x - 120) / 90, 2));
        },
        Rgb{226, 232, 244});
    rect(c, 102, 206, 140, 224, Rgb{150, 134, 120});
    polygon(c, {{116, 206}, {121, 190}, {126, 206}}, Rgb{110, 90, 86});
    rect(c, 96, 214, 102, 224, Rgb{150, 134, 120});
    rect(c, 140, 214, 146, 224, Rgb{150, 134, 120});
    // The road running away to the horizon, with two tracks.
    c.shape(
        {0, static_cast<int>(kHorizon), kWidth, kHeight},
        [](double x, double y) {
            const double t = (y - kHorizon) / (480 - kHorizon);
            return std::abs(x - (330 - 60 * t)) < 6 + t * 170;
        },
        [](double x, double y) {
            const double t = (y - kHorizon) / (480 - kHorizon);
            const double across = (x - (330 - 60 * t)) / (6 + t * 170);
            const double track = std::exp(-std::pow((std::abs(across) - 0.45) / 0.1, 2));
            return mix(Rgb{206, 212, 226}, Rgb{160, 168, 186}, track * 0.8);
        });
    // Footprints from the bottom to the stop.
    for (int i = 0; i < 9; ++i) {
        const double t = i / 9.0;
        const double x = 520 - 50 * t + (i % 2 == 0 ? -8 : 8), y = 470 - 150 * t;
        ellipse(c, x, y, 5 - 2.5 * t, 9 - 5 * t, Rgb{170, 180, 204});
    }
    // The stop: a pole, its round plate, and a bench under a little snow.
    rect(c, 466, 200, 472, 330, Rgb{80, 80, 90});
    ellipse(c, 469, 200, 26, 26, Rgb{180, 30, 36});
    ellipse(c, 469, 200, 19, 19, Rgb{246, 246, 246});
    rect(c, 455, 196, 483, 204, Rgb{30, 60, 140});
    rect(c, 500, 300, 600, 308, Rgb{110, 70, 44});
    rect(c, 506, 308, 512, 330, Rgb{70, 50, 36});
    rect(c, 588, 308, 594, 330, Rgb{70, 50, 36});
    rect(c, 498, 296, 602, 301, Rgb{250, 251, 255});
    Random random(0x5A1Fu);
    for (int i = 0; i < 120; ++i) {
        const double x = random.between(0, kWidth), y = random.between(0, 372);
        const double r = random.between(0.7, 1.8);
        ellipse(c, x, y, r, r, Rgb{255, 255, 255}, random.between(0.5, 0.9));
    }
    c.vignette(0.2);
    return c;
}

}  // namespace corvan::art
