#pragma once
// The Items collection of a group (LzNavrailItems) and the item object (LzNavrailItem).
//
// A group holds its Items collection; the collection holds one reference per item. Back pointers
// (item -> collection -> group) are not counted and are cleared when the owner goes or the item
// leaves it.
#include "common.h"

#include <vector>

namespace navrail {

class ItemsCollection final : public com::ComObject<ILzNavrailItems>
{
public:
    using PrimaryInterface = ILzNavrailItems;
    ItemsCollection();
    ~ItemsCollection() override;
    TV_IMPLEMENT_IDISPATCH(dispatchTable())
    static const com::DispatchTable &dispatchTable();
    static ItemsCollection *from(ILzNavrailItems *p) { return implFrom<ItemsCollection>(p, IID_NavrailItemsImpl); }

    // ILzNavrailItems
    HRESULT STDMETHODCALLTYPE Item(VARIANT Index, ILzNavrailItem **ppItem) override;
    HRESULT STDMETHODCALLTYPE Add(BSTR Text, INT Image, ILzNavrailItem **ppItem) override;
    HRESULT STDMETHODCALLTYPE IndexFromItem(ILzNavrailItem *pItem, INT *pIndex) override;
    HRESULT STDMETHODCALLTYPE Remove(ILzNavrailItem *pItem) override;
    HRESULT STDMETHODCALLTYPE RemoveAll() override;
    HRESULT STDMETHODCALLTYPE get_Count(LONG *pVal) override;
    HRESULT STDMETHODCALLTYPE put_Count(LONG newVal) override;
    HRESULT STDMETHODCALLTYPE ItemFromKey(BSTR Key, ILzNavrailItem **ppItem) override;
    HRESULT STDMETHODCALLTYPE AddKey(BSTR Key, BSTR Text, INT Image, ILzNavrailItem **ppItem) override;

    // Internal interface.
    Group *group() const { return group_; }
    void setGroup(Group *group) { group_ = group; }
    NavrailControl *control() const;
    int count() const { return int(items_.size()); }
    navrail::Item *at(int index) const;
    int indexOf(const navrail::Item *item) const;
    navrail::Item *findByKey(const QString &key) const;
    // Removes every item, raising ItemDeleted for each (last to first).
    void removeAllItems();

protected:
    void *findInterface(REFIID riid) override;

private:
    HRESULT addItem(const QString &text, LONG image, ComPtr<navrail::Item> *added);
    // Takes the item at pos out before ItemDeleted is raised, then lets it go unless a handler
    // put it back; the caller holds a reference to item.
    void takeOut(int pos, navrail::Item *item, NavrailControl *control);
    // Keeps the group's first visible item inside the collection and forgets the current item.
    void afterRemoval();

    Group *group_ = nullptr;                   // not counted
    std::vector<ComPtr<navrail::Item>> items_; // display order, at most LZNAVRAIL_MAX_ITEMS
};

class Item final : public com::ComObject<ILzNavrailItem>
{
public:
    using PrimaryInterface = ILzNavrailItem;
    Item();
    ~Item() override;
    TV_IMPLEMENT_IDISPATCH(dispatchTable())
    static const com::DispatchTable &dispatchTable();
    static Item *from(ILzNavrailItem *p) { return implFrom<Item>(p, IID_NavrailItemImpl); }

    // ILzNavrailItem
    HRESULT STDMETHODCALLTYPE get_WindowObject1(LONG *pHWnd) override;
    HRESULT STDMETHODCALLTYPE put_WindowObject1(LONG hWnd) override;
    HRESULT STDMETHODCALLTYPE get_WindowObject2(LONG *pHWnd) override;
    HRESULT STDMETHODCALLTYPE put_WindowObject2(LONG hWnd) override;
    HRESULT STDMETHODCALLTYPE get_ActiveXObject1(IDispatch **ppObject) override;
    HRESULT STDMETHODCALLTYPE put_ActiveXObject1(IDispatch *pObject) override;
    HRESULT STDMETHODCALLTYPE get_ActiveXObject2(IDispatch **ppObject) override;
    HRESULT STDMETHODCALLTYPE put_ActiveXObject2(IDispatch *pObject) override;
    HRESULT STDMETHODCALLTYPE get_DataVariant(VARIANT *pVal) override;
    HRESULT STDMETHODCALLTYPE put_DataVariant(VARIANT newVal) override;
    HRESULT STDMETHODCALLTYPE get_ExplorerNode(IDispatch **ppNode) override;
    HRESULT STDMETHODCALLTYPE put_ExplorerNode(IDispatch *pNode) override;
    HRESULT STDMETHODCALLTYPE get_Index(LONG *pVal) override;
    HRESULT STDMETHODCALLTYPE StartLabelEdit() override;
    HRESULT STDMETHODCALLTYPE EndLabelEdit(BOOL AcceptChanges) override;
    HRESULT STDMETHODCALLTYPE get_Text(BSTR *pVal) override;
    HRESULT STDMETHODCALLTYPE put_Text(BSTR newVal) override;
    HRESULT STDMETHODCALLTYPE Display() override;
    HRESULT STDMETHODCALLTYPE get_Image(LONG *pVal) override;
    HRESULT STDMETHODCALLTYPE put_Image(LONG newVal) override;
    HRESULT STDMETHODCALLTYPE EnsureVisible() override;
    HRESULT STDMETHODCALLTYPE get_Height(LONG *pVal) override;
    HRESULT STDMETHODCALLTYPE get_Key(BSTR *pVal) override;
    HRESULT STDMETHODCALLTYPE put_Key(BSTR newVal) override;
    HRESULT STDMETHODCALLTYPE get_Tabs(ILzTabs **ppTabs) override;
    HRESULT STDMETHODCALLTYPE put_Tabs(ILzTabs *pTabs) override;

    // Internal interface.
    ItemsCollection *owner() const { return owner_; }
    void setOwner(ItemsCollection *owner) { owner_ = owner; }
    Group *group() const { return owner_ ? owner_->group() : nullptr; }
    NavrailControl *control() const { return owner_ ? owner_->control() : nullptr; }
    int position() const { return owner_ ? owner_->indexOf(this) : -1; }
    const QString &text() const { return text_; }
    void setText(const QString &text) { text_ = text; }
    void setImage(LONG image) { image_ = image; }
    LONG image() const { return image_; }
    const OptionalKey &key() const { return key_; }
    void setKey(const QString &key) { key_ = key; }
    TabsCollection *tabs() const { return tabs_.get(); }
    // The two view slots (window handle and object of each).
    LONG window(int slot) const { return slot == 1 ? window1_ : window2_; }
    IDispatch *object(int slot) const { return slot == 1 ? object1_.get() : object2_.get(); }
    IDispatch *explorerNode() const { return explorerNode_.get(); }

private:
    HRESULT putWindow(int slot, LONG hWnd);
    HRESULT putObject(int slot, IDispatch *object);

protected:
    void *findInterface(REFIID riid) override;

private:
    ComPtr<TabsCollection> tabs_;
    OptionalKey key_;
    LONG image_ = 0;
    QString text_;
    ItemsCollection *owner_ = nullptr; // not counted
    LONG window1_ = 0;
    LONG window2_ = 0;
    ComPtr<IDispatch> object1_;
    ComPtr<IDispatch> object2_;
    ComPtr<IDispatch> explorerNode_;
    com::Variant dataVariant_;
};

} // namespace navrail
