#include "support/test_game.h"

#include "engine/ascii.h"
#include "settings/setting_names.h"

namespace corvan::test {

TestGame::TestGame(const std::vector<ChunkSource>& chunks, GameOptions options)
    : player_(std::make_unique<HeadlessPlayer>(options)) {
    writeArchive(gameDir_.path() / "mg_data.stf", chunks);
    host().setSettingFallback(setting::kSaveDir, saveDir_.path().string());
    host().setSettingFallback(setting::kGameDir, gameDir_.path().string());
}

void TestGame::addSoundFiles(const std::vector<std::string>& relatives) {
    // A standard MIDI file of one empty track.
    const std::vector<std::uint8_t> silentMidi = {'M', 'T', 'h', 'd',  0,    0,    0,    6,   0,
                                                  0,   0,   1,   0x01, 0xE0, 'M',  'T',  'r', 'k',
                                                  0,   0,   0,   4,    0x00, 0xFF, 0x2F, 0x00};
    for (const std::string& relative : relatives) {
        const bool midi =
            relative.size() >= 4 &&
            equalIgnoringAsciiCase(std::string_view(relative).substr(relative.size() - 4), ".mid");
        writeBytes(gameDir_.path() / relative, midi ? silentMidi : std::vector<std::uint8_t>{});
    }
}

Game& TestGame::start() {
    player_->start();
    return game();
}

std::vector<std::string> TestGame::events(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& line : player_->host().events()) {
        if (line.rfind(prefix, 0) == 0) out.push_back(line.substr(prefix.size()));
    }
    return out;
}

}  // namespace corvan::test
