#pragma once

// The headless host's players: they play nothing and remember every call, one line each:
// "open-music PATH", "rewind-music", "play-music", "stop-music", "music-stopped?",
// "play-voice PATH". Music that plays goes on until it is stopped or `endMusic` says it has
// played to its end.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "sound/audio_out.h"

namespace corvan {

class RecordingAudio : public AudioOut {
public:
    const std::vector<std::string>& calls() const { return calls_; }
    void endMusic();
    // While set (not empty), every music open, or every voice, fails with this error text.
    void setMusicOpenError(std::string error) { musicOpenError_ = std::move(error); }
    void setVoiceError(std::string error) { voiceError_ = std::move(error); }

    bool openMusic(const std::filesystem::path& file, std::string& error) override;
    void rewindMusic() override;
    bool playMusic(std::string& error) override;
    void stopMusic() override;
    bool musicStopped() override;
    bool playVoice(const std::filesystem::path& file, std::string& error) override;
    // A voice sounds for as long as its wave file says, on the clock given (milliseconds of the
    // player's virtual time); without a clock a voice ends at once. Not recorded as a call.
    bool voicePlaying() override;
    void setClock(std::function<std::int64_t()> now) { now_ = std::move(now); }

private:
    enum class MusicState { NoFile, AtStart, Playing, Stopped };
    MusicState musicState_ = MusicState::NoFile;
    std::vector<std::string> calls_;
    std::string musicOpenError_;
    std::string voiceError_;
    std::function<std::int64_t()> now_;
    std::int64_t voiceEnds_ = 0;
};

}  // namespace corvan
