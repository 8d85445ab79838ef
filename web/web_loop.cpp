#include "web/web_loop.h"

#include "web/key_map.h"

namespace corvan::web {

void WebLoop::start() {
    if (started_) return;
    started_ = true;
    callGame([](Game& g) { g.FormCreate(); });
    // A game that could not start (no archive, the player cancelled) ends at once.
    if (game_.quitRequested) close();
    if (!closing_) restIfIdle();
}

void WebLoop::processEvents() {
    for (page::Event event = page::takeEvent(); event.kind != page::EventKind::None;
         event = page::takeEvent()) {
        dispatch(event);
    }
}

void WebLoop::dispatch(const page::Event& event) {
    using K = page::EventKind;
    const auto button = event.button == 1   ? MouseButton::Right
                        : event.button == 2 ? MouseButton::Middle
                                            : MouseButton::Left;
    switch (event.kind) {
        case K::None: break;
        case K::Idle: idle(); break;
        case K::Tick: callGame([](Game& g) { g.Timer1Timer(); }); break;
        case K::MouseMove:
            pointer_ = {event.x, event.y};
            callGame([&](Game& g) { g.Image1MouseMove(event.x, event.y); });
            break;
        case K::MouseDown:
            pointer_ = {event.x, event.y};
            callGame([&](Game& g) { g.Image1MouseDown(button, event.x, event.y); });
            break;
        case K::MouseUp:
            callGame([&](Game& g) { g.Image1MouseUp(button, event.x, event.y); });
            break;
        case K::KeyDown: keyDown(event); break;
        case K::KeyUp:
            if (isSkipKey(event.key)) skipHeld_ = false;
            break;
        case K::Blur:
            // A release that goes elsewhere must not leave the skip running.
            skipHeld_ = false;
            break;
        case K::TextWindowDown:
            callGame([&](Game& g) { g.TextWindowMouseDown(event.x, event.y); });
            break;
        case K::TextWindowMove:
            callGame([&](Game& g) { g.TextWindowMouseMove(event.x, event.y); });
            break;
        case K::TextWindowUp: callGame([](Game& g) { g.TextWindowMouseUp(); }); break;
    }
}

void WebLoop::callGame(const std::function<void(Game&)>& handler) {
    if (!started_ || ended_) return;
    if (depth_ == 0) wakeFromRest();
    ++depth_;
    handler(game_);
    --depth_;
    showChanges();
    if (depth_ > 0) return;
    if (closing_) {
        endGame();
    } else {
        restIfIdle();
    }
}

void WebLoop::showChanges() {
    const Rect changed = game_.screen.takeDamage();
    if (!changed.empty()) page::paint(game_.screen, changed);
}

void WebLoop::idle() {
    // The idle handler comes only from the page's own loop, never from inside another handler
    // that lets events through (a transition's frames, a dialog): the story's step is never
    // re-entered.
    if (depth_ > 0 || closing_) return;
    if (skipHeld_ && game_.waitKind != WaitKind::None && game_.menuKind == MenuKind::None &&
        game_.viewFlag == ViewFlag::Story) {
        clickAtPointer(MouseButton::Left);
    }
    callGame([](Game& g) { g.AppIdle(); });
}

// While the game waits for the player, an idle call would only draw its random number: the idle
// timer rests, and the numbers it would have drawn are drawn at once when anything next calls
// the game.
void WebLoop::restIfIdle() {
    if (!started_ || ended_) return;
    // A held skip key ends waits from the idle handler, so it keeps the timer going.
    if (game_.IdleWorkPending() || skipHeld_) {
        page::setIdleTimer(true);
    } else {
        page::setIdleTimer(false);
        if (restingSince_ < 0) restingSince_ = page::now();
    }
}

void WebLoop::wakeFromRest() {
    if (restingSince_ < 0) return;
    game_.SkipIdleCalls(
        static_cast<std::int64_t>((page::now() - restingSince_) / kIdleMilliseconds));
    restingSince_ = -1;
}

void WebLoop::keyDown(const page::Event& event) {
    if (isSkipKey(event.key)) {
        skipHeld_ = true;
        if (depth_ == 0 && !closing_) {
            wakeFromRest();
            restIfIdle();
        }
        return;
    }
    switch (gameKey(event.key, event.alt)) {
        case GameKey::Advance: clickAtPointer(MouseButton::Left); break;
        case GameKey::Back:
            if (!event.repeat) clickAtPointer(MouseButton::Right);
            break;
        case GameKey::PreviousRow: stepMenuRow(-1); break;
        case GameKey::NextRow: stepMenuRow(1); break;
        case GameKey::None: break;
    }
}

void WebLoop::clickAtPointer(MouseButton button) {
    const WindowPoint p = pointer_;
    callGame([&](Game& g) { g.Image1MouseDown(button, p.x, p.y); });
    callGame([&](Game& g) { g.Image1MouseUp(button, p.x, p.y); });
}

void WebLoop::stepMenuRow(int direction) {
    callGame([&](Game& g) {
        const auto at = g.NextMenuRowPoint(direction);
        if (!at) return;
        pointer_ = *at;
        g.Image1MouseMove(at->x, at->y);
    });
}

void WebLoop::close() {
    closing_ = true;
    page::setIdleTimer(false);
    if (depth_ == 0) endGame();
}

void WebLoop::endGame() {
    closing_ = true;
    if (ended_) return;
    ended_ = true;
    if (started_) game_.FormDestroy();
    page::gameEnded();
}

}  // namespace corvan::web
