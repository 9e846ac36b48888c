#pragma once
// LzNavrail: the navigation-bar control library, its interfaces, identifiers and constants.
//
// This header is the library's type library: clients include it, create the classes by CLSID
// through the component runtime and never link against libLzNavrail.so. Every interface is dual
// (derived from IDispatch); its members are in vtable order, return an HRESULT and pass their
// value through a last out-parameter. Object results carry a new reference.
#include "com/dispatch.h"

struct IFontDisp;
struct ILzNavrailGroups;
struct ILzNavrailGroup;
struct ILzNavrailItems;
struct ILzNavrailItem;
struct ILzTabsSet;
struct ILzTabs;
struct ILzTab;

// ---- type library, classes ---------------------------------------------------------------------
inline constexpr GUID LIBID_NAVRAILBARLib = com::makeGuid("22BE512E-E6B6-11D2-9BB5-00A0CC3AD9E7");
inline constexpr WORD NAVRAILBARLib_MajorVersion = 1;
inline constexpr WORD NAVRAILBARLib_MinorVersion = 0;

inline constexpr CLSID CLSID_LzNavrailBar = com::makeGuid("02587AFF-D0A5-11D2-9BB5-00A0CC3AD9E7");
inline constexpr CLSID CLSID_LzNavrailGroups = com::makeGuid("1997B16E-DE99-11D2-9BB5-00A0CC3AD9E7");
inline constexpr CLSID CLSID_LzNavrailGroup = com::makeGuid("1997B168-DE99-11D2-9BB5-00A0CC3AD9E7");
inline constexpr CLSID CLSID_LzNavrailItems = com::makeGuid("1997B171-DE99-11D2-9BB5-00A0CC3AD9E7");
inline constexpr CLSID CLSID_LzNavrailItem = com::makeGuid("1997B16B-DE99-11D2-9BB5-00A0CC3AD9E7");
inline constexpr CLSID CLSID_GeneralPropPage = com::makeGuid("344F7D41-FC7A-11D2-9BB6-00A0CC3AD9E7");
inline constexpr CLSID CLSID_MenuProp = com::makeGuid("09EC0E32-259B-11D3-9BB7-00A0CC3AD9E7");
inline constexpr CLSID CLSID_LzTabsSet = com::makeGuid("1C698331-A533-4900-86B1-D7494C9DA349");
inline constexpr CLSID CLSID_LzTabs = com::makeGuid("AB4A9283-3F1F-4727-9EAE-BDF81F8BB1A3");
inline constexpr CLSID CLSID_LzTab = com::makeGuid("66EC8324-CCDB-422A-A277-B647C55AA261");

// ---- enumerations ------------------------------------------------------------------------------
enum tagApearanceConstants : LONG {
    lzoFlat = 0,
    lzoLight3D = 1,
    lzoHeavy3D = 2,
};

enum tagPaneDisplayConstants : LONG {
    lzoNavrailBarRightPane = 0,
    lzoNavrailBarOnly = 1,
    lzoRightPaneOnly = 2,
};

enum tagImageModeConstants : SHORT {
    lzoImageModeLarge = 0,
    lzoImageModeSmall = 1,
};

enum tagTabStyle : LONG {
    lzoTabsTop = 0,
    lzoTabsLeft = 0,
    lzoTabsBottom = 2,
    lzoTabsRight = 2,
    lzoHotTracking = 64,
    lzoVertical = 128,
    lzoMultiLine = 512,
};

// Command identifiers of the context menus, announced by the MenuCommand event. Entries that a
// BuildMenu handler adds take identifiers from lzoUserMenuSelection up.
enum tagMenuCommandConstants : LONG {
    lzoMenuSelection = 1280,
    lzoMenuAddGroup = 1281,
    lzoMenuRenameGroup = 1282,
    lzoMenuRemoveGroup = 1283,
    lzoMenuAddItem = 1284,
    lzoMenuRenameItem = 1285,
    lzoMenuRemoveItem = 1286,
    lzoMenuLargeIcons = 1287,
    lzoMenuSmallIcons = 1288,
    lzoProperties = 1289,
    lzoHideNavrailBar = 1290,
    lzoOpenItem = 1291,
    lzoUserMenuSelection = 4096,
};

// The menu a BuildMenu event reports (WhichMenu). Its hMenu is a menu handle of the runtime's
// handle table; entries are added and removed by command identifier (ole/menu.h).
enum tagMenuClickConstants : LONG {
    lzoPaneClickMenu = 1,
    lzoButtonClickMenu = 2,
    lzoItemClickMenu = 3,
};

// The one error result of the object model: a bad position, a full collection, an object that
// is not (or no longer) in the collection, or a call on an object that left its control (a
// collection whose control went, the items of a removed group, a member of a group or item that
// needs the bar it left).
inline constexpr HRESULT LZNAVRAIL_E_INVALIDOBJECT = TV_HR(0x80005000);

// Limits of the object model.
inline constexpr LONG LZNAVRAIL_MAX_GROUPS = 150;
inline constexpr LONG LZNAVRAIL_MAX_ITEMS = 500;

