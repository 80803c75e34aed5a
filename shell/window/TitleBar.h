#pragma once

#include "shell/window/DragBar.h"

namespace zelvo {

// The dark bar along the top: logo, title, version, terminal number, the operator once logged
// in, and the hide and close buttons.
class TitleBar : public DragBar {
    Q_OBJECT
public:
    TitleBar(const QString& title, const QString& version, const QString& termCode,
             QWidget* parent = nullptr);

    void SetOperatorId(const QString& operatorId);
    QString OperatorId() const { return m_operatorId; }
    QString TitleText() const { return m_title; }
    // "V" and the version, as the bar shows it.
    QString VersionText() const { return QStringLiteral("V") + m_version; }
    QRect CloseButtonRect() const;
    QRect HideButtonRect() const;

Q_SIGNALS:
    void CloseRequested();
    void HideRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool IsButtonAt(const QPoint& point) const override;
    void ButtonReleased(const QPoint& point) override;

private:
    QString m_title;
    QString m_version;
    QString m_termCode;
    QString m_operatorId;
};

// The first line of "version.xml" in the working directory; empty when it cannot be read.
QString ReadVersionText();

}  // namespace zelvo
