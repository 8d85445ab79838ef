#include "reader/page_book.h"

#include "engine/message_tags.h"

namespace corvan {

ShownLine shownLine(const std::uint8_t* line, std::size_t capacity) {
    ShownLine out;
    std::size_t i = 0;
    while (i < capacity && line[i] != 0) {
        const std::uint8_t b = line[i];
        const std::uint8_t b2 = i + 1 < capacity ? line[i + 1] : 0;
        const auto pair = static_cast<std::uint16_t>(b << 8 | b2);
        if (b == '[') {
            // A tag shows nothing; an unclosed one eats the rest of the line, as in the frame.
            while (i < capacity && line[i] != 0 && line[i] != ']') ++i;
            if (i < capacity && line[i] == ']') ++i;
            continue;
        }
        if (b == '\\' && b2 == 0) {
            out.joins = true;
            break;
        }
        if (pair == kPageWaitMark || pair == kPlainWaitMark || pair == kHeartMark) {
            i += 2;
            continue;
        }
        if (pair == kNewPageMark) {
            out.newPage = true;
            i += 2;
            continue;
        }
        const int count = characterBytes(b, b2);
        out.text.append(reinterpret_cast<const char*>(line + i), static_cast<std::size_t>(count));
        out.cells += count;
        i += static_cast<std::size_t>(count);
    }
    return out;
}

PageId PageBook::pageIdOfLine(const Game& game) {
    // The line just fetched ends just before scriptPos (with its NUL, unless it was the chunk's
    // last bytes): its start is just past the NUL before it.
    std::int32_t end = std::min<std::int32_t>(game.scriptPos, game.scriptLength);
    if (end > 0 && game.scriptBuffer[static_cast<std::size_t>(end - 1)] == 0) --end;
    std::int32_t start = end;
    while (start > 0 && game.scriptBuffer[static_cast<std::size_t>(start - 1)] != 0) --start;
    std::uint32_t hash = 2166136261u;  // FNV-1a over the line's bytes
    for (std::int32_t i = start; i < end; ++i) {
        hash = (hash ^ game.scriptBuffer[static_cast<std::size_t>(i)]) * 16777619u;
    }
    return {game.currentChunk, start, hash};
}

void PageBook::addText(const ShownLine& shown) {
    Page& page = pages_.back();
    if (!shown.text.empty() || shown.joins) {
        if (rowJoins_ && !page.rows.empty()) {
            page.rows.back() += shown.text;
        } else {
            page.rows.push_back(shown.text);
        }
        page.characters += shown.cells;
    }
    rowJoins_ = shown.joins;
}

void PageBook::voice(std::string name) {
    if (open_) {
        pages_.back().voices.push_back(std::move(name));
    } else {
        pendingVoices_.push_back(std::move(name));
    }
}

bool PageBook::pageShown(PageId& shown) {
    if (!open_) return false;
    pages_.back().shownWhole = true;
    shown = pages_.back().id;
    open_ = false;
    return true;
}

}  // namespace corvan
