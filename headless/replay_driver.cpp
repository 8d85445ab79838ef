#include "headless/replay_driver.h"

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

ReplayDriver::ReplayDriver(Game& game, std::function<bool()> closed)
    : game_(game), closed_(std::move(closed)) {}

void ReplayDriver::start() {
    if (started_) return;
    started_ = true;
    game_.FormCreate();
}

void ReplayDriver::idle() {
    start();
    if (closed()) {
        if (!destroyed_) {
            destroyed_ = true;
            game_.FormDestroy();
        }
        return;
    }
    game_.AppIdle();
    if (game_.idleCalls % kIdleCallsPerTick == 0 && !closed()) game_.Timer1Timer();
}

void ReplayDriver::idle(std::int64_t count) {
    for (std::int64_t i = 0; i < count && !closed(); ++i) idle();
    if (closed()) idle();  // lets the closed window shut the game down
}

bool ReplayDriver::waitsForPlayer(const Game& g) {
    if (g.delayTicks > 0) return false;
    if (g.quitRequested) return false;
    return !g.scriptRunning || g.waitKind != WaitKind::None || g.menuKind != MenuKind::None ||
           g.viewFlag != ViewFlag::Story;
}

std::int64_t ReplayDriver::run(std::int64_t limit) {
    start();
    std::int64_t calls = 0;
    while (calls < limit && !closed() && !waitingForPlayer()) {
        idle();
        ++calls;
        // A script that loops without showing anything would use the whole budget, line
        // budget by line budget; a second of it is proof enough.
        if (game_.runawaySteps >= kRunawayStepsBeforeStop) {
            game_.host().traceEvent(std::string(trace::kScriptLoop) + " " +
                                    cp932ToUtf8(game_.currentChunk));
            break;
        }
    }
    if (closed()) idle();
    return calls;
}

std::int64_t ReplayDriver::readOn(std::int64_t maxClicks) {
    run();
    std::int64_t clicks = 0;
    for (; clicks < maxClicks && !closed(); ++clicks) {
        const Game& g = game_;
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
    if (!closed()) game_.Image1MouseMove(x, y);
}

void ReplayDriver::mouseDown(MouseButton button, int x, int y) {
    start();
    if (!closed()) game_.Image1MouseDown(button, x, y);
}

void ReplayDriver::mouseUp(MouseButton button, int x, int y) {
    start();
    if (!closed()) game_.Image1MouseUp(button, x, y);
}

void ReplayDriver::click(MouseButton button, int x, int y) {
    mouseMove(x, y);
    mouseDown(button, x, y);
    mouseUp(button, x, y);
}

void ReplayDriver::setSetting(const std::string& name, const std::string& value) {
    game_.host().writeSetting(name, value);
    if (started_ && !closed()) game_.ApplySettings();
}

}  // namespace corvan
