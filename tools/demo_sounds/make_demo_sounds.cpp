// make_demo_sounds: writes the demo game's music and voice from the notes and tones below,
// so that the demo is built from source like its scripts and pictures.
//   MIDI/01.MID        a slow waltz on a music box, the hotel's theme
//   wave/1/10001.wav   the front desk's bell (voice 10001)

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "engine/file_write.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void put16be(Bytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v >> 8));
    b.push_back(static_cast<std::uint8_t>(v));
}
void put32be(Bytes& b, std::uint32_t v) {
    put16be(b, v >> 16);
    put16be(b, v & 0xFFFF);
}
void put16le(Bytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32le(Bytes& b, std::uint32_t v) {
    put16le(b, v & 0xFFFF);
    put16le(b, v >> 16);
}
void putVariableLength(Bytes& b, std::uint32_t v) {
    std::uint8_t groups[5];
    int n = 0;
    do {
        groups[n++] = static_cast<std::uint8_t>(v & 0x7F);
        v >>= 7;
    } while (v != 0);
    while (n > 1) b.push_back(static_cast<std::uint8_t>(groups[--n] | 0x80));
    b.push_back(groups[0]);
}

// A melody note: MIDI key (0 rest) and length in beats; 480 ticks a beat.
struct Note {
    int key;
    int beats;
};

Bytes waltz() {
    // Two phrases in three-four time, with a bass note on each bar's first beat.
    const std::vector<Note> melody = {
        {76, 2}, {79, 1}, {81, 3}, {79, 2}, {76, 1}, {74, 3}, {72, 2}, {74, 1}, {76, 2},
        {79, 1}, {74, 6}, {76, 2}, {79, 1}, {84, 3}, {83, 2}, {81, 1}, {79, 3}, {76, 2},
        {74, 1}, {72, 3}, {72, 6}};
    const std::vector<int> bass = {48, 43, 45, 43, 48, 52, 53, 43, 48, 48};
    constexpr std::uint32_t kBeat = 480;

    struct Event {
        std::uint32_t tick;
        std::uint8_t status, key, velocity;
    };
    std::vector<Event> events;
    std::uint32_t t = 0;
    for (const Note& n : melody) {
        if (n.key != 0) {
            events.push_back({t, 0x90, static_cast<std::uint8_t>(n.key), 80});
            events.push_back({t + n.beats * kBeat - 20, 0x80, static_cast<std::uint8_t>(n.key), 0});
        }
        t += n.beats * kBeat;
    }
    for (std::size_t bar = 0; bar < bass.size(); ++bar) {
        const std::uint32_t start = static_cast<std::uint32_t>(bar) * 3 * kBeat;
        events.push_back({start, 0x91, static_cast<std::uint8_t>(bass[bar]), 60});
        events.push_back({start + 3 * kBeat - 20, 0x81, static_cast<std::uint8_t>(bass[bar]), 0});
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.tick < b.tick; });

    Bytes track;
    putVariableLength(track, 0);  // tempo: 96 beats a minute
    track.insert(track.end(), {0xFF, 0x51, 0x03});
    const std::uint32_t microsPerBeat = 60'000'000 / 96;
    track.insert(track.end(), {static_cast<std::uint8_t>(microsPerBeat >> 16),
                               static_cast<std::uint8_t>(microsPerBeat >> 8),
                               static_cast<std::uint8_t>(microsPerBeat)});
    track.insert(track.end(), {0x00, 0xC0, 10, 0x00, 0xC1, 0});  // music box, piano
    std::uint32_t last = 0;
    for (const Event& e : events) {
        putVariableLength(track, e.tick - last);
        last = e.tick;
        track.insert(track.end(), {e.status, e.key, e.velocity});
    }
    track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});

    Bytes file = {'M', 'T', 'h', 'd'};
    put32be(file, 6);
    put16be(file, 0);
    put16be(file, 1);
    put16be(file, kBeat);
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    put32be(file, static_cast<std::uint32_t>(track.size()));
    file.insert(file.end(), track.begin(), track.end());
    return file;
}

Bytes bell() {
    constexpr int kRate = 22050;
    constexpr double kPi = 3.14159265358979323846;
    const int samples = kRate * 12 / 10;
    Bytes pcm;
    for (int i = 0; i < samples; ++i) {
        const double t = static_cast<double>(i) / kRate;
        // A bell: a strong partial and two inharmonic ones, each dying away.
        const double v = 0.55 * std::sin(2 * kPi * 1320 * t) * std::exp(-3.0 * t) +
                         0.25 * std::sin(2 * kPi * 3560 * t) * std::exp(-6.0 * t) +
                         0.15 * std::sin(2 * kPi * 5280 * t) * std::exp(-9.0 * t);
        put16le(pcm, static_cast<std::uint16_t>(static_cast<std::int16_t>(v * 26000)));
    }
    Bytes file = {'R', 'I', 'F', 'F'};
    put32le(file, static_cast<std::uint32_t>(36 + pcm.size()));
    file.insert(file.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32le(file, 16);
    put16le(file, 1);  // PCM
    put16le(file, 1);  // mono
    put32le(file, kRate);
    put32le(file, kRate * 2);
    put16le(file, 2);
    put16le(file, 16);
    file.insert(file.end(), {'d', 'a', 't', 'a'});
    put32le(file, static_cast<std::uint32_t>(pcm.size()));
    file.insert(file.end(), pcm.begin(), pcm.end());
    return file;
}

bool write(const std::filesystem::path& file, const Bytes& bytes) {
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    std::string error;
    if (!corvan::writeFileAtomically(
            file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
            error)) {
        std::cerr << "make_demo_sounds: " << error << "\n";
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || std::string(argv[1]) == "--help") {
        std::cout << "usage: make_demo_sounds GAMEDIR\n"
                     "Writes the demo's MIDI/01.MID and wave/1/10001.wav into GAMEDIR.\n";
        return argc == 2 ? 0 : 2;
    }
    const std::filesystem::path dir = argv[1];
    return write(dir / "MIDI" / "01.MID", waltz()) && write(dir / "wave" / "1" / "10001.wav", bell())
               ? 0
               : 1;
}
