#pragma once

// The music and voice players of corvan, on SDL2_mixer: MIDI files through its FluidSynth
// decoder with a General MIDI soundfont, wave files on a mixer channel of their own. Only the
// build with music and voices links this; the silent build carries no audio library.
//
// The sound device is opened by the first call that needs it, never before. When there is no
// device, or MIDI cannot be played, the program says so once on standard error and goes on:
// the players then accept every call and play nothing.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "sound/audio_out.h"

namespace corvan::shell {

// The soundfont MIDI is played with: the file that CORVAN_SOUNDFONT names, else Debian's
// TimGM6mb, else the system's default General MIDI soundfont; nullopt when none of them is a
// file. `environment` is the value of CORVAN_SOUNDFONT (nullptr when unset); a value that names
// no file puts a line for standard error in `warning`.
std::optional<std::filesystem::path> chooseSoundfont(const char* environment, std::string& warning);

// How many sample frames at 44.1 kHz a MIDI file plays for, as the loop check counts them: 0
// when that cannot be told, the largest count there is for a song longer than that.
std::int64_t midiLengthFrames(std::span<const std::uint8_t> file);

class SdlAudio : public AudioOut {
public:
    // `program` starts the lines this writes on standard error.
    explicit SdlAudio(std::string program = "corvan");
    ~SdlAudio() override;
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;

    bool openMusic(const std::filesystem::path& file, std::string& error) override;
    void rewindMusic() override;
    bool playMusic(std::string& error) override;
    void stopMusic() override;
    bool musicStopped() override;
    bool playVoice(const std::filesystem::path& file, std::string& error) override;
    bool voicePlaying() override;

    // The music's loudness, 0 (silent) to 100: a share of the loudest level that still keeps
    // loud General MIDI songs from clipping. Kept for a device opened later.
    void setMusicVolume(int percent);

    // Whether the sound device is open (false before the first call, and without a device).
    bool deviceOpen() const;
    // Sample frames (at 44.1 kHz) the device has been given since it opened: the sound's own
    // clock, which tests wait on instead of the wall clock.
    std::int64_t framesMixed() const;

private:
    struct Players;
    // Opens the device on first use; false when there is none.
    bool ready();

    std::string program_;
    std::unique_ptr<Players> players_;
};

}  // namespace corvan::shell
