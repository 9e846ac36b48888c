#include "items.h"

#include "control.h"
#include "groups.h"
#include "ole/handles.h"
#include "tabs.h"
#include "windows/barwindow.h"

#include <algorithm>

namespace navrail {

// ==== ItemsCollection ==========================================================================

const com::DispatchTable &ItemsCollection::dispatchTable()
{
    using B = com::DispBuilder<ItemsCollection>;
    static const com::DispatchTable table(
        IID_ILzNavrailItems, u"ILzNavrailItems",
        {
            B::methodRet<&ItemsCollection::Item>(DISPID_NIS_Item, u"Item").asDefault(),
            B::get<&ItemsCollection::Item>(DISPID_NIS_Item, u"Item").asDefault(),
            B::methodRet<&ItemsCollection::Add>(DISPID_NIS_Add, u"Add"),
            B::methodRet<&ItemsCollection::IndexFromItem>(DISPID_NIS_IndexFromItem, u"IndexFromItem"),
            B::method<&ItemsCollection::Remove>(DISPID_NIS_Remove, u"Remove"),
            B::method<&ItemsCollection::RemoveAll>(DISPID_NIS_RemoveAll, u"RemoveAll"),
            B::get<&ItemsCollection::get_Count>(DISPID_NIS_Count, u"Count"),
            B::put<&ItemsCollection::put_Count>(DISPID_NIS_Count, u"Count"),
            B::methodRet<&ItemsCollection::ItemFromKey>(DISPID_NIS_ItemFromKey, u"ItemFromKey"),
            B::methodRet<&ItemsCollection::AddKey>(DISPID_NIS_AddKey, u"AddKey"),
        });
    return table;
}

ItemsCollection::ItemsCollection() = default;

ItemsCollection::~ItemsCollection()
{
    for (const ComPtr<navrail::Item> &i : items_)
        i->setOwner(nullptr);
}

void *ItemsCollection::findInterface(REFIID riid)
{
    return riid == IID_NavrailItemsImpl ? static_cast<ILzNavrailItems *>(this) : nullptr;
}

NavrailControl *ItemsCollection::control() const
{
    return group_ ? group_->control() : nullptr;
}

navrail::Item *ItemsCollection::at(int index) const
{
    return index >= 0 && index < count() ? items_[std::size_t(index)].get() : nullptr;
}

int ItemsCollection::indexOf(const navrail::Item *item) const
{
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == item)
            return int(i);
    return -1;
}

navrail::Item *ItemsCollection::findByKey(const QString &key) const
{
    for (const ComPtr<navrail::Item> &i : items_)
        if (keyMatches(i->key(), key))
            return i.get();
    return nullptr;
}

HRESULT ItemsCollection::Item(VARIANT Index, ILzNavrailItem **ppItem)
{
    if (!ppItem)
        return E_POINTER;
    *ppItem = nullptr;
    if (HRESULT hr = requireControl(control()); FAILED(hr))
        return hr;
    IndexArg index;
    HRESULT hr = readIndex(Index, &index);
    if (FAILED(hr))
        return hr;
    if (index.isKey)
        return handOut(findByKey(index.key), ppItem);
    navrail::Item *i = at(index.position);
    if (!i)
        return LZNAVRAIL_E_INVALIDOBJECT;
    return handOut(i, ppItem);
}

HRESULT ItemsCollection::addItem(const QString &text, LONG image, ComPtr<navrail::Item> *added)
{
    NavrailControl *control = this->control();
    if (HRESULT hr = requireControl(control); FAILED(hr))
        return hr;
    if (count() >= LZNAVRAIL_MAX_ITEMS)
        return LZNAVRAIL_E_INVALIDOBJECT;
    ComPtr<ILzNavrailBar> keepControl(control);
    ComPtr<ItemsCollection> keepThis(this);
    ComPtr<navrail::Item> item = com::makeObject<navrail::Item>();
    item->setText(text);
    item->setImage(image);
    item->setOwner(this);
    items_.push_back(item);
    *added = item;
    control->events().itemAdded(this, item.get());
    if (group_) {
        group_->repaintPane();
        if (BarWindow *bar = group_->bar())
            bar->updateScrollArrows();
    }
    return S_OK;
}

HRESULT ItemsCollection::Add(BSTR Text, INT Image, ILzNavrailItem **ppItem)
{
    if (ppItem)
        *ppItem = nullptr;
    ComPtr<navrail::Item> item;
    HRESULT hr = addItem(fromBstr(Text), Image, &item);
    if (FAILED(hr))
        return hr;
    return ppItem ? handOut(item.get(), ppItem) : S_OK;
}

