#include "shell/window/StatusBar.h"

#include <QPainter>

#include "shell/Layout.h"
#include "shell/controls/LinkLabel.h"
#include "shell/controls/Skin.h"

namespace zelvo {
namespace {

QFont StatusFont() {
    return skin::Font(12);
}

}  // namespace

StatusBar::StatusBar(const QString& status, QWidget* parent)
    : DragBar(parent), m_status(status), m_link(new LinkLabel(QStringLiteral("联系我们"), this)) {
    connect(m_link, &LinkLabel::Clicked, this, &StatusBar::ContactToggled);
}

void StatusBar::SetConnected(bool connected) {
    if (connected == m_connected) return;
    m_connected = connected;
    update();
}

QRect StatusBar::KeypadButtonRect() const {
    const LayoutScale& scale = GetLayoutScale();
    QPixmap keyboard = skin::LoadPicture(QStringLiteral("keyboard.png"));
    int left = scale.X(30) + QFontMetrics(StatusFont()).horizontalAdvance(m_status) + 10;
    QSize size = keyboard.isNull() ? QSize(0, 0) : keyboard.size();
    return QRect(QPoint(left, (height() - size.height()) / 2), size);
}

bool StatusBar::IsButtonAt(const QPoint& point) const {
    return KeypadButtonRect().contains(point);
}

void StatusBar::ButtonPressed(const QPoint&) {
    Q_EMIT KeypadToggled();
}

void StatusBar::resizeEvent(QResizeEvent*) {
    const LayoutScale& scale = GetLayoutScale();
    m_link->setGeometry(width() - scale.X(76) - 50, scale.Y(20), 50, 13);
}

void StatusBar::paintEvent(QPaintEvent*) {
    const LayoutScale& scale = GetLayoutScale();
    QPainter painter(this);
    painter.fillRect(rect(), skin::DarkBar);
    painter.setFont(StatusFont());
    painter.setPen(Qt::white);
    painter.drawText(QRect(scale.X(30), 0, width() / 2, height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_status);
    QRect keypad = KeypadButtonRect();
    painter.drawPixmap(keypad.topLeft(), skin::LoadPicture(QStringLiteral("keyboard.png")));
    QString network = m_connected ? QStringLiteral("img15.png") : QStringLiteral("img10.png");
    painter.drawPixmap(width() - scale.X(46), scale.Y(17), skin::LoadPicture(network));
}

}  // namespace zelvo
