// The scene replay menu, view 3 of the `view` command: 27 cells, each a scene of the story that
// an E value unlocks. A cell starts its scene as a called chunk; the scene's `end` comes back to
// the chunk that opened the menu and shows the menu again (see `end` in engine/commands.cpp).

#include <array>
#include <string_view>

#include "engine/game.h"

namespace corvan {

namespace {

constexpr std::string_view kMenuPicture = "A531,13";

constexpr int kCellCount = 27;
constexpr int kCellColumns = 3;

// Hit areas; a point on an edge lies outside.
constexpr bool inside(int x, int y, int left, int top, int right, int bottom) {
    return x > left && x < right && y > top && y < bottom;
}

bool onCloseButton(int x, int y) {
    return inside(x, y, 512, 16, 604, 54);
}

// The number (1-based) of the first cell holding (x, y), or 0.
int cellAt(int x, int y) {
    for (int i = 0; i < kCellCount; ++i) {
        const int left = 29 + 195 * (i % kCellColumns);
        const int top = 71 + 44 * (i / kCellColumns);
        if (inside(x, y, left, top, left + 188, top + 40)) return i + 1;
    }
    return 0;
}

// The scene chunk of each cell; cells 14 and 15 have none.
constexpr std::array<std::string_view, kCellCount> kSceneChunks{
    "H2_B_A", "H2_k_A", "H2_D_A", "H2_M_A", "H2_F_A", "H2_G_A", "H2_A_A",  // 1-7
    "H2_L_A", "H2_E_A", "H2_H_A", "H2_O_A", "H2_J_A", "H2_N_A",            // 8-13
    "",       "",                                                          // 14-15
    "H2_c_M", "H2_A_M", "H2_J_m", "H2_H_M", "H2_E_M", "H2_g_m",            // 16-21
    "H2_K_M", "H2_D_M", "H2_M_m", "H2_F_M", "H2_P_M", "H2_N_m",            // 22-27
};

}  // namespace

void Game::OpenSceneReplay() {
    // The running chunk waits as a caller does, so that a scene's `end` comes back here.
    callBuffer = scriptBuffer;
    callReturnPos = scriptPos;
    callReturnLength = scriptLength;
    ShowPicture(kMenuPicture);
}

void Game::SceneReplayClick(int x, int y) {
    if (onCloseButton(x, y)) {
        viewKind = 0;
        viewFlag = 0;
        return;
    }
    const int cell = cellAt(x, y);
    if (cell == 0) return;
    const std::string_view scene = kSceneChunks[static_cast<std::size_t>(cell - 1)];
    if (scene.empty() || vars.e(cell) == 0) return;

    viewFlag = 0;
    // The scene's name goes through the picture command as the original did; as no picture
    // name starts with H, only the window is repainted.
    ShowPicture(scene);
    // A missing scene leaves the story to go on after its `view` line.
    if (LoadChunk(scene)) inCall = true;
}

}  // namespace corvan
