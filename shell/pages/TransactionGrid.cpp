#include "shell/pages/TransactionGrid.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>

#include "shell/controls/Skin.h"

namespace zelvo {
namespace {

QString ToQ(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

// "打印" centred inside a thin black frame, so that the cell reads as a button.
class ReprintCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        const QRect frame = option.rect.adjusted(4, 3, -5, -4);
        painter->save();
        painter->setPen(QPen(Qt::black, 1));
        painter->drawRect(frame);
        painter->setFont(option.font);
        painter->drawText(frame, Qt::AlignCenter | Qt::TextSingleLine,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }

protected:
    // The cell's own text is drawn inside the frame, not by the item view.
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->text.clear();
    }
};

}  // namespace

TransactionGrid::TransactionGrid(QWidget* parent) : QTableWidget(parent) {
    setColumnCount(static_cast<int>(std::size(kQueryGridColumns)));
    QStringList headers;
    for (const GridColumn& column : kQueryGridColumns) headers << ToQ(column.header);
    setHorizontalHeaderLabels(headers);
    for (int i = 0; i < columnCount(); ++i) setColumnWidth(i, kQueryGridColumns[i].width);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setFont(skin::Font(12));
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(24);
    setFont(skin::Font(12));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegateForColumn(kReprintColumn, new ReprintCellDelegate(this));
    connect(this, &QTableWidget::cellClicked, this, [this](int row, int column) {
        if (column == kReprintColumn) Q_EMIT ReprintRequested(row);
    });
}

bool TransactionGrid::SelectRowIfNone() {
    if (rowCount() == 0 || selectionModel()->hasSelection()) return false;
    selectRow(currentRow() >= 0 ? currentRow() : 0);
    return true;
}

void TransactionGrid::focusInEvent(QFocusEvent* event) {
    QTableWidget::focusInEvent(event);
    // Reached from the keyboard, the grid shows at once the row that Enter reprints and the
    // refund key refunds; a click selects its own row.
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
        reason == Qt::OtherFocusReason) {
        SelectRowIfNone();
    }
}

void TransactionGrid::keyPressEvent(QKeyEvent* event) {
    // Without a selection the first Up or Down selects the row it stands on, also the only one.
    if ((event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) && SelectRowIfNone()) {
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

bool TransactionGrid::CellCut(int column, const QString& text) const {
    // The item view keeps a focus-frame margin plus one pixel free on each side of the text.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    return QFontMetrics(font()).horizontalAdvance(text) > columnWidth(column) - 2 * margin;
}

void TransactionGrid::SetRows(const std::vector<QueryRow>& rows) {
    clearContents();
    setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < rowCount(); ++r) {
        const QueryRow& row = rows[static_cast<size_t>(r)];
        const std::u16string* cells[] = {&row.dateTime, &row.status, &row.operatorId,
                                         &row.orderNum, &row.amount, &row.channel,
                                         &row.respCode};
        const std::optional<RgbColour> colour = RowTextColour(row);
        for (int c = 0; c < columnCount(); ++c) {
            auto* item =
                new QTableWidgetItem(c == kReprintColumn ? ToQ(kReprintCellText) : ToQ(*cells[c]));
            if (colour) item->setForeground(QColor(colour->red, colour->green, colour->blue));
            // The widths are fixed: a cell too narrow for its text shows it whole on hover.
            if (CellCut(c, item->text())) item->setToolTip(item->text());
            setItem(r, c, item);
        }
    }
    clearSelection();
}

}  // namespace zelvo
