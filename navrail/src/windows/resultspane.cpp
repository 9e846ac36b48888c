#include "resultspane.h"

#include "../tabs.h"

namespace navrail {

bool ResultsPane::create(QWidget *parent)
{
    if (!widget_) {
        widget_ = new QWidget(parent);
        widget_->setObjectName(QStringLiteral("lzResultsPane"));
        widget_->setGeometry(100, 100, 200, 200);
    }
    return true;
}

void ResultsPane::destroy()
{
    shownTabs_.reset();
    delete widget_.data();
    widget_ = nullptr;
}

void ResultsPane::showItem(Item *item)
{
    // Tab strip and view hosting belong to the results pane window.
    (void)item;
    layout();
}

void ResultsPane::layout()
{
}

void ResultsPane::forgetTabs(const TabsCollection *tabs)
{
    if (shownTabs_.get() == tabs)
        shownTabs_.reset();
}

} // namespace navrail
