#pragma once
// The navigation-bar control (class LzNavrailBar): its fields and defaults, its windows, the
// ILzNavrailBar members, the events, and the control interfaces (activation in a container,
// connection points, class information, object safety, property pages, persistence entry points).
#include "common.h"
#include "events.h"
#include "ole/font.h"
#include "ole/olecontrol.h"

#include <QPointer>
#include <QWidget>
#include <array>
#include <memory>

namespace navrail {

class Splitter;
class ViewContainer;
class ResultsPane;
class ControlWidget;
class LabelEditBox;
class PropertyExchange;
struct PersistedProperties;

class NavrailControl final
    : public com::ComObject<ILzNavrailBar, IQtControl, IConnectionPointContainer, IProvideClassInfo2, IObjectSafety,
                            ISpecifyPropertyPages, IPersistStreamInit, IPersistPropertyBag, IPersistStorage,
                            IViewObject>
{
public:
    using PrimaryInterface = ILzNavrailBar;
    NavrailControl();
    ~NavrailControl() override;
    TV_IMPLEMENT_IDISPATCH(dispatchTable())
    static const com::DispatchTable &dispatchTable();
    static const com::CoClassInfo &classInfo();
    static NavrailControl *from(ILzNavrailBar *p) { return implFrom<NavrailControl>(p, IID_NavrailControlImpl); }

    // ---- ILzNavrailBar ----
    HRESULT STDMETHODCALLTYPE get_BackColor(OLE_COLOR *pclr) override;
    HRESULT STDMETHODCALLTYPE put_BackColor(OLE_COLOR clr) override;
    HRESULT STDMETHODCALLTYPE get_Groups(ILzNavrailGroups **ppGroups) override;
    HRESULT STDMETHODCALLTYPE get_CurrentGroupIndex(LONG *pVal) override;
    HRESULT STDMETHODCALLTYPE put_CurrentGroupIndex(LONG newVal) override;
    HRESULT STDMETHODCALLTYPE get_TextColor(OLE_COLOR *pclr) override;
    HRESULT STDMETHODCALLTYPE put_TextColor(OLE_COLOR clr) override;
    HRESULT STDMETHODCALLTYPE get_CurrentGroup(ILzNavrailGroup **ppGroup) override;
    HRESULT STDMETHODCALLTYPE put_CurrentGroup(ILzNavrailGroup *pGroup) override;
    HRESULT STDMETHODCALLTYPE get_SoundEffects(VARIANT_BOOL *pVal) override;
    HRESULT STDMETHODCALLTYPE put_SoundEffects(VARIANT_BOOL newVal) override;
    HRESULT STDMETHODCALLTYPE get_Appearance(tagApearanceConstants *pVal) override;
    HRESULT STDMETHODCALLTYPE put_Appearance(tagApearanceConstants newVal) override;
    HRESULT STDMETHODCALLTYPE get_BorderWidth(SHORT *pVal) override;
    HRESULT STDMETHODCALLTYPE put_BorderWidth(SHORT newVal) override;
    HRESULT STDMETHODCALLTYPE get_SplitterWindow(VARIANT_BOOL *pVal) override;
    HRESULT STDMETHODCALLTYPE put_SplitterWindow(VARIANT_BOOL newVal) override;
    HRESULT STDMETHODCALLTYPE get_SplitterWidth(SHORT *pVal) override;
    HRESULT STDMETHODCALLTYPE put_SplitterWidth(SHORT newVal) override;
    HRESULT STDMETHODCALLTYPE get_EnableGroupPopupMenu(VARIANT_BOOL *pVal) override;
    HRESULT STDMETHODCALLTYPE put_EnableGroupPopupMenu(VARIANT_BOOL newVal) override;
    HRESULT STDMETHODCALLTYPE get_EnableEditGroupLabels(VARIANT_BOOL *pVal) override;
    HRESULT STDMETHODCALLTYPE put_EnableEditGroupLabels(VARIANT_BOOL newVal) override;
    HRESULT STDMETHODCALLTYPE get_EnableAddGroups(VARIANT_BOOL *pVal) override;
    HRESULT STDMETHODCALLTYPE put_EnableAddGroups(VARIANT_BOOL newVal) override;
    HRESULT STDMETHODCALLTYPE get_EnableRemoveGroups(VARIANT_BOOL *pVal) override;
    HRESULT STDMETHODCALLTYPE put_EnableRemoveGroups(VARIANT_BOOL newVal) override;
    HRESULT STDMETHODCALLTYPE get_EnableEditItemLabels(VARIANT_BOOL *pVal) override;
    HRESULT STDMETHODCALLTYPE put_EnableEditItemLabels(VARIANT_BOOL newVal) override;
    HRESULT STDMETHODCALLTYPE get_EnableAddItems(VARIANT_BOOL *pVal) override;
    HRESULT STDMETHODCALLTYPE put_EnableAddItems(VARIANT_BOOL newVal) override;
    HRESULT STDMETHODCALLTYPE get_EnableRemoveItems(VARIANT_BOOL *pVal) override;
    HRESULT STDMETHODCALLTYPE put_EnableRemoveItems(VARIANT_BOOL newVal) override;
    HRESULT STDMETHODCALLTYPE CancelEvent() override;
    HRESULT STDMETHODCALLTYPE get_LeftPaneWidth(LONG *pVal) override;
    HRESULT STDMETHODCALLTYPE put_LeftPaneWidth(LONG newVal) override;
    HRESULT STDMETHODCALLTYPE get_EnableSetIconSizes(VARIANT_BOOL *pVal) override;
    HRESULT STDMETHODCALLTYPE put_EnableSetIconSizes(VARIANT_BOOL newVal) override;
    HRESULT STDMETHODCALLTYPE get_EnableHideNavrailBar(VARIANT_BOOL *pVal) override;
    HRESULT STDMETHODCALLTYPE put_EnableHideNavrailBar(VARIANT_BOOL newVal) override;
    HRESULT STDMETHODCALLTYPE get_EnableItemPopupMenu(VARIANT_BOOL *pVal) override;
    HRESULT STDMETHODCALLTYPE put_EnableItemPopupMenu(VARIANT_BOOL newVal) override;
    HRESULT STDMETHODCALLTYPE get_EnableOpenItem(VARIANT_BOOL *pVal) override;
    HRESULT STDMETHODCALLTYPE put_EnableOpenItem(VARIANT_BOOL newVal) override;
    HRESULT STDMETHODCALLTYPE get_EnableProperties(VARIANT_BOOL *pVal) override;
    HRESULT STDMETHODCALLTYPE put_EnableProperties(VARIANT_BOOL newVal) override;
    HRESULT STDMETHODCALLTYPE get_PaneDisplay(tagPaneDisplayConstants *pVal) override;
    HRESULT STDMETHODCALLTYPE put_PaneDisplay(tagPaneDisplayConstants newVal) override;
    HRESULT STDMETHODCALLTYPE get_FreezePanes(VARIANT_BOOL *pVal) override;
    HRESULT STDMETHODCALLTYPE put_FreezePanes(VARIANT_BOOL newVal) override;
    HRESULT STDMETHODCALLTYPE get_CurrentItem(ILzNavrailItem **ppItem) override;
    HRESULT STDMETHODCALLTYPE put_CurrentItem(ILzNavrailItem *pItem) override;
    HRESULT STDMETHODCALLTYPE get_Font(IFontDisp **ppFont) override;
    HRESULT STDMETHODCALLTYPE put_Font(IFontDisp *pFont) override;
    HRESULT STDMETHODCALLTYPE putref_Font(IFontDisp *pFont) override;
    HRESULT STDMETHODCALLTYPE get_hWnd(LONG *pHWnd) override;
    HRESULT STDMETHODCALLTYPE get_TopPaneHeight(LONG *pVal) override;
    HRESULT STDMETHODCALLTYPE put_TopPaneHeight(LONG newVal) override;
    HRESULT STDMETHODCALLTYPE ItemFromKey(BSTR Key, ILzNavrailItem **ppItem) override;
    HRESULT STDMETHODCALLTYPE get_DynamicResize(VARIANT_BOOL *pVal) override;
    HRESULT STDMETHODCALLTYPE put_DynamicResize(VARIANT_BOOL newVal) override;
    HRESULT STDMETHODCALLTYPE put_SmallImageList(IDispatch *pImageList) override;
    HRESULT STDMETHODCALLTYPE put_LargeImageList(IDispatch *pImageList) override;
    HRESULT STDMETHODCALLTYPE get_SmallHImageList(LONG *pVal) override;
    HRESULT STDMETHODCALLTYPE put_SmallHImageList(LONG newVal) override;
    HRESULT STDMETHODCALLTYPE get_LargeHImageList(LONG *pVal) override;
    HRESULT STDMETHODCALLTYPE put_LargeHImageList(LONG newVal) override;
    HRESULT STDMETHODCALLTYPE put_LargeHotImageList(IDispatch *pImageList) override;
    HRESULT STDMETHODCALLTYPE put_SmallHotImageList(IDispatch *pImageList) override;
    HRESULT STDMETHODCALLTYPE get_LargeHotHImageList(LONG *pVal) override;
    HRESULT STDMETHODCALLTYPE put_LargeHotHImageList(LONG newVal) override;
    HRESULT STDMETHODCALLTYPE get_SmallHotHImageList(LONG *pVal) override;
    HRESULT STDMETHODCALLTYPE put_SmallHotHImageList(LONG newVal) override;
    HRESULT STDMETHODCALLTYPE put_LargeActiveHImageList(LONG newVal) override;
    HRESULT STDMETHODCALLTYPE get_SmallActiveHImageList(LONG *pVal) override;
    HRESULT STDMETHODCALLTYPE put_SmallActiveHImageList(LONG newVal) override;
    HRESULT STDMETHODCALLTYPE get_UseChildWindows(VARIANT_BOOL *pVal) override;
    HRESULT STDMETHODCALLTYPE put_UseChildWindows(VARIANT_BOOL newVal) override;
    HRESULT STDMETHODCALLTYPE get_TabsSet(ILzTabsSet **ppTabsSet) override;

    // Enum-typed members as 4-byte integers for the dispatch table.
    HRESULT getAppearanceLong(LONG *pVal);
    HRESULT putAppearanceLong(LONG newVal);
    HRESULT getPaneDisplayLong(LONG *pVal);
    HRESULT putPaneDisplayLong(LONG newVal);

    // ---- IQtControl ----
    HRESULT STDMETHODCALLTYPE SetSite(IControlSite *pSite) override;
    HRESULT STDMETHODCALLTYPE GetSite(IControlSite **ppSite) override;
    HRESULT STDMETHODCALLTYPE Activate(QWidget *parent, QWidget **ppWidget) override;
    HRESULT STDMETHODCALLTYPE Deactivate() override;
    HRESULT STDMETHODCALLTYPE GetWidget(QWidget **ppWidget) override;
    HRESULT STDMETHODCALLTYPE GetNaturalSize(SIZE *pSize) override;
    HRESULT STDMETHODCALLTYPE AmbientPropertyChanged(DISPID dispid) override;

    // ---- IConnectionPointContainer ----
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints **ppEnum) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint **ppCP) override;

    // ---- IProvideClassInfo2 ----
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo **ppTI) override;
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD dwGuidKind, GUID *pGUID) override;

    // ---- IObjectSafety ----
    HRESULT STDMETHODCALLTYPE GetInterfaceSafetyOptions(REFIID riid, DWORD *pdwSupportedOptions,
                                                        DWORD *pdwEnabledOptions) override;
    HRESULT STDMETHODCALLTYPE SetInterfaceSafetyOptions(REFIID riid, DWORD dwOptionSetMask,
                                                        DWORD dwEnabledOptions) override;

    // ---- ISpecifyPropertyPages ----
    HRESULT STDMETHODCALLTYPE GetPages(CAUUID *pPages) override;

    // ---- IPersist, IPersistStreamInit, IPersistStorage, IPersistPropertyBag (barpersist.cpp) ----
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID *pClassID) override;
    HRESULT STDMETHODCALLTYPE IsDirty() override;
    HRESULT STDMETHODCALLTYPE Load(IStream *pStm) override;
    HRESULT STDMETHODCALLTYPE Save(IStream *pStm, BOOL fClearDirty) override;
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER *pCbSize) override;
    HRESULT STDMETHODCALLTYPE InitNew() override;
    HRESULT STDMETHODCALLTYPE InitNew(IStorage *pStg) override;
    HRESULT STDMETHODCALLTYPE Load(IStorage *pStg) override;
    HRESULT STDMETHODCALLTYPE Save(IStorage *pStgSave, BOOL fSameAsLoad) override;
    HRESULT STDMETHODCALLTYPE SaveCompleted(IStorage *pStgNew) override;
    HRESULT STDMETHODCALLTYPE HandsOffStorage() override;
    HRESULT STDMETHODCALLTYPE Load(IPropertyBag *pPropBag, IErrorLog *pErrorLog) override;
    HRESULT STDMETHODCALLTYPE Save(IPropertyBag *pPropBag, BOOL fClearDirty, BOOL fSaveAllProperties) override;

    // ---- IViewObject (controldraw.cpp) ----
    HRESULT STDMETHODCALLTYPE Draw(DWORD dwDrawAspect, LONG lindex, void *pvAspect, DVTARGETDEVICE *ptd,
                                   HDC hdcTargetDev, HDC hdcDraw, LPCRECTL lprcBounds, LPCRECTL lprcWBounds,
                                   BOOL(STDMETHODCALLTYPE *pfnContinue)(ULONG_PTR dwContinue),
                                   ULONG_PTR dwContinue) override;
    HRESULT STDMETHODCALLTYPE GetColorSet(DWORD dwDrawAspect, LONG lindex, void *pvAspect, DVTARGETDEVICE *ptd,
                                          HDC hicTargetDev, LOGPALETTE **ppColorSet) override;
    HRESULT STDMETHODCALLTYPE Freeze(DWORD dwDrawAspect, LONG lindex, void *pvAspect, DWORD *pdwFreeze) override;
    HRESULT STDMETHODCALLTYPE Unfreeze(DWORD dwFreeze) override;
    HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD advf, IAdviseSink *pAdvSink) override;
    HRESULT STDMETHODCALLTYPE GetAdvise(DWORD *pAspects, DWORD *pAdvf, IAdviseSink **ppAdvSink) override;

    // ---- internal interface ----
    EventRaiser &events() { return events_; }
    BarWindow &bar() { return *bar_; }
    GroupsCollection *groups() const { return groups_.get(); }
    TabsSet *tabsSet() const { return tabsSet_.get(); }
    Splitter &mainSplitter() { return *mainSplitter_; }
    Splitter &secondSplitter() { return *secondSplitter_; }
    ViewContainer &viewContainer(int which) { return *views_[which == 1 ? 0 : 1]; }
    ResultsPane &resultsPane() { return *resultsPane_; }
    QWidget *widget() const;
    bool hasWindow() const { return widget() != nullptr; }
    bool isWindowVisible() const;
    IFontDisp *font() const { return font_.get(); }
    bool soundEffects() const { return soundEffects_ != 0; }
    OLE_COLOR backColor() const { return backColor_; }
    OLE_COLOR textColor() const { return textColor_; }
    LONG appearance() const { return appearance_; }
    LONG borderWidth() const { return borderWidth_; }
    bool useChildWindows() const { return useChildWindows_ != 0; }
    // The twelve Enable flags, read when a context menu is built.
    enum EnableFlag {
        GroupPopupMenu,
        EditGroupLabels,
        AddGroups,
        RemoveGroups,
        EditItemLabels,
        AddItems,
        RemoveItems,
        SetIconSizes,
        HideNavrailBar,
        ItemPopupMenu,
        OpenItem,
        Properties,
        EnableFlagCount
    };
    VARIANT_BOOL enableFlag(EnableFlag f) const { return enable_[f]; }
    void setDirty() { dirty_ = true; }

    // Display of an item (ILzNavrailItem::Display): makes its group current, selects it and, while
    // the control's window is visible, shows it in the results pane.
    HRESULT displayItem(Item *item);
    // Shows the item in the results pane (the item becomes the displayed item, then
    // BeforeDisplayResultsPane, then the pane shows its tabs and views).
    void showInResultsPane(Item *item);
    // In-place label editing: at most one edit per control, of a group's header text or of an
    // item's caption (none of either when no edit is open).
    Item *editedItem() const { return editedItem_.get(); }
    Group *editedGroup() const { return editedGroup_.get(); }
    void setLabelEdit(Group *group, Item *item, LabelEditBox *box);
    // Forgets the open edit and hands out its box (null when it is gone).
    LabelEditBox *takeLabelEdit();
    // Ends an open edit, accepting it (the After event fires).
    void endLabelEdit();
    // An item or group leaves the bar: every reference the control holds to it goes.
    void forgetItem(const Item *item);
    void forgetGroup(const Group *group);
    // The control's window was created: child windows in their order, properties applied.
    void createChildWindows(ControlWidget *widget);
    // The control's window changed its size.
    void controlResized();
    // The pending-display flag: the current item is displayed after the first drawing.
    bool pendingDisplay() const { return pendingDisplay_ != 0; }
    void clearPendingDisplay() { pendingDisplay_ = 0; }

