// A002: the lobby with the front desk, lit by two lamps on a December night.

#include "demo/make_pictures/lobby.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "demo/make_pictures/kit/noise.h"
#include "demo/make_pictures/kit/shapes.h"
#include "demo/make_pictures/pictures.h"

namespace corvan::art {

namespace {

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

}  // namespace

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

}  // namespace corvan::art
