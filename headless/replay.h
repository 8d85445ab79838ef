#pragma once

// The headless player: a game, its headless host and the virtual clock of
// headless/replay_driver.h.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "game/game.h"
#include "headless/headless_host.h"
#include "headless/replay_driver.h"
#include "reader/reader.h"

namespace corvan {

class HeadlessPlayer {
public:
    static constexpr int kIdleMilliseconds = ReplayDriver::kIdleMilliseconds;
    static constexpr int kIdleCallsPerTick = ReplayDriver::kIdleCallsPerTick;
    static constexpr std::int64_t kDefaultRunLimit = ReplayDriver::kDefaultRunLimit;
    static constexpr std::int64_t kDefaultReadClicks = ReplayDriver::kDefaultReadClicks;

    explicit HeadlessPlayer(GameOptions options = {});

    HeadlessHost& host() { return host_; }
    Game& game() { return reader_->game(); }
    const Game& game() const { return reader_->game(); }
    Reader& reader() { return *reader_; }
    ReplayDriver& driver() { return driver_; }

    // See ReplayDriver.
    void start() { driver_.start(); }
    bool started() const { return driver_.started(); }
    bool closed() const { return host_.windowClosed(); }
    void idle() { driver_.idle(); }
    void idle(std::int64_t count) { driver_.idle(count); }
    std::int64_t run(std::int64_t limit = kDefaultRunLimit) { return driver_.run(limit); }
    std::int64_t readOn(std::int64_t maxClicks = kDefaultReadClicks) {
        return driver_.readOn(maxClicks);
    }
    bool waitingForPlayer() const { return driver_.waitingForPlayer(); }
    void mouseMove(int x, int y) { driver_.mouseMove(x, y); }
    void mouseDown(MouseButton button, int x, int y) { driver_.mouseDown(button, x, y); }
    void mouseUp(MouseButton button, int x, int y) { driver_.mouseUp(button, x, y); }
    void click(MouseButton button, int x, int y) { driver_.click(button, x, y); }
    void keyDown(Key key) { driver_.keyDown(key); }
    void keyUp(Key key) { driver_.keyUp(key); }
    void key(Key key) { driver_.key(key); }
    void setSetting(const std::string& name, const std::string& value) {
        driver_.setSetting(name, value);
    }

private:
    HeadlessHost host_;
    std::unique_ptr<Reader> reader_;
    ReplayDriver driver_;
};

}  // namespace corvan
