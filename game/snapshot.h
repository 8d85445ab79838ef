#pragma once

// A copy of the game's state at one moment, taken and put back by Game::TakeSnapshot and
// Game::RestoreSnapshot (snapshot.cpp). A tool that tries one choice after another from the
// same point (the route explorer) restores the point instead of playing the game again from
// its start.
//
// Everything that decides what the game does next is kept: the running chunk and its buffers,
// the run state, the menus, the sound state, the hotel mode with its pictures, the variables,
// the seen marks and the settings read at start-up. The screen's layers are not: no command
// reads a pixel back, and copying megabytes at every choice would cost more than the play. After
// a restore the screen shows what was drawn last until the story draws anew.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/random.h"
#include "engine/variables.h"
#include "game/game_settings.h"
#include "game/hotel_views.h"
#include "game/menu_state.h"
#include "game/run_state.h"
#include "game/sound_state.h"
#include "game/text_cursor.h"
#include "render/font.h"
#include "render/layers.h"

namespace corvan {

struct GameSnapshot {
    // The chunk buffers hold only their used bytes: a chunk is often a few hundred bytes of
    // its 32 KiB buffer.
    std::vector<std::uint8_t> script;
    std::vector<std::uint8_t> call;
    std::vector<std::uint8_t> message;
    // The rest of ChunkState.
    std::int32_t scriptLength = 0;
    std::int32_t scriptPos = 0;
    std::array<std::uint8_t, ChunkState::kLineBufferSize> lineBuffer{};
    std::int32_t linePos = 0;
    std::int32_t callReturnPos = 0;
    std::int32_t callReturnLength = 0;
    bool inCall = false;
    std::int32_t messageReturnPos = 0;
    std::int32_t messageReturnLength = 0;
    bool inMessage = false;
    std::array<std::uint8_t, 8> chapterName{};
    std::string lastChunk;
    std::string currentChunk;
    std::string callerChunk;
    std::string messageCallerChunk;
    RunState run;
    TextCursor cursor;
    MenuState menu;
    SoundState sound;
    // The views, with the hotel mode's small pictures but not its 640x480 map canvas, which the
    // menu and the map draw afresh from the composite before it is shown: only its size.
    HotelViewState views;
    int mapCanvasWidth = 0;
    int mapCanvasHeight = 0;
    // The screen state's flags and fonts, without its pictures.
    bool movableFrame = false;
    bool mainWindowBordered = true;
    FontSpec frameFont;
    std::uint32_t frameFontColour = 0;
    bool frameOpen = false;
    bool overlayShown = false;
    bool overlayDeferred = false;
    // The overlay that the next background brings, shared by the snapshots taken while it
    // stays the same, and its number (Game::overlayVersion_).
    std::shared_ptr<const OverlayImage> overlayImage;
    std::uint64_t overlayVersion = 0;
    Variables vars;
    std::array<std::uint8_t, 256> aMarks{};
    std::array<std::uint8_t, 256> bMarks{};
    GameSettings settings;
    std::int32_t clearMark = 0;
    Random random;
};

}  // namespace corvan
