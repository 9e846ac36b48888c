// The control object: defaults, property round trips through both faces, ItemFromKey, object
// safety and class information, creation in a container, and teardown while the client still
// holds parts of the object model.
#include "navrail_fixture.h"

#include "ole/container.h"
#include "ole/handles.h"
#include "ole/imagelist.h"
#include "ole/olecolor.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <functional>
#include <limits>
#include <vector>

using namespace navtest;

namespace {

com::Variant getProperty(IDispatch *d, DISPID id)
{
    com::Variant v;
    EXPECT_EQ(com::dispGet(d, id, &v), S_OK) << "dispid " << id;
    return v;
}

LONG asLong(const VARIANT &v)
{
    com::Variant c;
    if (v.vt == VT_UI4)
        return LONG(v.ulVal);
    EXPECT_EQ(VariantChangeType(&c, &v, 0, VT_I4), S_OK);
    return c.lVal;
}

} // namespace

TEST(Control, DefaultsAsConstructed)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    ComPtr<IDispatch> d = bar.as<IDispatch>();
    struct Row
    {
        DISPID id;
        VARTYPE vt;
        LONG value;
    };
    const Row rows[] = {
        {DISPID_NB_BackColor, VT_I4, LONG(0x8000000C)},
        {DISPID_NB_TextColor, VT_I4, LONG(GetSysColor(COLOR_WINDOWTEXT))},
        {DISPID_NB_Appearance, VT_I4, lzoLight3D},
        {DISPID_NB_BorderWidth, VT_I2, 1},
        {DISPID_NB_SplitterWindow, VT_BOOL, VARIANT_TRUE},
        {DISPID_NB_SplitterWidth, VT_I2, 6},
        {DISPID_NB_SoundEffects, VT_BOOL, VARIANT_TRUE},
        {DISPID_NB_DynamicResize, VT_BOOL, VARIANT_TRUE},
        {DISPID_NB_UseChildWindows, VT_BOOL, VARIANT_FALSE},
        {DISPID_NB_PaneDisplay, VT_I4, lzoNavrailBarRightPane},
        {DISPID_NB_FreezePanes, VT_BOOL, VARIANT_FALSE},
        {DISPID_NB_CurrentGroupIndex, VT_I4, 0},
        {DISPID_NB_hWnd, VT_I4, 0},
        {DISPID_NB_SmallHImageList, VT_I4, 0},
        {DISPID_NB_LargeHImageList, VT_I4, 0},
        {DISPID_NB_SmallActiveHImageList, VT_I4, 0},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.id);
        com::Variant v = getProperty(d.get(), r.id);
        EXPECT_EQ(v.vt, r.vt);
        EXPECT_EQ(asLong(v), r.value);
    }
    // The twelve Enable flags start set (the stored value 1 reads back as true).
    for (DISPID id : {DISPID_NB_EnableGroupPopupMenu, DISPID_NB_EnableEditGroupLabels, DISPID_NB_EnableAddGroups,
                      DISPID_NB_EnableRemoveGroups, DISPID_NB_EnableEditItemLabels, DISPID_NB_EnableAddItems,
                      DISPID_NB_EnableRemoveItems, DISPID_NB_EnableSetIconSizes, DISPID_NB_EnableHideNavrailBar,
                      DISPID_NB_EnableItemPopupMenu, DISPID_NB_EnableOpenItem, DISPID_NB_EnableProperties}) {
        com::Variant v = getProperty(d.get(), id);
        EXPECT_EQ(v.vt, VT_BOOL) << id;
        EXPECT_NE(asLong(v), 0) << id;
    }
    ComPtr<ILzNavrailItem> current;
    EXPECT_EQ(bar->get_CurrentItem(current.put()), S_OK);
    EXPECT_FALSE(current) << "no item was clicked or displayed yet";
    ComPtr<ILzTabsSet> set;
    EXPECT_EQ(bar->get_TabsSet(set.put()), S_OK);
    EXPECT_TRUE(set);
}

