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

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<ListRow> m_rows;
};

}  // namespace zelvo
