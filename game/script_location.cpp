#include <algorithm>

#include "engine/cp932.h"
#include "game/game.h"

namespace corvan {

std::string Game::ScriptLocation() const {
    if (currentChunk.empty()) return {};
    // The line fetched last ends just before `scriptPos`: count the line ends before it.
    const auto end = std::min(std::max(scriptPos, 0), scriptLength);
    const auto breaks = std::count(scriptBuffer.begin(), scriptBuffer.begin() + end, 0);
    return cp932ToUtf8(currentChunk) + ":" + std::to_string(std::max<std::ptrdiff_t>(breaks, 1));
}

}  // namespace corvan
