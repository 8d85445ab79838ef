// The things the story turns on, seen close: the old photograph (A200), the letter's paper
// (A201), the letter caught in the mail chute (A202), and the hotel's album with its empty
// place (A203) and with the photograph back in it (A205).

#include <cmath>

#include "demo/make_pictures/kit/noise.h"
#include "demo/make_pictures/kit/photo.h"
#include "demo/make_pictures/kit/shapes.h"
#include "demo/make_pictures/pictures.h"

namespace corvan::art {

namespace {

// A young bellboy in his pillbox cap, and a young maid with her hair up, standing before the
// desk: the two of the photograph, painted on the lobby.
void paintTheTwo(Canvas& c) {
    const Rgb uniform{40, 40, 70}, skin{226, 186, 150}, dress{34, 30, 36}, apron{240, 238, 232};
    // The bellboy, left.
    const double bx = 262, feet = 452;
    polygon(
        c,
        {{bx - 22, feet - 150}, {bx + 22, feet - 150}, {bx + 26, feet - 80}, {bx - 26, feet - 80}},
        uniform);
    polygon(c, {{bx - 18, feet - 80}, {bx - 2, feet - 80}, {bx - 4, feet}, {bx - 17, feet}},
            uniform * 0.8);
    polygon(c, {{bx + 2, feet - 80}, {bx + 18, feet - 80}, {bx + 17, feet}, {bx + 4, feet}},
            uniform * 0.8);
    for (int i = 0; i < 4; ++i) ellipse(c, bx, feet - 140 + i * 15, 2.2, 2.2, Rgb{220, 190, 100});
    ellipse(c, bx, feet - 170, 15, 19, skin);
    rect(c, bx - 12, feet - 196, bx + 12, feet - 184, Rgb{150, 30, 36});
    for (const int side : {-1, 1}) {
        polygon(c,
                {{bx + side * 22, feet - 148},
                 {bx + side * 30, feet - 140},
                 {bx + side * 30, feet - 90},
                 {bx + side * 23, feet - 90}},
                uniform * 0.9);
    }
    // The maid, right, a little turned towards him.
    const double mx = 326;
    polygon(
        c, {{mx - 18, feet - 148}, {mx + 18, feet - 148}, {mx + 36, feet - 4}, {mx - 36, feet - 4}},
        dress);
    polygon(
        c,
        {{mx - 13, feet - 120}, {mx + 13, feet - 120}, {mx + 22, feet - 30}, {mx - 22, feet - 30}},
        apron);
    ellipse(c, mx, feet - 168, 14, 18, skin);
    ellipse(c, mx + 2, feet - 182, 15, 10, Rgb{40, 26, 20});
    ellipse(c, mx + 10, feet - 188, 7, 7, Rgb{40, 26, 20});
    rect(c, mx - 10, feet - 190, mx + 8, feet - 186, apron);
}

Canvas paintLobbyOf1959() {
    Canvas c = drawLobby();
    paintTheTwo(c);
    return c;
}

// A shadow under a laid picture, a little down and to the right.
void dropShadow(Canvas& c, const Placement& p, double border) {
    Placement shadow = p;
    shadow.cx += 6;
    shadow.cy += 8;
    const double halfW = p.width / 2 + border, halfH = p.height / 2 + border;
    const double cosA = std::cos(p.turn), sinA = std::sin(p.turn);
    auto corner = [&](double u, double v) {
        return Point{shadow.cx + u * cosA - v * sinA, shadow.cy + u * sinA + v * cosA};
    };
    polygon(c,
            {corner(-halfW, -halfH), corner(halfW, -halfH), corner(halfW, halfH),
             corner(-halfW, halfH)},
            Rgb{0, 0, 0}, 0.35);
}

// Four photo corners holding a picture of this size at (cx, cy).
void photoCorners(Canvas& c, double cx, double cy, double w, double h) {
    const double s = 16;
    for (const int sx : {-1, 1}) {
        for (const int sy : {-1, 1}) {
            const double x = cx + sx * (w / 2 + 3), y = cy + sy * (h / 2 + 3);
            polygon(c, {{x, y}, {x - sx * s, y}, {x, y - sy * s}}, Rgb{20, 18, 18});
            line(c, {x - sx * s, y}, {x, y - sy * s}, 1.0, {120, 110, 90});
        }
    }
}

void paintDeskTop(Canvas& c) {
    c.fill({}, [](double x, double y) {
        Rgb wood{110, 64, 36};
        const double grain = cloudNoise(x / 140.0, y / 8.0, 200);
        wood = wood * (0.8 + 0.35 * grain);
        if (std::fmod(y + 7 * std::sin(x / 90), 96) < 1.5) wood = wood * 0.7;
        return wood;
    });
    c.glow(150, 80, 520, {70, 50, 26}, 0.9);
}

void paintAlbum(Canvas& c, bool photographBack) {
    c.fill({}, [](double x, double y) {
        return Rgb{40, 54, 44} * (0.85 + 0.25 * cloudNoise(x / 60, y / 60, 203));
    });
    // The open album: two charcoal pages, the spine's shadow between them.
    rect(c, 16, 22, 624, 462, Rgb{70, 40, 28});
    for (const double left : {24.0, 322.0}) {
        rect(c, left, 28, left + 294, 456, [left](double x, double y) {
            const double spine = left < 100 ? 318 - x : x - 322;
            return Rgb{46, 44, 42} * (0.75 + 0.25 * smoothstep(0, 40, spine)) *
                   (0.94 + 0.1 * valueNoise(x / 3, y / 3, 204));
        });
    }
    struct Slot {
        double cx, cy, turn;
        Canvas (*picture)();
    };
    const Slot slots[] = {{171, 132, 0.03, drawNight},
                          {171, 338, -0.025, drawCorridor},
                          {469, 132, -0.02, drawRestaurant}};
    for (const Slot& slot : slots) {
        const Placement place{slot.cx, slot.cy, 200, 150, slot.turn};
        layPicture(c, slot.picture().toBitmap(), place, Tone::Sepia, 6);
        photoCorners(c, slot.cx, slot.cy, 206, 156);
    }
    // The fourth place: empty, the paper darker where the picture kept the light off it, or
    // the photograph back where it belongs.
    const double cx = 469, cy = 338;
    if (photographBack) {
        layPicture(c, paintLobbyOf1959().toBitmap(), {cx, cy, 200, 150, 0.0}, Tone::Sepia, 6);
    } else {
        rect(c, cx - 103, cy - 78, cx + 103, cy + 78, Rgb{60, 58, 54});
    }
    photoCorners(c, cx, cy, 206, 156);
    c.vignette(0.4);
}

}  // namespace

Canvas drawOldPhotograph() {
    Canvas c;
    paintDeskTop(c);
    const Placement place{322, 206, 400, 300, -0.06};
    dropShadow(c, place, 16);
    layPicture(c, paintLobbyOf1959().toBitmap(), place, Tone::Sepia, 16);
    // The print's corners a little worn.
    c.glow(322, 206, 300, {30, 24, 14}, 0.5);
    // A fountain pen lying by it.
    line(c, {470, 420}, {600, 356}, 9, {30, 30, 34});
    line(c, {470, 420}, {488, 411}, 9, {200, 170, 90});
    c.vignette(0.5);
    return c;
}

Canvas drawLetterPaper() {
    Canvas c;
    c.fill({}, [](double x, double y) {
        // The desk shows only at the edges.
        if (x < 14 || x > 626 || y < 6 || y > 474) return Rgb{70, 40, 24};
        // White paper, faintly warm at its edges with age.
        const double edge = std::min({x - 14, 626 - x, y - 6, 474 - y});
        Rgb paper = mix(Rgb{232, 222, 196}, Rgb{255, 255, 255}, smoothstep(0, 24, edge));
        // Ruled lines between the rows of writing, and a margin line.
        if (std::fmod(y - 56 + 400, 40) < 1.2 && y > 50 && y < 460) paper = {196, 210, 236};
        if (std::abs(x - 24) < 0.8) paper = {236, 190, 190};
        return paper;
    });
    // A pressed violet in the corner, below the last row.
    const double fx = 588, fy = 440;
    line(c, {fx - 4, fy + 26}, {fx + 2, fy}, 1.6, {90, 110, 60});
    for (int i = 0; i < 5; ++i) {
        const double a = i * 2 * kPi / 5;
        ellipse(c, fx + 2 + std::cos(a) * 7, fy + std::sin(a) * 7, 6, 6, Rgb{120, 80, 150}, 0.85);
    }
    ellipse(c, fx + 2, fy, 2.5, 2.5, Rgb{230, 200, 90});
    return c;
}

Canvas drawLetterInTheChute() {
    Canvas c;
    // The wall of the lift hall on the third floor.
    c.fill({}, [](double x, double y) {
        Rgb paper{118, 136, 110};
        if (std::fmod(x + 1000, 48.0) < 4) paper = {140, 154, 124};
        if (y > 400) paper = Rgb{96, 56, 34};
        return paper * (0.55 + 0.45 * std::exp(-std::pow((x - 180) / 300, 2) -
                                               std::pow((y - 80) / 360, 2)));
    });
    // The chute: a brass channel from ceiling to floor with a glass front.
    rect(c, 222, 0, 418, 480, [](double x, double) {
        return Rgb{196, 156, 84} * (0.75 + 0.3 * std::cos((x - 320) / 50));
    });
    rect(c, 240, 0, 400, 480, Rgb{20, 18, 22});
    // The envelope caught inside, on its corner, with its stamp and the ring of a postmark.
    const Placement env{320, 190, 124, 80, 0.5};
    const double cosA = std::cos(env.turn), sinA = std::sin(env.turn);
    auto at = [&](double u, double v) {
        return Point{env.cx + u * cosA - v * sinA, env.cy + u * sinA + v * cosA};
    };
    polygon(c, {at(-62, -40), at(62, -40), at(62, 40), at(-62, 40)}, Rgb{226, 212, 180});
    line(c, at(-62, -40), at(0, 5), 1.2, {170, 150, 120});
    line(c, at(62, -40), at(0, 5), 1.2, {170, 150, 120});
    polygon(c, {at(36, -32), at(54, -32), at(54, -10), at(36, -10)}, Rgb{150, 60, 50});
    const Point mark = at(28, -18);
    ring(c, mark.x, mark.y, 9, 10.5, Rgb{60, 50, 70}, 0.7);
    for (int i = 0; i < 4; ++i) {
        line(c, at(-42, -8 + i * 8), at(8, -8 + i * 8), 1.2, {80, 70, 90}, 0.6);
    }
    // The glass: faint streaks of light, and the brass letter box at hand height.
    for (const double x : {300.0, 350.0}) {
        polygon(c, {{x, 0}, {x + 18, 0}, {x - 44, 480}, {x - 62, 480}}, Rgb{255, 255, 255}, 0.07);
    }
    rect(c, 226, 300, 414, 372, [](double, double y) {
        return mix(Rgb{220, 180, 100}, Rgb{140, 100, 40}, (y - 300) / 72);
    });
    rect(c, 260, 322, 380, 332, Rgb{24, 18, 14});
    rect(c, 226, 300, 414, 303, Rgb{240, 210, 140});
    c.glow(200, 60, 300, {60, 44, 20}, 0.8);
    c.vignette(0.55);
    return c;
}

Canvas drawAlbumWithEmptyPlace() {
    Canvas c;
    paintAlbum(c, false);
    return c;
}

Canvas drawAlbumMended() {
    Canvas c;
    paintAlbum(c, true);
    return c;
}

}  // namespace corvan::art
