#include "capture/RegionSelectOverlay.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace zelvo {
namespace {

constexpr int kVeilAlpha = 30;
constexpr int kLineAlpha = 80;
// The instruction text starts this far left of the cursor, at its height.
constexpr int kTextOffset = 215;

}  // namespace

RegionSelectOverlay::RegionSelectOverlay(QImage frozen, const QRect& area)
    : QDialog(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_frozen(std::move(frozen)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    // Placed exactly over the screen, so overlay and screen coordinates agree.
    setGeometry(area);
}

const QString& RegionSelectOverlay::InstructionText() {
    static const QString text = QStringLiteral(
        "为保证金额识别准确率，\n请不要选择除金额数字以外的区域，\n选择完成后按回车键确定即可！");
    return text;
}

CaptureRect RegionSelectOverlay::StoredRect() const {
    return {m_press.x(), m_press.y(), m_release.x(), m_release.y()};
}

QRect RegionSelectOverlay::DrawnRect() const {
    if (m_corner.x() <= m_anchor.x() || m_corner.y() <= m_anchor.y()) return {};
    return QRect(m_anchor, m_corner - QPoint(1, 1));
}

void RegionSelectOverlay::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The mouse's last known place is where it stands now: the cross-hair and the instruction
    // text start there, not at the screen's corner with the text cut off.
    m_cursor = mapFromGlobal(QCursor::pos());
    activateWindow();
    setFocus(Qt::ActiveWindowFocusReason);
}

void RegionSelectOverlay::mousePressEvent(QMouseEvent* event) {
    m_press = event->globalPosition().toPoint();
    // Once a rectangle is drawn it stays; later clicks only move the stored points.
    if (DrawnRect().isEmpty()) {
        grabMouse();
        m_dragging = true;
        m_anchor = m_corner = event->position().toPoint();
    }
}

void RegionSelectOverlay::mouseMoveEvent(QMouseEvent* event) {
    m_cursor = event->position().toPoint();
    if (m_dragging) m_corner = m_cursor;
    update();
}

void RegionSelectOverlay::mouseReleaseEvent(QMouseEvent* event) {
    m_release = event->globalPosition().toPoint();
    m_cursor = event->position().toPoint();
    if (!m_dragging) return;
    m_corner = m_cursor;
    m_dragging = false;
    releaseMouse();
    update();
}

void RegionSelectOverlay::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            accept();
            return;
        case Qt::Key_Escape:
            reject();
            return;
        default:
            event->ignore();
    }
}

void RegionSelectOverlay::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_frozen);
    const QRect drawn = DrawnRect();
    QRegion veil(rect());
    if (!drawn.isEmpty()) veil -= QRegion(drawn);
    painter.setClipRegion(veil);
    painter.fillRect(rect(), QColor(0, 0, 0, kVeilAlpha));
    painter.setClipping(false);
    const QColor line(0, 0, 0, kLineAlpha);
    if (!drawn.isEmpty()) {
        painter.setPen(line);
        painter.drawRect(drawn.adjusted(-1, -1, 1, 1));
    }
    painter.setPen(line);
    painter.drawLine(0, m_cursor.y(), width(), m_cursor.y());
    painter.drawLine(m_cursor.x(), 0, m_cursor.x(), height());

    QFont font(QStringLiteral("黑体"));
    font.setPixelSize(15);
    font.setWeight(QFont::Normal);
    painter.setFont(font);
    painter.setPen(Qt::red);
    const QRect box(m_cursor.x() - kTextOffset, m_cursor.y(), width(), height());
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, InstructionText());
}

}  // namespace zelvo
