// A006: the lounge: a fire in the grate, two armchairs turned to it, the bookshelves, and the
// album on the low table.

#include <cmath>

#include "demo/make_pictures/kit/noise.h"
#include "demo/make_pictures/kit/room.h"
#include "demo/make_pictures/pictures.h"

namespace corvan::art {

namespace {

const Camera kEye{280, 320, 200, 1.45, 0};
const RoomBox kRoom{-2.6, 2.6, 2.8, 5.5};
const std::vector<Lamp> kFire = {{{0, 0.35, 5.25}, 2.6}};
const std::vector<Lamp> kLamp = {{{1.95, 1.5, 4.5}, 1.4}};
constexpr double kRail = 0.95;  // the top of the wood panelling

Rgb wallAt(double along, double y) {
    if (y < 0.12) return {46, 26, 18};
    if (y < kRail) {
        Rgb wood{92, 52, 32};
        const double panel = std::fmod(along + 20, 0.6);
        if (y > 0.2 && y < kRail - 0.08 && panel > 0.06 && panel < 0.54) wood = wood * 0.85;
        return wood;
    }
    if (y < kRail + 0.05) return {150, 104, 58};
    if (y > kRoom.ceiling - 0.15) return {200, 180, 150};
    // Deep red paper with a faint damask.
    Rgb paper{112, 36, 38};
    const double u = std::fmod(along + 20, 0.4) - 0.2, v = std::fmod(y + 20, 0.5) - 0.25;
    if (std::abs(std::abs(u) / 0.12 + std::abs(v) / 0.18 - 0.8) < 0.08) paper = paper * 1.15;
    return paper;
}

Rgb floorAt(double x, double z) {
    Rgb board{104, 64, 40};
    const double plank = std::floor((x + 20) / 0.22);
    board = board * (0.9 + 0.12 * valueNoise(plank * 3.1, z * 1.3, 61));
    if (std::fmod(x + 20, 0.22) < 0.012) board = board * 0.6;
    return board;
}

Rgb shadeLounge(const Hit& hit) {
    const Vec3& p = hit.at;
    Rgb albedo;
    switch (hit.surface) {
        case Surface::Back: albedo = wallAt(p.x, p.y); break;
        case Surface::Left:
        case Surface::Right: albedo = wallAt(p.z, p.y); break;
        case Surface::Floor: albedo = floorAt(p.x, p.z); break;
        case Surface::Ceiling: albedo = {190, 170, 140}; break;
    }
    const Vec3 n = normalOf(hit.surface);
    const double warm = lampLight(kFire, p, n, 0.0);
    const double lamp = lampLight(kLamp, p, n, 0.14);
    const Rgb fireTint{1.25, 0.72, 0.38};
    return Rgb{albedo.r * (lamp + warm * fireTint.r), albedo.g * (lamp + warm * fireTint.g),
               albedo.b * (lamp + warm * fireTint.b)};
}

void drawFireplace(Canvas& c) {
    const double z = kRoom.back;
    // The stone surround standing out from the wall, and the black opening.
    solidBox(c, kEye, {-0.85, 0, z - 0.3}, {0.85, 1.18, z},
             {{150, 128, 110}, {170, 150, 130}, {120, 100, 86}});
    polygon(c, backQuad(kEye, -0.45, 0, 0.45, 0.72, z - 0.31), Rgb{20, 12, 10});
    // The fire: tongues of flame over glowing logs.
    const Point base = project(kEye, {0, 0.08, z - 0.31});
    const double w = project(kEye, {0.45, 0, z - 0.31}).x - base.x;
    polygon(c,
            {{base.x - w * 0.6, base.y},
             {base.x + w * 0.6, base.y},
             {base.x + w * 0.5, base.y - 6},
             {base.x - w * 0.5, base.y - 6}},
            Rgb{90, 30, 14});
    Random random(0xF12Eu);
    for (int i = 0; i < 9; ++i) {
        const double x = base.x + random.between(-w * 0.5, w * 0.5);
        const double h = random.between(14, 34) * (1.0 - std::abs(x - base.x) / w);
        polygon(
            c, {{x - 7, base.y - 4}, {x + 7, base.y - 4}, {x + 1.5, base.y - 4 - h}},
            [&](double, double y) {
                return mix(Rgb{255, 230, 120}, Rgb{230, 90, 30}, (base.y - 4 - y) / h);
            },
            0.9);
    }
    c.glow(base.x, base.y - 10, 160, {120, 56, 18}, 0.8);
    c.glow(base.x, base.y - 10, 40, {200, 120, 40}, 0.7);
    // The mantel shelf, a small clock on it, and a picture of the hotel above.
    solidBox(c, kEye, {-1.0, 1.18, z - 0.38}, {1.0, 1.27, z},
             {{110, 62, 36}, {130, 78, 46}, {90, 50, 30}});
    const Point clock = project(kEye, {0, 1.4, z - 0.2});
    rect(c, clock.x - 9, clock.y - 4, clock.x + 9, clock.y + 14, Rgb{70, 38, 22});
    ellipse(c, clock.x, clock.y + 2, 6.5, 6.5, Rgb{236, 224, 196});
    line(c, {clock.x, clock.y + 2}, {clock.x - 2, clock.y - 2.5}, 1.0, {30, 20, 20});
    line(c, {clock.x, clock.y + 2}, {clock.x + 3.5, clock.y + 0.5}, 0.8, {30, 20, 20});
    polygon(c, backQuad(kEye, -0.62, 1.55, 0.62, 2.32, z - 0.01), Rgb{180, 140, 60});
    const std::vector<Point> canvas = backQuad(kEye, -0.56, 1.6, 0.56, 2.27, z - 0.02);
    const double top = canvas[2].y, bottom = canvas[0].y, h = bottom - top;
    polygon(c, canvas, [=](double x, double y) {
        // The hotel on its hill at dusk, as a painter saw it long ago.
        Rgb sky = mix(Rgb{70, 80, 120}, Rgb{200, 150, 110}, (y - top) / h);
        if (y > bottom - h * 0.3 - 3 * std::cos((x - 320) / 10)) sky = Rgb{50, 64, 50};
        if (std::abs(x - 320) < 7 && y > bottom - h * 0.55 && y < bottom - h * 0.28) {
            sky = Rgb{210, 190, 150};
        }
        return sky;
    });
}

void drawBookshelf(Canvas& c, double left, double right) {
    const double z = kRoom.back;
    solidBox(c, kEye, {left, 0, z - 0.4}, {right, 2.45, z},
             {{70, 38, 22}, {86, 48, 28}, {56, 30, 18}});
    Random random(0xB00Cu + static_cast<std::uint32_t>(left * 10 + 40));
    for (int shelf = 0; shelf < 5; ++shelf) {
        const double y0 = 0.12 + shelf * 0.46, y1 = y0 + 0.38;
        polygon(c, backQuad(kEye, left + 0.05, y0, right - 0.05, y1, z - 0.39), Rgb{26, 14, 10});
        for (double x = left + 0.06; x < right - 0.08;) {
            const double w = random.between(0.03, 0.07);
            const double h = random.between(0.24, 0.36);
            const Rgb spine = mix(mix(Rgb{120, 30, 30}, Rgb{40, 70, 50}, random.next()),
                                  Rgb{150, 120, 70}, random.next() * 0.6);
            polygon(c, backQuad(kEye, x, y0, x + w, y0 + h, z - 0.39), spine * 0.85);
            x += w + 0.004;
        }
    }
}

void drawWindow(Canvas& c) {
    const double x = kRoom.right - 0.01;
    polygon(c, sideQuad(kEye, x, 2.2, 0.75, 4.1, 2.4), Rgb{180, 160, 130});
    const std::vector<Point> glass = sideQuad(kEye, x - 0.01, 2.3, 0.85, 4.0, 2.3);
    polygon(c, glass, [](double, double y) {
        return mix(Rgb{16, 22, 50}, Rgb{60, 70, 110}, (y - 40) / 240);
    });
    Random random(0x5A0Au);
    for (int i = 0; i < 40; ++i) {
        const double z = random.between(2.35, 3.95), y = random.between(0.9, 2.25);
        const Point p = project(kEye, {x - 0.02, y, z});
        ellipse(c, p.x, p.y, 1.2, 1.2, Rgb{236, 240, 255}, random.between(0.4, 0.9));
    }
    for (const double z : {3.15}) {
        polygon(c, sideQuad(kEye, x - 0.02, z - 0.02, 0.85, z + 0.02, 2.3), Rgb{180, 160, 130});
    }
    polygon(c, sideQuad(kEye, x - 0.02, 2.3, 1.55, 4.0, 1.6), Rgb{180, 160, 130});
}

void drawArmchair(Canvas& c, double x0, double x1, double z) {
    // Seen from behind: the back, the two arms, and the seat's edge between them.
    const BoxColours leather{{110, 40, 30}, {140, 56, 40}, {84, 30, 24}};
    for (const double x : {x0 + 0.04, x1 - 0.08}) {
        solidBox(c, kEye, {x, 0, z + 0.02}, {x + 0.04, 0.1, z + 0.06},
                 {{50, 30, 20}, {50, 30, 20}, {40, 24, 16}});
    }
    solidBox(c, kEye, {x0, 0.1, z + 0.15}, {x0 + 0.12, 0.58, z + 0.7}, leather);
    solidBox(c, kEye, {x1 - 0.12, 0.1, z + 0.15}, {x1, 0.58, z + 0.7}, leather);
    const double top = 0.88;
    const std::vector<Point> back = backQuad(kEye, x0, 0.1, x1, top, z);
    polygon(c, back, [&](double x, double) {
        return mix(Rgb{132, 50, 38}, Rgb{86, 30, 24}, (x - back[0].x) / (back[1].x - back[0].x));
    });
    // The rounded top of the back, and the buttons of its tufting.
    const Point a = project(kEye, {x0, top, z}), b = project(kEye, {x1, top, z});
    ellipse(c, (a.x + b.x) / 2, a.y, (b.x - a.x) / 2, 8, Rgb{120, 44, 34});
    for (int i = 1; i <= 3; ++i) {
        const Point k = project(kEye, {x0 + (x1 - x0) * i / 4, 0.62, z - 0.01});
        ellipse(c, k.x, k.y, 1.6, 1.6, Rgb{70, 24, 20});
    }
}

void drawRugAndTable(Canvas& c) {
    polygon(c, floorQuad(kEye, -1.9, 2.3, 1.9, 4.9, 0.005), [](double x, double y) {
        Rgb rug{116, 34, 36};
        if (std::fmod(x + y * 0.3 + 1000, 24.0) < 2) rug = rug * 1.12;
        return rug;
    });
    polygon(c, floorQuad(kEye, -1.7, 2.45, 1.7, 4.75, 0.006), Rgb{128, 40, 40}, 0.0);
    // The low table with the album on it.
    solidBox(c, kEye, {-0.45, 0.36, 3.9}, {0.45, 0.42, 4.4},
             {{96, 54, 32}, {124, 72, 44}, {80, 44, 26}});
    for (const double x : {-0.42, 0.39})
        solidBox(c, kEye, {x, 0, 3.93}, {x + 0.03, 0.36, 3.96},
                 {{80, 44, 26}, {80, 44, 26}, {64, 36, 22}});
    polygon(c, floorQuad(kEye, -0.22, 4.02, 0.18, 4.3, 0.43), Rgb{36, 70, 52});
    polygon(c, floorQuad(kEye, -0.2, 4.04, 0.16, 4.28, 0.436), Rgb{44, 84, 62});
    polygon(c, floorQuad(kEye, -0.2, 4.05, -0.17, 4.27, 0.437), Rgb{190, 160, 80});
}

void drawStandingLamp(Canvas& c) {
    const Point foot = project(kEye, {1.95, 0, 4.5});
    const Point top = project(kEye, {1.95, 1.45, 4.5});
    line(c, foot, top, 2.2, {160, 130, 70});
    ellipse(c, foot.x, foot.y, 10, 3, Rgb{140, 110, 60});
    polygon(c,
            {{top.x - 16, top.y + 4},
             {top.x + 16, top.y + 4},
             {top.x + 10, top.y - 16},
             {top.x - 10, top.y - 16}},
            Rgb{250, 220, 160});
    c.glow(top.x, top.y - 4, 110, {90, 66, 30}, 0.8);
    c.glow(top.x, top.y - 4, 24, {150, 120, 60}, 0.9);
}

}  // namespace

Canvas drawLounge() {
    Canvas c;
    paintRoom(c, kEye, kRoom, shadeLounge);
    drawBookshelf(c, -2.55, -1.25);
    drawFireplace(c);
    drawBookshelf(c, 1.25, 2.2);
    drawWindow(c);
    drawRugAndTable(c);
    drawStandingLamp(c);
    drawArmchair(c, -1.35, -0.65, 3.4);
    drawArmchair(c, 0.65, 1.35, 3.4);
    c.vignette(0.5);
    return c;
}

}  // namespace corvan::art
