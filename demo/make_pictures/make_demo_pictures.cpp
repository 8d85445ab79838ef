// make_demo_pictures: paints the demo game's pictures and writes them as PNG files.
//
// The PNG files are kept in the source tree (demo/pictures), and the build turns them into the
// game's PRS pictures (demo/demo.cmake). Everything is painted from code with fixed
// pseudo-random sequences, so a run always writes the same files; the test demo_art_matches
// holds the committed files to that. Built with -DCORVAN_BUILD_DEMO_ART=ON; after changing a
// picture, run `build/make_demo_pictures demo/pictures`.
//
// Besides the story's pictures it paints the pages of the galleries and of the scene replay
// menu from them, and EMPTY.png, the frame the build puts under every gallery picture name the
// demo paints nothing for; EMPTY.names lists those names, one a line.
//
// The message frame covers y 376 to 471 of every picture, so the lower part of each is kept
// quiet.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/png_read.h"
#include "demo/make_pictures/pictures.h"
#include "engine/file_write.h"
#include "headless/png_writer.h"
#include "hotel/gallery_pictures.h"

namespace fs = std::filesystem;
using namespace corvan;
using namespace corvan::art;

namespace {

struct Picture {
    std::string_view name;
    bool overlay;
    Canvas (*draw)();
};

// The story's pictures. The backgrounds take the names gallery 2 shows (the places) and
// gallery 1 shows (the things the story turns on), so that both galleries hold them.
constexpr Picture kPictures[] = {
    {"A001", false, drawNight},                // the hotel on its hill on a December night
    {"A002", false, drawLobby},                // the lobby with the front desk
    {"A003", false, drawCorridor},             // the corridor of the third floor
    {"A004", false, drawSnowyMorning},         // the hotel on the snowy morning after
    {"A005", false, drawGuestRoom},            // room 303 at night
    {"A006", false, drawLounge},               // the lounge, its fire and the album
    {"A007", false, drawLift},                 // inside the old lift
    {"A008", false, drawPowerRoom},            // the power room in the basement
    {"A009", false, drawPool},                 // the indoor pool at night
    {"A013", false, drawBar},                  // the bar on the tenth floor
    {"A014", false, drawRestaurant},           // the restaurant after closing
    {"A017", false, drawGym},                  // the gymnasium and the staff photographs
    {"A018", false, drawClockTower},           // inside the clock tower
    {"A200", false, drawOldPhotograph},        // the photograph of 1959
    {"A201", false, drawLetterPaper},          // the letter's paper, for the large text
    {"A202", false, drawLetterInTheChute},     // the letter caught in the mail chute
    {"A203", false, drawAlbumWithEmptyPlace},  // the album and its empty place
    {"A204", false, drawClockAtDawn},          // the tower clock going again at dawn
    {"A205", false, drawAlbumMended},          // the photograph back in the album
    {"A206", false, drawBusStop},              // the bus stop on the snowy road
    {"B001", true, drawClerk},                 // the old clerk, behind the desk of A002
    {"B002", true, drawClerkStanding},         // the old clerk standing, seen closer
};

// The pages of the `view` screens, painted from the pictures above. A kind A picture's file
// always starts with a capital A, whatever the game's name for it ("a511").
struct Page {
    std::string name;
    std::function<Canvas(const Shelf&)> draw;
};

std::vector<Page> pages() {
    std::vector<Page> out;
    for (int page = 1; page <= gallery::kPageCount; ++page) {
        out.push_back({"A51" + std::to_string(page),
                       [page](const Shelf& s) { return drawPictureGalleryPage(s, page); }});
    }
    for (int page = 1; page <= gallery::kPageCount; ++page) {
        out.push_back({"A61" + std::to_string(page),
                       [page](const Shelf& s) { return drawPlacesGalleryPage(s, page); }});
    }
    out.push_back({std::string(gallery::kSceneMenuPicture), drawSceneMenu});
    out.push_back({"EMPTY", [](const Shelf&) { return drawEmptyFrame(); }});
    return out;
}

// The gallery pictures the demo paints nothing for: the empty frame stands in for them.
std::string standInNames(const Shelf& shelf) {
    std::set<std::string> names;
    auto add = [&](const auto& table) {
        for (const auto& page : table) {
            for (const std::string_view name : page) {
                if (!name.empty() && shelf.find(name) == nullptr) names.emplace(name);
            }
        }
    };
    add(gallery::kGallery1Pictures);
    add(gallery::kGallery2Pictures);
    std::string text;
    for (const std::string& name : names) text += name + "\n";
    return text;
}

// Writes `bitmap` as `path` and checks that the file reads back as exactly that picture.
bool writePicture(const Bitmap& bitmap, const fs::path& path) {
    std::string error;
    if (!writePng(bitmap, path, error)) {
        std::cerr << "make_demo_pictures: " << error << "\n";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
    const auto check = readPng(file, error);
    if (!check || check->width() != bitmap.width() || check->height() != bitmap.height() ||
        !std::equal(check->row(0), check->row(0) + bitmap.stride() * bitmap.height(),
                    bitmap.row(0))) {
        std::cerr << "make_demo_pictures: " << path.string() << " does not read back\n";
        return false;
    }
    std::cout << path.string() << ": " << file.size() << " bytes\n";
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || std::string_view(argv[1]) == "--help") {
        std::cerr << "usage: make_demo_pictures OUT_DIR\n"
                     "  paints the demo game's pictures and writes them as OUT_DIR/NAME.png,\n"
                     "  with EMPTY.names, the gallery pictures the empty frame stands in for\n";
        return argc == 2 ? 0 : 2;
    }
    const fs::path dir = argv[1];
    std::error_code ec;
    fs::create_directories(dir, ec);
    Shelf shelf;
    for (const Picture& picture : kPictures) {
        Bitmap bitmap = picture.draw().toBitmap(kSeeThrough, picture.overlay);
        if (picture.overlay && bitmap.pixel(0, 0) != kSeeThrough) {
            std::cerr << "make_demo_pictures: " << picture.name
                      << ": the top-left pixel must be the see-through colour\n";
            return 1;
        }
        if (!writePicture(bitmap, dir / (std::string(picture.name) + ".png"))) return 1;
        shelf.put(std::string(picture.name), std::move(bitmap));
    }
    for (const Page& page : pages()) {
        if (!writePicture(page.draw(shelf).toBitmap(), dir / (page.name + ".png"))) return 1;
    }
    std::string error;
    if (!writeFileAtomically(dir / "EMPTY.names", standInNames(shelf), error)) {
        std::cerr << "make_demo_pictures: " << error << "\n";
        return 1;
    }
    return 0;
}
