#pragma once

#include <QLineEdit>

namespace zelvo {

// A single-line edit box in 宋体 with the flat 1-pixel frame drawn 2 pixels inside its edge.
class SkinEdit : public QLineEdit {
    Q_OBJECT
public:
    SkinEdit(int fontSize, bool bold, QWidget* parent = nullptr);
    void SetPasswordStyle(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace zelvo
