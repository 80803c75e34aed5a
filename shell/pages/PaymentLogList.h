#pragma once

#include <vector>

#include <QWidget>

#include "shell/controls/ListRow.h"

namespace zelvo {

// The payment page's last three outcomes, one coloured line each.
class PaymentLogList : public QWidget {
    Q_OBJECT
public:
    explicit PaymentLogList(QWidget* parent = nullptr);

    void SetRows(std::vector<ListRow> rows);
    const std::vector<ListRow>& Rows() const { return m_rows; }
    // The whole text of the row at `point` when the row shows it cut, else empty.
    QString ToolTipAt(QPoint point) const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QRect RowRect(int index) const;

    std::vector<ListRow> m_rows;
};

}  // namespace zelvo
