#pragma once

#include <QWidget>

namespace zelvo {

// The large amount on white with the caption "金额(元)" under it; the font sizes are the page's.
class AmountDisplay : public QWidget {
    Q_OBJECT
public:
    AmountDisplay(int amountFontSize, int captionFontSize, QWidget* parent = nullptr);

    void SetAmount(const QString& amount);
    QString Amount() const { return m_amount; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_amount;
    int m_amountFontSize;
    int m_captionFontSize;
};

}  // namespace zelvo
