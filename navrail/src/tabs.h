#pragma once
// Tabs: the tab object (LzTab), the tab collection of an item (LzTabs) with its strip, and the
// control's set of tab collections (LzTabsSet).
//
// The set holds one reference per collection, a collection one per tab and one to its current tab;
// an item holds the collection assigned to its Tabs. Back pointers (tab -> collection,
// collection -> control) are not counted and are cleared when the owner goes.
#include "common.h"

#include <memory>
#include <vector>

namespace navrail {

class TabStrip;

class Tab final : public com::ComObject<ILzTab>
{
public:
    using PrimaryInterface = ILzTab;
    Tab();
    ~Tab() override;
    TV_IMPLEMENT_IDISPATCH(dispatchTable())
    static const com::DispatchTable &dispatchTable();
    static Tab *from(ILzTab *p) { return implFrom<Tab>(p, IID_NavrailTabImpl); }

    HRESULT STDMETHODCALLTYPE get_Text(BSTR *pVal) override;
    HRESULT STDMETHODCALLTYPE put_Text(BSTR newVal) override;
    HRESULT STDMETHODCALLTYPE get_Image(LONG *pVal) override;
    HRESULT STDMETHODCALLTYPE put_Image(LONG newVal) override;
    HRESULT STDMETHODCALLTYPE get_Key(BSTR *pVal) override;
    HRESULT STDMETHODCALLTYPE put_Key(BSTR newVal) override;
    HRESULT STDMETHODCALLTYPE get_Index(LONG *pVal) override;
    HRESULT STDMETHODCALLTYPE put_Index(LONG newVal) override;

    // Internal interface.
    TabsCollection *owner() const { return owner_; }
    void setOwner(TabsCollection *owner) { owner_ = owner; }
    const QString &key() const { return key_; }
    const QString &text() const { return text_; }
    LONG image() const { return image_; }
    void set(const QString &key, const QString &text, LONG image)
    {
        key_ = key;
        text_ = text;
        image_ = image;
    }

protected:
    void *findInterface(REFIID riid) override;

private:
    QString key_;
    QString text_;
    LONG image_ = 0;
    TabsCollection *owner_ = nullptr; // not counted
};

class TabsCollection final : public com::ComObject<ILzTabs>
{
public:
    using PrimaryInterface = ILzTabs;
    TabsCollection();
    ~TabsCollection() override;
    TV_IMPLEMENT_IDISPATCH(dispatchTable())
    static const com::DispatchTable &dispatchTable();
    static TabsCollection *from(ILzTabs *p) { return implFrom<TabsCollection>(p, IID_NavrailTabsImpl); }

    HRESULT STDMETHODCALLTYPE Item(VARIANT Index, ILzTab **ppTab) override;
    HRESULT STDMETHODCALLTYPE Add(BSTR Key, BSTR Text, INT Image, ILzTab **ppTab) override;
    HRESULT STDMETHODCALLTYPE get_Count(LONG *pVal) override;
    HRESULT STDMETHODCALLTYPE get_CurrentTab(ILzTab **ppTab) override;
    HRESULT STDMETHODCALLTYPE put_CurrentTab(ILzTab *pTab) override;
    HRESULT STDMETHODCALLTYPE get_CurrentTabIndex(LONG *pVal) override;
    HRESULT STDMETHODCALLTYPE put_CurrentTabIndex(LONG newVal) override;
    HRESULT STDMETHODCALLTYPE get_TabImageList(LONG *pVal) override;
    HRESULT STDMETHODCALLTYPE put_TabImageList(LONG newVal) override;
    HRESULT STDMETHODCALLTYPE get_TabStyle(LONG *pVal) override;
    HRESULT STDMETHODCALLTYPE put_TabStyle(LONG newVal) override;
    HRESULT STDMETHODCALLTYPE get_Key(BSTR *pVal) override;
    HRESULT STDMETHODCALLTYPE put_Key(BSTR newVal) override;
    HRESULT STDMETHODCALLTYPE Remove(VARIANT Index) override;
    HRESULT STDMETHODCALLTYPE Insert(INT BeforeIndex, BSTR Key, BSTR Text, INT Image, ILzTab **ppTab) override;

    // The tab-control style always carried by a stored TabStyle.
    static constexpr LONG kNoFocusStyle = 0x8000;

    // Internal interface.
    void attach(NavrailControl *control) { control_ = control; }
    NavrailControl *control() const { return control_; }
    void setKey(const QString &key) { key_ = key; }
    const QString &key() const { return key_; }
    int count() const { return int(tabs_.size()); }
    Tab *at(int index) const;
    int indexOf(const Tab *tab) const;
    Tab *current() const { return current_.get(); }
    LONG style() const { return style_; }
    LONG imageList() const { return imageList_; }
    // The strip that shows the tabs in the results pane (none until first shown).
    TabStrip *strip() const { return strip_.get(); }
    // Creates the strip on first showing, as a child of the results pane window.
    TabStrip *ensureStrip(QWidget *resultsPane);
    // The control goes: forget it and the strip; the collection is detached from then on.
    void detachControl();
    bool detached() const { return detached_; }
    // S_OK until the control went, then kDetachedResult (every member answers it).
    HRESULT attached() const { return detached_ ? kDetachedResult : S_OK; }

protected:
    void *findInterface(REFIID riid) override;

private:
    Tab *findByKey(const QString &key) const;
    void makeCurrent(Tab *tab);
    ComPtr<Tab> newTab(BSTR key, BSTR text, INT image);

    std::vector<ComPtr<Tab>> tabs_;
    LONG style_ = lzoTabsBottom;
    LONG imageList_ = 0;
    ComPtr<Tab> current_;
    std::unique_ptr<TabStrip> strip_;
    NavrailControl *control_ = nullptr; // not counted
    bool detached_ = false;             // its control went
    QString key_;
};

class TabsSet final : public com::ComObject<ILzTabsSet>
{
public:
    using PrimaryInterface = ILzTabsSet;
    TabsSet();
    ~TabsSet() override;
    TV_IMPLEMENT_IDISPATCH(dispatchTable())
    static const com::DispatchTable &dispatchTable();
    static TabsSet *from(ILzTabsSet *p) { return implFrom<TabsSet>(p, IID_NavrailTabsSetImpl); }

    HRESULT STDMETHODCALLTYPE Item(VARIANT Index, ILzTabs **ppTabs) override;
    HRESULT STDMETHODCALLTYPE Add(BSTR Key, ILzTabs **ppTabs) override;

    // Internal interface.
    void attach(NavrailControl *control) { control_ = control; }
    NavrailControl *control() const { return control_; }
    // The control goes: every collection is released and detached, as is the set itself
    // (common.h, kDetachedResult).
    void detachControl();

protected:
    void *findInterface(REFIID riid) override;

private:
    NavrailControl *control_ = nullptr; // not counted
    std::vector<ComPtr<TabsCollection>> sets_;
};

} // namespace navrail