// ---- dispatch identifiers ----------------------------------------------------------------------
enum LzNavrailBarDispid : DISPID {
    DISPID_NB_BackColor = 1,
    DISPID_NB_Groups = 2,
    DISPID_NB_CurrentGroupIndex = 4,
    DISPID_NB_TextColor = 5,
    DISPID_NB_CurrentGroup = 6,
    DISPID_NB_SoundEffects = 7,
    DISPID_NB_Appearance = 8,
    DISPID_NB_BorderWidth = 9,
    DISPID_NB_SplitterWindow = 10,
    DISPID_NB_SplitterWidth = 11,
    DISPID_NB_EnableGroupPopupMenu = 12,
    DISPID_NB_EnableEditGroupLabels = 13,
    DISPID_NB_EnableAddGroups = 14,
    DISPID_NB_EnableRemoveGroups = 15,
    DISPID_NB_EnableEditItemLabels = 16,
    DISPID_NB_EnableAddItems = 17,
    DISPID_NB_EnableRemoveItems = 18,
    DISPID_NB_CancelEvent = 19,
    DISPID_NB_LeftPaneWidth = 20,
    DISPID_NB_EnableSetIconSizes = 21,
    DISPID_NB_EnableHideNavrailBar = 22,
    DISPID_NB_EnableItemPopupMenu = 23,
    DISPID_NB_EnableOpenItem = 24,
    DISPID_NB_EnableProperties = 25,
    DISPID_NB_PaneDisplay = 26,
    DISPID_NB_FreezePanes = 27,
    DISPID_NB_CurrentItem = 28,
    DISPID_NB_Font = 29,
    DISPID_NB_hWnd = 30,
    DISPID_NB_TopPaneHeight = 31,
    DISPID_NB_ItemFromKey = 32,
    DISPID_NB_DynamicResize = 33,
    DISPID_NB_SmallImageList = 34,
    DISPID_NB_LargeImageList = 35,
    DISPID_NB_SmallHImageList = 36,
    DISPID_NB_LargeHImageList = 37,
    DISPID_NB_LargeHotImageList = 38,
    DISPID_NB_SmallHotImageList = 39,
    DISPID_NB_LargeHotHImageList = 40,
    DISPID_NB_SmallHotHImageList = 41,
    DISPID_NB_LargeActiveHImageList = 42,
    DISPID_NB_SmallActiveHImageList = 43,
    DISPID_NB_UseChildWindows = 44,
    DISPID_NB_TabsSet = 45,
};

enum LzNavrailGroupsDispid : DISPID {
    DISPID_NGS_Item = 0,
    DISPID_NGS_Count = 1,
    DISPID_NGS_Add = 2,
    DISPID_NGS_CurrentGroupIndex = 3,
    DISPID_NGS_CurrentGroup = 5,
    DISPID_NGS_IndexFromGroup = 6,
    DISPID_NGS_Remove = 7,
    DISPID_NGS_RemoveAll = 8,
    DISPID_NGS_GroupFromKey = 9,
    DISPID_NGS_AddKey = 10,
};

enum LzNavrailGroupDispid : DISPID {
    DISPID_NG_LargeHImageList = 1,
    DISPID_NG_SmallHImageList = 2,
    DISPID_NG_Text = 3,
    DISPID_NG_Items = 4,
    DISPID_NG_Index = 5,
    DISPID_NG_BackColor = 6,
    DISPID_NG_TextColor = 7,
    DISPID_NG_ImageMode = 8,
    DISPID_NG_DataVariant = 9,
    DISPID_NG_CurrentItem = 10,
    DISPID_NG_StartLabelEdit = 11,
    DISPID_NG_EndLabelEdit = 12,
    DISPID_NG_FirstVisibleItem = 13,
    DISPID_NG_VisibleItemCount = 14,
    DISPID_NG_Key = 15,
    DISPID_NG_SmallImageList = 16,
    DISPID_NG_LargeImageList = 17,
    DISPID_NG_Picture = 18,
};

enum LzNavrailItemsDispid : DISPID {
    DISPID_NIS_Item = 0,
    DISPID_NIS_Add = 1,
    DISPID_NIS_IndexFromItem = 2,
    DISPID_NIS_Remove = 3,
    DISPID_NIS_RemoveAll = 4,
    DISPID_NIS_Count = 5,
    DISPID_NIS_ItemFromKey = 6,
    DISPID_NIS_AddKey = 7,
};

enum LzNavrailItemDispid : DISPID {
    DISPID_NI_WindowObject1 = 1,
    DISPID_NI_WindowObject2 = 2,
    DISPID_NI_ActiveXObject1 = 5,
    DISPID_NI_ActiveXObject2 = 6,
    DISPID_NI_DataVariant = 9,
    DISPID_NI_ExplorerNode = 10,
    DISPID_NI_Index = 11,
    DISPID_NI_StartLabelEdit = 12,
    DISPID_NI_EndLabelEdit = 13,
    DISPID_NI_Text = 14,
    DISPID_NI_Display = 15,
    DISPID_NI_Image = 16,
    DISPID_NI_EnsureVisible = 17,
    DISPID_NI_Height = 18,
    DISPID_NI_Key = 19,
    DISPID_NI_Tabs = 20,
};

enum LzTabDispid : DISPID {
    DISPID_TAB_Text = 1,
    DISPID_TAB_Image = 2,
    DISPID_TAB_Key = 3,
    DISPID_TAB_Index = 4,
};

enum LzTabsDispid : DISPID {
    DISPID_TABS_Item = 0,
    DISPID_TABS_Add = 1,
    DISPID_TABS_Count = 2,
    DISPID_TABS_CurrentTab = 3,
    DISPID_TABS_CurrentTabIndex = 4,
    DISPID_TABS_TabImageList = 5,
    DISPID_TABS_TabStyle = 6,
    DISPID_TABS_Key = 7,
    DISPID_TABS_Remove = 8,
    DISPID_TABS_Insert = 9,
};

enum LzTabsSetDispid : DISPID {
    DISPID_TSET_Item = 0,
    DISPID_TSET_Add = 1,
};

