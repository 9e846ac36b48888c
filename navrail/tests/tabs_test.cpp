// Tab collections and the control's tab set.
#include "navrail_fixture.h"

using namespace navtest;

namespace {

ComPtr<ILzTabs> newTabs(ILzNavrailBar *bar, const QString &key)
{
    ComPtr<ILzTabsSet> set;
    EXPECT_EQ(bar->get_TabsSet(set.put()), S_OK);
    ComPtr<ILzTabs> tabs;
    EXPECT_EQ(set->Add(com::Bstr(key), tabs.put()), S_OK);
    return tabs;
}

ComPtr<ILzTab> add(ILzTabs *tabs, const QString &key, const QString &text)
{
    ComPtr<ILzTab> tab;
    EXPECT_EQ(tabs->Add(com::Bstr(key), com::Bstr(text), 0, tab.put()), S_OK);
    return tab;
}

QString textOf(ILzTab *tab)
{
    com::Bstr b;
    if (tab)
        tab->get_Text(b.put());
    return b.toString();
}

QString currentText(ILzTabs *tabs)
{
    ComPtr<ILzTab> tab;
    EXPECT_EQ(tabs->get_CurrentTab(tab.put()), S_OK);
    return tab ? textOf(tab.get()) : QStringLiteral("<none>");
}

QString order(ILzTabs *tabs)
{
    LONG n = 0;
    tabs->get_Count(&n);
    QString s;
    for (LONG i = 0; i < n; ++i) {
        ComPtr<ILzTab> tab;
        tabs->Item(i4(i), tab.put());
        s += textOf(tab.get());
    }
    return s;
}

} // namespace

TEST(Tabs, StyleKeepsTheNoFocusBit)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    ComPtr<ILzTabs> tabs = newTabs(bar.get(), QStringLiteral("t"));
    LONG style = 0;
    tabs->get_TabStyle(&style);
    EXPECT_EQ(style, lzoTabsBottom);
    ASSERT_EQ(tabs->put_TabStyle(lzoTabsBottom), S_OK);
    tabs->get_TabStyle(&style);
    EXPECT_EQ(style, 0x8002);
    ASSERT_EQ(tabs->put_TabStyle(lzoVertical), S_OK);
    tabs->get_TabStyle(&style);
    EXPECT_EQ(style, 0x8000 | lzoVertical);
}

TEST(Tabs, CurrentTabFollowsAddInsertAndRemove)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    ComPtr<ILzTabs> tabs = newTabs(bar.get(), QStringLiteral("t"));
    LONG index = -1;
    tabs->get_CurrentTabIndex(&index);
    EXPECT_EQ(index, 0) << "an empty collection reports 0";
    EXPECT_EQ(currentText(tabs.get()), QStringLiteral("<none>"));
    add(tabs.get(), QStringLiteral("a"), QStringLiteral("A"));
    EXPECT_EQ(currentText(tabs.get()), QStringLiteral("A")) << "the first Add becomes current";
    add(tabs.get(), QStringLiteral("b"), QStringLiteral("B"));
    EXPECT_EQ(currentText(tabs.get()), QStringLiteral("A"));

    // Insert outside 0..Count-1 inserts nothing and says so.
    for (INT bad : {2, -1, 99}) {
        SCOPED_TRACE(bad);
        ComPtr<ILzTab> none;
        EXPECT_EQ(tabs->Insert(bad, com::Bstr(QStringLiteral("x")), com::Bstr(QStringLiteral("X")), 0, none.put()),
                  LZNAVRAIL_E_INVALIDOBJECT);
        EXPECT_FALSE(none);
        EXPECT_EQ(order(tabs.get()), QStringLiteral("AB"));
    }
    ComPtr<ILzTab> zero;
    ASSERT_EQ(tabs->Insert(0, com::Bstr(QStringLiteral("z")), com::Bstr(QStringLiteral("Z")), 0, zero.put()), S_OK);
    EXPECT_EQ(order(tabs.get()), QStringLiteral("ZAB"));
    LONG pos = -1;
    zero->get_Index(&pos);
    EXPECT_EQ(pos, 0);

    // Removing the current, last tab makes the new last one current.
    ASSERT_EQ(tabs->put_CurrentTabIndex(2), S_OK);
    EXPECT_EQ(currentText(tabs.get()), QStringLiteral("B"));
    ASSERT_EQ(tabs->Remove(i4(2)), S_OK);
    EXPECT_EQ(currentText(tabs.get()), QStringLiteral("A"));
    // Removing the current tab in the middle makes its successor current.
    ASSERT_EQ(tabs->put_CurrentTabIndex(0), S_OK);
    ASSERT_EQ(tabs->Remove(com::Variant::dispatch(zero.get())), S_OK);
    EXPECT_EQ(currentText(tabs.get()), QStringLiteral("A"));
    zero->get_Index(&pos);
    EXPECT_EQ(pos, -1) << "a removed tab is in no collection";
    ASSERT_EQ(tabs->Remove(str(QStringLiteral("a"))), S_OK);
    EXPECT_EQ(currentText(tabs.get()), QStringLiteral("<none>"));
    EXPECT_EQ(tabs->Remove(i4(0)), S_OK) << "an empty collection ignores Remove";
}

