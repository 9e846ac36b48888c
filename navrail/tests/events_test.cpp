// Events reach every sink through IDispatch::Invoke with their DISPIDs and arguments; vetoable
// events are cancelled exactly by CancelEvent during their raising.
#include "navrail_fixture.h"

using namespace navtest;

TEST(Events, AddedAndDeletedCarryCollectionAndObject)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    EventRecorder rec(bar.get());
    ComPtr<ILzNavrailGroups> groups = groupsOf(bar.get());
    QString keySeen = QStringLiteral("<none>");
    rec.onEvent([&](const RecordedEvent &e) {
        if (e.dispid != DISPID_NBE_GroupAdded)
            return;
        ComPtr<ILzNavrailGroup> g;
        e.object(1)->QueryInterface(ILzNavrailGroup::iid, g.putVoid());
        com::Bstr key;
        g->get_Key(key.put());
        keySeen = key.toString();
    });
    ComPtr<ILzNavrailGroup> g = addGroup(bar.get(), QStringLiteral("System"), QStringLiteral("sys"));
    EXPECT_EQ(keySeen, QString()) << "AddKey sets the key after the event";
    ComPtr<ILzNavrailItems> items = itemsOf(g.get());
    ComPtr<ILzNavrailItem> a = addItem(g.get(), QStringLiteral("a"));
    ComPtr<ILzNavrailItem> b = addItem(g.get(), QStringLiteral("b"));
    ASSERT_EQ(items->Remove(a.get()), S_OK);
    addItem(g.get(), QStringLiteral("c"));
    std::vector<LONG> countsSeen;
    rec.onEvent([&](const RecordedEvent &e) {
        if (e.dispid == DISPID_NBE_ItemDeleted) {
            LONG n = -1;
            items->get_Count(&n);
            countsSeen.push_back(n);
        }
    });
    ASSERT_EQ(items->RemoveAll(), S_OK);

    const std::vector<DISPID> expected = {DISPID_NBE_GroupAdded,  DISPID_NBE_ItemAdded, DISPID_NBE_ItemAdded,
                                          DISPID_NBE_ItemDeleted, DISPID_NBE_ItemAdded, DISPID_NBE_ItemDeleted,
                                          DISPID_NBE_ItemDeleted};
    ASSERT_EQ(rec.dispids(), expected);
    const auto &ev = rec.events();
    for (const RecordedEvent &e : ev) {
        ASSERT_EQ(e.args.size(), 2u);
        EXPECT_EQ(e.args[0].vt, VT_DISPATCH);
        EXPECT_EQ(e.args[1].vt, VT_DISPATCH);
    }
    EXPECT_TRUE(sameObject(ev[0].object(0), groups.get()));
    EXPECT_TRUE(sameObject(ev[0].object(1), g.get()));
    EXPECT_TRUE(sameObject(ev[1].object(0), items.get()));
    EXPECT_TRUE(sameObject(ev[1].object(1), a.get()));
    EXPECT_TRUE(sameObject(ev[3].object(1), a.get()));
    // RemoveAll goes from the last item to the first, each taken out before its event.
    ComPtr<ILzNavrailItem> lastDeleted;
    ev[5].object(1)->QueryInterface(ILzNavrailItem::iid, lastDeleted.putVoid());
    EXPECT_EQ(textOf(lastDeleted.get()), QStringLiteral("c"));
    EXPECT_TRUE(sameObject(ev[6].object(1), b.get()));
    EXPECT_EQ(countsSeen, (std::vector<LONG>{1, 0}));
}

TEST(Events, BothSinksAreCalledAndTheFirstVetoes)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    addGroup(bar.get(), QStringLiteral("G0"));
    ComPtr<ILzNavrailGroup> g1 = addGroup(bar.get(), QStringLiteral("G1"));
    EventRecorder first(bar.get());
    EventRecorder second(bar.get());
    first.vetoOn(DISPID_NBE_BeforeGroupChange);
    EventRecorder::callLog().clear();
    ASSERT_EQ(bar->put_CurrentGroupIndex(1), S_OK);
    EXPECT_EQ(currentGroupIndex(bar.get()), 0) << "vetoed";
    const std::vector<std::pair<const EventRecorder *, DISPID>> expected = {{&first, DISPID_NBE_BeforeGroupChange},
                                                                            {&second, DISPID_NBE_BeforeGroupChange}};
    EXPECT_EQ(EventRecorder::callLog(), expected);
    ASSERT_EQ(second.events().size(), 1u);
    EXPECT_TRUE(sameObject(second.events()[0].object(0), g1.get()));
}

