// Groups and items: limits, lookups by position and key, removal and what it does to the current
// index and to the references the bar holds, objects from elsewhere handed to setters.
#include "navrail_fixture.h"

#include "ole/handles.h"

#include <QWidget>

using namespace navtest;

namespace {

// A bar with groups "G0".."Gn-1".
struct BarWithGroups
{
    explicit BarWithGroups(int n)
    {
        bar = createBar();
        groups = groupsOf(bar.get());
        for (int i = 0; i < n; ++i)
            list.push_back(addGroup(bar.get(), QStringLiteral("G%1").arg(i)));
    }
    ComPtr<ILzNavrailBar> bar;
    ComPtr<ILzNavrailGroups> groups;
    std::vector<ComPtr<ILzNavrailGroup>> list;
};

} // namespace

TEST(Groups, The151stGroupIsRefusedWithoutEvent)
{
    BarWithGroups b(0);
    EventRecorder rec(b.bar.get());
    for (int i = 0; i < LZNAVRAIL_MAX_GROUPS; ++i)
        addGroup(b.bar.get(), QStringLiteral("G%1").arg(i));
    rec.clear();
    ComPtr<ILzNavrailGroup> extra;
    EXPECT_EQ(b.groups->Add(com::Bstr(QStringLiteral("zu viel")), extra.put()), LZNAVRAIL_E_INVALIDOBJECT);
    EXPECT_EQ(b.groups->AddKey(com::Bstr(QStringLiteral("k")), com::Bstr(QStringLiteral("zu viel")), extra.put()),
              LZNAVRAIL_E_INVALIDOBJECT);
    EXPECT_FALSE(extra);
    EXPECT_TRUE(rec.events().empty());
    EXPECT_EQ(groupCount(b.bar.get()), LZNAVRAIL_MAX_GROUPS);
}

TEST(Items, The501stItemIsRefusedAndCountPutFollowsItsRules)
{
    BarWithGroups b(1);
    ComPtr<ILzNavrailItems> items = itemsOf(b.list[0].get());
    EventRecorder rec(b.bar.get());
    ASSERT_EQ(items->put_Count(5), S_OK);
    EXPECT_EQ(rec.count(DISPID_NBE_ItemAdded), 5);
    ComPtr<ILzNavrailItem> fifth;
    ASSERT_EQ(items->Item(i4(4), fifth.put()), S_OK);
    EXPECT_EQ(textOf(fifth.get()), QStringLiteral("Item"));
    for (LONG n : {3, 0, -1, 5}) {
        EXPECT_EQ(items->put_Count(n), S_OK);
        LONG count = 0;
        items->get_Count(&count);
        EXPECT_EQ(count, 5) << n;
    }
    EXPECT_EQ(items->put_Count(LZNAVRAIL_MAX_ITEMS + 1), LZNAVRAIL_E_INVALIDOBJECT);
    ASSERT_EQ(items->put_Count(LZNAVRAIL_MAX_ITEMS), S_OK);
    rec.clear();
    ComPtr<ILzNavrailItem> extra;
    EXPECT_EQ(items->Add(com::Bstr(QStringLiteral("zu viel")), 0, extra.put()), LZNAVRAIL_E_INVALIDOBJECT);
    EXPECT_FALSE(extra);
    EXPECT_TRUE(rec.events().empty());
}

