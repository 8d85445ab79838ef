#pragma once

// Standard MIDI files, read only as far as the game needs without playing them: whether a file
// is one, and how long it plays. The synthesiser keeps a track "playing" while its last notes
// fade, so the length is the only sure sign that a track has played out.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace corvan::sound {

// How long the file plays, in seconds, from its first event to the last event of its longest
// track, following every tempo change. A MIDI file wrapped in a RIFF "RMID" file is read too.
// nullopt, with the reason in `error` (Japanese, for the player), when the bytes are no
// standard MIDI file or are cut short.
std::optional<double> midiLengthSeconds(std::span<const std::uint8_t> file, std::string& error);

}  // namespace corvan::sound
