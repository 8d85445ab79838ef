#pragma once

// The layout of the hotel menu and the floor map: where each labelled plate lies, which label
// it carries, where the money window's bags and the floor marker go, and which menu item or map
// cell a click at a point hits. Pure geometry and tables; drawing and the actions of a click
// live in hotel_map.cpp and floor_map.cpp.
//
// All points are pixels of the 640x480 screen, x to the right and y downward. The click bands
// include their right and bottom edges (x = 130 still hits the menu's plates, x = 131 not).

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace corvan::hotel {

// One plate: its label in UTF-8 exactly as drawn (leading blanks centre it), its top-left
// corner and the label's font height.
struct Plate {
    const char* label;
    int x;
    int y;
    int height;
};

struct Point {
    int x;
    int y;
    bool operator==(const Point&) const = default;
};

constexpr int kPlateWidth = 100;
constexpr int kPlateHeight = 60;
constexpr int kLabelRows = 48;  // only the plate's top rows receive label text

// --- Hotel menu -----------------------------------------------------------------------------

enum class MenuItem { None, Move, Collect, Load, Save };

// 移動, 徴収, ロード, セーブ, top to bottom in the left column.
std::span<const Plate> menuPlates();

// The item whose plate band holds (x, y); None in the gaps between plates and outside them.
MenuItem menuItemAt(int x, int y);

// The money window: where it lies on the menu, and its bags, one for each whole 20 of the
// collected amount, at most eight, four to a row.
constexpr int kMoneyWindowX = 520;
constexpr int kMoneyWindowY = 20;
constexpr int kBagSize = 20;
constexpr int kMaxBags = 8;
int bagCount(std::int32_t collected);
// Top-left corner of bag `i` (0-based) inside the money window.
Point bagCorner(int i);

// --- Floor map ------------------------------------------------------------------------------

// Map cells: 0 to 9 are the floors 1F to 10F; then the basement, the elevator, the lounge, the
// lower and the upper room plate of the right-hand column.
constexpr int kBasementCell = 10;
constexpr int kElevatorCell = 11;
constexpr int kLoungeCell = 12;
constexpr int kLowerRoomCell = 13;
constexpr int kUpperRoomCell = 14;
constexpr int kNoCell = -1;

// The floor plates 1F to 10F, the lounge, the elevator and the basement: always on the map.
std::span<const Plate> floorPlates();
// The room plates of a floor (V60: 0 basement, 1 to 10): none on most floors.
std::span<const Plate> roomPlates(std::int32_t floor);

// The cell whose plate band holds (x, y), or kNoCell. Every cell of the grid is reported,
// whether a plate is drawn there or not.
int mapCellAt(int x, int y);

// --- The chunks the places start ---------------------------------------------------------

// 徴収 starts "IVE", and so does every accepted click on the map, before the place's own chunk:
// "KAI" for a floor, "ERE" the elevator, "KYU" the lounge, and the rooms of roomChunk.
inline constexpr std::string_view kCollectChunk = "IVE";
inline constexpr std::string_view kFloorChunk = "KAI";
inline constexpr std::string_view kElevatorChunk = "ERE";
inline constexpr std::string_view kLoungeChunk = "KYU";
// The chunk of the lower or upper room plate (kLowerRoomCell, kUpperRoomCell) on a floor; empty
// where the floor has no such room.
std::string_view roomChunk(int cell, std::int32_t floor);
// Every chunk the hotel map may start.
inline constexpr std::array<std::string_view, 10> kPlaceChunks{"IVE", "KAI", "ERE", "KYU", "DEN",
                                                               "ROB", "POO", "BAR", "RST", "GYM"};

// Top-left corner of the 8x8 marker of the current floor: the corner of that floor's plate.
Point markerCorner(std::int32_t floor);
constexpr int kMarkerSize = 8;

}  // namespace corvan::hotel
