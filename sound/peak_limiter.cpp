#include "sound/peak_limiter.h"

#include <algorithm>
#include <cmath>

namespace corvan::sound {

namespace {
// How long the gain takes to come back most of the way (1 - 1/e) after a peak: slow enough
// that the level does not pump with every drum beat, quick enough that a loud chord does not
// leave the next bar quieter.
constexpr double kReleaseSeconds = 0.2;
// A reduction this small changes no sample of 16 or 24 bits.
constexpr float kNoReduction = 1e-7f;
}  // namespace

PeakLimiter::PeakLimiter(int sampleRate)
    : keep_(static_cast<float>(std::exp(-1.0 / (kReleaseSeconds * std::max(sampleRate, 1))))) {}

void PeakLimiter::process(std::span<float> samples, int channels) {
    const auto width = static_cast<std::size_t>(std::max(channels, 1));
    for (std::size_t frame = 0; frame + width <= samples.size(); frame += width) {
        const auto samplesOfFrame = samples.subspan(frame, width);
        float peak = 0.0f;
        bool numbers = true;
        for (const float s : samplesOfFrame) {
            peak = std::max(peak, std::fabs(s));
            numbers = numbers && std::isfinite(s);
        }
        reduction_ = reduction_ * keep_ < kNoReduction ? 0.0f : reduction_ * keep_;
        // A sample that is not a number would otherwise pass as it is: silence is safer.
        if (!numbers) {
            std::fill(samplesOfFrame.begin(), samplesOfFrame.end(), 0.0f);
            continue;
        }
        if (peak * gain() > kCeiling) {
            reduction_ = 1.0f - kCeiling / peak;
            // Rounding may leave the product a step above the ceiling.
            while (peak * gain() > kCeiling) reduction_ = std::nextafter(reduction_, 1.0f);
        }
        if (reduction_ == 0.0f) continue;
        const float gain = this->gain();
        for (float& s : samplesOfFrame) s *= gain;
    }
}

}  // namespace corvan::sound