TEST(Groups, LookupByPositionAndKey)
{
    BarWithGroups b(3);
    ASSERT_EQ(b.list[1]->put_Key(com::Bstr(QStringLiteral("ABC"))), S_OK);
    SHORT s1 = 1;
    LONG l1 = 1;
    VARIANT byRefShort{};
    byRefShort.vt = VT_BYREF | VT_I2;
    byRefShort.piVal = &s1;
    VARIANT byRefLong{};
    byRefLong.vt = VT_BYREF | VT_I4;
    byRefLong.plVal = &l1;
    struct Row
    {
        const char *what;
        com::Variant index;
        HRESULT hr;
        int expected;
    }; // expected -1: no object
    const Row rows[] = {
        {"2-byte 1", i2(1), S_OK, 1},
        {"4-byte 1", i4(1), S_OK, 1},
        {"by reference 2-byte", byRefShort, S_OK, 1},
        {"by reference 4-byte", byRefLong, S_OK, 1},
        {"double 2", com::Variant::r8(2.0), S_OK, 2},
        {"key", str(QStringLiteral("ABC")), S_OK, 1},
        {"key of other case", str(QStringLiteral("abc")), S_OK, -1},
        {"unknown key", str(QStringLiteral("xyz")), S_OK, -1},
        {"-1", i4(-1), LZNAVRAIL_E_INVALIDOBJECT, -1},
        {"Count", i4(3), LZNAVRAIL_E_INVALIDOBJECT, -1},
        {"null", com::Variant::null(), DISP_E_TYPEMISMATCH, -1},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.what);
        ComPtr<ILzNavrailGroup> g;
        EXPECT_EQ(b.groups->Item(r.index, g.put()), r.hr);
        if (r.expected < 0)
            EXPECT_FALSE(g);
        else
            EXPECT_TRUE(sameObject(g.get(), b.list[std::size_t(r.expected)].get()));
    }
    ComPtr<ILzNavrailGroup> byKey;
    EXPECT_EQ(b.groups->GroupFromKey(com::Bstr(QStringLiteral("abc")), byKey.put()), S_OK);
    EXPECT_FALSE(byKey);
    EXPECT_EQ(b.groups->GroupFromKey(com::Bstr(QStringLiteral("ABC")), byKey.put()), S_OK);
    EXPECT_TRUE(sameObject(byKey.get(), b.list[1].get()));
    // The default member through IDispatch, as a script writes Groups(2).
    com::Variant result;
    ASSERT_EQ(com::dispGet(b.groups.as<IDispatch>().get(), DISPID_VALUE, &result, {i4(2)}), S_OK);
    ASSERT_EQ(result.vt, VT_DISPATCH);
    EXPECT_TRUE(sameObject(result.pdispVal, b.list[2].get()));
    INT index = 0;
    EXPECT_EQ(b.groups->IndexFromGroup(b.list[2].get(), &index), S_OK);
    EXPECT_EQ(index, 2);
}

TEST(Items, LookupByPositionAndKey)
{
    BarWithGroups b(1);
    ComPtr<ILzNavrailItems> items = itemsOf(b.list[0].get());
    ComPtr<ILzNavrailItem> keyless = addItem(b.list[0].get(), QStringLiteral("ohne"));
    ComPtr<ILzNavrailItem> fangbuch = addItem(b.list[0].get(), QStringLiteral("Fangbuch"), QStringLiteral("Fangbuch"));
    ComPtr<ILzNavrailItem> a, c;
    EXPECT_EQ(items->Item(str(QStringLiteral("Fangbuch")), a.put()), S_OK);
    EXPECT_EQ(items->ItemFromKey(com::Bstr(QStringLiteral("Fangbuch")), c.put()), S_OK);
    EXPECT_TRUE(sameObject(a.get(), fangbuch.get()));
    EXPECT_TRUE(sameObject(c.get(), fangbuch.get()));
    EXPECT_EQ(items->Item(str(QStringLiteral("fangbuch")), a.put()), S_OK);
    EXPECT_FALSE(a);
    EXPECT_EQ(items->Item(str(QString()), a.put()), S_OK);
    EXPECT_FALSE(a) << "items without a key are skipped";
    EXPECT_EQ(items->Item(i2(0), a.put()), S_OK);
    EXPECT_TRUE(sameObject(a.get(), keyless.get()));
    EXPECT_EQ(items->Item(i4(2), a.put()), LZNAVRAIL_E_INVALIDOBJECT);
    LONG index = -1;
    fangbuch->get_Index(&index);
    EXPECT_EQ(index, 1);
}

TEST(Groups, RemoveMovesTheCurrentIndex)
{
    struct Row
    {
        int current;
        int removed;
        LONG expected;
    };
    const Row rows[] = {
        {0, 1, 1}, // the former third becomes current
        {0, 2, 1}, // removing the last makes the new last current
        {2, 0, 0},
        {1, 1, 1},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(testing::Message() << "current " << r.current << " removed " << r.removed);
        BarWithGroups b(3);
        ASSERT_EQ(b.bar->put_CurrentGroupIndex(r.current), S_OK);
        ASSERT_EQ(b.groups->Remove(b.list[std::size_t(r.removed)].get()), S_OK);
        EXPECT_EQ(currentGroupIndex(b.bar.get()), r.expected);
        EXPECT_EQ(groupCount(b.bar.get()), 2);
        LONG index = -1;
        b.list[std::size_t(r.removed)]->get_Index(&index);
        EXPECT_EQ(index, 0) << "a removed group reports 0";
    }
    BarWithGroups one(1);
    ASSERT_EQ(one.groups->Remove(one.list[0].get()), S_OK);
    EXPECT_EQ(currentGroupIndex(one.bar.get()), 0);
    EXPECT_EQ(one.groups->Remove(one.list[0].get()), LZNAVRAIL_E_INVALIDOBJECT) << "removed twice";
}

