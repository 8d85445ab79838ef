#pragma once

// A game on the headless player, started on an archive made in code: the usual way a test
// plays a scenario.

#include <memory>
#include <string>
#include <vector>

#include "headless/replay.h"
#include "support/state_printers.h"
#include "support/test_archive.h"

namespace corvan::test {

class TestGame {
public:
    // Writes the chunks as mg_data.stf in a fresh game folder and prepares a player whose
    // settings hold that folder and a fresh save folder. The game is not started yet.
    explicit TestGame(const std::vector<ChunkSource>& chunks, GameOptions options = {});

    // Sound files the game folder holds, at these paths under it: a MIDI file that plays nothing
    // for a name ending in ".MID" (any case), an empty file otherwise (the headless players
    // never read a voice clip).
    void addSoundFiles(const std::vector<std::string>& relatives);
    // The clips the menus play, 90022 and 90023.
    void addMenuVoices() { addSoundFiles({"wave/9/90022.wav", "wave/9/90023.wav"}); }

    // Starts the game (the chunk "main" is loaded) and returns it.
    Game& start();
    Game& game() { return player_->game(); }
    HeadlessPlayer& player() { return *player_; }
    HeadlessHost& host() { return player_->host(); }
    const std::filesystem::path& gameDir() const { return gameDir_.path(); }
    const std::filesystem::path& saveDir() const { return saveDir_.path(); }

    // One interpreter step, called directly (not through the idle handler).
    void step() { game().RunScript(); }
    // The log lines that start with `prefix`, the prefix cut off.
    std::vector<std::string> events(const std::string& prefix) const;
    // The text lines shown so far, in order.
    std::vector<std::string> textLines() const { return events("text "); }

private:
    TempDir gameDir_;
    TempDir saveDir_;
    std::unique_ptr<HeadlessPlayer> player_;
};

}  // namespace corvan::test
