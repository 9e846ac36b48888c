#include "barwindow.h"

#include "../control.h"
#include "../groups.h"
#include "../items.h"
#include "drawedge.h"
#include "grouppane.h"
#include "headerbutton.h"
#include "ole/handles.h"
#include "ole/imagelist.h"
#include "ole/menu.h"
#include "ole/olecolor.h"
#include "sound/sound.h"

#include <QAction>
#include <QBitmap>
#include <QCursor>
#include <QMenu>
#include <QPainter>

namespace navrail {

BarWidget::BarWidget(BarWindow *bar, QWidget *parent) : QWidget(parent), bar_(bar)
{
    setObjectName(QStringLiteral("lzNavrailBar"));
    setCursor(Qt::ArrowCursor);
}

void BarWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (bar_)
        bar_->layoutGroups();
}

void BarWidget::paintEvent(QPaintEvent *)
{
    NavrailControl *control = bar_ ? bar_->control() : nullptr;
    if (!control)
        return;
    QPainter p(this);
    // The client area only when there is no group: otherwise the buttons and the pane cover it.
    if (!control->groups() || control->groups()->count() == 0)
        p.fillRect(contentsRect(), ole::colorFromOle(control->backColor(), sysColor(COLOR_APPWORKSPACE)));
    // The edge in the inset around the client area.
    switch (control->appearance()) {
    case lzoLight3D: drawEdge(p, rect(), SunkenInner); break;
    case lzoHeavy3D: drawEdge(p, rect(), EdgeSunken); break;
    default: break;
    }
}

BarWindow::BarWindow(NavrailControl *control) : control_(control)
{}

BarWindow::~BarWindow()
{
    destroy();
}

bool BarWindow::create(QWidget *controlWidget)
{
    if (widget_)
        return true;
    widget_ = new BarWidget(this, controlWidget);
    widget_->setGeometry(100, 100, 200, 200);
    // The check-mark images of the menus; magenta is transparent.
    for (int i = 0; i < int(menuBitmaps_.size()); ++i) {
        QPixmap p(QStringLiteral(":/navrail/bitmap/%1.bmp").arg(209 + i));
        if (!p.isNull())
            p.setMask(p.createMaskFromColor(QColor(255, 0, 255)));
        menuBitmaps_[std::size_t(i)] = p;
    }
    loadDefaultImageLists();
    up_.create(widget_, this);
    down_.create(widget_, this);
    if (control_ && control_->groups())
        control_->groups()->createGroupWindows();
    return true;
}

void BarWindow::destroy()
{
    if (control_ && control_->groups())
        for (const ComPtr<Group> &g : control_->groups()->groups())
            g->destroyWindows();
    up_.destroy();
    down_.destroy();
    if (widget_)
        widget_->forgetBar();
    delete widget_.data();
    widget_ = nullptr;
    menuBitmaps_.fill(QPixmap());
    if (lists_.ownsLarge) {
        ole::imageListDestroy(ole::Handle(lists_.large));
        for (LONG *h : {&lists_.largeHot, &lists_.largeActive})
            if (*h == lists_.large)
                *h = 0;
        lists_.large = 0;
    }
    if (lists_.ownsSmall) {
        ole::imageListDestroy(ole::Handle(lists_.small));
        for (LONG *h : {&lists_.smallHot, &lists_.smallActive})
            if (*h == lists_.small)
                *h = 0;
        lists_.small = 0;
    }
    lists_.ownsLarge = lists_.ownsSmall = false;
    releaseFonts();
}

void BarWindow::show(bool on)
{
    if (widget_)
        widget_->setVisible(on);
}

void BarWindow::repaint(bool erase)
{
    if (!widget_)
        return;
    widget_->update();
    // With the background the colours may have changed: the open pane and the buttons follow.
    if (erase && control_ && control_->groups())
        for (const ComPtr<Group> &g : control_->groups()->groups()) {
            if (g->pane() && g->pane()->isVisible())
                g->pane()->update();
            if (g->button())
                g->button()->repaint();
        }
}