TEST(Groups, RemoveAllTakesEachGroupOutBeforeItsEvent)
{
    BarWithGroups b(3);
    addItem(b.list[1].get(), QStringLiteral("a"));
    ASSERT_EQ(b.bar->put_CurrentGroupIndex(2), S_OK);
    EventRecorder rec(b.bar.get());
    std::vector<LONG> countsSeen;
    rec.onEvent([&](const RecordedEvent &e) {
        if (e.dispid == DISPID_NBE_GroupDeleted)
            countsSeen.push_back(groupCount(b.bar.get()));
    });
    ASSERT_EQ(b.groups->RemoveAll(), S_OK);
    EXPECT_EQ(countsSeen, (std::vector<LONG>{2, 1, 0}));
    EXPECT_EQ(rec.dispids(), (std::vector<DISPID>{DISPID_NBE_GroupDeleted, DISPID_NBE_GroupDeleted,
                                                  DISPID_NBE_ItemDeleted, DISPID_NBE_GroupDeleted}));
    EXPECT_TRUE(sameObject(rec.events()[0].object(1), b.list[0].get()));
    EXPECT_EQ(groupCount(b.bar.get()), 0);
    EXPECT_EQ(currentGroupIndex(b.bar.get()), 0) << "no stale index after RemoveAll";
    // A group added afterwards is the current one and can be made current.
    ComPtr<ILzNavrailGroup> fresh = addGroup(b.bar.get(), QStringLiteral("neu"));
    ComPtr<ILzNavrailGroup> current;
    EXPECT_EQ(b.bar->get_CurrentGroup(current.put()), S_OK);
    EXPECT_TRUE(sameObject(current.get(), fresh.get()));
}

TEST(Items, RemovalClearsEveryReferenceOfTheBar)
{
    BarWithGroups b(2);
    ComPtr<ILzNavrailItem> item = addItem(b.list[0].get(), QStringLiteral("Fangbuch"), QStringLiteral("Fangbuch"));
    ComPtr<ILzNavrailItem> other = addItem(b.list[1].get(), QStringLiteral("Arbeit"));
    ASSERT_EQ(item->Display(), S_OK);
    ComPtr<ILzNavrailItem> current;
    b.bar->get_CurrentItem(current.put());
    ASSERT_TRUE(sameObject(current.get(), item.get()));
    ASSERT_EQ(itemsOf(b.list[0].get())->Remove(item.get()), S_OK);
    b.bar->get_CurrentItem(current.put());
    EXPECT_FALSE(current) << "the bar must not go on naming a removed item";
    ComPtr<ILzNavrailItem> found;
    EXPECT_EQ(b.bar->ItemFromKey(com::Bstr(QStringLiteral("Fangbuch")), found.put()), S_OK);
    EXPECT_FALSE(found);

    // The removed item and objects of another control are refused by the setters.
    EXPECT_EQ(item->Display(), LZNAVRAIL_E_INVALIDOBJECT);
    EXPECT_EQ(b.bar->put_CurrentItem(item.get()), LZNAVRAIL_E_INVALIDOBJECT);
    EXPECT_EQ(itemsOf(b.list[0].get())->Remove(item.get()), LZNAVRAIL_E_INVALIDOBJECT);
    BarWithGroups elsewhere(2);
    ComPtr<ILzNavrailItem> foreignItem = addItem(elsewhere.list[1].get(), QStringLiteral("x"));
    EXPECT_EQ(b.bar->put_CurrentItem(foreignItem.get()), LZNAVRAIL_E_INVALIDOBJECT);
    EXPECT_EQ(b.groups->put_CurrentGroup(elsewhere.list[1].get()), LZNAVRAIL_E_INVALIDOBJECT);
    EXPECT_EQ(b.groups->Remove(elsewhere.list[1].get()), LZNAVRAIL_E_INVALIDOBJECT);
    EXPECT_EQ(currentGroupIndex(b.bar.get()), 0);
    EXPECT_EQ(groupCount(elsewhere.bar.get()), 2);

    // Removing a group clears the current item when it belonged to that group.
    ASSERT_EQ(b.bar->put_CurrentItem(other.get()), S_OK);
    ASSERT_EQ(b.groups->Remove(b.list[1].get()), S_OK);
    b.bar->get_CurrentItem(current.put());
    EXPECT_FALSE(current);
    EXPECT_EQ(b.bar->put_CurrentGroup(b.list[1].get()), LZNAVRAIL_E_INVALIDOBJECT);
}

