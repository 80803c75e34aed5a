#pragma once

#include <QDialog>
#include <QImage>
#include <QPoint>

#include "capture/CaptureRect.h"

namespace zelvo {

// The frozen screen over which the operator drags the capture region: a light veil outside the
// rectangle, a cross-hair and the instruction text that travel with the mouse. Enter confirms,
// Escape cancels. The stored points are screen coordinates.
class RegionSelectOverlay : public QDialog {
    Q_OBJECT
public:
    // `frozen` is the screen as it was; `area` the screen rectangle it shows.
    RegionSelectOverlay(QImage frozen, const QRect& area);

    // The last press point as left and top, the last release point as right and bottom.
    CaptureRect StoredRect() const;
    // The drawn rectangle in overlay coordinates; empty unless dragged right and down.
    QRect DrawnRect() const;
    bool Dragging() const { return m_dragging; }

    static const QString& InstructionText();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QImage m_frozen;
    bool m_dragging = false;
    QPoint m_anchor;
    QPoint m_corner;
    QPoint m_press;
    QPoint m_release;
    QPoint m_cursor;
};

}  // namespace zelvo