TEST(Control, PropertiesRoundTripThroughBothFaces)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    ComPtr<IDispatch> d = bar.as<IDispatch>();
    struct Row
    {
        DISPID id;
        com::Variant put;
        LONG expected;
    };
    const Row rows[] = {
        {DISPID_NB_BackColor, i4(0x00112233), 0x00112233},
        {DISPID_NB_TextColor, i4(LONG(0x80000005)), LONG(0x80000005)},
        {DISPID_NB_Appearance, i4(lzoHeavy3D), lzoHeavy3D},
        {DISPID_NB_Appearance, i4(7), 7}, // no range check
        {DISPID_NB_BorderWidth, i2(0), 0},
        {DISPID_NB_SplitterWidth, i2(9), 9},
        {DISPID_NB_SoundEffects, com::Variant::boolean(false), 0},
        {DISPID_NB_SplitterWindow, com::Variant::boolean(false), 0},
        {DISPID_NB_PaneDisplay, i4(lzoRightPaneOnly), lzoRightPaneOnly},
        {DISPID_NB_UseChildWindows, com::Variant::boolean(true), VARIANT_TRUE},
        {DISPID_NB_DynamicResize, com::Variant::boolean(false), 0},
        {DISPID_NB_FreezePanes, com::Variant::boolean(true), VARIANT_TRUE},
        {DISPID_NB_TopPaneHeight, i4(120), 120},
        {DISPID_NB_LeftPaneWidth, i4(150), 150},
        {DISPID_NB_EnableAddGroups, com::Variant::boolean(false), 0},
        {DISPID_NB_EnableProperties, com::Variant::boolean(false), 0},
        {DISPID_NB_SmallHImageList, i4(0x5001), 0x5001},
        {DISPID_NB_LargeHotHImageList, i4(0x5002), 0x5002},
        {DISPID_NB_SmallActiveHImageList, i4(0x5003), 0x5003},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.id);
        ASSERT_EQ(com::dispPut(d.get(), r.id, r.put), S_OK);
        EXPECT_EQ(asLong(getProperty(d.get(), r.id)), r.expected);
    }
    // The vtable face sees the same fields; flags keep whatever value they are given.
    OLE_COLOR colour = 0;
    bar->get_BackColor(&colour);
    EXPECT_EQ(colour, 0x00112233u);
    ASSERT_EQ(bar->put_EnableRemoveItems(5), S_OK);
    VARIANT_BOOL flag = 0;
    bar->get_EnableRemoveItems(&flag);
    EXPECT_EQ(flag, 5);
    ASSERT_EQ(bar->put_BorderWidth(3), S_OK);
    EXPECT_EQ(asLong(getProperty(d.get(), DISPID_NB_BorderWidth)), 3);
}

TEST(Control, ImageListsFollowTheReplacedList)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    ASSERT_EQ(bar->put_SmallHImageList(11), S_OK); // hot and active follow the old (0) list
    LONG hot = 0, active = 0, small = 0;
    bar->get_SmallHotHImageList(&hot);
    bar->get_SmallActiveHImageList(&active);
    EXPECT_EQ(hot, 11);
    EXPECT_EQ(active, 11);
    ASSERT_EQ(bar->put_SmallHotHImageList(12), S_OK);
    ASSERT_EQ(bar->put_SmallHImageList(13), S_OK);
    bar->get_SmallHotHImageList(&hot);
    bar->get_SmallActiveHImageList(&active);
    bar->get_SmallHImageList(&small);
    EXPECT_EQ(hot, 12) << "a hot list of its own is kept";
    EXPECT_EQ(active, 13);
    EXPECT_EQ(small, 13);
    // An image-list object gives its handle through its property 5.
    ComPtr<IDispatch> listObject;
    ASSERT_EQ(ole::createImageListObject(0x7777, listObject.put()), S_OK);
    ASSERT_EQ(bar->put_LargeImageList(listObject.get()), S_OK);
    LONG large = 0;
    bar->get_LargeHImageList(&large);
    EXPECT_EQ(large, 0x7777);
}

