// The floor map of 移動: a plate for each of the ten floors, the basement, the elevator and the
// lounge, the rooms of the current floor (V60), and a red marker on the current floor. A click
// on a plate moves the player there and starts the place's chunk.

#include "engine/cp932.h"
#include "game/game.h"
#include "hotel/hotel_plates.h"
#include "render/raster.h"

namespace corvan {

namespace {

constexpr int kFloorValue = 60;        // V60: 0 basement, 1 to 10 the floors
constexpr int kFloorChangeValue = 61;  // V61: new floor minus old floor
constexpr std::uint32_t kMarkerRed = 0x0000FF;
constexpr std::uint32_t kMarkerOutline = 0x000000;

// A filled rectangle with a one-pixel outline, as a canvas draws it with a brush and a pen.
void drawMarker(Bitmap& canvas, hotel::Point corner) {
    const Rect square{corner.x, corner.y, corner.x + hotel::kMarkerSize,
                      corner.y + hotel::kMarkerSize};
    fillRect(canvas, square, kMarkerOutline);
    fillRect(canvas, {square.left + 1, square.top + 1, square.right - 1, square.bottom - 1},
             kMarkerRed);
}

}  // namespace

void Game::ShowFloorMap() {
    PlayVoice("90022");
    HotelPictures& p = hotelPictures;
    draw(p.mapCanvas, 0, 0, layers.composite);
    for (const hotel::Plate& plate : hotel::floorPlates()) {
        DrawPlate(utf8ToCp932(plate.label).value_or(""), plate.x, plate.y, plate.height);
    }
    const std::int32_t floor = vars.v(kFloorValue);
    drawMarker(p.mapCanvas, hotel::markerCorner(floor));
    for (const hotel::Plate& plate : hotel::roomPlates(floor)) {
        DrawPlate(utf8ToCp932(plate.label).value_or(""), plate.x, plate.y, plate.height);
    }
    menuKind = MenuKind::FloorMap;
    draw(screen, 0, 0, p.mapCanvas);
    host_.repaint(screen);
}

// "IVE" goes first: a place whose chunk the archive lacks, or a lower room plate on a floor
// without rooms, leaves "IVE" to run, since starting a missing chunk changes nothing.
void Game::FloorMapClick(int x, int y) {
    const int cell = hotel::mapCellAt(x, y);
    if (cell == hotel::kNoCell) return;
    const std::int32_t floor = vars.v(kFloorValue);
    if (cell == hotel::kUpperRoomCell && floor != 1 && floor != 2) return;

    LeaveHotelMap();
    LoadChunk(hotel::kCollectChunk);

    if (cell < hotel::kBasementCell) {
        // Wraps like the 32-bit arithmetic of a script value; only a wild V60 gets near it.
        const std::int32_t target = cell + 1;
        vars.setV(kFloorChangeValue, static_cast<std::int32_t>(static_cast<std::uint32_t>(target) -
                                                               static_cast<std::uint32_t>(floor)));
        vars.setV(kFloorValue, target);
        LoadChunk(hotel::kFloorChunk);
    } else if (cell == hotel::kBasementCell) {
        vars.setV(kFloorChangeValue,
                  static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(floor)));
        vars.setV(kFloorValue, 0);
        LoadChunk(hotel::kFloorChunk);
    } else if (cell == hotel::kElevatorCell) {
        LoadChunk(hotel::kElevatorChunk);
    } else if (cell == hotel::kLoungeCell) {
        LoadChunk(hotel::kLoungeChunk);
    } else if (const std::string_view room = hotel::roomChunk(cell, floor); !room.empty()) {
        LoadChunk(room);
    }
}

std::vector<ClickTarget> Game::HotelTargets() const {
    std::vector<ClickTarget> targets;
    auto add = [&targets](std::span<const hotel::Plate> plates) {
        for (const hotel::Plate& p : plates) {
            // A plate's click band takes in its right and bottom edges.
            targets.push_back(
                {{p.x, p.y, p.x + hotel::kPlateWidth + 1, p.y + hotel::kPlateHeight + 1},
                 {p.x + hotel::kPlateWidth / 2, p.y + hotel::kPlateHeight / 2}});
        }
    };
    if (menuKind == MenuKind::Hotel) {
        add(hotel::menuPlates());
    } else if (menuKind == MenuKind::FloorMap) {
        add(hotel::floorPlates());
        add(hotel::roomPlates(vars.v(kFloorValue)));
    }
    return targets;
}

}  // namespace corvan
