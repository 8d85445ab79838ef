// The movable message window: dragged with any mouse button. Only every fourth move event
// moves it, which is how the game always felt to drag; the grab point stays under the pointer
// because positions are read in the window's own coordinates.

#include "game/game.h"

namespace corvan {

void Game::TextWindowMouseDown(int x, int y) {
    if (textWindowDrag_.dragging) return;
    textWindowDrag_.dragging = true;
    textWindowDrag_.topLeft = host_.textWindowPosition();
    textWindowDrag_.grab = {x, y};
}

void Game::TextWindowMouseMove(int x, int y) {
    if (!textWindowDrag_.dragging) return;
    ++textWindowDrag_.moves;
    if (textWindowDrag_.moves % 4 != 0) return;
    textWindowDrag_.topLeft.x += x - textWindowDrag_.grab.x;
    textWindowDrag_.topLeft.y += y - textWindowDrag_.grab.y;
    host_.moveTextWindow(textWindowDrag_.topLeft);
}

void Game::TextWindowMouseUp() {
    textWindowDrag_.dragging = false;
}

}  // namespace corvan
