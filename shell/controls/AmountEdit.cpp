#include "shell/controls/AmountEdit.h"

#include <QKeyEvent>

namespace zelvo {
namespace {

bool AllowedCharacter(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.') ||
           c == QLatin1Char('+') || c == QLatin1Char('-');
}

}  // namespace

bool AmountTextAcceptable(const QString& text, int maxLength, int maxDecimals) {
    if (text.size() > maxLength) return false;
    if (text.startsWith(QLatin1Char('.'))) return false;
    qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point < 0) return true;
    if (text.indexOf(QLatin1Char('.'), point + 1) >= 0) return false;
    return text.size() - point - 1 <= maxDecimals;
}

AmountEdit::AmountEdit(int maxLength, int maxDecimals, int fontSize, bool bold, QWidget* parent)
    : SkinEdit(fontSize, bold, parent), m_maxLength(maxLength), m_maxDecimals(maxDecimals) {
    // Only typed keys may change the amount: no pasting by menu or by dropping text.
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
}

void AmountEdit::keyPressEvent(QKeyEvent* event) {
    QString typed = event->text();
    bool backspace = event->key() == Qt::Key_Backspace;
    bool character = !typed.isEmpty() && !backspace && event->key() != Qt::Key_Return &&
                     event->key() != Qt::Key_Enter && event->key() != Qt::Key_Tab &&
                     event->key() != Qt::Key_Escape && event->key() != Qt::Key_Backtab;
    if (!character && !backspace) {
        // Caret movement, Enter and Tab keep their ordinary course.
        if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut)) return;
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (character && (typed.size() != 1 || !AllowedCharacter(typed.front()))) return;

    QString before = text();
    int cursor = cursorPosition();
    int start = selectionStart();
    int length = selectionLength();
    QLineEdit::keyPressEvent(event);
    if (AmountTextAcceptable(text(), m_maxLength, m_maxDecimals)) return;
    setText(before);
    if (start >= 0) {
        setSelection(start, length);
    } else {
        setCursorPosition(cursor);
    }
}

}  // namespace zelvo
