#pragma once

// The reader's layer over the game. A host makes the game through it and hands every event to
// it instead of to the game's own handlers: the mouse goes through as it is, the keys become the
// clicks and pointer moves they stand for (reader/key_map.h), and the comforts readers expect
// live here: a backlog of the pages read, auto-advance, skipping what was read, hiding the
// frame. It drives the game only through the handlers a host would call and watches it through
// the events it reports, so the game stays as it always was, and a player who uses none of this
// gets exactly the original game.

#include <cstdint>
#include <optional>

#include "game/game.h"
#include "reader/backlog_view.h"
#include "reader/key_map.h"
#include "reader/keys.h"
#include "reader/observed_host.h"
#include "reader/page_book.h"
#include "reader/read_record.h"

namespace corvan {

class Reader {
public:
    // What a key asks of the host: what only a host can do.
    enum class HostRequest {
        None,
        ToggleFullScreen,
        Screenshot,
        LouderMusic,
        QuieterMusic,
        PlayerSettings
    };

    // Idle calls (20 ms each) that Ctrl must be held alone before it starts skipping, so that
    // a shortcut such as Ctrl+S never reads on first.
    static constexpr int kSkipDelayCalls = 10;
    // While skipping, one idle call of the host runs up to this many of the game's, so that a
    // page read before appears whole at once.
    static constexpr int kSkipCallsPerIdle = 200;
    // Auto-advance's pause at a page: a second, and for every half-width cell of the page
    // (11 - AutoSpeed) x 15 ms, so 90 ms at the default speed of 5.
    static constexpr int kAutoPauseMilliseconds = 1000;
    static constexpr int kAutoCellStepMilliseconds = 15;
    static constexpr int kDefaultAutoSpeed = 5;
    // The read record is written at most this often while playing (and always at the end).
    static constexpr int kRecordFlushCalls = 250;

    Reader(Host& host, GameOptions options);
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    Game& game() { return game_; }
    const Game& game() const { return game_; }

    // --- The host's events, in place of the game's handlers -------------------------------
    void idle();
    void timer() { game_.Timer1Timer(); }
    // The window closed: the game shuts down, and what was read is written.
    void formDestroy();
    void mouseDown(MouseButton button, int x, int y);
    void mouseMove(int x, int y);
    void mouseUp(MouseButton button, int x, int y);
    // A key went down (`repeat`: held down long enough to repeat). Ctrl and Alt held with it
    // come in `modifiers`; a Ctrl the reader saw go down counts as held anyway.
    HostRequest keyDown(Key key, KeyModifiers modifiers = {}, bool repeat = false);
    void keyUp(Key key);
    // The window lost the keyboard: every key counts as let go.
    void releaseKeys();
    // Reads the reader's settings (AutoSpeed, SkipUnread) afresh: after the player changed them.
    void applySettings();
    // Writes the read record now if pages were read since it was last written.
    void saveReadRecord();
    // A tool that plays a story many times over (the route explorer) keeps no read record.
    void keepNoReadRecord() { recordKept_ = false; }

    // --- What the host shows and asks -----------------------------------------------------
    // The picture to show: the game's screen, or the backlog, or the picture without its frame.
    const Bitmap& picture() const;
    // True while the player hides the message frame (a host hides the movable message window).
    bool frameHidden() const { return frameHidden_; }
    bool backlogOpen() const { return backlogOpen_; }
    // True while the reader will act at idle calls though the game waits for the player (a skip
    // or auto-advance at a click wait): a host must keep calling `idle` then.
    bool actsOnItsOwn() const;
    // Whether idle calls are needed now: the game has work, or the reader has.
    bool wantsIdleCalls() const;
    // The keyboard's highlight on a place the game does not highlight itself (a plate of the
    // hotel map, a gallery's thumbnail or button), for the host to draw over the picture; it
    // never enters the game's screen.
    std::optional<Rect> keyboardHighlight() const;
    WindowPoint pointer() const { return pointer_; }
    // The modes a host marks over the picture.
    bool skipping() const;
    bool autoAdvancing() const { return autoOn_; }
    const PageBook& pages() const { return book_; }

private:
    void observe(std::string_view event);
    // Looks at the game after each call into it: pages shown whole, modes that end.
    void afterGameCall();
    void gameIdle();
    // A key's press starts fresh: a latch left by a menu that opened after the last release
    // (the game keeps a press from acting on the menu it opened) must not swallow it.
    void clearStaleLatch();
    void clickAtPointer(MouseButton button);
    void moveHighlight(KeyAction action);
    HostRequest gameKey(KeyAction action, bool repeat);
    bool atClickWait() const;
    bool mayStopStory() const;
    // Skipping, by Ctrl held alone or Tab: whether it wants to read on, and may read on here.
    bool skipWanted() const;
    bool maySkipThisPage() const;
    bool autoPauseOver();
    void skipOn(int calls);
    void ensureReadRecord();

    // Backlog and hidden frame.
    void openBacklog();
    void closeBacklog();
    void drawBacklog();
    void backlogKey(KeyAction action, Key key);
    void playPageVoice(std::size_t page);

    ObservedHost observed_;
    Game game_;
    PageBook book_;
    ReadRecord readRecord_;
    BacklogView backlogView_;
    Bitmap backlogPicture_{0, 0};
    bool backlogOpen_ = false;
    std::size_t backlogBottom_ = 0;
    bool frameHidden_ = false;

    WindowPoint pointer_{320, 240};
    bool buttonHeld_ = false;
    bool ctrlHeld_ = false;
    bool ctrlAlone_ = false;  // no other key was pressed since Ctrl went down
    int ctrlHeldCalls_ = 0;
    bool skipToggled_ = false;  // Tab
    bool autoOn_ = false;
    std::int64_t waitStartedAt_ = -1;  // the game's idle call at which the click wait began
    bool highlightShown_ = false;      // the last arrow put the highlight on a target
    int autoSpeed_ = kDefaultAutoSpeed;
    bool skipUnread_ = false;
    bool settingsRead_ = false;
    int callsSinceFlush_ = 0;
    bool replayingVoice_ = false;
    bool recordKept_ = true;
};

}  // namespace corvan
