// The picture galleries of the `view` command: gallery 1 shows five pages of eight pictures,
// every one of which opens; gallery 2 shows five pages of twelve (eight on the last), each of
// which opens only once the story has shown it. The page pictures carry the thumbnails and the
// buttons; this file only knows where they lie. The scene replay menu, view 3, is in
// scene_replay.cpp.

#include <array>
#include <string>
#include <string_view>

#include "engine/ascii.h"
#include "game/game.h"
#include "hotel/gallery_pictures.h"

namespace corvan {

namespace {

using gallery::kGallery1Pictures;
using gallery::kGallery2Pictures;
using gallery::kPageCount;
constexpr int kLastPageItemsOfGallery2 = 8;

// Hit areas; a point on an edge lies outside.
struct Area {
    int left, top, right, bottom;
    bool contains(int x, int y) const { return x > left && x < right && y > top && y < bottom; }
    ClickTarget target() const {
        return {{left + 1, top + 1, right, bottom}, {(left + right) / 2, (top + bottom) / 2}};
    }
};

constexpr Area kCloseButton{512, 14, 604, 44};
constexpr Area kPreviousPage{490, 436, 546, 470};
constexpr Area kNextPage{552, 436, 606, 470};

// The thumbnails of a page: `columns` a row, the first at (left, top), one every (stepX, stepY).
struct Grid {
    int count, columns;
    int left, top, width, height, stepX, stepY;

    // The area of thumbnail i (0-based).
    Area area(int i) const {
        const int column = i % columns;
        const int row = i / columns;
        return {left + stepX * column, top + stepY * row, left + stepX * column + width,
                top + stepY * row + height};
    }
    // The item number (1-based) of the first thumbnail holding (x, y), or 0.
    int itemAt(int x, int y) const {
        for (int i = 0; i < count; ++i) {
            if (area(i).contains(x, y)) return i + 1;
        }
        return 0;
    }
};

constexpr Grid kGallery1Grid{8, 4, 80, 90, 130, 132, 130, 182};
constexpr Grid kGallery2Grid{12, 4, 16, 72, 145, 112, 156, 116};

// "a51%d,N" or "a61%d,N" filled with the page.
std::string pageArgument(bool firstGallery, std::int32_t page, int transition) {
    return gallery::pagePicture(firstGallery, page) + "," + std::to_string(transition);
}

std::string openedArgument(std::string_view picture) {
    return std::string(picture) + ",1";
}

// Gallery 2's picture of an item (1-based) of a page, when it may be opened: it exists and the
// story has shown it (the mark of its number after the letter); empty otherwise.
std::string_view openableInGallery2(std::int32_t page, int item,
                                    const std::array<std::uint8_t, 256>& marks) {
    if (page < 1 || page > kPageCount || item < 1 || item > kGallery2Grid.count) return {};
    if (page == kPageCount && item > kLastPageItemsOfGallery2) return {};
    const std::string_view picture =
        kGallery2Pictures[static_cast<std::size_t>(page - 1)][static_cast<std::size_t>(item - 1)];
    const std::int32_t number = parseDecimal(picture.substr(1));
    if (number < 0 || number >= static_cast<std::int32_t>(marks.size())) return {};
    if (marks[static_cast<std::size_t>(number)] == 0) return {};
    return picture;
}

}  // namespace

void Game::OpenView(std::int32_t kind) {
    viewFlag = ViewFlag::ViewShown;
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
        viewFlag = ViewFlag::Story;
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

    if (viewKind == 1) {
        const int item = kGallery1Grid.itemAt(x, y);
        if (item == 0) return;
        const auto pageIndex = static_cast<std::size_t>(viewState.page - 1);
        ShowPicture(openedArgument(kGallery1Pictures[pageIndex][item - 1]));
        viewState.opened = 1;
    } else if (viewKind == 2) {
        const std::string_view picture =
            openableInGallery2(viewState.page, kGallery2Grid.itemAt(x, y), aMarks);
        if (picture.empty()) return;
        ShowPicture(openedArgument(picture));
        viewState.opened = 1;
    }
}

std::vector<ClickTarget> Game::ViewTargets() const {
    // An opened picture goes back to its page at a click anywhere.
    if (viewState.opened == 1) return {{{0, 0, kScreenWidth, kScreenHeight}, {320, 240}}};
    if (viewKind == 3) return SceneReplayTargets();
    std::vector<ClickTarget> targets;
    if (viewKind == 1 && viewState.page >= 1 && viewState.page <= kPageCount) {
        for (int i = 0; i < kGallery1Grid.count; ++i) {
            targets.push_back(kGallery1Grid.area(i).target());
        }
    } else if (viewKind == 2) {
        for (int i = 0; i < kGallery2Grid.count; ++i) {
            if (!openableInGallery2(viewState.page, i + 1, aMarks).empty()) {
                targets.push_back(kGallery2Grid.area(i).target());
            }
        }
    }
    for (const Area& button : {kPreviousPage, kNextPage, kCloseButton}) {
        targets.push_back(button.target());
    }
    return targets;
}

}  // namespace corvan
