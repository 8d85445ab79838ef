#include "web/key_map.h"

namespace corvan::web {

GameKey gameKey(std::string_view key, bool alt) {
    if (key == "Enter") return alt ? GameKey::None : GameKey::Advance;
    if (key == " ") return GameKey::Advance;
    if (key == "Escape") return GameKey::Back;
    if (key == "ArrowUp" || key == "ArrowLeft") return GameKey::PreviousRow;
    if (key == "ArrowDown" || key == "ArrowRight") return GameKey::NextRow;
    return GameKey::None;
}

}  // namespace corvan::web
