#include "demo/make_pictures/kit/canvas.h"

#include <array>
#include <cmath>

#include "render/raster.h"

namespace corvan::art {

Canvas::Canvas(bool opaque)
    : colour_(kWidth * kHeight), alpha_(kWidth * kHeight, opaque ? 1.0 : 0.0) {}

Rgb Canvas::colour(int x, int y) const {
    const double a = alpha_[index(x, y)];
    return a > 0 ? colour_[index(x, y)] * (1.0 / a) : Rgb{};
}

void Canvas::blend(int x, int y, Rgb c, double a) {
    if (x < 0 || y < 0 || x >= kWidth || y >= kHeight || a <= 0) return;
    a = std::min(a, 1.0);
    const std::size_t i = index(x, y);
    colour_[i] = c * a + colour_[i] * (1.0 - a);
    alpha_[i] = a + alpha_[i] * (1.0 - a);
}

void Canvas::add(int x, int y, Rgb c) {
    if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) return;
    const std::size_t i = index(x, y);
    colour_[i] = colour_[i] + c * alpha_[i];
}

void Canvas::fill(Box box, const Paint& paint) {
    box = toCanvas(box);
    clip(box);
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            blend(x, y, paint(fromCanvasX(x + 0.5), fromCanvasY(y + 0.5)), 1.0);
        }
    }
}

void Canvas::zoom(double x, double y, double scale, double dx, double dy) {
    zoomX_ = x;
    zoomY_ = y;
    scale_ = scale;
    shiftX_ = dx;
    shiftY_ = dy;
}

void Canvas::shape(Box box, const Shape& inside, const Paint& paint, double opacity, int samples) {
    box = toCanvas(box);
    clip(box);
    const double step = 1.0 / samples;
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            int hits = 0;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    if (inside(fromCanvasX(x + (sx + 0.5) * step),
                               fromCanvasY(y + (sy + 0.5) * step))) {
                        ++hits;
                    }
                }
            }
            if (hits == 0) continue;
            const double coverage = static_cast<double>(hits) / (samples * samples);
            blend(x, y, paint(fromCanvasX(x + 0.5), fromCanvasY(y + 0.5)), coverage * opacity);
        }
    }
}

void Canvas::shape(Box box, const Shape& inside, Rgb c, double opacity) {
    shape(
        box, inside, [c](double, double) { return c; }, opacity);
}

void Canvas::glow(double cx, double cy, double radius, Rgb c, double strength) {
    cx = toCanvasX(cx);
    cy = toCanvasY(cy);
    radius *= scale_;
    Box box{static_cast<int>(cx - radius) - 1, static_cast<int>(cy - radius) - 1,
            static_cast<int>(cx + radius) + 2, static_cast<int>(cy + radius) + 2};
    clip(box);
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy) / radius;
            if (d >= 1.0) continue;
            const double fall = (1.0 - d) * (1.0 - d);
            add(x, y, c * (fall * strength));
        }
    }
}

void Canvas::vignette(double strength) {
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const double dx = (x - kWidth / 2.0) / (kWidth / 2.0);
            const double dy = (y - kHeight / 2.0) / (kHeight / 2.0);
            const double k = 1.0 - strength * smoothstep(0.45, 1.45, dx * dx + dy * dy);
            colour_[index(x, y)] = colour_[index(x, y)] * k;
        }
    }
}

Bitmap Canvas::toBitmap(std::uint32_t key, bool keyed) const {
    static constexpr std::array<int, 16> kBayer = {0, 8,  2, 10, 12, 4, 14, 6,
                                                   3, 11, 1, 9,  15, 7, 13, 5};
    Bitmap out(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        std::uint8_t* row = out.row(y);
        for (int x = 0; x < kWidth; ++x) {
            std::uint32_t value = key;
            if (!keyed || alpha(x, y) >= 0.5) {
                const Rgb c = colour(x, y);
                const double d = (kBayer[(y % 4) * 4 + x % 4] + 0.5) / 16.0 - 0.5;
                auto channel = [d](double v) {
                    return std::clamp(static_cast<int>(std::floor(v + 0.5 + d * 0.9)), 0, 255);
                };
                value = rgb(channel(c.r), channel(c.g), channel(c.b));
                if (keyed && value == key) value ^= 0x000100;  // one step of green off
            }
            row[x * 3] = static_cast<std::uint8_t>(value >> 16);
            row[x * 3 + 1] = static_cast<std::uint8_t>(value >> 8);
            row[x * 3 + 2] = static_cast<std::uint8_t>(value);
        }
    }
    return out;
}

Box Canvas::toCanvas(Box box) const {
    return {static_cast<int>(std::floor(toCanvasX(box.left))),
            static_cast<int>(std::floor(toCanvasY(box.top))),
            static_cast<int>(std::ceil(toCanvasX(box.right))),
            static_cast<int>(std::ceil(toCanvasY(box.bottom)))};
}

void Canvas::clip(Box& box) {
    box.left = std::max(box.left, 0);
    box.top = std::max(box.top, 0);
    box.right = std::min(box.right, kWidth);
    box.bottom = std::min(box.bottom, kHeight);
}

}  // namespace corvan::art
