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
    const int firstRow[] = {1, 2, 3, 4, 5};
    const int secondRow[] = {6, 7, 8, 9, 0};
    for (int column = 0; column < 5; ++column) {
        AddKey(firstRow[column], QString::number(firstRow[column]), GridKey(0, column), 18,
               Qt::black, Qt::white);
        AddKey(secondRow[column], QString::number(secondRow[column]), GridKey(1, column), 18,
               Qt::black, Qt::white);
    }
    AddKey(KeypadCode::Backspace, QStringLiteral("退格"), GridKey(0, 5), 18, Qt::black, Qt::white);
    AddKey(KeypadCode::Point, QStringLiteral("."), GridKey(1, 5), 30, Qt::black, Qt::white);
    AddKey(KeypadCode::Confirm, QStringLiteral("确  认"), QRect(), 18, Qt::white, kConfirmFill);
    AddKey(KeypadCode::Reset, QStringLiteral("重  置"), QRect(), 18, Qt::white, kResetFill);
    PlaceTallKeys();
}

void NumericKeypad::AddKey(int code, const QString& text, const QRect& rect, int fontSize,
                           const QColor& textColour, const QColor& fill) {
    auto* label = new CurvedLabel(text, fontSize, textColour, fill, this);
    label->setGeometry(rect);
    m_keys.push_back({code, rect, label});
}

void NumericKeypad::PlaceTallKeys() {
    int left = kFirstLeft + 6 * (kKeyWidth + kGap);
    int height = std::max(kKeyHeight, this->height() - 2 * kMargin);
    for (Key& key : m_keys) {
        if (key.code != KeypadCode::Confirm && key.code != KeypadCode::Reset) continue;
        key.rect = QRect(left, kMargin, kTallKeyWidth, height);
        key.label->setGeometry(key.rect);
        left += kTallKeyWidth + kGap;
    }
}

int NumericKeypad::KeyCodeAt(const QPoint& point) const {
    for (const Key& key : m_keys) {
        if (key.rect.contains(point)) return key.code;
    }
    return -1;
}

void NumericKeypad::resizeEvent(QResizeEvent*) {
    PlaceTallKeys();
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
