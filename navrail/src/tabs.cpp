#include "tabs.h"

#include "control.h"
#include "windows/tabstrip.h"

#include <algorithm>

namespace navrail {

// ==== Tab ======================================================================================

const com::DispatchTable &Tab::dispatchTable()
{
    using B = com::DispBuilder<Tab>;
    static const com::DispatchTable table(IID_ILzTab, u"ILzTab",
                                          {
                                              B::get<&Tab::get_Text>(DISPID_TAB_Text, u"Text"),
                                              B::put<&Tab::put_Text>(DISPID_TAB_Text, u"Text"),
                                              B::get<&Tab::get_Image>(DISPID_TAB_Image, u"Image"),
                                              B::put<&Tab::put_Image>(DISPID_TAB_Image, u"Image"),
                                              B::get<&Tab::get_Key>(DISPID_TAB_Key, u"Key"),
                                              B::put<&Tab::put_Key>(DISPID_TAB_Key, u"Key"),
                                              B::get<&Tab::get_Index>(DISPID_TAB_Index, u"Index"),
                                              B::put<&Tab::put_Index>(DISPID_TAB_Index, u"Index"),
                                          });
    return table;
}

Tab::Tab() = default;
Tab::~Tab() = default;

void *Tab::findInterface(REFIID riid)
{
    return riid == IID_NavrailTabImpl ? static_cast<ILzTab *>(this) : nullptr;
}

HRESULT Tab::get_Text(BSTR *pVal)
{
    return handOutString(text_, pVal);
}

HRESULT Tab::put_Text(BSTR newVal)
{
    text_ = fromBstr(newVal);
    return S_OK;
}

HRESULT Tab::get_Image(LONG *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = image_;
    return S_OK;
}

HRESULT Tab::put_Image(LONG newVal)
{
    image_ = newVal;
    return S_OK;
}

HRESULT Tab::get_Key(BSTR *pVal)
{
    return handOutString(key_, pVal);
}

HRESULT Tab::put_Key(BSTR newVal)
{
    key_ = fromBstr(newVal);
    return S_OK;
}

HRESULT Tab::get_Index(LONG *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = owner_ ? owner_->indexOf(this) : -1;
    return S_OK;
}

HRESULT Tab::put_Index(LONG)
{
    return S_OK;
}

// ==== TabsCollection ===========================================================================

const com::DispatchTable &TabsCollection::dispatchTable()
{
    using B = com::DispBuilder<TabsCollection>;
    static const com::DispatchTable table(
        IID_ILzTabs, u"ILzTabs",
        {
            B::methodRet<&TabsCollection::Item>(DISPID_TABS_Item, u"Item").asDefault(),
            B::get<&TabsCollection::Item>(DISPID_TABS_Item, u"Item").asDefault(),
            B::methodRet<&TabsCollection::Add>(DISPID_TABS_Add, u"Add"),
            B::get<&TabsCollection::get_Count>(DISPID_TABS_Count, u"Count"),
            B::get<&TabsCollection::get_CurrentTab>(DISPID_TABS_CurrentTab, u"CurrentTab"),
            B::put<&TabsCollection::put_CurrentTab>(DISPID_TABS_CurrentTab, u"CurrentTab"),
            B::get<&TabsCollection::get_CurrentTabIndex>(DISPID_TABS_CurrentTabIndex, u"CurrentTabIndex"),
            B::put<&TabsCollection::put_CurrentTabIndex>(DISPID_TABS_CurrentTabIndex, u"CurrentTabIndex"),
            B::get<&TabsCollection::get_TabImageList>(DISPID_TABS_TabImageList, u"TabImageList"),
            B::put<&TabsCollection::put_TabImageList>(DISPID_TABS_TabImageList, u"TabImageList"),
            B::get<&TabsCollection::get_TabStyle>(DISPID_TABS_TabStyle, u"TabStyle"),
            B::put<&TabsCollection::put_TabStyle>(DISPID_TABS_TabStyle, u"TabStyle"),
            B::get<&TabsCollection::get_Key>(DISPID_TABS_Key, u"Key"),
            B::put<&TabsCollection::put_Key>(DISPID_TABS_Key, u"Key"),
            B::method<&TabsCollection::Remove>(DISPID_TABS_Remove, u"Remove"),
            B::methodRet<&TabsCollection::Insert>(DISPID_TABS_Insert, u"Insert"),
        });
    return table;
}

TabsCollection::TabsCollection() = default;

TabsCollection::~TabsCollection()
{
    for (const ComPtr<Tab> &t : tabs_)
        t->setOwner(nullptr);
}

void *TabsCollection::findInterface(REFIID riid)
{
    return riid == IID_NavrailTabsImpl ? static_cast<ILzTabs *>(this) : nullptr;
}

void TabsCollection::detachControl()
{
    strip_.reset();
    control_ = nullptr;
    detached_ = true;
}

Tab *TabsCollection::at(int index) const
{
    return index >= 0 && index < count() ? tabs_[std::size_t(index)].get() : nullptr;
}

int TabsCollection::indexOf(const Tab *tab) const
{
    for (std::size_t i = 0; i < tabs_.size(); ++i)
        if (tabs_[i].get() == tab)
            return int(i);
    return -1;
}

Tab *TabsCollection::findByKey(const QString &key) const
{
    // The last of several tabs with the same key wins.
    for (auto it = tabs_.rbegin(); it != tabs_.rend(); ++it)
        if ((*it)->key() == key)
            return it->get();
    return nullptr;
}

ComPtr<Tab> TabsCollection::newTab(BSTR key, BSTR text, INT image)
{
    ComPtr<Tab> tab = com::makeObject<Tab>();
    tab->set(fromBstr(key), fromBstr(text), image);
    tab->setOwner(this);
    return tab;
}

void TabsCollection::makeCurrent(Tab *tab)
{
    current_ = tab;
    if (strip_ && strip_->exists())
        strip_->select(tab ? indexOf(tab) : -1);
}

TabStrip *TabsCollection::ensureStrip(QWidget *resultsPane)
{
    if (!strip_)
        strip_ = std::make_unique<TabStrip>();
    if (!strip_->exists() && resultsPane) {
        strip_->create(resultsPane, style_);
        strip_->setImageList(imageList_);
        for (int i = 0; i < count(); ++i)
            strip_->insertTab(i, tabs_[std::size_t(i)]->text(), tabs_[std::size_t(i)]->image());
        strip_->select(current_ ? indexOf(current_.get()) : -1);
    }
    return strip_.get();
}

HRESULT TabsCollection::Item(VARIANT Index, ILzTab **ppTab)
{
    if (!ppTab)
        return E_POINTER;
    *ppTab = nullptr;
    if (HRESULT hr = attached(); FAILED(hr))
        return hr;
    IndexArg index;
    HRESULT hr = readIndex(Index, &index);
    if (FAILED(hr))
        return hr;
    if (index.isKey)
        return handOut(findByKey(index.key), ppTab);
    // A position names a tab or is an error, as in the other collections.
    Tab *tab = at(index.position);
    return tab ? handOut(tab, ppTab) : LZNAVRAIL_E_INVALIDOBJECT;
}

HRESULT TabsCollection::Add(BSTR Key, BSTR Text, INT Image, ILzTab **ppTab)
{
    if (ppTab)
        *ppTab = nullptr;
    if (HRESULT hr = attached(); FAILED(hr))
        return hr;
    ComPtr<Tab> tab = newTab(Key, Text, Image);
    tabs_.push_back(tab);
    if (count() == 1 && !current_)
        current_ = tab;
    if (strip_ && strip_->exists())
        strip_->insertTab(count() - 1, tab->text(), tab->image());
    return ppTab ? handOut(tab.get(), ppTab) : S_OK;
}

HRESULT TabsCollection::Insert(INT BeforeIndex, BSTR Key, BSTR Text, INT Image, ILzTab **ppTab)
{
    if (ppTab)
        *ppTab = nullptr;
    if (HRESULT hr = attached(); FAILED(hr))
        return hr;
    if (BeforeIndex < 0 || BeforeIndex >= count())
        return LZNAVRAIL_E_INVALIDOBJECT; // nothing inserted: no success without a tab

    const bool oneBefore = count() == 1;
    ComPtr<Tab> tab = newTab(Key, Text, Image);
    tabs_.insert(tabs_.begin() + BeforeIndex, tab);
    if (oneBefore && !current_)
        current_ = tab;
    if (strip_ && strip_->exists())
        strip_->insertTab(BeforeIndex, tab->text(), tab->image());
    return ppTab ? handOut(tab.get(), ppTab) : S_OK;
}

HRESULT TabsCollection::get_Count(LONG *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = 0;
    if (HRESULT hr = attached(); FAILED(hr))
        return hr;
    *pVal = count();
    return S_OK;
}

HRESULT TabsCollection::get_CurrentTab(ILzTab **ppTab)
{
    if (!ppTab)
        return E_POINTER;
    *ppTab = nullptr;
    if (HRESULT hr = attached(); FAILED(hr))
        return hr;
    return handOut(current_.get(), ppTab);
}

HRESULT TabsCollection::put_CurrentTab(ILzTab *pTab)
{
    if (HRESULT hr = attached(); FAILED(hr))
        return hr;
    if (!pTab) {
        current_.reset();
        return S_OK;
    }
    Tab *tab = Tab::from(pTab);
    const int pos = indexOf(tab);
    if (pos < 0)
        return LZNAVRAIL_E_INVALIDOBJECT;
    if (tab == current_.get()) {
        if (strip_ && strip_->exists() && strip_->selection() != pos)
            strip_->select(pos);
        return S_OK;
    }
    makeCurrent(tab);
    return S_OK;
}

HRESULT TabsCollection::get_CurrentTabIndex(LONG *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = 0;
    if (HRESULT hr = attached(); FAILED(hr))
        return hr;
    *pVal = current_ ? std::max(0, indexOf(current_.get())) : 0;
    return S_OK;
}

HRESULT TabsCollection::put_CurrentTabIndex(LONG newVal)
{
    if (HRESULT hr = attached(); FAILED(hr))
        return hr;
    Tab *tab = at(newVal);
    return tab ? put_CurrentTab(tab) : S_OK;
}

HRESULT TabsCollection::get_TabImageList(LONG *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = 0;
    if (HRESULT hr = attached(); FAILED(hr))
        return hr;
    *pVal = imageList_;
    return S_OK;
}

HRESULT TabsCollection::put_TabImageList(LONG newVal)
{
    if (HRESULT hr = attached(); FAILED(hr))
        return hr;
    imageList_ = newVal;
    if (strip_ && strip_->exists())
        strip_->setImageList(newVal);
    return S_OK;
}

HRESULT TabsCollection::get_TabStyle(LONG *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = 0;
    if (HRESULT hr = attached(); FAILED(hr))
        return hr;
    *pVal = style_;
    return S_OK;
}

HRESULT TabsCollection::put_TabStyle(LONG newVal)
{
    if (HRESULT hr = attached(); FAILED(hr))
        return hr;
    const LONG stored = newVal | kNoFocusStyle;
    if (stored == style_)
        return S_OK;
    style_ = stored;
    if (strip_ && strip_->exists()) {
        strip_->rebuild(style_);
        for (int i = 0; i < count(); ++i)
            strip_->insertTab(i, tabs_[std::size_t(i)]->text(), tabs_[std::size_t(i)]->image());
        strip_->select(current_ ? indexOf(current_.get()) : -1);
    }
    return S_OK;
}

HRESULT TabsCollection::get_Key(BSTR *pVal)
{
    if (!pVal)
        return E_POINTER;
    *pVal = nullptr;
    if (HRESULT hr = attached(); FAILED(hr))
        return hr;
    return handOutString(key_, pVal);
}

HRESULT TabsCollection::put_Key(BSTR newVal)
{
    if (HRESULT hr = attached(); FAILED(hr))
        return hr;
    key_ = fromBstr(newVal);
    return S_OK;
}

HRESULT TabsCollection::Remove(VARIANT Index)
{
    if (HRESULT hr = attached(); FAILED(hr))
        return hr;
    if (tabs_.empty())
        return S_OK;
    const VARIANT *v = &Index;
    while (v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal)
        v = v->pvarVal;
    Tab *tab = nullptr;
    const VARTYPE base = VARTYPE(v->vt & ~VT_BYREF);
    if (base == VT_DISPATCH || base == VT_UNKNOWN) {
        IUnknown *unk = (v->vt & VT_BYREF) ? (v->ppunkVal ? *v->ppunkVal : nullptr) : v->punkVal;
        ComPtr<ILzTab> asTab;
        if (unk)
            unk->QueryInterface(ILzTab::iid, asTab.putVoid());
        tab = Tab::from(asTab.get());
        if (indexOf(tab) < 0)
            return LZNAVRAIL_E_INVALIDOBJECT;
    } else {
        IndexArg index;
        HRESULT hr = readIndex(*v, &index);
        if (FAILED(hr))
            return hr;
        tab = index.isKey ? findByKey(index.key) : at(index.position);
        if (!tab)
            return S_OK;
    }
    const int pos = indexOf(tab);
    ComPtr<Tab> keep(tab);
    tabs_.erase(tabs_.begin() + pos);
    tab->setOwner(nullptr);
    if (current_.get() == tab)
        current_ = tabs_.empty() ? nullptr : (pos < count() ? at(pos) : at(count() - 1));
    if (strip_ && strip_->exists())
        strip_->deleteTab(pos);
    return S_OK;
}

// ==== TabsSet ==================================================================================

const com::DispatchTable &TabsSet::dispatchTable()
{
    using B = com::DispBuilder<TabsSet>;
    static const com::DispatchTable table(IID_ILzTabsSet, u"ILzTabsSet",
                                          {
                                              B::methodRet<&TabsSet::Item>(DISPID_TSET_Item, u"Item").asDefault(),
                                              B::get<&TabsSet::Item>(DISPID_TSET_Item, u"Item").asDefault(),
                                              B::methodRet<&TabsSet::Add>(DISPID_TSET_Add, u"Add"),
                                          });
    return table;
}

TabsSet::TabsSet() = default;
TabsSet::~TabsSet() = default;

void *TabsSet::findInterface(REFIID riid)
{
    return riid == IID_NavrailTabsSetImpl ? static_cast<ILzTabsSet *>(this) : nullptr;
}

void TabsSet::detachControl()
{
    for (const ComPtr<TabsCollection> &t : sets_)
        t->detachControl();
    sets_.clear();
    control_ = nullptr;
}

HRESULT TabsSet::Item(VARIANT Index, ILzTabs **ppTabs)
{
    if (!ppTabs)
        return E_POINTER;
    *ppTabs = nullptr;
    if (HRESULT hr = requireControl(control_); FAILED(hr))
        return hr;
    IndexArg index;
    HRESULT hr = readIndex(Index, &index);
    if (FAILED(hr))
        return hr;
    if (index.isKey) {
        for (const ComPtr<TabsCollection> &t : sets_)
            if (t->key() == index.key)
                return handOut(t.get(), ppTabs);
        return S_OK;
    }
    if (index.position < 0 || index.position >= LONG(sets_.size()))
        return LZNAVRAIL_E_INVALIDOBJECT;
    return handOut(sets_[std::size_t(index.position)].get(), ppTabs);
}

HRESULT TabsSet::Add(BSTR Key, ILzTabs **ppTabs)
{
    if (ppTabs)
        *ppTabs = nullptr;
    if (HRESULT hr = requireControl(control_); FAILED(hr))
        return hr;
    ComPtr<TabsCollection> tabs = com::makeObject<TabsCollection>();
    tabs->attach(control_);
    sets_.push_back(tabs);
    tabs->setKey(fromBstr(Key));
    return ppTabs ? handOut(tabs.get(), ppTabs) : S_OK;
}

} // namespace navrail
