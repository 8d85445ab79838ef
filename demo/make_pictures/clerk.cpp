// B001 and B002: the old clerk, on the see-through colour: behind the front desk of A002, and
// standing to the right of any picture, seen closer.

#include <algorithm>
#include <cmath>
#include <vector>

#include "demo/make_pictures/kit/noise.h"
#include "demo/make_pictures/kit/shapes.h"
#include "demo/make_pictures/lobby.h"
#include "demo/make_pictures/pictures.h"

namespace corvan::art {

namespace {

// The clerk behind the desk, cut off at its top with his hands on it; or standing, larger and
// to the right, cut off by the bottom of the picture with his arms at his sides.
Canvas paintClerk(bool atDesk, double scale, double dx, double dy) {
    Canvas c(false);
    const double cx = 320;
    const double deskTop = kCounterBack + 1;
    const double cut = atDesk ? deskTop : 400;  // where the body ends
    const Rgb coat{34, 34, 46};
    const Rgb coatLight{70, 70, 92};
    const Rgb shirt{236, 232, 222};
    const Rgb skin{232, 190, 156};
    const Rgb skinShade{196, 146, 114};
    const Rgb hair{214, 214, 216};
    const Rgb outline{20, 16, 20};
    // Drawn a little larger than it is written, growing up from the desk.
    c.zoom(cx, deskTop, scale, dx, dy);

    // The body: shoulders falling to the sides, cut off at the desk.
    const std::vector<Point> body = {{cx - 30, 226}, {cx + 30, 226}, {cx + 62, 236},
                                     {cx + 74, 250}, {cx + 78, cut}, {cx - 78, cut},
                                     {cx - 74, 250}, {cx - 62, 236}};
    c.shape(boundsOf(body), polygonShape(body), [&](double x, double y) {
        // Light from the upper left.
        const double t = smoothstep(cx - 80, cx + 80, x) * 0.8 + (y - 226) / 200;
        return mix(coatLight, coat, t);
    });
    // The waistcoat and the shirt front in a V.
    polygon(c, {{cx - 22, 228}, {cx + 22, 228}, {cx + 30, cut}, {cx - 30, cut}}, Rgb{110, 30, 36});
    polygon(c, {{cx - 18, 228}, {cx + 18, 228}, {cx, 270}}, shirt);
    // The lapels of the coat.
    polygon(c, {{cx - 24, 226}, {cx - 8, 236}, {cx - 2, 272}, {cx - 30, 250}, {cx - 36, 234}},
            Rgb{52, 52, 70});
    polygon(c, {{cx + 24, 226}, {cx + 8, 236}, {cx + 2, 272}, {cx + 30, 250}, {cx + 36, 234}},
            Rgb{28, 28, 40});
    // Brass buttons of the waistcoat.
    for (const double y : {278.0, 290.0}) ellipse(c, cx, y, 2.2, 2.2, Rgb{230, 190, 100});
    // The name badge.
    rect(c, cx - 52, 252, cx - 34, 257, Rgb{220, 180, 90});
    // The collar and the bow tie.
    polygon(c, {{cx - 16, 222}, {cx + 16, 222}, {cx + 12, 232}, {cx, 236}, {cx - 12, 232}}, shirt);
    polygon(c, {{cx - 13, 226}, {cx - 2, 231}, {cx - 13, 237}}, Rgb{140, 24, 30});
    polygon(c, {{cx + 13, 226}, {cx + 2, 231}, {cx + 13, 237}}, Rgb{120, 18, 26});
    ellipse(c, cx, 231, 3, 3, Rgb{160, 34, 40});

    // The arms: sleeves down the sides, bending forward to the hands on the desk, or hanging.
    for (const int side : {-1, 1}) {
        const double elbow = atDesk ? 44 : 58;
        const std::vector<Point> sleeve = {{cx + side * 62, 238},    {cx + side * 80, 254},
                                           {cx + side * 82, cut},    {cx + side * (elbow - 8), cut},
                                           {cx + side * elbow, 282}, {cx + side * 58, 266}};
        polygon(c, sleeve, [&](double x, double y) {
            const double t = side < 0 ? 0.1 : 0.6;
            return mix(coatLight, coat, t + (y - 238) / 160 + 0.002 * std::abs(x - cx));
        });
        if (!atDesk) continue;
        // White cuffs.
        polygon(c,
                {{cx + side * 48, cut - 10},
                 {cx + side * 34, cut - 6},
                 {cx + side * 36, cut},
                 {cx + side * 52, cut}},
                shirt);
    }
    // The hands, folded on the desk top: they lie in front of the cut.
    if (atDesk) {
        ellipse(c, cx - 18, cut + 2, 17, 8,
                [&](double x, double) { return mix(skin, skinShade, (x - cx + 35) / 40); });
        ellipse(c, cx + 16, cut + 1, 17, 8,
                [&](double x, double) { return mix(skin, skinShade, (x - cx) / 40 + 0.2); });
        for (int i = 0; i < 3; ++i) {
            line(c, {cx + 4 + i * 6, cut - 3}, {cx + 6 + i * 6, cut + 6}, 0.9, skinShade * 0.85);
        }
    } else {
        for (const double y : {302.0, 314.0}) ellipse(c, cx, y, 2.2, 2.2, Rgb{230, 190, 100});
    }

    // The neck and the head.
    rect(c, cx - 11, 204, cx + 11, 226, skinShade);
    ellipse(c, cx - 27, 184, 6, 10, skin);  // ears
    ellipse(c, cx + 27, 184, 6, 10, skinShade);
    ellipse(c, cx, 178, 27, 34, [&](double x, double y) {
        const double shade = smoothstep(cx - 30, cx + 30, x) * 0.6 + smoothstep(190, 212, y) * 0.3;
        return mix(skin, skinShade, shade);
    });
    // A bald crown with a light shine, white hair at the sides and back.
    for (const int side : {-1, 1}) {
        polygon(c,
                {{cx + side * 28, 160},
                 {cx + side * 20, 156},
                 {cx + side * 18, 176},
                 {cx + side * 24, 192},
                 {cx + side * 30, 186}},
                [&](double, double y) {
                    return mix(hair, Rgb{170, 170, 176}, (y - 156) / 40);
                });
    }
    ellipse(c, cx - 8, 154, 9, 5, Rgb{246, 214, 186}, 0.8);
    // Eyebrows, thick and white.
    for (const int side : {-1, 1}) {
        polygon(c,
                {{cx + side * 4, 170},
                 {cx + side * 19, 166},
                 {cx + side * 22, 171},
                 {cx + side * 6, 173}},
                hair);
    }
    // Closed, smiling eyes behind small round glasses.
    for (const int side : {-1, 1}) {
        const double ex = cx + side * 11;
        c.shape(
            {static_cast<int>(ex) - 6, 174, static_cast<int>(ex) + 7, 182},
            [&](double x, double y) {
                const double u = (x - ex) / 5.0;
                return std::abs(u) < 1 && std::abs(y - (178 - 2.2 * (1 - u * u))) < 0.8;
            },
            Rgb{60, 40, 34});
        c.shape(
            {static_cast<int>(ex) - 10, 168, static_cast<int>(ex) + 11, 189},
            [&](double x, double y) {
                const double d = std::hypot(x - ex, y - 178);
                return d > 7.4 && d < 8.8;
            },
            Rgb{190, 150, 70});
        c.glow(ex - 3, 175, 4, {60, 60, 60}, 0.5);
    }
    line(c, {cx - 3, 178}, {cx + 3, 178}, 1.2, {190, 150, 70});
    // The nose and a white moustache over a kind mouth.
    polygon(c, {{cx, 178}, {cx + 4, 192}, {cx - 3, 193}}, skinShade);
    polygon(c,
            {{cx - 16, 199},
             {cx - 8, 194},
             {cx, 196},
             {cx + 8, 194},
             {cx + 16, 199},
             {cx + 8, 199},
             {cx, 198.5},
             {cx - 8, 199}},
            hair);
    c.shape(
        {static_cast<int>(cx) - 8, 199, static_cast<int>(cx) + 9, 206},
        [&](double x, double y) {
            const double u = (x - cx) / 6.0;
            return std::abs(u) < 1 && std::abs(y - (201.5 + 1.5 * (1 - u * u))) < 0.6;
        },
        Rgb{150, 80, 70});
    // Cheeks warmed by the lamps.
    ellipse(c, cx - 16, 190, 5, 3.5, Rgb{236, 150, 130}, 0.35);
    ellipse(c, cx + 16, 190, 5, 3.5, Rgb{220, 130, 110}, 0.3);

    // A thin dark outline round the whole figure, so it stands out on the wall.
    Canvas outlined = c;
    for (int y = 1; y < kHeight - 1; ++y) {
        for (int x = 1; x < kWidth - 1; ++x) {
            if (c.alpha(x, y) >= 0.5) continue;
            const bool near = c.alpha(x - 1, y) >= 0.5 || c.alpha(x + 1, y) >= 0.5 ||
                              c.alpha(x, y - 1) >= 0.5 || c.alpha(x, y + 1) >= 0.5;
            if (near && (!atDesk || y < cut - 1)) outlined.blend(x, y, outline, 1.0);
        }
    }
    return outlined;
}

}  // namespace

Canvas drawClerk() {
    return paintClerk(true, 1.22, 0, 0);
}

Canvas drawClerkStanding() {
    return paintClerk(false, 1.7, 130, 70);
}

}  // namespace corvan::art
