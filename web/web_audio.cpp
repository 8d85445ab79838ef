#include "web/web_audio.h"

#include "sound/midi_file.h"
#include "web/page.h"

namespace corvan::web {

namespace {
// No file the game plays comes near this; a bigger one is not read into memory.
constexpr std::uint64_t kMaxSoundFileSize = 64 * 1024 * 1024;
}  // namespace

std::optional<std::vector<std::uint8_t>> WebAudio::readWhole(const std::filesystem::path& file,
                                                             std::string& error) {
    const FileStatus status = files_.status(file);
    std::vector<std::uint8_t> bytes;
    if (!status.regularFile || status.size > kMaxSoundFileSize ||
        !files_.read(file, 0, static_cast<std::size_t>(status.size), bytes)) {
        error = "cannot read " + file.string();
        return std::nullopt;
    }
    return bytes;
}

bool WebAudio::openMusic(const std::filesystem::path& file, std::string& error) {
    page::stopMusic();
    musicOpen_ = false;
    const auto bytes = readWhole(file, error);
    if (!bytes) return false;
    std::string problem;
    const auto seconds = sound::midiLengthSeconds(*bytes, problem);
    if (!seconds) {
        error = problem;
        return false;
    }
    page::openMusic(*bytes, *seconds);
    musicOpen_ = true;
    return true;
}

void WebAudio::rewindMusic() {
    if (musicOpen_) page::rewindMusic();
}

bool WebAudio::playMusic(std::string&) {
    if (musicOpen_) page::playMusic();
    return true;
}

void WebAudio::stopMusic() {
    if (musicOpen_) page::stopMusic();
}

bool WebAudio::musicStopped() {
    return !musicOpen_ || page::musicStopped();
}

bool WebAudio::playVoice(const std::filesystem::path& file, std::string& error) {
    const auto bytes = readWhole(file, error);
    return bytes && page::playVoice(*bytes, error);
}

}  // namespace corvan::web
