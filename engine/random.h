#pragma once

// The program's one pseudo-random generator, a linear congruential generator that starts at 1
// and is never reseeded: the idle handler draws one number per call, so the transition effects'
// noise depends on how long the game has been running, exactly as it did.

#include <cstdint>

namespace corvan {

class Random {
public:
    // state <- state * 22695477 + 1 (mod 2^32); the result is bits 16-30 of the new state.
    std::int32_t next() {
        state_ = state_ * 22695477u + 1u;
        return static_cast<std::int32_t>((state_ >> 16) & 0x7FFFu);
    }
    std::uint32_t state() const { return state_; }

private:
    std::uint32_t state_ = 1;
};

}  // namespace corvan
