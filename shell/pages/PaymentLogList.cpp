#include "shell/pages/PaymentLogList.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

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

QRect PaymentLogList::RowRect(int index) const {
    const int rowHeight = GetLayoutScale().Y(kRowUnits);
    return QRect(0, index * rowHeight, width(), rowHeight);
}

QString PaymentLogList::ToolTipAt(QPoint point) const {
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const QRect row = RowRect(static_cast<int>(i));
        if (row.contains(point)) return ListRowTextCut(row, m_rows[i]) ? m_rows[i].text : QString();
    }
    return QString();
}

bool PaymentLogList::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const QString text = ToolTipAt(help->pos());
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), text, this);
    }
    return true;
}

void PaymentLogList::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), skin::Page);
    for (size_t i = 0; i < m_rows.size(); ++i) {
        DrawListRow(painter, RowRect(static_cast<int>(i)), m_rows[i], static_cast<int>(i),
                    skin::Page);
    }
}

}  // namespace zelvo
