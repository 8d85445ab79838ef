#include "shell/key_input.h"

namespace corvan::shell {

KeyAction keyAction(int key, Qt::KeyboardModifiers modifiers) {
    const bool alt = modifiers.testFlag(Qt::AltModifier);
    const bool control = modifiers.testFlag(Qt::ControlModifier);
    switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter: return alt ? KeyAction::ToggleFullScreen : KeyAction::Advance;
        case Qt::Key_Space: return KeyAction::Advance;
        case Qt::Key_Escape: return KeyAction::Back;
        case Qt::Key_Up:
        case Qt::Key_Left: return KeyAction::PreviousRow;
        case Qt::Key_Down:
        case Qt::Key_Right: return KeyAction::NextRow;
        case Qt::Key_F11: return KeyAction::ToggleFullScreen;
        case Qt::Key_F12: return KeyAction::Screenshot;
        case Qt::Key_S: return control ? KeyAction::Screenshot : KeyAction::None;
        case Qt::Key_Plus:
        case Qt::Key_Equal:  // the + key without Shift on many keyboards
            return KeyAction::LouderMusic;
        case Qt::Key_Minus: return KeyAction::QuieterMusic;
        default: return KeyAction::None;
    }
}

}  // namespace corvan::shell
