// make_demo_sounds: writes the demo game's music and voices from the notes and tones in
// music.cpp and voices.cpp, under the names the game looks for (MIDI/NN.MID, wave/X/NAME.wav).
//
// The files are kept in the source tree (demo/sounds) and copied into the demo game by the
// build; the test demo_art_matches holds them to what this program writes. Built with
// -DCORVAN_BUILD_DEMO_ART=ON; after changing a sound, run `build/make_demo_sounds demo/sounds`.

#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>

#include "demo/make_sounds/sounds.h"
#include "engine/file_write.h"

using namespace corvan::demo_sounds;

namespace {

struct Sound {
    std::string_view path;
    Bytes (*make)();
};

constexpr Sound kSounds[] = {
    {"MIDI/01.MID", hotelWaltz},        {"MIDI/02.MID", nightRound},
    {"MIDI/03.MID", winterOf1959},      {"MIDI/04.MID", snowMorning},
    {"MIDI/05.MID", clockTower},        {"wave/1/10001.wav", deskBell},
    {"wave/1/10002.wav", towerChime},   {"wave/1/10003.wav", liftChime},
    {"wave/1/10004.wav", doorKnock},    {"wave/1/10005.wav", shutter},
    {"wave/1/10006.wav", footsteps},    {"wave/1/10007.wav", paperRustle},
    {"wave/1/10008.wav", clockWinding}, {"wave/9/90022.wav", menuOpens},
    {"wave/9/90023.wav", menuPick},
};

bool write(const std::filesystem::path& file, const Bytes& bytes) {
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    std::string error;
    if (!corvan::writeFileAtomically(
            file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
            error)) {
        std::cerr << "make_demo_sounds: " << error << "\n";
        return false;
    }
    std::cout << file.string() << ": " << bytes.size() << " bytes\n";
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || std::string(argv[1]) == "--help") {
        std::cout
            << "usage: make_demo_sounds DIR\n"
               "Writes the demo's music (DIR/MIDI/NN.MID) and voices (DIR/wave/X/NAME.wav).\n";
        return argc == 2 ? 0 : 2;
    }
    const std::filesystem::path dir = argv[1];
    for (const Sound& sound : kSounds) {
        if (!write(dir / sound.path, sound.make())) return 1;
    }
    return 0;
}
