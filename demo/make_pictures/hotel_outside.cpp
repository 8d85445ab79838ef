// A001 and A004: the hotel on its hill, by night and on the snowy morning after.

#include <algorithm>
#include <cmath>
#include <vector>

#include "demo/make_pictures/kit/noise.h"
#include "demo/make_pictures/kit/shapes.h"
#include "demo/make_pictures/pictures.h"

namespace corvan::art {

namespace {

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
    for (const auto& wing : {std::pair{178.0, 232.0}, {428.0, 482.0}}) {
        // Plain names, not a structured binding: the paints below capture them.
        const double l = wing.first, r = wing.second;
        c.shape({static_cast<int>(l) - 1, 190, static_cast<int>(r) + 2, static_cast<int>(base) + 2},
                rectShape(l, 204, r, base), [&p, l = l, r = r](double x, double) {
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

}  // namespace

Canvas drawNight() {
    return drawHotelScene(true);
}

Canvas drawSnowyMorning() {
    return drawHotelScene(false);
}

}  // namespace corvan::art
