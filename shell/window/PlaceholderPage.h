#pragma once

#include "shell/ShellPage.h"

namespace zelvo {

// A page that shows its tab caption and does nothing else: stands in until the real page is
// slotted in through the page factory.
class PlaceholderPage : public ShellPage {
    Q_OBJECT
public:
    PlaceholderPage(PageId id, ShellHost& host, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

PageFactory MakePlaceholderPageFactory();

// The caption of the tab that selects a page.
QString TabCaption(PageId id);

}  // namespace zelvo
