#include "headless/replay.h"

#include "engine/cp932.h"
#include "engine/trace_events.h"
#include "settings/setting_names.h"

namespace corvan {

namespace {

// Where `readOn` clicks: the middle of the picture, on no menu row or button.
struct PagePoint {
    int x, y;
};
constexpr PagePoint kPagePoint{320, 240};

}  // namespace

HeadlessPlayer::HeadlessPlayer(GameOptions options)
    : reader_(std::make_unique<Reader>(host_, std::move(options))) {
    // Voices sound for their length on the virtual clock.
    host_.recordingAudio().setClock(
        [this] { return game().idleCalls * kIdleMilliseconds + host_.pausedMilliseconds(); });
}

void HeadlessPlayer::start() {
    if (started_) return;
    started_ = true;
    game().FormCreate();
}

void HeadlessPlayer::idle() {
    start();
    if (closed()) {
        if (!destroyed_) {
            destroyed_ = true;
            reader_->formDestroy();
        }
        return;
    }
    reader_->idle();
    if (++calls_ % kIdleCallsPerTick == 0 && !closed()) reader_->timer();
}

void HeadlessPlayer::idle(std::int64_t count) {
    for (std::int64_t i = 0; i < count && !closed(); ++i) idle();
    if (closed()) idle();  // lets the closed window shut the game down
}

bool HeadlessPlayer::waitingForPlayer() const {
    const Game& g = game();
    if (g.delayTicks > 0) return false;
    if (g.quitRequested) return false;
    if (reader_->actsOnItsOwn()) return false;
    return !g.scriptRunning || g.waitKind != WaitKind::None || g.menuKind != MenuKind::None ||
           g.viewFlag != ViewFlag::Story;
}

std::int64_t HeadlessPlayer::run(std::int64_t limit) {
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

std::int64_t HeadlessPlayer::readOn(std::int64_t maxClicks) {
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

void HeadlessPlayer::mouseMove(int x, int y) {
    start();
    if (!closed()) reader_->mouseMove(x, y);
}

void HeadlessPlayer::mouseDown(MouseButton button, int x, int y) {
    start();
    if (!closed()) reader_->mouseDown(button, x, y);
}

void HeadlessPlayer::mouseUp(MouseButton button, int x, int y) {
    start();
    if (!closed()) reader_->mouseUp(button, x, y);
}

void HeadlessPlayer::keyDown(Key key) {
    start();
    if (closed()) return;
    switch (reader_->keyDown(key)) {
        case Reader::HostRequest::None: break;
        case Reader::HostRequest::ToggleFullScreen:
            host_.traceEvent("host-request fullscreen");
            break;
        case Reader::HostRequest::Screenshot: host_.traceEvent("host-request screenshot"); break;
        case Reader::HostRequest::LouderMusic: host_.traceEvent("host-request louder"); break;
        case Reader::HostRequest::QuieterMusic: host_.traceEvent("host-request quieter"); break;
        case Reader::HostRequest::PlayerSettings: host_.traceEvent("host-request settings"); break;
    }
}

void HeadlessPlayer::keyUp(Key key) {
    start();
    if (!closed()) reader_->keyUp(key);
}

void HeadlessPlayer::key(Key key) {
    keyDown(key);
    keyUp(key);
}

void HeadlessPlayer::click(MouseButton button, int x, int y) {
    mouseMove(x, y);
    mouseDown(button, x, y);
    mouseUp(button, x, y);
}

void HeadlessPlayer::setSetting(const std::string& name, const std::string& value) {
    host_.writeSetting(name, value);
    if (started_ && !closed()) {
        game().ApplySettings();
        reader_->applySettings();
    }
}

}  // namespace corvan
