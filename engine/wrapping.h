#pragma once

// 32-bit counters that wrap around instead of overflowing: the game's counters were plain 32-bit
// integers that a long enough run could carry past their top, and they keep doing so here
// without the undefined behaviour of signed overflow in C++.

#include <cstdint>

namespace corvan {

constexpr std::int32_t wrappingAdd(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

}  // namespace corvan
