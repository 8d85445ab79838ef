#include "headless/replay.h"

namespace corvan {

HeadlessPlayer::HeadlessPlayer(GameOptions options)
    : reader_(std::make_unique<Reader>(host_, std::move(options))),
      driver_(*reader_, [this] { return host_.windowClosed(); }) {
    host_.clockVoicesBy([this] { return driver_.playedMilliseconds(); });
}

}  // namespace corvan
