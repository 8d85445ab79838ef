#include "headless/recording_audio.h"

#include "sound/wave_length.h"

namespace corvan {

bool RecordingAudio::openMusic(const std::filesystem::path& file, std::string& error) {
    calls_.push_back("open-music " + file.string());
    if (!musicOpenError_.empty()) {
        musicState_ = MusicState::NoFile;
        error = musicOpenError_;
        return false;
    }
    musicState_ = MusicState::AtStart;
    return true;
}

void RecordingAudio::rewindMusic() {
    calls_.emplace_back("rewind-music");
    if (musicState_ != MusicState::NoFile) musicState_ = MusicState::AtStart;
}

bool RecordingAudio::playMusic(std::string& error) {
    calls_.emplace_back("play-music");
    if (musicState_ == MusicState::NoFile) {
        error = "no music is open";
        return false;
    }
    musicState_ = MusicState::Playing;
    return true;
}

void RecordingAudio::stopMusic() {
    calls_.emplace_back("stop-music");
    if (musicState_ == MusicState::Playing) musicState_ = MusicState::Stopped;
}

bool RecordingAudio::musicStopped() {
    calls_.emplace_back("music-stopped?");
    return musicState_ != MusicState::Playing;
}

void RecordingAudio::endMusic() {
    if (musicState_ == MusicState::Playing) musicState_ = MusicState::Stopped;
}

bool RecordingAudio::playVoice(const std::filesystem::path& file, std::string& error) {
    calls_.push_back("play-voice " + file.string());
    if (!voiceError_.empty()) {
        error = voiceError_;
        return false;
    }
    if (now_) voiceEnds_ = now_() + waveMilliseconds(file).value_or(0);
    return true;
}

bool RecordingAudio::voicePlaying() {
    return now_ && now_() < voiceEnds_;
}

}  // namespace corvan
