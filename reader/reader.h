#pragma once

// The reader's layer over the game. A host hands every event to it instead of to the game's own
// handlers: the mouse goes through as it is, the keys become the clicks and pointer moves they
// stand for (reader/key_map.h), and a held Ctrl reads on by itself. It drives the game only
// through the handlers a host would call, so the game stays as it always was, and a player who
// touches no key gets exactly the original game.

#include <cstdint>
#include <optional>

#include "game/game.h"
#include "reader/key_map.h"
#include "reader/keys.h"

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

    // Reads the player's settings for reading on (the auto-advance speed, what skipping
    // skips) again, after the host's settings window stored them.
    void applySettings() {}
    // True while the story reads on by itself (auto-advance).
    bool autoAdvancing() const { return false; }

    // Idle calls (20 ms each) that Ctrl must be held alone before it starts skipping, so that
    // a shortcut such as Ctrl+S never reads on first.
    static constexpr int kSkipDelayCalls = 10;

    explicit Reader(Game& game) : game_(game) {}

    // --- The host's events, in place of the game's handlers -------------------------------
    void idle();
    void timer() { game_.Timer1Timer(); }
    void mouseDown(MouseButton button, int x, int y);
    void mouseMove(int x, int y);
    void mouseUp(MouseButton button, int x, int y);
    // A key went down (`repeat`: held down long enough to repeat). Ctrl and Alt held with it
    // come in `modifiers`; a Ctrl the reader saw go down counts as held anyway.
    HostRequest keyDown(Key key, KeyModifiers modifiers = {}, bool repeat = false);
    void keyUp(Key key);
    // The window lost the keyboard: every key counts as let go.
    void releaseKeys();

    // --- What the host asks ---------------------------------------------------------------
    // True while the reader will act at idle calls though the game waits for the player (a held
    // skip at a click wait): a host must keep calling `idle` then.
    bool actsOnItsOwn() const;
    // Whether idle calls are needed now: the game has work, or the reader has.
    bool wantsIdleCalls() const { return game_.IdleWorkPending() || ctrlHeld_; }
    // The keyboard's highlight on a place the game does not highlight itself (a plate of the
    // hotel map, a gallery's thumbnail or button), for the host to draw over the picture; it
    // never enters the game's screen.
    std::optional<Rect> keyboardHighlight() const;
    WindowPoint pointer() const { return pointer_; }
    // True while Ctrl, held alone, is skipping.
    bool skipping() const { return ctrlHeld_ && ctrlAlone_ && ctrlHeldCalls_ > kSkipDelayCalls; }

    Game& game() { return game_; }

private:
    // A key's press starts fresh: a latch left by a menu that opened after the last release
    // (the game keeps a press from acting on the menu it opened) must not swallow it.
    void clearStaleLatch();
    void clickAtPointer(MouseButton button);
    void moveHighlight(KeyAction action);
    bool atClickWait() const;

    Game& game_;
    WindowPoint pointer_{320, 240};
    bool buttonHeld_ = false;
    bool ctrlHeld_ = false;
    bool ctrlAlone_ = false;  // no other key was pressed since Ctrl went down
    int ctrlHeldCalls_ = 0;
    bool highlightShown_ = false;  // the last arrow put the highlight on a target
};

}  // namespace corvan
