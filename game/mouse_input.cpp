// The mouse handlers of the screen surface. A left click ends a click wait of the message
// text or picks a row of whatever menu is shown; a right click opens or closes the system
// menu. The input latch keeps the press that opened a menu from also acting on it.

#include "game/game.h"
#include "render/raster.h"

namespace corvan {

namespace {
// The hover band of the system menu and the slot list reaches past the drawn panel, to x 271.
constexpr int kListLeft = 16;
constexpr int kListRight = 272;
constexpr int kListTop = 24;
constexpr int kListRowHeight = 20;
}  // namespace

void Game::Image1MouseDown(MouseButton button, int x, int y) {
    if (inputLatch) return;
    // What the player does may lead the story out of any loop.
    loopWatch_.restart();
    if (viewFlag == ViewFlag::ViewShown) {
        ViewClick(x, y);
        return;
    }
    if (button == MouseButton::Right) {
        if (menuKind == MenuKind::None) {
            // While the menu is blocked the click changes nothing at all.
            if (systemMenuBlocked()) return;
            // A fresh menu has no row under the pointer until the pointer moves.
            hoveredRow = 0;
            DrawSystemMenu(0);
        } else if (menuKind == MenuKind::System) {
            menuKind = MenuKind::None;
            RedrawScreen();
        } else if (menuKind == MenuKind::FloorMap) {
            ShowHotelMenu();
            inputLatch = true;
        }
        return;
    }
    if (button != MouseButton::Left) return;
    if (menuKind == MenuKind::None) {
        RestoreMarkerCorner();
        if (waitKind == WaitKind::Page) {
            waitKind = WaitKind::None;
            if (altTextMode != AltTextMode::Off) {
                draw(layers.composite, 0, 0, layers.background);
                textColumn = 0;
                textLine = 0;
            } else {
                ClearTextFrame();
            }
        } else if (waitKind == WaitKind::Plain) {
            waitKind = WaitKind::None;
        }
        return;
    }
    if (hoveredRow != 0) PlayVoice("90023");
    switch (menuKind) {
        case MenuKind::Choice: ChoicePick(); break;
        case MenuKind::System:
            if (hoveredRow != 0) {
                SystemMenuAction(hoveredRow);
            } else {
                menuKind = MenuKind::None;
                RedrawScreen();
            }
            break;
        case MenuKind::Slots:
            if (hoveredRow != 0) SlotPick(hoveredRow);
            break;
        case MenuKind::Hotel:
            inputLatch = true;
            HotelMenuClick(x, y);
            break;
        case MenuKind::FloorMap:
            inputLatch = true;
            FloorMapClick(x, y);
            break;
        default: break;
    }
}

void Game::Image1MouseMove(int x, int y) {
    if (viewFlag == ViewFlag::ViewShown || inputLatch) return;
    if (menuKind == MenuKind::Choice) {
        ChoiceHover(x, y);
        return;
    }
    if (menuKind != MenuKind::System && menuKind != MenuKind::Slots) return;
    int row = 0;
    if (x > kListLeft && x < kListRight && y > kListTop &&
        y < kListTop + kListRowHeight * rowCount) {
        row = (y - kListTop) / kListRowHeight + 1;
    }
    if (row == hoveredRow) return;
    if (menuKind == MenuKind::System) {
        DrawSystemMenu(row);
    } else {
        DrawSlotList(row);
    }
    hoveredRow = row;
}

std::optional<WindowPoint> Game::MenuRowPoint(std::int32_t row) const {
    if (row < 1 || row > rowCount || viewFlag == ViewFlag::ViewShown) return std::nullopt;
    if (menuKind == MenuKind::Choice) return choiceRowPoint(row);
    if (menuKind != MenuKind::System && menuKind != MenuKind::Slots) return std::nullopt;
    return WindowPoint{kListLeft + 100, kListTop + kListRowHeight * (row - 1) + kListRowHeight / 2};
}

std::vector<ClickTarget> Game::ClickTargets() const {
    if (viewFlag == ViewFlag::ViewShown) return ViewTargets();
    if (menuKind == MenuKind::Hotel || menuKind == MenuKind::FloorMap) return HotelTargets();
    std::vector<ClickTarget> targets;
    for (std::int32_t row = 1; row <= rowCount; ++row) {
        const auto at = MenuRowPoint(row);
        if (!at) break;
        const int top = menuKind == MenuKind::Choice ? at->y - 10 : at->y - kListRowHeight / 2;
        targets.push_back({{kListLeft + 1, top, kListRight, top + kListRowHeight}, *at, true});
    }
    return targets;
}

void Game::Image1MouseUp(MouseButton /*button*/, int /*x*/, int /*y*/) {
    inputLatch = false;
}

}  // namespace corvan
