#pragma once
// The Groups collection (LzNavrailGroups) and the group object (LzNavrailGroup).
//
// Ownership: the control holds its Groups collection; the collection holds one reference per
// group; a group holds its Items collection. Back pointers (group -> collection -> control) are
// not counted and are cleared when the object leaves its owner or the owner goes, so that a group
// the container still holds after a Remove or after the control's teardown never reaches freed
// memory: such a group is detached (common.h, kDetachedResult).
#include "common.h"

#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

namespace navrail {

class HeaderButton;
class GroupPaneWidget;

class GroupsCollection final : public com::ComObject<ILzNavrailGroups>
{
public:
    using PrimaryInterface = ILzNavrailGroups;
    GroupsCollection();
    ~GroupsCollection() override;
    TV_IMPLEMENT_IDISPATCH(dispatchTable())
    static const com::DispatchTable &dispatchTable();
    static GroupsCollection *from(ILzNavrailGroups *p) { return implFrom<GroupsCollection>(p, IID_NavrailGroupsImpl); }

    // ILzNavrailGroups
    HRESULT STDMETHODCALLTYPE Item(VARIANT Index, ILzNavrailGroup **ppGroup) override;
    HRESULT STDMETHODCALLTYPE get_Count(LONG *pVal) override;
    HRESULT STDMETHODCALLTYPE put_Count(LONG newVal) override;
    HRESULT STDMETHODCALLTYPE Add(BSTR Text, ILzNavrailGroup **ppGroup) override;
    HRESULT STDMETHODCALLTYPE get_CurrentGroupIndex(LONG *pVal) override;
    HRESULT STDMETHODCALLTYPE put_CurrentGroupIndex(LONG newVal) override;
    HRESULT STDMETHODCALLTYPE get_CurrentGroup(ILzNavrailGroup **ppGroup) override;
    HRESULT STDMETHODCALLTYPE put_CurrentGroup(ILzNavrailGroup *pGroup) override;
    HRESULT STDMETHODCALLTYPE IndexFromGroup(ILzNavrailGroup *pGroup, INT *pIndex) override;
    HRESULT STDMETHODCALLTYPE Remove(ILzNavrailGroup *pGroup) override;
    HRESULT STDMETHODCALLTYPE RemoveAll() override;
    HRESULT STDMETHODCALLTYPE GroupFromKey(BSTR Key, ILzNavrailGroup **ppGroup) override;
    HRESULT STDMETHODCALLTYPE AddKey(BSTR Key, BSTR Text, ILzNavrailGroup **ppGroup) override;

    // Internal interface.
    void attach(NavrailControl *control) { control_ = control; }
    // The control goes: every group forgets its windows and the control.
    void detachControl();
    NavrailControl *control() const { return control_; }
    int count() const { return int(groups_.size()); }
    Group *at(int index) const;
    // Position of the group, -1 when it is not in this collection.
    int indexOf(const Group *group) const;
    Group *findByKey(const QString &key) const;
    const std::vector<ComPtr<Group>> &groups() const { return groups_; }
    // Creates the windows of every group (the bar window has just been created).
    void createGroupWindows();

protected:
    void *findInterface(REFIID riid) override;

private:
    HRESULT addGroup(const QString &text, ComPtr<Group> *added);

    NavrailControl *control_ = nullptr; // not counted
    std::vector<ComPtr<Group>> groups_; // display order, at most LZNAVRAIL_MAX_GROUPS
};

class Group final : public com::ComObject<ILzNavrailGroup>
{
public:
    using PrimaryInterface = ILzNavrailGroup;
    Group();
    ~Group() override;
    TV_IMPLEMENT_IDISPATCH(dispatchTable())
    static const com::DispatchTable &dispatchTable();
    static Group *from(ILzNavrailGroup *p) { return implFrom<Group>(p, IID_NavrailGroupImpl); }