TEST(Tabs, LookupAndObjectsFromElsewhere)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    ComPtr<ILzTabs> tabs = newTabs(bar.get(), QStringLiteral("t"));
    add(tabs.get(), QStringLiteral("a"), QStringLiteral("first"));
    add(tabs.get(), QStringLiteral("a"), QStringLiteral("second"));
    add(tabs.get(), QString(), QStringLiteral("empty"));
    ComPtr<ILzTab> tab;
    ASSERT_EQ(tabs->Item(str(QStringLiteral("a")), tab.put()), S_OK);
    EXPECT_EQ(textOf(tab.get()), QStringLiteral("second")) << "the last of equal keys";
    ASSERT_EQ(tabs->Item(str(QString()), tab.put()), S_OK);
    EXPECT_EQ(textOf(tab.get()), QStringLiteral("empty"));
    for (LONG bad : {-1, 3, 99}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(tabs->Item(i4(bad), tab.put()), LZNAVRAIL_E_INVALIDOBJECT) << "a bad position is an error";
        EXPECT_FALSE(tab);
    }
    ASSERT_EQ(tabs->Item(str(QStringLiteral("none")), tab.put()), S_OK) << "an unknown key finds nothing";
    EXPECT_FALSE(tab);
    EXPECT_EQ(tabs->Item(com::Variant::null(), tab.put()), DISP_E_TYPEMISMATCH);

    // A tab of another collection is not made current and not removed here.
    ComPtr<ILzTabs> other = newTabs(bar.get(), QStringLiteral("u"));
    ComPtr<ILzTab> foreign = add(other.get(), QStringLiteral("f"), QStringLiteral("F"));
    EXPECT_EQ(tabs->put_CurrentTab(foreign.get()), LZNAVRAIL_E_INVALIDOBJECT);
    EXPECT_EQ(currentText(tabs.get()), QStringLiteral("first"));
    EXPECT_EQ(tabs->Remove(com::Variant::dispatch(foreign.get())), LZNAVRAIL_E_INVALIDOBJECT);
    EXPECT_EQ(order(other.get()), QStringLiteral("F"));
}

TEST(Tabs, SetAndItemTabs)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    ComPtr<ILzTabs> t = newTabs(bar.get(), QStringLiteral("Fang"));
    ComPtr<ILzTabs> u = newTabs(bar.get(), QStringLiteral("Fang"));
    ComPtr<ILzTabsSet> set;
    bar->get_TabsSet(set.put());
    ComPtr<ILzTabs> found;
    ASSERT_EQ(set->Item(str(QStringLiteral("Fang")), found.put()), S_OK);
    EXPECT_TRUE(sameObject(found.get(), t.get())) << "the first collection of that key";
    ASSERT_EQ(set->Item(i2(1), found.put()), S_OK);
    EXPECT_TRUE(sameObject(found.get(), u.get()));
    ASSERT_EQ(set->Item(str(QStringLiteral("fang")), found.put()), S_OK);
    EXPECT_FALSE(found);
    for (LONG bad : {-1, 2}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(set->Item(i4(bad), found.put()), LZNAVRAIL_E_INVALIDOBJECT);
        EXPECT_FALSE(found);
    }

    ComPtr<ILzNavrailGroup> g = addGroup(bar.get(), QStringLiteral("G"));
    ComPtr<ILzNavrailItem> item = addItem(g.get(), QStringLiteral("Fangbuch"));
    ComPtr<ILzTabs> none;
    ASSERT_EQ(item->get_Tabs(none.put()), S_OK);
    EXPECT_FALSE(none);
    ASSERT_EQ(item->put_Tabs(t.get()), S_OK);
    ComPtr<ILzTabs> back;
    item->get_Tabs(back.put());
    EXPECT_TRUE(sameObject(back.get(), t.get()));
    // A collection of another control is refused.
    ComPtr<ILzNavrailBar> otherBar = createBar();
    ComPtr<ILzTabs> foreign = newTabs(otherBar.get(), QStringLiteral("x"));
    EXPECT_EQ(item->put_Tabs(foreign.get()), LZNAVRAIL_E_INVALIDOBJECT);
    // The set is released with the control; a collection an item holds is detached with it.
    bar.reset();
    ComPtr<ILzTab> late;
    EXPECT_EQ(t->Add(com::Bstr(QStringLiteral("a")), com::Bstr(QStringLiteral("A")), 0, late.put()),
              LZNAVRAIL_E_INVALIDOBJECT);
    ComPtr<ILzTabs> held;
    ASSERT_EQ(item->get_Tabs(held.put()), S_OK);
    EXPECT_TRUE(sameObject(held.get(), t.get()));
}
