#pragma once

#include <QColor>
#include <QWidget>

namespace zelvo {

// Centred 黑体 text on a fill whose corners are cut round (the keys of the keypad).
class CurvedLabel : public QWidget {
    Q_OBJECT
public:
    CurvedLabel(const QString& text, int fontSize, const QColor& textColour, const QColor& fill,
                QWidget* parent = nullptr);

    QString Text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QString m_text;
    int m_fontSize;
    QColor m_textColour;
    QColor m_fill;
};

}  // namespace zelvo
