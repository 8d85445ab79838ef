#include "engine/command_keywords.h"

#include "engine/ascii.h"

namespace corvan {

const CommandKeyword* matchCommandKeyword(const std::uint8_t* afterStar, std::size_t available) {
    if (available == 0) return nullptr;
    const std::uint8_t first = asciiUpper(afterStar[0]);
    for (const CommandKeyword& command : kCommandKeywords) {
        if (command.keyword.size() > available) continue;
        if (asciiUpper(static_cast<std::uint8_t>(command.keyword[0])) != first) continue;
        const auto* keyword = reinterpret_cast<const std::uint8_t*>(command.keyword.data());
        if (equalBytesIgnoringAsciiCase(afterStar, keyword, command.keyword.size())) {
            return &command;
        }
    }
    return nullptr;
}

bool commandShowsNothing(CommandId id) {
    switch (id) {
        case CommandId::Go:
        case CommandId::FlagOn:
        case CommandId::FlagOff:
        case CommandId::IfOn:
        case CommandId::IfOff:
        case CommandId::Calc:
        case CommandId::If:
        case CommandId::Chain:
        case CommandId::Call:
        case CommandId::End:
        case CommandId::GameInit:
        case CommandId::Music:
        case CommandId::Voice: return true;
        default: return false;
    }
}

int flagJumpLabelColumn(const std::uint8_t* line, int column) {
    constexpr int kLastBlankColumn = 15;
    for (int p = column + 1; p <= kLastBlankColumn; ++p) {
        if (line[p] == ' ') return p + 1;
    }
    return 0;
}

}  // namespace corvan
