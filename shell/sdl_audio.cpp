#include "shell/sdl_audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <limits>
#include <system_error>
#include <vector>

#include "sound/midi_file.h"
#include "sound/peak_limiter.h"

namespace corvan::shell {

namespace {

constexpr int kFrequency = 44100;
constexpr int kOutputChannels = 2;
constexpr int kBufferFrames = 1024;
// The voice has a mixer channel to itself, so a new voice cuts off only the one before.
constexpr int kVoiceChannel = 0;
// The synthesiser's loudest level, on the mixer's scale of 0 to 128. The mixer's own default
// drives the synthesiser so hard that loud General MIDI songs clip one sample in two hundred;
// at this level they mostly stay clear of full scale, and the peak limiter on the mixed sound
// takes care of the densest passages.
constexpr int kLoudestMusic = 53;
constexpr int kDefaultVolumePercent = 80;

int mixerVolume(int percent) {
    return kLoudestMusic * std::clamp(percent, 0, 100) / 100;
}

std::int64_t musicLengthFrames(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    return midiLengthFrames(bytes);
}

bool isFile(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

std::string sdlError() {
    const char* text = Mix_GetError();
    return text != nullptr && *text != '\0' ? text : "unknown error";
}

}  // namespace

std::int64_t midiLengthFrames(std::span<const std::uint8_t> file) {
    std::string error;
    const auto seconds = sound::midiLengthSeconds(file, error);
    if (!seconds) return 0;
    // A slow tempo over a few hundred kilobytes of long pauses lasts longer than any count of
    // frames holds; such a song simply never plays out by its length.
    constexpr auto kLongest = std::numeric_limits<std::int64_t>::max();
    const double frames = *seconds * kFrequency;
    return frames < static_cast<double>(kLongest) ? static_cast<std::int64_t>(frames) : kLongest;
}

std::optional<std::filesystem::path> chooseSoundfont(const char* environment,
                                                     std::string& warning) {
    if (environment != nullptr && *environment != '\0') {
        if (isFile(environment)) return std::filesystem::path(environment);
        warning = std::string("CORVAN_SOUNDFONT names no file (") + environment +
                  "); the default soundfont plays the music";
    }
    static const std::array<std::filesystem::path, 2> kDefaults = {
        "/usr/share/sounds/sf2/TimGM6mb.sf2",
        "/usr/share/sounds/sf2/default-GM.sf2",
    };
    for (const auto& file : kDefaults) {
        if (isFile(file)) return file;
    }
    return std::nullopt;
}

struct SdlAudio::Players {
    enum class Device { NotOpened, Open, Missing };
    Device device = Device::NotOpened;
    bool midi = false;  // a MIDI decoder and a soundfont are there
    Mix_Music* music = nullptr;
    bool musicPaused = false;  // stopped where it was, not at its end
    Mix_Chunk* voice = nullptr;
    int bytesPerFrame = 4;
    int volumePercent = kDefaultVolumePercent;
    // Sample frames mixed since the device opened, counted on the audio thread: the clock the
    // music's length is measured on, whatever the machine's load.
    std::atomic<std::int64_t> framesMixed{0};
    std::int64_t musicLength = 0;   // frames the open music plays for; 0 when unknown
    std::int64_t musicStarted = 0;  // the frame the music started on, moved on by pauses
    std::int64_t musicPausedAt = 0;

    // The mixer mixes in floating point, so that music and voice may add up past full scale
    // without being cut off; the limiter then brings them back below it.
    bool floatSamples = false;
    sound::PeakLimiter limiter{kFrequency};
    int channels = kOutputChannels;