HRESULT ItemsCollection::AddKey(BSTR Key, BSTR Text, INT Image, ILzNavrailItem **ppItem)
{
    if (ppItem)
        *ppItem = nullptr;
    ComPtr<navrail::Item> item;
    HRESULT hr = addItem(fromBstr(Text), Image, &item);
    if (FAILED(hr))
        return hr;
    item->setKey(fromBstr(Key));
    return ppItem ? handOut(item.get(), ppItem) : S_OK;
}

HRESULT ItemsCollection::IndexFromItem(ILzNavrailItem *pItem, INT *pIndex)
{
    if (!pIndex)
        return E_POINTER;
    *pIndex = -1;
    if (HRESULT hr = requireControl(control()); FAILED(hr))
        return hr;
    *pIndex = indexOf(navrail::Item::from(pItem));
    return *pIndex < 0 ? LZNAVRAIL_E_INVALIDOBJECT : S_OK;
}

HRESULT ItemsCollection::Remove(ILzNavrailItem *pItem)
{
    if (HRESULT hr = requireControl(control()); FAILED(hr))
        return hr;
    navrail::Item *raw = navrail::Item::from(pItem);
    const int pos = indexOf(raw);
    if (pos < 0)
        return LZNAVRAIL_E_INVALIDOBJECT;
    ComPtr<navrail::Item> item(raw);
    ComPtr<ItemsCollection> keepThis(this);
    NavrailControl *control = this->control();
    ComPtr<ILzNavrailBar> keepControl(control);

    takeOut(pos, item.get(), control);
    afterRemoval();
    if (group_) {
        if (BarWindow *bar = group_->bar())
            bar->updateScrollArrows();
        group_->repaintPane();
    }
    return S_OK;
}

void ItemsCollection::takeOut(int pos, navrail::Item *item, NavrailControl *control)
{
    if (control)
        control->forgetItem(item);
    items_.erase(items_.begin() + pos);
    if (control)
        control->events().itemDeleted(this, item);
    if (indexOf(item) < 0)
        item->setOwner(nullptr);
}

void ItemsCollection::afterRemoval()
{
    if (!group_)
        return;
    // A first visible item past the end would show an empty pane.
    if (group_->firstVisibleItem() >= count())
        group_->setFirstVisibleItem(std::max(0, count() - 1));
    if (BarWindow *bar = group_->bar())
        bar->setCurrentItem(nullptr);
}

void ItemsCollection::removeAllItems()
{
    ComPtr<ItemsCollection> keepThis(this);
    NavrailControl *control = this->control();
    ComPtr<ILzNavrailBar> keepControl(control);
    const std::vector<ComPtr<navrail::Item>> snapshot = items_;
    for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
        const ComPtr<navrail::Item> &item = *it;
        const int pos = indexOf(item.get());
        if (pos < 0)
            continue; // a handler removed it already
        takeOut(pos, item.get(), control);
    }
    afterRemoval();
}

HRESULT ItemsCollection::RemoveAll()
{
    if (HRESULT hr = requireControl(control()); FAILED(hr))
        return hr;
    removeAllItems();
    return S_OK;
}

HRESULT ItemsCollection::get_Count(LONG *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = 0;
    if (HRESULT hr = requireControl(control()); FAILED(hr))
        return hr;
    *pVal = count();
    return S_OK;
}

