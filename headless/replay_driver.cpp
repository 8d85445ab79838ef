#include "headless/replay_driver.h"

namespace corvan {

namespace {

// Where `readOn` clicks: the middle of the picture, on no menu row or button.
struct PagePoint {
    int x, y;
};
constexpr PagePoint kPagePoint{320, 240};

}  // namespace

ReplayDriver::ReplayDriver(Reader& reader, std::function<bool()> closed)
    : reader_(reader), closed_(std::move(closed)) {}

void ReplayDriver::start() {
    if (started_) return;
    started_ = true;
    game().FormCreate();
}

void ReplayDriver::idle() {
    start();
    if (closed()) {
        if (!destroyed_) {
            destroyed_ = true;
            reader_.formDestroy();
        }
        return;
    }
    reader_.idle();
    if (++calls_ % kIdleCallsPerTick == 0 && !closed()) reader_.timer();
}

void ReplayDriver::idle(std::int64_t count) {
    for (std::int64_t i = 0; i < count && !closed(); ++i) idle();
    if (closed()) idle();  // lets the closed window shut the game down
}

bool ReplayDriver::waitsForPlayer(const Game& g, const Reader& reader) {
    if (g.delayTicks > 0) return false;
    if (g.quitRequested) return false;
    if (reader.actsOnItsOwn()) return false;
    return !g.scriptRunning || g.waitKind != WaitKind::None || g.menuKind != MenuKind::None ||
           g.viewFlag != ViewFlag::Story;
}

std::int64_t ReplayDriver::run(std::int64_t limit) {
    start();
    std::int64_t calls = 0;
    // A script found going round a loop it cannot leave would use the whole budget in vain.
    while (calls < limit && !closed() && !waitingForPlayer() && !game().scriptLooping()) {
        idle();
        ++calls;
    }
    if (closed()) idle();
    return calls;
}

std::int64_t ReplayDriver::readOn(std::int64_t maxClicks) {
    run();
    std::int64_t clicks = 0;
    for (; clicks < maxClicks && !closed(); ++clicks) {
        const Game& g = game();
        const bool atPageOrClickWait = g.scriptRunning && g.waitKind != WaitKind::None &&
                                       g.menuKind == MenuKind::None &&
                                       g.viewFlag == ViewFlag::Story && g.delayTicks == 0;
        if (!atPageOrClickWait) break;
        click(MouseButton::Left, kPagePoint.x, kPagePoint.y);
        run();
    }
    return clicks;
}

void ReplayDriver::mouseMove(int x, int y) {
    start();
    if (!closed()) reader_.mouseMove(x, y);
}

void ReplayDriver::mouseDown(MouseButton button, int x, int y) {
    start();
    if (!closed()) reader_.mouseDown(button, x, y);
}

void ReplayDriver::mouseUp(MouseButton button, int x, int y) {
    start();
    if (!closed()) reader_.mouseUp(button, x, y);
}

void ReplayDriver::click(MouseButton button, int x, int y) {
    mouseMove(x, y);
    mouseDown(button, x, y);
    mouseUp(button, x, y);
}

void ReplayDriver::keyDown(Key key) {
    start();
    if (closed()) return;
    Host& host = game().host();
    switch (reader_.keyDown(key)) {
        case Reader::HostRequest::None: break;
        case Reader::HostRequest::ToggleFullScreen:
            host.traceEvent("host-request fullscreen");
            break;
        case Reader::HostRequest::Screenshot: host.traceEvent("host-request screenshot"); break;
        case Reader::HostRequest::LouderMusic: host.traceEvent("host-request louder"); break;
        case Reader::HostRequest::QuieterMusic: host.traceEvent("host-request quieter"); break;
        case Reader::HostRequest::PlayerSettings: host.traceEvent("host-request settings"); break;
    }
}

void ReplayDriver::keyUp(Key key) {
    start();
    if (!closed()) reader_.keyUp(key);
}

void ReplayDriver::key(Key key) {
    keyDown(key);
    keyUp(key);
}

void ReplayDriver::setSetting(const std::string& name, const std::string& value) {
    game().host().writeSetting(name, value);
    if (started_ && !closed()) {
        game().ApplySettings();
        reader_.applySettings();
    }
}

}  // namespace corvan
