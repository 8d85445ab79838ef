// The slot list of saved games. Opening it puts the list under the pointer with no row marked
// and latches the mouse, so the press that opened it cannot pick a slot.

#include "engine/game.h"

namespace corvan {

void Game::OpenSlotList(bool saving) {
    savingToSlot = saving;
    RedrawScreen();
    rowCount = kSlotCount;
    hoveredRow = 0;
    inputLatch = true;
    menuKind = 3;
    DrawSlotList(0);
}

// Drawing the rows and picking a slot come with the save files.
void Game::DrawSlotList(std::int32_t /*highlight*/) {}
void Game::SlotPick(std::int32_t /*row*/) {}

}  // namespace corvan
