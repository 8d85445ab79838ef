#pragma once

// Small helpers shared by the scenario tests that play a script through TestGame.

#include "settings/setting_names.h"
#include "support/test_game.h"

namespace corvan::test {

// Starts the game at the fast text speed, where a whole text line shows in one step.
inline Game& startFast(TestGame& t) {
    t.host().writeSetting(setting::kDelay, "1");
    return t.start();
}

}  // namespace corvan::test
