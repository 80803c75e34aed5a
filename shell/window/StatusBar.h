#pragma once

#include "shell/window/DragBar.h"

namespace zelvo {

class LinkLabel;

// The dark bar along the bottom: status text, keypad button, network indicator and the
// "联系我们" link.
class StatusBar : public DragBar {
    Q_OBJECT
public:
    explicit StatusBar(const QString& status, QWidget* parent = nullptr);

    void SetConnected(bool connected);
    bool Connected() const { return m_connected; }
    QString StatusText() const { return m_status; }
    QRect KeypadButtonRect() const;
    LinkLabel* ContactLink() const { return m_link; }

Q_SIGNALS:
    void KeypadToggled();
    void ContactToggled();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool IsButtonAt(const QPoint& point) const override;
    void ButtonPressed(const QPoint& point) override;

private:
    QString m_status;
    bool m_connected = false;
    LinkLabel* m_link;
};

}  // namespace zelvo
