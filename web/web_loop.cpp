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
        case K::Tick: callGame([this](Game&) { reader_.timer(); }); break;
        case K::MouseMove: callGame([&](Game&) { reader_.mouseMove(event.x, event.y); }); break;
        case K::MouseDown:
            callGame([&](Game&) { reader_.mouseDown(button, event.x, event.y); });
            break;
        case K::MouseUp: callGame([&](Game&) { reader_.mouseUp(button, event.x, event.y); }); break;
        case K::KeyDown: keyDown(event); break;
        case K::KeyUp:
            if (const auto key = gameKey(event.key)) callGame([&](Game&) { reader_.keyUp(*key); });
            break;
        case K::Blur:
            // A release that goes elsewhere must not leave a key held.
            callGame([this](Game&) { reader_.releaseKeys(); });
            break;
        case K::TextWindowDown:
            callGame([&](Game& g) { g.TextWindowMouseDown(event.x, event.y); });
            break;
        case K::TextWindowMove:
            callGame([&](Game& g) { g.TextWindowMouseMove(event.x, event.y); });
            break;
        case K::TextWindowUp: callGame([](Game& g) { g.TextWindowMouseUp(); }); break;
        case K::ReaderSettings: callGame([this](Game&) { reader_.applySettings(); }); break;
    }
}

void WebLoop::callGame(const std::function<void(Game&)>& handler) {
    if (!started_ || ended_) return;
    if (depth_ == 0) wakeFromRest();
    ++depth_;
    handler(game_);
    --depth_;
    showChanges();
    showReaderState();
    if (depth_ > 0) return;
    if (closing_) {
        endGame();
    } else {
        restIfIdle();
    }
}

void WebLoop::showChanges() {
    // The reader may show another picture over the game's (the backlog, the picture without its
    // frame); the game's screen then waits, its changes kept, until it shows again.
    const Bitmap& shown = reader_.picture();
    Rect changed = shown.takeDamage();
    if (&shown != lastShown_) {
        lastShown_ = &shown;
        changed = {0, 0, shown.width(), shown.height()};
    }
    if (!changed.empty()) page::paint(shown, changed);
}

void WebLoop::showReaderState() {
    // The page is told only of changes: touching the outline each tick would have the browser
    // work out the page's style again sixteen times a second while the game waits.
    if (const auto highlight = reader_.keyboardHighlight(); highlight != highlight_) {
        highlight_ = highlight;
        page::showHighlight(highlight);
    }
    const auto mark = reader_.skipping()        ? page::ReadingMark::Skip
                      : reader_.autoAdvancing() ? page::ReadingMark::Auto
                                                : page::ReadingMark::None;
    if (mark != mark_) {
        mark_ = mark;
        page::showReadingMark(mark);
    }
    if (reader_.frameHidden() != frameHidden_) {
        frameHidden_ = reader_.frameHidden();
        page::suppressTextWindow(frameHidden_);
    }
}

void WebLoop::idle() {
    // The idle handler comes only from the page's own loop, never from inside another handler
    // that lets events through (a transition's frames, a dialog): the story's step is never
    // re-entered.
    if (depth_ > 0 || closing_) return;
    callGame([this](Game&) { reader_.idle(); });
}

// While the game waits for the player, an idle call would only draw its random number: the idle
// timer rests, and the numbers it would have drawn are drawn at once when anything next calls
// the game.
void WebLoop::restIfIdle() {
    if (!started_ || ended_) return;
    // A held skip key ends waits from the idle handler, so it keeps the timer going.
    if (reader_.wantsIdleCalls()) {
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
    const auto key = gameKey(event.key);
    if (!key) return;
    Reader::HostRequest request = Reader::HostRequest::None;
    callGame([&](Game&) {
        request = reader_.keyDown(*key, {event.control, event.alt}, event.repeat);
    });
    if (request != Reader::HostRequest::None) page::hostRequest(static_cast<int>(request));
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
    if (started_) reader_.formDestroy();
    page::gameEnded();
}

}  // namespace corvan::web