TEST(Control, ItemFromKeySearchesGroupsInOrder)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    ComPtr<ILzNavrailGroup> system = addGroup(bar.get(), QStringLiteral("System"));
    ComPtr<ILzNavrailGroup> organisation = addGroup(bar.get(), QStringLiteral("Organisation"));
    addItem(organisation.get(), QStringLiteral("Fangbuch"), QStringLiteral("Fangbuch"));
    ComPtr<ILzNavrailItem> first = addItem(system.get(), QStringLiteral("Zugriff"), QStringLiteral("Fangbuch"));

    ComPtr<ILzNavrailItem> found;
    ASSERT_EQ(bar->ItemFromKey(com::Bstr(QStringLiteral("Fangbuch")), found.put()), S_OK);
    EXPECT_TRUE(sameObject(found.get(), first.get())) << "the lower group index wins";
    for (const char *key : {"fangbuch", "Fangbuc", "", "Kontakte"}) {
        ComPtr<ILzNavrailItem> none;
        EXPECT_EQ(bar->ItemFromKey(com::Bstr(QString::fromLatin1(key)), none.put()), S_OK) << key;
        EXPECT_FALSE(none) << key;
    }
    // Through IDispatch: no match gives success and an empty object.
    com::Variant result;
    ASSERT_EQ(com::dispCall(bar.as<IDispatch>().get(), DISPID_NB_ItemFromKey, {str(QStringLiteral("nix"))}, &result),
              S_OK);
    EXPECT_EQ(result.vt, VT_DISPATCH);
    EXPECT_EQ(result.pdispVal, nullptr);
}

TEST(Control, ObjectSafetyAndClassInformation)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    ComPtr<IObjectSafety> safety = bar.as<IObjectSafety>();
    ASSERT_TRUE(safety);
    DWORD supported = 9, enabled = 9;
    ASSERT_EQ(safety->GetInterfaceSafetyOptions(IDispatch::iid, &supported, &enabled), S_OK);
    EXPECT_EQ(supported, INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA);
    EXPECT_EQ(enabled, 0u);
    EXPECT_EQ(safety->SetInterfaceSafetyOptions(IDispatch::iid, INTERFACESAFE_FOR_UNTRUSTED_CALLER,
                                                INTERFACESAFE_FOR_UNTRUSTED_CALLER),
              S_OK);
    safety->GetInterfaceSafetyOptions(IPersistStreamInit::iid, &supported, &enabled);
    EXPECT_EQ(enabled, INTERFACESAFE_FOR_UNTRUSTED_CALLER);
    EXPECT_EQ(safety->SetInterfaceSafetyOptions(IDispatch::iid, 4, 4), E_FAIL);
    EXPECT_EQ(safety->SetInterfaceSafetyOptions(IStorage::iid, 1, 1), E_NOINTERFACE);
    EXPECT_EQ(safety->GetInterfaceSafetyOptions(IStorage::iid, &supported, &enabled), E_NOINTERFACE);

    ComPtr<IProvideClassInfo2> info = bar.as<IProvideClassInfo2>();
    ASSERT_TRUE(info);
    GUID source{};
    ASSERT_EQ(info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source), S_OK);
    EXPECT_EQ(source, DIID__ILzNavrailBarEvents);
    ComPtr<ITypeInfo> typeInfo;
    EXPECT_EQ(info->GetClassInfo(typeInfo.put()), S_OK);
}

TEST(Control, HostedInAContainerByClsidAndByProgId)
{
    for (int byProgId = 0; byProgId < 2; ++byProgId) {
        ole::ControlContainer container;
        container.resize(400, 300);
        ASSERT_EQ(byProgId ? container.createControl(QStringLiteral("NavrailBar.LzNavrailBar"))
                           : container.createControl(CLSID_LzNavrailBar),
                  S_OK);
        container.show();
        ComPtr<ILzNavrailBar> bar = container.control<ILzNavrailBar>();
        ASSERT_TRUE(bar);
        EXPECT_EQ(container.eventInterface(), DIID__ILzNavrailBarEvents);
        LONG hwnd = 0;
        bar->get_hWnd(&hwnd);
        ASSERT_NE(hwnd, 0);
        EXPECT_EQ(ole::widgetFromHandle(ole::Handle(hwnd)), container.controlWidget());
        ComPtr<IFontDisp> font;
        ASSERT_EQ(bar->get_Font(font.put()), S_OK);
        EXPECT_TRUE(font) << "the container's ambient font";

        // Displaying an item while the control is visible shows it in the results pane.
        std::vector<int> seen;
        container.setEventHandler([&](DISPID id, com::EventArgs &) { seen.push_back(id); });
        ComPtr<ILzNavrailGroup> g0 = addGroup(bar.get(), QStringLiteral("System"));
        ComPtr<ILzNavrailGroup> g1 = addGroup(bar.get(), QStringLiteral("Organisation"));
        ComPtr<ILzNavrailItem> item = addItem(g1.get(), QStringLiteral("Fangbuch"), QStringLiteral("Fangbuch"));
        seen.clear();
        ASSERT_EQ(item->Display(), S_OK);
        EXPECT_EQ(seen, (std::vector<int>{DISPID_NBE_BeforeGroupChange, DISPID_NBE_AfterGroupChange,
                                          DISPID_NBE_BeforeDisplayResultsPane}));
        EXPECT_EQ(currentGroupIndex(bar.get()), 1);
        ComPtr<ILzNavrailItem> current;
        bar->get_CurrentItem(current.put());
        EXPECT_TRUE(sameObject(current.get(), item.get()));
        container.destroyControl();
    }
}

