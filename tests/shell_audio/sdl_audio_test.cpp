// The SDL players of corvan, heard through SDL's disk audio driver, which writes every sample
// the device would have played into a file: a MIDI track and a wave voice must leave sound
// there. And the programs themselves: corvan plays a game's music and voice the same way,
// corvan2 runs the same game without linking an audio library or opening a device.

#include "shell/sdl_audio.h"

#include <SDL.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "game/game.h"
#include "headless/headless_host.h"
#include "support/test_archive.h"

extern char** environ;

namespace corvan::test {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

void putU16(Bytes& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void putU32(Bytes& out, std::uint32_t value) {
    putU16(out, value & 0xFFFF);
    putU16(out, value >> 16);
}

void putBigU32(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
    }
}

Bytes smf(const Bytes& track) {
    Bytes out = {'M', 'T', 'h', 'd'};
    putBigU32(out, 6);
    out.insert(out.end(), {0x00, 0x00, 0x00, 0x01, 0x01, 0xE0});  // format 0, 1 track, 480/q
    out.insert(out.end(), {'M', 'T', 'r', 'k'});
    putBigU32(out, static_cast<std::uint32_t>(track.size()));
    out.insert(out.end(), track.begin(), track.end());
    return out;
}

// A standard MIDI file of three piano notes, a quarter second each at the default tempo.
Bytes midiFile() {
    const Bytes track = {
        0x00, 0xC0, 0x00,                                  // piano
        0x00, 0x90, 60,   100,  0x81, 0x70, 0x80, 60, 64,  // C, 240 ticks
        0x00, 0x90, 64,   100,  0x81, 0x70, 0x80, 64, 64,  // E
        0x00, 0x90, 67,   100,  0x81, 0x70, 0x80, 67, 64,  // G
        0x00, 0xFF, 0x2F, 0x00,                            // end of track
    };
    return smf(track);
}

// Four bars of a loud band as General MIDI songs have them: piano chords, strings, bass, a
// trumpet and drums, every note at velocity 100 and every channel at volume 80. Played at the
// sound library's own default loudness, it clips one sample in two hundred.
Bytes loudSongFile() {
    Bytes t;
    auto event = [&](std::uint8_t delta, std::initializer_list<std::uint8_t> bytes) {
        t.push_back(delta);
        t.insert(t.end(), bytes);
    };
    constexpr std::uint8_t kVelocity = 100;
    for (const auto& [channel, program] :
         {std::pair<std::uint8_t, std::uint8_t>{0, 0}, {1, 48}, {2, 33}, {3, 56}}) {
        event(0, {static_cast<std::uint8_t>(0xC0 | channel), program});
        event(0, {static_cast<std::uint8_t>(0xB0 | channel), 7, 80});
    }
    event(0, {0xB9, 7, 80});
    const std::uint8_t chords[4][3] = {{60, 64, 67}, {57, 60, 64}, {53, 57, 60}, {55, 59, 62}};
    for (const auto& chord : chords) {
        for (std::uint8_t n : chord) event(0, {0x91, static_cast<std::uint8_t>(n - 12), kVelocity});
        event(0, {0x92, static_cast<std::uint8_t>(chord[0] - 24), kVelocity});
        for (int beat = 0; beat < 4; ++beat) {
            const std::uint8_t drum = beat % 2 == 0 ? 36 : 38;
            const auto lead = static_cast<std::uint8_t>(chord[beat % 3] + 12);
            for (std::uint8_t n : chord) event(0, {0x90, n, kVelocity});
            event(0, {0x93, lead, kVelocity});
            event(0, {0x99, drum, kVelocity});
            event(0, {0x99, 42, kVelocity});
            t.insert(t.end(), {0x83, 0x60, 0x99, drum, 0});  // a quarter later
            event(0, {0x99, 42, 0});
            for (std::uint8_t n : chord) event(0, {0x80, n, 0});
            event(0, {0x83, lead, 0});
        }
        for (std::uint8_t n : chord) event(0, {0x81, static_cast<std::uint8_t>(n - 12), 0});
        event(0, {0x82, static_cast<std::uint8_t>(chord[0] - 24), 0});
    }
    event(0, {0xFF, 0x2F, 0x00});
    return smf(t);
}

// Four bars of a whole orchestra as loud as General MIDI goes: fifteen channels of brass,
// organs, strings and guitars at full volume and expression play four-octave chords at
// velocity 127, with kick, snare and crash cymbals on every beat. At full volume it drives the
// synthesiser far past full scale.
Bytes denseSongFile() {
    Bytes t;
    auto event = [&](std::uint8_t delta, std::initializer_list<std::uint8_t> bytes) {
        t.push_back(delta);
        t.insert(t.end(), bytes);
    };
    constexpr std::uint8_t kPrograms[15] = {61, 16, 48, 30, 56, 62, 19, 49,
                                            29, 57, 81, 0,  38, 87, 50};
    std::vector<std::uint8_t> melodic;
    for (std::uint8_t channel = 0; channel < 16; ++channel) {
        if (channel == 9) continue;
        melodic.push_back(channel);
        event(0, {static_cast<std::uint8_t>(0xC0 | channel), kPrograms[melodic.size() - 1]});
    }
    for (std::uint8_t channel = 0; channel < 16; ++channel) {
        event(0, {static_cast<std::uint8_t>(0xB0 | channel), 7, 127});
        event(0, {static_cast<std::uint8_t>(0xB0 | channel), 11, 127});
    }
    const std::uint8_t roots[4] = {36, 33, 29, 31};
    for (const std::uint8_t root : roots) {
        for (int beat = 0; beat < 4; ++beat) {
            std::vector<std::pair<std::uint8_t, std::uint8_t>> notes;  // status, key
            for (std::size_t i = 0; i < melodic.size(); ++i) {
                const auto octave = static_cast<std::uint8_t>(12 * (i % 4));
                for (const std::uint8_t step : {0, 4, 7}) {
                    notes.emplace_back(0x90 | melodic[i], root + octave + step);
                }
            }
            for (const std::uint8_t drum : {36, 38, 49, 57}) notes.emplace_back(0x99, drum);
            for (const auto& [status, key] : notes) event(0, {status, key, 127});
            t.insert(t.end(), {0x83, 0x60});  // a quarter later
            t.insert(t.end(), {0x99, 36, 0});
            for (const auto& [status, key] : notes) event(0, {status, key, 0});
        }
    }
    event(0, {0xFF, 0x2F, 0x00});
    return smf(t);
}

// A RIFF wave file: 0.4 seconds of a 440 Hz sine, 16-bit mono at 22050 Hz.
Bytes waveFile() {
    constexpr int kRate = 22050;
    constexpr int kFrames = kRate * 4 / 10;
    Bytes out = {'R', 'I', 'F', 'F'};
    putU32(out, 36 + kFrames * 2);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    putU32(out, 16);
    putU16(out, 1);  // PCM
    putU16(out, 1);  // mono
    putU32(out, kRate);
    putU32(out, kRate * 2);
    putU16(out, 2);
    putU16(out, 16);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    putU32(out, kFrames * 2);
    for (int i = 0; i < kFrames; ++i) {
        const double value = 12000.0 * std::sin(2.0 * M_PI * 440.0 * i / kRate);
        putU16(out, static_cast<unsigned>(static_cast<std::int16_t>(std::lround(value))) & 0xFFFF);
    }
    return out;
}

// What the disk driver wrote, as 16-bit samples: the players mix and hand the device 32-bit
// float stereo samples at 44.1 kHz (`format` says otherwise for a device opened another way),
// at most `limit` bytes of them. A float at or past full scale becomes 32767 or -32768.
std::vector<std::int16_t> samplesOf(const fs::path& file,
                                    std::size_t limit = std::numeric_limits<std::size_t>::max(),
                                    SDL_AudioFormat format = AUDIO_F32SYS) {
    std::vector<std::int16_t> samples;
    std::ifstream in(file, std::ios::binary);
    const std::size_t width = SDL_AUDIO_BITSIZE(format) / 8;
    std::vector<char> bytes(width);
    while (samples.size() * width < limit && in.read(bytes.data(), std::streamsize(width))) {
        if (format == AUDIO_F32SYS) {
            float value = 0;
            std::memcpy(&value, bytes.data(), sizeof value);
            const double scaled =
                std::clamp(std::round(double{value} * 32768.0), -32768.0, 32767.0);
            samples.push_back(static_cast<std::int16_t>(scaled));
        } else {
            std::int16_t value = 0;
            std::memcpy(&value, bytes.data(), sizeof value);
            samples.push_back(value);
        }
    }
    return samples;
}

constexpr int kLoud = 300;  // further than this from silence is heard
constexpr std::size_t kFrameBytes = 8;
constexpr std::int64_t kFramesPerSecond = 44100;

struct Loudness {
    std::size_t samples = 0;
    std::size_t loud = 0;
};

// The loud samples among `frames` frames from frame `from` (all of them by default).
Loudness measure(const fs::path& file, std::int64_t from = 0,
                 std::int64_t frames = std::numeric_limits<std::int64_t>::max() / 8) {
    Loudness result;
    const std::vector<std::int16_t> samples =
        samplesOf(file, static_cast<std::size_t>((from + frames) * kFrameBytes));
    for (std::size_t i = static_cast<std::size_t>(from) * 2; i < samples.size(); ++i) {
        ++result.samples;
        if (samples[i] > kLoud || samples[i] < -kLoud) ++result.loud;
    }
    return result;
}

// A tenth of a second of loud stereo samples.
constexpr std::size_t kAudible = 8820;

// Waits until `done`, however long the machine takes; the limit only keeps a broken player
// from hanging the test run. What is checked never depends on how fast the machine is: tests
// wait for a number of samples, not for a time.
bool waitFor(const std::function<bool()>& done) {
    const auto end = Clock::now() + std::chrono::minutes(2);
    while (!done()) {
        if (Clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) {
            setenv(name, value->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            setenv(name_.c_str(), old_->c_str(), 1);
        } else {
            unsetenv(name_.c_str());
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

// Catches what is written on std::cerr while it lives.
class CaptureErr {
public:
    CaptureErr() : old_(std::cerr.rdbuf(text_.rdbuf())) {}
    ~CaptureErr() { std::cerr.rdbuf(old_); }
    std::string text() const { return text_.str(); }

private:
    std::ostringstream text_;
    std::streambuf* old_;
};

std::size_t countLines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

// Every test runs on the disk driver, writing into a fresh folder.
class DiskAudio : public ::testing::Test {
protected:
    fs::path out() const { return dir_.path() / "out.raw"; }
    fs::path write(const std::string& name, const Bytes& bytes) {
        writeBytes(dir_.path() / name, bytes);
        return dir_.path() / name;
    }
    std::size_t bytesWritten() const {
        std::error_code ec;
        const auto size = fs::file_size(out(), ec);
        return ec ? 0 : static_cast<std::size_t>(size);
    }

    TempDir dir_;
    ScopedEnv driver_{"SDL_AUDIODRIVER", "disk"};
    ScopedEnv file_{"SDL_DISKAUDIOFILE", out().string()};
    ScopedEnv delay_{"SDL_DISKAUDIODELAY", std::nullopt};
    ScopedEnv soundfont_{"CORVAN_SOUNDFONT", std::nullopt};
};

TEST_F(DiskAudio, GivenNoMusicOrVoiceYet_ThenNoDeviceIsOpened) {
    {
        shell::SdlAudio audio;
        EXPECT_TRUE(audio.musicStopped());
        audio.stopMusic();
        audio.rewindMusic();
        EXPECT_FALSE(audio.deviceOpen());
    }
    EXPECT_FALSE(fs::exists(out()));
}

TEST_F(DiskAudio, GivenAMidiTrack_WhenPlayed_ThenItSoundsUntilStopped) {
    const fs::path midi = write("01.MID", midiFile());
    std::int64_t start = 0;  // the frame the music started on: the device may open long before
    {
        shell::SdlAudio audio;
        std::string error;
        ASSERT_TRUE(audio.openMusic(midi, error)) << error;
        EXPECT_TRUE(audio.deviceOpen());
        EXPECT_TRUE(audio.musicStopped());  // open, not yet playing
        audio.rewindMusic();
        start = audio.framesMixed();
        ASSERT_TRUE(audio.playMusic(error)) << error;
        EXPECT_FALSE(audio.musicStopped());
        // Half a second of output from the start: the first two notes.
        ASSERT_TRUE(waitFor([&] { return audio.framesMixed() >= start + kFramesPerSecond / 2; }));
        audio.stopMusic();
        EXPECT_TRUE(audio.musicStopped());
    }
    const Loudness sound = measure(out(), start, kFramesPerSecond / 2);
    EXPECT_GE(sound.loud, kAudible) << sound.samples << " samples";
}

TEST_F(DiskAudio, GivenAWaveVoice_WhenPlayed_ThenItSoundsAndLeavesTheMusicAlone) {
    const fs::path wave = write("10001.wav", waveFile());
    const fs::path midi = write("02.MID", midiFile());
    std::int64_t start = 0;
    {
        shell::SdlAudio audio;
        std::string error;
        ASSERT_TRUE(audio.playVoice(wave, error)) << error;
        start = audio.framesMixed();
        // 0.6 seconds of output, longer than the clip.
        ASSERT_TRUE(
            waitFor([&] { return audio.framesMixed() >= start + kFramesPerSecond * 6 / 10; }));
    }
    const Loudness voice = measure(out());
    EXPECT_GE(voice.loud, kAudible) << voice.samples << " samples";
    // Played once: no more loud samples than 0.45 s of stereo output holds.
    EXPECT_LE(voice.loud, 39690u) << voice.samples << " samples";

    fs::remove(out());
    shell::SdlAudio audio;
    std::string error;
    ASSERT_TRUE(audio.openMusic(midi, error)) << error;
    ASSERT_TRUE(audio.playMusic(error)) << error;
    ASSERT_TRUE(audio.playVoice(wave, error)) << error;
    ASSERT_TRUE(audio.playVoice(wave, error)) << error;
    EXPECT_FALSE(audio.musicStopped());
}

TEST_F(DiskAudio, GivenATrackThatPlaysToItsEnd_ThenTheMusicCountsAsStopped) {
    // A faster clock for the disk driver: the track and the synthesiser's tail pass in a moment.
    ScopedEnv fast("SDL_DISKAUDIODELAY", "1");
    const fs::path midi = write("03.MID", midiFile());
    shell::SdlAudio audio;
    std::string error;
    ASSERT_TRUE(audio.openMusic(midi, error)) << error;
    ASSERT_TRUE(audio.playMusic(error)) << error;
    EXPECT_FALSE(audio.musicStopped());
    EXPECT_TRUE(waitFor([&] { return audio.musicStopped(); }));
    // Rewound and played again, it sounds once more.
    audio.rewindMusic();
    ASSERT_TRUE(audio.playMusic(error)) << error;
    EXPECT_FALSE(audio.musicStopped());
}

// The headless host with the real players: a game whose music reaches the sound device.
class SoundingHost : public HeadlessHost {
public:
    shell::SdlAudio players;
    AudioOut& audio() override { return players; }
};

// The silences, in sample frames, between stretches of sound: a pause shorter than a third of a
// second belongs to the sound around it, the quiet after the last sound is no gap.
std::vector<std::int64_t> gapsBetweenSounds(const std::vector<std::int16_t>& samples) {
    constexpr int kThreshold = 500;
    std::vector<std::int64_t> gaps;
    std::int64_t lastSound = -1;
    for (std::size_t frame = 0; frame * 2 + 1 < samples.size(); ++frame) {
        const int level =
            std::max(std::abs(int{samples[frame * 2]}), std::abs(int{samples[frame * 2 + 1]}));
        if (level < kThreshold) continue;
        const auto at = static_cast<std::int64_t>(frame);
        if (lastSound >= 0 && at - lastSound > kFramesPerSecond / 3) gaps.push_back(at - lastSound);
        lastSound = at;
    }
    return gaps;
}

// Holds the sound's clock: while held, the device's thread waits to mix its next buffer, so the
// output goes on exactly where it stopped, with no silence put in. The players open one device;
// SDL numbers the devices a program opens, so it is the one that is playing.
class MixerHold {
public:
    MixerHold() {
        for (SDL_AudioDeviceID id = 1; id < 64 && device_ == 0; ++id) {
            if (SDL_GetAudioDeviceStatus(id) == SDL_AUDIO_PLAYING) device_ = id;
        }
        if (device_ != 0) hold();
    }
    ~MixerHold() { release(); }
    MixerHold(const MixerHold&) = delete;
    MixerHold& operator=(const MixerHold&) = delete;
    bool found() const { return device_ != 0; }
    void hold() {
        if (device_ == 0 || held_) return;
        SDL_LockAudioDevice(device_);
        held_ = true;
    }
    void release() {
        if (!held_) return;
        SDL_UnlockAudioDevice(device_);
        held_ = false;
    }

private:
    SDL_AudioDeviceID device_ = 0;
    bool held_ = false;
};

TEST_F(DiskAudio, GivenATrackThatPlaysOut_WhenTheGameLoopsIt_ThenItSoundsAgainWithin3Point1s) {
    ScopedEnv fast("SDL_DISKAUDIODELAY", "5");  // four times as fast as real time
    const fs::path midi = write("game/MIDI/01.MID", midiFile());
    writeArchive(dir_.path() / "game" / "mg_data.stf", {chunk("main", "*music 1\nあ▼\n")});
    std::int64_t late = 0;
    {
        SoundingHost host;
        host.setSettingFallback("SaveDir", dir_.path().string());
        host.setSettingFallback("GameDir", (dir_.path() / "game").string());
        // The device is opened before the game starts so that its clock can be held: the game's
        // own work then takes no sound time at all, however slow the machine, and the sound
        // moves on only while the test waits for the 60 ms timer's next tick.
        std::string error;
        ASSERT_TRUE(host.players.openMusic(midi, error)) << error;
        MixerHold mixer;
        ASSERT_TRUE(mixer.found());
        Game game(host, GameOptions{});
        game.FormCreate();
        for (int i = 0; i < 100 && game.waitKind == WaitKind::None; ++i) game.AppIdle();
        ASSERT_EQ(game.currentTrack, 1) << ::testing::PrintToString(host.events());

        // Tick k comes once 60k ms of sound are mixed after the music began. The device mixes a
        // buffer at a time and may mix one more before it is held again; that lateness is kept
        // and allowed for.
        constexpr std::int64_t kTickFrames = kFramesPerSecond * 60 / 1000;
        const std::int64_t start = host.players.framesMixed();
        for (int tick = 1; tick <= 110; ++tick) {
            const std::int64_t due = start + tick * kTickFrames;
            mixer.release();
            ASSERT_TRUE(waitFor([&] { return host.players.framesMixed() >= due; }));
            mixer.hold();
            late = std::max(late, host.players.framesMixed() - due);
            game.Timer1Timer();
        }
        mixer.release();
        game.FormDestroy();
    }
    // 6.6 seconds: the 0.75 s track, and twice the silence until the loop check's next look
    // (every 51 ticks, 3.06 s) finds it played out and starts it again.
    const std::vector<std::int64_t> gaps = gapsBetweenSounds(samplesOf(out()));
    ASSERT_EQ(gaps.size(), 2u) << late << " frames late";
    for (const std::int64_t gap : gaps) {
        EXPECT_LE(gap, kFramesPerSecond * 31 / 10 + late) << late << " frames late";
    }
}

TEST_F(DiskAudio, GivenLoudAndDenseGeneralMidiSongs_ThenTheySoundLoudButNeverClipAtAnyVolume) {
    ScopedEnv fast("SDL_DISKAUDIODELAY", "2");
    struct Case {
        const char* what;
        Bytes song;
        int volume;
        int loudestPeak;  // not made quiet to get there
    };
    const std::vector<Case> cases = {
        {"a loud band at the default volume", loudSongFile(), 80, 12000},
        {"a dense orchestra at full volume", denseSongFile(), 100, 20000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(out());
        const fs::path midi = write("05.MID", c.song);
        std::int64_t frames = 0;
        {
            shell::SdlAudio audio;
            audio.setMusicVolume(c.volume);
            std::string error;
            ASSERT_TRUE(audio.openMusic(midi, error)) << error;
            ASSERT_TRUE(audio.playMusic(error)) << error;
            ASSERT_TRUE(waitFor([&] { return audio.musicStopped(); }));  // the whole song
            frames = audio.framesMixed();
        }
        // The file holds every frame mixed but maybe the last buffer or two: 8 bytes a frame
        // for float samples, 4 for 16-bit ones, whichever the device was opened with.
        const bool floats = bytesWritten() > static_cast<std::size_t>(frames) * 6;
        const std::vector<std::int16_t> samples =
            samplesOf(out(), bytesWritten(), floats ? AUDIO_F32SYS : AUDIO_S16SYS);
        ASSERT_GE(samples.size(), static_cast<std::size_t>(kFramesPerSecond * 8 * 2));
        int peak = 0;
        std::size_t clipped = 0;
        for (const std::int16_t sample : samples) {
            peak = std::max(peak, std::abs(int{sample}));
            if (sample >= 32767 || sample <= -32767) ++clipped;
        }
        EXPECT_EQ(clipped, 0u) << "peak " << peak;
        EXPECT_GE(peak, c.loudestPeak);
    }
}

TEST_F(DiskAudio, GivenAMissingMidiFile_ThenOpenFailsWithTheErrorTextAndNothingPlays) {
    shell::SdlAudio audio;
    std::string error;
    EXPECT_FALSE(audio.openMusic(dir_.path() / "MIDI" / "09.MID", error));
    EXPECT_NE(error.find("09.MID"), std::string::npos) << error;
    EXPECT_TRUE(audio.musicStopped());
    error.clear();
    EXPECT_TRUE(audio.playMusic(error)) << error;
    EXPECT_TRUE(audio.musicStopped());
}

TEST_F(DiskAudio, GivenAFileThatIsNoWave_ThenTheVoiceFailsWithTheErrorText) {
    const fs::path bad = write("bad.wav", Bytes{'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v'});
    shell::SdlAudio audio;
    std::string error;
    EXPECT_FALSE(audio.playVoice(bad, error));
    EXPECT_FALSE(error.empty());
}

TEST_F(DiskAudio, GivenNoSoundDevice_ThenOneMessageSaysSoAndEveryCallGoesOnSilently) {
    ScopedEnv noDevice("SDL_AUDIODRIVER", "no-such-driver");
    const fs::path midi = write("04.MID", midiFile());
    const fs::path wave = write("10001.wav", waveFile());
    CaptureErr err;
    {
        shell::SdlAudio audio("corvan");
        std::string error;
        EXPECT_TRUE(audio.openMusic(midi, error));
        audio.rewindMusic();
        EXPECT_TRUE(audio.playMusic(error));
        EXPECT_TRUE(audio.playVoice(wave, error));
        EXPECT_TRUE(audio.playVoice(wave, error));
        EXPECT_TRUE(audio.musicStopped());
        EXPECT_FALSE(audio.deviceOpen());
        EXPECT_TRUE(error.empty()) << error;
    }
    EXPECT_EQ(countLines(err.text()), 1u) << err.text();
    EXPECT_EQ(err.text().rfind("corvan: no sound device", 0), 0u) << err.text();
}

TEST(MusicLength, GivenSongsShortAndBeyondAnyCount_ThenTheFramesAreCountedOrTheLargestCount) {
    EXPECT_EQ(shell::midiLengthFrames(midiFile()), 33075);  // 0.75 s
    // 100 000 pauses of 2^28 - 1 ticks, at one tick a quarter and 16.8 s a quarter: some 14
    // million years, more frames than a 64-bit count holds.
    Bytes slow = {0x00, 0xFF, 0x51, 0x03, 0xFF, 0xFF, 0xFF, 0x00, 0x90, 60, 100};
    for (int i = 0; i < 100000; ++i) slow.insert(slow.end(), {0xFF, 0xFF, 0xFF, 0x7F, 60, 0});
    slow.insert(slow.end(), {0x00, 0xFF, 0x2F, 0x00});
    Bytes file = smf(slow);
    file[13] = 1;  // one tick a quarter
    file[12] = 0;
    EXPECT_EQ(shell::midiLengthFrames(file), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(shell::midiLengthFrames(Bytes{'M', 'T', 'h', 'd'}), 0);
}

// --- The soundfont -------------------------------------------------------------------------

TEST(Soundfont, GivenNoChoice_ThenTheDefaultGeneralMidiSoundfontIsUsed) {
    std::string warning;
    const auto chosen = shell::chooseSoundfont(nullptr, warning);
    ASSERT_TRUE(chosen);
    EXPECT_TRUE(fs::is_regular_file(*chosen));
    EXPECT_EQ(*chosen, fs::path("/usr/share/sounds/sf2/TimGM6mb.sf2"));
    EXPECT_TRUE(warning.empty());
    EXPECT_EQ(shell::chooseSoundfont("", warning), chosen);
}

TEST(Soundfont, GivenCorvanSoundfontNamingAFile_ThenThatFileIsUsed) {
    TempDir dir;
    writeBytes(dir.path() / "mine.sf2", {1, 2, 3});
    std::string warning;
    const std::string mine = (dir.path() / "mine.sf2").string();
    EXPECT_EQ(shell::chooseSoundfont(mine.c_str(), warning), dir.path() / "mine.sf2");
    EXPECT_TRUE(warning.empty());
}

TEST(Soundfont, GivenCorvanSoundfontNamingNoFile_ThenTheDefaultIsUsedWithAWarning) {
    TempDir dir;
    std::string warning;
    const std::string missing = (dir.path() / "gone.sf2").string();
    const auto chosen = shell::chooseSoundfont(missing.c_str(), warning);
    EXPECT_EQ(chosen, fs::path("/usr/share/sounds/sf2/TimGM6mb.sf2"));
    EXPECT_NE(warning.find(missing), std::string::npos) << warning;
    warning.clear();
    EXPECT_EQ(shell::chooseSoundfont(dir.path().string().c_str(), warning), chosen);  // a folder
    EXPECT_FALSE(warning.empty());
}

// --- The two programs ----------------------------------------------------------------------

std::string run(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
        pclose(pipe);
    }
    return text;
}

// One run of a game program on a game folder of its own, with the disk driver, on the
// offscreen display; its standard error (the event trace) goes to a file.
class ProgramRun {
public:
    ProgramRun(const std::string& program, const std::string& script,
               const std::vector<std::pair<std::string, Bytes>>& files) {
        writeArchive(dir_.path() / "game" / "mg_data.stf", {chunk("main", script)});
        for (const auto& [name, bytes] : files) writeBytes(dir_.path() / "game" / name, bytes);
        fs::create_directories(dir_.path() / "save");
        fs::create_directories(dir_.path() / "config");
        std::ofstream(dir_.path() / "config" / "Brackwell.ini")
            << "[Corvan]\nSaveDir=" << (dir_.path() / "save").string()
            << "\nGameDir=" << (dir_.path() / "game").string() << "\nDelay=1\n";

        const auto replaced = [](const std::string& entry) {
            for (const char* name : {"SDL_AUDIODRIVER=", "SDL_DISKAUDIOFILE=", "XDG_CONFIG_HOME=",
                                     "QT_QPA_PLATFORM=", "CORVAN_TRACE=", "SDL_DISKAUDIODELAY="}) {
                if (entry.rfind(name, 0) == 0) return true;
            }
            return false;
        };
        std::vector<std::string> env;
        for (char** e = environ; *e != nullptr; ++e) {
            if (!replaced(*e)) env.emplace_back(*e);
        }
        env.push_back("SDL_AUDIODRIVER=disk");
        env.push_back("SDL_DISKAUDIOFILE=" + audioFile().string());
        env.push_back("XDG_CONFIG_HOME=" + (dir_.path() / "config").string());
        env.push_back("QT_QPA_PLATFORM=offscreen");
        env.push_back("CORVAN_TRACE=1");
        std::vector<char*> envp;
        for (std::string& entry : env) envp.push_back(entry.data());
        envp.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        const std::string errFile = traceFile().string();
        posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        std::string path = program;
        char* argv[] = {path.data(), nullptr};
        if (posix_spawn(&pid_, path.c_str(), &actions, nullptr, argv, envp.data()) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~ProgramRun() { stop(); }
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool started() const { return pid_ > 0; }
    fs::path audioFile() const { return dir_.path() / "audio.raw"; }
    std::string trace() const { return readText(traceFile()); }
    bool traced(const std::string& line) const {
        return ("\n" + trace()).find("\ncorvan: " + line + "\n") != std::string::npos;
    }
    void stop() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
    }

private:
    fs::path traceFile() const { return dir_.path() / "trace.txt"; }

    TempDir dir_;
    pid_t pid_ = -1;
};

TEST(Programs, GivenCorvan2_ThenItLinksNoAudioLibrary) {
    const std::string silent = run("ldd '" CORVAN2_PROGRAM "'");
    ASSERT_NE(silent.find("libQt6"), std::string::npos) << silent;
    EXPECT_EQ(silent.find("SDL"), std::string::npos) << silent;
    EXPECT_EQ(silent.find("fluidsynth"), std::string::npos) << silent;
    EXPECT_EQ(silent.find("libasound"), std::string::npos) << silent;
    EXPECT_EQ(silent.find("libpulse"), std::string::npos) << silent;
    const std::string sounding = run("ldd '" CORVAN_PROGRAM "'");
    EXPECT_NE(sounding.find("libSDL2_mixer"), std::string::npos) << sounding;
}

TEST(Programs, GivenAGameWithMusicAndVoice_ThenCorvanSoundsBothAndCorvan2OpensNoDevice) {
    const std::pair<std::string, Bytes> midi{"MIDI/01.MID", midiFile()};
    const std::pair<std::string, Bytes> wave{"wave/1/10001.wav", waveFile()};
    const std::string both = "*music 1\n*voice 10001\nこんにちは▼\n";
    // Music and voice in games of their own, so that each must sound by itself.
    ProgramRun music(CORVAN_PROGRAM, "*music 1\nこんにちは▼\n", {midi});
    ProgramRun voice(CORVAN_PROGRAM, "*voice 10001\nこんにちは▼\n", {wave});
    ProgramRun silent(CORVAN2_PROGRAM, both, {midi, wave});
    ASSERT_TRUE(music.started() && voice.started() && silent.started());

    // However long the programs take to start and to load the soundfont, sound comes.
    const auto loud = [](const ProgramRun& p) { return measure(p.audioFile()).loud >= kAudible; };
    EXPECT_TRUE(waitFor([&] { return loud(music) && loud(voice); }));
    EXPECT_TRUE(waitFor([&] { return silent.traced("text こんにちは▼"); }));
    music.stop();
    voice.stop();
    silent.stop();

    EXPECT_TRUE(music.traced("music 1")) << music.trace();
    EXPECT_TRUE(voice.traced("voice 10001")) << voice.trace();
    EXPECT_GE(measure(music.audioFile()).loud, kAudible) << music.trace();
    EXPECT_GE(measure(voice.audioFile()).loud, kAudible) << voice.trace();
    // The silent program ran the same script to its page, without a sound or a device.
    EXPECT_TRUE(silent.traced("text こんにちは▼")) << silent.trace();
    EXPECT_EQ(silent.trace().find("corvan: music"), std::string::npos) << silent.trace();
    EXPECT_EQ(silent.trace().find("corvan: voice"), std::string::npos) << silent.trace();
    EXPECT_FALSE(fs::exists(silent.audioFile()));
}

}  // namespace
}  // namespace corvan::test
