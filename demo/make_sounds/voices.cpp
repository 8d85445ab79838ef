// The demo's voices: short sounds synthesised from decaying tones and shaped noise. The game
// plays any clip by its name; these stand where a story would have spoken lines.

#include <cmath>
#include <cstdint>
#include <vector>

#include "demo/make_sounds/sounds.h"

namespace corvan::demo_sounds {

namespace {

constexpr double kPi = 3.14159265358979323846;

// A clip being mixed: samples at kSampleRate, added into.
class Clip {
public:
    explicit Clip(double seconds)
        : samples_(static_cast<std::size_t>(seconds * kSampleRate), 0.0) {}

    // A sine tone from `start` seconds on, dying away by exp(-decay * t).
    void tone(double start, double frequency, double amplitude, double decay) {
        for (std::size_t i = index(start); i < samples_.size(); ++i) {
            const double t = static_cast<double>(i) / kSampleRate - start;
            samples_[i] += amplitude * std::sin(2 * kPi * frequency * t) * std::exp(-decay * t);
        }
    }

    // A thump: a sine whose pitch falls from `high` to `low` within a few milliseconds.
    void thump(double start, double high, double low, double amplitude, double decay) {
        double phase = 0;
        for (std::size_t i = index(start); i < samples_.size(); ++i) {
            const double t = static_cast<double>(i) / kSampleRate - start;
            const double frequency = low + (high - low) * std::exp(-t * 60);
            phase += 2 * kPi * frequency / kSampleRate;
            samples_[i] += amplitude * std::sin(phase) * std::exp(-decay * t);
        }
    }

    // Noise from `start` on, softened by a one-pole low-pass (`smooth` 0 passes everything,
    // near 1 keeps only the low rumble), with a little high-pass when `bright`.
    void noise(double start, double seconds, double amplitude, double decay, double smooth,
               std::uint32_t seed, bool bright = false) {
        std::uint32_t state = seed;
        double low = 0, previous = 0;
        const std::size_t end = std::min(samples_.size(), index(start + seconds));
        for (std::size_t i = index(start); i < end; ++i) {
            const double t = static_cast<double>(i) / kSampleRate - start;
            state = state * 1664525u + 1013904223u;
            const double white = static_cast<double>(state >> 8) / (1u << 23) - 1.0;
            low = low * smooth + white * (1 - smooth);
            const double value = bright ? low - previous : low;
            previous = low;
            samples_[i] += amplitude * value * std::exp(-decay * t);
        }
    }

    // A short fade at both ends, so that no clip starts or stops with a click.
    Bytes finish() {
        const std::size_t fade = kSampleRate / 200;
        for (std::size_t i = 0; i < fade && i < samples_.size(); ++i) {
            const double k = static_cast<double>(i) / fade;
            samples_[i] *= k;
            samples_[samples_.size() - 1 - i] *= k;
        }
        return waveFile(samples_);
    }

private:
    static std::size_t index(double seconds) {
        return static_cast<std::size_t>(std::max(0.0, seconds) * kSampleRate);
    }
    std::vector<double> samples_;
};

}  // namespace

Bytes deskBell() {
    // A strong partial and two inharmonic ones, each dying away.
    Clip clip(1.2);
    clip.tone(0, 1320, 0.55, 3.0);
    clip.tone(0, 3560, 0.25, 6.0);
    clip.tone(0, 5280, 0.15, 9.0);
    return clip.finish();
}

Bytes towerChime() {
    // A large bell far off: a low hum, the strike tone and its minor third.
    Clip clip(2.6);
    clip.tone(0, 110, 0.28, 1.1);
    clip.tone(0, 220, 0.34, 1.4);
    clip.tone(0, 264, 0.16, 1.8);
    clip.tone(0, 330, 0.12, 2.2);
    clip.tone(0, 551, 0.08, 3.0);
    clip.noise(0, 0.05, 0.2, 40, 0.6, 0x70E5u);
    return clip.finish();
}

Bytes liftChime() {
    Clip clip(1.3);
    clip.tone(0, 784, 0.35, 3.2);
    clip.tone(0, 1568, 0.08, 5.0);
    clip.tone(0.38, 659, 0.35, 2.8);
    clip.tone(0.38, 1318, 0.08, 5.0);
    return clip.finish();
}

Bytes doorKnock() {
    Clip clip(1.0);
    for (const double at : {0.05, 0.27, 0.49}) {
        clip.thump(at, 420, 150, 0.6, 38);
        clip.noise(at, 0.04, 0.25, 90, 0.5, 0x6B0Cu + static_cast<std::uint32_t>(at * 100));
    }
    return clip.finish();
}

Bytes shutter() {
    Clip clip(0.45);
    clip.noise(0.02, 0.03, 0.7, 120, 0.2, 0x5107u, true);
    clip.thump(0.02, 1800, 600, 0.25, 120);
    clip.noise(0.16, 0.05, 0.6, 80, 0.3, 0x5108u, true);
    clip.thump(0.16, 1200, 400, 0.3, 90);
    return clip.finish();
}

Bytes footsteps() {
    Clip clip(1.8);
    double at = 0.04;
    for (int step = 0; step < 4; ++step, at += 0.42) {
        clip.thump(at, 160, 70, 0.5, 26);
        clip.noise(at, 0.09, 0.3, 40, 0.75, 0xF00Du + static_cast<std::uint32_t>(step));
        clip.noise(at + 0.05, 0.05, 0.08, 60, 0.2, 0xF10Du + static_cast<std::uint32_t>(step),
                   true);
    }
    return clip.finish();
}

Bytes paperRustle() {
    Clip clip(0.9);
    std::uint32_t seed = 0x9A9Eu;
    for (const double at : {0.0, 0.12, 0.2, 0.34, 0.41, 0.55}) {
        clip.noise(at, 0.14, 0.35, 14, 0.35, seed++, true);
    }
    return clip.finish();
}

Bytes clockWinding() {
    // A ratchet: a dozen clicks slowing down, over the ring of the spring.
    Clip clip(1.6);
    double at = 0.02;
    for (int click = 0; click < 12; ++click) {
        clip.noise(at, 0.015, 0.5, 300, 0.1, 0xC10Cu + static_cast<std::uint32_t>(click), true);
        clip.tone(at, 2400, 0.05, 60);
        at += 0.08 + click * 0.008;
    }
    clip.tone(0, 880, 0.03, 2.0);
    return clip.finish();
}

Bytes menuOpens() {
    Clip clip(0.16);
    clip.thump(0, 1400, 900, 0.35, 45);
    clip.tone(0, 1800, 0.08, 50);
    return clip.finish();
}

Bytes menuPick() {
    Clip clip(0.12);
    clip.thump(0, 2600, 1700, 0.32, 60);
    clip.noise(0, 0.01, 0.2, 400, 0.1, 0x9023u, true);
    return clip.finish();
}

}  // namespace corvan::demo_sounds