void BarWindow::updateFrame()
{
    if (!widget_)
        return;
    // Light 3-D takes one pixel on every side, heavy 3-D two; flat and unknown values none.
    const LONG a = control_ ? control_->appearance() : LONG(lzoFlat);
    const int inset = a == lzoLight3D ? 1 : a == lzoHeavy3D ? 2 : 0;
    widget_->setContentsMargins(inset, inset, inset, inset);
    widget_->update();
    layoutGroups();
}

Group *BarWindow::currentGroup() const
{
    return control_ && control_->groups() ? control_->groups()->at(currentGroup_) : nullptr;
}

void BarWindow::layoutGroups()
{
    if (!widget_ || !control_ || !control_->groups())
        return;
    const std::vector<ComPtr<Group>> &groups = control_->groups()->groups();
    const int n = int(groups.size());
    if (n == 0)
        return;
    const QRect client = widget_->contentsRect();
    const int w = client.width();
    const int header = metrics_.headerHeight;
    const int paneHeight = client.height() - header * n;
    int y = 0;
    for (int i = 0; i < n; ++i) {
        Group *g = groups[std::size_t(i)].get();
        QWidget *button = g->button() ? g->button()->window() : nullptr;
        QWidget *pane = g->pane();
        if (button)
            button->setGeometry(client.x(), client.y() + y, w, header);
        if (i == currentGroup_) {
            if (pane) {
                // A bar lower than its buttons leaves the pane empty rather than negative.
                pane->setGeometry(client.x(), client.y() + y + header, w, qMax(0, paneHeight));
                pane->show();
                placeScrollArrows(pane);
            }
            y += header + paneHeight;
        } else {
            if (pane)
                pane->hide();
            y += header;
        }
    }
}

void BarWindow::placeScrollArrows(QWidget *pane)
{
    // The arrows stay children of the bar window, placed over the pane's right edge.
    const QRect r = pane->geometry();
    if (QWidget *up = up_.window()) {
        up->setGeometry(r.x() + r.width() - 20, r.y() + 5, 16, 16);
        up->raise();
    }
    if (QWidget *down = down_.window()) {
        down->setGeometry(r.x() + r.width() - 20, r.y() + r.height() - 20, 16, 16);
        down->raise();
    }
}

void BarWindow::selectGroup(LONG index)
{
    if (!control_ || !control_->groups())
        return;
    GroupsCollection *groups = control_->groups();
    if (index < 0 || index >= groups->count())
        return;
    ComPtr<Group> group(groups->at(index));
    if (control_->events().beforeGroupChange(group.get()))
        return;
    currentGroup_ = index;
    layoutGroups();
    updateScrollArrows();
    playSound(soundGroupChanged);
    control_->events().afterGroupChange(group.get());
}

void BarWindow::updateScrollArrows()
{
    if (!widget_)
        return;
    Group *g = currentGroup();
    if (!g) {
        // No open group: no arrows over an empty bar.
        up_.show(false);
        down_.show(false);
        return;
    }
    const int count = g->items()->count();
    const LONG first = g->firstVisibleItem();
    const int fit = g->paneClientHeight() / metrics_.itemPitch(g->imageMode());
    up_.show(first > 0);
    down_.show(fit < count - first);
}

void BarWindow::endItemLabelEditInProgress()
{
    if (control_ && control_->editedItem())
        endItemLabelEdit(control_->editedItem(), true);
}

void BarWindow::scrollItemsUp()
{
    endItemLabelEditInProgress();
    Group *g = currentGroup();
    if (!g)
        return;
    if (g->firstVisibleItem() > 0) {
        playSound(soundScrolled);
        g->setFirstVisibleItem(g->firstVisibleItem() - 1);
        if (QWidget *pane = g->pane())
            pane->repaint();
    }
    updateScrollArrows();
}

void BarWindow::scrollItemsDown()
{
    endItemLabelEditInProgress();
    Group *g = currentGroup();
    if (!g)
        return;
    if (g->firstVisibleItem() >= g->items()->count() - 1)
        return;
    playSound(soundScrolled);
    g->setFirstVisibleItem(g->firstVisibleItem() + 1);
    if (QWidget *pane = g->pane())
        pane->repaint();
    updateScrollArrows();
}

