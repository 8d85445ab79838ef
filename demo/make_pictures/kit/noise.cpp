#include "demo/make_pictures/kit/noise.h"

#include <cmath>

#include "demo/make_pictures/kit/colour.h"

namespace corvan::art {

namespace {

// The noise's value at a grid point: a hash of the point and the seed.
double lattice(int ix, int iy, std::uint32_t seed) {
    std::uint32_t h = static_cast<std::uint32_t>(ix) * 374761393u +
                      static_cast<std::uint32_t>(iy) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<double>(h & 0xFFFF) / 65535.0;
}

}  // namespace

double valueNoise(double x, double y, std::uint32_t seed) {
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const double tx = smoothstep(0, 1, x - fx), ty = smoothstep(0, 1, y - fy);
    const double top =
        lattice(ix, iy, seed) + (lattice(ix + 1, iy, seed) - lattice(ix, iy, seed)) * tx;
    const double bottom = lattice(ix, iy + 1, seed) +
                          (lattice(ix + 1, iy + 1, seed) - lattice(ix, iy + 1, seed)) * tx;
    return top + (bottom - top) * ty;
}

double cloudNoise(double x, double y, std::uint32_t seed) {
    return (valueNoise(x, y, seed) * 0.57 + valueNoise(x * 2.1, y * 2.1, seed + 1) * 0.29 +
            valueNoise(x * 4.3, y * 4.3, seed + 2) * 0.14);
}

}  // namespace corvan::art
