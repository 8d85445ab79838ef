#pragma once

// The game: one object that owns all game state, as the main window did in the original
// program: the archive, the interpreter's buffers and run state, the variables, the text
// cursor, the menu state and the settings. Its entry points are the original's handlers
// (`FormCreate`, `AppIdle`, `Timer1Timer`, the mouse handlers, `FormDestroy`); whichever host
// runs the game calls them, one at a time, on one thread.
//
// State fields keep the names the game's scripts and save files are documented with, so that a
// state dump reads like the original's globals.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/archive.h"
#include "engine/host.h"
#include "engine/random.h"
#include "engine/script_search.h"
#include "engine/variables.h"
#include "game/game_settings.h"
#include "render/bitmap.h"
#include "render/font.h"
#include "render/layers.h"
#include "render/prs.h"

namespace corvan {

enum class MouseButton { Left, Right, Middle };

// Which build of the game program runs: the one with music and voices, or the silent one.
struct GameOptions {
    bool withSound = true;
};

class Game {
public:
    static constexpr int kScriptBufferSize = Archive::kMaxChunkLength;
    static constexpr int kLineBufferSize = 256;
    // Lines one interpreter step may run before it ends even though nothing was shown.
    static constexpr int kMaxLinesPerStep = 10000;

    Game(Host& host, GameOptions options);
    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // --- Handlers called by the host ----------------------------------------------------
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
    void Timer1Timer();
    void Image1MouseDown(MouseButton button, int x, int y);
    void Image1MouseMove(int x, int y);
    void Image1MouseUp(MouseButton button, int x, int y);
    // The movable message window's own mouse handlers (positions in its 576x96 image): a drag
    // moves the window; these clicks never reach the story.
    void TextWindowMouseDown(int x, int y);
    void TextWindowMouseMove(int x, int y);
    void TextWindowMouseUp();

    // --- Start-up and settings ----------------------------------------------------------
    void InitGame();
    // Takes the stored settings into the running game.
    void ApplySettings();

    // --- Archive ------------------------------------------------------------------------
    bool LoadDirectory();
    // Starts the chunk `name`. When the archive has none, the chunk-missing event names it and
    // `requester` (a word such as "chain"; empty for the chunks the game itself starts).
    bool LoadChunk(std::string_view name, std::string_view requester = {});

    // --- Interpreter --------------------------------------------------------------------
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

    // --- Screen composition -------------------------------------------------------------
    void Compose();
    void BuildFrameBackdrop();
    void RedrawScreen();
    void OpenTextFrame();
    void ClearTextFrame();
    void DrawWaitMarker();
    // Puts the composite's corner back over the wait marker.
    void RestoreMarkerCorner();

    // --- Menus ----------------------------------------------------------------------------
    static constexpr int kMaxChoiceRows = 9;
    static constexpr int kSlotCount = 8;
    static constexpr int kSystemMenuBlockFlag = 19;
    void OpenChoiceMenu(std::int32_t count);
    void DrawChoiceRows(std::int32_t highlight);
    void ChoiceHover(int x, int y);
    void ChoicePick();
    // Where a keyboard puts the pointer to hover row `row` (from 1) of the menu shown: inside
    // that row of the choice menu, the system menu or the slot list; nullopt on any other screen
    // and for a row the menu does not have.
    std::optional<WindowPoint> MenuRowPoint(std::int32_t row) const;
    void DrawSystemMenu(std::int32_t highlight);
    // Flag 19 and the alternate text mode keep the system menu from opening.
    bool systemMenuBlocked() const;
    void SystemMenuAction(std::int32_t row);

    // --- Alternate text mode ------------------------------------------------------------
    void AltTextStep();

    // --- Pictures and transitions -------------------------------------------------------
    void ShowPicture(std::string_view argument);
    void Transition(std::int32_t number);

    // ===== Saves and the seen record (ui/slot_list.cpp, ui/saves.cpp) ======================
    // The slot list: the cancel row and slots 1 to 8, for loading or (`saving`) for saving.
    // `savingToSlot` is its save switch.
    static constexpr int kSlotListRows = 9;
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
    // The hotel menu sets it to 4 when it opens the slot list; nothing clears it.
    std::int32_t returnToHotelMark = 0;
    // Code page 932 labels of the slot list's rows, built when the list opens.
    std::array<std::string, kSlotListRows> slotLabels{};
    // ===== end of saves ===================================================================

    // ===== Music and voice (sound/music_voice.cpp) ==========================================
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
    std::int32_t loopCountdown = 0;  // timer ticks until the loop check looks at the music
    // ===== end of music and voice ============================================================

    // ===== Hotel map (hotel/hotel_map.cpp, hotel/floor_map.cpp) =============================
    // `move`: the hotel menu (移動, 徴収, ロード, セーブ) with the money window for V50.
    void ShowHotelMenu();
    // Left clicks while the hotel menu (`menuKind` 4) or the floor map (5) is up.
    void HotelMenuClick(int x, int y);
    void FloorMapClick(int x, int y);
    // One plate with its code page 932 label, white with a black shadow, onto the map canvas.
    void DrawPlate(std::string_view label, int x, int y, int height);
    // 移動: the floor plates, the current floor's marker and its room plates.
    void ShowFloorMap();
    // 徴収 and every accepted map click: drops the mode's pictures and lets the script run.
    void LeaveHotelMap();
    // The mode's off-screen pictures, made anew by every showing of the hotel menu and dropped
    // when a chunk is started from the mode; empty (0x0) otherwise.
    struct HotelPictures {
        Bitmap mapCanvas;     // 640x480: the menu or the map, composed before it is shown
        Bitmap plate;         // PLATE
        Bitmap labelMask;     // 100x60: one label, for its shadow and its face
        Bitmap plateScratch;  // 100x60: one plate with its label
    };
    HotelPictures hotelPictures;
    // ===== end of hotel map =================================================================

