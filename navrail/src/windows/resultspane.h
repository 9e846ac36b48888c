#pragma once
// The results pane (right-hand side): the displayed item's tab strip above the second splitter
// with the two view containers.
#include "../common.h"

#include <QPointer>
#include <QWidget>

namespace navrail {

class ResultsPane;
class TabStrip;
class ViewContainer;

// The pane's window: lays the pane out whenever its size changes.
class ResultsPaneWidget : public QWidget
{
    Q_OBJECT
public:
    ResultsPaneWidget(ResultsPane *owner, QWidget *parent);
    void forgetOwner() { owner_ = nullptr; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    ResultsPane *owner_;
};

class ResultsPane
{
public:
    explicit ResultsPane(NavrailControl *control);
    ~ResultsPane();
    ResultsPane(const ResultsPane &) = delete;
    ResultsPane &operator=(const ResultsPane &) = delete;

    bool create(QWidget *parent);
    void destroy();
    QWidget *window() const { return widget_; }
    // Shows the item's tabs and views (the item is already the displayed item and
    // BeforeDisplayResultsPane has been raised).
    void showItem(Item *item);
    // Places the pane at rect (its parent's coordinates, the control widget's) and lays it out.
    void setGeometry(const QRect &rect);
    // Lays out the tab strip and the second splitter inside the pane's current geometry.
    void layout();
    // The tab collection whose strip is shown (none when no strip is shown).
    TabsCollection *shownTabs() const { return shownTabs_.get(); }
    // The item is leaving: forget what the pane remembers of it.
    void forgetTabs(const TabsCollection *tabs);

private:
    // What a view slot shows: the object, or else the window handle.
    struct Slot
    {
        ComPtr<IDispatch> object;
        LONG window = 0;
    };

    void showTabs(Item *item);
    void hideShownStrip();
    TabStrip *shownStrip() const;
    void showViews(Item *item);
    void giveNode(ViewContainer &view, Item *item);
    // Notices of the shown strip.
    bool tabChanging(int oldPosition);
    void tabChanged(int newPosition);

    NavrailControl *control_;
    QPointer<ResultsPaneWidget> widget_;
    ComPtr<TabsCollection> shownTabs_;
    Slot slots_[2];
};

} // namespace navrail
