#pragma once

// The pages of the story as the reader keeps them: the text of each page the game showed, the
// voices that went with it, and whether the player had read it before. It learns of them from
// the game's own events (a text line, a voice) and from the game's state after each call, so the
// game needs no part in it. A page is known by its chunk, the place of its first line there and
// a hash of that line, which stay the same from one game to the next.

#include <compare>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "game/game.h"

namespace corvan {

struct PageId {
    std::string chunk;        // the archive's name of the chunk, code page 932
    std::int32_t offset = 0;  // where the page's first line starts in it
    std::uint32_t lineHash = 0;
    // Spelt out: the browser build's standard library has no three-way comparison of strings.
    bool operator==(const PageId&) const = default;
    bool operator<(const PageId& other) const {
        return std::tie(chunk, offset, lineHash) <
               std::tie(other.chunk, other.offset, other.lineHash);
    }
};

struct Page {
    PageId id;
    std::vector<std::string> rows;    // code page 932 text as shown, tags and marks left out
    std::vector<std::string> voices;  // code page 932 names, as the script gave them
    int characters = 0;               // half-width cells of text, for auto-advance's pause
    bool readBefore = false;          // the read record had it when the page began
    bool shownWhole = false;          // it reached a page wait or a choice
};

// A text line as the frame shows it: the characters, without tags and marks. `joins` is set for
// a line that ends in a backslash: the next line goes on on the same row.
struct ShownLine {
    std::string text;
    int cells = 0;
    bool joins = false;
    bool newPage = false;  // the line holds ▽, which opens a new page
};
ShownLine shownLine(const std::uint8_t* line, std::size_t capacity);

class PageBook {
public:
    // Pages kept for the backlog, the page on screen included.
    static constexpr std::size_t kKept = 200;

    // The game has just fetched the text line in its line buffer. `readBefore` says whether the
    // read record has a page; it is asked once, when a page begins.
    template <typename ReadCheck>
    void textLine(const Game& game, ReadCheck readBefore) {
        const ShownLine shown = shownLine(game.lineBuffer.data(), Game::kLineBufferSize);
        // A new page: ▽, or a frame the game opens afresh (after a chapter, a load, the map).
        if (shown.newPage || !game.frameOpen) closePage();
        if (!open_) beginPage(game, readBefore);
        addText(shown);
    }
    // A voice started (its name in code page 932); it goes with the page on screen, or with the
    // next page when none is open.
    void voice(std::string name);
    // The page on screen has been shown whole (a page wait, a choice under it): it closes, and
    // the next text begins the next page (after a choice the branch's text is a page of its
    // own, though the frame still shows the question). True with `shown` set to its id when a
    // page was open.
    bool pageShown(PageId& shown);

    const std::deque<Page>& pages() const { return pages_; }
    // The page on screen, if any text has been shown since the last page closed.
    const Page* openPage() const { return open_ ? &pages_.back() : nullptr; }

private:
    template <typename ReadCheck>
    void beginPage(const Game& game, ReadCheck readBefore) {
        Page page;
        page.id = pageIdOfLine(game);
        page.readBefore = readBefore(page.id);
        page.voices = std::move(pendingVoices_);
        pendingVoices_.clear();
        pages_.push_back(std::move(page));
        if (pages_.size() > kKept) pages_.pop_front();
        open_ = true;
        rowJoins_ = false;
    }
    static PageId pageIdOfLine(const Game& game);
    void addText(const ShownLine& shown);
    void closePage() { open_ = false; }

    std::deque<Page> pages_;
    std::vector<std::string> pendingVoices_;
    bool open_ = false;
    bool rowJoins_ = false;  // the last line ended in a backslash
};

}  // namespace corvan