// Events of _ILzNavrailBarEvents. Object arguments arrive as VT_DISPATCH, integers as VT_I4;
// DISPPARAMS holds them in reverse order as usual.
enum LzNavrailBarEventDispid : DISPID {
    DISPID_NBE_ItemClick = 1,                 // Group, Item
    DISPID_NBE_PaneClick = 2,                 // Group
    DISPID_NBE_ItemRightClick = 9,            // Group, Item
    DISPID_NBE_PaneRightClick = 10,           // Group
    DISPID_NBE_GroupButtonRightClick = 11,    // Group
    DISPID_NBE_GroupButtonClick = 12,         // Group
    DISPID_NBE_MenuCommand = 13,              // long MenuID, Group, Item
    DISPID_NBE_BuildMenu = 14,                // int WhichMenu, long hMenu, Group, Item
    DISPID_NBE_AfterGroupChange = 15,         // Group
    DISPID_NBE_AfterGroupLabelEdit = 16,      // Group
    DISPID_NBE_AfterItemChange = 17,          // Group, Item
    DISPID_NBE_AfterItemLabelEdit = 18,       // Group, Item
    DISPID_NBE_BeforeGroupChange = 19,        // Group
    DISPID_NBE_BeforeGroupLabelEdit = 20,     // Group
    DISPID_NBE_BeforeItemChange = 21,         // Group, Item
    DISPID_NBE_BeforeItemLabelEdit = 22,      // Group, Item
    DISPID_NBE_GotFocusEvent = 23,            // declared, never raised
    DISPID_NBE_GroupAdded = 24,               // Groups, Group
    DISPID_NBE_GroupDeleted = 25,             // Groups, Group
    DISPID_NBE_ItemAdded = 26,                // Items, Item
    DISPID_NBE_PaneWidthChanged = 27,         // int LeftPaneWidth, int RightPaneWidth
    DISPID_NBE_ItemDeleted = 28,              // Items, Item
    DISPID_NBE_LostFocusEvent = 29,           // declared, never raised
    DISPID_NBE_BeforeResultsTabChange = 30,   // Group, Item, ILzTab OldTab
    DISPID_NBE_AfterResultsTabChange = 31,    // Group, Item, ILzTab NewTab
    DISPID_NBE_BeforeDisplayResultsPane = 32, // Group, Item
};

// ---- persistence -------------------------------------------------------------------------------
// IPersistStreamInit, IPersistStorage and IPersistPropertyBag keep the look and the flags only:
// SoundEffects, Appearance, BorderWidth, SplitterWindow, SplitterWidth, the twelve Enable flags,
// BackColor, TextColor, Font, DynamicResize and UseChildWindows (a stream of about 150 bytes, 120
// without a font). They keep no groups, items or tabs, not the current group or item, the pane sizes
// (LeftPaneWidth, TopPaneHeight), PaneDisplay, FreezePanes or the image lists: a host builds those
// again after loading.

// ---- interfaces --------------------------------------------------------------------------------