TEST(Control, DisplayWhileHiddenOnlySelects)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    EventRecorder rec(bar.get());
    ComPtr<ILzNavrailGroup> g = addGroup(bar.get(), QStringLiteral("System"));
    ComPtr<ILzNavrailItem> item = addItem(g.get(), QStringLiteral("Zugriff"));
    rec.clear();
    ASSERT_EQ(item->Display(), S_OK);
    EXPECT_EQ(rec.count(DISPID_NBE_BeforeDisplayResultsPane), 0);
    // The selected item is what CurrentItem reports until something is displayed.
    ComPtr<ILzNavrailItem> current;
    bar->get_CurrentItem(current.put());
    EXPECT_TRUE(sameObject(current.get(), item.get()));
}

TEST(Control, TeardownLeavesHeldObjectsUsableOrFailingCleanly)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    ComPtr<ILzNavrailGroups> groups = groupsOf(bar.get());
    ComPtr<ILzNavrailGroup> group = addGroup(bar.get(), QStringLiteral("System"));
    ComPtr<ILzNavrailItem> item = addItem(group.get(), QStringLiteral("Zugriff"), QStringLiteral("Zugriff"));
    ComPtr<ILzTabsSet> set;
    bar->get_TabsSet(set.put());
    ComPtr<ILzTabs> tabs;
    ASSERT_EQ(set->Add(com::Bstr(QStringLiteral("t")), tabs.put()), S_OK);
    bar.reset(); // the control goes while the client holds the rest

    // The objects' own data stays; what needs the control fails (see the detached calls below).
    EXPECT_EQ(textOf(group.get()), QStringLiteral("System"));
    EXPECT_EQ(group->put_Text(com::Bstr(QStringLiteral("Neu"))), S_OK);
    ComPtr<ILzTab> tab;
    EXPECT_EQ(tabs->Add(com::Bstr(QStringLiteral("a")), com::Bstr(QStringLiteral("A")), 0, tab.put()),
              LZNAVRAIL_E_INVALIDOBJECT);
    EXPECT_FALSE(tab);
}

