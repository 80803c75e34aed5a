#pragma once

#include <QWidget>

namespace zelvo {

// Underlined light text with a hand cursor ("联系我们").
class LinkLabel : public QWidget {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

Q_SIGNALS:
    void Clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString m_text;
};

}  // namespace zelvo
