// A003: the corridor of the third floor, drawn by casting a ray through every sample.

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "demo/make_pictures/kit/noise.h"
#include "demo/make_pictures/kit/room.h"
#include "demo/make_pictures/pictures.h"

namespace corvan::art {

namespace {

// The corridor: 2.2 m wide, 2.5 m high, 9 m to the end wall, seen from the middle.
const RoomBox kCorridor{-1.1, 1.1, 2.5, 9.0};
const Camera kCorridorEye{320, 320, 215, 1.5, 0};

// The lamps on the ceiling, and one over the clock at the end.
const std::vector<Lamp> kCorridorLamps = {
    {{0, 2.42, 1.8}, 1.5}, {{0, 2.42, 4.4}, 1.5}, {{0, 2.42, 7.0}, 1.5}, {{0, 2.2, 8.7}, 1.5}};

// Doors: left wall and right wall, centred at these depths.
constexpr std::array<double, 3> kLeftDoors = {2.3, 5.0, 7.6};
constexpr std::array<double, 2> kRightDoors = {3.6, 6.3};
constexpr double kDoorHalf = 0.45;
constexpr double kDoorHeight = 2.05;

// The wall surface at (z, y) along a side wall, with the doors.
Rgb sideWall(double z, double y, bool left) {
    const auto& doors = left ? std::vector<double>(kLeftDoors.begin(), kLeftDoors.end())
                             : std::vector<double>(kRightDoors.begin(), kRightDoors.end());
    for (const double dz : doors) {
        const double u = z - dz;
        if (std::abs(u) < kDoorHalf + 0.08 && y < kDoorHeight + 0.08) {
            if (std::abs(u) >= kDoorHalf || y >= kDoorHeight) return {196, 170, 130};  // frame
            Rgb door{112, 48, 34};
            // Two sunken panels.
            const bool inPanel =
                std::abs(u) < kDoorHalf - 0.1 && ((y > 0.2 && y < 0.95) || (y > 1.1 && y < 1.9));
            if (inPanel) door = door * 0.82;
            // The brass number plate and the knob.
            const double knobU = left ? -0.32 : 0.32;
            if (std::abs(u) < 0.09 && std::abs(y - 1.62) < 0.05) return {220, 180, 96};
            if (std::hypot(u - knobU, (y - 1.0) * 1.0) < 0.04) return {230, 190, 100};
            return door;
        }
    }
    if (y < 0.09) return {40, 22, 16};  // skirting
    if (y < 0.92) {
        Rgb wood{96, 54, 34};
        const double pz = std::fmod(z + 100, 0.8);
        if (y > 0.16 && y < 0.84 && pz > 0.08 && pz < 0.72) wood = wood * 0.86;
        return wood;
    }
    if (y < 0.98) return {160, 110, 60};  // the rail
    if (y > kCorridor.ceiling - 0.1) return {220, 206, 180};
    Rgb paper{206, 176, 128};
    if (std::fmod(z * 6.0 + 100, 1.0) < 0.12) paper = paper * 0.94;
    return paper;
}

// The end wall at (x, y), with the old standing clock.
Rgb endWall(double x, double y) {
    const double ax = std::abs(x);
    if (ax < 0.3 && y < 2.15) {
        const Rgb wood{84, 40, 24};
        if (y > 2.0) return wood * 1.2;  // the crown
        const double face = std::hypot(x, y - 1.68);
        if (face < 0.19) {
            if (face > 0.17) return {200, 160, 80};
            // Ten o'clock: the hour hand up and to the left, the minute hand straight up.
            const double hx = x, hy = y - 1.68;
            const bool minuteHand = std::abs(hx) < 0.008 && hy > 0 && hy < 0.15;
            const double hourAngle = 10 * kPi / 6;
            const double along = hx * std::sin(hourAngle) + hy * std::cos(hourAngle);
            const double across = hx * std::cos(hourAngle) - hy * std::sin(hourAngle);
            const bool hourHand = along > 0 && along < 0.1 && std::abs(across) < 0.012;
            if (minuteHand || hourHand) return {30, 20, 20};
            return {240, 228, 200};
        }
        if (y > 0.45 && y < 1.35 && ax < 0.14) {
            // The glass door of the pendulum.
            if (std::hypot(x - 0.03, y - 0.7) < 0.07) return {230, 190, 100};
            if (std::abs(x - 0.03 + (y - 0.7) * 0.05) < 0.008 && y > 0.7) return {190, 150, 80};
            return {40, 24, 20};
        }
        if (ax > 0.26 || y < 0.1) return wood * 0.8;
        return wood;
    }
    if (y < 0.09) return {40, 22, 16};
    if (y < 0.92) return {96, 54, 34};
    if (y < 0.98) return {160, 110, 60};
    return {206, 176, 128};
}

Rgb floorAt(double x, double z) {
    if (std::abs(x) < 0.78) {
        // The runner: deep red with gold borders and a row of diamonds.
        const double ax = std::abs(x);
        if (ax > 0.64 && ax < 0.7) return {196, 150, 70};
        Rgb carpet{124, 26, 32};
        const double m = std::fmod(z + 100, 0.9) - 0.45;
        if (std::abs(m) / 0.3 + ax / 0.3 < 1.0 && std::abs(m) / 0.3 + ax / 0.3 > 0.8) {
            carpet = {170, 110, 60};
        }
        return carpet;
    }
    // Boards along the corridor.
    Rgb board{110, 70, 44};
    const double seam = std::fmod(std::abs(x) * 6.0, 1.0);
    if (seam < 0.06) board = board * 0.7;
    return board;
}

Rgb ceilingAt(double x, double z) {
    for (const Lamp& lamp : kCorridorLamps) {
        if (lamp.at.y < 2.4) continue;
        if (std::hypot(x - lamp.at.x, (z - lamp.at.z) * 0.8) < 0.2) return {255, 250, 230};
        if (std::hypot(x - lamp.at.x, (z - lamp.at.z) * 0.8) < 0.24) return {200, 160, 80};
    }
    return {226, 210, 184};
}

Rgb shadeCorridor(const Hit& hit) {
    const Vec3& p = hit.at;
    Rgb albedo;
    double glow = 0;
    switch (hit.surface) {
        case Surface::Back: albedo = endWall(p.x, p.y); break;
        case Surface::Left: albedo = sideWall(p.z, p.y, true); break;
        case Surface::Right: albedo = sideWall(p.z, p.y, false); break;
        case Surface::Floor: albedo = floorAt(p.x, p.z); break;
        case Surface::Ceiling:
            albedo = ceilingAt(p.x, p.z);
            if (albedo.r > 250) glow = 1.0;
            break;
    }
    double light = glow > 0 ? 1.0 : lampLight(kCorridorLamps, p, normalOf(hit.surface), 0.16);
    if (hit.surface == Surface::Ceiling && glow == 0) {
        // The ceiling round each lamp catches its light; the rest is lit from below.
        light += 0.2;
        for (const Lamp& lamp : kCorridorLamps) {
            const double d2 =
                (p.x - lamp.at.x) * (p.x - lamp.at.x) + (p.z - lamp.at.z) * (p.z - lamp.at.z);
            light += 0.5 / (1.0 + 1.2 * d2);
        }
    }
    Rgb lit = albedo * std::min(light, 1.3);
    // The far end fades into a warm dusk.
    return mix(lit, Rgb{40, 24, 16}, smoothstep(3.0, 12.0, p.z) * 0.45);
}

}  // namespace

Canvas drawCorridor() {
    Canvas c;
    paintRoom(c, kCorridorEye, kCorridor, shadeCorridor);
    // Soft halos under the lamps.
    for (const Lamp& lamp : kCorridorLamps) {
        const Point at = project(kCorridorEye, lamp.at);
        c.glow(at.x, at.y, 160 / lamp.at.z + 8, {110, 90, 50}, 0.8);
    }
    c.vignette(0.5);
    return c;
}

}  // namespace corvan::art