// One result for every call on an object that left its control: a removed group's items, and
// the collections, groups and items a client still holds after the control went. The calls go
// through the vtable and, for the collections' properties, through IDispatch as well.
TEST(Control, EveryCallOnADetachedObjectFailsWithTheOneResult)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    ComPtr<ILzNavrailGroups> groups = groupsOf(bar.get());
    ComPtr<ILzNavrailGroup> group = addGroup(bar.get(), QStringLiteral("System"), QStringLiteral("System"));
    ComPtr<ILzNavrailItem> item = addItem(group.get(), QStringLiteral("Zugriff"), QStringLiteral("Zugriff"));
    ComPtr<ILzNavrailGroup> removed = addGroup(bar.get(), QStringLiteral("Weg"));
    ComPtr<ILzNavrailItem> removedsItem = addItem(removed.get(), QStringLiteral("Alt"), QStringLiteral("Alt"));
    ComPtr<ILzNavrailItems> removedItems = itemsOf(removed.get());
    ComPtr<ILzTabsSet> set;
    bar->get_TabsSet(set.put());
    ComPtr<ILzTabs> tabs;
    ASSERT_EQ(set->Add(com::Bstr(QStringLiteral("t")), tabs.put()), S_OK);
    ComPtr<ILzTab> tab;
    ASSERT_EQ(tabs->Add(com::Bstr(QStringLiteral("a")), com::Bstr(QStringLiteral("A")), 0, tab.put()), S_OK);
    ASSERT_EQ(groups->Remove(removed.get()), S_OK);

    const com::Bstr x(QStringLiteral("x"));
    auto dispCount = [](IUnknown *o, DISPID id) {
        com::Variant v;
        return com::dispGet(ComPtr<IUnknown>(o).as<IDispatch>().get(), id, &v);
    };
    struct Case
    {
        const char *call;
        std::function<HRESULT()> run;
    };
    const std::vector<Case> removedGroup = {
        {"Items.Add",
         [&] {
             ComPtr<ILzNavrailItem> a;
             return removedItems->Add(x, 0, a.put());
         }},
        {"Items.AddKey",
         [&] {
             ComPtr<ILzNavrailItem> a;
             return removedItems->AddKey(x, x, 0, a.put());
         }},
        {"Items.Count",
         [&] {
             LONG n = 7;
             HRESULT hr = removedItems->get_Count(&n);
             return n == 0 ? hr : E_FAIL;
         }},
        {"Items.Count through IDispatch", [&] { return dispCount(removedItems.get(), DISPID_NIS_Count); }},
        {"Items.Count put", [&] { return removedItems->put_Count(3); }},
        {"Items.Item",
         [&] {
             ComPtr<ILzNavrailItem> a;
             return removedItems->Item(com::Variant::i4(0), a.put());
         }},
        {"Items.ItemFromKey",
         [&] {
             ComPtr<ILzNavrailItem> a;
             return removedItems->ItemFromKey(com::Bstr(QStringLiteral("Alt")), a.put());
         }},
        {"Items.IndexFromItem",
         [&] {
             INT i = 0;
             return removedItems->IndexFromItem(removedsItem.get(), &i);
         }},
        {"Items.Remove", [&] { return removedItems->Remove(removedsItem.get()); }},
        {"Items.RemoveAll", [&] { return removedItems->RemoveAll(); }},
        {"Group.CurrentItem",
         [&] {
             ComPtr<ILzNavrailItem> a;
             return removed->get_CurrentItem(a.put());
         }},
        {"Group.StartLabelEdit", [&] { return removed->StartLabelEdit(); }},
        {"Item.Display", [&] { return removedsItem->Display(); }},
        {"Item.EnsureVisible", [&] { return removedsItem->EnsureVisible(); }},
        {"Item.StartLabelEdit", [&] { return removedsItem->StartLabelEdit(); }},
    };
    for (const Case &c : removedGroup) {
        SCOPED_TRACE(c.call);
        EXPECT_EQ(c.run(), LZNAVRAIL_E_INVALIDOBJECT);
    }
    EXPECT_EQ(textOf(removed.get()), QStringLiteral("Weg")) << "a removed group keeps its own data";

    bar.reset(); // the control goes while the client holds the rest
    const std::vector<Case> afterTeardown = {
        {"TabsSet.Add",
         [&] {
             ComPtr<ILzTabs> t;
             return set->Add(x, t.put());
         }},
        {"TabsSet.Item",
         [&] {
             ComPtr<ILzTabs> t;
             return set->Item(com::Variant::i4(0), t.put());
         }},
        {"Groups.Add",
         [&] {
             ComPtr<ILzNavrailGroup> g;
             return groups->Add(x, g.put());
         }},
        {"Groups.AddKey",
         [&] {
             ComPtr<ILzNavrailGroup> g;
             return groups->AddKey(x, x, g.put());
         }},
        {"Groups.Count",
         [&] {
             LONG n = 7;
             HRESULT hr = groups->get_Count(&n);
             return n == 0 ? hr : E_FAIL;
         }},
        {"Groups.Count through IDispatch", [&] { return dispCount(groups.get(), DISPID_NGS_Count); }},
        {"Groups.Count put", [&] { return groups->put_Count(2); }},
        {"Groups.Item",
         [&] {
             ComPtr<ILzNavrailGroup> g;
             return groups->Item(com::Variant::i4(0), g.put());
         }},
        {"Groups.GroupFromKey",
         [&] {
             ComPtr<ILzNavrailGroup> g;
             return groups->GroupFromKey(com::Bstr(QStringLiteral("System")), g.put());
         }},
        {"Groups.IndexFromGroup",
         [&] {
             INT i = 0;
             return groups->IndexFromGroup(group.get(), &i);
         }},
        {"Groups.CurrentGroupIndex",
         [&] {
             LONG i = 0;
             return groups->get_CurrentGroupIndex(&i);
         }},
        {"Groups.CurrentGroupIndex put", [&] { return groups->put_CurrentGroupIndex(0); }},
        {"Groups.CurrentGroup",
         [&] {
             ComPtr<ILzNavrailGroup> g;
             return groups->get_CurrentGroup(g.put());
         }},
        {"Groups.CurrentGroup put", [&] { return groups->put_CurrentGroup(group.get()); }},
        {"Groups.Remove", [&] { return groups->Remove(group.get()); }},
        {"Groups.RemoveAll", [&] { return groups->RemoveAll(); }},
        {"Group.CurrentItem",
         [&] {
             ComPtr<ILzNavrailItem> a;
             return group->get_CurrentItem(a.put());
         }},
        {"Group.CurrentItem put", [&] { return group->put_CurrentItem(item.get()); }},
        {"Group.StartLabelEdit", [&] { return group->StartLabelEdit(); }},
        {"Group.EndLabelEdit", [&] { return group->EndLabelEdit(TRUE); }},
        {"Items.Add",
         [&] {
             ComPtr<ILzNavrailItem> a;
             return itemsOf(group.get())->Add(x, 0, a.put());
         }},
        {"Items.Count",
         [&] {
             LONG n = 0;
             return itemsOf(group.get())->get_Count(&n);
         }},
        {"Item.Display", [&] { return item->Display(); }},
        {"Item.EnsureVisible", [&] { return item->EnsureVisible(); }},
        {"Item.StartLabelEdit", [&] { return item->StartLabelEdit(); }},
        {"Item.EndLabelEdit", [&] { return item->EndLabelEdit(TRUE); }},
        {"Tabs.Item",
         [&] {
             ComPtr<ILzTab> t;
             return tabs->Item(com::Variant::i4(0), t.put());
         }},
        {"Tabs.Item by key",
         [&] {
             ComPtr<ILzTab> t;
             return tabs->Item(com::Variant::string(QStringLiteral("a")), t.put());
         }},
        {"Tabs.Add",
         [&] {
             ComPtr<ILzTab> t;
             return tabs->Add(x, x, 0, t.put());
         }},
        {"Tabs.Insert",
         [&] {
             ComPtr<ILzTab> t;
             return tabs->Insert(0, x, x, 0, t.put());
         }},
        {"Tabs.Remove", [&] { return tabs->Remove(com::Variant::i4(0)); }},
        {"Tabs.Count",
         [&] {
             LONG n = 7;
             HRESULT hr = tabs->get_Count(&n);
             return n == 0 ? hr : E_FAIL;
         }},
        {"Tabs.Count through IDispatch", [&] { return dispCount(tabs.get(), DISPID_TABS_Count); }},
        {"Tabs.CurrentTab",
         [&] {
             ComPtr<ILzTab> t;
             return tabs->get_CurrentTab(t.put());
         }},
        {"Tabs.CurrentTab put", [&] { return tabs->put_CurrentTab(tab.get()); }},
        {"Tabs.CurrentTabIndex",
         [&] {
             LONG i = 0;
             return tabs->get_CurrentTabIndex(&i);
         }},
        {"Tabs.CurrentTabIndex put", [&] { return tabs->put_CurrentTabIndex(0); }},
        {"Tabs.TabImageList",
         [&] {
             LONG h = 0;
             return tabs->get_TabImageList(&h);
         }},
        {"Tabs.TabImageList put", [&] { return tabs->put_TabImageList(5); }},
        {"Tabs.TabStyle",
         [&] {
             LONG st = 0;
             return tabs->get_TabStyle(&st);
         }},
        {"Tabs.TabStyle put", [&] { return tabs->put_TabStyle(lzoMultiLine); }},
        {"Tabs.Key",
         [&] {
             com::Bstr k;
             return tabs->get_Key(k.put());
         }},
        {"Tabs.Key put", [&] { return tabs->put_Key(x); }},
    };
    for (const Case &c : afterTeardown) {
        SCOPED_TRACE(c.call);
        EXPECT_EQ(c.run(), LZNAVRAIL_E_INVALIDOBJECT);
    }
    EXPECT_EQ(textOf(item.get()), QStringLiteral("Zugriff")) << "an item keeps its own data";
    LONG at = -1;
    EXPECT_EQ(tab->get_Index(&at), S_OK);
    EXPECT_EQ(at, 0) << "a tab keeps its own data";

    // Another bar does not take the detached collection, so it shows no strip there.
    ComPtr<ILzNavrailBar> second = createBar();
    ComPtr<ILzNavrailItem> there = addItem(addGroup(second.get(), QStringLiteral("G")).get(), QStringLiteral("I"));
    EXPECT_EQ(there->put_Tabs(tabs.get()), LZNAVRAIL_E_INVALIDOBJECT);
    ComPtr<ILzTabs> shown;
    ASSERT_EQ(there->get_Tabs(shown.put()), S_OK);
    EXPECT_FALSE(shown);
}