TEST(Items, HeightAndEnsureVisibleWithoutPane)
{
    BarWithGroups b(1);
    ComPtr<ILzNavrailItem> item = addItem(b.list[0].get(), QStringLiteral("a"));
    LONG height = 0;
    item->get_Height(&height);
    EXPECT_EQ(height, 64);
    ASSERT_EQ(b.list[0]->put_ImageMode(lzoImageModeSmall), S_OK);
    item->get_Height(&height);
    EXPECT_EQ(height, 24) << "the pane's pitch in small-icon mode";
    EXPECT_EQ(item->EnsureVisible(), S_OK);
    // FirstVisibleItem accepts positions of existing items only.
    addItem(b.list[0].get(), QStringLiteral("b"));
    EXPECT_EQ(b.list[0]->put_FirstVisibleItem(2), S_OK);
    LONG first = -1;
    b.list[0]->get_FirstVisibleItem(&first);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(b.list[0]->put_FirstVisibleItem(1), S_OK);
    b.list[0]->get_FirstVisibleItem(&first);
    EXPECT_EQ(first, 1);
}

TEST(Groups, PropertiesAndDataVariant)
{
    BarWithGroups b(1);
    ComPtr<ILzNavrailGroup> g = b.list[0];
    OLE_COLOR colour = 0;
    g->get_BackColor(&colour);
    EXPECT_EQ(colour, 61u) << "not set";
    LONG n = 0;
    short s = 0;
    ASSERT_EQ(g->put_DataVariant(str(QStringLiteral("daten"))), S_OK);
    com::Variant data;
    ASSERT_EQ(g->get_DataVariant(data.put()), S_OK);
    EXPECT_EQ(com::variantToString(data), QStringLiteral("daten"));
    LONG kept = 42;
    VARIANT byRef{};
    byRef.vt = VT_BYREF | VT_I4;
    byRef.plVal = &kept;
    ASSERT_EQ(g->put_DataVariant(byRef), S_OK);
    kept = 7;
    ASSERT_EQ(g->get_DataVariant(data.put()), S_OK);
    EXPECT_EQ(data.vt, VT_I4) << "a reference is stored as its value";
    EXPECT_EQ(data.lVal, 42);
    g->get_ImageMode(&s);
    EXPECT_EQ(s, lzoImageModeLarge);
    g->get_VisibleItemCount(&n);
    EXPECT_EQ(n, 0);
}

TEST(Items, ViewSlotsTakeWindowsAndObjects)
{
    BarWithGroups b(1);
    ComPtr<ILzNavrailItem> item = addItem(b.list[0].get(), QStringLiteral("Fangbuch"));
    QWidget owner;
    auto *form = new QWidget(&owner, Qt::Window); // a top-level window owned by another window
    form->show();
    const LONG handle = LONG(ole::handleFromWidget(form));
    ASSERT_EQ(item->put_WindowObject1(handle), S_OK);
    EXPECT_FALSE(form->isWindow()) << "it became a child window";
    EXPECT_EQ(form->parentWidget(), &owner);
    EXPECT_TRUE(form->isHidden()) << "hidden while the control's window is not shown";
    LONG back = 0;
    item->get_WindowObject1(&back);
    EXPECT_EQ(back, handle);

    // An object clears the slot's window; a window set afterwards leaves the object.
    ComPtr<ILzNavrailBar> object = createBar();
    ComPtr<IDispatch> objectDispatch = object.as<IDispatch>();
    ASSERT_EQ(item->put_ActiveXObject1(objectDispatch.get()), S_OK);
    item->get_WindowObject1(&back);
    EXPECT_EQ(back, 0);
    ASSERT_EQ(item->put_WindowObject1(handle), S_OK);
    ComPtr<IDispatch> kept;
    item->get_ActiveXObject1(kept.put());
    EXPECT_TRUE(sameObject(kept.get(), objectDispatch.get()));
    item->get_WindowObject1(&back);
    EXPECT_EQ(back, handle);
    ASSERT_EQ(item->put_ActiveXObject1(nullptr), S_OK);
    item->get_ActiveXObject1(kept.put());
    EXPECT_FALSE(kept);
}
