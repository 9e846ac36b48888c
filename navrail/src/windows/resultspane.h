#pragma once
// The results pane (right-hand side): the displayed item's tab strip above the second splitter
// with the two view containers.
#include "../common.h"

#include <QPointer>
#include <QWidget>

namespace navrail {

class ResultsPane
{
public:
    explicit ResultsPane(NavrailControl *control) : control_(control) {}
    ~ResultsPane() { destroy(); }
    ResultsPane(const ResultsPane &) = delete;
    ResultsPane &operator=(const ResultsPane &) = delete;

    bool create(QWidget *parent);
    void destroy();
    QWidget *window() const { return widget_; }
    // Shows the item's tabs and views (the item is already the displayed item and
    // BeforeDisplayResultsPane has been raised).
    void showItem(Item *item);
    // Lays out the tab strip and the second splitter.
    void layout();
    // The tab collection whose strip is shown (none when no strip is shown).
    TabsCollection *shownTabs() const { return shownTabs_.get(); }
    // The item is leaving: forget what the pane remembers of it.
    void forgetTabs(const TabsCollection *tabs);

private:
    NavrailControl *control_;
    QPointer<QWidget> widget_;
    ComPtr<TabsCollection> shownTabs_;
};

} // namespace navrail
