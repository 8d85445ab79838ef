#pragma once

// The hotel mode's pictures and the screens of the `view` command: the galleries and the scene
// replay menu.

#include <cstdint>

#include "render/bitmap.h"

namespace corvan {

// Whether a view screen is up; the story does not run while one is.
enum class ViewFlag : std::int32_t {
    Story = 0,
    ViewShown = 2,
};

struct HotelViewState {
    // The hotel mode's off-screen pictures, made anew by every showing of the hotel menu and
    // dropped when a chunk is started from the mode; empty (0x0) otherwise.
    struct HotelPictures {
        Bitmap mapCanvas;     // 640x480: the menu or the map, composed before it is shown
        Bitmap plate;         // PLATE
        Bitmap labelMask;     // 100x60: one label, for its shadow and its face
        Bitmap plateScratch;  // 100x60: one plate with its label
    };
    struct ViewState {
        std::int32_t page = 1;    // the gallery page shown, 1 to 5
        std::uint8_t opened = 0;  // 1 while one picture of a gallery is shown instead of its page
    };

    ViewFlag viewFlag = ViewFlag::Story;
    std::int32_t viewKind = 0;  // the number given to `view`
    HotelPictures hotelPictures;
    ViewState viewState;
};

}  // namespace corvan
