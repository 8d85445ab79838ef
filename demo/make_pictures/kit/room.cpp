#include "demo/make_pictures/kit/room.h"

#include <algorithm>
#include <cmath>

namespace corvan::art {

Point project(const Camera& camera, Vec3 p) {
    return {camera.vanishX + camera.focal * (p.x - camera.eyeX) / p.z,
            camera.vanishY - camera.focal * (p.y - camera.eyeHeight) / p.z};
}

Hit castRay(const Camera& camera, const RoomBox& room, double sx, double sy) {
    const Vec3 d{(sx - camera.vanishX) / camera.focal, (camera.vanishY - sy) / camera.focal, 1.0};
    double t = room.back;
    Surface surface = Surface::Back;
    const double toLeft = room.left - camera.eyeX;
    const double toRight = room.right - camera.eyeX;
    if (d.x < 0 && toLeft / d.x < t) t = toLeft / d.x, surface = Surface::Left;
    if (d.x > 0 && toRight / d.x < t) t = toRight / d.x, surface = Surface::Right;
    if (d.y < 0 && -camera.eyeHeight / d.y < t)
        t = -camera.eyeHeight / d.y, surface = Surface::Floor;
    if (d.y > 0 && (room.ceiling - camera.eyeHeight) / d.y < t) {
        t = (room.ceiling - camera.eyeHeight) / d.y, surface = Surface::Ceiling;
    }
    return {surface, {camera.eyeX + d.x * t, camera.eyeHeight + d.y * t, t}};
}

Vec3 normalOf(Surface surface) {
    switch (surface) {
        case Surface::Back: return {0, 0, -1};
        case Surface::Left: return {1, 0, 0};
        case Surface::Right: return {-1, 0, 0};
        case Surface::Floor: return {0, 1, 0};
        case Surface::Ceiling: break;
    }
    return {0, -1, 0};
}

double lampLight(const std::vector<Lamp>& lamps, Vec3 p, Vec3 n, double ambient) {
    double light = ambient;
    for (const Lamp& lamp : lamps) {
        const Vec3 d{lamp.at.x - p.x, lamp.at.y - p.y, lamp.at.z - p.z};
        const double dist = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
        const double facing = (d.x * n.x + d.y * n.y + d.z * n.z) / dist;
        if (facing <= 0) continue;
        light += lamp.power * facing / (1.0 + 0.9 * dist * dist);
    }
    return light;
}

void paintRoom(Canvas& c, const Camera& camera, const RoomBox& room,
               const std::function<Rgb(const Hit&)>& shade) {
    c.fill({}, [&](double x, double y) {
        Rgb sum;
        for (int s = 0; s < 9; ++s) {
            sum = sum + shade(castRay(camera, room, x - 0.5 + (s % 3 + 0.5) / 3.0,
                                      y - 0.5 + (s / 3 + 0.5) / 3.0));
        }
        return sum * (1.0 / 9.0);
    });
}

void solidBox(Canvas& c, const Camera& camera, Vec3 low, Vec3 high, const BoxColours& colours) {
    auto at = [&](double x, double y, double z) { return project(camera, {x, y, z}); };
    // The sides first, then the top or bottom, the front last: nearer faces over farther ones.
    if (low.x > camera.eyeX) {
        polygon(c,
                {at(low.x, low.y, low.z), at(low.x, high.y, low.z), at(low.x, high.y, high.z),
                 at(low.x, low.y, high.z)},
                colours.side);
    }
    if (high.x < camera.eyeX) {
        polygon(c,
                {at(high.x, low.y, low.z), at(high.x, high.y, low.z), at(high.x, high.y, high.z),
                 at(high.x, low.y, high.z)},
                colours.side);
    }
    if (high.y < camera.eyeHeight) {
        polygon(c,
                {at(low.x, high.y, low.z), at(high.x, high.y, low.z), at(high.x, high.y, high.z),
                 at(low.x, high.y, high.z)},
                colours.top);
    }
    if (low.y > camera.eyeHeight) {
        polygon(c,
                {at(low.x, low.y, low.z), at(high.x, low.y, low.z), at(high.x, low.y, high.z),
                 at(low.x, low.y, high.z)},
                colours.side * 0.8);
    }
    polygon(c, backQuad(camera, low.x, low.y, high.x, high.y, low.z), colours.front);
}

std::vector<Point> backQuad(const Camera& camera, double x0, double y0, double x1, double y1,
                            double z) {
    return {project(camera, {x0, y0, z}), project(camera, {x1, y0, z}),
            project(camera, {x1, y1, z}), project(camera, {x0, y1, z})};
}

std::vector<Point> sideQuad(const Camera& camera, double x, double z0, double y0, double z1,
                            double y1) {
    return {project(camera, {x, y0, z0}), project(camera, {x, y0, z1}),
            project(camera, {x, y1, z1}), project(camera, {x, y1, z0})};
}

std::vector<Point> floorQuad(const Camera& camera, double x0, double z0, double x1, double z1,
                             double y) {
    return {project(camera, {x0, y, z0}), project(camera, {x1, y, z0}),
            project(camera, {x1, y, z1}), project(camera, {x0, y, z1})};
}

}  // namespace corvan::art