QString BarWindow::soundPath(int waveId)
{
    return QStringLiteral(":/navrail/wave/%1.wav").arg(waveId);
}

void BarWindow::playSound(int waveId)
{
    if (!control_ || !control_->soundEffects())
        return;
    tvsound::play(soundPath(waveId));
}

// Re-entrancy of onBarCommand, showContextMenu and onMenuCommand. Each event is raised
// synchronously into the container, whose handler may do anything the control's interface allows
// before it returns: remove the item or group the event names, or all of them, add others, change
// the current group, take the bar's windows away, or let go of its last reference to the control.
// So these handlers keep to four rules:
// - They hold a reference to the control (keepControl; the control owns this window) and to the
//   group and item they pass on, so nothing they use is freed under them. Held is not the same as
//   still in the bar.
// - Before an item is displayed after an event, it is checked to be still in this bar:
//   item->control() == control_ (ItemClick in barItemClick), together with position() >= 0 where
//   the event may have been a removal (lzoOpenItem), since a removed item keeps its owner until
//   ItemDeleted has been raised. An event that returns true (a veto) ends the handler at once.
// - A menu command takes the current item and the menu's group from the bar's slots when it
//   starts and holds them. Removals empty those slots (forgetItem/forgetGroup) and an item no
//   longer in the bar is dropped there as well, so a command chosen after a handler removed its
//   item does nothing to it; menuGroupGone_ keeps the group commands of a menu whose group was
//   removed meanwhile from falling on the current group instead. Header buttons are looked up by
//   index (groups->at(index)) when their notification arrives.
// - showContextMenu's menu has no parent and widget_ is checked after BuildMenu; the chosen
//   command runs through onBarCommand after the menu is gone, against the bar as it is then.
void BarWindow::onBarCommand(int code, Group *group, Item *item, LONG index)
{
    if (!control_ || !control_->groups())
        return;
    ComPtr<ILzNavrailBar> keepControl(control_);
    ComPtr<Group> keepGroup(group);
    ComPtr<Item> keepItem(item);
    EventRaiser &events = control_->events();
    GroupsCollection *groups = control_->groups();
    switch (code) {
    case barItemClick: {
        if (!item || item->control() != control_)
            return;
        ComPtr<Group> current(currentGroup());
        VARIANT_BOOL splitterWindow = 0;
        control_->get_SplitterWindow(&splitterWindow);
        if (splitterWindow) {
            if (events.beforeItemChange(current.get(), item))
                return;
            setCurrentItem(item);
            if (events.itemClick(current.get(), item))
                return;
            // The ItemClick handler may have removed the item.
            if (item->control() == control_)
                control_->displayItem(item);
            events.afterItemChange(current.get(), item);
        } else {
            setCurrentItem(item);
            if (events.itemClick(current.get(), item))
                return;
        }
        playSound(soundItemOpened);
        break;
    }
    case barPaneClick: events.paneClick(group); break;
    case barPaneRightClick:
        setMenuGroup(group);
        if (!events.paneRightClick(group))
            showContextMenu(1);
        break;
    case barItemRightClick: {
        if (!item)
            return;
        setCurrentItem(item);
        ComPtr<Group> current(currentGroup());
        if (!events.itemRightClick(current.get(), item))
            showContextMenu(3);
        break;
    }
    case barButtonRightClick: {
        ComPtr<Group> clicked(groups->at(index));
        if (!clicked)
            return;
        setMenuGroup(clicked.get());
        if (!events.groupButtonRightClick(clicked.get()))
            showContextMenu(2);
        break;
    }
    case barButtonClick: {
        ComPtr<Group> clicked(groups->at(index));
        if (!clicked || clicked.get() == currentGroup())
            return;
        if (events.groupButtonClick(clicked.get()))
            return;
        control_->put_CurrentGroupIndex(index);
        break;
    }
    default:
        if ((code >= lzoMenuAddGroup && code <= lzoOpenItem) || code >= lzoUserMenuSelection)
            onMenuCommand(UINT(code));
        break;
    }
}

QPixmap BarWindow::menuBitmap(int id) const
{
    return id >= 209 && id <= 212 ? menuBitmaps_[std::size_t(id - 209)] : QPixmap();
}

