#include "shell/controls/BusyIndicator.h"

#include <QPainter>

namespace zelvo {
namespace {

constexpr int kPollMilliseconds = 100;
constexpr int kSteps = 12;

}  // namespace

BusyIndicator::BusyIndicator(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    connect(&m_timer, &QTimer::timeout, this, &BusyIndicator::Poll);
}

void BusyIndicator::SetBusyCheck(std::function<bool()> busy) {
    m_check = std::move(busy);
    if (m_check) {
        m_timer.start(kPollMilliseconds);
    } else {
        m_timer.stop();
    }
    Poll();
}

void BusyIndicator::Poll() {
    const bool busy = m_check && m_check();
    if (busy) {
        m_step = (m_step + 1) % kSteps;
        update();
    }
    if (busy == m_busy) return;
    m_busy = busy;
    setVisible(busy);
    Q_EMIT BusyChanged(busy);
}

void BusyIndicator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = qMin(width(), height());
    const qreal pen = qMax<qreal>(2, side / 8);
    const QRectF ring(QPointF(pen / 2, pen / 2), QSizeF(side - pen, side - pen));
    painter.setPen(QPen(QColor(255, 255, 255, 90), pen));
    painter.drawEllipse(ring);
    painter.setPen(QPen(Qt::white, pen, Qt::SolidLine, Qt::RoundCap));
    // Qt counts angles in sixteenths of a degree, anticlockwise; the arc turns clockwise.
    painter.drawArc(ring, -m_step * (360 / kSteps) * 16, 100 * 16);
}

}  // namespace zelvo
