#pragma once

// The canvas the demo's pictures are painted on: 640x480 pixels of premultiplied colour and
// coverage, painted with anti-aliased shapes, soft lights and fills, and finished into a game
// bitmap with a light ordered dither.

#include <cstdint>
#include <functional>
#include <vector>

#include "demo/make_pictures/kit/colour.h"
#include "render/bitmap.h"

namespace corvan::art {

// Inside test of a shape at a point given in drawing units.
using Shape = std::function<bool(double, double)>;
// Colour of a shape at a pixel centre, in drawing units.
using Paint = std::function<Rgb(double, double)>;

// A rectangle of pixels, right and bottom exclusive.
struct Box {
    int left = 0, top = 0, right = kWidth, bottom = kHeight;
};

class Canvas {
public:
    // An opaque black canvas, or a see-through one for an overlay.
    explicit Canvas(bool opaque = true);

    double alpha(int x, int y) const { return alpha_[index(x, y)]; }
    // The colour the pixel shows, undoing the premultiplication.
    Rgb colour(int x, int y) const;

    // Lays colour `c` over pixel (x, y) with opacity `a`.
    void blend(int x, int y, Rgb c, double a);
    // Adds light: brightens the colour without changing the coverage.
    void add(int x, int y, Rgb c);

    // Fills every pixel of `box` with `paint`.
    void fill(Box box, const Paint& paint);

    // Draws everything after this `scale` times larger around (x, y), then moved by (dx, dy):
    // fills, shapes and lights are still given in the coordinates of the unmoved drawing.
    void zoom(double x, double y, double scale, double dx = 0, double dy = 0);

    // Paints `inside` within `box`: the coverage of each pixel comes from samples x samples
    // points inside it, the colour from `paint` at its centre.
    void shape(Box box, const Shape& inside, const Paint& paint, double opacity = 1.0,
               int samples = 4);
    void shape(Box box, const Shape& inside, Rgb c, double opacity = 1.0);

    // A soft round light: adds `c` scaled by a falloff that is 1 at the centre and fades out
    // towards `radius`.
    void glow(double cx, double cy, double radius, Rgb c, double strength = 1.0);

    // Darkens towards the corners.
    void vignette(double strength);

    // The finished picture. A 4x4 ordered dither spreads the rounding, so gradients show no
    // bands. With `keyed`, pixels left less than half covered get `key` (0xBBGGRR), and
    // covered pixels never take the key colour.
    Bitmap toBitmap(std::uint32_t key = 0, bool keyed = false) const;

private:
    static std::size_t index(int x, int y) { return static_cast<std::size_t>(y) * kWidth + x; }
    double toCanvasX(double x) const { return zoomX_ + (x - zoomX_) * scale_ + shiftX_; }
    double toCanvasY(double y) const { return zoomY_ + (y - zoomY_) * scale_ + shiftY_; }
    double fromCanvasX(double x) const { return zoomX_ + (x - shiftX_ - zoomX_) / scale_; }
    double fromCanvasY(double y) const { return zoomY_ + (y - shiftY_ - zoomY_) / scale_; }
    Box toCanvas(Box box) const;
    static void clip(Box& box);

    std::vector<Rgb> colour_;
    std::vector<double> alpha_;
    double zoomX_ = 0, zoomY_ = 0, scale_ = 1.0, shiftX_ = 0, shiftY_ = 0;
};

}  // namespace corvan::art
