#pragma once

// The number an enum class stands for: what the state dump prints and what the original's
// globals held.

#include <type_traits>

namespace corvan {

template <typename E>
constexpr std::underlying_type_t<E> toNumber(E value) {
    return static_cast<std::underlying_type_t<E>>(value);
}

}  // namespace corvan
