#include "resultspane.h"

#include "../control.h"
#include "../groups.h"
#include "../items.h"
#include "../tabs.h"
#include "barwindow.h"
#include "ole/font.h"
#include "ole/handles.h"
#include "splitter.h"
#include "tabstrip.h"
#include "viewcontainer.h"

namespace navrail {

// ---- ResultsPaneWidget ---------------------------------------------------------------------------

ResultsPaneWidget::ResultsPaneWidget(ResultsPane *owner, QWidget *parent) : QWidget(parent), owner_(owner)
{
    setObjectName(QStringLiteral("lzResultsPane"));
    setCursor(Qt::ArrowCursor);
}

void ResultsPaneWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (owner_)
        owner_->layout();
}

// ---- ResultsPane ---------------------------------------------------------------------------------

ResultsPane::ResultsPane(NavrailControl *control) : control_(control)
{}

ResultsPane::~ResultsPane()
{
    destroy();
}

bool ResultsPane::create(QWidget *parent)
{
    if (!widget_) {
        widget_ = new ResultsPaneWidget(this, parent);
        widget_->setGeometry(100, 100, 200, 200);
    }
    return true;
}

void ResultsPane::destroy()
{
    hideShownStrip();
    for (Slot &slot : slots_)
        slot = Slot();
    if (widget_)
        widget_->forgetOwner();
    delete widget_.data();
    widget_ = nullptr;
}

void ResultsPane::forgetTabs(const TabsCollection *tabs)
{
    if (shownTabs_.get() == tabs)
        shownTabs_.reset();
}

TabStrip *ResultsPane::shownStrip() const
{
    TabStrip *strip = shownTabs_ ? shownTabs_->strip() : nullptr;
    return strip && strip->exists() ? strip : nullptr;
}

void ResultsPane::hideShownStrip()
{
    if (TabStrip *strip = shownStrip())
        strip->show(false);
    shownTabs_.reset();
}

void ResultsPane::showItem(Item *item)
{
    if (!item || !widget_)
        return;
    ComPtr<Item> keep(item);
    showTabs(item);
    showViews(item);
}

// ---- tabs ----------------------------------------------------------------------------------------

void ResultsPane::showTabs(Item *item)
{
    ComPtr<TabsCollection> tabs(item->tabs());
    if (tabs && tabs->count() > 0 && !tabs->current())
        tabs->put_CurrentTabIndex(0);
    if (!tabs || tabs->count() == 0) {
        // A collection without tabs shows no strip either: the previous item's strip goes.
        hideShownStrip();
    } else if (tabs == shownTabs_ && shownStrip()) {
        shownStrip()->show(true);
    } else {
        hideShownStrip();
        const bool first = !(tabs->strip() && tabs->strip()->exists());
        TabStrip *strip = tabs->ensureStrip(widget_);
        if (strip && strip->exists()) {
            if (first && !strip->isVertical()) {
                if (IFontDisp *font = control_->font())
                    strip->setFont(ole::toQFont(font));
            }
            strip->show(true);
            shownTabs_ = tabs;
        }
    }
    if (TabStrip *strip = shownStrip()) {
        strip->setHandlers([this](int old) { return tabChanging(old); }, [this](int now) { tabChanged(now); });
    }
    layout();
}

bool ResultsPane::tabChanging(int oldPosition)
{
    Item *item = control_->bar().displayedItem();
    TabsCollection *tabs = shownTabs_.get();
    if (oldPosition < 0 || !item || !tabs)
        return false;
    ComPtr<ILzNavrailBar> keepControl(control_);
    ComPtr<Item> keepItem(item);
    ComPtr<Group> group(item->group());
    ComPtr<Tab> old(tabs->at(oldPosition));
    return control_->events().beforeResultsTabChange(group.get(), item, old.get());
}

void ResultsPane::tabChanged(int newPosition)
{
    ComPtr<ILzNavrailBar> keepControl(control_);
    ComPtr<TabsCollection> tabs(shownTabs_);
    ComPtr<Item> item(control_->bar().displayedItem());
    if (tabs)
        tabs->put_CurrentTabIndex(newPosition);
    if (!item)
        return;
    ComPtr<Group> group(item->group());
    ComPtr<Tab> tab(tabs ? tabs->at(newPosition) : nullptr);
    control_->events().afterResultsTabChange(group.get(), item.get(), tab.get());
    // The handler may have removed the item or closed the control's window meanwhile.
    if (item->control() == control_ && item->position() >= 0 && control_->isWindowVisible())
        control_->showInResultsPane(item.get());
}

