#pragma once

// The players of a program without sound: every call is accepted and nothing plays, so the game
// goes on as it would with a sound device that stays silent.

#include "sound/audio_out.h"

namespace corvan {

class SilentAudio : public AudioOut {
public:
    bool openMusic(const std::filesystem::path&, std::string&) override { return true; }
    void rewindMusic() override {}
    bool playMusic(std::string&) override { return true; }
    void stopMusic() override {}
    bool musicStopped() override { return true; }
    bool playVoice(const std::filesystem::path&, std::string&) override { return true; }
};

}  // namespace corvan
