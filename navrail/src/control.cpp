#include "control.h"

#include "groups.h"
#include "items.h"
#include "ole/ambient.h"
#include "ole/handles.h"
#include "ole/olecolor.h"
#include "tabs.h"
#include "windows/barwindow.h"
#include "windows/controlwidget.h"
#include "windows/labeledit.h"
#include "windows/resultspane.h"
#include "windows/splitter.h"
#include "windows/viewcontainer.h"

namespace navrail {

const com::DispatchTable &eventsDispatchTable();

NavrailControl::NavrailControl()
    : eventPoint_(identity(), DIID__ILzNavrailBarEvents), points_(this, {&eventPoint_}), events_(eventPoint_)
{
    enable_.fill(1);
    textColor_ = OLE_COLOR(GetSysColor(COLOR_WINDOWTEXT));
    bar_ = std::make_unique<BarWindow>(this);
    for (auto &view : views_) {
        view = std::make_unique<ViewContainer>();
        view->setControl(this);
    }
    mainSplitter_ = std::make_unique<Splitter>(bar_.get());
    secondSplitter_ = std::make_unique<Splitter>(bar_.get());
    resultsPane_ = std::make_unique<ResultsPane>(this);
    groups_ = com::makeObject<GroupsCollection>();
    groups_->attach(this);
    tabsSet_ = com::makeObject<TabsSet>();
    tabsSet_->attach(this);
}

NavrailControl::~NavrailControl()
{
    // Objects the container may still hold are released and detached, never destroyed: later
    // calls on them that need the control fail with kDetachedResult (common.h).
    if (widget_)
        widget_->forgetControl();
    groups_->detachControl();
    groups_.reset();
    tabsSet_->detachControl();
    tabsSet_.reset();
    // An open label edit goes without events: no container listens any more.
    if (QPointer<LabelEditBox> box = takeLabelEdit()) {
        box->forget();
        delete box.data();
    }
    bar_->forgetAll();
    destroyChildWindows();
    delete widget_.data();
    font_.reset();
    site_.reset();
    points_.clearAll();
}

void *NavrailControl::findInterface(REFIID riid)
{
    if (riid == IID_NavrailControlImpl)
        return static_cast<ILzNavrailBar *>(this);
    if (riid == IID_IPersist)
        return static_cast<IPersistStreamInit *>(this);
    return nullptr;
}

const com::CoClassInfo &NavrailControl::classInfo()
{
    static const com::CoClassInfo info{CLSID_LzNavrailBar, u"LzNavrailBar", &dispatchTable(), DIID__ILzNavrailBarEvents,
                                       &eventsDispatchTable()};
    return info;
}

QWidget *NavrailControl::widget() const
{
    return widget_.data();
}

bool NavrailControl::isWindowVisible() const
{
    return widget_ && widget_->isVisible();
}

// ---- windows ------------------------------------------------------------------------------

void NavrailControl::createChildWindows(ControlWidget *widget)
{
    takeAmbientFont();
    bar_->create(widget);
    bar_->show(true);
    resultsPane_->create(widget);
    for (auto &view : views_)
        view->create(resultsPane_->window());
    mainSplitter_->setBarWidth(6);
    secondSplitter_->setBarWidth(6);
    secondSplitter_->create(resultsPane_->window());
    mainSplitter_->create(widget);

    // The stored values take effect now, through their setters; creating the windows does not
    // make the control need saving.
    const bool wasDirty = dirty_;
    put_DynamicResize(dynamicResize_);
    put_Appearance(tagApearanceConstants(appearance_));
    secondSplitter_->setPanes(views_[0]->window());
    put_BorderWidth(SHORT(borderWidth_));
    put_SplitterWindow(splitterWindow_);
    put_SplitterWidth(SHORT(splitterWidth_));
    dirty_ = wasDirty;

    bar_->setFont(font_.get());
    controlResized();
}

void NavrailControl::destroyChildWindows()
{
    mainSplitter_->destroy();
    secondSplitter_->destroy();
    for (auto &view : views_)
        view->destroy();
    resultsPane_->destroy();
    bar_->destroy();
}

void NavrailControl::controlResized()
{
    if (!widget_)
        return;
    if (editedItem_)
        bar_->endItemLabelEdit(editedItem_.get(), true);
    if (!widget_)
        return;
    if (QWidget *w = mainSplitter_->window())
        w->setGeometry(widget_->contentsRect());
    mainSplitter_->layout();
}

void NavrailControl::takeAmbientFont()
{
    if (!font_ && site_)
        font_ = ole::ambientFont(site_.get());
}

void NavrailControl::applySplitterPanes()
{
    if (splitterWindow_) {
        setMainPanes(bar_->window(), resultsPane_->window());
        views_[0]->show(true);
    } else {
        views_[0]->show(false);
        setMainPanes(bar_->window(), nullptr);
    }
    mainSplitter_->layout();
}

void NavrailControl::setMainPanes(QWidget *left, QWidget *right)
{
    mainSplitter_->setPanes(left, right);
    // The results pane is transparent to the mouse where its views leave it empty; a Qt window
    // is not, and the pane keeps its last place when the splitter drops it. So a pane that is
    // not one of the splitter's panes is hidden, and the bar beneath it gets the mouse.
    if (QWidget *pane = resultsPane_->window()) {
        const bool inUse = pane == left || pane == right;
        if (pane->isHidden() == inUse)
            pane->setVisible(inUse);
    }
}

// ---- display and references -----------------------------------------------------------------

HRESULT NavrailControl::displayItem(Item *item)
{
    ComPtr<Item> keep(item);
    ComPtr<ILzNavrailBar> keepThis(this);
    Group *group = item->group();
    const int groupIndex = group ? group->position() : -1;
    if (groupIndex < 0)
        return LZNAVRAIL_E_INVALIDOBJECT;
    if (bar_->currentGroupIndex() != groupIndex)
        put_CurrentGroupIndex(groupIndex);
    if (item->position() < 0 || item->control() != this)
        return LZNAVRAIL_E_INVALIDOBJECT; // removed by an event handler meanwhile
    bar_->setCurrentItem(item);
    if (isWindowVisible())
        showInResultsPane(item);
    return S_OK;
}

void NavrailControl::showInResultsPane(Item *item)
{
    ComPtr<Item> keep(item);
    ComPtr<Group> group(item->group());
    bar_->setCurrentItem(item);
    bar_->setDisplayedItem(item);
    events_.beforeDisplayResultsPane(group.get(), item);
    if (item->control() == this)
        resultsPane_->showItem(item);
}

void NavrailControl::setLabelEdit(Group *group, Item *item, LabelEditBox *box)
{
    editedGroup_ = group;
    editedItem_ = item;
    editBox_ = box;
}

LabelEditBox *NavrailControl::takeLabelEdit()
{
    LabelEditBox *box = editBox_.data();
    editedGroup_.reset();
    editedItem_.reset();
    editBox_ = nullptr;
    return box;
}

void NavrailControl::endLabelEdit()
{
    if (editedItem_)
        bar_->endItemLabelEdit(editedItem_.get(), true);
    if (editedGroup_)
        bar_->endGroupLabelEdit(editedGroup_.get(), true);
}

void NavrailControl::forgetItem(const Item *item)
{
    // An open edit of the item ends before the item goes.
    if (editedItem_ && editedItem_.get() == item)
        bar_->endItemLabelEdit(editedItem_.get(), true);
    bar_->forgetItem(item);
}

void NavrailControl::forgetGroup(const Group *group)
{
    // An open edit of the group or of one of its items ends before the group goes.
    if (editedItem_ && editedItem_->group() == group)
        bar_->endItemLabelEdit(editedItem_.get(), true);
    if (editedGroup_ && editedGroup_.get() == group)
        bar_->endGroupLabelEdit(editedGroup_.get(), true);
    bar_->forgetGroup(group);
}

// ---- ILzNavrailBar ------------------------------------------------------------------------------

HRESULT NavrailControl::get_BackColor(OLE_COLOR *pclr)
{
    if (!pclr)
        return E_POINTER;
    *pclr = backColor_;
    return S_OK;
}

HRESULT NavrailControl::put_BackColor(OLE_COLOR clr)
{
    backColor_ = clr;
    bar_->repaint(true);
    setDirty();
    return S_OK;
}

HRESULT NavrailControl::get_Groups(ILzNavrailGroups **ppGroups)
{
    if (!ppGroups)
        return E_POINTER;
    return handOut(groups_.get(), ppGroups);
}

HRESULT NavrailControl::get_CurrentGroupIndex(LONG *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = bar_->currentGroupIndex();
    return S_OK;
}

HRESULT NavrailControl::put_CurrentGroupIndex(LONG newVal)
{
    ComPtr<ILzNavrailBar> keepThis(this);
    bar_->selectGroup(newVal);
    return S_OK;
}

HRESULT NavrailControl::get_TextColor(OLE_COLOR *pclr)
{
    if (!pclr)
        return E_POINTER;
    *pclr = textColor_;
    return S_OK;
}

HRESULT NavrailControl::put_TextColor(OLE_COLOR clr)
{
    textColor_ = clr;
    bar_->repaint(true);
    setDirty();
    return S_OK;
}

HRESULT NavrailControl::get_CurrentGroup(ILzNavrailGroup **ppGroup)
{
    if (!ppGroup)
        return E_POINTER;
    *ppGroup = nullptr;
    VARIANT index = com::Variant::i4(bar_->currentGroupIndex());
    return groups_->Item(index, ppGroup);
}

HRESULT NavrailControl::put_CurrentGroup(ILzNavrailGroup *pGroup)
{
    return groups_->put_CurrentGroup(pGroup);
}

HRESULT NavrailControl::get_SoundEffects(VARIANT_BOOL *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = soundEffects_;
    return S_OK;
}

HRESULT NavrailControl::put_SoundEffects(VARIANT_BOOL newVal)
{
    soundEffects_ = newVal;
    setDirty();
    return S_OK;
}

HRESULT NavrailControl::get_Appearance(tagApearanceConstants *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = tagApearanceConstants(appearance_);
    return S_OK;
}

HRESULT NavrailControl::put_Appearance(tagApearanceConstants newVal)
{
    appearance_ = newVal;
    if (hasWindow()) {
        mainSplitter_->setAppearance(appearance_);
        secondSplitter_->setAppearance(appearance_);
        mainSplitter_->layout();
        bar_->updateFrame();
        for (auto &view : views_)
            view->updateFrame();
    }
    setDirty();
    return S_OK;
}

HRESULT NavrailControl::getAppearanceLong(LONG *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = appearance_;
    return S_OK;
}

HRESULT NavrailControl::putAppearanceLong(LONG newVal)
{
    return put_Appearance(tagApearanceConstants(newVal));
}

HRESULT NavrailControl::get_BorderWidth(SHORT *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = SHORT(borderWidth_);
    return S_OK;
}

HRESULT NavrailControl::put_BorderWidth(SHORT newVal)
{
    borderWidth_ = newVal;
    if (widget_) {
        widget_->updateFrame(borderWidth_);
        controlResized();
    }
    setDirty();
    return S_OK;
}

HRESULT NavrailControl::get_SplitterWindow(VARIANT_BOOL *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = splitterWindow_;
    return S_OK;
}

HRESULT NavrailControl::put_SplitterWindow(VARIANT_BOOL newVal)
{
    splitterWindow_ = newVal;
    if (hasWindow())
        applySplitterPanes();
    setDirty();
    return S_OK;
}

HRESULT NavrailControl::get_SplitterWidth(SHORT *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = SHORT(splitterWidth_);
    return S_OK;
}

HRESULT NavrailControl::put_SplitterWidth(SHORT newVal)
{
    splitterWidth_ = newVal;
    if (hasWindow()) {
        // Repaint only: hiding and showing the control would bring back a hidden bar.
        mainSplitter_->setBarWidth(splitterWidth_);
        secondSplitter_->setBarWidth(splitterWidth_);
        mainSplitter_->layout();
    }
    setDirty();
    return S_OK;
}

HRESULT NavrailControl::get_EnableGroupPopupMenu(VARIANT_BOOL *pVal)
{
    return getEnable(GroupPopupMenu, pVal);
}
HRESULT NavrailControl::put_EnableGroupPopupMenu(VARIANT_BOOL newVal)
{
    return putEnable(GroupPopupMenu, newVal);
}
HRESULT NavrailControl::get_EnableEditGroupLabels(VARIANT_BOOL *pVal)
{
    return getEnable(EditGroupLabels, pVal);
}
HRESULT NavrailControl::put_EnableEditGroupLabels(VARIANT_BOOL newVal)
{
    return putEnable(EditGroupLabels, newVal);
}
HRESULT NavrailControl::get_EnableAddGroups(VARIANT_BOOL *pVal)
{
    return getEnable(AddGroups, pVal);
}
HRESULT NavrailControl::put_EnableAddGroups(VARIANT_BOOL newVal)
{
    return putEnable(AddGroups, newVal);
}
HRESULT NavrailControl::get_EnableRemoveGroups(VARIANT_BOOL *pVal)
{
    return getEnable(RemoveGroups, pVal);
}
HRESULT NavrailControl::put_EnableRemoveGroups(VARIANT_BOOL newVal)
{
    return putEnable(RemoveGroups, newVal);
}
HRESULT NavrailControl::get_EnableEditItemLabels(VARIANT_BOOL *pVal)
{
    return getEnable(EditItemLabels, pVal);
}
HRESULT NavrailControl::put_EnableEditItemLabels(VARIANT_BOOL newVal)
{
    return putEnable(EditItemLabels, newVal);
}
HRESULT NavrailControl::get_EnableAddItems(VARIANT_BOOL *pVal)
{
    return getEnable(AddItems, pVal);
}
HRESULT NavrailControl::put_EnableAddItems(VARIANT_BOOL newVal)
{
    return putEnable(AddItems, newVal);
}
HRESULT NavrailControl::get_EnableRemoveItems(VARIANT_BOOL *pVal)
{
    return getEnable(RemoveItems, pVal);
}
HRESULT NavrailControl::put_EnableRemoveItems(VARIANT_BOOL newVal)
{
    return putEnable(RemoveItems, newVal);
}
HRESULT NavrailControl::get_EnableSetIconSizes(VARIANT_BOOL *pVal)
{
    return getEnable(SetIconSizes, pVal);
}
HRESULT NavrailControl::put_EnableSetIconSizes(VARIANT_BOOL newVal)
{
    return putEnable(SetIconSizes, newVal);
}
HRESULT NavrailControl::get_EnableHideNavrailBar(VARIANT_BOOL *pVal)
{
    return getEnable(HideNavrailBar, pVal);
}
HRESULT NavrailControl::put_EnableHideNavrailBar(VARIANT_BOOL newVal)
{
    return putEnable(HideNavrailBar, newVal);
}
HRESULT NavrailControl::get_EnableItemPopupMenu(VARIANT_BOOL *pVal)
{
    return getEnable(ItemPopupMenu, pVal);
}
HRESULT NavrailControl::put_EnableItemPopupMenu(VARIANT_BOOL newVal)
{
    return putEnable(ItemPopupMenu, newVal);
}
HRESULT NavrailControl::get_EnableOpenItem(VARIANT_BOOL *pVal)
{
    return getEnable(OpenItem, pVal);
}
HRESULT NavrailControl::put_EnableOpenItem(VARIANT_BOOL newVal)
{
    return putEnable(OpenItem, newVal);
}
HRESULT NavrailControl::get_EnableProperties(VARIANT_BOOL *pVal)
{
    return getEnable(Properties, pVal);
}
HRESULT NavrailControl::put_EnableProperties(VARIANT_BOOL newVal)
{
    return putEnable(Properties, newVal);
}

HRESULT NavrailControl::CancelEvent()
{
    events_.cancel();
    return S_OK;
}

HRESULT NavrailControl::get_LeftPaneWidth(LONG *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = mainSplitter_->x();
    return S_OK;
}

HRESULT NavrailControl::put_LeftPaneWidth(LONG newVal)
{
    ComPtr<ILzNavrailBar> keepThis(this);
    mainSplitter_->setX(newVal);
    return S_OK;
}

HRESULT NavrailControl::get_PaneDisplay(tagPaneDisplayConstants *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = tagPaneDisplayConstants(paneDisplay_);
    return S_OK;
}

HRESULT NavrailControl::put_PaneDisplay(tagPaneDisplayConstants newVal)
{
    paneDisplay_ = newVal;
    if (!splitterWindow_ || !hasWindow())
        return S_OK;
    switch (paneDisplay_) {
    case lzoNavrailBarRightPane:
        setMainPanes(bar_->window(), resultsPane_->window());
        views_[0]->show(true);
        bar_->show(true);
        break;
    case lzoNavrailBarOnly:
        views_[0]->show(false);
        bar_->show(true);
        setMainPanes(bar_->window(), nullptr);
        break;
    case lzoRightPaneOnly:
        bar_->show(false);
        views_[0]->show(true);
        setMainPanes(resultsPane_->window(), nullptr);
        break;
    default: return S_OK;
    }
    mainSplitter_->layout();
    return S_OK;
}

HRESULT NavrailControl::getPaneDisplayLong(LONG *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = paneDisplay_;
    return S_OK;
}

HRESULT NavrailControl::putPaneDisplayLong(LONG newVal)
{
    return put_PaneDisplay(tagPaneDisplayConstants(newVal));
}

HRESULT NavrailControl::get_FreezePanes(VARIANT_BOOL *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = mainSplitter_->locked() ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT NavrailControl::put_FreezePanes(VARIANT_BOOL newVal)
{
    mainSplitter_->setLocked(newVal != 0);
    return S_OK;
}

HRESULT NavrailControl::get_CurrentItem(ILzNavrailItem **ppItem)
{
    if (!ppItem)
        return E_POINTER;
    Item *item = bar_->displayedItem();
    if (!item) {
        item = bar_->currentItem();
        if (item)
            bar_->setDisplayedItem(item);
    }
    return handOut(item, ppItem);
}

HRESULT NavrailControl::put_CurrentItem(ILzNavrailItem *pItem)
{
    if (!pItem)
        return S_OK;
    Item *item = Item::from(pItem);
    if (!item || item->control() != this || item->position() < 0)
        return LZNAVRAIL_E_INVALIDOBJECT;
    return item->Display();
}

HRESULT NavrailControl::get_Font(IFontDisp **ppFont)
{
    if (!ppFont)
        return E_POINTER;
    takeAmbientFont();
    return handOut(font_.get(), ppFont);
}

HRESULT NavrailControl::put_Font(IFontDisp *pFont)
{
    font_ = pFont;
    if (hasWindow())
        bar_->setFont(pFont); // repaints; the bar is not hidden and shown again
    setDirty();
    return S_OK;
}

HRESULT NavrailControl::putref_Font(IFontDisp *pFont)
{
    return put_Font(pFont);
}

HRESULT NavrailControl::get_hWnd(LONG *pHWnd)
{
    if (!pHWnd)
        return E_POINTER;
    *pHWnd = widget_ ? LONG(ole::handleFromWidget(widget_.data())) : 0;
    return S_OK;
}

HRESULT NavrailControl::get_TopPaneHeight(LONG *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = secondSplitter_->y();
    return S_OK;
}

HRESULT NavrailControl::put_TopPaneHeight(LONG newVal)
{
    secondSplitter_->setY(newVal);
    return S_OK;
}

HRESULT NavrailControl::ItemFromKey(BSTR Key, ILzNavrailItem **ppItem)
{
    if (!ppItem)
        return E_POINTER;
    *ppItem = nullptr;
    const QString key = fromBstr(Key);
    for (const ComPtr<Group> &g : groups_->groups())
        if (Item *item = g->items()->findByKey(key))
            return handOut(item, ppItem);
    return S_OK;
}

HRESULT NavrailControl::get_DynamicResize(VARIANT_BOOL *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = mainSplitter_->dynamicResize() ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT NavrailControl::put_DynamicResize(VARIANT_BOOL newVal)
{
    dynamicResize_ = newVal;
    // The splitter objects exist before their windows, so the value reads back at once.
    mainSplitter_->setDynamicResize(newVal != 0);
    secondSplitter_->setDynamicResize(newVal != 0);
    return S_OK;
}

HRESULT NavrailControl::put_SmallImageList(IDispatch *pImageList)
{
    bar_->setSmallImageList(imageListHandleOf(pImageList));
    return S_OK;
}

HRESULT NavrailControl::put_LargeImageList(IDispatch *pImageList)
{
    bar_->setLargeImageList(imageListHandleOf(pImageList));
    return S_OK;
}

HRESULT NavrailControl::get_SmallHImageList(LONG *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = bar_->imageLists().small;
    return S_OK;
}

HRESULT NavrailControl::put_SmallHImageList(LONG newVal)
{
    bar_->setSmallImageList(newVal);
    return S_OK;
}

HRESULT NavrailControl::get_LargeHImageList(LONG *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = bar_->imageLists().large;
    return S_OK;
}

HRESULT NavrailControl::put_LargeHImageList(LONG newVal)
{
    bar_->setLargeImageList(newVal);
    return S_OK;
}

HRESULT NavrailControl::put_LargeHotImageList(IDispatch *pImageList)
{
    bar_->imageLists().largeHot = imageListHandleOf(pImageList);
    return S_OK;
}

HRESULT NavrailControl::put_SmallHotImageList(IDispatch *pImageList)
{
    bar_->imageLists().smallHot = imageListHandleOf(pImageList);
    return S_OK;
}

HRESULT NavrailControl::get_LargeHotHImageList(LONG *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = bar_->imageLists().largeHot;
    return S_OK;
}

HRESULT NavrailControl::put_LargeHotHImageList(LONG newVal)
{
    bar_->imageLists().largeHot = newVal;
    return S_OK;
}

HRESULT NavrailControl::get_SmallHotHImageList(LONG *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = bar_->imageLists().smallHot;
    return S_OK;
}

HRESULT NavrailControl::put_SmallHotHImageList(LONG newVal)
{
    bar_->imageLists().smallHot = newVal;
    return S_OK;
}

HRESULT NavrailControl::put_LargeActiveHImageList(LONG newVal)
{
    bar_->imageLists().largeActive = newVal;
    return S_OK;
}

HRESULT NavrailControl::get_SmallActiveHImageList(LONG *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = bar_->imageLists().smallActive;
    return S_OK;
}

HRESULT NavrailControl::put_SmallActiveHImageList(LONG newVal)
{
    bar_->imageLists().smallActive = newVal;
    return S_OK;
}

HRESULT NavrailControl::get_UseChildWindows(VARIANT_BOOL *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = useChildWindows_;
    return S_OK;
}

HRESULT NavrailControl::put_UseChildWindows(VARIANT_BOOL newVal)
{
    useChildWindows_ = newVal;
    for (auto &view : views_)
        view->setUseChildWindows(newVal != 0);
    setDirty();
    return S_OK;
}

HRESULT NavrailControl::get_TabsSet(ILzTabsSet **ppTabsSet)
{
    if (!ppTabsSet)
        return E_POINTER;
    return handOut(tabsSet_.get(), ppTabsSet);
}

// ---- IQtControl ---------------------------------------------------------------------------------

HRESULT NavrailControl::SetSite(IControlSite *pSite)
{
    site_ = pSite;
    return S_OK;
}

HRESULT NavrailControl::GetSite(IControlSite **ppSite)
{
    if (!ppSite)
        return E_POINTER;
    return site_.copyTo(ppSite);
}

HRESULT NavrailControl::Activate(QWidget *parent, QWidget **ppWidget)
{
    if (!ppWidget)
        return E_POINTER;
    *ppWidget = nullptr;
    if (!widget_) {
        widget_ = new ControlWidget(this, parent);
        // The container places the control over its client area: the windows are laid out at that
        // size from the start, so positions taken from the first layout (the splitter's) are real.
        if (parent)
            widget_->setGeometry(parent->contentsRect());
        createChildWindows(widget_.data());
    } else if (widget_->parentWidget() != parent) {
        widget_->setParent(parent);
    }
    *ppWidget = widget_.data();
    return S_OK;
}

HRESULT NavrailControl::Deactivate()
{
    if (!widget_) {
        destroyChildWindows();
        return S_FALSE;
    }
    // An open label edit ends (accepted) while its box still exists.
    endLabelEdit();
    if (!widget_)
        return S_OK;
    widget_->forgetControl();
    destroyChildWindows();
    delete widget_.data();
    widget_ = nullptr;
    return S_OK;
}

HRESULT NavrailControl::GetWidget(QWidget **ppWidget)
{
    if (!ppWidget)
        return E_POINTER;
    *ppWidget = widget_.data();
    return widget_ ? S_OK : S_FALSE;
}

HRESULT NavrailControl::GetNaturalSize(SIZE *pSize)
{
    if (!pSize)
        return E_POINTER;
    // HIMETRIC to pixels at 96 dots per inch.
    pSize->cx = LONG(extent_.cx * 96 / 2540);
    pSize->cy = LONG(extent_.cy * 96 / 2540);
    return S_OK;
}

HRESULT NavrailControl::AmbientPropertyChanged(DISPID)
{
    return S_OK;
}

// ---- connection points, class information, safety, pages --------------------------------------

HRESULT NavrailControl::EnumConnectionPoints(IEnumConnectionPoints **ppEnum)
{
    return points_.enumConnectionPoints(ppEnum);
}

HRESULT NavrailControl::FindConnectionPoint(REFIID riid, IConnectionPoint **ppCP)
{
    return points_.findConnectionPoint(riid, ppCP);
}

HRESULT NavrailControl::GetClassInfo(ITypeInfo **ppTI)
{
    return com::classTypeInfo(classInfo(), ppTI);
}

HRESULT NavrailControl::GetGUID(DWORD dwGuidKind, GUID *pGUID)
{
    return com::classSourceGuid(classInfo(), dwGuidKind, pGUID);
}

HRESULT NavrailControl::GetInterfaceSafetyOptions(REFIID riid, DWORD *pdwSupportedOptions, DWORD *pdwEnabledOptions)
{
    if (!pdwSupportedOptions || !pdwEnabledOptions)
        return E_POINTER;
    *pdwSupportedOptions = 0;
    *pdwEnabledOptions = 0;
    ComPtr<IUnknown> probe;
    HRESULT hr = QueryInterface(riid, probe.putVoid());
    if (FAILED(hr))
        return hr;
    *pdwSupportedOptions = INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;
    *pdwEnabledOptions = safetyOptions_;
    return S_OK;
}

HRESULT NavrailControl::SetInterfaceSafetyOptions(REFIID riid, DWORD dwOptionSetMask, DWORD dwEnabledOptions)
{
    ComPtr<IUnknown> probe;
    if (FAILED(QueryInterface(riid, probe.putVoid())))
        return E_NOINTERFACE;
    const DWORD supported = INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;
    if (dwOptionSetMask & ~supported)
        return E_FAIL;
    safetyOptions_ = (safetyOptions_ & ~dwOptionSetMask) | (dwEnabledOptions & dwOptionSetMask);
    return S_OK;
}

HRESULT NavrailControl::GetPages(CAUUID *pPages)
{
    if (!pPages)
        return E_POINTER;
    auto *pages = static_cast<GUID *>(CoTaskMemAlloc(2 * sizeof(GUID)));
    if (!pages)
        return E_OUTOFMEMORY;
    pages[0] = CLSID_GeneralPropPage;
    pages[1] = CLSID_MenuProp;
    pPages->cElems = 2;
    pPages->pElems = pages;
    return S_OK;
}

} // namespace navrail
