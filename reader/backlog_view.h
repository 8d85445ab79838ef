#pragma once

// The backlog as the player sees it: the pages read so far in the game's own font, over the
// picture dimmed, the newest at the bottom; a page whose voice can be heard again carries a ♪.

#include <cstddef>
#include <deque>
#include <vector>

#include "reader/page_book.h"
#include "render/bitmap.h"
#include "render/font.h"

namespace corvan {

class BacklogView {
public:
    // Draws into `target` (640x480) the picture dimmed and the pages up to `bottom` (an index
    // into `pages`), the bottom one marked as the one Enter plays the voice of.
    void draw(Bitmap& target, const Bitmap& picture, const std::deque<Page>& pages,
              std::size_t bottom, TextRenderer& text);
    // The index of the page drawn under a point at the last draw, or -1.
    int pageAt(WindowPoint point) const;

private:
    struct Placed {
        Rect area;
        std::size_t page;
    };
    std::vector<Placed> placed_;
};

}  // namespace corvan
