#pragma once

#include <QWidget>

namespace zelvo {

class ActionButton;
class SkinEdit;
class SkinLabel;
class TransactionGrid;

// The query and refund page's controls: the order-number search row, the transaction grid and
// the "结算汇总" and "退  款" buttons.
class QueryRefundPanel : public QWidget {
    Q_OBJECT
public:
    explicit QueryRefundPanel(QWidget* parent = nullptr);

    SkinEdit* SearchBox() const { return m_searchBox; }
    TransactionGrid* Grid() const { return m_grid; }
    ActionButton* SearchButton() const { return m_searchButton; }
    ActionButton* SettleButton() const { return m_settleButton; }
    ActionButton* RefundButton() const { return m_refundButton; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    SkinLabel* m_searchLabel;
    SkinEdit* m_searchBox;
    ActionButton* m_searchButton;
    TransactionGrid* m_grid;
    ActionButton* m_settleButton;
    ActionButton* m_refundButton;
};

}  // namespace zelvo
