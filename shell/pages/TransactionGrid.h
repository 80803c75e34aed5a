#pragma once

#include <vector>

#include <QTableWidget>

#include "payment/QueryRow.h"

namespace zelvo {

// The query page's grid: eight fixed columns, failed rows red, refunded and unresolved ones
// dark red, and a last cell that looks like a button and reprints its row.
class TransactionGrid : public QTableWidget {
    Q_OBJECT
public:
    static constexpr int kReprintColumn = 7;

    explicit TransactionGrid(QWidget* parent = nullptr);

    void SetRows(const std::vector<QueryRow>& rows);

Q_SIGNALS:
    void ReprintRequested(int row);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Selects the current row, or the first, when no row is selected yet; answers whether it did.
    bool SelectRowIfNone();
    bool CellCut(int column, const QString& text) const;
};

}  // namespace zelvo
