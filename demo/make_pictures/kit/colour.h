#pragma once

// Colours of the demo's painted pictures: red, green and blue as real numbers, 0 to 255 (lights
// may push them past 255 until the picture is finished), and the smooth blends between them.

#include <algorithm>

namespace corvan::art {

// Every picture the demo paints is the game's screen size.
constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr double kPi = 3.14159265358979323846;

struct Rgb {
    double r = 0, g = 0, b = 0;
};

inline Rgb operator+(Rgb a, Rgb b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
inline Rgb operator*(Rgb a, double k) {
    return {a.r * k, a.g * k, a.b * k};
}

// From a (t = 0) to b (t = 1); t is held to that range.
inline Rgb mix(Rgb a, Rgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// 0 below edge0, 1 above edge1, and an S-shaped rise in between.
inline double smoothstep(double edge0, double edge1, double x) {
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

// The grey of the same brightness, for old photographs.
inline double luminance(Rgb c) {
    return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
}

}  // namespace corvan::art
