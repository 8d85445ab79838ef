// The system menu of the right click: settings, quit and load, drawn grey over the picture.

#include <array>
#include <string>

#include "engine/cp932.h"
#include "game/game.h"
#include "render/raster.h"

namespace corvan {

namespace {
constexpr std::uint32_t kGrey = 0x808080;

const std::array<std::string, 3>& labels() {
    static const std::array<std::string, 3> kLabels = {
        utf8ToCp932("システム設定").value_or(""),
        utf8ToCp932("ゲーム終了").value_or(""),
        utf8ToCp932("ロード").value_or(""),
    };
    return kLabels;
}
}  // namespace

bool Game::systemMenuBlocked() const {
    return vars.TestFlag(kSystemMenuBlockFlag) || altTextMode != AltTextMode::Off;
}

void Game::DrawSystemMenu(std::int32_t highlight) {
    if (systemMenuBlocked()) return;
    rowCount = (inCall || inMessage) ? 2 : 3;
    Bitmap& work = layers.menuWork;
    work.resize(208, 16 + 20 * rowCount);
    fillRect(work, {0, 0, work.width(), work.height()}, kGrey);
    menuKind = MenuKind::System;
    for (int i = 0; i < rowCount; ++i) {
        const std::uint32_t colour = i + 1 == highlight ? 0xFFFFFF : 0x000000;
        text().drawText(work, 8, 8 + 20 * i, labels()[static_cast<std::size_t>(i)], menuFont,
                        colour);
    }
    draw(screen, 16, 16, work);
    updatePending = true;
}

void Game::SystemMenuAction(std::int32_t row) {
    switch (row) {
        case 1:
            host_.runSettingsDialog();
            ApplySettings();
            hoveredRow = 0;
            menuKind = MenuKind::None;
            RedrawScreen();
            break;
        case 2: host_.closeMainWindow(); break;
        case 3: OpenSlotList(false); break;
        default: break;
    }
}

}  // namespace corvan
