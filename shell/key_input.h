#pragma once

// The Qt window's keys under the names the game's key map knows (reader/key_map.h), so that the
// window answers exactly the keys every other host answers.

#include <Qt>
#include <optional>

#include "reader/key_map.h"
#include "reader/keys.h"

namespace corvan::shell {

// The game's key for a Qt key code, or nullopt for a key the game does not answer.
std::optional<Key> gameKey(int qtKey);
KeyModifiers gameModifiers(Qt::KeyboardModifiers modifiers);

}  // namespace corvan::shell