HRESULT ItemsCollection::put_Count(LONG newVal)
{
    if (HRESULT hr = requireControl(control()); FAILED(hr))
        return hr;
    if (newVal > LZNAVRAIL_MAX_ITEMS)
        return LZNAVRAIL_E_INVALIDOBJECT;
    if (newVal < 1 || newVal <= count())
        return S_OK;
    while (count() < newVal) {
        ComPtr<navrail::Item> item;
        HRESULT hr = addItem(QStringLiteral("Item"), 0, &item);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

HRESULT ItemsCollection::ItemFromKey(BSTR Key, ILzNavrailItem **ppItem)
{
    if (!ppItem)
        return E_POINTER;
    *ppItem = nullptr;
    if (HRESULT hr = requireControl(control()); FAILED(hr))
        return hr;
    return handOut(findByKey(fromBstr(Key)), ppItem);
}

// ==== Item =====================================================================================

const com::DispatchTable &Item::dispatchTable()
{
    using B = com::DispBuilder<Item>;
    static const com::DispatchTable table(
        IID_ILzNavrailItem, u"ILzNavrailItem",
        {
            B::get<&Item::get_WindowObject1>(DISPID_NI_WindowObject1, u"WindowObject1"),
            B::put<&Item::put_WindowObject1>(DISPID_NI_WindowObject1, u"WindowObject1"),
            B::get<&Item::get_WindowObject2>(DISPID_NI_WindowObject2, u"WindowObject2"),
            B::put<&Item::put_WindowObject2>(DISPID_NI_WindowObject2, u"WindowObject2"),
            B::get<&Item::get_ActiveXObject1>(DISPID_NI_ActiveXObject1, u"ActiveXObject1"),
            B::put<&Item::put_ActiveXObject1>(DISPID_NI_ActiveXObject1, u"ActiveXObject1"),
            B::get<&Item::get_ActiveXObject2>(DISPID_NI_ActiveXObject2, u"ActiveXObject2"),
            B::put<&Item::put_ActiveXObject2>(DISPID_NI_ActiveXObject2, u"ActiveXObject2"),
            B::get<&Item::get_DataVariant>(DISPID_NI_DataVariant, u"DataVariant"),
            B::put<&Item::put_DataVariant>(DISPID_NI_DataVariant, u"DataVariant"),
            B::get<&Item::get_ExplorerNode>(DISPID_NI_ExplorerNode, u"ExplorerNode"),
            B::put<&Item::put_ExplorerNode>(DISPID_NI_ExplorerNode, u"ExplorerNode"),
            B::get<&Item::get_Index>(DISPID_NI_Index, u"Index"),
            B::method<&Item::StartLabelEdit>(DISPID_NI_StartLabelEdit, u"StartLabelEdit"),
            B::method<&Item::EndLabelEdit>(DISPID_NI_EndLabelEdit, u"EndLabelEdit"),
            B::get<&Item::get_Text>(DISPID_NI_Text, u"Text"),
            B::put<&Item::put_Text>(DISPID_NI_Text, u"Text"),
            B::method<&Item::Display>(DISPID_NI_Display, u"Display"),
            B::get<&Item::get_Image>(DISPID_NI_Image, u"Image"),
            B::put<&Item::put_Image>(DISPID_NI_Image, u"Image"),
            B::method<&Item::EnsureVisible>(DISPID_NI_EnsureVisible, u"EnsureVisible"),
            B::get<&Item::get_Height>(DISPID_NI_Height, u"Height"),
            B::get<&Item::get_Key>(DISPID_NI_Key, u"Key"),
            B::put<&Item::put_Key>(DISPID_NI_Key, u"Key"),
            B::get<&Item::get_Tabs>(DISPID_NI_Tabs, u"Tabs"),
            B::put<&Item::put_Tabs>(DISPID_NI_Tabs, u"Tabs"),
        });
    return table;
}

Item::Item() = default;
Item::~Item() = default;

void *Item::findInterface(REFIID riid)
{
    return riid == IID_NavrailItemImpl ? static_cast<ILzNavrailItem *>(this) : nullptr;
}

HRESULT Item::get_WindowObject1(LONG *pHWnd)
{
    if (!pHWnd)
        return E_POINTER;
    *pHWnd = window1_;
    return S_OK;
}

HRESULT Item::put_WindowObject1(LONG hWnd)
{
    return putWindow(1, hWnd);
}

HRESULT Item::get_WindowObject2(LONG *pHWnd)
{
    if (!pHWnd)
        return E_POINTER;
    *pHWnd = window2_;
    return S_OK;
}

HRESULT Item::put_WindowObject2(LONG hWnd)
{
    return putWindow(2, hWnd);
}

HRESULT Item::putWindow(int slot, LONG hWnd)
{
    (slot == 1 ? window1_ : window2_) = hWnd;
    if (hWnd == 0)
        return S_OK;
    QWidget *w = ole::widgetFromHandle(ole::Handle(hWnd));
    if (!w)
        return S_OK;
    NavrailControl *c = control();
    if (!(c && c->isWindowVisible()))
        w->hide();
    // A top-level window becomes a child window of its current parent.
    if (w->isWindow() && w->parentWidget()) {
        const bool visible = w->isVisible();
        w->setParent(w->parentWidget(), Qt::Widget);
        w->setVisible(visible);
    }
    return S_OK;
}

HRESULT Item::get_ActiveXObject1(IDispatch **ppObject)
{
    if (!ppObject)
        return E_POINTER;
    return handOut(object1_.get(), ppObject);
}

HRESULT Item::put_ActiveXObject1(IDispatch *pObject)
{
    return putObject(1, pObject);
}

HRESULT Item::get_ActiveXObject2(IDispatch **ppObject)
{
    if (!ppObject)
        return E_POINTER;
    return handOut(object2_.get(), ppObject);
}

HRESULT Item::put_ActiveXObject2(IDispatch *pObject)
{
    return putObject(2, pObject);
}

HRESULT Item::putObject(int slot, IDispatch *object)
{
    if (object)
        (slot == 1 ? window1_ : window2_) = 0;
    ComPtr<IDispatch> &stored = slot == 1 ? object1_ : object2_;
    if (stored.get() == object)
        return S_OK;
    stored = object;
    if (!object)
        return S_OK;
    // An embedded control stays out of sight until the item is displayed.
    ComPtr<IQtControl> control;
    object->QueryInterface(IQtControl::iid, control.putVoid());
    QWidget *w = nullptr;
    if (control && control->GetWidget(&w) == S_OK && w) {
        w->hide();
        w->lower();
    }
    return S_OK;
}

HRESULT Item::get_DataVariant(VARIANT *pVal)
{
    return handOutVariant(dataVariant_, pVal);
}

HRESULT Item::put_DataVariant(VARIANT newVal)
{
    return keepVariant(dataVariant_, newVal);
}

HRESULT Item::get_ExplorerNode(IDispatch **ppNode)
{
    if (!ppNode)
        return E_POINTER;
    return handOut(explorerNode_.get(), ppNode);
}

HRESULT Item::put_ExplorerNode(IDispatch *pNode)
{
    explorerNode_ = pNode;
    return S_OK;
}

HRESULT Item::get_Index(LONG *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = std::max(0, position());
    return S_OK;
}

HRESULT Item::StartLabelEdit()
{
    if (HRESULT hr = requireControl(control()); FAILED(hr))
        return hr;
    group()->bar()->startItemLabelEdit(this);
    return S_OK;
}

HRESULT Item::EndLabelEdit(BOOL AcceptChanges)
{
    if (HRESULT hr = requireControl(control()); FAILED(hr))
        return hr;
    group()->bar()->endItemLabelEdit(this, AcceptChanges != 0);
    return S_OK;
}

HRESULT Item::get_Text(BSTR *pVal)
{
    return handOutString(text_, pVal);
}

HRESULT Item::put_Text(BSTR newVal)
{
    text_ = fromBstr(newVal);
    if (Group *g = group()) {
        BarWindow *b = g->bar();
        if (b && b->isVisible())
            g->repaintPane();
    }
    return S_OK;
}

HRESULT Item::Display()
{
    NavrailControl *c = control();
    if (HRESULT hr = requireControl(c); FAILED(hr))
        return hr;
    return c->displayItem(this);
}

HRESULT Item::get_Image(LONG *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = image_;
    return S_OK;
}

HRESULT Item::put_Image(LONG newVal)
{
    image_ = newVal;
    if (Group *g = group()) {
        BarWindow *b = g->bar();
        if (b && b->isVisible())
            g->repaintPane();
    }
    return S_OK;
}

HRESULT Item::EnsureVisible()
{
    NavrailControl *c = control();
    if (HRESULT hr = requireControl(c); FAILED(hr))
        return hr;
    Group *g = group();
    ComPtr<navrail::Item> keep(this);
    ComPtr<Group> keepGroup(g);
    const int groupIndex = g->position();
    if (c->bar().currentGroupIndex() != groupIndex)
        c->put_CurrentGroupIndex(groupIndex);
    const int i = position();
    if (i < 0)
        return LZNAVRAIL_E_INVALIDOBJECT; // removed by an event handler
    LONG visible = 0;
    g->get_VisibleItemCount(&visible);
    const LONG first = g->firstVisibleItem();
    if (visible <= 0)
        return S_OK; // nothing can be shown without a pane
    if (i < first)
        g->put_FirstVisibleItem(i);
    else if (i >= first + visible)
        g->put_FirstVisibleItem(i - visible + 1);
    return S_OK;
}

HRESULT Item::get_Height(LONG *pVal)
{
    if (!pVal)
        return E_POINTER;
    Group *g = group();
    BarWindow *b = g ? g->bar() : nullptr;
    const BarMetrics metrics = b ? b->metrics() : BarMetrics();
    *pVal = metrics.itemPitch(g ? g->imageMode() : SHORT(lzoImageModeLarge));
    return S_OK;
}

HRESULT Item::get_Key(BSTR *pVal)
{
    return handOutString(key_.value_or(QString()), pVal);
}

HRESULT Item::put_Key(BSTR newVal)
{
    key_ = fromBstr(newVal);
    return S_OK;
}

HRESULT Item::get_Tabs(ILzTabs **ppTabs)
{
    if (!ppTabs)
        return E_POINTER;
    return handOut(tabs_.get(), ppTabs);
}

HRESULT Item::put_Tabs(ILzTabs *pTabs)
{
    if (!pTabs) {
        tabs_.reset();
        return S_OK;
    }
    TabsCollection *tabs = TabsCollection::from(pTabs);
    if (!tabs)
        return LZNAVRAIL_E_INVALIDOBJECT;
    // Another bar's collection, or one whose bar went, is not shown here.
    NavrailControl *c = control();
    if (tabs->detached() || (c && tabs->control() && tabs->control() != c))
        return LZNAVRAIL_E_INVALIDOBJECT;
    tabs_ = tabs;
    return S_OK;
}

} // namespace navrail
