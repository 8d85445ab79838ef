#pragma once

// The browser's stand-in for the desktop's main window (shell/main_window.h): it drives the game
// from the page's events, through the reader's layer (reader/reader.h) as the window does. The
// page's clock gives the 60 ms timer and, while the game or the reader has idle work, the 20 ms
// idle call; while neither has, the idle timer rests and the calls it would have made are made
// up for at once when anything next calls the game, as on the desktop. Pointer and touch come as
// mouse events in game pixels; keys are the game's key map's (web/key_map.h).
//
// The page queues its events while the game is busy; they are handled here one at a time, and
// also while a transition's frame or a dialog waits, as the desktop's event loop lets the timer
// and the mouse in between a transition's frames.

#include <cstdint>
#include <functional>
#include <optional>

#include "game/game.h"
#include "reader/reader.h"
#include "web/page.h"

namespace corvan::web {

class WebLoop {
public:
    static constexpr int kIdleMilliseconds = 20;

    explicit WebLoop(Reader& reader) : game_(reader.game()), reader_(reader) {}

    const Reader& reader() const { return reader_; }

    // Starts the game (its creation handler) and its timers.
    void start();
    // Handles every event the page has queued, in order.
    void processEvents();
    // The main window closes: the game shuts down once the call it is in has returned.
    void close();
    bool ended() const { return ended_; }
    // Shows what the game has drawn since it was last shown.
    void showChanges();

private:
    void dispatch(const page::Event& event);
    // Runs one handler of the game, unless it has been shut down. Calls may nest; the shutdown
    // waits until the outermost call has returned.
    void callGame(const std::function<void(Game&)>& handler);
    void idle();
    void restIfIdle();
    void wakeFromRest();
    void keyDown(const page::Event& event);
    void endGame();
    // The reader's marks over the picture and the message window hidden with the frame.
    void showReaderState();

    Game& game_;
    Reader& reader_;
    bool frameHidden_ = false;
    const Bitmap* lastShown_ = nullptr;
    page::ReadingMark mark_ = page::ReadingMark::None;
    std::optional<Rect> highlight_;
    int depth_ = 0;
    bool started_ = false;
    bool closing_ = false;
    bool ended_ = false;
    double restingSince_ = -1;  // page time the idle timer stopped; -1 while it runs
};

}  // namespace corvan::web