// A container draws the control that has no window through IViewObject: the rectangle in the back
// colour, a sunken edge around it, the control's name centred in the text colour; nothing outside.
TEST(Control, DrawnWithoutAWindowItShowsBackColourSunkenEdgeAndName)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    ASSERT_EQ(bar->put_BackColor(0x00664422), S_OK); // BGR: rgb(0x22, 0x44, 0x66)
    ASSERT_EQ(bar->put_TextColor(0x00FFFFFF), S_OK);
    ComPtr<IViewObject> view = bar.as<IViewObject>();
    ASSERT_TRUE(view);

    const QRgb outside = qRgb(1, 2, 3);
    QImage image(200, 80, QImage::Format_RGB32);
    image.fill(outside);
    const RECTL bounds{10, 10, 190, 70};
    constexpr LONG kMin = std::numeric_limits<LONG>::min(), kMax = std::numeric_limits<LONG>::max();
    const RECTL inverted{190, 10, 10, 70};
    const RECTL tooWide{-2, 10, kMax, 70};
    const RECTL tooHigh{10, kMin, 190, 1};
    const RECTL huge{-2147483647, -2147483647, 2147483647, 2147483647};
    {
        QPainter painter(&image);
        const struct
        {
            const char *name;
            DWORD aspect;
            HDC dc;
            const RECTL *bounds;
            HRESULT expected;
        } refused[] = {
            {"icon aspect", 4, &painter, &bounds, DV_E_DVASPECT},
            {"no surface", DVASPECT_CONTENT, nullptr, &bounds, E_INVALIDARG},
            {"no rectangle", DVASPECT_CONTENT, &painter, nullptr, E_INVALIDARG},
            {"inverted", DVASPECT_CONTENT, &painter, &inverted, E_INVALIDARG},
            {"wider than an int holds", DVASPECT_CONTENT, &painter, &tooWide, E_INVALIDARG},
            {"higher than an int holds", DVASPECT_CONTENT, &painter, &tooHigh, E_INVALIDARG},
            {"both", DVASPECT_CONTENT, &painter, &huge, E_INVALIDARG},
        };
        for (const auto &c : refused) {
            SCOPED_TRACE(c.name);
            EXPECT_EQ(view->Draw(c.aspect, -1, nullptr, nullptr, nullptr, c.dc, c.bounds, nullptr, nullptr, 0),
                      c.expected);
        }
        ASSERT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, &painter, &bounds, nullptr, nullptr, 0),
                  S_OK);
    }

    const QRgb back = qRgb(0x22, 0x44, 0x66);
    auto sys = [](int index) { return ole::colorFromOle(0x80000000u | unsigned(index)).rgb(); };
    const struct
    {
        const char *where;
        QPoint at;
        QRgb expected;
    } pixels[] = {
        {"outside, left", {9, 40}, outside},
        {"outside, below", {100, 70}, outside},
        {"outer ring, left: shadow", {10, 40}, sys(16)},
        {"inner ring, left: dark shadow", {11, 40}, sys(21)},
        {"outer ring, top: shadow", {100, 10}, sys(16)},
        {"outer ring, right: highlight", {189, 40}, sys(20)},
        {"inner ring, right: light", {188, 40}, sys(22)},
        {"outer ring, bottom: highlight", {100, 69}, sys(20)},
        {"inside, top left", {13, 13}, back},
        {"inside, bottom right", {186, 66}, back},
    };
    for (const auto &p : pixels) {
        SCOPED_TRACE(p.where);
        EXPECT_EQ(image.pixel(p.at), p.expected);
    }

    // The name: the pixels that are neither back colour nor edge, centred in the rectangle below
    // its top two pixels.
    QRect text;
    for (int y = 12; y < 68; ++y)
        for (int x = 12; x < 188; ++x)
            if (image.pixel(x, y) != back)
                text |= QRect(x, y, 1, 1);
    ASSERT_FALSE(text.isEmpty()) << "no text drawn";
    EXPECT_GT(text.width(), 40);
    EXPECT_NEAR(text.center().x(), 100, 3);
    EXPECT_NEAR(text.center().y(), (12 + 70) / 2, 4);
    int white = 0;
    for (int y = text.top(); y <= text.bottom(); ++y)
        for (int x = text.left(); x <= text.right(); ++x)
            white += image.pixel(x, y) == qRgb(255, 255, 255);
    EXPECT_GT(white, 0) << "the name is drawn in TextColor";
}