bool BarWindow::showContextMenu(int kind)
{
    if (!control_ || !control_->groups() || !widget_)
        return false;
    NavrailControl *c = control_;
    ComPtr<ILzNavrailBar> keepControl(c);
    auto on = [c](NavrailControl::EnableFlag f) { return c->enableFlag(f) != 0; };
    using F = NavrailControl;
    ComPtr<Group> current(currentGroup());
    const bool small = current && current->imageMode() == lzoImageModeSmall;

    if (kind == lzoPaneClickMenu || kind == lzoButtonClickMenu) {
        if (!on(F::SetIconSizes) && !on(F::AddGroups) && !on(F::EditGroupLabels) && !on(F::RemoveGroups) &&
            !on(F::HideNavrailBar))
            return false;
    } else if (kind == lzoItemClickMenu) {
        if (!on(F::OpenItem) && !on(F::AddItems) && !on(F::EditItemLabels) && !on(F::RemoveItems) && !on(F::Properties))
            return false;
    } else {
        return false;
    }

    UINT chosen = 0;
    bool shown = false;
    {
        // No parent: a handler of BuildMenu may take the bar's windows away while the menu lives.
        QMenu menu;
        menu.setObjectName(QStringLiteral("lzNavrailMenu"));
        constexpr UINT kSeparator = 103;
        if (kind == lzoPaneClickMenu || kind == lzoButtonClickMenu) {
            const bool pane = kind == lzoPaneClickMenu;
            if (on(F::SetIconSizes)) {
                QAction *large = ole::appendMenuItem(
                    &menu, lzoMenuLargeIcons, pane ? QStringLiteral("&Large Icons") : QStringLiteral("Large Icons"));
                QAction *smallEntry = ole::appendMenuItem(
                    &menu, lzoMenuSmallIcons, pane ? QStringLiteral("&Small Icons") : QStringLiteral("Small Icons"));
                // Only the pane menu marks the current size; both menus carry the images.
                const bool largeChecked = pane && !small, smallChecked = pane && small;
                large->setCheckable(pane);
                large->setChecked(largeChecked);
                large->setIcon(menuBitmap(largeChecked ? 209 : 210));
                smallEntry->setCheckable(pane);
                smallEntry->setChecked(smallChecked);
                smallEntry->setIcon(menuBitmap(smallChecked ? 211 : 212));
                if (on(F::AddGroups) || on(F::AddItems) || on(F::EditGroupLabels) || on(F::RemoveGroups))
                    ole::appendMenuItem(&menu, kSeparator, QString());
            }
            if (on(F::AddGroups))
                ole::appendMenuItem(&menu, lzoMenuAddGroup, QStringLiteral("&Add New Group"));
            if (on(F::EditGroupLabels))
                ole::appendMenuItem(&menu, lzoMenuRenameGroup, QStringLiteral("&Rename Group"));
            if (on(F::RemoveGroups))
                ole::appendMenuItem(&menu, lzoMenuRemoveGroup, QStringLiteral("R&emove Group"));
            if (on(F::AddItems))
                ole::appendMenuItem(&menu, lzoMenuAddItem, QStringLiteral("&Add New Item"));
            if (on(F::HideNavrailBar)) {
                ole::appendMenuItem(&menu, kSeparator, QString());
                ole::appendMenuItem(&menu, lzoHideNavrailBar, QStringLiteral("&Hide Navrail Bar"));
            }
        } else {
            if (on(F::OpenItem))
                ole::appendMenuItem(&menu, lzoOpenItem, QStringLiteral("&Open"));
            if (on(F::EditItemLabels))
                ole::appendMenuItem(&menu, lzoMenuRenameItem, QStringLiteral("&Rename Item"));
            if (on(F::RemoveItems))
                ole::appendMenuItem(&menu, lzoMenuRemoveItem, QStringLiteral("R&emove Item"));
            if (on(F::Properties)) {
                ole::appendMenuItem(&menu, kSeparator, QString());
                ole::appendMenuItem(&menu, lzoProperties, QStringLiteral("&Properties"));
            }
        }

        const QPoint pos = QCursor::pos();
        ComPtr<Item> item(currentItem_);
        const LONG hMenu = LONG(ole::handleFromMenu(&menu));
        if (c->events().buildMenu(kind, hMenu, current.get(), item.get()))
            return false;
        if (!widget_)
            return false; // the handler took the windows away
        shown = !menu.actions().isEmpty();
        chosen = ole::trackPopupMenu(&menu, pos);
    }
    // The command arrives after the menu is gone, as a command of the bar window.
    if (chosen != 0)
        onBarCommand(int(chosen), nullptr, nullptr);
    return shown;
}

