#pragma once

#include <QLineEdit>

namespace zelvo {

// A single-line edit box in 宋体 with the flat 1-pixel frame drawn 2 pixels inside its edge.
class SkinEdit : public QLineEdit {
    Q_OBJECT
public:
    SkinEdit(int fontSize, bool bold, QWidget* parent = nullptr);
    void SetPasswordStyle(bool on);
    // The font shrinks, down to half its size, while the text would not fit the box, so that
    // a long order number shows whole.
    void SetShrinkToFit(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FitFont();

    int m_fontSize;
    bool m_bold;
    bool m_shrinkToFit = false;
};

}  // namespace zelvo
