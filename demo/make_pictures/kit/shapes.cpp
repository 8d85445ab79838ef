#include "demo/make_pictures/kit/shapes.h"

#include <algorithm>
#include <cmath>

namespace corvan::art {

Shape rectShape(double left, double top, double right, double bottom) {
    return [=](double x, double y) { return x >= left && x < right && y >= top && y < bottom; };
}

Shape ellipseShape(double cx, double cy, double rx, double ry) {
    return [=](double x, double y) {
        const double dx = (x - cx) / rx, dy = (y - cy) / ry;
        return dx * dx + dy * dy <= 1.0;
    };
}

Shape polygonShape(std::vector<Point> points) {
    return [points = std::move(points)](double x, double y) {
        bool in = false;
        for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            const Point& a = points[i];
            const Point& b = points[j];
            if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) {
                in = !in;
            }
        }
        return in;
    };
}

Box boundsOf(const std::vector<Point>& points) {
    double l = 1e9, t = 1e9, r = -1e9, b = -1e9;
    for (const Point& p : points) {
        l = std::min(l, p.x);
        t = std::min(t, p.y);
        r = std::max(r, p.x);
        b = std::max(b, p.y);
    }
    return {static_cast<int>(std::floor(l)) - 1, static_cast<int>(std::floor(t)) - 1,
            static_cast<int>(std::ceil(r)) + 1, static_cast<int>(std::ceil(b)) + 1};
}

void polygon(Canvas& c, const std::vector<Point>& points, const Paint& paint, double op) {
    c.shape(boundsOf(points), polygonShape(points), paint, op);
}

void polygon(Canvas& c, const std::vector<Point>& points, Rgb colour, double op) {
    polygon(
        c, points, [colour](double, double) { return colour; }, op);
}

void rect(Canvas& c, double l, double t, double r, double b, const Paint& paint, double op) {
    c.shape({static_cast<int>(l) - 1, static_cast<int>(t) - 1, static_cast<int>(r) + 2,
             static_cast<int>(b) + 2},
            rectShape(l, t, r, b), paint, op);
}

void rect(Canvas& c, double l, double t, double r, double b, Rgb colour, double op) {
    rect(
        c, l, t, r, b, [colour](double, double) { return colour; }, op);
}

void ellipse(Canvas& c, double cx, double cy, double rx, double ry, const Paint& paint, double op) {
    c.shape({static_cast<int>(cx - rx) - 1, static_cast<int>(cy - ry) - 1,
             static_cast<int>(cx + rx) + 2, static_cast<int>(cy + ry) + 2},
            ellipseShape(cx, cy, rx, ry), paint, op);
}

void ellipse(Canvas& c, double cx, double cy, double rx, double ry, Rgb colour, double op) {
    ellipse(
        c, cx, cy, rx, ry, [colour](double, double) { return colour; }, op);
}

void line(Canvas& c, Point a, Point b, double w, Rgb colour, double op) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    const Shape inside = [=](double x, double y) {
        double t = len2 > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / len2 : 0.0;
        t = std::clamp(t, 0.0, 1.0);
        return std::hypot(x - (a.x + t * dx), y - (a.y + t * dy)) <= w / 2;
    };
    c.shape(
        {static_cast<int>(std::min(a.x, b.x) - w) - 1, static_cast<int>(std::min(a.y, b.y) - w) - 1,
         static_cast<int>(std::max(a.x, b.x) + w) + 2,
         static_cast<int>(std::max(a.y, b.y) + w) + 2},
        inside, [colour](double, double) { return colour; }, op);
}

void ring(Canvas& c, double cx, double cy, double inner, double outer, Rgb colour, double op) {
    c.shape(
        {static_cast<int>(cx - outer) - 1, static_cast<int>(cy - outer) - 1,
         static_cast<int>(cx + outer) + 2, static_cast<int>(cy + outer) + 2},
        [=](double x, double y) {
            const double d = std::hypot(x - cx, y - cy);
            return d >= inner && d <= outer;
        },
        colour, op);
}

}  // namespace corvan::art