void BarWindow::onMenuCommand(UINT id)
{
    NavrailControl *c = control_;
    if (!c || !c->groups())
        return;
    ComPtr<ILzNavrailBar> keepControl(c);
    EventRaiser &events = c->events();
    GroupsCollection *groups = c->groups();
    ComPtr<Group> current(currentGroup());
    // Group commands go to the group the menu was opened on, else to the current group; when the
    // group the menu was opened on has gone meanwhile, they go nowhere.
    ComPtr<Group> target(menuGroup_ ? menuGroup_.get() : menuGroupGone_ ? nullptr : current.get());
    // Item commands need the current item still in the bar (removals forget it).
    ComPtr<Item> item(currentItem_);
    if (item && (item->control() != c || item->position() < 0))
        item.reset();

    switch (id) {
    case lzoMenuAddGroup: {
        if (events.menuCommand(LONG(id), nullptr, nullptr))
            return;
        ComPtr<ILzNavrailGroup> added;
        if (SUCCEEDED(groups->Add(com::Bstr(QStringLiteral("New Group")), added.put())) && added)
            added->StartLabelEdit();
        break;
    }
    case lzoMenuRenameGroup:
        if (!target || events.menuCommand(LONG(id), target.get(), nullptr))
            return;
        target->StartLabelEdit();
        break;
    case lzoMenuRemoveGroup:
        if (!target || events.menuCommand(LONG(id), target.get(), nullptr))
            return;
        groups->Remove(target.get());
        // No later command may reach the removed group; the next right click sets it again.
        menuGroup_.reset();
        menuGroupGone_ = false;
        break;
    case lzoMenuAddItem: {
        if (!target || events.menuCommand(LONG(id), target.get(), nullptr))
            return;
        ComPtr<ILzNavrailItem> added;
        if (SUCCEEDED(target->items()->Add(com::Bstr(QStringLiteral("New Item")), 0, added.put())) && added)
            added->StartLabelEdit();
        break;
    }
    case lzoMenuRenameItem:
        if (!current || !item || events.menuCommand(LONG(id), current.get(), item.get()))
            return;
        item->StartLabelEdit();
        break;
    case lzoMenuRemoveItem:
        if (!current || !item || events.menuCommand(LONG(id), current.get(), item.get()))
            return;
        if (ItemsCollection *items = item->owner())
            items->Remove(item.get());
        break;
    case lzoMenuLargeIcons:
    case lzoMenuSmallIcons:
        if (!current || events.menuCommand(LONG(id), current.get(), nullptr))
            return;
        current->put_ImageMode(id == lzoMenuLargeIcons ? SHORT(lzoImageModeLarge) : SHORT(lzoImageModeSmall));
        break;
    case lzoProperties:
        // The container acts on it.
        if (current && item)
            events.menuCommand(LONG(id), current.get(), item.get());
        break;
    case lzoHideNavrailBar:
        if (!current || events.menuCommand(LONG(id), current.get(), nullptr))
            return;
        c->put_PaneDisplay(lzoRightPaneOnly);
        break;
    case lzoOpenItem: {
        VARIANT_BOOL splitterWindow = 0;
        c->get_SplitterWindow(&splitterWindow);
        if (!current || !item || !splitterWindow)
            return;
        if (events.menuCommand(LONG(id), current.get(), item.get()))
            return;
        if (events.itemClick(current.get(), item.get()))
            return;
        if (events.beforeItemChange(current.get(), item.get()))
            return;
        // Three events may have removed the item meanwhile.
        if (item->control() == c && item->position() >= 0)
            c->displayItem(item.get());
        events.afterItemChange(current.get(), item.get());
        playSound(soundItemOpened);
        break;
    }
    default:
        if (id >= UINT(lzoUserMenuSelection) && current)
            events.menuCommand(LONG(id), current.get(), item.get());
        break;
    }
}

