#pragma once

// Every picture the demo game shows, one drawing function each, grouped by the file that paints
// it. make_demo_pictures.cpp lists them under their picture names.

#include "tools/demo_art/kit/canvas.h"

namespace corvan::art {

// The see-through colour of the overlays (B pictures): the game reads it from the top-left pixel.
constexpr std::uint32_t kSeeThrough = 0xFF00FF;

// hotel_outside.cpp
Canvas drawNight();
Canvas drawSnowyMorning();
// lobby.cpp
Canvas drawLobby();
// corridor.cpp
Canvas drawCorridor();
// clerk.cpp
Canvas drawClerk();

}  // namespace corvan::art
