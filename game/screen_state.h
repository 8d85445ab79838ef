#pragma once

// What the main window shows: the screen, the layers it is composed from and the text frame.

#include <cstdint>

#include "render/bitmap.h"
#include "render/font.h"
#include "render/layers.h"

namespace corvan {

struct ScreenState {
    Bitmap screen{kScreenWidth, kScreenHeight};  // what the main window shows (`Image1`)
    Layers layers;
    bool movableFrame = false;       // the text frame shows in the message window, not the picture
    bool mainWindowBordered = true;  // a small screen takes the border away
    FontSpec frameFont{"ＭＳＰゴシック", 16, true};
    std::uint32_t frameFontColour = 0xFFFFFF;
    bool frameOpen = false;
    bool overlayShown = false;
    bool overlayDeferred = false;
};

}  // namespace corvan