// Bounds at the ends of the int range whose width and height an int holds are drawn, clipped
// to the surface; empty ones draw nothing.
TEST(Control, DrawnWithBoundsAtTheEndsOfTheIntRange)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    ASSERT_EQ(bar->put_BackColor(0x00664422), S_OK);
    ComPtr<IViewObject> view = bar.as<IViewObject>();
    constexpr LONG kMin = std::numeric_limits<LONG>::min(), kMax = std::numeric_limits<LONG>::max();
    const QRgb outside = qRgb(1, 2, 3), back = qRgb(0x22, 0x44, 0x66);
    const struct
    {
        const char *name;
        RECTL bounds;
        QRgb inside; // a pixel of the surface away from the placeholder text, afterwards
    } cases[] = {
        {"from the lowest int", {kMin, kMin, -1, -1}, outside},
        {"to the highest int", {0, 0, kMax, kMax}, back},
        {"round the surface, as wide as an int holds", {-1073741823, -1073741823, 1073741824, 1073741824}, back},
        {"empty at the lowest int", {kMin, kMin, kMin, kMin}, outside},
        {"empty at the highest int", {kMax, kMax, kMax, kMax}, outside},
        {"one pixel at the highest int", {kMax - 1, kMax - 1, kMax, kMax}, outside},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QImage image(60, 40, QImage::Format_RGB32);
        image.fill(outside);
        {
            QPainter painter(&image);
            EXPECT_EQ(
                view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, &painter, &c.bounds, nullptr, nullptr, 0),
                S_OK);
        }
        EXPECT_EQ(image.pixel(30, 35), c.inside);
    }
}

