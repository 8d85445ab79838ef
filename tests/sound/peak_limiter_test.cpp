// The limiter on the mixed sound: below full scale it changes nothing; past it, no sample
// leaves above the ceiling, and the level comes back once the peak has passed.

#include "sound/peak_limiter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace corvan::test {
namespace {

using sound::PeakLimiter;

constexpr int kRate = 44100;

// `seconds` of a stereo 440 Hz sine at `level` (1.0 is full scale).
std::vector<float> sine(double level, double seconds) {
    std::vector<float> samples;
    for (int i = 0; i < static_cast<int>(seconds * kRate); ++i) {
        const auto value = static_cast<float>(level * std::sin(2 * M_PI * 440.0 * i / kRate));
        samples.insert(samples.end(), {value, value / 2});
    }
    return samples;
}

float peakOf(const std::vector<float>& samples) {
    float peak = 0;
    for (const float s : samples) peak = std::max(peak, std::fabs(s));
    return peak;
}

TEST(PeakLimiter, GivenSoundBelowTheCeiling_ThenItPassesUnchanged) {
    PeakLimiter limiter(kRate);
    const std::vector<float> quiet = sine(0.9, 1.0);
    std::vector<float> limited = quiet;
    limiter.process(limited, 2);
    EXPECT_EQ(limited, quiet);
}

TEST(PeakLimiter, GivenPeaksPastFullScale_ThenNoneLeavesAboveTheCeilingAndTheLevelComesBack) {
    PeakLimiter limiter(kRate);
    std::vector<float> loud = sine(3.0, 0.5);  // a chord three times too loud
    limiter.process(loud, 2);
    EXPECT_LE(peakOf(loud), PeakLimiter::kCeiling);
    EXPECT_GE(peakOf(loud), PeakLimiter::kCeiling * 0.99f);  // loud still
    // Half a second of the same sine at a quarter of full scale: the second half plays at
    // nearly its own level again.
    std::vector<float> after = sine(0.25, 1.0);
    limiter.process(after, 2);
    const std::vector<float> tail(after.begin() + static_cast<long>(after.size() / 2), after.end());
    EXPECT_GE(peakOf(tail), 0.25f * 0.97f);
    EXPECT_GT(limiter.gain(), 0.97f);
    // A sample that is no number becomes silence, and the level is kept.
    std::vector<float> odd = {std::numeric_limits<float>::quiet_NaN(), 0.5f, 0.1f, 0.1f};
    limiter.process(odd, 2);
    EXPECT_EQ(odd[0], 0.0f);
    EXPECT_EQ(odd[1], 0.0f);
    EXPECT_NEAR(odd[2], 0.1f, 0.01f);
}

}  // namespace
}  // namespace corvan::test
