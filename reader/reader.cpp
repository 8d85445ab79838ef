#include "reader/reader.h"

#include "reader/target_steps.h"

namespace corvan {

bool Reader::atClickWait() const {
    return game_.scriptRunning && game_.waitKind != WaitKind::None &&
           game_.menuKind == MenuKind::None && game_.viewFlag == ViewFlag::Story;
}

bool Reader::actsOnItsOwn() const {
    return ctrlHeld_ && ctrlAlone_ && atClickWait();
}

void Reader::idle() {
    if (ctrlHeld_ && ctrlAlone_) {
        ++ctrlHeldCalls_;
        if (skipping() && atClickWait()) clickAtPointer(MouseButton::Left);
    }
    game_.AppIdle();
}

void Reader::mouseDown(MouseButton button, int x, int y) {
    pointer_ = {x, y};
    buttonHeld_ = true;
    game_.Image1MouseDown(button, x, y);
}

void Reader::mouseMove(int x, int y) {
    pointer_ = {x, y};
    highlightShown_ = false;  // the mouse has taken over
    game_.Image1MouseMove(x, y);
}

void Reader::mouseUp(MouseButton button, int x, int y) {
    buttonHeld_ = false;
    game_.Image1MouseUp(button, x, y);
}

void Reader::clearStaleLatch() {
    if (game_.inputLatch && !buttonHeld_)
        game_.Image1MouseUp(MouseButton::Left, pointer_.x, pointer_.y);
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

Reader::HostRequest Reader::keyDown(Key key, KeyModifiers modifiers, bool repeat) {
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
        case KeyAction::Advance: {
            const std::vector<ClickTarget> targets = game_.ClickTargets();
            // On a screen of places to click with none under the pointer, the first press puts
            // the highlight on the first place; the next one clicks it.
            if (!targets.empty() && targetAt(targets, pointer_) < 0) {
                moveHighlight(KeyAction::First);
                return HostRequest::None;
            }
            // A menu drawn since the pointer last moved does not know the row under it yet.
            clearStaleLatch();
            if (!targets.empty()) game_.Image1MouseMove(pointer_.x, pointer_.y);
            clickAtPointer(MouseButton::Left);
            return HostRequest::None;
        }
        case KeyAction::Back:
            if (!repeat) clickAtPointer(MouseButton::Right);
            return HostRequest::None;
        case KeyAction::Up:
        case KeyAction::Down:
        case KeyAction::Left:
        case KeyAction::Right:
        case KeyAction::First:
        case KeyAction::Last:
        case KeyAction::WheelBack:
        case KeyAction::WheelForward: moveHighlight(*action); return HostRequest::None;
        case KeyAction::HoldSkip: return HostRequest::None;
        case KeyAction::ToggleFullScreen:
            return repeat ? HostRequest::None : HostRequest::ToggleFullScreen;
        case KeyAction::Screenshot: return repeat ? HostRequest::None : HostRequest::Screenshot;
        case KeyAction::LouderMusic: return HostRequest::LouderMusic;
        case KeyAction::QuieterMusic: return HostRequest::QuieterMusic;
        case KeyAction::PlayerSettings:
            return repeat ? HostRequest::None : HostRequest::PlayerSettings;
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
    if (!highlightShown_) return std::nullopt;
    const std::vector<ClickTarget> targets = game_.ClickTargets();
    const int at = targetAt(targets, pointer_);
    if (at < 0 || targets[static_cast<std::size_t>(at)].hovers) return std::nullopt;
    return targets[static_cast<std::size_t>(at)].area;
}

}  // namespace corvan
