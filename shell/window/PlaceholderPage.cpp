#include "shell/window/PlaceholderPage.h"

#include <QPainter>

#include "shell/controls/Skin.h"

namespace zelvo {

QString TabCaption(PageId id) {
    switch (id) {
        case PageId::Payment:
            return QStringLiteral("我要收款");
        case PageId::QueryRefund:
            return QStringLiteral("查询和退款");
        case PageId::ChangePassword:
            return QStringLiteral("修改密码");
        case PageId::Settings:
            return QStringLiteral("参数设置");
        default:
            return QString();
    }
}

PlaceholderPage::PlaceholderPage(PageId id, ShellHost& host, QWidget* parent)
    : ShellPage(id, host, parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void PlaceholderPage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), skin::Page);
    painter.setFont(skin::Font(18));
    painter.setPen(skin::Grey);
    painter.drawText(rect(), Qt::AlignCenter, TabCaption(Id()));
}

PageFactory MakePlaceholderPageFactory() {
    return [](PageId id, ShellHost& host, QWidget* parent) -> ShellPage* {
        return new PlaceholderPage(id, host, parent);
    };
}

}  // namespace zelvo
