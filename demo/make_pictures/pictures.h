#pragma once

// Every picture the demo game shows, one drawing function each, grouped by the file that paints
// it. make_demo_pictures.cpp lists them under their picture names.

#include <map>
#include <string>
#include <string_view>

#include "demo/make_pictures/kit/canvas.h"

namespace corvan::art {

// The finished pictures by name, for the pages that show them small.
class Shelf {
public:
    void put(std::string name, Bitmap picture) { pictures_[std::move(name)] = std::move(picture); }
    // The picture, or nullptr when the demo paints none of that name.
    const Bitmap* find(std::string_view name) const {
        const auto found = pictures_.find(name);
        return found == pictures_.end() ? nullptr : &found->second;
    }

private:
    std::map<std::string, Bitmap, std::less<>> pictures_;
};

// The see-through colour of the overlays (B pictures): the game reads it from the top-left pixel.
constexpr std::uint32_t kSeeThrough = 0xFF00FF;

// hotel_outside.cpp
Canvas drawNight();
Canvas drawSnowyMorning();
// lobby.cpp
Canvas drawLobby();
// corridor.cpp
Canvas drawCorridor();
// clerk.cpp
Canvas drawClerk();
Canvas drawClerkStanding();
// guest_room.cpp
Canvas drawGuestRoom();
// lounge.cpp
Canvas drawLounge();
// lift.cpp
Canvas drawLift();
// power_room.cpp
Canvas drawPowerRoom();
// pool.cpp
Canvas drawPool();
// bar.cpp
Canvas drawBar();
// restaurant.cpp
Canvas drawRestaurant();
// gym.cpp
Canvas drawGym();
// clock_tower.cpp
Canvas drawClockTower();
// keepsakes.cpp
Canvas drawOldPhotograph();
Canvas drawLetterPaper();
Canvas drawLetterInTheChute();
Canvas drawAlbumWithEmptyPlace();
Canvas drawAlbumMended();
// endings.cpp
Canvas drawClockAtDawn();
Canvas drawBusStop();
// gallery_pages.cpp: page is 1 to 5.
Canvas drawPictureGalleryPage(const Shelf& shelf, int page);
Canvas drawPlacesGalleryPage(const Shelf& shelf, int page);
Canvas drawSceneMenu(const Shelf& shelf);
Canvas drawEmptyFrame();

}  // namespace corvan::art