    // ILzNavrailGroup
    HRESULT STDMETHODCALLTYPE get_LargeHImageList(LONG *pVal) override;
    HRESULT STDMETHODCALLTYPE put_LargeHImageList(LONG newVal) override;
    HRESULT STDMETHODCALLTYPE get_SmallHImageList(LONG *pVal) override;
    HRESULT STDMETHODCALLTYPE put_SmallHImageList(LONG newVal) override;
    HRESULT STDMETHODCALLTYPE get_Text(BSTR *pVal) override;
    HRESULT STDMETHODCALLTYPE put_Text(BSTR newVal) override;
    HRESULT STDMETHODCALLTYPE get_Items(ILzNavrailItems **ppItems) override;
    HRESULT STDMETHODCALLTYPE get_Index(LONG *pVal) override;
    HRESULT STDMETHODCALLTYPE get_BackColor(OLE_COLOR *pVal) override;
    HRESULT STDMETHODCALLTYPE put_BackColor(OLE_COLOR newVal) override;
    HRESULT STDMETHODCALLTYPE get_TextColor(OLE_COLOR *pVal) override;
    HRESULT STDMETHODCALLTYPE put_TextColor(OLE_COLOR newVal) override;
    HRESULT STDMETHODCALLTYPE get_ImageMode(SHORT *pVal) override;
    HRESULT STDMETHODCALLTYPE put_ImageMode(SHORT newVal) override;
    HRESULT STDMETHODCALLTYPE get_DataVariant(VARIANT *pVal) override;
    HRESULT STDMETHODCALLTYPE put_DataVariant(VARIANT newVal) override;
    HRESULT STDMETHODCALLTYPE get_CurrentItem(ILzNavrailItem **ppItem) override;
    HRESULT STDMETHODCALLTYPE put_CurrentItem(ILzNavrailItem *pItem) override;
    HRESULT STDMETHODCALLTYPE StartLabelEdit() override;
    HRESULT STDMETHODCALLTYPE EndLabelEdit(BOOL bAcceptChanges) override;
    HRESULT STDMETHODCALLTYPE get_FirstVisibleItem(LONG *pVal) override;
    HRESULT STDMETHODCALLTYPE put_FirstVisibleItem(LONG newVal) override;
    HRESULT STDMETHODCALLTYPE get_VisibleItemCount(LONG *pVal) override;
    HRESULT STDMETHODCALLTYPE get_Key(BSTR *pVal) override;
    HRESULT STDMETHODCALLTYPE put_Key(BSTR newVal) override;
    HRESULT STDMETHODCALLTYPE put_SmallImageList(IDispatch *pImageList) override;
    HRESULT STDMETHODCALLTYPE put_LargeImageList(IDispatch *pImageList) override;
    HRESULT STDMETHODCALLTYPE get_Picture(IDispatch **ppPicture) override;
    HRESULT STDMETHODCALLTYPE put_Picture(IDispatch *pPicture) override;

    // Colour value meaning "not set": painting then uses the control's colours.
    static constexpr OLE_COLOR kColorNotSet = 61;

    // Internal interface.
    GroupsCollection *owner() const { return owner_; }
    void setOwner(GroupsCollection *owner) { owner_ = owner; }
    NavrailControl *control() const { return owner_ ? owner_->control() : nullptr; }
    BarWindow *bar() const;
    ItemsCollection *items() const { return items_.get(); }
    // Position in the owning collection; -1 when the group is in none.
    int position() const { return owner_ ? owner_->indexOf(this) : -1; }
    const QString &text() const { return text_; }
    void setText(const QString &text) { text_ = text; }
    const OptionalKey &key() const { return key_; }
    OLE_COLOR backColor() const { return backColor_; }
    OLE_COLOR textColor() const { return textColor_; }
    SHORT imageMode() const { return imageMode_; }
    LONG firstVisibleItem() const { return firstVisibleItem_; }
    void setFirstVisibleItem(LONG index) { firstVisibleItem_ = index; }
    LONG smallImageList() const { return smallHImageList_; }
    LONG largeImageList() const { return largeHImageList_; }
    IDispatch *picture() const { return picture_.get(); }

    // Windows: the pane (a hidden child of the bar window) and the header button.
    void createWindows(QWidget *barWidget);
    void destroyWindows();
    QWidget *pane() const;
    HeaderButton *button() const { return button_.get(); }
    // Client height of the pane (0 without a pane).
    int paneClientHeight() const;
    void repaintPane();

protected:
    void *findInterface(REFIID riid) override;

private:
    ComPtr<IDispatch> picture_;
    OptionalKey key_;
    com::Variant dataVariant_;
    OLE_COLOR textColor_ = kColorNotSet;
    OLE_COLOR backColor_ = kColorNotSet;
    ComPtr<ItemsCollection> items_;
    GroupsCollection *owner_ = nullptr; // not counted
    std::unique_ptr<HeaderButton> button_;
    QPointer<QWidget> pane_;
    QString text_;
    LONG firstVisibleItem_ = 0;
    LONG smallHImageList_ = 0;
    LONG largeHImageList_ = 0;
    SHORT imageMode_ = lzoImageModeLarge;
};

} // namespace navrail
