#pragma once

// Shapes to paint on a canvas: rectangles, ellipses, polygons and round-ended lines, each in a
// solid colour or with a paint that colours it point by point.

#include <vector>

#include "demo/make_pictures/kit/canvas.h"

namespace corvan::art {

struct Point {
    double x = 0, y = 0;
};

Shape rectShape(double left, double top, double right, double bottom);
Shape ellipseShape(double cx, double cy, double rx, double ry);
// The even-odd rule.
Shape polygonShape(std::vector<Point> points);

// The pixels a polygon may touch, with a pixel of room.
Box boundsOf(const std::vector<Point>& points);

void polygon(Canvas& c, const std::vector<Point>& points, const Paint& paint, double op = 1.0);
void polygon(Canvas& c, const std::vector<Point>& points, Rgb colour, double op = 1.0);
void rect(Canvas& c, double l, double t, double r, double b, Rgb colour, double op = 1.0);
void rect(Canvas& c, double l, double t, double r, double b, const Paint& paint, double op = 1.0);
void ellipse(Canvas& c, double cx, double cy, double rx, double ry, const Paint& paint,
             double op = 1.0);
void ellipse(Canvas& c, double cx, double cy, double rx, double ry, Rgb colour, double op = 1.0);
// A line of width `w` from a to b with round ends.
void line(Canvas& c, Point a, Point b, double w, Rgb colour, double op = 1.0);
// A ring between the radii inner and outer.
void ring(Canvas& c, double cx, double cy, double inner, double outer, Rgb colour, double op = 1.0);

}  // namespace corvan::art
