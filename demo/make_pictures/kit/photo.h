#pragma once

// Pictures within pictures: a finished picture laid into a canvas, smaller and perhaps turned, in
// its own colours or toned as an old photograph. The galleries' thumbnails and the story's
// photographs and album are made with it.

#include "demo/make_pictures/kit/canvas.h"

namespace corvan::art {

// Where a picture lands: its centre, its size in pixels, and how far it is turned (radians,
// clockwise).
struct Placement {
    double cx = 0, cy = 0, width = 0, height = 0, turn = 0;
};

enum class Tone {
    Colour,  // as painted
    Sepia,   // the brown of a photograph some thirty years old
};

// Lays `source` into `c` at `placement`, sampled four by four a pixel, with a white border of
// `border` pixels round it (none for 0).
void layPicture(Canvas& c, const Bitmap& source, const Placement& placement, Tone tone,
                double border = 0);

// The colour of `source` toned as `tone`.
Rgb toned(Rgb colour, Tone tone);

}  // namespace corvan::art
