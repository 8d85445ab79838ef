#pragma once

// Fixed pseudo-random numbers and smooth noise: the same arguments always give the same
// values, so the pictures come out the same on every run.

#include <cstdint>

namespace corvan::art {

// A small linear congruential sequence.
class Random {
public:
    explicit Random(std::uint32_t seed) : state_(seed) {}
    // 0.0 to 1.0.
    double next() {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 24);
    }
    double between(double low, double high) { return low + (high - low) * next(); }

private:
    std::uint32_t state_;
};

// Smooth value noise in 0..1 on a unit grid.
double valueNoise(double x, double y, std::uint32_t seed);

// Three octaves of value noise, 0..1: clouds, grain, drifts.
double cloudNoise(double x, double y, std::uint32_t seed);

}  // namespace corvan::art
