#pragma once

#include <QRect>
#include <QWidget>

namespace zelvo {

// The small always-on-top tile at the top-right of the screen that brings the main window back
// (or sends it away). It can be dragged about inside the work area.
class RestoreIcon : public QWidget {
    Q_OBJECT
public:
    explicit RestoreIcon(const QRect& workArea, QWidget* parent = nullptr);

    // The next place of the icon when dragged by (dx, dy): a move that would take it further out
    // past an edge it already reaches is dropped on that axis.
    static QPoint DraggedPosition(const QRect& icon, const QPoint& delta, const QRect& workArea);

Q_SIGNALS:
    void Clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QRect m_workArea;
    bool m_held = false;
    bool m_dragged = false;
    QPoint m_lastGlobal;
};

}  // namespace zelvo
