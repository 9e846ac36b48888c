#include "groups.h"

#include "control.h"
#include "items.h"
#include "windows/barwindow.h"
#include "windows/grouppane.h"
#include "windows/headerbutton.h"

#include <algorithm>

namespace navrail {

// ==== GroupsCollection =========================================================================

const com::DispatchTable &GroupsCollection::dispatchTable()
{
    using B = com::DispBuilder<GroupsCollection>;
    static const com::DispatchTable table(
        IID_ILzNavrailGroups, u"ILzNavrailGroups",
        {
            B::methodRet<&GroupsCollection::Item>(DISPID_NGS_Item, u"Item").asDefault(),
            B::get<&GroupsCollection::Item>(DISPID_NGS_Item, u"Item").asDefault(),
            B::get<&GroupsCollection::get_Count>(DISPID_NGS_Count, u"Count"),
            B::put<&GroupsCollection::put_Count>(DISPID_NGS_Count, u"Count"),
            B::methodRet<&GroupsCollection::Add>(DISPID_NGS_Add, u"Add"),
            B::get<&GroupsCollection::get_CurrentGroupIndex>(DISPID_NGS_CurrentGroupIndex, u"CurrentGroupIndex"),
            B::put<&GroupsCollection::put_CurrentGroupIndex>(DISPID_NGS_CurrentGroupIndex, u"CurrentGroupIndex"),
            B::get<&GroupsCollection::get_CurrentGroup>(DISPID_NGS_CurrentGroup, u"CurrentGroup"),
            B::put<&GroupsCollection::put_CurrentGroup>(DISPID_NGS_CurrentGroup, u"CurrentGroup"),
            B::methodRet<&GroupsCollection::IndexFromGroup>(DISPID_NGS_IndexFromGroup, u"IndexFromGroup"),
            B::method<&GroupsCollection::Remove>(DISPID_NGS_Remove, u"Remove"),
            B::method<&GroupsCollection::RemoveAll>(DISPID_NGS_RemoveAll, u"RemoveAll"),
            B::methodRet<&GroupsCollection::GroupFromKey>(DISPID_NGS_GroupFromKey, u"GroupFromKey"),
            B::methodRet<&GroupsCollection::AddKey>(DISPID_NGS_AddKey, u"AddKey"),
        });
    return table;
}

GroupsCollection::GroupsCollection() = default;

GroupsCollection::~GroupsCollection()
{
    for (const ComPtr<Group> &g : groups_) {
        g->destroyWindows();
        g->setOwner(nullptr);
    }
}

void *GroupsCollection::findInterface(REFIID riid)
{
    return riid == IID_NavrailGroupsImpl ? static_cast<ILzNavrailGroups *>(this) : nullptr;
}

void GroupsCollection::detachControl()
{
    for (const ComPtr<Group> &g : groups_)
        g->destroyWindows();
    control_ = nullptr;
}

Group *GroupsCollection::at(int index) const
{
    return index >= 0 && index < count() ? groups_[std::size_t(index)].get() : nullptr;
}

int GroupsCollection::indexOf(const Group *group) const
{
    for (std::size_t i = 0; i < groups_.size(); ++i)
        if (groups_[i].get() == group)
            return int(i);
    return -1;
}

Group *GroupsCollection::findByKey(const QString &key) const
{
    for (const ComPtr<Group> &g : groups_)
        if (keyMatches(g->key(), key))
            return g.get();
    return nullptr;
}

void GroupsCollection::createGroupWindows()
{
    if (!control_ || !control_->bar().hasWindow())
        return;
    for (const ComPtr<Group> &g : groups_)
        g->createWindows(control_->bar().window());
}

HRESULT GroupsCollection::Item(VARIANT Index, ILzNavrailGroup **ppGroup)
{
    if (!ppGroup)
        return E_POINTER;
    *ppGroup = nullptr;
    if (HRESULT hr = requireControl(control_); FAILED(hr))
        return hr;
    IndexArg index;
    HRESULT hr = readIndex(Index, &index);
    if (FAILED(hr))
        return hr;
    if (index.isKey)
        return handOut(findByKey(index.key), ppGroup);
    Group *g = at(index.position);
    if (!g)
        return LZNAVRAIL_E_INVALIDOBJECT;
    return handOut(g, ppGroup);
}

HRESULT GroupsCollection::get_Count(LONG *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = 0;
    if (HRESULT hr = requireControl(control_); FAILED(hr))
        return hr;
    *pVal = count();
    return S_OK;
}

HRESULT GroupsCollection::put_Count(LONG)
{
    return requireControl(control_);
}

HRESULT GroupsCollection::addGroup(const QString &text, ComPtr<Group> *added)
{
    if (HRESULT hr = requireControl(control_); FAILED(hr))
        return hr;
    if (count() >= LZNAVRAIL_MAX_GROUPS)
        return LZNAVRAIL_E_INVALIDOBJECT;
    // GroupAdded runs the container's handler, which may remove the new group or drop its last
    // reference to the control or to this collection: both are held until the end.
    ComPtr<ILzNavrailBar> keepControl(control_);
    ComPtr<GroupsCollection> keepThis(this);
    ComPtr<Group> g = com::makeObject<Group>();
    g->setOwner(this);
    groups_.push_back(g);
    if (control_->bar().hasWindow())
        g->createWindows(control_->bar().window());
    g->setText(text);
    *added = g;
    control_->events().groupAdded(this, g.get());
    if (control_)
        control_->bar().layoutGroups();
    return S_OK;
}

HRESULT GroupsCollection::Add(BSTR Text, ILzNavrailGroup **ppGroup)
{
    if (ppGroup)
        *ppGroup = nullptr;
    ComPtr<Group> g;
    HRESULT hr = addGroup(fromBstr(Text), &g);
    if (FAILED(hr))
        return hr;
    return ppGroup ? handOut(g.get(), ppGroup) : S_OK;
}

HRESULT GroupsCollection::AddKey(BSTR Key, BSTR Text, ILzNavrailGroup **ppGroup)
{
    if (ppGroup)
        *ppGroup = nullptr;
    ComPtr<Group> g;
    HRESULT hr = addGroup(fromBstr(Text), &g);
    if (FAILED(hr))
        return hr;
    g->put_Key(Key);
    return ppGroup ? handOut(g.get(), ppGroup) : S_OK;
}

HRESULT GroupsCollection::get_CurrentGroupIndex(LONG *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = 0;
    if (HRESULT hr = requireControl(control_); FAILED(hr))
        return hr;
    return control_->get_CurrentGroupIndex(pVal);
}

HRESULT GroupsCollection::put_CurrentGroupIndex(LONG newVal)
{
    if (HRESULT hr = requireControl(control_); FAILED(hr))
        return hr;
    return control_->put_CurrentGroupIndex(newVal);
}

HRESULT GroupsCollection::get_CurrentGroup(ILzNavrailGroup **ppGroup)
{
    if (!ppGroup)
        return E_POINTER;
    *ppGroup = nullptr;
    if (HRESULT hr = requireControl(control_); FAILED(hr))
        return hr;
    Group *g = at(control_->bar().currentGroupIndex());
    return g ? handOut(g, ppGroup) : LZNAVRAIL_E_INVALIDOBJECT;
}

HRESULT GroupsCollection::put_CurrentGroup(ILzNavrailGroup *pGroup)
{
    if (HRESULT hr = requireControl(control_); FAILED(hr))
        return hr;
    const int pos = indexOf(Group::from(pGroup));
    if (groups_.empty() || pos < 0)
        return LZNAVRAIL_E_INVALIDOBJECT;
    return control_->put_CurrentGroupIndex(pos);
}

HRESULT GroupsCollection::IndexFromGroup(ILzNavrailGroup *pGroup, INT *pIndex)
{
    if (!pIndex)
        return E_POINTER;
    *pIndex = -1;
    if (HRESULT hr = requireControl(control_); FAILED(hr))
        return hr;
    *pIndex = indexOf(Group::from(pGroup));
    return *pIndex < 0 ? LZNAVRAIL_E_INVALIDOBJECT : S_OK;
}

HRESULT GroupsCollection::Remove(ILzNavrailGroup *pGroup)
{
    if (HRESULT hr = requireControl(control_); FAILED(hr))
        return hr;
    Group *raw = Group::from(pGroup);
    const int pos = indexOf(raw);
    if (pos < 0)
        return LZNAVRAIL_E_INVALIDOBJECT;
    ComPtr<Group> g(raw);
    ComPtr<GroupsCollection> keepThis(this);
    ComPtr<ILzNavrailBar> keepControl(control_);
    NavrailControl *control = control_;

    // The order matters to the handlers of the events raised below: the bar forgets the group
    // first (no current item or menu of it is left to act on), the group leaves the list, the
    // neighbour becomes current (BeforeGroupChange may veto that), and GroupDeleted comes last,
    // when the bar already shows the groups that remain. The group keeps its owner until after
    // GroupDeleted, so the handler still reaches the control through it.
    if (control)
        control->forgetGroup(g.get());
    groups_.erase(groups_.begin() + pos);
    if (control) {
        if (!groups_.empty()) {
            const int next = pos < count() ? pos : count() - 1;
            control->put_CurrentGroupIndex(next);
        }
        // A veto of the change must not leave the index past the end.
        BarWindow &bar = control->bar();
        if (bar.currentGroupIndex() >= count())
            bar.setCurrentGroupIndex(std::max(0, count() - 1));
        control->events().groupDeleted(this, g.get());
        bar.layoutGroups();
        bar.updateScrollArrows();
        bar.repaint(true);
    }
    g->destroyWindows();
    if (indexOf(g.get()) < 0)
        g->setOwner(nullptr);
    return S_OK;
}

HRESULT GroupsCollection::RemoveAll()
{
    if (HRESULT hr = requireControl(control_); FAILED(hr))
        return hr;
    ComPtr<GroupsCollection> keepThis(this);
    ComPtr<ILzNavrailBar> keepControl(control_);
    // A handler of GroupDeleted may remove or add groups while the loop runs: it walks a copy,
    // skips groups already gone, and leaves the groups added meanwhile in place.
    const std::vector<ComPtr<Group>> snapshot = groups_;
    for (const ComPtr<Group> &g : snapshot) {
        const int pos = indexOf(g.get());
        if (pos < 0)
            continue; // a handler removed it already
        if (control_)
            control_->forgetGroup(g.get());
        groups_.erase(groups_.begin() + pos);
        if (control_)
            control_->events().groupDeleted(this, g.get());
        g->items()->removeAllItems();
        g->destroyWindows();
        if (indexOf(g.get()) < 0)
            g->setOwner(nullptr);
    }
    if (control_) {
        BarWindow &bar = control_->bar();
        if (bar.currentGroupIndex() >= count())
            bar.setCurrentGroupIndex(std::max(0, count() - 1));
        bar.repaint(true);
    }
    return S_OK;
}

HRESULT GroupsCollection::GroupFromKey(BSTR Key, ILzNavrailGroup **ppGroup)
{
    if (!ppGroup)
        return E_POINTER;
    *ppGroup = nullptr;
    if (HRESULT hr = requireControl(control_); FAILED(hr))
        return hr;
    return handOut(findByKey(fromBstr(Key)), ppGroup);
}

// ==== Group ====================================================================================

const com::DispatchTable &Group::dispatchTable()
{
    using B = com::DispBuilder<Group>;
    static const com::DispatchTable table(
        IID_ILzNavrailGroup, u"ILzNavrailGroup",
        {
            B::get<&Group::get_LargeHImageList>(DISPID_NG_LargeHImageList, u"LargeHImageList"),
            B::put<&Group::put_LargeHImageList>(DISPID_NG_LargeHImageList, u"LargeHImageList"),
            B::get<&Group::get_SmallHImageList>(DISPID_NG_SmallHImageList, u"SmallHImageList"),
            B::put<&Group::put_SmallHImageList>(DISPID_NG_SmallHImageList, u"SmallHImageList"),
            B::get<&Group::get_Text>(DISPID_NG_Text, u"Text"),
            B::put<&Group::put_Text>(DISPID_NG_Text, u"Text"),
            B::get<&Group::get_Items>(DISPID_NG_Items, u"Items"),
            B::get<&Group::get_Index>(DISPID_NG_Index, u"Index"),
            B::get<&Group::get_BackColor>(DISPID_NG_BackColor, u"BackColor"),
            B::put<&Group::put_BackColor>(DISPID_NG_BackColor, u"BackColor"),
            B::get<&Group::get_TextColor>(DISPID_NG_TextColor, u"TextColor"),
            B::put<&Group::put_TextColor>(DISPID_NG_TextColor, u"TextColor"),
            B::get<&Group::get_ImageMode>(DISPID_NG_ImageMode, u"ImageMode"),
            B::put<&Group::put_ImageMode>(DISPID_NG_ImageMode, u"ImageMode"),
            B::get<&Group::get_DataVariant>(DISPID_NG_DataVariant, u"DataVariant"),
            B::put<&Group::put_DataVariant>(DISPID_NG_DataVariant, u"DataVariant"),
            B::get<&Group::get_CurrentItem>(DISPID_NG_CurrentItem, u"CurrentItem"),
            B::put<&Group::put_CurrentItem>(DISPID_NG_CurrentItem, u"CurrentItem"),
            B::method<&Group::StartLabelEdit>(DISPID_NG_StartLabelEdit, u"StartLabelEdit"),
            B::method<&Group::EndLabelEdit>(DISPID_NG_EndLabelEdit, u"EndLabelEdit"),
            B::get<&Group::get_FirstVisibleItem>(DISPID_NG_FirstVisibleItem, u"FirstVisibleItem"),
            B::put<&Group::put_FirstVisibleItem>(DISPID_NG_FirstVisibleItem, u"FirstVisibleItem"),
            B::get<&Group::get_VisibleItemCount>(DISPID_NG_VisibleItemCount, u"VisibleItemCount"),
            B::get<&Group::get_Key>(DISPID_NG_Key, u"Key"),
            B::put<&Group::put_Key>(DISPID_NG_Key, u"Key"),
            B::put<&Group::put_SmallImageList>(DISPID_NG_SmallImageList, u"SmallImageList"),
            B::put<&Group::put_LargeImageList>(DISPID_NG_LargeImageList, u"LargeImageList"),
            B::get<&Group::get_Picture>(DISPID_NG_Picture, u"Picture"),
            B::put<&Group::put_Picture>(DISPID_NG_Picture, u"Picture"),
        });
    return table;
}

Group::Group() : items_(com::makeObject<ItemsCollection>())
{
    items_->setGroup(this);
}

Group::~Group()
{
    destroyWindows();
    items_->setGroup(nullptr);
}

void *Group::findInterface(REFIID riid)
{
    return riid == IID_NavrailGroupImpl ? static_cast<ILzNavrailGroup *>(this) : nullptr;
}

BarWindow *Group::bar() const
{
    NavrailControl *c = control();
    return c ? &c->bar() : nullptr;
}

void Group::createWindows(QWidget *barWidget)
{
    if (!barWidget)
        return;
    if (!pane_)
        pane_ = new GroupPaneWidget(this, barWidget);
    if (!button_)
        button_ = std::make_unique<HeaderButton>(this);
    button_->create(barWidget);
}

void Group::destroyWindows()
{
    if (pane_) {
        // Deleted later: the pane may be the widget whose event handling removes the group.
        static_cast<GroupPaneWidget *>(pane_.data())->forgetGroup();
        pane_->hide();
        pane_->deleteLater();
    }
    pane_ = nullptr;
    button_.reset();
}

QWidget *Group::pane() const
{
    return pane_;
}

int Group::paneClientHeight() const
{
    return pane_ ? pane_->contentsRect().height() : 0;
}

void Group::repaintPane()
{
    if (pane_)
        pane_->update();
}

HRESULT Group::get_LargeHImageList(LONG *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = largeHImageList_;
    return S_OK;
}

HRESULT Group::put_LargeHImageList(LONG newVal)
{
    largeHImageList_ = newVal;
    repaintPane();
    return S_OK;
}

HRESULT Group::get_SmallHImageList(LONG *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = smallHImageList_;
    return S_OK;
}

HRESULT Group::put_SmallHImageList(LONG newVal)
{
    smallHImageList_ = newVal;
    repaintPane();
    return S_OK;
}

HRESULT Group::get_Text(BSTR *pVal)
{
    return handOutString(text_, pVal);
}

HRESULT Group::put_Text(BSTR newVal)
{
    text_ = fromBstr(newVal);
    if (button_)
        button_->repaint();
    return S_OK;
}

HRESULT Group::get_Items(ILzNavrailItems **ppItems)
{
    if (!ppItems)
        return E_POINTER;
    return handOut(items_.get(), ppItems);
}

// A group no longer in the bar answers 0, as the first group does.
HRESULT Group::get_Index(LONG *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = std::max(0, position());
    return S_OK;
}

HRESULT Group::get_BackColor(OLE_COLOR *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = backColor_;
    return S_OK;
}

HRESULT Group::put_BackColor(OLE_COLOR newVal)
{
    backColor_ = newVal;
    repaintPane();
    return S_OK;
}

HRESULT Group::get_TextColor(OLE_COLOR *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = textColor_;
    return S_OK;
}

HRESULT Group::put_TextColor(OLE_COLOR newVal)
{
    textColor_ = newVal;
    repaintPane();
    return S_OK;
}

HRESULT Group::get_ImageMode(SHORT *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = imageMode_;
    return S_OK;
}

HRESULT Group::put_ImageMode(SHORT newVal)
{
    imageMode_ = newVal;
    repaintPane();
    if (BarWindow *b = bar())
        b->updateScrollArrows();
    return S_OK;
}

HRESULT Group::get_DataVariant(VARIANT *pVal)
{
    return handOutVariant(dataVariant_, pVal);
}

HRESULT Group::put_DataVariant(VARIANT newVal)
{
    return keepVariant(dataVariant_, newVal);
}

HRESULT Group::get_CurrentItem(ILzNavrailItem **ppItem)
{
    if (!ppItem)
        return E_POINTER;
    *ppItem = nullptr;
    NavrailControl *c = control();
    if (HRESULT hr = requireControl(c); FAILED(hr))
        return hr;
    return c->get_CurrentItem(ppItem);
}

HRESULT Group::put_CurrentItem(ILzNavrailItem *pItem)
{
    NavrailControl *c = control();
    if (HRESULT hr = requireControl(c); FAILED(hr))
        return hr;
    return c->put_CurrentItem(pItem);
}

HRESULT Group::StartLabelEdit()
{
    // A group no longer in the bar has nothing to edit.
    if (HRESULT hr = requireControl(control()); FAILED(hr))
        return hr;
    bar()->startGroupLabelEdit(this);
    return S_OK;
}

HRESULT Group::EndLabelEdit(BOOL bAcceptChanges)
{
    if (HRESULT hr = requireControl(control()); FAILED(hr))
        return hr;
    bar()->endGroupLabelEdit(this, bAcceptChanges != 0);
    return S_OK;
}

HRESULT Group::get_FirstVisibleItem(LONG *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = firstVisibleItem_;
    return S_OK;
}

HRESULT Group::put_FirstVisibleItem(LONG newVal)
{
    // An index past the items is ignored without an error: the pane would show no item at all.
    if (newVal < 0 || newVal >= items_->count())
        return S_OK;
    firstVisibleItem_ = newVal;
    repaintPane();
    if (BarWindow *b = bar())
        b->updateScrollArrows();
    return S_OK;
}

HRESULT Group::get_VisibleItemCount(LONG *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = 0;
    const int n = items_->count();
    if (n == 0)
        return S_OK;
    // All items of a pane have one height (that of the group's image mode): the first one's.
    LONG height = 0;
    items_->at(0)->get_Height(&height);
    if (height <= 0)
        return S_OK;
    *pVal = std::min<LONG>(n, paneClientHeight() / height);
    return S_OK;
}

HRESULT Group::get_Key(BSTR *pVal)
{
    return handOutString(key_.value_or(QString()), pVal);
}

HRESULT Group::put_Key(BSTR newVal)
{
    key_ = fromBstr(newVal);
    return S_OK;
}

HRESULT Group::put_SmallImageList(IDispatch *pImageList)
{
    smallHImageList_ = imageListHandleOf(pImageList);
    repaintPane();
    return S_OK;
}

HRESULT Group::put_LargeImageList(IDispatch *pImageList)
{
    largeHImageList_ = imageListHandleOf(pImageList);
    return S_OK;
}

HRESULT Group::get_Picture(IDispatch **ppPicture)
{
    if (!ppPicture)
        return E_POINTER;
    return handOut(picture_.get(), ppPicture);
}

HRESULT Group::put_Picture(IDispatch *pPicture)
{
    picture_ = pPicture;
    BarWindow *b = bar();
    if (b && b->isVisible())
        repaintPane();
    return S_OK;
}

} // namespace navrail
