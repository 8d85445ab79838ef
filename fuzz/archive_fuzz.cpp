// Fuzz target: any bytes as the script archive mg_data.stf, beside the demo's pictures, music
// and voices or a picture and a song of the input's, played with the player's actions at the
// input's end (fuzz_game.h). The directory reader, the chunk loader, the interpreter, the
// commands, the menus, the saves and the hotel all meet damaged data and clicks anywhere.

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <span>

#include "fuzz/fuzz_game.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::span<const std::uint8_t> input(data, size);
    const auto actions = corvan::fuzz::takePlayerActions(input);
    const auto files = corvan::fuzz::takeGameFiles(input);
    const corvan::fuzz::GameFolders& folders = corvan::fuzz::freshFolders(false, files);
    {
        std::ofstream out(folders.game / "mg_data.stf", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(input.data()),
                  static_cast<std::streamsize>(input.size()));
    }
    // Both builds are the same game; the one with sound also runs the music and voice code.
    corvan::HeadlessPlayer player(corvan::GameOptions{.withSound = size % 2 == 0});
    corvan::fuzz::useFolders(player, folders);
    corvan::fuzz::play(player, actions);
    return 0;
}
