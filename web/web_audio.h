#pragma once

// The browser's music and voice players: the MIDI file goes to the page's General MIDI
// synthesiser (FluidSynth compiled to WebAssembly, with Debian's TimGM6mb soundfont, the
// desktop's synthesiser and soundfont), the wave file to Web Audio. The files are read through
// the game's file store, as the desktop's players read them from the disk.
//
// Like the desktop's, the music has played out when its own length has passed on the sound's
// clock, so the game's loop check restarts it as the desktop does.

#include "engine/file_store.h"
#include "sound/audio_out.h"

namespace corvan::web {

class WebAudio : public AudioOut {
public:
    explicit WebAudio(FileStore& files) : files_(files) {}

    bool openMusic(const std::filesystem::path& file, std::string& error) override;
    void rewindMusic() override;
    bool playMusic(std::string& error) override;
    void stopMusic() override;
    bool musicStopped() override;
    bool playVoice(const std::filesystem::path& file, std::string& error) override;

private:
    // The whole of a file, or nullopt with `error` saying why it cannot be read.
    std::optional<std::vector<std::uint8_t>> readWhole(const std::filesystem::path& file,
                                                       std::string& error);

    FileStore& files_;
    bool musicOpen_ = false;
};

}  // namespace corvan::web
