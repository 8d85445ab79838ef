#include "hotel/hotel_plates.h"

#include <algorithm>
#include <array>

namespace corvan::hotel {

namespace {

constexpr int kLabelHeight = 24;
constexpr int kSmallLabelHeight = 16;  // for the labels too long for the plate at 24

// The menu: one plate every 80 rows from y = 20 in the column x = 30.
constexpr int kMenuLeft = 30;
constexpr int kMenuTop = 20;
constexpr int kMenuBottom = 320;  // the last row of the band of the fourth plate
constexpr int kRowPitch = 80;
constexpr int kBandRows = 60;  // (y - top) mod 80 up to this hits a plate
constexpr int kBandColumns = 100;

constexpr std::array<Plate, 4> kMenuPlates{{
    {"  移動", kMenuLeft, 20, kLabelHeight},
    {"  徴収", kMenuLeft, 100, kLabelHeight},
    {" ロード", kMenuLeft, 180, kLabelHeight},
    {" セーブ", kMenuLeft, 260, kLabelHeight},
}};

// The map: three columns 120 apart from x = 50, five rows 80 apart from y = 40. Floors run up
// the first two columns, 1F at the bottom left; the third column holds the basement at the
// bottom, then the elevator, the lounge and the two room plates of the current floor.
constexpr int kMapLeft = 50;
constexpr int kMapTop = 40;
constexpr int kMapRight = 390;   // last column of the third column's band
constexpr int kMapBottom = 420;  // last row of the fifth row's band
constexpr int kColumnPitch = 120;
constexpr int kMapRows = 5;

constexpr int kColumnX[] = {50, 170, 290};
constexpr int kRowY[] = {40, 120, 200, 280, 360};

constexpr std::array<Plate, 13> kFloorPlates{{
    {"　 ５Ｆ", kColumnX[0], kRowY[0], kLabelHeight},
    {"　 ４Ｆ", kColumnX[0], kRowY[1], kLabelHeight},
    {"　 ３Ｆ", kColumnX[0], kRowY[2], kLabelHeight},
    {"　 ２Ｆ", kColumnX[0], kRowY[3], kLabelHeight},
    {"　 １Ｆ", kColumnX[0], kRowY[4], kLabelHeight},
    {"　１０Ｆ", kColumnX[1], kRowY[0], kLabelHeight},
    {"　 ９Ｆ", kColumnX[1], kRowY[1], kLabelHeight},
    {"　 ８Ｆ", kColumnX[1], kRowY[2], kLabelHeight},
    {"　 ７Ｆ", kColumnX[1], kRowY[3], kLabelHeight},
    {"　 ６Ｆ", kColumnX[1], kRowY[4], kLabelHeight},
    {" 休憩室", kColumnX[2], kRowY[2], kLabelHeight},
    {"エレベーター", kColumnX[2], kRowY[3], kSmallLabelHeight},
    {"　Ｂ１Ｆ", kColumnX[2], kRowY[4], kLabelHeight},
}};

// Room plates: the lower one at y = 120, the upper one at y = 40.
constexpr std::array<Plate, 1> kBasementRooms{{{" 発電室", kColumnX[2], kRowY[1], kLabelHeight}}};
constexpr std::array<Plate, 2> kFirstFloorRooms{{
    {" レストラン", kColumnX[2], kRowY[0], kSmallLabelHeight},
    {" ロビー", kColumnX[2], kRowY[1], kLabelHeight},
}};
constexpr std::array<Plate, 2> kSecondFloorRooms{{
    {"　ジム", kColumnX[2], kRowY[0], kLabelHeight},
    {" プール", kColumnX[2], kRowY[1], kLabelHeight},
}};
constexpr std::array<Plate, 1> kTopFloorRooms{{{"　バー", kColumnX[2], kRowY[1], kLabelHeight}}};

}  // namespace

std::span<const Plate> menuPlates() {
    return kMenuPlates;
}

MenuItem menuItemAt(int x, int y) {
    if (x < kMenuLeft || x > kMenuLeft + kBandColumns || y < kMenuTop || y > kMenuBottom) {
        return MenuItem::None;
    }
    if ((y - kMenuTop) % kRowPitch > kBandRows) return MenuItem::None;
    switch ((y - kMenuTop) / kRowPitch) {
        case 0: return MenuItem::Move;
        case 1: return MenuItem::Collect;
        case 2: return MenuItem::Load;
        default: return MenuItem::Save;
    }
}

int bagCount(std::int32_t collected) {
    return std::clamp(collected / 20, 0, kMaxBags);
}

Point bagCorner(int i) {
    return {(i % 4) * kBagSize + 4, (i / 4) * kBagSize + 4};
}

std::span<const Plate> floorPlates() {
    return kFloorPlates;
}

std::span<const Plate> roomPlates(std::int32_t floor) {
    switch (floor) {
        case 0: return kBasementRooms;
        case 1: return kFirstFloorRooms;
        case 2: return kSecondFloorRooms;
        case 10: return kTopFloorRooms;
        default: return {};
    }
}

int mapCellAt(int x, int y) {
    if (x < kMapLeft || x > kMapRight || y < kMapTop || y > kMapBottom) return kNoCell;
    if ((y - kMapTop) % kRowPitch > kBandRows) return kNoCell;
    if ((x - kMapLeft) % kColumnPitch > kBandColumns) return kNoCell;
    const int column = (x - kMapLeft) / kColumnPitch;
    const int row = (y - kMapTop) / kRowPitch;
    return kMapRows * column + (kMapRows - 1) - row;
}

// Floors the map has no plate for land where the arithmetic puts them; the marker is drawn
// there all the same, off the grid or off the screen. Far-off corners are held within a range
// where the marker's rectangle still fits an int; drawing clips them away anyway.
Point markerCorner(std::int32_t floor) {
    if (floor == 0) return {kColumnX[2], kRowY[4]};
    const std::int64_t step = static_cast<std::int64_t>(floor) - 1;
    const std::int64_t x = (step / kMapRows) * kColumnPitch + kMapLeft;
    const std::int64_t y = ((kMapRows - 1) - step % kMapRows) * kRowPitch + kMapTop;
    constexpr std::int64_t kFar = 1 << 20;
    return {static_cast<int>(std::clamp(x, -kFar, kFar)),
            static_cast<int>(std::clamp(y, -kFar, kFar))};
}

std::string_view roomChunk(int cell, std::int32_t floor) {
    if (cell == kUpperRoomCell) {
        if (floor == 1) return "RST";
        return floor == 2 ? "GYM" : "";
    }
    if (cell != kLowerRoomCell) return "";
    switch (floor) {
        case 0: return "DEN";
        case 1: return "ROB";
        case 2: return "POO";
        case 10: return "BAR";
        default: return "";
    }
}

}  // namespace corvan::hotel
