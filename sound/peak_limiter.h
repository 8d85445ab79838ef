#pragma once

// A peak limiter for the mixed sound, before it becomes the device's samples: wherever the
// music and the voice together would go past full scale, the level is taken down at once, just
// far enough, and comes back over a fifth of a second. Music that stays below full scale passes
// untouched, so dense General MIDI songs never clip at any volume and quiet ones lose nothing.

#include <cstddef>
#include <span>

namespace corvan::sound {

class PeakLimiter {
public:
    // The highest level that leaves the limiter, a little below full scale (1.0).
    static constexpr float kCeiling = 0.98f;

    // `sampleRate` sets how fast the level comes back after a peak.
    explicit PeakLimiter(int sampleRate);

    // Limits interleaved float samples in place, `channels` to a frame; the channels of a frame
    // share one gain, so the stereo picture stays.
    void process(std::span<float> samples, int channels);

    // The gain in force now: 1 when nothing is being limited.
    float gain() const { return 1.0f - reduction_; }

private:
    // How far below 1 the gain is. Kept instead of the gain itself, so that it shrinks all the
    // way to nothing: a gain a hair below 1 could no longer move by a float's steps.
    float reduction_ = 0.0f;
    float keep_;  // the share of the reduction that is left after each frame
};

}  // namespace corvan::sound
