#include "shell/window/NavigationBar.h"

#include <QPainter>

#include "shell/Layout.h"
#include "shell/controls/PictureStrip.h"
#include "shell/controls/Skin.h"
#include "shell/controls/TabButton.h"
#include "shell/window/PlaceholderPage.h"

namespace zelvo {

NavigationBar::NavigationBar(QWidget* parent) : QWidget(parent) {
    int fontSize = SmallScreenMode() ? 12 : 14;
    for (size_t i = 0; i < kOrder.size(); ++i) {
        PageId id = kOrder[i];
        m_tabs[i] =
            new TabButton(TabCaption(id), fontSize, skin::TabAccent, static_cast<int>(id), this);
        connect(m_tabs[i], &TabButton::Pressed, this,
                [this](int pressed) { Q_EMIT TabPressed(static_cast<PageId>(pressed)); });
    }
}

void NavigationBar::Select(PageId id) {
    for (TabButton* tab : m_tabs) tab->SetSelected(tab->Id() == static_cast<int>(id));
}

PageId NavigationBar::Selected() const {
    for (TabButton* tab : m_tabs) {
        if (tab->IsSelected()) return static_cast<PageId>(tab->Id());
    }
    return PageId::None;
}

TabButton* NavigationBar::Tab(PageId id) const {
    for (TabButton* tab : m_tabs) {
        if (tab->Id() == static_cast<int>(id)) return tab;
    }
    return nullptr;
}

void NavigationBar::resizeEvent(QResizeEvent*) {
    const LayoutScale& scale = GetLayoutScale();
    int top = scale.Y(25);
    int tabHeight = scale.Y(55) - top;
    // "参数设置" from 145 to 30 units from the right; the others 115 wide, 15 apart, leftwards.
    int right = width() - scale.X(30);
    int left = width() - scale.X(145);
    for (size_t i = m_tabs.size(); i-- > 0;) {
        m_tabs[i]->setGeometry(left, top, right - left, tabHeight);
        right = left - scale.X(15);
        left = right - scale.X(115);
    }
}

void NavigationBar::paintEvent(QPaintEvent*) {
    const LayoutScale& scale = GetLayoutScale();
    QPainter painter(this);
    painter.fillRect(rect(), skin::Panel);
    DrawPictureStrip(painter, QPoint(scale.X(30), scale.Y(25)), scale.X(12));
}

}  // namespace zelvo
