// The hotel map mode: the hotel menu and the floor map. Their screens and clicks come with the
// hotel map; until then the menu opens as an empty screen that the right click leaves alone.

#include "engine/game.h"

namespace corvan {

void Game::ShowHotelMenu() { menuKind = 4; }
void Game::HotelMenuClick(int /*x*/, int /*y*/) {}
void Game::FloorMapClick(int /*x*/, int /*y*/) {}

}  // namespace corvan
