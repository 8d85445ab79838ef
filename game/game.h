#pragma once

// The game: one object that owns all game state, as the main window did in the original
// program. Its state comes in named parts, each declared in the header of the part of the game
// that owns it (run_state.h, text_cursor.h, screen_state.h, menu_state.h, sound_state.h,
// hotel_views.h); their fields keep the names the game's scripts and save files are documented
// with, so that a state dump reads like the original's globals. Its entry points are the
// original's handlers (`FormCreate`, `AppIdle`, `Timer1Timer`, the mouse handlers,
// `FormDestroy`); whichever host runs the game calls them, one at a time, on one thread. The
// other methods are listed by the file that defines them.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/archive.h"
#include "engine/command_keywords.h"
#include "engine/host.h"
#include "engine/random.h"
#include "engine/script_search.h"
#include "engine/variables.h"
#include "game/game_settings.h"
#include "game/hotel_views.h"
#include "game/loop_watch.h"
#include "game/menu_state.h"
#include "game/run_state.h"
#include "game/screen_state.h"
#include "game/snapshot.h"
#include "game/sound_state.h"
#include "game/text_cursor.h"
#include "render/bitmap.h"
#include "render/font.h"
#include "render/layers.h"
#include "render/picture_cache.h"
#include "render/prs.h"

