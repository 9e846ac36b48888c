#include "barwindow.h"

#include "../control.h"
#include "../groups.h"
#include "../items.h"
#include "ole/imagelist.h"

namespace navrail {

BarWidget::BarWidget(BarWindow *bar, QWidget *parent) : QWidget(parent), bar_(bar)
{
    setObjectName(QStringLiteral("lzNavrailBar"));
}

void BarWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (bar_)
        bar_->layoutGroups();
}

BarWindow::BarWindow(NavrailControl *control) : control_(control) {}

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
    loadDefaultImageLists();
    up_.create(widget_);
    down_.create(widget_);
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
    delete widget_.data();
    widget_ = nullptr;
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
    (void)erase;
    if (widget_)
        widget_->update();
}

void BarWindow::updateFrame()
{
    if (widget_) {
        const int inset = control_ ? qBound(0, int(control_->appearance()), 2) : 0;
        widget_->setContentsMargins(inset, inset, inset, inset);
        widget_->update();
    }
}

void BarWindow::layoutGroups()
{
    // Placement of the header buttons and the open pane belongs to the bar window's layout.
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
    playSound(206);
    control_->events().afterGroupChange(group.get());
}

void BarWindow::updateScrollArrows()
{
    // Showing and hiding of the arrows belongs to the bar window's layout.
}

void BarWindow::scrollItemsUp()
{
}

void BarWindow::scrollItemsDown()
{
}

void BarWindow::playSound(int waveId)
{
    if (!control_ || !control_->soundEffects())
        return;
    // No sound is played: the bar has no sound output.
    (void)waveId;
}

void BarWindow::startGroupLabelEdit(Group *group)
{
    // The edit box over the header button belongs to the label editing of the bar.
    (void)group;
}

void BarWindow::endGroupLabelEdit(Group *group, bool accept)
{
    (void)group;
    (void)accept;
}

void BarWindow::startItemLabelEdit(Item *item)
{
    (void)item;
}

void BarWindow::endItemLabelEdit(Item *item, bool accept)
{
    (void)item;
    (void)accept;
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
    if (menuGroup_.get() == group)
        menuGroup_.reset();
    for (ComPtr<Item> *slot : {&currentItem_, &displayedItem_, &menuItem_})
        if (*slot && (*slot)->group() == group)
            slot->reset();
}

void BarWindow::forgetAll()
{
    currentItem_.reset();
    displayedItem_.reset();
    menuGroup_.reset();
    menuItem_.reset();
}

void BarWindow::setFont(IFontDisp *font)
{
    releaseFonts();
    if (!font)
        return;
    ComPtr<IFont> f1, f2;
    font->QueryInterface(IFont::iid, f1.putVoid());
    font->QueryInterface(IFont::iid, f2.putVoid());
    if (f1)
        f1->get_hFont(&hFont1_);
    if (f2)
        f2->get_hFont(&hFont2_);
    font1_ = f1.get();
    font2_ = f2.get();
    repaint();
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
    // Lists set by the caller before the window existed are kept.
    if (lists_.large == 0) {
        lists_.large = LONG(ole::imageListCreate(metrics_.largeIcon, metrics_.largeIcon, 10));
        if (lists_.largeHot == 0)
            lists_.largeHot = lists_.large;
        lists_.ownsLarge = lists_.large != 0;
    }
    if (lists_.small == 0) {
        lists_.small = LONG(ole::imageListCreate(metrics_.smallIcon, metrics_.smallIcon, 10));
        if (lists_.smallHot == 0)
            lists_.smallHot = lists_.small;
        lists_.ownsSmall = lists_.small != 0;
    }
}

} // namespace navrail
