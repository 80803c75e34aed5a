#pragma once

#include <QTimer>
#include <QWidget>

namespace zelvo {

class SkinLabel;

// The "联系我们" pop-up: a picture and a ten-second countdown after which it closes itself.
class ContactPopup : public QWidget {
    Q_OBJECT
public:
    explicit ContactPopup(QWidget* parent = nullptr);

    int Count() const { return m_count; }
    QString CountdownText() const;
    // One second has passed.
    void Tick();

Q_SIGNALS:
    void Finished();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_count = 10;
    SkinLabel* m_label;
    QTimer m_timer;
};

}  // namespace zelvo
