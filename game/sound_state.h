#pragma once

// What the game remembers of its music between the commands and timer ticks that play it.

#include <cstdint>

namespace corvan {

struct SoundState {
    std::int32_t currentTrack = 0;
    std::int32_t loopCountdown = 0;  // timer ticks until the loop check looks at the music
};

}  // namespace corvan
