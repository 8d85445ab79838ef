#pragma once

// Where the keyboard's highlight goes next among the places a click acts on: to the nearest one
// that way on the screen, or, when none lies that way, to the one before or after in reading
// order (round from the last to the first), so that a list answers every arrow and the
// highlight never gets stuck.

#include <vector>

#include "game/game.h"

namespace corvan {

enum class TargetStep { Up, Down, Left, Right, Previous, Next, First, Last };

// The index of the target the highlight goes to from `current` (-1: none highlighted yet), or -1
// when there is no target at all.
int stepTarget(const std::vector<ClickTarget>& targets, int current, TargetStep step);

// The index of the first target whose area holds the point, or -1.
int targetAt(const std::vector<ClickTarget>& targets, WindowPoint point);

}  // namespace corvan
