#include "headless/replay.h"

namespace corvan {

HeadlessPlayer::HeadlessPlayer(GameOptions options)
    : reader_(std::make_unique<Reader>(host_, std::move(options))),
      driver_(*reader_, [this] { return host_.windowClosed(); }) {
    // Voices sound for their length on the virtual clock.
    host_.recordingAudio().setClock(
        [this] { return game().idleCalls * kIdleMilliseconds + host_.pausedMilliseconds(); });
}

}  // namespace corvan
