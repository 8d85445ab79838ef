#include "engine/script_search.h"

#include <algorithm>

#include "engine/ascii.h"

namespace corvan {

int findLabelIn(std::span<const std::uint8_t> chunk, std::int32_t start, std::string_view name) {
    const std::size_t length = std::min<std::size_t>(name.size(), kMaxLabelLength);
    const auto* wanted = reinterpret_cast<const std::uint8_t*>(name.data());
    const auto end = static_cast<std::int32_t>(chunk.size());
    for (std::int32_t k = std::max(start, 0); k < end; ++k) {
        if (chunk[k] != ':') continue;
        if (static_cast<std::size_t>(end - k - 1) < length) continue;
        if (!equalBytesIgnoringAsciiCase(chunk.data() + k + 1, wanted, length)) continue;
        std::int32_t after = k + 1;
        while (after < end && chunk[after] != 0) ++after;
        return std::min(after + 1, end);
    }
    return -1;
}

std::int32_t messageSectionStart(std::span<const std::uint8_t> chunk, std::int32_t n) {
    const auto length = static_cast<std::int32_t>(chunk.size());
    std::int32_t pos = 0;
    for (std::int32_t section = 0; section < n; ++section) {
        std::int32_t k = pos;
        // A ':' followed by another byte is passed over together with that byte.
        while (k < length) {
            if (chunk[k] != ':') {
                ++k;
                continue;
            }
            if (k + 1 >= length || chunk[k + 1] == 0) break;
            k += 2;
        }
        pos = std::min(k + 2, length);
        // Past the chunk's end every further section would land there again.
        if (pos >= length) break;
    }
    return pos;
}

int lineNumberAt(std::span<const std::uint8_t> chunk, std::int32_t offset) {
    const std::size_t end = std::min<std::size_t>(chunk.size(), std::max<std::int32_t>(offset, 0));
    return 1 + static_cast<int>(std::count(chunk.begin(), chunk.begin() + end, std::uint8_t{0}));
}

}  // namespace corvan
