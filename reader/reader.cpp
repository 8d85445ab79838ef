#include "reader/reader.h"

#include <algorithm>

#include "engine/cp932.h"
#include "reader/target_steps.h"
#include "settings/int_value.h"
#include "settings/setting_names.h"

namespace corvan {

Reader::Reader(Host& host, GameOptions options)
    : observed_(host), game_(observed_, std::move(options)) {
    observed_.onEvent([this](std::string_view event) { observe(event); });
}

Reader::~Reader() {
    saveReadRecord();
}

void Reader::formDestroy() {
    game_.FormDestroy();
    saveReadRecord();
}

// --- Watching the game ------------------------------------------------------------------------

void Reader::observe(std::string_view event) {
    if (event.starts_with("text ")) {
        book_.textLine(game_, [this](const PageId& page) {
            ensureReadRecord();
            return readRecord_.contains(page);
        });
    } else if (event.starts_with("voice ") && !replayingVoice_) {
        book_.voice(utf8ToCp932(event.substr(6)).value_or(std::string()));
    } else if (event.starts_with("save ")) {
        saveReadRecord();  // what was read goes to disk with the game saved
    }
}

void Reader::ensureReadRecord() {
    if (!recordKept_ || readRecord_.loaded() || game_.saveFolder.empty()) return;
    std::string problem;
    readRecord_.load(game_.host().files(), game_.saveFolder, problem);
    if (!problem.empty()) game_.host().warn(problem);
}

void Reader::saveReadRecord() {
    std::string error;
    if (!readRecord_.save(error)) game_.host().warn(error);
    callsSinceFlush_ = 0;
}

void Reader::applySettings() {
    settingsRead_ = true;
    Host& host = game_.host();
    auto number = [&host](std::string_view name) -> std::optional<std::int32_t> {
        const auto text = host.readSetting(name);
        return text ? parseIntValue(*text) : std::nullopt;
    };
    autoSpeed_ = number(setting::kAutoSpeed).value_or(kDefaultAutoSpeed);
    if (autoSpeed_ < 1 || autoSpeed_ > 10) autoSpeed_ = kDefaultAutoSpeed;
    skipUnread_ = number(setting::kSkipUnread).value_or(0) != 0;
}

bool Reader::atClickWait() const {
    return game_.scriptRunning && game_.waitKind != WaitKind::None &&
           game_.menuKind == MenuKind::None && game_.viewFlag == ViewFlag::Story &&
           game_.delayTicks == 0;
}

void Reader::afterGameCall() {
    // A page is shown whole once it waits for its page click or a choice stands under it.
    const bool pageDone = game_.waitKind == WaitKind::Page || game_.menuKind == MenuKind::Choice ||
                          !game_.scriptRunning;
    PageId shown;
    if (pageDone && book_.pageShown(shown)) {
        ensureReadRecord();
        readRecord_.add(shown);
    }
    if (atClickWait()) {
        if (waitStartedAt_ < 0) waitStartedAt_ = game_.idleCalls;
    } else {
        waitStartedAt_ = -1;
    }
    // A menu, the map or a gallery ends auto-advance and a skip turned on by Tab.
    if (game_.menuKind != MenuKind::None || game_.viewFlag != ViewFlag::Story) {
        autoOn_ = false;
        skipToggled_ = false;
    }
    // Written now and then while playing, and at once when the game ends.
    if (readRecord_.unsaved() && (++callsSinceFlush_ >= kRecordFlushCalls || game_.quitRequested)) {
        saveReadRecord();
    }
}

void Reader::gameIdle() {
    game_.AppIdle();
    afterGameCall();
}

// --- The modes --------------------------------------------------------------------------------

bool Reader::skipWanted() const {
    return (ctrlHeld_ && ctrlAlone_ && ctrlHeldCalls_ > kSkipDelayCalls) || skipToggled_;
}

bool Reader::skipping() const {
    return skipWanted();
}

bool Reader::maySkipThisPage() const {
    if (skipUnread_) return true;
    return !book_.pages().empty() && book_.pages().back().readBefore;
}

bool Reader::autoPauseOver() {
    if (waitStartedAt_ < 0) return false;
    const int cells = book_.pages().empty() ? 0 : book_.pages().back().characters;
    const std::int64_t pause = kAutoPauseMilliseconds + static_cast<std::int64_t>(cells) *
                                                            (11 - autoSpeed_) *
                                                            kAutoCellStepMilliseconds;
    if ((game_.idleCalls - waitStartedAt_) * 20 < pause) return false;
    return !game_.host().audio().voicePlaying();  // never over a voice still speaking
}

bool Reader::mayStopStory() const {
    return backlogOpen_ || frameHidden_;
}

bool Reader::actsOnItsOwn() const {
    if (mayStopStory() || !atClickWait()) return false;
    const bool skipHeld = (ctrlHeld_ && ctrlAlone_) || skipToggled_;
    return (skipHeld && maySkipThisPage()) || autoOn_;
}

bool Reader::wantsIdleCalls() const {
    if (mayStopStory()) return false;
    return game_.IdleWorkPending() || ctrlHeld_ || skipToggled_ || autoOn_;
}

// Runs the story on at once through pages read before: the page reached is shown whole until
// the next idle call clicks it away, so each page flashes past rather than typing.
void Reader::skipOn(int calls) {
    bool calledGame = false;
    for (int i = 0; i < calls && !game_.quitRequested && game_.scriptRunning; ++i) {
        if (atClickWait()) {
            if (!maySkipThisPage()) {
                skipToggled_ = false;  // an unread page stops the skip
                break;
            }
            if (i > 0) break;
            clickAtPointer(MouseButton::Left);
        } else if (game_.menuKind != MenuKind::None || game_.viewFlag != ViewFlag::Story) {
            skipToggled_ = false;
            break;
        }
        if (game_.delayTicks > 0) {
            game_.Timer1Timer();  // a timed pause passes at once too
            continue;
        }
        gameIdle();
        calledGame = true;
    }
    if (!calledGame) gameIdle();
}

void Reader::idle() {
    if (!settingsRead_) applySettings();
    // The story waits while the player looks back or at the picture alone.
    if (mayStopStory()) return;
    if (ctrlHeld_ && ctrlAlone_) ++ctrlHeldCalls_;
    if (skipWanted()) {
        skipOn(kSkipCallsPerIdle);
        return;
    }
    if (autoOn_ && atClickWait() && autoPauseOver()) {
        clickAtPointer(MouseButton::Left);
        afterGameCall();
    }
    gameIdle();
}

// --- The mouse --------------------------------------------------------------------------------

void Reader::mouseDown(MouseButton button, int x, int y) {
    pointer_ = {x, y};
    buttonHeld_ = true;
    if (backlogOpen_) {
        if (button == MouseButton::Right) {
            closeBacklog();
        } else if (button == MouseButton::Left) {
            const int page = backlogView_.pageAt(pointer_);
            if (page >= 0) playPageVoice(static_cast<std::size_t>(page));
        }
        return;
    }
    if (frameHidden_) {
        frameHidden_ = false;  // back to the frame, without reading on
        return;
    }
    if (button == MouseButton::Middle && game_.viewFlag == ViewFlag::Story) {
        frameHidden_ = true;
        return;
    }
    // What the player does ends auto-advance and a skip turned on.
    autoOn_ = false;
    skipToggled_ = false;
    game_.Image1MouseDown(button, x, y);
    afterGameCall();
}

void Reader::mouseMove(int x, int y) {
    pointer_ = {x, y};
    highlightShown_ = false;  // the mouse has taken over
    if (mayStopStory()) return;
    game_.Image1MouseMove(x, y);
}

void Reader::mouseUp(MouseButton button, int x, int y) {
    buttonHeld_ = false;
    game_.Image1MouseUp(button, x, y);
}

void Reader::clearStaleLatch() {
    if (game_.inputLatch && !buttonHeld_) {
        game_.Image1MouseUp(MouseButton::Left, pointer_.x, pointer_.y);
    }
}

void Reader::clickAtPointer(MouseButton button) {
    clearStaleLatch();
    game_.Image1MouseDown(button, pointer_.x, pointer_.y);
    game_.Image1MouseUp(button, pointer_.x, pointer_.y);
}

void Reader::moveHighlight(KeyAction action) {
    const std::vector<ClickTarget> targets = game_.ClickTargets();
    const int current = targetAt(targets, pointer_);
    TargetStep step = TargetStep::Next;
    switch (action) {
        case KeyAction::Up: step = TargetStep::Up; break;
        case KeyAction::Down: step = TargetStep::Down; break;
        case KeyAction::Left: step = TargetStep::Left; break;
        case KeyAction::Right: step = TargetStep::Right; break;
        case KeyAction::First: step = TargetStep::First; break;
        case KeyAction::Last: step = TargetStep::Last; break;
        case KeyAction::WheelBack: step = TargetStep::Previous; break;
        default: step = TargetStep::Next; break;
    }
    const int next = stepTarget(targets, current, step);
    if (next < 0) return;
    const ClickTarget& target = targets[static_cast<std::size_t>(next)];
    clearStaleLatch();
    pointer_ = target.point;
    highlightShown_ = true;
    game_.Image1MouseMove(pointer_.x, pointer_.y);
}

// --- Keys -------------------------------------------------------------------------------------

Reader::HostRequest Reader::keyDown(Key key, KeyModifiers modifiers, bool repeat) {
    if (!settingsRead_) applySettings();
    if (key == Key::Ctrl) {
        if (!ctrlHeld_) {
            ctrlHeld_ = true;
            ctrlAlone_ = true;
            ctrlHeldCalls_ = 0;
        }
        return HostRequest::None;
    }
    // Any other key pressed with Ctrl makes this hold a shortcut, never a skip.
    if (ctrlHeld_) ctrlAlone_ = false;
    modifiers.ctrl = modifiers.ctrl || ctrlHeld_;
    const std::optional<KeyAction> action = keyAction(key, modifiers);
    if (!action) return HostRequest::None;
    switch (*action) {
        case KeyAction::ToggleFullScreen:
            return repeat ? HostRequest::None : HostRequest::ToggleFullScreen;
        case KeyAction::Screenshot: return repeat ? HostRequest::None : HostRequest::Screenshot;
        case KeyAction::LouderMusic: return HostRequest::LouderMusic;
        case KeyAction::QuieterMusic: return HostRequest::QuieterMusic;
        case KeyAction::PlayerSettings:
            return repeat ? HostRequest::None : HostRequest::PlayerSettings;
        default: break;
    }
    if (backlogOpen_) {
        backlogKey(*action, key);
        return HostRequest::None;
    }
    if (frameHidden_) {
        frameHidden_ = false;  // any key brings the frame back, without reading on
        return HostRequest::None;
    }
    if (*action != KeyAction::ToggleAuto) autoOn_ = false;
    if (*action != KeyAction::ToggleSkip) skipToggled_ = false;
    const HostRequest request = gameKey(*action, repeat);
    afterGameCall();
    return request;
}

Reader::HostRequest Reader::gameKey(KeyAction action, bool repeat) {
    const bool storyShown = game_.menuKind == MenuKind::None && game_.viewFlag == ViewFlag::Story;
    switch (action) {
        case KeyAction::Advance: {
            const std::vector<ClickTarget> targets = game_.ClickTargets();
            // On a screen of places to click with none under the pointer, the first press puts
            // the highlight on the first place; the next one clicks it.
            if (!targets.empty() && targetAt(targets, pointer_) < 0) {
                moveHighlight(KeyAction::First);
                break;
            }
            // A menu drawn since the pointer last moved does not know the row under it yet.
            clearStaleLatch();
            if (!targets.empty()) game_.Image1MouseMove(pointer_.x, pointer_.y);
            clickAtPointer(MouseButton::Left);
            break;
        }
        case KeyAction::Back:
            if (!repeat) clickAtPointer(MouseButton::Right);
            break;
        case KeyAction::BacklogBack:
        case KeyAction::WheelBack:
            if (storyShown) {
                openBacklog();
            } else if (action == KeyAction::WheelBack) {
                moveHighlight(action);
            }
            break;
        case KeyAction::BacklogForward: break;
        case KeyAction::Up:
        case KeyAction::Down:
        case KeyAction::Left:
        case KeyAction::Right:
        case KeyAction::First:
        case KeyAction::Last:
        case KeyAction::WheelForward: moveHighlight(action); break;
        case KeyAction::ToggleSkip:
            if (!repeat) skipToggled_ = !skipToggled_;
            break;
        case KeyAction::ToggleAuto:
            if (!repeat) autoOn_ = !autoOn_;
            break;
        case KeyAction::HideFrame:
            if (!repeat && game_.viewFlag == ViewFlag::Story) frameHidden_ = true;
            break;
        default: break;
    }
    return HostRequest::None;
}

void Reader::keyUp(Key key) {
    if (key == Key::Ctrl) ctrlHeld_ = false;
}

void Reader::releaseKeys() {
    ctrlHeld_ = false;
}

std::optional<Rect> Reader::keyboardHighlight() const {
    if (!highlightShown_ || mayStopStory()) return std::nullopt;
    const std::vector<ClickTarget> targets = game_.ClickTargets();
    const int at = targetAt(targets, pointer_);
    if (at < 0 || targets[static_cast<std::size_t>(at)].hovers) return std::nullopt;
    return targets[static_cast<std::size_t>(at)].area;
}

// --- The backlog and the hidden frame --------------------------------------------------------

const Bitmap& Reader::picture() const {
    if (backlogOpen_) return backlogPicture_;
    if (frameHidden_) return game_.layers.composite;
    return game_.screen;
}

void Reader::openBacklog() {
    if (book_.pages().empty()) return;
    backlogOpen_ = true;
    autoOn_ = false;
    skipToggled_ = false;
    backlogBottom_ = book_.pages().size() - 1;
    drawBacklog();
}

void Reader::closeBacklog() {
    backlogOpen_ = false;
    backlogPicture_ = Bitmap(0, 0);
    // The screen comes back whole, exactly as it was left.
    game_.screen.markDamage({0, 0, game_.screen.width(), game_.screen.height()});
}

void Reader::drawBacklog() {
    backlogView_.draw(backlogPicture_, game_.layers.composite, book_.pages(), backlogBottom_,
                      game_.text());
}

void Reader::backlogKey(KeyAction action, Key key) {
    const std::size_t last = book_.pages().size() - 1;
    switch (action) {
        case KeyAction::Back: closeBacklog(); return;
        case KeyAction::Advance: playPageVoice(backlogBottom_); return;
        case KeyAction::BacklogBack:
        case KeyAction::WheelBack:
        case KeyAction::Up:
            if (backlogBottom_ > 0) --backlogBottom_;
            break;
        case KeyAction::BacklogForward:
        case KeyAction::WheelForward:
        case KeyAction::Down:
            if (backlogBottom_ < last) {
                ++backlogBottom_;
            } else if (key == Key::WheelDown) {
                closeBacklog();  // the wheel turned on past the newest page
                return;
            }
            break;
        case KeyAction::First: backlogBottom_ = 0; break;
        case KeyAction::Last: backlogBottom_ = last; break;
        default: return;
    }
    drawBacklog();
}

void Reader::playPageVoice(std::size_t page) {
    const auto& pages = book_.pages();
    if (page >= pages.size() || pages[page].voices.empty()) return;
    replayingVoice_ = true;  // heard again, not a voice of the page on screen
    game_.PlayVoice(pages[page].voices.front());
    replayingVoice_ = false;
}

}  // namespace corvan