TEST(Events, GroupChangeOrderAndWhatCancelEventAffects)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    addGroup(bar.get(), QStringLiteral("G0"));
    ComPtr<ILzNavrailGroup> g1 = addGroup(bar.get(), QStringLiteral("G1"));
    EventRecorder rec(bar.get());
    // CancelEvent in AfterGroupChange has no effect on that change.
    rec.vetoOn(DISPID_NBE_AfterGroupChange);
    ASSERT_EQ(bar->put_CurrentGroupIndex(1), S_OK);
    EXPECT_EQ(currentGroupIndex(bar.get()), 1);
    EXPECT_EQ(rec.dispids(), (std::vector<DISPID>{DISPID_NBE_BeforeGroupChange, DISPID_NBE_AfterGroupChange}));
    EXPECT_TRUE(sameObject(rec.events()[1].object(0), g1.get()));
    // A flag left set outside a handler does not veto the next change (the site clears it first).
    ASSERT_EQ(bar->CancelEvent(), S_OK);
    ASSERT_EQ(bar->put_CurrentGroupIndex(0), S_OK);
    EXPECT_EQ(currentGroupIndex(bar.get()), 0);
    // Selecting the current group again raises both events again; an index outside is ignored.
    rec.clear();
    ASSERT_EQ(bar->put_CurrentGroupIndex(0), S_OK);
    ASSERT_EQ(bar->put_CurrentGroupIndex(2), S_OK);
    ASSERT_EQ(bar->put_CurrentGroupIndex(-1), S_OK);
    EXPECT_EQ(rec.dispids(), (std::vector<DISPID>{DISPID_NBE_BeforeGroupChange, DISPID_NBE_AfterGroupChange}));
    EXPECT_EQ(currentGroupIndex(bar.get()), 0);
}

TEST(Events, RemovingAGroupSelectsItsSuccessorThroughTheEvents)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    ComPtr<ILzNavrailGroup> g0 = addGroup(bar.get(), QStringLiteral("G0"));
    ComPtr<ILzNavrailGroup> g1 = addGroup(bar.get(), QStringLiteral("G1"));
    ComPtr<ILzNavrailGroup> g2 = addGroup(bar.get(), QStringLiteral("G2"));
    ASSERT_EQ(bar->put_CurrentGroupIndex(2), S_OK);
    EventRecorder rec(bar.get());
    rec.vetoOn(DISPID_NBE_BeforeGroupChange);
    ASSERT_EQ(groupsOf(bar.get())->Remove(g2.get()), S_OK);
    // The change to the new last group was vetoed: the index still names an existing group.
    EXPECT_EQ(rec.dispids(), (std::vector<DISPID>{DISPID_NBE_BeforeGroupChange, DISPID_NBE_GroupDeleted}));
    EXPECT_EQ(currentGroupIndex(bar.get()), 1);
    ComPtr<ILzNavrailGroup> current;
    EXPECT_EQ(bar->get_CurrentGroup(current.put()), S_OK);
    EXPECT_TRUE(sameObject(current.get(), g1.get()));
}

TEST(Events, PaneWidthChangedCarriesBothWidthsAsIntegers)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    EventRecorder rec(bar.get());
    ASSERT_EQ(bar->put_LeftPaneWidth(180), S_OK);
    ASSERT_EQ(rec.dispids(), (std::vector<DISPID>{DISPID_NBE_PaneWidthChanged}));
    const RecordedEvent &e = rec.events()[0];
    ASSERT_EQ(e.args.size(), 2u);
    EXPECT_EQ(e.args[0].vt, VT_I4);
    EXPECT_EQ(e.args[0].lVal, 180);
    EXPECT_EQ(e.args[1].vt, VT_I4);
    LONG left = 0;
    bar->get_LeftPaneWidth(&left);
    EXPECT_EQ(left, 180);
}

TEST(Events, ASinkThatRemovesObjectsDuringAnEventIsSafe)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    ComPtr<ILzNavrailGroup> g = addGroup(bar.get(), QStringLiteral("G0"));
    ComPtr<ILzNavrailItems> items = itemsOf(g.get());
    for (const char *t : {"a", "b", "c"})
        addItem(g.get(), QString::fromLatin1(t));
    EventRecorder rec(bar.get());
    // Each deletion removes the first item as well.
    rec.onEvent([&](const RecordedEvent &e) {
        if (e.dispid != DISPID_NBE_ItemDeleted)
            return;
        ComPtr<ILzNavrailItem> first;
        if (items->Item(i4(0), first.put()) == S_OK)
            items->Remove(first.get());
    });
    ASSERT_EQ(items->RemoveAll(), S_OK);
    LONG n = -1;
    items->get_Count(&n);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(rec.count(DISPID_NBE_ItemDeleted), 3);
    // A sink that removes the group being deleted from under RemoveAll.
    ComPtr<ILzNavrailGroups> groups = groupsOf(bar.get());
    addGroup(bar.get(), QStringLiteral("G1"));
    rec.onEvent([&](const RecordedEvent &e) {
        if (e.dispid != DISPID_NBE_GroupDeleted)
            return;
        ComPtr<ILzNavrailGroup> next;
        if (groups->Item(i4(0), next.put()) == S_OK)
            groups->Remove(next.get());
    });
    ASSERT_EQ(groups->RemoveAll(), S_OK);
    EXPECT_EQ(groupCount(bar.get()), 0);
}
