#pragma once

// Writing the demo's sound files: standard MIDI files from parts of notes, and 16-bit mono
// RIFF wave files from samples.

#include <cstdint>
#include <vector>

namespace corvan::demo_sounds {

using Bytes = std::vector<std::uint8_t>;

constexpr int kTicksPerBeat = 480;
constexpr int kSampleRate = 22050;

// A note: MIDI key (0 a rest), its length in beats, and how hard it is struck (1 to 127).
struct Note {
    int key = 0;
    double beats = 1;
    int velocity = 80;
};

// One instrument's line of notes, played one after another from `startBeat` on. Notes of
// several keys sounding together are written as several parts.
struct Part {
    int channel = 0;
    int program = 0;  // General MIDI instrument, 0-based
    std::vector<Note> notes;
    double startBeat = 0;
};

// A type-0 MIDI file of these parts at `beatsPerMinute`.
Bytes midiFile(const std::vector<Part>& parts, int beatsPerMinute);

// A mono 16-bit wave file at kSampleRate from samples in -1..1 (held to that range).
Bytes waveFile(const std::vector<double>& samples);

}  // namespace corvan::demo_sounds
