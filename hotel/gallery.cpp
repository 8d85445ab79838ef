// The picture galleries and the scene replay screen of the `view` command.

#include "engine/game.h"

namespace corvan {

void Game::ViewClick(int /*x*/, int /*y*/) {}

}  // namespace corvan
