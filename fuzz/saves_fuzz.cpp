// Fuzz target: the save folder's files, save1.cv and seen.cv, as a player's disk may hold them
// (cut short, too long, any values), under the demo game played with the player's actions at
// the input's end, on the demo's pictures and music or the input's (fuzz_game.h). The game
// reads the seen record when it starts; the seeds load slot 1 through the system menu, and the
// loaded variables then drive the story, the hotel menu, the galleries and the scene replay,
// and the game saves over them. Before the picture and the song, the input is the length of
// the save file as a 16-bit little-endian number, the save file, and the seen record.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <span>

#include "fuzz/fuzz_game.h"

namespace {

void writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::span<const std::uint8_t> input(data, size);
    const auto actions = corvan::fuzz::takePlayerActions(input);
    const auto files = corvan::fuzz::takeGameFiles(input);
    if (input.size() < 2) return 0;
    const std::size_t saveLength =
        std::min<std::size_t>(input[0] | input[1] << 8, input.size() - 2);
    const corvan::fuzz::GameFolders& folders = corvan::fuzz::freshFolders(true, files);
    writeFile(folders.save / "save1.cv", input.subspan(2, saveLength));
    writeFile(folders.save / "seen.cv", input.subspan(2 + saveLength));

    corvan::HeadlessPlayer player(corvan::GameOptions{.withSound = size % 2 == 0});
    corvan::fuzz::useFolders(player, folders);
    corvan::fuzz::play(player, actions);
    return 0;
}
