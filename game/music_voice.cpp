// Music and voice: the game's two sound operations, the timer's loop check and the start-up
// step. The players are the host's; this file decides what they are asked to do and when.

#include <cstdio>
#include <filesystem>
#include <vector>

#include "engine/cp932.h"
#include "engine/file_store.h"
#include "engine/trace_events.h"
#include "game/game.h"
#include "sound/midi_file.h"
#include "sound/sound_files.h"

namespace corvan {

namespace {

constexpr std::string_view kErrorCaption = "コルヴァン";
// No standard MIDI file comes near this; a bigger file is not read into memory to be checked.
constexpr std::uintmax_t kMaxMusicFileSize = 16 * 1024 * 1024;

// Why the music file cannot be played, for the player; empty when it is a standard MIDI file.
// Every player, the headless one too, tells the player the same.
std::string musicFileProblem(FileStore& files, const std::filesystem::path& file) {
    const FileStatus status = files.status(file);
    if (!status.exists) return "ファイルが見つかりません。";
    if (!status.sizeKnown || !files.opensForReading(file)) return "ファイルを読み込めません。";
    if (status.size > kMaxMusicFileSize) return "ファイルが大きすぎます。";
    const auto size = static_cast<std::size_t>(status.size);
    std::vector<std::uint8_t> bytes;
    if (!files.read(file, 0, size, bytes) || bytes.size() != size) {
        return "ファイルを読み込めません。";
    }
    std::string error;
    if (!sound::midiLengthSeconds(bytes, error)) return error;
    return {};
}

}  // namespace

// The player is told in a message box, naming the file, with the reason on a second line; the
// same goes to standard error. The game goes on without the sound instead of closing as it once
// did when a script had asked for it.
void Game::reportSoundError(std::string_view what, std::string_view reason) {
    const std::string text = std::string(what) + "\n" + std::string(reason);
    host_.warn(text);
    host_.showMessage(kErrorCaption, text, MessageIcon::Stop, MessageButtons::Ok);
}

void Game::PlayMusic(std::int32_t track) {
    if (!options_.withSound) return;
    // Asking again for the current track does not restart it.
    if (track == currentTrack) return;
    // With the BGM setting off nothing changes, not even the current track.
    if (!settings.musicOn) return;
    if (track == 0) {
        host_.traceEvent("music-stop");
        host_.audio().stopMusic();
        currentTrack = 0;
        return;
    }
    const std::string name = sound::musicFileName(track);
    FileStore& files = host_.files();
    const std::filesystem::path file =
        files.find(gameDirectory, name).value_or(gameDirectory / name);
    // The player drops the music it had whether or not the new file opens.
    std::string error;
    const bool opened = host_.audio().openMusic(file, error);
    const std::string problem = musicFileProblem(files, file);
    const std::string cannotOpen = "音楽ファイル " + name + " を開けません。";
    if (!problem.empty() || !opened) {
        reportSoundError(cannotOpen, problem.empty() ? error : problem);
        return;
    }
    host_.audio().rewindMusic();
    if (!host_.audio().playMusic(error)) {
        reportSoundError(cannotOpen, error);
        return;
    }
    // Only a track that plays becomes current, so the same request after a failure tries again.
    currentTrack = track;
    host_.traceEvent("music " + std::to_string(track));
}

void Game::PlayVoice(std::string_view text) {
    if (!options_.withSound || !settings.voiceOn) return;
    const std::string_view name = sound::voiceName(text);
    for (const std::string& candidate : sound::voiceFileNames(name)) {
        const auto file = findScriptFile(host_.files(), gameDirectory, candidate);
        if (!file || !host_.files().opensForReading(*file)) continue;
        std::string error;
        if (host_.audio().playVoice(*file, error)) {
            host_.traceEvent("voice " + cp932ToUtf8(name));
        } else {
            reportSoundError("音声ファイル " + cp932ToUtf8(candidate) + " を再生できません。",
                             error);
        }
        return;
    }
    // Voice clips are optional: one found nowhere is skipped without a word to the player.
    host_.traceEvent(std::string(trace::kVoiceMissing) + " " + cp932ToUtf8(name));
}

void Game::MusicLoopCheck() {
    if (!options_.withSound) return;
    // The count is held while the BGM setting is off, and reloaded the tick after it ran out.
    if (loopCountdown == 0 || !settings.musicOn) {
        loopCountdown = sound::kLoopCheckTicks;
        return;
    }
    if (--loopCountdown > 0) return;
    const bool stopped = host_.audio().musicStopped();
    if (currentTrack == 0 || !stopped) return;
    host_.audio().rewindMusic();
    std::string error;
    // Every three seconds a message box would make the game unplayable: this one is only told.
    if (!host_.audio().playMusic(error)) host_.warn("cannot play the music again: " + error);
}

void Game::SoundSetup() {
    // Both players start idle; the first music or voice opens a file.
    currentTrack = 0;
    loopCountdown = 0;
}

}  // namespace corvan