    // ===== Galleries, scene replay, special effects (hotel/gallery.cpp, ...) ================
    // `view`: opens gallery 1 or 2, or the scene replay menu (3); any other number pauses the
    // story with nothing shown until the close button's area is clicked.
    void OpenView(std::int32_t kind);
    // Every mouse-down while a view is up (`viewFlag` 2), whatever the button.
    void ViewClick(int x, int y);
    // The scene replay menu's half of `OpenView` and `ViewClick` (hotel/scene_replay.cpp).
    void OpenSceneReplay();
    void SceneReplayClick(int x, int y);
    // `special`: the window shake (1), the darkening outside a band of rows (2,top,bottom), seven
    // white flashes (3) or one (4). Runs to its end with the host's pauses.
    void SpecialEffect(std::string_view text);
    struct ViewState {
        std::int32_t page = 1;    // the gallery page shown, 1 to 5
        std::uint8_t opened = 0;  // 1 while one picture of a gallery is shown instead of its page
    };
    ViewState viewState;
    // ===== end of galleries =================================================================

    Host& host() { return host_; }
    const GameOptions& options() const { return options_; }

    // --- The current chunk --------------------------------------------------------------
    std::array<std::uint8_t, kScriptBufferSize> scriptBuffer{};
    std::int32_t scriptLength = 0;
    std::int32_t scriptPos = 0;
    std::array<std::uint8_t, kLineBufferSize> lineBuffer{};
    std::int32_t linePos = 0;
    std::array<std::uint8_t, kScriptBufferSize> callBuffer{};
    std::int32_t callReturnPos = 0;
    std::int32_t callReturnLength = 0;
    bool inCall = false;
    std::array<std::uint8_t, kScriptBufferSize> messageBuffer{};
    std::int32_t messageReturnPos = 0;
    std::int32_t messageReturnLength = 0;
    bool inMessage = false;
    std::array<std::uint8_t, 8> chapterName{};
    std::string lastChunk;  // archive name of the chunk loaded last
    // Archive names of the chunk in `scriptBuffer` and of the chunks waiting in `callBuffer` and
    // `messageBuffer`: they follow a call's or a message section's return, unlike `lastChunk`.
    std::string currentChunk;
    std::string callerChunk;
    std::string messageCallerChunk;
    // Called with the offset in `currentChunk` of every script line the interpreter fetches (the
    // chunk's length when it runs off its end); tools that follow a story's coverage set it, the
    // game leaves it empty.
    std::function<void(std::int32_t offset)> onLineFetched;

    // --- Run state ----------------------------------------------------------------------
    bool fetchLine = false;
    bool scriptRunning = false;
    std::int32_t caseState = 0;
    std::int32_t waitKind = 0;  // 0 none, 1 page wait, 2 plain wait
    std::int32_t delayTicks = 0;
    std::int32_t textDelay = 0;
    std::int32_t menuKind = 0;  // 0 none, 1 choice, 2 system menu, 3 slots, 4 hotel, 5 floor map
    std::int32_t viewFlag = 0;
    std::int32_t viewKind = 0;
    std::int32_t altTextMode = 0;
    bool updatePending = false;
    bool quitRequested = false;
    std::int32_t tickCount = 0;
    std::int64_t idleCalls = 0;
    // Steps in a row that ended only because they ran out of lines: the script loops without
    // showing anything.
    std::int64_t runawaySteps = 0;

    // --- Text cursor and style ----------------------------------------------------------
    std::int32_t textColumn = 0;
    std::int32_t textLine = 0;
    std::int32_t largeText = 0;
    std::int32_t textColour = 0;

    // --- Screen state -------------------------------------------------------------------
    Bitmap screen{kScreenWidth, kScreenHeight};  // what the main window shows (`Image1`)
    Layers layers;
    bool movableFrame = false;  // the text frame shows in the message window, not the picture
    bool mainWindowBordered = true;  // a small screen takes the border away
    FontSpec frameFont{"ＭＳＰゴシック", 16, true};
    std::uint32_t frameFontColour = 0xFFFFFF;
    bool frameOpen = false;
    bool overlayShown = false;
    bool overlayDeferred = false;

    // --- Menu state ---------------------------------------------------------------------
    std::int32_t rowCount = 0;
    std::int32_t hoveredRow = 0;
    bool inputLatch = false;
    bool savingToSlot = false;
    FontSpec menuFont{"ＭＳＰゴシック", 16, true};
    FontSpec cellFont{"ＭＳＰゴシック", 16, true};  // the 32x32 glyph cell of the alternate mode

    // --- Variables, seen record, settings -----------------------------------------------
    Variables vars;
    std::array<std::uint8_t, 256> aMarks{};
    std::array<std::uint8_t, 256> bMarks{};
    GameSettings settings;
    std::int32_t clearMark = 0;
    std::int32_t currentTrack = 0;

    // --- Folders ------------------------------------------------------------------------
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

    // Commands.
    Step dispatchCommand();

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
    TextRenderer& text();

    // Operations of other subsystems reached from scripts.

    struct TextWindowDrag {
        bool dragging = false;
        WindowPoint topLeft;  // where the window is, as moved so far
        WindowPoint grab;     // the grab point in the window's image
        std::int32_t moves = 0;  // never reset: only every fourth move moves the window
    } textWindowDrag_;

    Host& host_;
    GameOptions options_;
    Archive archive_;
    std::array<std::uint8_t, kScriptBufferSize> chunkReadBuffer_{};
    PrsDecoder prsDecoder_;
    std::vector<std::uint8_t> prsFileBuffer_;  // the PRS file being decoded
    std::string pendingChunkName_;
};

}  // namespace corvan
