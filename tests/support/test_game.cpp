#include "support/test_game.h"

#include "engine/settings.h"

namespace corvan::test {

TestGame::TestGame(const std::vector<ChunkSource>& chunks, GameOptions options)
    : player_(std::make_unique<HeadlessPlayer>(options)) {
    writeArchive(gameDir_.path() / "mg_data.stf", chunks);
    host().setSettingFallback(setting::kSaveDir, saveDir_.path().string());
    host().setSettingFallback(setting::kGameDir, gameDir_.path().string());
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
