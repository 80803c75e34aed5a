#pragma once

#include <QComboBox>

namespace zelvo {

// A drop-down list drawn like the other skinned controls: white, a 1-pixel #C0C0C0 frame, the
// current entry and a thin arrow; the opened list stays the standard one.
class FlatComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit FlatComboBox(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace zelvo
