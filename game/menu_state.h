#pragma once

// The menus drawn over the story: the choice menu, the system menu, the slot list and the hotel
// mode's menu and floor map.

#include <array>
#include <cstdint>
#include <string>

#include "render/font.h"

namespace corvan {

// Which menu is up; the story does not run while one is.
enum class MenuKind : std::int32_t {
    None = 0,
    Choice = 1,
    System = 2,
    Slots = 3,
    Hotel = 4,
    FloorMap = 5,
};

struct MenuState {
    static constexpr int kMaxChoiceRows = 9;
    static constexpr int kSlotCount = 8;
    // The cancel row and slots 1 to 8.
    static constexpr int kSlotListRows = 9;
    static constexpr int kSystemMenuBlockFlag = 19;

    MenuKind menuKind = MenuKind::None;
    std::int32_t rowCount = 0;
    std::int32_t hoveredRow = 0;
    bool inputLatch = false;
    bool savingToSlot = false;  // the slot list saves rather than loads
    FontSpec menuFont{"ＭＳＰゴシック", 16, true};
    FontSpec cellFont{"ＭＳＰゴシック", 16, true};  // the 32x32 glyph cell of the alternate mode
    // The hotel menu sets it to 4 when it opens the slot list; nothing clears it.
    std::int32_t returnToHotelMark = 0;
    // Code page 932 labels of the slot list's rows, built when the list opens.
    std::array<std::string, kSlotListRows> slotLabels{};
};

}  // namespace corvan
