#pragma once

#include <QTimer>
#include <QWidget>

#include "shell/ShellTypes.h"

namespace zelvo {

// The strip at the top of the page area: the merchant on the right and, while a message shows,
// the whole strip in the colour of its kind with the text in white. Every repaint while a
// message shows starts the 5-second timer afresh; when it fires the message is gone.
class MessageBanner : public QWidget {
    Q_OBJECT
public:
    explicit MessageBanner(QWidget* parent = nullptr);

    void SetMerchant(const QString& merCode, const QString& merName);
    void ShowMessage(MessageKind kind, const QString& text);

    bool Showing() const { return m_showing; }
    MessageKind Kind() const { return m_kind; }
    QString Text() const { return m_text; }
    const QTimer& Timer() const { return m_timer; }
    // The 5 seconds are over: the message goes.
    void Expire();

    static QColor KindColour(MessageKind kind);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void DrawMerchant(QPainter& painter);

    QString m_merCode;
    QString m_merName;
    bool m_showing = false;
    MessageKind m_kind = MessageKind::Error;
    QString m_text;
    QTimer m_timer;
};

}  // namespace zelvo
