// The scene replay menu, view 3 of the `view` command: 27 cells, each a scene of the story that
// an E value unlocks. A cell starts its scene as a called chunk; the scene's `end` comes back to
// the chunk that opened the menu and shows the menu again (see `end` in game/commands.cpp).

#include <string>
#include <string_view>

#include "game/game.h"
#include "hotel/gallery_pictures.h"

namespace corvan {

namespace {

constexpr int kCellCount = gallery::kSceneCellCount;
constexpr int kCellColumns = 3;

// Hit areas; a point on an edge lies outside.
constexpr bool inside(int x, int y, int left, int top, int right, int bottom) {
    return x > left && x < right && y > top && y < bottom;
}

constexpr Rect kCloseButton{512, 16, 604, 54};

bool onCloseButton(int x, int y) {
    return inside(x, y, kCloseButton.left, kCloseButton.top, kCloseButton.right,
                  kCloseButton.bottom);
}

// Cell i (0-based): its hit area, edges outside.
constexpr Rect cellArea(int i) {
    const int left = 29 + 195 * (i % kCellColumns);
    const int top = 71 + 44 * (i / kCellColumns);
    return {left, top, left + 188, top + 40};
}

// The number (1-based) of the first cell holding (x, y), or 0.
int cellAt(int x, int y) {
    for (int i = 0; i < kCellCount; ++i) {
        const Rect a = cellArea(i);
        if (inside(x, y, a.left, a.top, a.right, a.bottom)) return i + 1;
    }
    return 0;
}

ClickTarget targetOf(const Rect& a) {
    return {{a.left + 1, a.top + 1, a.right, a.bottom},
            {(a.left + a.right) / 2, (a.top + a.bottom) / 2}};
}

}  // namespace

void Game::OpenSceneReplay() {
    // The running chunk waits as a caller does, so that a scene's `end` comes back here.
    saveCaller();
    ShowPicture(std::string(gallery::kSceneMenuPicture) + ",13");
}

std::vector<ClickTarget> Game::SceneReplayTargets() const {
    std::vector<ClickTarget> targets;
    for (int i = 0; i < kCellCount; ++i) {
        const bool unlocked =
            !gallery::kSceneChunks[static_cast<std::size_t>(i)].empty() && vars.e(i + 1) != 0;
        if (unlocked) targets.push_back(targetOf(cellArea(i)));
    }
    targets.push_back(targetOf(kCloseButton));
    return targets;
}

void Game::SceneReplayClick(int x, int y) {
    if (onCloseButton(x, y)) {
        viewKind = 0;
        viewFlag = ViewFlag::Story;
        return;
    }
    const int cell = cellAt(x, y);
    if (cell == 0) return;
    const std::string_view scene = gallery::kSceneChunks[static_cast<std::size_t>(cell - 1)];
    if (scene.empty() || vars.e(cell) == 0) return;

    viewFlag = ViewFlag::Story;
    // The scene's name goes through the picture command as the original did; as no picture
    // name starts with H, only the window is repainted.
    ShowPicture(scene);
    // A missing scene leaves the story to go on after its `view` line.
    if (LoadChunk(scene)) inCall = true;
}

}  // namespace corvan