// With its window the control draws what the window shows.
TEST(Control, DrawnWithItsWindowItShowsTheWindow)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    addGroup(bar.get(), QStringLiteral("System"));
    QWidget parent;
    QWidget *w = nullptr;
    ASSERT_EQ(bar.as<IQtControl>()->Activate(&parent, &w), S_OK);
    ASSERT_TRUE(w);
    w->resize(120, 100);
    const QImage shown = w->grab().toImage().convertToFormat(QImage::Format_RGB32);

    QImage image(120, 100, QImage::Format_RGB32);
    image.fill(qRgb(1, 2, 3));
    const RECTL bounds{0, 0, 120, 100};
    {
        QPainter painter(&image);
        ASSERT_EQ(bar.as<IViewObject>()->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, &painter, &bounds,
                                              nullptr, nullptr, 0),
                  S_OK);
    }
    EXPECT_EQ(image, shown.scaled(image.size()));
}

// The first drawing displays the current item once, with or without a window: without one the
// bar turns to the item's group.
TEST(Control, TheFirstDrawingWithoutAWindowDisplaysTheCurrentItemOnce)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    addGroup(bar.get(), QStringLiteral("Stamm"));
    ComPtr<ILzNavrailGroup> second = addGroup(bar.get(), QStringLiteral("Fang"));
    ComPtr<ILzNavrailItem> item = addItem(second.get(), QStringLiteral("Fangbuch"));
    ASSERT_EQ(bar->put_CurrentItem(item.get()), S_OK);
    ASSERT_EQ(bar->put_CurrentGroupIndex(0), S_OK);
    ComPtr<IViewObject> view = bar.as<IViewObject>();
    QImage image(100, 40, QImage::Format_RGB32);
    const RECTL bounds{0, 0, 100, 40};
    auto draw = [&] {
        QPainter painter(&image);
        return view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, &painter, &bounds, nullptr, nullptr, 0);
    };
    ASSERT_EQ(draw(), S_OK);
    EXPECT_EQ(currentGroupIndex(bar.get()), 1);
    ASSERT_EQ(bar->put_CurrentGroupIndex(0), S_OK);
    ASSERT_EQ(draw(), S_OK);
    EXPECT_EQ(currentGroupIndex(bar.get()), 0) << "only the first drawing displays";
}
