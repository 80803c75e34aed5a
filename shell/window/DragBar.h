#pragma once

#include <functional>

#include <QWidget>

namespace zelvo {

// A bar of the main window that moves the whole window when dragged, unless the window says no
// (a prompt of the query page is open).
class DragBar : public QWidget {
    Q_OBJECT
public:
    explicit DragBar(QWidget* parent = nullptr);

    void SetDragAllowed(std::function<bool()> allowed) { m_allowed = std::move(allowed); }

Q_SIGNALS:
    // The window has been dragged to a new place.
    void Dragged();

protected:
    // Where a press starts no drag (the bar's own buttons).
    virtual bool IsButtonAt(const QPoint& point) const = 0;
    virtual void ButtonPressed(const QPoint& /*point*/) {}
    virtual void ButtonReleased(const QPoint& /*point*/) {}

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::function<bool()> m_allowed;
    bool m_dragging = false;
    QPoint m_grabOffset;
};

}  // namespace zelvo
