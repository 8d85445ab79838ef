// The mouse handlers of the screen surface. A left click ends a click wait of the message
// text; menus, the system menu and the view screens take their clicks here as well. The input
// latch keeps the press that opened a menu from also acting on it.

#include "engine/game.h"
#include "render/raster.h"

namespace corvan {

void Game::Image1MouseDown(MouseButton button, int /*x*/, int /*y*/) {
    if (inputLatch) return;
    if (viewFlag == 2) return;
    if (button != MouseButton::Left) return;
    if (menuKind != 0) return;
    RestoreMarkerCorner();
    if (waitKind == 1) {
        waitKind = 0;
        if (altTextMode != 0) {
            draw(layers.composite, 0, 0, layers.background);
            textColumn = 0;
            textLine = 0;
        } else {
            ClearTextFrame();
        }
    } else if (waitKind == 2) {
        waitKind = 0;
    }
}

void Game::Image1MouseMove(int /*x*/, int /*y*/) {}

void Game::Image1MouseUp(MouseButton /*button*/, int /*x*/, int /*y*/) { inputLatch = false; }

}  // namespace corvan
