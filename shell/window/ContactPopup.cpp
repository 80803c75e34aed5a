#include "shell/window/ContactPopup.h"

#include <QPainter>

#include "shell/controls/Skin.h"
#include "shell/controls/SkinLabel.h"

namespace zelvo {
namespace {

const QColor kBackground{0x6A, 0x6A, 0x6A};

}  // namespace

ContactPopup::ContactPopup(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_label(new SkinLabel(QString(), 12, Qt::AlignHCenter, this)) {
    setFixedSize(100, 120);
    setAttribute(Qt::WA_ShowWithoutActivating);
    m_label->SetColour(Qt::white);
    m_label->SetFill(kBackground);
    m_label->setGeometry(0, 100, 100, 20);
    m_label->SetText(CountdownText());
    m_timer.setInterval(1000);
    connect(&m_timer, &QTimer::timeout, this, &ContactPopup::Tick);
    m_timer.start();
}

QString ContactPopup::CountdownText() const {
    return QStringLiteral("关闭倒数计时(") + QString::number(m_count) + QStringLiteral(")");
}

void ContactPopup::Tick() {
    if (m_count > 0) {
        --m_count;
        m_label->SetText(CountdownText());
        return;
    }
    m_timer.stop();
    Q_EMIT Finished();
}

void ContactPopup::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    painter.drawPixmap(QRect(0, 0, 100, 100), skin::LoadPicture(QStringLiteral("img20.png")));
}

}  // namespace zelvo
