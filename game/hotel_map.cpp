// The hotel menu that `move` opens: four plates over the current picture and the money window
// with one bag for each 20 of V50. 移動 opens the floor map (floor_map.cpp), 徴収 starts the
// chunk "IVE", ロード and セーブ open the slot list, which brings the menu back afterwards.

#include <string>

#include "engine/cp932.h"
#include "game/game.h"
#include "hotel/hotel_plates.h"
#include "render/raster.h"
#include "render/resources.h"

namespace corvan {

namespace {

constexpr int kCollectedValue = 50;  // V50, shown as bags
constexpr int kReturnToHotel = 4;    // the slot list goes back to the hotel menu

// Labels take the gothic face a fresh off-screen picture has, not bold.
FontSpec labelFont(int height) {
    return FontSpec{"ＭＳ Ｐゴシック", height, false};
}

}  // namespace

// The label goes on twice through the label mask: once black, ANDed in 2 pixels right and
// down, once white, ORed in; so it reads white with a black shadow on any plate.
void Game::DrawPlate(std::string_view label, int x, int y, int height) {
    HotelPictures& p = hotelPictures;
    draw(p.plateScratch, 0, 0, p.plate);
    constexpr Rect kLabelArea{0, 0, hotel::kPlateWidth, hotel::kLabelRows};
    const FontSpec font = labelFont(height);

    fillRect(p.labelMask, kLabelArea, 0xFFFFFF);
    text().drawText(p.labelMask, 10, 18, label, font, 0x000000);
    copyRect(p.plateScratch, p.labelMask, kLabelArea, RasterOp::And);

    fillRect(p.labelMask, kLabelArea, 0x000000);
    text().drawText(p.labelMask, 8, 16, label, font, 0xFFFFFF);
    copyRect(p.plateScratch, p.labelMask, kLabelArea, RasterOp::Or);

    draw(p.mapCanvas, x, y, p.plateScratch);
}

void Game::ShowHotelMenu() {
    Bitmap moneyWindow = loadResource("FWIN3");
    const Bitmap bag = loadResource("FUKURO");
    const int bags = hotel::bagCount(vars.v(kCollectedValue));
    for (int i = 0; i < bags; ++i) {
        const hotel::Point corner = hotel::bagCorner(i);
        draw(moneyWindow, corner.x, corner.y, bag);
    }

    HotelPictures& p = hotelPictures;
    p.plateScratch = Bitmap(hotel::kPlateWidth, hotel::kPlateHeight);
    p.plate = loadResource("PLATE");
    p.mapCanvas = Bitmap(kScreenWidth, kScreenHeight);
    draw(p.mapCanvas, 0, 0, layers.composite);
    draw(p.mapCanvas, hotel::kMoneyWindowX, hotel::kMoneyWindowY, moneyWindow);
    p.labelMask = Bitmap(hotel::kPlateWidth, hotel::kPlateHeight);

    for (const hotel::Plate& plate : hotel::menuPlates()) {
        DrawPlate(utf8ToCp932(plate.label).value_or(""), plate.x, plate.y, plate.height);
    }

    draw(screen, 0, 0, p.mapCanvas);
    host_.repaint(screen);
    menuKind = MenuKind::Hotel;
    PlayVoice("90022");
}

void Game::HotelMenuClick(int x, int y) {
    const hotel::MenuItem item = hotel::menuItemAt(x, y);
    switch (item) {
        case hotel::MenuItem::None: return;
        case hotel::MenuItem::Move: ShowFloorMap(); return;
        case hotel::MenuItem::Collect:
            LeaveHotelMap();
            LoadChunk(hotel::kCollectChunk);
            return;
        case hotel::MenuItem::Load:
        case hotel::MenuItem::Save:
            // The slot list's opening redraws the screen, which takes the menu away; the mode's
            // pictures stay as they are, and the list comes back to a freshly drawn menu.
            returnToHotelMark = kReturnToHotel;
            OpenSlotList(item == hotel::MenuItem::Save);
            return;
    }
}

void Game::LeaveHotelMap() {
    hotelPictures = HotelPictures{};
    menuKind = MenuKind::None;
    ResetRunState();
}

}  // namespace corvan
