#include "demo/make_sounds/sound_files.h"

#include <algorithm>
#include <cmath>

namespace corvan::demo_sounds {

namespace {

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

struct Event {
    std::uint32_t tick;
    int order;  // at the same tick: note-offs before note-ons
    std::uint8_t status, key, velocity;
};

std::uint32_t ticks(double beats) {
    return static_cast<std::uint32_t>(std::lround(beats * kTicksPerBeat));
}

}  // namespace

Bytes midiFile(const std::vector<Part>& parts, int beatsPerMinute) {
    std::vector<Event> events;
    for (const Part& part : parts) {
        double beat = part.startBeat;
        const auto channel = static_cast<std::uint8_t>(part.channel & 0x0F);
        for (const Note& n : part.notes) {
            if (n.key != 0) {
                // A short gap before the next note keeps repeated keys apart.
                const std::uint32_t on = ticks(beat);
                const std::uint32_t off = std::max(on + 1, ticks(beat + n.beats) - 20);
                const auto key = static_cast<std::uint8_t>(n.key);
                events.push_back({on, 1, static_cast<std::uint8_t>(0x90 | channel), key,
                                  static_cast<std::uint8_t>(std::clamp(n.velocity, 1, 127))});
                events.push_back({off, 0, static_cast<std::uint8_t>(0x80 | channel), key, 0});
            }
            beat += n.beats;
        }
    }
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });

    Bytes track;
    putVariableLength(track, 0);
    track.insert(track.end(), {0xFF, 0x51, 0x03});
    const std::uint32_t microsPerBeat = 60'000'000u / static_cast<std::uint32_t>(beatsPerMinute);
    track.insert(track.end(), {static_cast<std::uint8_t>(microsPerBeat >> 16),
                               static_cast<std::uint8_t>(microsPerBeat >> 8),
                               static_cast<std::uint8_t>(microsPerBeat)});
    for (const Part& part : parts) {
        track.insert(track.end(), {0x00, static_cast<std::uint8_t>(0xC0 | (part.channel & 0x0F)),
                                   static_cast<std::uint8_t>(part.program)});
    }
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
    put16be(file, kTicksPerBeat);
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    put32be(file, static_cast<std::uint32_t>(track.size()));
    file.insert(file.end(), track.begin(), track.end());
    return file;
}

Bytes waveFile(const std::vector<double>& samples) {
    Bytes pcm;
    for (const double s : samples) {
        const auto value = static_cast<std::int16_t>(std::lround(std::clamp(s, -1.0, 1.0) * 32000));
        put16le(pcm, static_cast<std::uint16_t>(value));
    }
    Bytes file = {'R', 'I', 'F', 'F'};
    put32le(file, static_cast<std::uint32_t>(36 + pcm.size()));
    file.insert(file.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32le(file, 16);
    put16le(file, 1);  // PCM
    put16le(file, 1);  // mono
    put32le(file, kSampleRate);
    put32le(file, kSampleRate * 2);
    put16le(file, 2);
    put16le(file, 16);
    file.insert(file.end(), {'d', 'a', 't', 'a'});
    put32le(file, static_cast<std::uint32_t>(pcm.size()));
    file.insert(file.end(), pcm.begin(), pcm.end());
    return file;
}

}  // namespace corvan::demo_sounds
