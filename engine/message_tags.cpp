#include "engine/message_tags.h"

#include "engine/ascii.h"

namespace corvan {

const TextTagEntry* matchTextTag(const std::uint8_t* afterBracket, std::size_t available) {
    for (const TextTagEntry& entry : kTextTags) {
        if (entry.keyword.size() > available) continue;
        const auto* keyword = reinterpret_cast<const std::uint8_t*>(entry.keyword.data());
        if (equalBytesIgnoringAsciiCase(afterBracket, keyword, entry.keyword.size())) return &entry;
    }
    return nullptr;
}

}  // namespace corvan
