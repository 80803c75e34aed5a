#include "shell/window/MessageBanner.h"

#include <QPainter>

#include "shell/Layout.h"
#include "shell/controls/Skin.h"

namespace zelvo {
namespace {

constexpr int kMessageMilliseconds = 5000;

}  // namespace

MessageBanner::MessageBanner(QWidget* parent) : QWidget(parent) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(kMessageMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &MessageBanner::Expire);
}

void MessageBanner::SetMerchant(const QString& merCode, const QString& merName) {
    m_merCode = merCode;
    m_merName = merName;
    update();
}

void MessageBanner::ShowMessage(MessageKind kind, const QString& text) {
    m_kind = kind;
    m_text = text;
    m_showing = true;
    repaint();
}

void MessageBanner::Expire() {
    m_showing = false;
    m_timer.stop();
    update();
}

QColor MessageBanner::KindColour(MessageKind kind) {
    switch (kind) {
        case MessageKind::Success:
            return QColor(0x50, 0xE3, 0xC2);
        case MessageKind::Notice:
            return QColor(0xEE, 0xD4, 0x6C);
        case MessageKind::Error:
        default:
            return QColor(0xFB, 0x65, 0x37);
    }
}

void MessageBanner::DrawMerchant(QPainter& painter) {
    const LayoutScale& scale = GetLayoutScale();
    painter.drawPixmap(scale.X(30), scale.Y(17), skin::LoadPicture(QStringLiteral("img9.png")));
    if (m_merCode.isEmpty()) return;
    int right = width() - scale.X(30);
    int top = scale.Y(17);
    QFont nameFont = skin::Font(18, false, skin::Face::Hei);
    painter.setFont(nameFont);
    painter.setPen(QColor(0x4C, 0x4C, 0x4C));
    int nameHeight = QFontMetrics(nameFont).height();
    painter.drawText(QRect(0, top, right, nameHeight), Qt::AlignRight | Qt::AlignTop, m_merName);
    QFont codeFont = skin::Font(12, false, skin::Face::Hei);
    painter.setFont(codeFont);
    painter.drawText(QRect(0, top + nameHeight + 2, right, QFontMetrics(codeFont).height()),
                     Qt::AlignRight | Qt::AlignTop, QStringLiteral("商户号：") + m_merCode);
}

void MessageBanner::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), skin::Panel);
    DrawMerchant(painter);
    painter.fillRect(0, height() - 2, width(), 2, skin::Frame);
    if (!m_showing) return;
    QColor fill = KindColour(m_kind);
    fill.setAlpha(200);
    painter.fillRect(rect(), fill);
    painter.setFont(skin::Font(14));
    painter.setPen(Qt::white);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, m_text);
    m_timer.start();
}

}  // namespace zelvo
