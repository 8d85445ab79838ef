// Music and voice: the game's two sound operations, the timer's loop check and the start-up
// step. The players are the host's; this file decides what they are asked to do and when.

#include "sound/music_voice.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "engine/cp932.h"
#include "engine/file_lookup.h"
#include "engine/game.h"

namespace corvan {

namespace sound {

std::string musicFileName(std::int32_t track) {
    char name[32];
    std::snprintf(name, sizeof name, "MIDI/%02d.MID", static_cast<int>(track));
    return name;
}

std::string_view voiceName(std::string_view text) {
    std::size_t length = 0;
    while (length < text.size() && length < kMaxVoiceName && text[length] != '\0' &&
           text[length] != ']') {
        ++length;
    }
    return text.substr(0, length);
}

std::array<std::string, 2> voiceFileNames(std::string_view name) {
    std::string inFolder = "wave/";
    if (!name.empty()) {
        inFolder += name.front();
        inFolder += '/';
        inFolder += name;
        inFolder += ".wav";
    }
    return {inFolder, "wave/" + std::string(name) + ".wav"};
}

}  // namespace sound

namespace {

constexpr std::string_view kErrorCaption = "コルヴァン";

// A file that can be opened for reading; a folder of the name is not a clip.
bool opensForReading(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return false;
    return std::ifstream(file, std::ios::binary).is_open();
}

// The player's error in the message box the game always showed for it. The game goes on
// without the sound instead of closing as it once did when a script had asked for it.
void reportPlayerError(Host& host, const std::filesystem::path& file, const std::string& error) {
    const std::string text = error.empty() ? "cannot play " + file.string() : error;
    host.showMessage(kErrorCaption, text, MessageIcon::Stop, MessageButtons::Ok);
}

}  // namespace

void Game::PlayMusic(std::int32_t track) {
    if (!options_.withSound) return;
    // Asking again for the current track does not restart it.
    if (track == currentTrack) return;
    // With the BGM setting off nothing changes, not even the current track.
    if (!settings.musicOn) return;
    if (track == 0) {
        host_.traceEvent("music-stop");
        host_.stopMusic();
        currentTrack = 0;
        return;
    }
    host_.traceEvent("music " + std::to_string(track));
    // The file is not looked for first: a missing one fails to open like any other error.
    const std::string name = sound::musicFileName(track);
    const std::filesystem::path file =
        findIgnoringCase(gameDirectory, name).value_or(gameDirectory / name);
    std::string error;
    if (!host_.openMusic(file, error)) {
        reportPlayerError(host_, file, error);
        return;
    }
    host_.rewindMusic();
    if (!host_.playMusic(error)) {
        reportPlayerError(host_, file, error);
        return;
    }
    // Only a track that plays becomes current, so the same request after a failure tries again.
    currentTrack = track;
}

void Game::PlayVoice(std::string_view text) {
    if (!options_.withSound || !settings.voiceOn) return;
    const std::string_view name = sound::voiceName(text);
    host_.traceEvent("voice " + cp932ToUtf8(name));
    for (const std::string& candidate : sound::voiceFileNames(name)) {
        const auto file = findIgnoringCase(gameDirectory, candidate);
        if (!file || !opensForReading(*file)) continue;
        std::string error;
        if (!host_.playVoice(*file, error)) reportPlayerError(host_, *file, error);
        return;
    }
    // Voice clips are optional: one found nowhere is skipped without a word.
}

void Game::MusicLoopCheck() {
    if (!options_.withSound) return;
    // The count is held while the BGM setting is off, and reloaded the tick after it ran out.
    if (loopCountdown == 0 || !settings.musicOn) {
        loopCountdown = sound::kLoopCheckTicks;
        return;
    }
    if (--loopCountdown > 0) return;
    const bool stopped = host_.musicStopped();
    if (currentTrack == 0 || !stopped) return;
    host_.rewindMusic();
    std::string error;
    // Every three seconds a message box would make the game unplayable: this one is only told.
    if (!host_.playMusic(error)) host_.warn("cannot play the music again: " + error);
}

void Game::SoundSetup() {
    // Both players start idle; the first music or voice opens a file.
    currentTrack = 0;
    loopCountdown = 0;
}

}  // namespace corvan
