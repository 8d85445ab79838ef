// make_demo_pictures: paints the demo game's pictures and writes them as PNG files.
//
// The PNG files are kept in the source tree (demo/pictures), and the build turns them into the
// game's PRS pictures (demo/demo.cmake). Everything is painted from code with fixed
// pseudo-random sequences, so a run always writes the same files; the test demo_art_matches
// holds the committed files to that. Built with -DCORVAN_BUILD_DEMO_ART=ON; after changing a
// picture, run `build/make_demo_pictures demo/pictures`.
//
// The message frame covers y 376 to 471 of every picture, so the lower part of each is kept
// quiet.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "headless/png_writer.h"
#include "tools/demo_art/pictures.h"
#include "tools/png_read.h"

namespace fs = std::filesystem;
using namespace corvan;
using namespace corvan::art;

namespace {

struct Picture {
    std::string_view name;
    bool overlay;
    Canvas (*draw)();
};

constexpr Picture kPictures[] = {
    {"A001", false, drawNight},         // the hotel on its hill on a December night
    {"A002", false, drawLobby},         // the lobby with the front desk
    {"A003", false, drawCorridor},      // the corridor of the third floor
    {"A004", false, drawSnowyMorning},  // the hotel on the snowy morning after
    {"B001", true, drawClerk},          // the old clerk, behind the desk of A002
};

// Writes `bitmap` as DIR/NAME.png and checks that the file reads back as exactly that picture.
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
                     "  paints the demo game's pictures and writes them as OUT_DIR/NAME.png\n";
        return argc == 2 ? 0 : 2;
    }
    const fs::path dir = argv[1];
    std::error_code ec;
    fs::create_directories(dir, ec);
    for (const Picture& picture : kPictures) {
        const Bitmap bitmap = picture.draw().toBitmap(kSeeThrough, picture.overlay);
        if (picture.overlay && bitmap.pixel(0, 0) != kSeeThrough) {
            std::cerr << "make_demo_pictures: " << picture.name
                      << ": the top-left pixel must be the see-through colour\n";
            return 1;
        }
        if (!writePicture(bitmap, dir / (std::string(picture.name) + ".png"))) return 1;
    }
    return 0;
}