void BarWindow::setCurrentItem(Item *item)
{
    currentItem_ = item;
}

void BarWindow::setDisplayedItem(Item *item)
{
    displayedItem_ = item;
}

void BarWindow::setMenuGroup(Group *group)
{
    menuGroup_ = group;
    menuGroupGone_ = false;
}

void BarWindow::setMenuItem(Item *item)
{
    menuItem_ = item;
}

void BarWindow::forgetItem(const Item *item)
{
    if (!item)
        return;
    if (currentItem_.get() == item)
        currentItem_.reset();
    if (displayedItem_.get() == item)
        displayedItem_.reset();
    if (menuItem_.get() == item)
        menuItem_.reset();
}

void BarWindow::forgetGroup(const Group *group)
{
    if (!group)
        return;
    if (menuGroup_.get() == group) {
        menuGroup_.reset();
        menuGroupGone_ = true;
    }
    for (ComPtr<Item> *slot : {&currentItem_, &displayedItem_, &menuItem_})
        if (*slot && (*slot)->group() == group)
            slot->reset();
}

void BarWindow::forgetAll()
{
    currentItem_.reset();
    displayedItem_.reset();
    menuGroup_.reset();
    menuGroupGone_ = false;
    menuItem_.reset();
}

void BarWindow::setFont(IFontDisp *font)
{
    releaseFonts();
    if (!font) {
        repaint(true);
        return;
    }
    ComPtr<IFont> f1, f2;
    font->QueryInterface(IFont::iid, f1.putVoid());
    font->QueryInterface(IFont::iid, f2.putVoid());
    if (f1)
        f1->get_hFont(&hFont1_);
    if (f2)
        f2->get_hFont(&hFont2_);
    font1_ = f1.get();
    font2_ = f2.get();
    repaint(true);
}

QFont BarWindow::font(int which) const
{
    QFont f;
    if (ole::fontFromHandle(ole::Handle(fontHandle(which)), &f))
        return f;
    return widget_ ? widget_->font() : QFont();
}

void BarWindow::releaseFonts()
{
    font1_.reset();
    font2_.reset();
    hFont1_ = hFont2_ = 0;
}

void BarWindow::setSmallImageList(LONG handle)
{
    const LONG old = lists_.small;
    if (lists_.ownsSmall) {
        ole::imageListDestroy(ole::Handle(old));
        lists_.ownsSmall = false;
    }
    if (lists_.smallHot == old)
        lists_.smallHot = handle;
    if (lists_.smallActive == old)
        lists_.smallActive = handle;
    lists_.small = handle;
}

void BarWindow::setLargeImageList(LONG handle)
{
    const LONG old = lists_.large;
    if (lists_.ownsLarge) {
        ole::imageListDestroy(ole::Handle(old));
        lists_.ownsLarge = false;
    }
    if (lists_.largeHot == old)
        lists_.largeHot = handle;
    lists_.large = handle;
}

void BarWindow::loadDefaultImageLists()
{
    // Lists set by the caller before the window existed are kept. The default lists come from the
    // library's bitmaps 201 (32 pixels) and 202 (16 pixels); their top-left pixel's colour is the
    // transparent one.
    if (lists_.large == 0) {
        lists_.large = LONG(ole::imageListLoad(QStringLiteral(":/navrail/bitmap/201.bmp"), metrics_.largeIcon, 10));
        if (lists_.largeHot == 0)
            lists_.largeHot = lists_.large;
        lists_.ownsLarge = lists_.large != 0;
    }
    if (lists_.small == 0) {
        lists_.small = LONG(ole::imageListLoad(QStringLiteral(":/navrail/bitmap/202.bmp"), metrics_.smallIcon, 10));
        if (lists_.smallHot == 0)
            lists_.smallHot = lists_.small;
        lists_.ownsSmall = lists_.small != 0;
    }
}

} // namespace navrail
