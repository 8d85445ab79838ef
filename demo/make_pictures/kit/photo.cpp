#include "demo/make_pictures/kit/photo.h"

#include <algorithm>
#include <cmath>

namespace corvan::art {

Rgb toned(Rgb colour, Tone tone) {
    if (tone == Tone::Colour) return colour;
    // Grey first, then the brown of old silver prints: dark browns, cream highlights, and the
    // contrast a little worn.
    const double grey = std::clamp(luminance(colour) / 255.0, 0.0, 1.0);
    const double worn = 0.12 + 0.8 * grey;
    return mix(Rgb{52, 34, 22}, Rgb{238, 222, 190}, worn);
}

namespace {

Rgb pixelOf(const Bitmap& b, double u, double v) {
    const int x = std::clamp(static_cast<int>(u * b.width()), 0, b.width() - 1);
    const int y = std::clamp(static_cast<int>(v * b.height()), 0, b.height() - 1);
    const std::uint8_t* p = b.row(y) + x * 3;
    return {static_cast<double>(p[2]), static_cast<double>(p[1]), static_cast<double>(p[0])};
}

}  // namespace

void layPicture(Canvas& c, const Bitmap& source, const Placement& p, Tone tone, double border) {
    const double cosA = std::cos(p.turn), sinA = std::sin(p.turn);
    const double halfW = p.width / 2 + border, halfH = p.height / 2 + border;
    const double reach = std::hypot(halfW, halfH) + 2;
    constexpr int kSamples = 4;
    for (int y = static_cast<int>(p.cy - reach); y <= static_cast<int>(p.cy + reach); ++y) {
        for (int x = static_cast<int>(p.cx - reach); x <= static_cast<int>(p.cx + reach); ++x) {
            Rgb sum;
            int hits = 0;
            for (int s = 0; s < kSamples * kSamples; ++s) {
                const double sx = x + (s % kSamples + 0.5) / kSamples - p.cx;
                const double sy = y + (s / kSamples + 0.5) / kSamples - p.cy;
                // Into the picture's own frame: undo the turn.
                const double u = sx * cosA + sy * sinA;
                const double v = -sx * sinA + sy * cosA;
                if (std::abs(u) > halfW || std::abs(v) > halfH) continue;
                ++hits;
                if (std::abs(u) > p.width / 2 || std::abs(v) > p.height / 2) {
                    sum = sum + (tone == Tone::Sepia ? Rgb{236, 228, 210} : Rgb{244, 242, 236});
                    continue;
                }
                sum = sum + toned(pixelOf(source, u / p.width + 0.5, v / p.height + 0.5), tone);
            }
            if (hits == 0) continue;
            c.blend(x, y, sum * (1.0 / hits), static_cast<double>(hits) / (kSamples * kSamples));
        }
    }
}

}  // namespace corvan::art
