// The slot list of saved games: a grey panel of nine rows at (16, 16), the cancel row and slots
// 1 to 8, drawn in the menu work bitmap. Opening it latches the mouse, so the press that opened
// it cannot also pick a slot. Every save or load attempt ends in the hotel menu.

#include "game/game.h"
#include "render/raster.h"
#include "ui/saves.h"

namespace corvan {

namespace {
constexpr int kPanelLeft = 16;
constexpr int kPanelTop = 16;
constexpr int kPanelWidth = 112;
constexpr int kRowHeight = 20;
constexpr int kLabelInset = 8;
constexpr std::uint32_t kGrey = 0x808080;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
}  // namespace

void Game::OpenSlotList(bool saving) {
    RedrawScreen();
    savingToSlot = saving;
    std::array<bool, saves::kLastSlot> present{};
    for (int s = saves::kFirstSlot; s <= saves::kLastSlot; ++s) {
        present[static_cast<std::size_t>(s - 1)] = host_.files().opensForReading(SaveFilePath(s));
    }
    slotLabels = saves::slotListLabels(saving, present);
    // The list starts with no row under the pointer, whatever the menu before it had hovered.
    hoveredRow = 0;
    DrawSlotList(0);
    inputLatch = true;
    menuKind = MenuKind::Slots;
}

void Game::DrawSlotList(std::int32_t highlight) {
    rowCount = kSlotListRows;
    Bitmap& work = layers.menuWork;
    work.resize(kPanelWidth, 2 * kLabelInset + kRowHeight * kSlotListRows);
    fillRect(work, {0, 0, work.width(), work.height()}, kGrey);
    for (int i = 0; i < kSlotListRows; ++i) {
        const std::uint32_t colour = i + 1 == highlight ? kWhite : kBlack;
        text().drawText(work, kLabelInset, kLabelInset + kRowHeight * i,
                        slotLabels[static_cast<std::size_t>(i)], menuFont, colour);
    }
    draw(screen, kPanelLeft, kPanelTop, work);
    updatePending = true;
}

void Game::SlotPick(std::int32_t row) {
    if (row < 1 || row > kSlotListRows) return;
    menuKind = MenuKind::None;
    RedrawScreen();
    if (row == 1) {
        // A list opened by the story itself hands the story back; once the hotel menu has
        // opened a list, every cancel returns there.
        if (returnToHotelMark != 0) ShowHotelMenu();
        return;
    }
    const std::int32_t slot = row - 1;
    if (savingToSlot) {
        inputLatch = true;
        SaveSlot(slot);
    } else {
        LoadSlot(slot);
    }
    ShowHotelMenu();
}

}  // namespace corvan
