// The choice menu of the `select` command: up to nine rows drawn over the picture, silver text
// on the row background and white for the row under the pointer. A pick jumps into the branch
// labelled CASE and the row's digit.

#include <algorithm>

#include "game/game.h"
#include "render/raster.h"

namespace corvan {

namespace {
constexpr int kRowLeft = 16;
constexpr int kRowTop = 16;
constexpr int kRowHeight = 36;
constexpr int kRowRight = 292;  // exclusive bound of the hover band
constexpr std::size_t kMaxChoiceBytes = 31;
constexpr std::uint32_t kSilver = 0xC0C0C0;
}  // namespace

// A branch label holds one digit, so at most nine rows can be picked; a count of nine keeps
// the rows above the message frame. A count below one opens no menu at all, so the story is
// never left waiting on a menu no click can close.
void Game::OpenChoiceMenu(std::int32_t count) {
    PlayVoice("90022");
    fetchLine = true;
    if (count < 1) {
        rowCount = 0;
        return;
    }
    rowCount = std::min(count, kMaxChoiceRows);
    DrawChoiceRows(0);
}

void Game::DrawChoiceRows(std::int32_t highlight) {
    Bitmap& work = layers.menuWork;
    work.resize(276, 36);
    menuKind = MenuKind::Choice;
    std::int32_t reading = scriptPos;
    for (int j = 0; j < rowCount; ++j) {
        const int y = kRowTop + kRowHeight * j;
        std::string label;
        while (reading < scriptLength && scriptBuffer[reading] != 0) {
            if (label.size() < kMaxChoiceBytes)
                label.push_back(static_cast<char>(scriptBuffer[reading]));
            ++reading;
        }
        if (reading < scriptLength) ++reading;  // past the NUL

        draw(screen, kRowLeft, y, layers.selectBackground);
        if (j + 1 != highlight) {
            fillRect(work, {0, 0, work.width(), work.height()}, 0xFFFFFF);
            text().drawText(work, 10, 10, label, menuFont, 0x000000);
            draw(screen, kRowLeft, y, work, RasterOp::And);
            fillRect(work, {0, 0, work.width(), work.height()}, 0x000000);
            text().drawText(work, 10, 10, label, menuFont, kSilver);
            draw(screen, kRowLeft, y, work, RasterOp::Or);
        } else {
            fillRect(work, {0, 0, work.width(), work.height()}, 0x000000);
            text().drawText(work, 10, 10, label, menuFont, 0xFFFFFF);
            draw(screen, kRowLeft, y, work, RasterOp::Or);
        }
    }
    updatePending = true;
    hoveredRow = 0;
}

void Game::ChoiceHover(int x, int y) {
    int row = 0;
    if (x > kRowLeft && x < kRowRight && y > kRowTop && y < kRowTop + kRowHeight * rowCount) {
        row = (y - kRowTop) / kRowHeight + 1;
    }
    if (row == hoveredRow) return;
    DrawChoiceRows(row);
    hoveredRow = row;
}

WindowPoint Game::choiceRowPoint(std::int32_t row) {
    return {kRowLeft + 100, kRowTop + kRowHeight * (row - 1) + kRowHeight / 2};
}

void Game::ChoicePick() {
    if (hoveredRow == 0) return;
    PlayVoice("90023");
    RedrawScreen();
    JumpToCase(hoveredRow);
    menuKind = MenuKind::None;
}

}  // namespace corvan