    // Called on the audio thread with every buffer the mixer made, before it goes to the device.
    static void SDLCALL postMix(void* self, Uint8* stream, int bytes) {
        auto& p = *static_cast<Players*>(self);
        if (p.floatSamples) {
            p.limiter.process(std::span(reinterpret_cast<float*>(stream),
                                        static_cast<std::size_t>(bytes) / sizeof(float)),
                              p.channels);
        }
        p.framesMixed += bytes / p.bytesPerFrame;
    }
};

SdlAudio::SdlAudio(std::string program)
    : program_(std::move(program)), players_(std::make_unique<Players>()) {}

SdlAudio::~SdlAudio() {
    Players& p = *players_;
    if (p.device != Players::Device::Open) return;
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    if (p.music != nullptr) Mix_FreeMusic(p.music);
    if (p.voice != nullptr) Mix_FreeChunk(p.voice);
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudio::deviceOpen() const {
    return players_->device == Players::Device::Open;
}

bool SdlAudio::ready() {
    Players& p = *players_;
    if (p.device != Players::Device::NotOpened) return p.device == Players::Device::Open;
    p.device = Players::Device::Missing;

    // SDL would otherwise take Ctrl+C for itself and the program would no longer end on it.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    std::string warning;
    const auto soundfont = chooseSoundfont(std::getenv("CORVAN_SOUNDFONT"), warning);
    if (!warning.empty()) std::cerr << program_ << ": " << warning << '\n';
    if (soundfont) {
        // The file is known to exist: SDL_mixer silently takes another one for a wrong name.
        setenv("SDL_SOUNDFONTS", soundfont->c_str(), 1);
        Mix_SetSoundFonts(soundfont->c_str());
    }

    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::cerr << program_ << ": no sound device (" << SDL_GetError()
                  << "); the game plays without music and voices\n";
        return false;
    }
    Mix_Init(MIX_INIT_MID);
    if (Mix_OpenAudio(kFrequency, AUDIO_F32SYS, kOutputChannels, kBufferFrames) != 0) {
        std::cerr << program_ << ": no sound device (" << sdlError()
                  << "); the game plays without music and voices\n";
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    p.device = Players::Device::Open;
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    if (Mix_QuerySpec(&frequency, &format, &channels) != 0) {
        p.bytesPerFrame = std::max(1, channels * static_cast<int>(SDL_AUDIO_BITSIZE(format) / 8));
        p.floatSamples = format == AUDIO_F32SYS;
        p.channels = channels;
    }
    Mix_SetPostMix(Players::postMix, &p);
    Mix_VolumeMusic(mixerVolume(p.volumePercent));
    // Which decoders there are is only known once the device is open.
    if (Mix_HasMusicDecoder("MIDI") != SDL_TRUE) {
        std::cerr << program_
                  << ": this SDL_mixer cannot play MIDI files; the game plays without music\n";
    } else if (!soundfont) {
        std::cerr << program_
                  << ": no General MIDI soundfont (install timgm6mb-soundfont or set "
                     "CORVAN_SOUNDFONT); the game plays without music\n";
    } else {
        p.midi = true;
    }
    return true;
}

bool SdlAudio::openMusic(const std::filesystem::path& file, std::string& error) {
    if (!ready()) return true;
    Players& p = *players_;
    if (p.music != nullptr) {
        Mix_HaltMusic();
        Mix_FreeMusic(p.music);
        p.music = nullptr;
    }
    p.musicPaused = false;
    if (!p.midi) return true;
    p.music = Mix_LoadMUS(file.c_str());
    if (p.music == nullptr) {
        error = sdlError();
        return false;
    }
    p.musicLength = musicLengthFrames(file);
    return true;
}

void SdlAudio::rewindMusic() {
    Players& p = *players_;
    if (p.music == nullptr) return;
    // The next play starts the file from its beginning.
    Mix_HaltMusic();
    p.musicPaused = false;
}

bool SdlAudio::playMusic(std::string& error) {
    Players& p = *players_;
    if (p.music == nullptr) return true;
    if (p.musicPaused) {
        Mix_ResumeMusic();
        p.musicPaused = false;
        p.musicStarted += p.framesMixed - p.musicPausedAt;
        return true;
    }
    if (Mix_PlayMusic(p.music, 0) != 0) {
        error = sdlError();
        return false;
    }
    p.musicStarted = p.framesMixed;
    return true;
}

void SdlAudio::stopMusic() {
    Players& p = *players_;
    if (p.music == nullptr || p.musicPaused) return;
    Mix_PauseMusic();
    p.musicPaused = true;
    p.musicPausedAt = p.framesMixed;
}

bool SdlAudio::musicStopped() {
    const Players& p = *players_;
    if (p.music == nullptr || p.musicPaused) return true;
    if (Mix_PlayingMusic() == 0) return true;
    // The synthesiser's release tail keeps the music "playing" for about 3 seconds after the
    // last note; the song's own length says when it has played out.
    return p.musicLength > 0 && p.framesMixed - p.musicStarted >= p.musicLength;
}

void SdlAudio::setMusicVolume(int percent) {
    Players& p = *players_;
    p.volumePercent = std::clamp(percent, 0, 100);
    if (p.device == Players::Device::Open) Mix_VolumeMusic(mixerVolume(p.volumePercent));
}

std::int64_t SdlAudio::framesMixed() const {
    return players_->framesMixed;
}

bool SdlAudio::playVoice(const std::filesystem::path& file, std::string& error) {
    if (!ready()) return true;
    Players& p = *players_;
    Mix_HaltChannel(kVoiceChannel);
    if (p.voice != nullptr) {
        Mix_FreeChunk(p.voice);
        p.voice = nullptr;
    }
    p.voice = Mix_LoadWAV(file.c_str());
    if (p.voice == nullptr) {
        error = sdlError();
        return false;
    }
    if (Mix_PlayChannel(kVoiceChannel, p.voice, 0) < 0) {
        error = sdlError();
        return false;
    }
    return true;
}

bool SdlAudio::voicePlaying() {
    // Asking never opens the device: no device, no voice.
    return players_->device == Players::Device::Open && Mix_Playing(kVoiceChannel) != 0;
}

}  // namespace corvan::shell
