#include "shell/window/TitleBar.h"

#include <QFile>
#include <QPainter>

#include "shell/Layout.h"
#include "shell/controls/Skin.h"

namespace zelvo {
namespace {

constexpr qint64 kVersionLineLimit = 256;

}  // namespace

QString ReadVersionText() {
    QFile file(QStringLiteral("version.xml"));
    if (!file.open(QIODevice::ReadOnly)) return QString();
    QByteArray line = file.readLine(kVersionLineLimit);
    return QString::fromUtf8(line).trimmed();
}

TitleBar::TitleBar(const QString& title, const QString& version, const QString& termCode,
                   QWidget* parent)
    : DragBar(parent), m_title(title), m_version(version), m_termCode(termCode) {}

void TitleBar::SetOperatorId(const QString& operatorId) {
    m_operatorId = operatorId;
    update();
}

QRect TitleBar::CloseButtonRect() const {
    const LayoutScale& scale = GetLayoutScale();
    return QRect(QPoint(width() - 45, scale.Y(7)), QPoint(width() - 30 - 1, scale.Y(22) - 1));
}

QRect TitleBar::HideButtonRect() const {
    const LayoutScale& scale = GetLayoutScale();
    return QRect(QPoint(width() - 70, scale.Y(7)), QPoint(width() - 55 - 1, scale.Y(22) - 1));
}

bool TitleBar::IsButtonAt(const QPoint& point) const {
    return CloseButtonRect().contains(point) || HideButtonRect().contains(point);
}

void TitleBar::ButtonReleased(const QPoint& point) {
    if (CloseButtonRect().contains(point)) {
        Q_EMIT CloseRequested();
    } else if (HideButtonRect().contains(point)) {
        Q_EMIT HideRequested();
    }
}

void TitleBar::paintEvent(QPaintEvent*) {
    const LayoutScale& scale = GetLayoutScale();
    QPainter painter(this);
    painter.fillRect(rect(), skin::DarkBar);
    painter.drawPixmap(scale.X(30), scale.Y(5), skin::LoadPicture(QStringLiteral("img2.png")));

    QFont font = skin::Font(12, true);
    QFontMetrics metrics(font);
    painter.setFont(font);
    painter.setPen(Qt::white);
    auto drawText = [&](int x, const QString& text) {
        painter.drawText(QRect(x, 0, metrics.horizontalAdvance(text) + 1, height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
        return x + metrics.horizontalAdvance(text);
    };
    int x = drawText(scale.X(50) + 5, m_title);
    x = drawText(x + 10, VersionText());
    if (!m_termCode.isEmpty()) x = drawText(x + 15, QStringLiteral("终端号：") + m_termCode);
    if (!m_operatorId.isEmpty()) {
        int pictureLeft = x + 15;
        painter.drawPixmap(pictureLeft, scale.Y(8), skin::LoadPicture(QStringLiteral("img3.png")));
        drawText(pictureLeft + 22, m_operatorId);
    }
    painter.drawPixmap(HideButtonRect(), skin::LoadPicture(QStringLiteral("img4.png")));
    painter.drawPixmap(CloseButtonRect(), skin::LoadPicture(QStringLiteral("img5.png")));
}

}  // namespace zelvo
