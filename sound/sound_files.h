#pragma once

// Music and voice: the file names the game's music and voice clips are found under, and the
// timing of the check that restarts music that has played out. The operations themselves are
// the game's (`Game::PlayMusic`, `Game::PlayVoice`, `Game::MusicLoopCheck`,
// `Game::SoundSetup`, in game/music_voice.cpp); they play through the host's audio methods.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvan::sound {

// Ticks of the 60 ms timer that the loop check counts down before it looks at the music; with
// the tick that reloads the count, it looks once every 51 ticks, about every 3 seconds.
inline constexpr std::int32_t kLoopCheckTicks = 50;

// Longest voice name in bytes; a longer one is cut to this length.
inline constexpr std::size_t kMaxVoiceName = 15;

// The music file of a track, relative to the game folder: "MIDI/07.MID", "MIDI/123.MID".
std::string musicFileName(std::int32_t track);

// The voice name in `text`: everything before the first NUL or "]" byte, at most
// kMaxVoiceName bytes.
std::string_view voiceName(std::string_view text);

// The two places a voice clip is looked for, in order, relative to the game folder: the
// subfolder of "wave" named by the name's first byte, then "wave" itself ("wave/9/90022.wav",
// "wave/90022.wav"). An empty name gives "wave/" and "wave/.wav", which are never clips.
std::array<std::string, 2> voiceFileNames(std::string_view name);

}  // namespace corvan::sound
