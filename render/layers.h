#pragma once

// The off-screen bitmaps the game composes its pictures from, and the geometry they share. The
// layers are made once at start-up and live as long as the game; what the player sees is the
// screen surface, to which finished images are copied.

#include <cstdint>

#include "render/bitmap.h"
#include "render/raster.h"

namespace corvan {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kFrameWidth = 576;
constexpr int kFrameHeight = 96;
// Where the text frame lies on the screen in the fixed frame mode.
constexpr int kFrameLeft = 32;
constexpr int kFrameTop = 376;
// The wait marker's corner square.
constexpr Rect kMarkerCorner{608, 448, 640, 480};

// The overlay as a masked image: every pixel of the key colour (the colour of the overlay's
// top-left pixel when it was loaded) lets the background through.
struct OverlayImage {
    Bitmap image;
    std::uint32_t key = 0;
    bool present = false;
};

struct Layers {
    Bitmap background{kScreenWidth, kScreenHeight};
    Bitmap overlay{kScreenWidth, kScreenHeight};
    OverlayImage overlayImage;  // ImageList1
    Bitmap composite{kScreenWidth, kScreenHeight};
    Bitmap textFrame{kFrameWidth, kFrameHeight};
    Bitmap frameBackdrop;  // TEXT_BG, its inside rebuilt from the picture in the fixed mode
    Bitmap diza;           // 17 dither tiles of 8x8
    Bitmap heart;
    Bitmap workCell{32, 32};
    Bitmap menuWork{276, 36};
    Bitmap selectBackground;
};

}  // namespace corvan
