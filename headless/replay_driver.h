#pragma once

// Plays a game on a virtual clock, whatever its host: each idle call stands for 20 ms and the
// 60 ms timer fires after every third. Nothing waits for real time, so the same input always
// gives the same game. Every event goes through the reader's layer (reader/reader.h), as a
// window's do. The headless player (headless/replay.h) drives its games with it, and the
// browser's build its golden runs.

#include <cstdint>
#include <functional>
#include <string>

#include "game/game.h"
#include "reader/reader.h"

namespace corvan {

class ReplayDriver {
public:
    static constexpr int kIdleMilliseconds = 20;
    static constexpr int kIdleCallsPerTick = 3;
    static constexpr std::int64_t kDefaultRunLimit = 100000;
    static constexpr std::int64_t kDefaultReadClicks = 1000;

    // Drives `reader`, which its owner keeps. `closed` tells whether the main window has closed;
    // the game then takes no more calls.
    ReplayDriver(Reader& reader, std::function<bool()> closed);

    Reader& reader() { return reader_; }
    Game& game() { return reader_.game(); }
    const Game& game() const { return reader_.game(); }

    // Runs the game's creation handler once; later calls do nothing.
    void start();
    bool started() const { return started_; }
    // The game's time on the virtual clock.
    std::int64_t playedMilliseconds() const { return game().idleCalls * kIdleMilliseconds; }
    bool closed() const { return closed_(); }

    // One idle call, then the timer when its 60 ms are up.
    void idle();
    void idle(std::int64_t count);
    // Idle calls until the game waits for the player, the script has stopped, the window has
    // closed, the game has found the script going round a loop it cannot leave ("script-loop"
    // in the log), or `limit` calls have run. A pending timed delay is waited out. Returns the
    // calls made.
    std::int64_t run(std::int64_t limit = kDefaultRunLimit);
    // Reads on as a player does who only clicks: a left click in the middle of the picture for
    // every page and click wait, each followed by `run`, until the game waits for anything else
    // (a choice, a menu, a gallery), has stopped or closed, or `maxClicks` clicks were made.
    // Returns the clicks made.
    std::int64_t readOn(std::int64_t maxClicks = kDefaultReadClicks);
    // True when the game waits for the player or has nothing to run, no delay is pending and
    // the reader does nothing by itself.
    bool waitingForPlayer() const { return waitsForPlayer(game(), reader_); }
    static bool waitsForPlayer(const Game& game, const Reader& reader);

    void mouseMove(int x, int y);
    void mouseDown(MouseButton button, int x, int y);
    void mouseUp(MouseButton button, int x, int y);
    void click(MouseButton button, int x, int y);
    // Keys of the game's key map: down, up, or a press and release. What a key asks of a window
    // (fullscreen, a screenshot, the volume) is logged as "host-request NAME".
    void keyDown(Key key);
    void keyUp(Key key);
    void key(Key key);

    // Writes a settings value as a settings dialog does, then applies the settings.
    void setSetting(const std::string& name, const std::string& value);

private:
    Reader& reader_;
    std::function<bool()> closed_;
    std::int64_t calls_ = 0;  // idle calls made; the timer fires after every third
    bool started_ = false;
    bool destroyed_ = false;
};

}  // namespace corvan
