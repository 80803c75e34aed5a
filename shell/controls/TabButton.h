#pragma once

#include <QColor>
#include <QWidget>

namespace zelvo {

// A framed white button that turns to its accent colour when selected: the four tabs of the
// navigation bar and the buttons of the dialogs.
class TabButton : public QWidget {
    Q_OBJECT
public:
    TabButton(const QString& caption, int fontSize, const QColor& accent, int id = 0,
              QWidget* parent = nullptr);

    void SetSelected(bool selected);
    bool IsSelected() const { return m_selected; }
    int Id() const { return m_id; }
    QString Caption() const { return m_caption; }
    QColor Background() const { return m_background; }
    QColor TextColour() const { return m_text; }

Q_SIGNALS:
    void Pressed(int id);
    void Clicked(int id);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void ShowRestingLook();
    void SetLook(const QColor& background, const QColor& text, const QColor& frame);

    QString m_caption;
    int m_fontSize;
    QColor m_accent;
    int m_id;
    bool m_selected = false;
    QColor m_background;
    QColor m_text;
    QColor m_frame;
};

}  // namespace zelvo
