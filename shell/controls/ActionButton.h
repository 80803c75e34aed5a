#pragma once

#include <QColor>
#include <QWidget>

#include "shell/controls/Skin.h"

namespace zelvo {

// The flat filled button ("登  录", "确认修改" and the like): accent fill, lighter under the mouse
// or while it has the keyboard highlight, darker while held.
class ActionButton : public QWidget {
    Q_OBJECT
public:
    ActionButton(const QString& caption, int fontSize, int id = 0, QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    QString Caption() const { return m_caption; }
    int Id() const { return m_id; }
    QColor Fill() const { return m_fill; }
    // Drawn as under the mouse while a page has moved the focus onto it with Tab.
    void SetFocusHighlight(bool on);
    void SetFace(skin::Face face);
    // Drawn grey while the page's exchange runs; keys and clicks still reach the page, which
    // answers them with its busy message.
    void SetDimmed(bool dimmed);
    bool Dimmed() const { return m_dimmed; }

Q_SIGNALS:
    void Pressed(int id);
    void Clicked(int id);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SetFill(const QColor& fill);
    void Leave();

    QString m_caption;
    int m_fontSize;
    skin::Face m_face = skin::Face::Song;
    int m_id;
    QColor m_fill;
    bool m_tracking = false;
    bool m_held = false;
    bool m_dimmed = false;
};

}  // namespace zelvo
