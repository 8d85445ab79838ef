#include "headless/replay.h"

namespace corvan {

HeadlessPlayer::HeadlessPlayer(GameOptions options)
    : game_(std::make_unique<Game>(host_, options)),
      driver_(*game_, [this] { return host_.windowClosed(); }) {}

}  // namespace corvan
