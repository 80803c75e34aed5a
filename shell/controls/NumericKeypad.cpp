#include "shell/controls/NumericKeypad.h"

#include <QMouseEvent>
#include <QPainter>

#include "shell/controls/CurvedLabel.h"
#include "shell/controls/KeypadInput.h"

namespace zelvo {
namespace {

constexpr int kKeyWidth = 70;
constexpr int kKeyHeight = 54;
constexpr int kGap = 10;
constexpr int kMargin = 12;
constexpr int kFirstLeft = 60;
constexpr int kTallKeyWidth = 110;
const QColor kConfirmFill{0x66, 0xCD, 0xAA};
const QColor kResetFill{0xEE, 0xAD, 0x0E};

QRect GridKey(int row, int column) {
    return QRect(kFirstLeft + column * (kKeyWidth + kGap), kMargin + row * (kKeyHeight + kMargin),
                 kKeyWidth, kKeyHeight);
}

}  // namespace

NumericKeypad::NumericKeypad(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    for (int code = 0; code <= 9; ++code) {
        AddKey(code, QString::number(code), 18, Qt::black, Qt::white);
    }
    AddKey(KeypadKey::Dot, QStringLiteral("."), 30, Qt::black, Qt::white);
    AddKey(KeypadKey::Backspace, QStringLiteral("退格"), 18, Qt::black, Qt::white);
    AddKey(KeypadKey::Confirm, QStringLiteral("确  认"), 18, Qt::white, kConfirmFill);
    AddKey(KeypadKey::Reset, QStringLiteral("重  置"), 18, Qt::white, kResetFill);
}

void NumericKeypad::AddKey(int code, const QString& text, int fontSize, const QColor& textColour,
                           const QColor& fill) {
    auto* label = new CurvedLabel(text, fontSize, textColour, fill, this);
    label->setGeometry(KeyRect(code));
    m_keys.push_back({code, label});
}

QRect NumericKeypad::KeyRect(int code) const {
    // First row 1-5 and 退格, second row 6-9, 0 and "."; then the two tall keys.
    if (code >= 1 && code <= 5) return GridKey(0, code - 1);
    if (code >= 6 && code <= 9) return GridKey(1, code - 6);
    int tallLeft = kFirstLeft + 6 * (kKeyWidth + kGap);
    int tallHeight = std::max(kKeyHeight, height() - 2 * kMargin);
    switch (code) {
        case 0:
            return GridKey(1, 4);
        case KeypadKey::Backspace:
            return GridKey(0, 5);
        case KeypadKey::Dot:
            return GridKey(1, 5);
        case KeypadKey::Confirm:
            return QRect(tallLeft, kMargin, kTallKeyWidth, tallHeight);
        case KeypadKey::Reset:
            return QRect(tallLeft + kTallKeyWidth + kGap, kMargin, kTallKeyWidth, tallHeight);
        default:
            return QRect();
    }
}

int NumericKeypad::KeyCodeAt(const QPoint& point) const {
    for (const Key& key : m_keys) {
        if (KeyRect(key.code).contains(point)) return key.code;
    }
    return -1;
}

void NumericKeypad::resizeEvent(QResizeEvent*) {
    for (const Key& key : m_keys) key.label->setGeometry(KeyRect(key.code));
}

void NumericKeypad::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0, 0, 0, 180));
}

void NumericKeypad::mousePressEvent(QMouseEvent* event) {
    // Presses on the keypad never reach the page underneath.
    event->accept();
}

void NumericKeypad::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    int code = KeyCodeAt(event->position().toPoint());
    if (code >= 0) Q_EMIT KeyPressed(code);
}

}  // namespace zelvo
