#pragma once

#include <array>

#include <QWidget>

#include "shell/ShellTypes.h"

namespace zelvo {

class TabButton;

// The brand pictures on the left and the four tabs on the right; exactly one tab is selected
// once a page shows. It reports presses on a tab; the page area decides.
class NavigationBar : public QWidget {
    Q_OBJECT
public:
    explicit NavigationBar(QWidget* parent = nullptr);

    void Select(PageId id);
    PageId Selected() const;
    TabButton* Tab(PageId id) const;

    static constexpr std::array<PageId, 4> kOrder = {PageId::Payment, PageId::QueryRefund,
                                                     PageId::ChangePassword, PageId::Settings};

Q_SIGNALS:
    void TabPressed(PageId id);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::array<TabButton*, 4> m_tabs{};
};

}  // namespace zelvo
