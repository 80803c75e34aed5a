#pragma once

#include <vector>

#include <QRect>
#include <QWidget>

namespace zelvo {

// The on-screen keypad laid over the bottom of the page: fourteen keys at fixed pixel places on
// a darkened band. It never takes the focus, so the page's edit box keeps it while keys go in.
class NumericKeypad : public QWidget {
    Q_OBJECT
public:
    explicit NumericKeypad(QWidget* parent = nullptr);

    // The key code under a point of the keypad, or -1 between keys.
    int KeyCodeAt(const QPoint& point) const;

Q_SIGNALS:
    void KeyPressed(int code);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Key {
        int code;
        QWidget* label;
    };
    void AddKey(int code, const QString& text, int fontSize, const QColor& textColour,
                const QColor& fill);
    // Where a key lies for the keypad's present height.
    QRect KeyRect(int code) const;

    std::vector<Key> m_keys;
};

}  // namespace zelvo
