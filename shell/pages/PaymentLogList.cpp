#include "shell/pages/PaymentLogList.h"

#include <QPainter>

#include "shell/Layout.h"
#include "shell/controls/Skin.h"

namespace zelvo {
namespace {

constexpr int kRowUnits = 36;

}  // namespace

PaymentLogList::PaymentLogList(QWidget* parent) : QWidget(parent) {}

void PaymentLogList::SetRows(std::vector<ListRow> rows) {
    m_rows = std::move(rows);
    update();
}

void PaymentLogList::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), skin::Page);
    const int rowHeight = GetLayoutScale().Y(kRowUnits);
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const QRect row(0, static_cast<int>(i) * rowHeight, width(), rowHeight);
        DrawListRow(painter, row, m_rows[i], static_cast<int>(i), skin::Page);
    }
}

}  // namespace zelvo
