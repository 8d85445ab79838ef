// `Game::Transition`: composes the new picture, then moves the screen to it with one of the
// fifteen effects of render/transitions.cpp at the speed the settings ask for.

#include <string>

#include "game/game.h"
#include "render/transition_effects.h"

namespace corvan {

void Game::Transition(std::int32_t number) {
    Compose();
    BuildFrameBackdrop();
    const int factor = settings.speedFactor;
    const int effect = (factor >= 3 || factor <= 0) ? 0 : number;
    TransitionContext context{screen, layers.composite, layers.diza, factor, random, host_};
    const int frames = runTransitionEffect(effect, context);
    host_.traceEvent("transition " + std::to_string(number) + " frames " + std::to_string(frames));
}

}  // namespace corvan
