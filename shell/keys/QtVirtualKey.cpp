#include "shell/keys/QtVirtualKey.h"

#include <QKeyEvent>

#include "settings/KeyNameTable.h"

namespace zelvo {

int VirtualKeyOf(const QKeyEvent& event) {
    const int key = event.key();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return VirtualKey::F1 + (key - Qt::Key_F1);
    // Letters and digits carry their upper-case character code, as virtual keys do.
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
        return key;
    }
    switch (key) {
        case Qt::Key_Left:
            return VirtualKey::Left;
        case Qt::Key_Up:
            return VirtualKey::Up;
        case Qt::Key_Right:
            return VirtualKey::Right;
        case Qt::Key_Down:
            return VirtualKey::Down;
        case Qt::Key_Insert:
            return VirtualKey::Insert;
        case Qt::Key_Delete:
            return VirtualKey::Delete;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return VirtualKey::Enter;
        case Qt::Key_Tab:
            return VirtualKey::Tab;
        case Qt::Key_Escape:
            return VirtualKey::Escape;
        default:
            return 0;
    }
}

}  // namespace zelvo
