// The picture galleries of the `view` command: gallery 1 shows five pages of eight pictures,
// every one of which opens; gallery 2 shows five pages of twelve (eight on the last), each of
// which opens only once the story has shown it. The page pictures carry the thumbnails and the
// buttons; this file only knows where they lie. The scene replay menu, view 3, is in
// scene_replay.cpp.

#include <array>
#include <cstdio>
#include <string>
#include <string_view>

#include "engine/ascii.h"
#include "engine/game.h"

namespace corvan {

namespace {

constexpr int kPageCount = 5;
constexpr int kLastPageItemsOfGallery2 = 8;

// Hit areas; a point on an edge lies outside.
struct Area {
    int left, top, right, bottom;
    bool contains(int x, int y) const { return x > left && x < right && y > top && y < bottom; }
};

constexpr Area kCloseButton{512, 14, 604, 44};
constexpr Area kPreviousPage{490, 436, 546, 470};
constexpr Area kNextPage{552, 436, 606, 470};

// The thumbnails of a page: `columns` a row, the first at (left, top), one every (stepX, stepY).
struct Grid {
    int count, columns;
    int left, top, width, height, stepX, stepY;

    // The item number (1-based) of the first thumbnail holding (x, y), or 0.
    int itemAt(int x, int y) const {
        for (int i = 0; i < count; ++i) {
            const int column = i % columns;
            const int row = i / columns;
            const Area a{left + stepX * column, top + stepY * row, left + stepX * column + width,
                         top + stepY * row + height};
            if (a.contains(x, y)) return i + 1;
        }
        return 0;
    }
};

constexpr Grid kGallery1Grid{8, 4, 80, 90, 130, 132, 130, 182};
constexpr Grid kGallery2Grid{12, 4, 16, 72, 145, 112, 156, 116};

// The picture behind each thumbnail, by page. Gallery 1 shows some pictures twice.
constexpr std::array<std::array<std::string_view, 8>, kPageCount> kGallery1Pictures{{
    {"A200", "A201", "A202", "A203", "A204", "A205", "A205", "A206"},
    {"A207", "A208", "A209", "A210", "A211", "A212", "A213", "A214"},
    {"A215", "A216", "A217", "A217", "A218", "A219", "A220", "A221"},
    {"A222", "A223", "A224", "A225", "A226", "A227", "A228", "A229"},
    {"A230", "A231", "A232", "A233", "A236", "A235", "A235", "A234"},
}};

// Gallery 2's last page has eight pictures; its empty places are never opened.
constexpr std::array<std::array<std::string_view, 12>, kPageCount> kGallery2Pictures{{
    {"A001", "A002", "A003", "A004", "A005", "A006", "A007", "A008", "A009", "A013", "A014",
     "A017"},
    {"A022", "A024", "A025", "A026", "A028", "A029", "A030", "A031", "A033", "A034", "A035",
     "A036"},
    {"A037", "A038", "A039", "A040", "A041", "A043", "A044", "A045", "A046", "A047", "A048",
     "A050"},
    {"A051", "A052", "A053", "A054", "A056", "A058", "A059", "A060", "A061", "A062", "A063",
     "A064"},
    {"A065", "A066", "A067", "A118", "A018", "A068", "A057", "A072", "", "", "", ""},
}};

// "a51%d,N" or "a61%d,N" filled with the page.
std::string pageArgument(bool firstGallery, std::int32_t page, int transition) {
    char text[32];
    std::snprintf(text, sizeof text, firstGallery ? "a51%d,%d" : "a61%d,%d", page, transition);
    return text;
}

std::string openedArgument(std::string_view picture) {
    return std::string(picture) + ",1";
}

}  // namespace

void Game::OpenView(std::int32_t kind) {
    viewFlag = 2;
    viewKind = kind;
    viewState.page = 1;
    viewState.opened = 0;
    if (kind == 1) {
        ShowPicture(pageArgument(true, viewState.page, 12));
    } else if (kind == 2) {
        ShowPicture(pageArgument(false, viewState.page, 12));
    } else if (kind == 3) {
        OpenSceneReplay();
    }
}

void Game::ViewClick(int x, int y) {
    inputLatch = true;
    if (viewState.opened == 1) {
        // Any click on an opened picture, even on a button's place, only goes back to its page.
        viewState.opened = 0;
        if (viewKind == 1 || viewKind == 2) {
            ShowPicture(pageArgument(viewKind == 1, viewState.page, 1));
        }
        return;
    }
    if (viewKind == 3) {
        SceneReplayClick(x, y);
        return;
    }

    // Views 1, 2 and any other number share the buttons; an unknown number turns the pages of
    // gallery 2.
    if (kCloseButton.contains(x, y)) {
        viewFlag = 0;
        viewKind = 0;
        return;
    }
    if (kPreviousPage.contains(x, y)) {
        viewState.page = viewState.page - 1 == 0 ? kPageCount : viewState.page - 1;
        ShowPicture(pageArgument(viewKind == 1, viewState.page, 1));
        return;
    }
    if (kNextPage.contains(x, y)) {
        viewState.page = viewState.page + 1 > kPageCount ? 1 : viewState.page + 1;
        ShowPicture(pageArgument(viewKind == 1, viewState.page, 1));
        return;
    }
    if (viewState.page < 1 || viewState.page > kPageCount) return;
    const auto pageIndex = static_cast<std::size_t>(viewState.page - 1);

    if (viewKind == 1) {
        const int item = kGallery1Grid.itemAt(x, y);
        if (item == 0) return;
        ShowPicture(openedArgument(kGallery1Pictures[pageIndex][item - 1]));
        viewState.opened = 1;
    } else if (viewKind == 2) {
        const int item = kGallery2Grid.itemAt(x, y);
        if (item == 0) return;
        if (viewState.page == kPageCount && item > kLastPageItemsOfGallery2) return;
        const std::string_view picture = kGallery2Pictures[pageIndex][item - 1];
        // Only a picture the story has shown opens: its number after the letter is its mark.
        const std::int32_t number = parseDecimal(picture.substr(1));
        if (number < 0 || number >= static_cast<std::int32_t>(aMarks.size())) return;
        if (aMarks[static_cast<std::size_t>(number)] == 0) return;
        ShowPicture(openedArgument(picture));
        viewState.opened = 1;
    }
}

}  // namespace corvan
