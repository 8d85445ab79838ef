#pragma once

// Where the text cursor's cell lies in pixels. The cursor's column and line only grow until a
// new page resets them, so a long enough page (or lines ending in `\`) takes them far past the
// frame; the pixel position must then neither overflow nor be drawn.

#include <cstdint>
#include <optional>

#include "engine/host.h"

namespace corvan {

// The cell at (column, line) on a grid of `columnWidth` x `lineHeight` pixels; nullopt when it
// lies so far outside any bitmap the game draws on that nothing of a character there shows.
inline std::optional<WindowPoint> textCellPosition(std::int32_t column, std::int32_t line,
                                                   int columnWidth, int lineHeight) {
    constexpr std::int64_t kReach = 1 << 16;
    const std::int64_t x = std::int64_t{column} * columnWidth;
    const std::int64_t y = std::int64_t{line} * lineHeight;
    if (x < -kReach || x > kReach || y < -kReach || y > kReach) return std::nullopt;
    return WindowPoint{static_cast<int>(x), static_cast<int>(y)};
}

}  // namespace corvan
