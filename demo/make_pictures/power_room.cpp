// A008: the power room in the basement: the old generator, pipes along the walls, a caged
// bulb, and the shelf where the post bag of long ago lies forgotten.

#include <cmath>

#include "demo/make_pictures/kit/noise.h"
#include "demo/make_pictures/kit/room.h"
#include "demo/make_pictures/pictures.h"

namespace corvan::art {

namespace {

const Camera kEye{300, 300, 210, 1.5, -0.2};
const RoomBox kRoom{-2.2, 2.0, 2.7, 6.5};
const std::vector<Lamp> kBulb = {{{-0.6, 2.3, 3.4}, 2.2}};

Rgb concrete(double u, double v, std::uint32_t seed) {
    Rgb wall{118, 120, 112};
    wall = wall * (0.82 + 0.3 * cloudNoise(u * 2.5, v * 2.5, seed));
    // Shuttering lines in the concrete.
    if (std::fmod(v + 10, 0.6) < 0.015) wall = wall * 0.8;
    return wall;
}

Rgb shadeRoom(const Hit& hit) {
    const Vec3& p = hit.at;
    Rgb albedo;
    switch (hit.surface) {
        case Surface::Back: albedo = concrete(p.x, p.y, 81); break;
        case Surface::Left:
        case Surface::Right: albedo = concrete(p.z, p.y, 82); break;
        case Surface::Floor:
            albedo = Rgb{90, 92, 88} * (0.8 + 0.35 * cloudNoise(p.x * 1.5, p.z * 1.5, 83));
            // Yellow and black warning stripes round the machine.
            if (p.z > 3.9 && p.z < 4.05 && p.x > 0.0 && p.x < 1.9) {
                albedo = std::fmod(p.x * 5 + 10, 1.0) < 0.5 ? Rgb{200, 160, 40} : Rgb{30, 30, 30};
            }
            break;
        case Surface::Ceiling: albedo = concrete(p.x, p.z, 84) * 0.8; break;
    }
    const double light = lampLight(kBulb, p, normalOf(hit.surface), 0.1);
    return Rgb{albedo.r * light * 1.05, albedo.g * light, albedo.b * light * 0.82};
}

void drawPipes(Canvas& c) {
    // Three pipes along the left wall under the ceiling, and one coming down the back wall.
    for (int i = 0; i < 3; ++i) {
        const double y = 2.45 - i * 0.2, x = kRoom.left + 0.14 + i * 0.04, r = 0.07;
        const double near = 0.9, far = kRoom.back;
        polygon(c,
                {project(kEye, {x, y + r, near}), project(kEye, {x, y + r, far}),
                 project(kEye, {x, y - r, far}), project(kEye, {x, y - r, near})},
                Rgb{66, 76, 66});
        polygon(c,
                {project(kEye, {x, y + r * 0.7, near}), project(kEye, {x, y + r * 0.7, far}),
                 project(kEye, {x, y + r * 0.3, far}), project(kEye, {x, y + r * 0.3, near})},
                Rgb{120, 132, 116}, 0.6);
        for (double z = 1.6; z < far; z += 1.3) {
            const Point f = project(kEye, {x, y, z});
            const double ry = (r * 1.35) * kEye.focal / z;
            ellipse(c, f.x, f.y, ry * 0.35, ry, Rgb{54, 60, 52});
        }
    }
    const Point top = project(kEye, {-1.4, kRoom.ceiling, kRoom.back - 0.1});
    const Point bottom = project(kEye, {-1.4, 0, kRoom.back - 0.1});
    line(c, top, bottom, 9, Rgb{140, 60, 40});
    // A wheel valve on it.
    const Point valve = project(kEye, {-1.4, 1.2, kRoom.back - 0.2});
    ring(c, valve.x, valve.y, 8, 11, Rgb{170, 40, 30});
    line(c, {valve.x - 9, valve.y}, {valve.x + 9, valve.y}, 2, {170, 40, 30});
    line(c, {valve.x, valve.y - 9}, {valve.x, valve.y + 9}, 2, {170, 40, 30});
}

void drawGenerator(Canvas& c) {
    const BoxColours green{{58, 92, 70}, {80, 120, 92}, {40, 66, 50}};
    solidBox(c, kEye, {0.2, 0, 4.2}, {1.8, 0.2, 6.2}, {{70, 70, 66}, {90, 90, 86}, {56, 56, 52}});
    solidBox(c, kEye, {0.35, 0.2, 4.4}, {1.65, 1.3, 6.0}, green);
    // The flywheel housing on its near end, round.
    const Point hub = project(kEye, {1.0, 0.85, 4.38});
    ellipse(c, hub.x, hub.y, 52, 52, Rgb{46, 74, 56});
    ring(c, hub.x, hub.y, 46, 52, Rgb{90, 130, 100});
    ellipse(c, hub.x, hub.y, 12, 12, Rgb{160, 150, 120});
    // The gauges on a board beside it.
    solidBox(c, kEye, {1.7, 0.9, 4.0}, {1.98, 1.8, 4.1},
             {{40, 44, 40}, {50, 54, 50}, {30, 34, 30}});
    for (int i = 0; i < 2; ++i) {
        const Point g = project(kEye, {1.84, 1.55 - i * 0.4, 3.99});
        ellipse(c, g.x, g.y, 15, 15, Rgb{200, 180, 110});
        ellipse(c, g.x, g.y, 12, 12, Rgb{236, 230, 212});
        const double a = -0.6 + i * 1.4;
        line(c, g, {g.x + std::sin(a) * 10, g.y - std::cos(a) * 10}, 1.4, {160, 30, 20});
    }
}

void drawShelf(Canvas& c) {
    // The shelf on the left wall, with boxes and the canvas post bag.
    solidBox(c, kEye, {kRoom.left, 0.95, 2.2}, {kRoom.left + 0.45, 1.0, 3.6},
             {{100, 70, 44}, {120, 86, 56}, {80, 56, 36}});
    solidBox(c, kEye, {kRoom.left + 0.05, 1.0, 2.3}, {kRoom.left + 0.4, 1.3, 2.8},
             {{150, 120, 80}, {170, 140, 96}, {120, 96, 64}});
    // The post bag: grey-green canvas slumped on its side, a leather strap and a brass clasp.
    const double x = kRoom.left + 0.43;
    auto at = [&](double y, double z) { return project(kEye, {x, y, z}); };
    const Point a = at(1.0, 2.9), b = at(1.0, 3.55);
    polygon(c, {a, b, at(1.3, 3.5), at(1.42, 3.2), at(1.32, 2.93)}, [&](double px, double) {
        return mix(Rgb{118, 126, 102}, Rgb{70, 76, 62}, (a.x - px) / (a.x - b.x));
    });
    line(c, at(1.4, 3.15), at(1.0, 3.12), 3, {90, 56, 34});
    const Point clasp = at(1.22, 3.14);
    ellipse(c, clasp.x, clasp.y, 3.5, 3, Rgb{210, 170, 80});
}

}  // namespace

Canvas drawPowerRoom() {
    Canvas c;
    paintRoom(c, kEye, kRoom, shadeRoom);
    drawPipes(c);
    drawShelf(c);
    drawGenerator(c);
    // The bulb in its wire cage.
    const Point bulb = project(kEye, kBulb[0].at);
    line(c, {bulb.x, 0}, {bulb.x, bulb.y - 10}, 1.5, {30, 30, 30});
    ellipse(c, bulb.x, bulb.y, 9, 12, Rgb{255, 236, 180});
    for (int i = -1; i <= 1; ++i)
        line(c, {bulb.x + i * 7.0, bulb.y - 12}, {bulb.x + i * 7.0, bulb.y + 12}, 1, {40, 40, 40});
    c.glow(bulb.x, bulb.y, 180, {110, 96, 50}, 0.7);
    c.glow(bulb.x, bulb.y, 30, {200, 180, 100}, 0.9);
    c.vignette(0.6);
    return c;
}

}  // namespace corvan::art
