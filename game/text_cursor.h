#pragma once

// Where the next character of the story's text goes in the text frame, and how it looks.

#include <cstdint>

namespace corvan {

struct TextCursor {
    std::int32_t textColumn = 0;
    std::int32_t textLine = 0;
    std::int32_t largeText = 0;
    std::int32_t textColour = 0;
};

}  // namespace corvan
