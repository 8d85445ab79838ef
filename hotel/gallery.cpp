// The picture galleries and the scene replay screen of the `view` command, and the special
// screen effects of the `special` command. Their screens come with the galleries; until then
// the commands change nothing.

#include "engine/game.h"

namespace corvan {

void Game::OpenView(std::int32_t /*kind*/) {}
void Game::ViewClick(int /*x*/, int /*y*/) {}
void Game::SpecialEffect(std::string_view /*text*/) {}

}  // namespace corvan