namespace corvan {

enum class MouseButton { Left, Right, Middle };

// A place on the screen shown that a left click acts on: a menu row, a plate of the hotel map, a
// gallery's thumbnail or button. The keyboard moves its highlight from one to the next.
struct ClickTarget {
    Rect area;
    WindowPoint point;    // where a click on it goes: its middle
    bool hovers = false;  // the game highlights it itself while the pointer is over it
};

// Which build of the game program runs: the one with music and voices, or the silent one.
struct GameOptions {
    bool withSound = true;
    // Pictures decoded by earlier games, shared with this one; none by default.
    std::shared_ptr<PictureCache> pictureCache = nullptr;
};

class Game : public ChunkState,
             public RunState,
             public TextCursor,
             public ScreenState,
             public MenuState,
             public SoundState,
             public HotelViewState {
public:
    Game(Host& host, GameOptions options);
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // --- Handlers called by the host (startup.cpp, game.cpp, mouse_input.cpp, message_window.cpp)
    void FormCreate();
    void FormDestroy();
    // One idle call; always reports the idle work as not finished (true), so the host calls it
    // again after its 20 ms pause.
    bool AppIdle();
    // Whether an idle call now would do more than draw its random number: the story can run, a
    // repaint is due or the window is to close. While it would not, a host may rest instead of
    // calling, and tell the game afterwards how many calls it rested through.
    bool IdleWorkPending() const;
    void SkipIdleCalls(std::int64_t count);
    // Since the player last acted or the script last showed something, the script has been
    // found going round a loop it can never leave (told once, as "script-loop CHUNK:LINE").
    bool scriptLooping() const { return loopWatch_.endless(); }
    void Timer1Timer();
    void Image1MouseDown(MouseButton button, int x, int y);
    void Image1MouseMove(int x, int y);
    void Image1MouseUp(MouseButton button, int x, int y);
    // The movable message window's own mouse handlers (positions in its 576x96 image): a drag
    // moves the window; these clicks never reach the story.
    void TextWindowMouseDown(int x, int y);
    void TextWindowMouseMove(int x, int y);
    void TextWindowMouseUp();

    // --- Start-up and settings (startup.cpp) ----------------------------------------------------
    void InitGame();
    // Takes the stored settings into the running game.
    void ApplySettings();

    // --- Archive (game.cpp) ---------------------------------------------------------------------
    bool LoadDirectory();
    // Starts the chunk `name`. When the archive has none, the chunk-missing event names it and
    // `requester` (a word such as "chain"; empty for the chunks the game itself starts).
    bool LoadChunk(std::string_view name, std::string_view requester = {});

    // --- Interpreter (interpreter.cpp) -----------------------------------------------------------
    void RunScript();
    void ResetRunState();
    int FindLabel(std::string_view name) const;
    int FindLabelForward(std::string_view name) const;
    void GotoLabel(std::string_view name);
    bool EnterMessageChunk(std::string_view name);
    void ShowSystemMessage(std::int32_t n);
    // Moves into the branch of choice row k: the line after the first label "CASE<k>" from
    // `scriptPos` on, and marks the branch so that its next label skips to "end".
    void JumpToCase(int row);

    // --- Screen composition (compose.cpp) --------------------------------------------------------
    void Compose();
    void BuildFrameBackdrop();
    void RedrawScreen();
    void OpenTextFrame();
    void ClearTextFrame();
    void DrawWaitMarker();
    // Puts the composite's corner back over the wait marker.
    void RestoreMarkerCorner();

    // --- Menus (choice_menu.cpp, system_menu.cpp, mouse_input.cpp) -------------------------------
    void OpenChoiceMenu(std::int32_t count);
    void DrawChoiceRows(std::int32_t highlight);
    void ChoiceHover(int x, int y);
    void ChoicePick();
    // Where a keyboard puts the pointer to hover row `row` (from 1) of the menu shown: inside
    // that row of the choice menu, the system menu or the slot list; nullopt on any other screen
    // and for a row the menu does not have.
    std::optional<WindowPoint> MenuRowPoint(std::int32_t row) const;
    // Every place a left click acts on in the screen shown now, in reading order; none while the
    // story runs or waits for a click anywhere.
    std::vector<ClickTarget> ClickTargets() const;
    void DrawSystemMenu(std::int32_t highlight);
    // Flag 19 and the alternate text mode keep the system menu from opening.
    bool systemMenuBlocked() const;
    void SystemMenuAction(std::int32_t row);

    // --- Alternate text mode (alt_text.cpp) ------------------------------------------------------
    void AltTextStep();

    // --- Pictures and transitions (picture.cpp, transition.cpp) ----------------------------------
    void ShowPicture(std::string_view argument);
    void Transition(std::int32_t number);

    // --- Saves and the seen record (slot_list.cpp, saves.cpp; gameclr: commands.cpp) ------------
    // The slot list: the cancel row and slots 1 to 8, for loading or (`saving`) for saving.
    void OpenSlotList(bool saving);
    void DrawSlotList(std::int32_t highlight);
    // A click on row 1 (cancel) or rows 2 to 9 (slots 1 to 8); every save or load attempt
    // ends in the hotel menu, and so does a cancel once `returnToHotelMark` is set.
    void SlotPick(std::int32_t row);
    // Slot 1 to 8. A save is written whole or not at all: when it cannot be written, the old
    // file stays, the player is told in a message box and nothing else happens (false). A
    // load from a slot whose file cannot be read does nothing (false).
    bool SaveSlot(std::int32_t slot);
    bool LoadSlot(std::int32_t slot);
    // Merges the seen record on disk into the marks and E values by OR (clears them when the
    // file cannot be read) and writes them back.
    void UpdateSeenRecord();
    std::filesystem::path SaveFilePath(std::int32_t slot) const;
    std::filesystem::path SeenRecordPath() const;
    // `gameclr`: counts a finished game in the settings and the seen record.
    void RecordClearedGame();
    // --- Music and voice (music_voice.cpp) -------------------------------------------------------
    // Starts track `track` ("MIDI/%02d.MID") looping, or stops the music for 0; asking for the
    // current track again does nothing, and nothing changes while the BGM setting is off.
    void PlayMusic(std::int32_t track);
    // Plays the voice clip named by `name` up to its first NUL or "]" byte, cutting off the
    // one before; a clip found in neither of its two places is skipped.
    void PlayVoice(std::string_view name);
    // The 60 ms timer's look at the music: restarts a current track that has played out.
    void MusicLoopCheck();
    // Start-up's sound step: the players start idle. Opens no file.
    void SoundSetup();
    // A music or voice file that cannot be played: `what` names it, `reason` says why.
    void reportSoundError(std::string_view what, std::string_view reason);
    // --- Hotel map (hotel_map.cpp, floor_map.cpp) ------------------------------------------------
    // `move`: the hotel menu (移動, 徴収, ロード, セーブ) with the money window for V50.
    void ShowHotelMenu();
    // Left clicks while the hotel menu (`MenuKind::Hotel`) or the floor map (`MenuKind::FloorMap`)
    // is up.
    void HotelMenuClick(int x, int y);
    void FloorMapClick(int x, int y);
    // One plate with its code page 932 label, white with a black shadow, onto the map canvas.
    void DrawPlate(std::string_view label, int x, int y, int height);
    // 移動: the floor plates, the current floor's marker and its room plates.
    void ShowFloorMap();
    // 徴収 and every accepted map click: drops the mode's pictures and lets the script run.
    void LeaveHotelMap();
    // --- Galleries, scene replay, special effects (gallery.cpp, screen_effects.cpp) --------------
    // `view`: opens gallery 1 or 2, or the scene replay menu (3); any other number pauses the
    // story with nothing shown until the close button's area is clicked.
    void OpenView(std::int32_t kind);
    // Every mouse-down while a view is up (`ViewFlag::ViewShown`), whatever the button.
    void ViewClick(int x, int y);
    // The click targets of the view up now (gallery.cpp, scene_replay.cpp).
    std::vector<ClickTarget> ViewTargets() const;
    std::vector<ClickTarget> SceneReplayTargets() const;
    // The plates of the hotel menu or the floor map (floor_map.cpp).
    std::vector<ClickTarget> HotelTargets() const;
    // The scene replay menu's half of `OpenView` and `ViewClick` (scene_replay.cpp).
    void OpenSceneReplay();
    void SceneReplayClick(int x, int y);
    // `special`: the window shake (1), the darkening outside a band of rows (2,top,bottom), seven
    // white flashes (3) or one (4). Runs to its end with the host's pauses.
    void SpecialEffect(std::string_view text);
    Host& host() { return host_; }
    const GameOptions& options() const { return options_; }
    // The text drawer the game draws its text with (the reader's backlog uses it too).
    TextRenderer& text();

    // --- Snapshots (snapshot.cpp) ----------------------------------------------------------------
    // What decides the game's next steps, to be put back later (game/snapshot.h).
    GameSnapshot TakeSnapshot() const;
    void RestoreSnapshot(const GameSnapshot& snapshot);
    // "CHUNK:LINE" of the script line run last, for messages to an author; empty before the
    // first chunk.
    std::string ScriptLocation() const;

    // --- Variables, seen record, settings --------------------------------------------------------
    Variables vars;
    std::array<std::uint8_t, 256> aMarks{};
    std::array<std::uint8_t, 256> bMarks{};
    GameSettings settings;
    std::int32_t clearMark = 0;

    // --- Folders ---------------------------------------------------------------------------------
    std::filesystem::path saveFolder;
    std::filesystem::path gameDirectory;

    Random random;

private:
    friend class CommandTable;

    enum class Step { GoesOn, Ends };

    // Loading in two halves, so that a caller can save the running chunk only once the new one
    // has been read whole: `readChunk` gives the length or -1, `startChunk` makes it current.
    int readChunk(std::string_view name, std::string_view requester = {});
    void startChunk(int length);

    // Interpreter pieces.
    // Ends a step that found the script looping for ever, and tells of it the first time.
    void reportEndlessLoop();
    bool storyCanRun() const;
    bool fetchNextLine();
    void handleLabelLine();
    void traceTextLine();
    void restoreCaller();
    void restoreMessageCaller();
    // Saves the running chunk as the caller that a called chunk's `end` returns to.
    void saveCaller();
    // The label-missing event for a jump to `name` that found nothing.
    void traceMissingLabel(std::string_view name);
    int findLabelFrom(std::int32_t start, std::string_view name) const;

    // Text handling of the line in `lineBuffer` from `linePos`; true when the step ends.
    bool HandleText();
    enum class TagResult { Continue, EndStep, NextLine };
    TagResult handleTag();
    void applyPacingRule();
    void drawCharacter(const std::uint8_t* bytes, int count);
    void drawHeartIcon();
    void frameCopy();
    void SetTextColour();

    // Commands: runs the command line, `matched` set to its keyword (nullptr when skipped).
    Step dispatchCommand(const CommandKeyword*& matched);

    // The middle of a choice row, where the pointer hovers it.
    static WindowPoint choiceRowPoint(std::int32_t row);

    // Alternate text mode pieces.
    void drawCellCharacter(const std::uint8_t* bytes, int count);
    void altPacing();
    void altShowPage();
    bool altFetchTextLine();

    // Composition pieces.
    void resetFrameText();
    void showTextFrame();
    bool loadPictureLayer(std::string_view path, Bitmap& target);

    // Operations of other subsystems reached from scripts.

    struct TextWindowDrag {
        bool dragging = false;
        WindowPoint topLeft;     // where the window is, as moved so far
        WindowPoint grab;        // the grab point in the window's image
        std::int32_t moves = 0;  // never reset: only every fourth move moves the window
    } textWindowDrag_;

    LoopWatch loopWatch_;
    Host& host_;
    GameOptions options_;
    Archive archive_;
    std::array<std::uint8_t, kScriptBufferSize> chunkReadBuffer_{};
    PrsDecoder prsDecoder_;
    std::vector<std::uint8_t> prsFileBuffer_;  // the PRS file being decoded
    std::string pendingChunkName_;

    // Which overlay picture the layers hold: each one loaded gets a number no other overlay in
    // the process has, so snapshots taken while it stays share one copy of its 640x480 pixels
    // and a restore copies them back only when another overlay was loaded since.
    std::uint64_t overlayVersion_ = 0;
    mutable std::shared_ptr<const OverlayImage> sharedOverlay_;
    mutable std::uint64_t sharedOverlayVersion_ = 0;
};

}  // namespace corvan