protected:
    void *findInterface(REFIID riid) override;

private:
    void takeAmbientFont();
    // Persistence: the properties as they persist, a load applied (only after it succeeded).
    PersistedProperties persistedProperties() const;
    void applyLoadedProperties(const PersistedProperties &p);
    HRESULT loadFrom(PropertyExchange &px);
    HRESULT saveTo(PropertyExchange &px);
    void destroyChildWindows();
    // Gives the main splitter its panes; the results pane is shown only while it is one of them.
    void setMainPanes(QWidget *left, QWidget *right);
    void applySplitterPanes();
    HRESULT putEnable(EnableFlag f, VARIANT_BOOL v)
    {
        enable_[f] = v;
        return S_OK;
    }
    HRESULT getEnable(EnableFlag f, VARIANT_BOOL *p) const
    {
        if (!p)
            return E_POINTER;
        *p = enable_[f];
        return S_OK;
    }

    // Fields and defaults.
    OLE_COLOR backColor_ = 0x8000000C;
    OLE_COLOR textColor_ = 0;
    LONG appearance_ = lzoLight3D;
    LONG borderWidth_ = 1;
    VARIANT_BOOL splitterWindow_ = 1;
    LONG splitterWidth_ = 6;
    VARIANT_BOOL soundEffects_ = 1;
    VARIANT_BOOL dynamicResize_ = 1;
    VARIANT_BOOL useChildWindows_ = 0;
    LONG paneDisplay_ = lzoNavrailBarRightPane;
    std::array<VARIANT_BOOL, EnableFlagCount> enable_;
    LONG pendingDisplay_ = 1;
    bool dirty_ = false;
    DWORD safetyOptions_ = 0;
    ComPtr<IFontDisp> font_;
    ComPtr<IControlSite> site_;
    SIZEL extent_{5080, 5080}; // HIMETRIC

    com::ConnectionPoint eventPoint_;
    com::ConnectionPoints points_;
    EventRaiser events_;

    std::unique_ptr<BarWindow> bar_;
    std::unique_ptr<ViewContainer> views_[2];
    std::unique_ptr<Splitter> mainSplitter_;   // bar on the left, right side on the right
    std::unique_ptr<Splitter> secondSplitter_; // top and bottom of the right side
    std::unique_ptr<ResultsPane> resultsPane_;
    ComPtr<GroupsCollection> groups_;
    ComPtr<TabsSet> tabsSet_;
    ComPtr<Group> editedGroup_;
    ComPtr<Item> editedItem_;
    QPointer<LabelEditBox> editBox_;
    QPointer<ControlWidget> widget_;
};

} // namespace navrail
