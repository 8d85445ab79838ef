#pragma once

// What a transition effect works with: the screen it draws on, the composite it moves towards,
// the dither tiles, the speed factor, the program's random source and the host that shows each
// frame.

#include "engine/host.h"
#include "engine/random.h"
#include "render/bitmap.h"
#include "render/raster.h"

namespace corvan {

struct TransitionContext {
    Bitmap& screen;
    const Bitmap& composite;
    const Bitmap& diza;
    int factor;  // 1 normal, 2 a little faster
    Random& random;
    Host& host;
    int frames = 0;

    // Rectangle `r` of the composite to the same place on the screen.
    void copy(Rect r);
    // Shows the frame and lets pending events run.
    void endFrame();
    // Shows the screen at once without letting events run (the cut, and an effect's last
    // picture); not counted as a frame of its own.
    void repaint();
    // Makes `into` an 8x8 copy of dither tile `tile` (0-16); black where the tiles run out.
    void ditherTile(Bitmap& into, int tile);
};

// Runs effect 0-14 and returns the frames it showed; any other number shows nothing.
int runTransitionEffect(int effect, TransitionContext& context);

}  // namespace corvan
