#pragma once

// Interiors in one-point perspective: a box-shaped room seen from eye height along its length,
// painted by casting a ray through each sample, and solid boxes standing in it (furniture,
// machines) painted as the polygons of their visible faces.
//
// Room coordinates are metres: x to the right of the eye, y up from the floor, z straight
// ahead.

#include <functional>
#include <vector>

#include "demo/make_pictures/kit/canvas.h"
#include "demo/make_pictures/kit/shapes.h"

namespace corvan::art {

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

// Where the eye is and how the picture sees: a point (x, y, z) lands at
// (vanishX + focal * (x - eyeX) / z, vanishY - focal * (y - eyeHeight) / z).
struct Camera {
    double focal = 320;
    double vanishX = 320;
    double vanishY = 215;
    double eyeHeight = 1.5;
    double eyeX = 0;
};

// The room's walls: x from left to right, y from 0 to ceiling, z up to the back wall.
struct RoomBox {
    double left = -1.1;
    double right = 1.1;
    double ceiling = 2.5;
    double back = 9.0;
};

enum class Surface { Back, Left, Right, Floor, Ceiling };

// What a ray met: the surface, the point, and how far along z it lies.
struct Hit {
    Surface surface = Surface::Back;
    Vec3 at;
};

// A small light in the room.
struct Lamp {
    Vec3 at;
    double power = 1.5;
};

Point project(const Camera& camera, Vec3 p);

// The point of the room seen through picture point (sx, sy).
Hit castRay(const Camera& camera, const RoomBox& room, double sx, double sy);

// The surface's normal, pointing into the room.
Vec3 normalOf(Surface surface);

// Light falling on `p` with normal `n`: `ambient` plus each lamp's, by the angle it falls at and
// the square of its distance.
double lampLight(const std::vector<Lamp>& lamps, Vec3 p, Vec3 n, double ambient);

// Fills the whole canvas with the room, three by three samples a pixel: `shade` gives the
// colour of every point a ray meets.
void paintRoom(Canvas& c, const Camera& camera, const RoomBox& room,
               const std::function<Rgb(const Hit&)>& shade);

// The colours of a solid box's faces: the one facing the eye, the top, and the sides.
struct BoxColours {
    Rgb front, top, side;
};

// A box from corner `low` to corner `high` standing in the room, its visible faces painted.
void solidBox(Canvas& c, const Camera& camera, Vec3 low, Vec3 high, const BoxColours& colours);

// The quadrilateral of a rectangle lying in a plane of constant z (a picture on the back wall),
// of constant x (a door in a side wall) or constant y (a rug on the floor), projected.
std::vector<Point> backQuad(const Camera& camera, double x0, double y0, double x1, double y1,
                            double z);
std::vector<Point> sideQuad(const Camera& camera, double x, double z0, double y0, double z1,
                            double y1);
std::vector<Point> floorQuad(const Camera& camera, double x0, double z0, double x1, double z1,
                             double y = 0);

}  // namespace corvan::art