// The control's default interface.
struct ILzNavrailBar : IDispatch
{
    static constexpr IID iid = com::makeGuid("22BE513A-E6B6-11D2-9BB5-00A0CC3AD9E7");
    using base_type = IDispatch;
    // OLE_COLOR of the panes; default 0x8000000C (a system colour); any value taken; E_POINTER for a null out.
    virtual HRESULT STDMETHODCALLTYPE get_BackColor(OLE_COLOR *pclr) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_BackColor(OLE_COLOR clr) = 0;
    // The group collection (read only); E_POINTER for a null out.
    virtual HRESULT STDMETHODCALLTYPE get_Groups(ILzNavrailGroups **ppGroups) = 0;
    // 0-based index of the open group; default 0; out of range or vetoed by BeforeGroupChange: ignored, S_OK.
    virtual HRESULT STDMETHODCALLTYPE get_CurrentGroupIndex(LONG *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_CurrentGroupIndex(LONG newVal) = 0;
    // OLE_COLOR of the captions; default 0 (black); any value taken; E_POINTER for a null out.
    virtual HRESULT STDMETHODCALLTYPE get_TextColor(OLE_COLOR *pclr) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_TextColor(OLE_COLOR clr) = 0;
    // The open group; LZNAVRAIL_E_INVALIDOBJECT when the bar has none or the group is not in this bar.
    virtual HRESULT STDMETHODCALLTYPE get_CurrentGroup(ILzNavrailGroup **ppGroup) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_CurrentGroup(ILzNavrailGroup *pGroup) = 0;
    // VARIANT_BOOL, sounds on group change, scrolling and opening an item; default true; any value taken.
    virtual HRESULT STDMETHODCALLTYPE get_SoundEffects(VARIANT_BOOL *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_SoundEffects(VARIANT_BOOL newVal) = 0;
    // tagApearanceConstants of the frames; default lzoLight3D; stored unchecked.
    virtual HRESULT STDMETHODCALLTYPE get_Appearance(tagApearanceConstants *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Appearance(tagApearanceConstants newVal) = 0;
    // Width of the control's border in pixels; default 1; negative draws as 0; stored unchecked.
    virtual HRESULT STDMETHODCALLTYPE get_BorderWidth(SHORT *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_BorderWidth(SHORT newVal) = 0;
    // VARIANT_BOOL, bar and results pane side by side; default true; any value taken.
    virtual HRESULT STDMETHODCALLTYPE get_SplitterWindow(VARIANT_BOOL *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_SplitterWindow(VARIANT_BOOL newVal) = 0;
    // Width of the splitter bars in pixels; default 6; stored unchecked.
    virtual HRESULT STDMETHODCALLTYPE get_SplitterWidth(SHORT *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_SplitterWidth(SHORT newVal) = 0;
    // VARIANT_BOOL; default true; any value taken (kept and saved; the context menus do not read it).
    virtual HRESULT STDMETHODCALLTYPE get_EnableGroupPopupMenu(VARIANT_BOOL *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_EnableGroupPopupMenu(VARIANT_BOOL newVal) = 0;
    // VARIANT_BOOL, the "Rename Group" menu entry; default true; any value taken.
    virtual HRESULT STDMETHODCALLTYPE get_EnableEditGroupLabels(VARIANT_BOOL *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_EnableEditGroupLabels(VARIANT_BOOL newVal) = 0;
    // VARIANT_BOOL, the "Add New Group" menu entry; default true; any value taken.
    virtual HRESULT STDMETHODCALLTYPE get_EnableAddGroups(VARIANT_BOOL *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_EnableAddGroups(VARIANT_BOOL newVal) = 0;
    // VARIANT_BOOL, the "Remove Group" menu entry; default true; any value taken.
    virtual HRESULT STDMETHODCALLTYPE get_EnableRemoveGroups(VARIANT_BOOL *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_EnableRemoveGroups(VARIANT_BOOL newVal) = 0;
    // VARIANT_BOOL, the rename-item menu entry; default true; any value taken.
    virtual HRESULT STDMETHODCALLTYPE get_EnableEditItemLabels(VARIANT_BOOL *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_EnableEditItemLabels(VARIANT_BOOL newVal) = 0;
    // VARIANT_BOOL, the "Add New Item" entry of the pane and button menus; default true; any value taken.
    virtual HRESULT STDMETHODCALLTYPE get_EnableAddItems(VARIANT_BOOL *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_EnableAddItems(VARIANT_BOOL newVal) = 0;
    // VARIANT_BOOL, the remove-item menu entry; default true; any value taken.
    virtual HRESULT STDMETHODCALLTYPE get_EnableRemoveItems(VARIANT_BOOL *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_EnableRemoveItems(VARIANT_BOOL newVal) = 0;
    // Vetoes the Before... event being raised; always S_OK.
    virtual HRESULT STDMETHODCALLTYPE CancelEvent() = 0;
    // Splitter position in pixels; -1 until the first layout sets half the width; any value taken, S_OK.
    virtual HRESULT STDMETHODCALLTYPE get_LeftPaneWidth(LONG *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_LeftPaneWidth(LONG newVal) = 0;
    // VARIANT_BOOL, the large/small icon menu entries; default true; any value taken.
    virtual HRESULT STDMETHODCALLTYPE get_EnableSetIconSizes(VARIANT_BOOL *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_EnableSetIconSizes(VARIANT_BOOL newVal) = 0;
    // VARIANT_BOOL, the hide-bar menu entry; default true; any value taken.
    virtual HRESULT STDMETHODCALLTYPE get_EnableHideNavrailBar(VARIANT_BOOL *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_EnableHideNavrailBar(VARIANT_BOOL newVal) = 0;
    // VARIANT_BOOL; default true; any value taken (kept and saved; the context menus do not read it).
    virtual HRESULT STDMETHODCALLTYPE get_EnableItemPopupMenu(VARIANT_BOOL *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_EnableItemPopupMenu(VARIANT_BOOL newVal) = 0;
    // VARIANT_BOOL, the open-item menu entry; default true; any value taken.
    virtual HRESULT STDMETHODCALLTYPE get_EnableOpenItem(VARIANT_BOOL *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_EnableOpenItem(VARIANT_BOOL newVal) = 0;
    // VARIANT_BOOL, the properties menu entry; default true; any value taken.
    virtual HRESULT STDMETHODCALLTYPE get_EnableProperties(VARIANT_BOOL *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_EnableProperties(VARIANT_BOOL newVal) = 0;
    // tagPaneDisplayConstants; default lzoNavrailBarRightPane; unknown values stored without effect, S_OK.
    virtual HRESULT STDMETHODCALLTYPE get_PaneDisplay(tagPaneDisplayConstants *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_PaneDisplay(tagPaneDisplayConstants newVal) = 0;
    // VARIANT_BOOL, the splitter cannot be dragged; default false; any value taken.
    virtual HRESULT STDMETHODCALLTYPE get_FreezePanes(VARIANT_BOOL *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_FreezePanes(VARIANT_BOOL newVal) = 0;
    // Displayed (else current) item or null; put: null ignored, LZNAVRAIL_E_INVALIDOBJECT if not in this bar.
    virtual HRESULT STDMETHODCALLTYPE get_CurrentItem(ILzNavrailItem **ppItem) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_CurrentItem(ILzNavrailItem *pItem) = 0;
    // IFontDisp of the captions; default the container's ambient font; null accepted; E_POINTER for a null out.
    virtual HRESULT STDMETHODCALLTYPE get_Font(IFontDisp **ppFont) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Font(IFontDisp *pFont) = 0;
    virtual HRESULT STDMETHODCALLTYPE putref_Font(IFontDisp *pFont) = 0;
    // Window handle of the runtime's handle table (read only); 0 while the control has no window.
    virtual HRESULT STDMETHODCALLTYPE get_hWnd(LONG *pHWnd) = 0;
    // Second splitter position in pixels; -1 until the first layout sets half the height; any value taken.
    virtual HRESULT STDMETHODCALLTYPE get_TopPaneHeight(LONG *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_TopPaneHeight(LONG newVal) = 0;
    // Item with this key in any group; S_OK with null when none has it; E_POINTER for a null out.
    virtual HRESULT STDMETHODCALLTYPE ItemFromKey(BSTR Key, ILzNavrailItem **ppItem) = 0;
    // VARIANT_BOOL; default true; any value taken (kept and saved; the splitters do not read it).
    virtual HRESULT STDMETHODCALLTYPE get_DynamicResize(VARIANT_BOOL *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_DynamicResize(VARIANT_BOOL newVal) = 0;
    // Image-list object (write only), its handle is read from it; null or no handle gives 0; S_OK.
    virtual HRESULT STDMETHODCALLTYPE put_SmallImageList(IDispatch *pImageList) = 0;
    // Image-list object (write only), its handle is read from it; null or no handle gives 0; S_OK.
    virtual HRESULT STDMETHODCALLTYPE put_LargeImageList(IDispatch *pImageList) = 0;
    // Image-list handle, 16-pixel icons; 0 until the window loads the built-in list; any value taken.
    virtual HRESULT STDMETHODCALLTYPE get_SmallHImageList(LONG *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_SmallHImageList(LONG newVal) = 0;
    // Image-list handle, 32-pixel icons; 0 until the window loads the built-in list; any value taken.
    virtual HRESULT STDMETHODCALLTYPE get_LargeHImageList(LONG *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_LargeHImageList(LONG newVal) = 0;
    // Image-list object for hot large icons (write only); null or no handle gives 0; S_OK.
    virtual HRESULT STDMETHODCALLTYPE put_LargeHotImageList(IDispatch *pImageList) = 0;
    // Image-list object for hot small icons (write only); null or no handle gives 0; S_OK.
    virtual HRESULT STDMETHODCALLTYPE put_SmallHotImageList(IDispatch *pImageList) = 0;
    // Image-list handle, hot large icons; default 0, the built-in large list once loaded; any value taken.
    virtual HRESULT STDMETHODCALLTYPE get_LargeHotHImageList(LONG *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_LargeHotHImageList(LONG newVal) = 0;
    // Image-list handle, hot small icons; default 0, the built-in small list once loaded; any value taken.
    virtual HRESULT STDMETHODCALLTYPE get_SmallHotHImageList(LONG *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_SmallHotHImageList(LONG newVal) = 0;
    // Image-list handle, active large icons (write only); default 0; any value taken.
    virtual HRESULT STDMETHODCALLTYPE put_LargeActiveHImageList(LONG newVal) = 0;
    // Image-list handle, active small icons; default 0; any value taken; E_POINTER for a null out.
    virtual HRESULT STDMETHODCALLTYPE get_SmallActiveHImageList(LONG *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_SmallActiveHImageList(LONG newVal) = 0;
    // VARIANT_BOOL; default false; any value taken (a hosted pop-up window becomes a child either way).
    virtual HRESULT STDMETHODCALLTYPE get_UseChildWindows(VARIANT_BOOL *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_UseChildWindows(VARIANT_BOOL newVal) = 0;
    // The tab collections of the results pane (read only); E_POINTER for a null out.
    virtual HRESULT STDMETHODCALLTYPE get_TabsSet(ILzTabsSet **ppTabsSet) = 0;
};

// The control's event interface (a dispinterface: sinks implement IDispatch).
struct _ILzNavrailBarEvents : IDispatch
{
    static constexpr IID iid = com::makeGuid("02587AFF-D0A5-11D2-9BB5-00A0CC3AD9F9");
    using base_type = IDispatch;
};

// The collections (ILzNavrailGroups, ILzNavrailItems, ILzTabsSet, ILzTabs) share these rules:
// - An Index of type VT_I2 or VT_I4 is a 0-based position; a string is always a key (also "2"); any
//   other type is converted to a position (VT_EMPTY is 0; no number gives DISP_E_TYPEMISMATCH).
// - A bad position answers LZNAVRAIL_E_INVALIDOBJECT and a null object; a key that matches nothing
//   answers S_OK and a null object, so check it. Keys compare exactly (case-sensitive) and nothing
//   keeps them unique: a duplicate key is accepted.
// - A collection whose bar went (so also the Items of a removed group) answers LZNAVRAIL_E_INVALIDOBJECT
//   to every member and changes nothing; no bar takes such a tab collection for an item's Tabs.
// - The out-parameter of Add, AddKey and Insert may be null; any other null out gives E_POINTER.
struct ILzNavrailGroups : IDispatch
{
    static constexpr IID iid = com::makeGuid("F9363B81-E6D1-11D2-9BB5-00A0CC3AD9E7");
    using base_type = IDispatch;
    // The group at a position or with a key (the first of equal keys; groups without a key never match).
    virtual HRESULT STDMETHODCALLTYPE Item(VARIANT Index, ILzNavrailGroup **ppGroup) = 0;
    // Number of groups, at most LZNAVRAIL_MAX_GROUPS (read); a put does nothing, S_OK (unlike Items.Count).
    virtual HRESULT STDMETHODCALLTYPE get_Count(LONG *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Count(LONG newVal) = 0;
    // Appends a group captioned Text and fires GroupAdded; LZNAVRAIL_E_INVALIDOBJECT when 150 exist.
    virtual HRESULT STDMETHODCALLTYPE Add(BSTR Text, ILzNavrailGroup **ppGroup) = 0;
    // As the bar's CurrentGroupIndex: 0-based open group; out of range or vetoed: ignored, S_OK.
    virtual HRESULT STDMETHODCALLTYPE get_CurrentGroupIndex(LONG *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_CurrentGroupIndex(LONG newVal) = 0;
    // The open group; LZNAVRAIL_E_INVALIDOBJECT with no group, or for a put of a group not in this bar.
    virtual HRESULT STDMETHODCALLTYPE get_CurrentGroup(ILzNavrailGroup **ppGroup) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_CurrentGroup(ILzNavrailGroup *pGroup) = 0;
    // 0-based position of that group object; -1 and LZNAVRAIL_E_INVALIDOBJECT when it is not in this bar.
    virtual HRESULT STDMETHODCALLTYPE IndexFromGroup(ILzNavrailGroup *pGroup, INT *pIndex) = 0;
    // Takes the group out (the one now at its place, or the new last, opens) and fires GroupDeleted; a group not
    // in this bar: LZNAVRAIL_E_INVALIDOBJECT.
    virtual HRESULT STDMETHODCALLTYPE Remove(ILzNavrailGroup *pGroup) = 0;
    // Removes every group: GroupDeleted for each, then ItemDeleted for each of its items; S_OK.
    virtual HRESULT STDMETHODCALLTYPE RemoveAll() = 0;
    // The first group with exactly this key; S_OK with null when none has it.
    virtual HRESULT STDMETHODCALLTYPE GroupFromKey(BSTR Key, ILzNavrailGroup **ppGroup) = 0;
    // Add, then sets Key (a GroupAdded handler still sees the group without it); errors as Add.
    virtual HRESULT STDMETHODCALLTYPE AddKey(BSTR Key, BSTR Text, ILzNavrailGroup **ppGroup) = 0;
};

struct ILzNavrailGroup : IDispatch
{
    static constexpr IID iid = com::makeGuid("22BE513B-E6B6-11D2-9BB5-00A0CC3AD9E7");
    using base_type = IDispatch;
    // Image-list handle for large icons; default 0; any value taken; E_POINTER for a null out.
    virtual HRESULT STDMETHODCALLTYPE get_LargeHImageList(LONG *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_LargeHImageList(LONG newVal) = 0;
    // Image-list handle for small icons; default 0; any value taken; E_POINTER for a null out.
    virtual HRESULT STDMETHODCALLTYPE get_SmallHImageList(LONG *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_SmallHImageList(LONG newVal) = 0;
    // Caption of the group button; default empty; any text taken; E_POINTER for a null out.
    virtual HRESULT STDMETHODCALLTYPE get_Text(BSTR *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Text(BSTR newVal) = 0;
    // The group's item collection (read only); E_POINTER for a null out.
    virtual HRESULT STDMETHODCALLTYPE get_Items(ILzNavrailItems **ppItems) = 0;
    // 0-based position in the bar (read only); 0 for a group no longer in the bar.
    virtual HRESULT STDMETHODCALLTYPE get_Index(LONG *pVal) = 0;
    // OLE_COLOR of the pane; default 61 (not set: the bar's BackColor); any value taken.
    virtual HRESULT STDMETHODCALLTYPE get_BackColor(OLE_COLOR *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_BackColor(OLE_COLOR newVal) = 0;
    // OLE_COLOR of the captions; default 61 (not set: the bar's TextColor); any value taken.
    virtual HRESULT STDMETHODCALLTYPE get_TextColor(OLE_COLOR *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_TextColor(OLE_COLOR newVal) = 0;
    // tagImageModeConstants; default lzoImageModeLarge; stored unchecked.
    virtual HRESULT STDMETHODCALLTYPE get_ImageMode(SHORT *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ImageMode(SHORT newVal) = 0;
    // Any VARIANT kept for the caller; default VT_EMPTY; a copy failure returns its HRESULT.
    virtual HRESULT STDMETHODCALLTYPE get_DataVariant(VARIANT *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_DataVariant(VARIANT newVal) = 0;
    // As the bar's CurrentItem; LZNAVRAIL_E_INVALIDOBJECT for a group no longer in a bar.
    virtual HRESULT STDMETHODCALLTYPE get_CurrentItem(ILzNavrailItem **ppItem) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_CurrentItem(ILzNavrailItem *pItem) = 0;
    // Opens the caption editor; LZNAVRAIL_E_INVALIDOBJECT once removed or outside a bar.
    virtual HRESULT STDMETHODCALLTYPE StartLabelEdit() = 0;
    // Closes the caption editor, keeping the text if nonzero; errors as StartLabelEdit.
    virtual HRESULT STDMETHODCALLTYPE EndLabelEdit(BOOL bAcceptChanges) = 0;
    // 0-based index of the top item; default 0; out of range: ignored, S_OK.
    virtual HRESULT STDMETHODCALLTYPE get_FirstVisibleItem(LONG *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_FirstVisibleItem(LONG newVal) = 0;
    // Whole items that fit in the pane (read only); 0 with no item or no pane.
    virtual HRESULT STDMETHODCALLTYPE get_VisibleItemCount(LONG *pVal) = 0;
    // Text key for GroupFromKey; default none (reads empty); any text taken.
    virtual HRESULT STDMETHODCALLTYPE get_Key(BSTR *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Key(BSTR newVal) = 0;
    // Image-list object for small icons (write only); null or no handle gives 0; S_OK.
    virtual HRESULT STDMETHODCALLTYPE put_SmallImageList(IDispatch *pImageList) = 0;
    // Image-list object for large icons (write only); null or no handle gives 0; S_OK.
    virtual HRESULT STDMETHODCALLTYPE put_LargeImageList(IDispatch *pImageList) = 0;
    // Picture object of the pane's background; default none; any object taken; E_POINTER for a null out.
    virtual HRESULT STDMETHODCALLTYPE get_Picture(IDispatch **ppPicture) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Picture(IDispatch *pPicture) = 0;
};

struct ILzNavrailItems : IDispatch
{
    static constexpr IID iid = com::makeGuid("FB5C21E1-E807-11D2-9BB5-00A0CC3AD9E7");
    using base_type = IDispatch;
    // The item at a position or with a key (the first of equal keys; items without a key never match).
    virtual HRESULT STDMETHODCALLTYPE Item(VARIANT Index, ILzNavrailItem **ppItem) = 0;
    // Appends an item captioned Text, Image stored unchecked, fires ItemAdded; LZNAVRAIL_E_INVALIDOBJECT at 500.
    virtual HRESULT STDMETHODCALLTYPE Add(BSTR Text, INT Image, ILzNavrailItem **ppItem) = 0;
    // 0-based position of that item object; -1 and LZNAVRAIL_E_INVALIDOBJECT when it is not in this group.
    virtual HRESULT STDMETHODCALLTYPE IndexFromItem(ILzNavrailItem *pItem, INT *pIndex) = 0;
    // Takes the item out, fires ItemDeleted, clears the bar's chosen item; not here: LZNAVRAIL_E_INVALIDOBJECT.
    virtual HRESULT STDMETHODCALLTYPE Remove(ILzNavrailItem *pItem) = 0;
    // Removes every item, the last first, firing ItemDeleted for each; S_OK.
    virtual HRESULT STDMETHODCALLTYPE RemoveAll() = 0;
    // Number of items; a larger put appends items captioned "Item" (image 0, ItemAdded for each), a put up to
    // the count does nothing, one above LZNAVRAIL_MAX_ITEMS gives LZNAVRAIL_E_INVALIDOBJECT.
    virtual HRESULT STDMETHODCALLTYPE get_Count(LONG *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Count(LONG newVal) = 0;
    // The first item of this group with exactly this key; S_OK with null when none has it.
    virtual HRESULT STDMETHODCALLTYPE ItemFromKey(BSTR Key, ILzNavrailItem **ppItem) = 0;
    // Add, then sets Key (an ItemAdded handler still sees the item without it); errors as Add.
    virtual HRESULT STDMETHODCALLTYPE AddKey(BSTR Key, BSTR Text, INT Image, ILzNavrailItem **ppItem) = 0;
};

struct ILzNavrailItem : IDispatch
{
    static constexpr IID iid = com::makeGuid("B658EBC1-E80F-11D2-9BB5-00A0CC3AD9E7");
    using base_type = IDispatch;
    // Window handle for the first view; default 0; unknown handles stored; E_POINTER for a null out.
    virtual HRESULT STDMETHODCALLTYPE get_WindowObject1(LONG *pHWnd) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_WindowObject1(LONG hWnd) = 0;
    // Window handle for the second view; default 0; unknown handles stored; E_POINTER for a null out.
    virtual HRESULT STDMETHODCALLTYPE get_WindowObject2(LONG *pHWnd) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_WindowObject2(LONG hWnd) = 0;
    // Object for the first view; default none; setting one clears WindowObject1; S_OK.
    virtual HRESULT STDMETHODCALLTYPE get_ActiveXObject1(IDispatch **ppObject) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ActiveXObject1(IDispatch *pObject) = 0;
    // Object for the second view; default none; setting one clears WindowObject2; S_OK.
    virtual HRESULT STDMETHODCALLTYPE get_ActiveXObject2(IDispatch **ppObject) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ActiveXObject2(IDispatch *pObject) = 0;
    // Any VARIANT kept for the caller; default VT_EMPTY; a copy failure returns its HRESULT.
    virtual HRESULT STDMETHODCALLTYPE get_DataVariant(VARIANT *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_DataVariant(VARIANT newVal) = 0;
    // Node object handed to a view's object on display; default none; any value taken, S_OK.
    virtual HRESULT STDMETHODCALLTYPE get_ExplorerNode(IDispatch **ppNode) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_ExplorerNode(IDispatch *pNode) = 0;
    // 0-based position in the group (read only); 0 for an item no longer in a group.
    virtual HRESULT STDMETHODCALLTYPE get_Index(LONG *pVal) = 0;
    // Opens the caption editor; LZNAVRAIL_E_INVALIDOBJECT once removed or outside a bar.
    virtual HRESULT STDMETHODCALLTYPE StartLabelEdit() = 0;
    // Closes the caption editor, keeping the text if nonzero; errors as StartLabelEdit.
    virtual HRESULT STDMETHODCALLTYPE EndLabelEdit(BOOL AcceptChanges) = 0;
    // Caption under the icon; default empty; any text taken; E_POINTER for a null out.
    virtual HRESULT STDMETHODCALLTYPE get_Text(BSTR *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Text(BSTR newVal) = 0;
    // Makes it the displayed item; LZNAVRAIL_E_INVALIDOBJECT for an item no longer in a group.
    virtual HRESULT STDMETHODCALLTYPE Display() = 0;
    // 0-based index into the image list in use; default 0; stored unchecked.
    virtual HRESULT STDMETHODCALLTYPE get_Image(LONG *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Image(LONG newVal) = 0;
    // Opens its group and scrolls it into view; LZNAVRAIL_E_INVALIDOBJECT for a removed item.
    virtual HRESULT STDMETHODCALLTYPE EnsureVisible() = 0;
    // Row height in pixels for the group's ImageMode (read only); E_POINTER for a null out.
    virtual HRESULT STDMETHODCALLTYPE get_Height(LONG *pVal) = 0;
    // Text key for ItemFromKey; default none (reads empty); any text taken.
    virtual HRESULT STDMETHODCALLTYPE get_Key(BSTR *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Key(BSTR newVal) = 0;
    // Tabs shown in the results pane; default none, null clears; LZNAVRAIL_E_INVALIDOBJECT: another bar's.
    virtual HRESULT STDMETHODCALLTYPE get_Tabs(ILzTabs **ppTabs) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Tabs(ILzTabs *pTabs) = 0;
};

struct ILzTab : IDispatch
{
    static constexpr IID iid = com::makeGuid("6AD29534-AA52-47FD-A41D-91FCB3843BFA");
    using base_type = IDispatch;
    // Caption on the strip; default empty; any text taken; a shown strip shows a change once rebuilt (TabStyle put).
    virtual HRESULT STDMETHODCALLTYPE get_Text(BSTR *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Text(BSTR newVal) = 0;
    // 0-based index into the collection's TabImageList; default 0; stored unchecked; shown as Text is.
    virtual HRESULT STDMETHODCALLTYPE get_Image(LONG *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Image(LONG newVal) = 0;
    // Text key for Tabs.Item; default empty (an empty key is a key too); any text taken, duplicates too.
    virtual HRESULT STDMETHODCALLTYPE get_Key(BSTR *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Key(BSTR newVal) = 0;
    // 0-based position in its collection, -1 when in none; a put does nothing, S_OK.
    virtual HRESULT STDMETHODCALLTYPE get_Index(LONG *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Index(LONG newVal) = 0;
};

struct ILzTabs : IDispatch
{
    static constexpr IID iid = com::makeGuid("43C8FE5F-068A-485F-BA17-F5E91E68C639");
    using base_type = IDispatch;
    // The tab at a position or with a key (the last of equal keys).
    virtual HRESULT STDMETHODCALLTYPE Item(VARIANT Index, ILzTab **ppTab) = 0;
    // Appends a tab (on a shown strip at once); the first tab of an empty collection becomes current; S_OK.
    virtual HRESULT STDMETHODCALLTYPE Add(BSTR Key, BSTR Text, INT Image, ILzTab **ppTab) = 0;
    // Number of tabs (read only).
    virtual HRESULT STDMETHODCALLTYPE get_Count(LONG *pVal) = 0;
    // The selected tab, S_OK with null when none; a put of null clears it, of a tab not in this collection
    // LZNAVRAIL_E_INVALIDOBJECT.
    virtual HRESULT STDMETHODCALLTYPE get_CurrentTab(ILzTab **ppTab) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_CurrentTab(ILzTab *pTab) = 0;
    // 0-based position of CurrentTab, 0 when none; a put naming no tab is ignored, S_OK.
    virtual HRESULT STDMETHODCALLTYPE get_CurrentTabIndex(LONG *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_CurrentTabIndex(LONG newVal) = 0;
    // Image-list handle for the tabs' Image; default 0; any value taken, passed to a shown strip at once.
    virtual HRESULT STDMETHODCALLTYPE get_TabImageList(LONG *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_TabImageList(LONG newVal) = 0;
    // tagTabStyle bits; default lzoTabsBottom (2); a put stores the bits | 0x8000 (no focus), rebuilds the strip.
    virtual HRESULT STDMETHODCALLTYPE get_TabStyle(LONG *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_TabStyle(LONG newVal) = 0;
    // Text key for TabsSet.Item; default the key given to TabsSet.Add; any text taken.
    virtual HRESULT STDMETHODCALLTYPE get_Key(BSTR *pVal) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Key(BSTR newVal) = 0;
    // Removes the tab given as object, position or key (the next one becomes current); no match or no tabs
    // S_OK, a tab object not in this collection LZNAVRAIL_E_INVALIDOBJECT.
    virtual HRESULT STDMETHODCALLTYPE Remove(VARIANT Index) = 0;
    // Inserts before the tab at BeforeIndex, 0..Count-1 (so never at the end: use Add); else LZNAVRAIL_E_INVALIDOBJECT.
    virtual HRESULT STDMETHODCALLTYPE Insert(INT BeforeIndex, BSTR Key, BSTR Text, INT Image, ILzTab **ppTab) = 0;
};

struct ILzTabsSet : IDispatch
{
    static constexpr IID iid = com::makeGuid("5287488B-46D9-419F-A0B6-E260D54E77AA");
    using base_type = IDispatch;
    // The collection at a position or with a key (the first of equal keys).
    virtual HRESULT STDMETHODCALLTYPE Item(VARIANT Index, ILzTabs **ppTabs) = 0;
    // Appends a new empty collection of this bar with that Key (duplicates accepted), for an Item's Tabs.
    virtual HRESULT STDMETHODCALLTYPE Add(BSTR Key, ILzTabs **ppTabs) = 0;
};

inline constexpr IID IID_ILzNavrailBar = ILzNavrailBar::iid;
inline constexpr IID DIID__ILzNavrailBarEvents = _ILzNavrailBarEvents::iid;
inline constexpr IID IID_ILzNavrailGroups = ILzNavrailGroups::iid;
inline constexpr IID IID_ILzNavrailGroup = ILzNavrailGroup::iid;
inline constexpr IID IID_ILzNavrailItems = ILzNavrailItems::iid;
inline constexpr IID IID_ILzNavrailItem = ILzNavrailItem::iid;
inline constexpr IID IID_ILzTabsSet = ILzTabsSet::iid;
inline constexpr IID IID_ILzTabs = ILzTabs::iid;
inline constexpr IID IID_ILzTab = ILzTab::iid;
