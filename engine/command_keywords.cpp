#include "engine/command_keywords.h"

#include "engine/ascii.h"

namespace corvan {

const CommandKeyword* matchCommandKeyword(const std::uint8_t* afterStar, std::size_t available) {
    for (const CommandKeyword& command : kCommandKeywords) {
        if (command.keyword.size() > available) continue;
        const auto* keyword = reinterpret_cast<const std::uint8_t*>(command.keyword.data());
        if (equalBytesIgnoringAsciiCase(afterStar, keyword, command.keyword.size())) {
            return &command;
        }
    }
    return nullptr;
}

int flagJumpLabelColumn(const std::uint8_t* line, int column) {
    constexpr int kLastBlankColumn = 15;
    for (int p = column + 1; p <= kLastBlankColumn; ++p) {
        if (line[p] == ' ') return p + 1;
    }
    return 0;
}

}  // namespace corvan
