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
    // Only typed keys may bring text in.
    if (event->matches(QKeySequence::Paste)) return;
    QString typed = event->text();
    bool printable = typed.size() == 1 && typed.front().isPrint();
    if (printable && !AllowedCharacter(typed.front())) return;

    // Every edit, typed or not (backspace, Delete, cut), must leave an acceptable amount.
    QString before = text();
    int cursor = cursorPosition();
    int start = selectionStart();
    int length = selectionLength();
    QLineEdit::keyPressEvent(event);
    if (text() == before || AmountTextAcceptable(text(), m_maxLength, m_maxDecimals)) return;
    setText(before);
    if (start >= 0) {
        setSelection(start, length);
    } else {
        setCursorPosition(cursor);
    }
}

}  // namespace zelvo
