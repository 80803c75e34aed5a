#pragma once

#include <functional>

#include <QTimer>
#include <QWidget>

namespace zelvo {

// A small turning ring, shown while `busy` answers true (asked ten times a second): the page
// looks at work while an exchange waits on the gateway, without a text of its own.
class BusyIndicator : public QWidget {
    Q_OBJECT
public:
    explicit BusyIndicator(QWidget* parent = nullptr);

    void SetBusyCheck(std::function<bool()> busy);
    bool Busy() const { return m_busy; }

Q_SIGNALS:
    void BusyChanged(bool busy);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Poll();

    std::function<bool()> m_check;
    QTimer m_timer;
    int m_step = 0;
    bool m_busy = false;
};

}  // namespace zelvo
