#pragma once

// The variables a piece of script text names: a letter E, F, S or V in either case and the
// decimal number after it (V001, f19), as the game's expressions read them.

#include <string_view>

namespace corvan {

// Calls `named(letter, number, offset)` for every variable named in `text`, the letter in
// upper case.
template <typename Named>
void forEachVariableName(std::string_view text, Named&& named) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char letter = static_cast<char>(text[i] & ~0x20);
        if (letter != 'E' && letter != 'F' && letter != 'V' && letter != 'S') continue;
        std::size_t end = i + 1;
        int number = 0;
        while (end < text.size() && end < i + 6 && text[end] >= '0' && text[end] <= '9') {
            number = number * 10 + (text[end] - '0');
            ++end;
        }
        if (end == i + 1) continue;
        named(letter, number, i);
        i = end - 1;
    }
}

}  // namespace corvan
