// The demo's music: five short tracks that loop, each a few parts of notes.

#include <vector>

#include "demo/make_sounds/sounds.h"

namespace corvan::demo_sounds {

namespace {

// General MIDI instruments (0-based).
constexpr int kPiano = 0;
constexpr int kCelesta = 8;
constexpr int kMusicBox = 10;
constexpr int kVibraphone = 11;
constexpr int kTubularBells = 14;
constexpr int kAcousticBass = 32;
constexpr int kCello = 42;
constexpr int kPizzicato = 45;
constexpr int kHarp = 46;
constexpr int kStrings = 49;
constexpr int kClarinet = 71;

// A chord of a bar: its root key and whether it is minor.
struct Chord {
    int root;
    bool minor;
};

// Keys of a chord's tones: root, third, fifth, octave, tenth.
std::vector<int> tones(Chord c) {
    const int third = c.minor ? 3 : 4;
    return {c.root, c.root + third, c.root + 7, c.root + 12, c.root + 12 + third};
}

// Broken chords: for each bar, the chord's tones in `pattern` (indexes into `tones`), a note
// of `step` beats each, to fill `barBeats`.
Part brokenChords(int channel, int program, const std::vector<Chord>& bars,
                  const std::vector<int>& pattern, double step, double barBeats, int velocity) {
    Part part{channel, program, {}, 0};
    for (const Chord& chord : bars) {
        const std::vector<int> keys = tones(chord);
        for (double beat = 0; beat < barBeats; beat += step) {
            const int index = pattern[static_cast<std::size_t>(beat / step) % pattern.size()];
            part.notes.push_back({keys[static_cast<std::size_t>(index)], step, velocity});
        }
    }
    return part;
}

// Held chords: three parts, the root, third and fifth of each bar's chord for the whole bar.
std::vector<Part> heldChords(int channel, int program, const std::vector<Chord>& bars,
                             double barBeats, int velocity) {
    std::vector<Part> parts;
    for (const int tone : {0, 1, 2}) {
        Part part{channel, program, {}, 0};
        for (const Chord& chord : bars) {
            part.notes.push_back(
                {tones(chord)[static_cast<std::size_t>(tone)], barBeats, velocity});
        }
        parts.push_back(part);
    }
    return parts;
}

// The roots of the bars, one note a bar.
Part bassLine(int channel, int program, const std::vector<Chord>& bars, double barBeats,
              int velocity) {
    Part part{channel, program, {}, 0};
    for (const Chord& chord : bars) part.notes.push_back({chord.root - 12, barBeats, velocity});
    return part;
}

std::vector<Note> melody(std::initializer_list<std::pair<int, double>> notes, int velocity) {
    std::vector<Note> out;
    for (const auto& note : notes) out.push_back({note.first, note.second, velocity});
    return out;
}

}  // namespace

Bytes hotelWaltz() {
    // Two phrases in three-four time, with a bass note on each bar's first beat.
    Part tune{0, kMusicBox,
              melody({{76, 2}, {79, 1}, {81, 3}, {79, 2}, {76, 1}, {74, 3}, {72, 2},
                      {74, 1}, {76, 2}, {79, 1}, {74, 6}, {76, 2}, {79, 1}, {84, 3},
                      {83, 2}, {81, 1}, {79, 3}, {76, 2}, {74, 1}, {72, 3}, {72, 6}},
                     80),
              0};
    Part bass{1, kPiano, {}, 0};
    for (const int key : {48, 43, 45, 43, 48, 52, 53, 43, 48, 48})
        bass.notes.push_back({key, 3, 60});
    return midiFile({tune, bass}, 96);
}

Bytes nightRound() {
    const std::vector<Chord> bars = {{57, true},  {57, true},  {53, false}, {53, false},
                                     {48, false}, {48, false}, {52, false}, {52, false}};
    Part tune{0, kVibraphone,
              melody({{76, 1.5}, {74, 0.5}, {72, 1}, {71, 1}, {69, 3}, {0, 1},
                      {77, 1.5}, {76, 0.5}, {74, 1}, {72, 1}, {69, 3}, {0, 1},
                      {67, 1.5}, {69, 0.5}, {72, 1}, {76, 1}, {74, 3}, {0, 1},
                      {71, 1.5}, {72, 0.5}, {74, 1}, {68, 1}, {71, 2}, {0, 2}},
                     66),
              0};
    std::vector<Part> parts = heldChords(1, kStrings, bars, 4, 42);
    parts.push_back(tune);
    parts.push_back(bassLine(2, kAcousticBass, bars, 4, 58));
    return midiFile(parts, 70);
}

Bytes winterOf1959() {
    const std::vector<Chord> bars = {{53, false}, {50, true}, {55, true},  {48, false},
                                     {53, false}, {57, true}, {58, false}, {48, false}};
    Part tune{0, kClarinet,
              melody({{69, 2}, {72, 1}, {69, 1}, {65, 2}, {62, 2}, {67, 1}, {69, 1},
                      {70, 1}, {74, 1}, {72, 4}, {69, 2}, {72, 1}, {77, 1}, {76, 2},
                      {72, 2}, {74, 1}, {72, 1}, {70, 1}, {69, 1}, {67, 4}},
                     72),
              0};
    Part piano = brokenChords(1, kPiano, bars, {0, 2, 3, 4, 3, 2, 3, 2}, 0.5, 4, 48);
    return midiFile({tune, piano, bassLine(2, kPiano, bars, 4, 52)}, 84);
}

Bytes snowMorning() {
    const std::vector<Chord> bars = {{60, false}, {52, true},  {57, true},  {53, false},
                                     {60, false}, {53, false}, {55, false}, {60, false}};
    Part tune{0, kMusicBox,
              melody({{76, 2}, {79, 1}, {84, 1}, {83, 2}, {79, 2}, {81, 1.5}, {79, 0.5},
                      {76, 1}, {72, 1}, {77, 4}, {76, 1}, {77, 1}, {79, 2},   {81, 1},
                      {79, 1}, {77, 1}, {76, 1}, {74, 2}, {79, 2}, {84, 4}},
                     84),
              0};
    std::vector<Part> parts = heldChords(1, kStrings, bars, 4, 44);
    parts.push_back(tune);
    parts.push_back(brokenChords(2, kHarp, bars, {0, 1, 2, 3}, 1, 4, 50));
    parts.push_back(Part{3, kCelesta, melody({{0, 28}, {96, 4}}, 40), 0});
    return midiFile(parts, 72);
}

Bytes clockTower() {
    const std::vector<Chord> bars = {{50, true}, {50, true}, {46, false}, {46, false},
                                     {43, true}, {43, true}, {45, false}, {45, false}};
    Part pizzicato = brokenChords(0, kPizzicato, bars, {0, 2, 3, 2}, 0.5, 4, 62);
    Part bells{1, kTubularBells, melody({{74, 8}, {69, 8}, {77, 8}, {76, 8}}, 54), 0};
    Part cello = bassLine(2, kCello, bars, 4, 50);
    return midiFile({pizzicato, bells, cello}, 60);
}

}  // namespace corvan::demo_sounds
