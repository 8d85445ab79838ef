// Fuzz target: any bytes as a music file, MIDI/NN.MID from the game's disc. Its length decides
// when the music loops, so whatever reads must give a length that is a number of seconds.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "sound/midi_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    const auto seconds = corvan::sound::midiLengthSeconds(std::span(data, size), error);
    if (!seconds) {
        if (error.empty()) abort();
        return 0;
    }
    if (!std::isfinite(*seconds) || *seconds < 0) abort();
    return 0;
}
