#include "shell/window/RestoreIcon.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "shell/controls/Skin.h"

namespace zelvo {
namespace {

constexpr int kSize = 65;
constexpr int kCornerEllipse = 22;
const QColor kFill{0x15, 0xB0, 0xC6};

// lock.png with its near-black pixels see-through.
QImage LockPicture() {
    QImage image = skin::LoadPicture(QStringLiteral("lock.png"))
                       .toImage()
                       .convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            QRgb pixel = line[x];
            if (qRed(pixel) <= 0x0A && qGreen(pixel) <= 0x0A && qBlue(pixel) <= 0x0A) line[x] = 0;
        }
    }
    return image;
}

}  // namespace

RestoreIcon::RestoreIcon(const QRect& workArea, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_workArea(workArea) {
    setFixedSize(kSize, kSize);
    move(workArea.right() + 1 - 95, workArea.top() + 30);
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, kSize, kSize), kCornerEllipse / 2.0, kCornerEllipse / 2.0);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
}

QPoint RestoreIcon::DraggedPosition(const QRect& icon, const QPoint& delta, const QRect& workArea) {
    QPoint next = icon.topLeft();
    bool outLeft = icon.left() <= workArea.left() && delta.x() < 0;
    bool outRight = icon.right() >= workArea.right() && delta.x() > 0;
    bool outTop = icon.top() <= workArea.top() && delta.y() < 0;
    bool outBottom = icon.bottom() >= workArea.bottom() && delta.y() > 0;
    if (!outLeft && !outRight) next.rx() += delta.x();
    if (!outTop && !outBottom) next.ry() += delta.y();
    return next;
}

void RestoreIcon::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kFill);
    QRect target = rect();
    if (m_held) target.translate(1, 1);
    painter.drawImage(target, LockPicture());
}

void RestoreIcon::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    m_held = true;
    m_dragged = false;
    m_lastGlobal = event->globalPosition().toPoint();
    update();
}

void RestoreIcon::mouseMoveEvent(QMouseEvent* event) {
    if (!m_held) return;
    QPoint global = event->globalPosition().toPoint();
    QPoint delta = global - m_lastGlobal;
    if (delta.isNull()) return;
    m_dragged = true;
    m_lastGlobal = global;
    move(DraggedPosition(frameGeometry(), delta, m_workArea));
}

void RestoreIcon::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_held) return;
    m_held = false;
    update();
    if (!m_dragged && rect().contains(event->position().toPoint())) Q_EMIT Clicked();
}

void RestoreIcon::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
        event->key() == Qt::Key_Escape) {
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace zelvo
