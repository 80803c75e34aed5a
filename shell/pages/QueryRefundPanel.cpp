#include "shell/pages/QueryRefundPanel.h"

#include <QPainter>

#include "shell/Layout.h"
#include "shell/controls/ActionButton.h"
#include "shell/controls/Skin.h"
#include "shell/controls/SkinEdit.h"
#include "shell/controls/SkinLabel.h"
#include "shell/pages/TransactionGrid.h"

namespace zelvo {
namespace {

int ButtonFontSize() {
    return SmallScreenMode() ? 12 : 14;
}
// Order numbers are a few dozen characters at most.
constexpr int kSearchMaxLength = 64;

}  // namespace

QueryRefundPanel::QueryRefundPanel(QWidget* parent)
    : QWidget(parent),
      m_searchLabel(
          new SkinLabel(QStringLiteral("商家订单号:"), 14, Qt::AlignLeft | Qt::AlignVCenter, this)),
      m_searchBox(new SkinEdit(18, true, this)),
      m_searchButton(new ActionButton(QStringLiteral("查 询"), ButtonFontSize(), 0, this)),
      m_grid(new TransactionGrid(this)),
      m_settleButton(new ActionButton(QStringLiteral("结算汇总"), ButtonFontSize(), 0, this)),
      m_refundButton(new ActionButton(QStringLiteral("退  款"), ButtonFontSize(), 0, this)) {
    m_searchBox->setMaxLength(kSearchMaxLength);
}

void QueryRefundPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const LayoutScale& scale = GetLayoutScale();
    const int rowTop = scale.Y(42);
    const int rowHeight = scale.Y(24);
    const int labelLeft = scale.X(60);
    m_searchLabel->setGeometry(labelLeft, rowTop, 80, rowHeight);
    m_searchBox->setGeometry(labelLeft + 80 + scale.X(10), rowTop, scale.X(240), rowHeight);
    m_searchButton->setGeometry(width() - scale.X(180), rowTop, scale.X(120), rowHeight);
    m_grid->setGeometry(scale.X(30), scale.Y(78), width() - 2 * scale.X(30), scale.Y(306));
    const int bottomTop = height() - scale.Y(56);
    m_settleButton->setGeometry(width() - scale.X(180), bottomTop, scale.X(120), scale.Y(28));
    m_refundButton->setGeometry(width() - scale.X(330), bottomTop, scale.X(120), scale.Y(28));
}

void QueryRefundPanel::paintEvent(QPaintEvent*) {
    const LayoutScale& scale = GetLayoutScale();
    QPainter painter(this);
    painter.fillRect(rect(), skin::Page);
    painter.fillRect(
        QRect(QPoint(scale.X(30), scale.Y(30)), QPoint(width() - scale.X(30), height())),
        Qt::white);
    painter.setPen(skin::Frame);
    const int rule = height() - scale.Y(84);
    painter.drawLine(scale.X(30), rule, width() - scale.X(30), rule);
}

}  // namespace zelvo
