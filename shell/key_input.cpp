#include "shell/key_input.h"

namespace corvan::shell {

std::optional<Key> gameKey(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Return:
        case Qt::Key_Enter: return Key::Return;
        case Qt::Key_Space: return Key::Space;
        case Qt::Key_Escape: return Key::Escape;
        case Qt::Key_Up: return Key::Up;
        case Qt::Key_Down: return Key::Down;
        case Qt::Key_Left: return Key::Left;
        case Qt::Key_Right: return Key::Right;
        case Qt::Key_PageUp: return Key::PageUp;
        case Qt::Key_PageDown: return Key::PageDown;
        case Qt::Key_Home: return Key::Home;
        case Qt::Key_End: return Key::End;
        case Qt::Key_Tab: return Key::Tab;
        case Qt::Key_Control: return Key::Ctrl;
        case Qt::Key_A: return Key::A;
        case Qt::Key_H: return Key::H;
        case Qt::Key_O: return Key::O;
        case Qt::Key_S: return Key::S;
        case Qt::Key_F11: return Key::F11;
        case Qt::Key_F12: return Key::F12;
        case Qt::Key_Plus:
        case Qt::Key_Equal:  // the + key without Shift on many keyboards
            return Key::Plus;
        case Qt::Key_Minus: return Key::Minus;
        default: return std::nullopt;
    }
}

KeyModifiers gameModifiers(Qt::KeyboardModifiers modifiers) {
    return {modifiers.testFlag(Qt::ControlModifier), modifiers.testFlag(Qt::AltModifier)};
}

}  // namespace corvan::shell