// ---- views ---------------------------------------------------------------------------------------

void ResultsPane::showViews(Item *item)
{
    ViewContainer *views[2] = {&control_->viewContainer(1), &control_->viewContainer(2)};
    bool filled[2] = {false, false};
    for (int i = 0; i < 2; ++i) {
        ViewContainer &view = *views[i];
        Slot &slot = slots_[i];
        // A window handle whose window is gone counts as no window; a window wins over an object.
        LONG handle = item->window(i + 1);
        QWidget *window = handle ? ole::widgetFromHandle(ole::Handle(handle)) : nullptr;
        if (!window)
            handle = 0;
        IDispatch *object = handle ? nullptr : item->object(i + 1);

        const bool unchanged = handle ? slot.window == handle && view.mode() == ViewContainer::HostsWindow &&
                                            view.hostedWindow() == window && view.holds(window)
                                      : slot.window == 0 && slot.object.get() == object;
        if (unchanged) {
            // The same window stays where it is, shown (no hiding and showing it again).
            if (object && item->explorerNode()) {
                view.hostObject(object);
                giveNode(view, item);
            }
        } else {
            view.detach();
            if (handle) {
                if (!view.hostWindow(window))
                    handle = 0; // a window that cannot go inside the pane shows nothing
            } else if (object) {
                view.hostObject(object);
                view.setMode(ViewContainer::HostsObject);
                if (item->explorerNode())
                    giveNode(view, item);
            }
        }
        filled[i] = handle != 0 || object != nullptr;
        slot.window = handle;
        slot.object = object;
    }
    for (ViewContainer *view : views)
        if (view->mode() == ViewContainer::HostsObject)
            view->fit();

    Splitter &splitter = control_->secondSplitter();
    ViewContainer &first = *views[0];
    ViewContainer &second = *views[1];
    if (filled[0] && filled[1]) {
        first.show(true);
        second.show(true);
        splitter.setPanes(first.window(), nullptr, second.window());
    } else if (filled[0]) {
        second.show(false);
        first.show(true);
        splitter.setPanes(first.window());
    } else if (filled[1]) {
        // Only the second view: it takes the whole area.
        first.show(false);
        second.show(true);
        splitter.setPanes(second.window());
    } else {
        first.setMode(ViewContainer::Empty);
        first.show(true);
        second.show(false);
        splitter.setPanes(first.window());
    }
    splitter.layout();
}

void ResultsPane::giveNode(ViewContainer &view, Item *item)
{
    IDispatch *object = view.hostedObject();
    IDispatch *node = item->explorerNode();
    if (!object || !node || !view.isTreeView())
        return;
    OLECHAR name[] = u"SelectedNode";
    LPOLESTR names[] = {name};
    DISPID dispid = DISPID_UNKNOWN;
    if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &dispid)))
        return;
    VARIANT arg = com::Variant::dispatch(node);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&arg, &named, 1, 1};
    object->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUTREF, &params, nullptr, nullptr, nullptr);
    VariantClear(&arg);
}

// ---- layout --------------------------------------------------------------------------------------

void ResultsPane::setGeometry(const QRect &rect)
{
    if (!widget_)
        return;
    if (widget_->geometry() != rect)
        widget_->setGeometry(rect); // the resize lays out
    else
        layout();
}

void ResultsPane::layout()
{
    if (!widget_)
        return;
    const int w = widget_->width();
    const int h = widget_->height();
    QRect rest(0, 0, w, h);
    if (TabStrip *strip = shownStrip()) {
        if (strip->isVertical()) {
            const int t = qMin(strip->thickness(), w);
            if (strip->isBottomOrRight()) {
                strip->move(QRect(w - t, 0, t, h));
                rest = QRect(0, 0, w - t, h);
            } else {
                strip->move(QRect(0, 0, t, h));
                rest = QRect(t, 0, w - t, h);
            }
        } else {
            const int t = qMin(strip->thickness(), h);
            if (strip->isBottomOrRight()) {
                strip->move(QRect(0, h - t, w, t));
                rest = QRect(0, 0, w, h - t);
            } else {
                strip->move(QRect(0, 0, w, t));
                rest = QRect(0, t, w, h - t);
            }
        }
    }
    Splitter &splitter = control_->secondSplitter();
    if (QWidget *s = splitter.window()) {
        if (s->geometry() != rest)
            s->setGeometry(rest);
        splitter.layout();
    }
}

} // namespace navrail
