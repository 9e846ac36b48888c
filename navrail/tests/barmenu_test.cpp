// The context menus of the bar: which entries the Enable flags give, the events around them, and
// each command with and without a veto of MenuCommand. Menus are opened with right clicks and
// answered the way a user does, by clicking an entry of the popup (or pressing Escape).
#include "window_fixture.h"

#include "ole/handles.h"
#include "ole/menu.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>

#include <functional>

using namespace navtest;

namespace {

// One entry of a popup as the user saw it.
struct Entry
{
    UINT id = 0;
    QString text;
    bool separator = false;
    bool checkable = false;
    bool checked = false;
    bool hasIcon = false;
};

// Answers the next popup menu: records its entries, then clicks the entry with the given
// identifier (0: dismisses it with Escape).
class MenuAnswer
{
public:
    explicit MenuAnswer(UINT choose) : choose_(choose)
    {
        // Bound to the guard: an answer that outlives no menu never fires into a later one.
        QTimer::singleShot(0, &guard_, [this] { answer(); });
    }
    bool shown() const { return shown_; }
    const std::vector<Entry> &entries() const { return entries_; }
    std::vector<UINT> ids() const
    {
        std::vector<UINT> r;
        for (const Entry &e : entries_)
            r.push_back(e.id);
        return r;
    }
    const Entry *entry(UINT id) const
    {
        for (const Entry &e : entries_)
            if (e.id == id)
                return &e;
        return nullptr;
    }

private:
    void answer()
    {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return; // no menu came up
        shown_ = true;
        for (QAction *a : menu->actions())
            entries_.push_back({ole::menuItemId(a), a->text(), a->isSeparator(), a->isCheckable(), a->isChecked(),
                                !a->icon().isNull()});
        QAction *target = choose_ ? ole::findMenuItem(menu, choose_) : nullptr;
        if (!target) {
            QTest::keyClick(menu, Qt::Key_Escape);
            return;
        }
        const QPoint at = menu->actionGeometry(target).center();
        QTest::mouseMove(menu, at);
        QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, at);
    }

    UINT choose_;
    bool shown_ = false;
    std::vector<Entry> entries_;
    QObject guard_;
};

class MenuTest : public WindowFixture
{
protected:
    // Two groups of three items each in a bar 200 wide and 400 high beside the results pane
    // (large icons: item i at y = 4 + 64 i).
    void SetUp() override
    {
        activate(500, 400);
        bar->put_SplitterWindow(VARIANT_TRUE);
        bar->put_LeftPaneWidth(200);
        for (int g = 0; g < 2; ++g) {
            groups.push_back(addGroup(bar.get(), QStringLiteral("Gruppe %1").arg(g)));
            for (int i = 0; i < 3; ++i)
                addItem(groups.back().get(), QStringLiteral("Eintrag %1.%2").arg(g).arg(i));
        }
        settle();
    }

    ComPtr<ILzNavrailItem> item(int g, int i)
    {
        ComPtr<ILzNavrailItem> it;
        itemsOf(groups[std::size_t(g)].get())->Item(i4(i), it.put());
        return it;
    }
    static QPoint itemPoint(QWidget *pane, int i) { return QPoint(pane->width() / 2, 4 + 64 * i + 16); }
    static QPoint emptyPoint(QWidget *pane) { return QPoint(4, pane->height() - 4); }

    void rightClickPane() { QTest::mouseClick(openPane(), Qt::RightButton, Qt::NoModifier, emptyPoint(openPane())); }
    void rightClickItem(int i)
    {
        QTest::mouseClick(openPane(), Qt::RightButton, Qt::NoModifier, itemPoint(openPane(), i));
    }
    void rightClickButton(int g) { QTest::mouseClick(buttons()[g], Qt::RightButton, Qt::NoModifier, QPoint(20, 10)); }

    void allFlags(VARIANT_BOOL v)
    {
        using Put = HRESULT (STDMETHODCALLTYPE ILzNavrailBar::*)(VARIANT_BOOL);
        for (Put put : {&ILzNavrailBar::put_EnableGroupPopupMenu, &ILzNavrailBar::put_EnableEditGroupLabels,
                        &ILzNavrailBar::put_EnableAddGroups, &ILzNavrailBar::put_EnableRemoveGroups,
                        &ILzNavrailBar::put_EnableEditItemLabels, &ILzNavrailBar::put_EnableAddItems,
                        &ILzNavrailBar::put_EnableRemoveItems, &ILzNavrailBar::put_EnableSetIconSizes,
                        &ILzNavrailBar::put_EnableHideNavrailBar, &ILzNavrailBar::put_EnableItemPopupMenu,
                        &ILzNavrailBar::put_EnableOpenItem, &ILzNavrailBar::put_EnableProperties})
            (bar.get()->*put)(v);
    }

    // The open label edit box, if any.
    QLineEdit *editBox() const
    {
        for (QLineEdit *box : control->findChildren<QLineEdit *>(QStringLiteral("lzNavrailLabelEdit")))
            if (box->isVisible())
                return box;
        return nullptr; // boxes of ended edits are hidden until they are deleted
    }

    std::vector<ComPtr<ILzNavrailGroup>> groups;
};

const DISPID kMenuCommand = DISPID_NBE_MenuCommand;
const DISPID kBuildMenu = DISPID_NBE_BuildMenu;

// ---- which entries ---------------------------------------------------------------------------

TEST_F(MenuTest, EntriesFollowTheFlagsAndTheImageMode)
{
    struct Case
    {
        const char *name;
        std::function<void()> setup;
        int kind; // 1 pane, 2 button, 3 item
        std::vector<UINT> ids;
    };
    auto only = [this](HRESULT (STDMETHODCALLTYPE ILzNavrailBar::*put)(VARIANT_BOOL)) {
        return [this, put] {
            allFlags(VARIANT_FALSE);
            (bar.get()->*put)(VARIANT_TRUE);
        };
    };
    const std::vector<Case> cases = {
        {"pane, all flags", [] {}, 1, {1287, 1288, 103, 1281, 1282, 1283, 1284, 103, 1290}},
        {"button, all flags", [] {}, 2, {1287, 1288, 103, 1281, 1282, 1283, 1284, 103, 1290}},
        {"item, all flags", [] {}, 3, {1291, 1285, 1286, 103, 1289}},
        {"pane, icon sizes only", only(&ILzNavrailBar::put_EnableSetIconSizes), 1, {1287, 1288}},
        {"pane, hide only", only(&ILzNavrailBar::put_EnableHideNavrailBar), 1, {103, 1290}},
        {"pane, rename group only", only(&ILzNavrailBar::put_EnableEditGroupLabels), 1, {1282}},
        {"item, properties only", only(&ILzNavrailBar::put_EnableProperties), 3, {103, 1289}},
        {"pane, popup flags off change nothing",
         [this] {
             bar->put_EnableGroupPopupMenu(VARIANT_FALSE);
             bar->put_EnableItemPopupMenu(VARIANT_FALSE);
         },
         1,
         {1287, 1288, 103, 1281, 1282, 1283, 1284, 103, 1290}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        allFlags(VARIANT_TRUE);
        c.setup();
        EventRecorder events(bar.get());
        MenuAnswer answer(0);
        if (c.kind == 1)
            rightClickPane();
        else if (c.kind == 2)
            rightClickButton(1);
        else
            rightClickItem(1);
        settle();
        EXPECT_TRUE(answer.shown());
        EXPECT_EQ(answer.ids(), c.ids);
        ASSERT_EQ(events.count(kBuildMenu), 1);
        EXPECT_EQ(events.count(kMenuCommand), 0) << "a dismissed menu runs nothing";
    }
}

TEST_F(MenuTest, TextsAndCheckMarksOfTheIconEntries)
{
    {
        MenuAnswer pane(0);
        rightClickPane();
        ASSERT_TRUE(pane.shown());
        const std::vector<QString> texts = {QStringLiteral("&Large Icons"),
                                            QStringLiteral("&Small Icons"),
                                            QString(),
                                            QStringLiteral("&Add New Group"),
                                            QStringLiteral("&Rename Group"),
                                            QStringLiteral("R&emove Group"),
                                            QStringLiteral("&Add New Item"),
                                            QString(),
                                            QStringLiteral("&Hide Navrail Bar")};
        ASSERT_EQ(pane.entries().size(), texts.size());
        for (std::size_t i = 0; i < texts.size(); ++i)
            EXPECT_EQ(pane.entries()[i].text, texts[i]) << i;
        EXPECT_TRUE(pane.entry(1287)->checked) << "large icons are the group's mode";
        EXPECT_FALSE(pane.entry(1288)->checked);
        EXPECT_TRUE(pane.entry(1287)->hasIcon);
        EXPECT_TRUE(pane.entry(1288)->hasIcon);
    }
    groups[0]->put_ImageMode(lzoImageModeSmall);
    {
        MenuAnswer pane(0);
        rightClickPane();
        EXPECT_FALSE(pane.entry(1287)->checked);
        EXPECT_TRUE(pane.entry(1288)->checked) << "the mark follows the current group's mode";
    }
    {
        MenuAnswer button(0);
        rightClickButton(0);
        ASSERT_TRUE(button.shown());
        EXPECT_EQ(button.entry(1287)->text, QStringLiteral("Large Icons"));
        EXPECT_EQ(button.entry(1288)->text, QStringLiteral("Small Icons"));
        EXPECT_FALSE(button.entry(1288)->checked) << "the button menu marks nothing";
        EXPECT_FALSE(button.entry(1288)->checkable);
        EXPECT_TRUE(button.entry(1288)->hasIcon) << "its entries carry the images all the same";
    }
    groups[0]->put_ImageMode(lzoImageModeLarge);
    {
        MenuAnswer it(0);
        rightClickItem(0);
        const std::vector<QString> texts = {QStringLiteral("&Open"), QStringLiteral("&Rename Item"),
                                            QStringLiteral("R&emove Item"), QString(), QStringLiteral("&Properties")};
        ASSERT_EQ(it.entries().size(), texts.size());
        for (std::size_t i = 0; i < texts.size(); ++i)
            EXPECT_EQ(it.entries()[i].text, texts[i]) << i;
    }
}

TEST_F(MenuTest, NoMenuWithoutFlagsButTheRightClickEventsAllTheSame)
{
    allFlags(VARIANT_FALSE);
    EventRecorder events(bar.get());
    for (int kind = 1; kind <= 3; ++kind) {
        SCOPED_TRACE(kind);
        events.clear();
        MenuAnswer answer(0);
        kind == 1 ? rightClickPane() : kind == 2 ? rightClickButton(0) : rightClickItem(0);
        settle();
        EXPECT_FALSE(answer.shown());
        EXPECT_EQ(events.count(kBuildMenu), 0);
        const DISPID rightClick = kind == 1   ? DISPID_NBE_PaneRightClick
                                  : kind == 2 ? DISPID_NBE_GroupButtonRightClick
                                              : DISPID_NBE_ItemRightClick;
        EXPECT_EQ(events.count(rightClick), 1);
    }
    // Add Items alone builds no pane menu, but an (otherwise empty) item menu.
    bar->put_EnableAddItems(VARIANT_TRUE);
    events.clear();
    {
        MenuAnswer pane(0);
        rightClickPane();
        settle();
        EXPECT_EQ(events.count(kBuildMenu), 0);
    }
    groups[0]->put_ImageMode(lzoImageModeLarge);
    {
        MenuAnswer it(0);
        rightClickItem(0);
        settle();
        ASSERT_EQ(events.count(kBuildMenu), 1);
        EXPECT_EQ(events.events().back().args[0].lVal, lzoItemClickMenu);
        EXPECT_FALSE(it.shown()) << "an empty menu is not shown";
    }
}

TEST_F(MenuTest, BuildMenuReportsKindHandleGroupAndItemAndCanVeto)
{
    EventRecorder events(bar.get());
    QMenu *seen = nullptr;
    events.onEvent([&](const RecordedEvent &e) {
        if (e.dispid == kBuildMenu)
            seen = ole::menuFromHandle(ole::Handle(e.args[1].lVal));
    });
    {
        MenuAnswer answer(0);
        rightClickItem(2);
    }
    ASSERT_EQ(events.count(kBuildMenu), 1);
    const RecordedEvent &build = events.events().back();
    EXPECT_EQ(build.args[0].lVal, lzoItemClickMenu);
    EXPECT_NE(seen, nullptr) << "the handle names the menu while the event runs";
    EXPECT_TRUE(sameObject(build.object(2), groups[0].get()));
    EXPECT_TRUE(sameObject(build.object(3), item(0, 2).get()));
    EXPECT_EQ(ole::menuFromHandle(ole::Handle(build.args[1].lVal)), nullptr) << "the menu is gone afterwards";

    // A veto of the right click builds nothing; a veto of BuildMenu shows nothing.
    events.clear();
    events.vetoOn(DISPID_NBE_ItemRightClick);
    {
        MenuAnswer answer(1286);
        rightClickItem(0);
        settle();
        EXPECT_FALSE(answer.shown());
    }
    EXPECT_EQ(events.count(kBuildMenu), 0);
    EventRecorder vetoBuild(bar.get());
    vetoBuild.vetoOn(kBuildMenu);
    events.clear();
    {
        MenuAnswer answer(1283);
        rightClickPane();
        settle();
        EXPECT_FALSE(answer.shown());
    }
    EXPECT_EQ(events.count(kBuildMenu), 1);
    EXPECT_EQ(groupCount(bar.get()), 2);
}

TEST_F(MenuTest, AHandlersOwnEntryAnnouncesItsIdentifier)
{
    EventRecorder events(bar.get());
    events.onEvent([](const RecordedEvent &e) {
        if (e.dispid == kBuildMenu)
            ole::appendMenuItem(ole::menuFromHandle(ole::Handle(e.args[1].lVal)), 5000, QStringLiteral("Eigenes"));
    });
    MenuAnswer answer(5000);
    rightClickItem(1);
    settle();
    ASSERT_TRUE(answer.shown());
    EXPECT_EQ(answer.entries().back().text, QStringLiteral("Eigenes"));
    ASSERT_EQ(events.count(kMenuCommand), 1);
    const RecordedEvent &cmd = events.events().back();
    EXPECT_EQ(cmd.dispid, kMenuCommand);
    EXPECT_EQ(cmd.args[0].lVal, 5000);
    EXPECT_TRUE(sameObject(cmd.object(1), groups[0].get()));
    EXPECT_TRUE(sameObject(cmd.object(2), item(0, 1).get()));
}

// ---- the commands, with and without a veto -------------------------------------------------------

TEST_F(MenuTest, EachCommandRunsUnlessMenuCommandIsVetoed)
{
    enum Open { Pane, Button1, Item1 };
    struct Case
    {
        const char *name;
        Open open;
        UINT id;
        bool group, item; // which objects MenuCommand reports
        std::function<void(bool ran)> check;
    };
    const std::vector<Case> cases = {
        {"add group", Pane, 1281, false, false,
         [this](bool ran) {
             EXPECT_EQ(groupCount(bar.get()), ran ? 3 : 2);
             if (ran) {
                 ComPtr<ILzNavrailGroup> added;
                 groupsOf(bar.get())->Item(i4(2), added.put());
                 EXPECT_EQ(textOf(added.get()), QStringLiteral("New Group"));
                 ASSERT_TRUE(editBox()) << "the new group's label is edited at once";
                 EXPECT_EQ(editBox()->parentWidget(), buttons()[2]);
             }
         }},
        {"rename group (button of group 1)", Button1, 1282, true, false,
         [this](bool ran) {
             EXPECT_EQ(editBox() != nullptr, ran);
             if (ran) {
                 EXPECT_EQ(editBox()->parentWidget(), buttons()[1]) << "the right-clicked group, not the current";
             }
         }},
        {"remove group (button of group 1)", Button1, 1283, true, false,
         [this](bool ran) {
             EXPECT_EQ(groupCount(bar.get()), ran ? 1 : 2);
             if (ran) {
                 ComPtr<ILzNavrailGroup> left;
                 groupsOf(bar.get())->Item(i4(0), left.put());
                 EXPECT_TRUE(sameObject(left.get(), groups[0].get()));
             }
         }},
        {"add item (button of group 1)", Button1, 1284, true, false,
         [this](bool ran) {
             LONG n0 = 0, n1 = 0;
             itemsOf(groups[0].get())->get_Count(&n0);
             itemsOf(groups[1].get())->get_Count(&n1);
             EXPECT_EQ(n0, 3);
             EXPECT_EQ(n1, ran ? 4 : 3) << "into the right-clicked group";
             if (ran) {
                 EXPECT_EQ(textOf(item(1, 3).get()), QStringLiteral("New Item"));
             }
         }},
        {"rename item", Item1, 1285, true, true,
         [this](bool ran) {
             EXPECT_EQ(editBox() != nullptr, ran);
             if (ran) {
                 EXPECT_EQ(editBox()->text(), QStringLiteral("Eintrag 0.1"));
             }
         }},
        {"remove item", Item1, 1286, true, true,
         [this](bool ran) {
             LONG n = 0;
             itemsOf(groups[0].get())->get_Count(&n);
             EXPECT_EQ(n, ran ? 2 : 3);
             if (ran) {
                 EXPECT_EQ(textOf(item(0, 1).get()), QStringLiteral("Eintrag 0.2"));
             }
         }},
        {"small icons", Pane, 1288, true, false,
         [this](bool ran) {
             SHORT mode = -1;
             groups[0]->get_ImageMode(&mode);
             EXPECT_EQ(mode, ran ? lzoImageModeSmall : lzoImageModeLarge);
         }},
        {"hide the bar", Pane, 1290, true, false,
         [this](bool ran) {
             tagPaneDisplayConstants d = lzoNavrailBarOnly;
             bar->get_PaneDisplay(&d);
             EXPECT_EQ(d, ran ? lzoRightPaneOnly : lzoNavrailBarRightPane);
             EXPECT_EQ(barWidget()->isVisible(), !ran);
         }},
        {"properties", Item1, 1289, true, true, [](bool) {}},
        {"open", Item1, 1291, true, true, [](bool) {}}, // events checked below
    };
    for (const Case &c : cases) {
        for (bool veto : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (veto ? ", vetoed" : ""));
            TearDown();
            bar = createBar();
            groups.clear();
            SetUp();
            EventRecorder events(bar.get());
            if (veto)
                events.vetoOn(kMenuCommand);
            {
                MenuAnswer answer(c.id);
                c.open == Pane ? rightClickPane() : c.open == Button1 ? rightClickButton(1) : rightClickItem(1);
                settle();
                ASSERT_TRUE(answer.shown());
            }
            ASSERT_EQ(events.count(kMenuCommand), 1);
            const RecordedEvent *cmd = nullptr;
            for (const RecordedEvent &e : events.events())
                if (e.dispid == kMenuCommand)
                    cmd = &e;
            EXPECT_EQ(cmd->args[0].lVal, LONG(c.id));
            EXPECT_EQ(cmd->object(1) != nullptr, c.group);
            EXPECT_EQ(cmd->object(2) != nullptr, c.item);
            c.check(!veto);
            if (c.id == 1291) {
                EXPECT_EQ(events.count(DISPID_NBE_ItemClick), veto ? 0 : 1);
                EXPECT_EQ(events.count(DISPID_NBE_AfterItemChange), veto ? 0 : 1);
            }
        }
    }
}

TEST_F(MenuTest, OpenRunsItemClickThenTheChangeEvents)
{
    EventRecorder events(bar.get());
    {
        MenuAnswer answer(1291);
        rightClickItem(2);
    }
    settle();
    std::vector<DISPID> after;
    bool seenCommand = false;
    for (DISPID d : events.dispids()) {
        if (d == kMenuCommand)
            seenCommand = true;
        else if (seenCommand)
            after.push_back(d);
    }
    EXPECT_EQ(after, (std::vector<DISPID>{DISPID_NBE_ItemClick, DISPID_NBE_BeforeItemChange,
                                          DISPID_NBE_BeforeDisplayResultsPane, DISPID_NBE_AfterItemChange}));

    // A veto of ItemClick ends the command there.
    events.clear();
    events.vetoOn(DISPID_NBE_ItemClick);
    {
        MenuAnswer answer(1291);
        rightClickItem(0);
    }
    settle();
    EXPECT_EQ(events.count(DISPID_NBE_BeforeItemChange), 0);
    EXPECT_EQ(events.count(DISPID_NBE_AfterItemChange), 0);
}

TEST_F(MenuTest, OpenWithoutTheSplitterWindowRaisesNothing)
{
    bar->put_SplitterWindow(VARIANT_FALSE);
    settle();
    EventRecorder events(bar.get());
    {
        MenuAnswer answer(1291);
        rightClickItem(1);
        settle();
        ASSERT_TRUE(answer.shown());
    }
    EXPECT_EQ(events.count(kMenuCommand), 0);
    EXPECT_EQ(events.count(DISPID_NBE_ItemClick), 0);
    // A plain click still raises ItemClick.
    QTest::mouseClick(openPane(), Qt::LeftButton, Qt::NoModifier, itemPoint(openPane(), 1));
    EXPECT_EQ(events.count(DISPID_NBE_ItemClick), 1);
}

TEST_F(MenuTest, AVetoedRemoveKeepsTheGroupAndARemovedGroupTakesNoMoreCommands)
{
    EventRecorder events(bar.get());
    events.vetoOn(kMenuCommand);
    {
        MenuAnswer answer(1283);
        rightClickButton(1);
    }
    EXPECT_EQ(groupCount(bar.get()), 2);

    // The group a menu was opened on goes while the menu is open: its group commands do nothing,
    // rather than reaching the current group.
    EventRecorder remover(bar.get());
    remover.onEvent([&](const RecordedEvent &e) {
        if (e.dispid == kBuildMenu)
            groupsOf(bar.get())->Remove(groups[1].get());
    });
    events.clear();
    for (UINT id : {1282u, 1283u, 1284u}) {
        SCOPED_TRACE(id);
        if (groupCount(bar.get()) == 1) {
            groups.resize(1);
            groups.push_back(addGroup(bar.get(), QStringLiteral("wieder")));
            settle();
        }
        MenuAnswer answer(id);
        rightClickButton(1);
        settle();
        ASSERT_TRUE(answer.shown());
        EXPECT_EQ(events.count(kMenuCommand), 0);
        EXPECT_EQ(groupCount(bar.get()), 1) << "group 0 stays";
        EXPECT_EQ(editBox(), nullptr);
    }
}

TEST_F(MenuTest, CommandsOnAnEmptyBarDoNothing)
{
    EventRecorder events(bar.get());
    events.onEvent([&](const RecordedEvent &e) {
        if (e.dispid == kBuildMenu)
            groupsOf(bar.get())->RemoveAll();
    });
    for (UINT id : {1282u, 1283u, 1284u, 1288u, 1290u}) {
        SCOPED_TRACE(id);
        if (groupCount(bar.get()) == 0) {
            addGroup(bar.get(), QStringLiteral("neu"));
            settle();
        }
        events.clear();
        MenuAnswer answer(id);
        rightClickPane();
        settle();
        ASSERT_TRUE(answer.shown());
        EXPECT_EQ(events.count(kMenuCommand), 0);
        EXPECT_EQ(groupCount(bar.get()), 0);
    }
    // Item commands after the items went.
    addGroup(bar.get(), QStringLiteral("neu"));
    ComPtr<ILzNavrailGroup> g;
    groupsOf(bar.get())->Item(i4(0), g.put());
    addItem(g.get(), QStringLiteral("weg"));
    settle();
    events.onEvent([&](const RecordedEvent &e) {
        if (e.dispid == kBuildMenu)
            itemsOf(g.get())->RemoveAll();
    });
    for (UINT id : {1285u, 1286u, 1289u, 1291u}) {
        SCOPED_TRACE(id);
        if (LONG n = 0; SUCCEEDED(itemsOf(g.get())->get_Count(&n)) && n == 0) {
            addItem(g.get(), QStringLiteral("weg"));
            settle();
        }
        events.clear();
        MenuAnswer answer(id);
        rightClickItem(0);
        settle();
        ASSERT_TRUE(answer.shown());
        EXPECT_EQ(events.count(kMenuCommand), 0);
        EXPECT_EQ(editBox(), nullptr);
    }
}

// A host may destroy the control (its windows) inside any event its user's steps raise: the
// steps end cleanly and the host window lives on.
TEST_F(MenuTest, TheHostDestroysTheControlInsideEachOfItsEvents)
{
    struct Case
    {
        const char *name;
        DISPID at;
        UINT menuAnswer;             // the entry a popup menu is answered with (0: Escape)
        std::function<void()> steps; // the user's steps
    };
    const auto header = [this] { QTest::mouseClick(buttons()[1], Qt::LeftButton, {}, QPoint(20, 10)); };
    const auto onItem = [this] { QTest::mouseClick(openPane(), Qt::LeftButton, {}, itemPoint(openPane(), 1)); };
    const auto dragSplitter = [this] {
        QWidget *splitter = mainSplitter();
        const int x = int(barWidget()->width());
        QTest::mousePress(splitter, Qt::LeftButton, {}, QPoint(x + 3, 150));
        QTest::mouseMove(splitter, QPoint(x + 60, 150));
        QTest::mouseRelease(splitter, Qt::LeftButton, {}, QPoint(x + 60, 150));
    };
    const auto typeIntoLabel = [this] {
        settle();
        QLineEdit *box = editBox();
        ASSERT_NE(box, nullptr);
        QTest::keyClicks(box, "X");
        QTest::keyClick(box, Qt::Key_Return);
    };
    const Case cases[] = {
        {"header click", DISPID_NBE_GroupButtonClick, 0, header},
        {"group about to change", DISPID_NBE_BeforeGroupChange, 0, header},
        {"group changed", DISPID_NBE_AfterGroupChange, 0, header},
        {"item about to change", DISPID_NBE_BeforeItemChange, 0, onItem},
        {"item click", DISPID_NBE_ItemClick, 0, onItem},
        {"item changed", DISPID_NBE_AfterItemChange, 0, onItem},
        {"item about to be displayed", DISPID_NBE_BeforeDisplayResultsPane, 0, onItem},
        {"click beside the items", DISPID_NBE_PaneClick, 0,
         [this] { QTest::mouseClick(openPane(), Qt::LeftButton, {}, emptyPoint(openPane())); }},
        {"right click on an item", DISPID_NBE_ItemRightClick, 0, [this] { rightClickItem(1); }},
        {"right click beside the items", DISPID_NBE_PaneRightClick, 0, [this] { rightClickPane(); }},
        {"right click on a header", DISPID_NBE_GroupButtonRightClick, 0, [this] { rightClickButton(1); }},
        {"menu being built", DISPID_NBE_BuildMenu, 0, [this] { rightClickPane(); }},
        {"menu command", DISPID_NBE_MenuCommand, 1288, [this] { rightClickPane(); }},
        {"group label about to be edited", DISPID_NBE_BeforeGroupLabelEdit, 1282, [this] { rightClickPane(); }},
        {"item label about to be edited", DISPID_NBE_BeforeItemLabelEdit, 1285, [this] { rightClickItem(1); }},
        {"group label edited", DISPID_NBE_AfterGroupLabelEdit, 1282,
         [&] {
             rightClickPane();
             typeIntoLabel();
         }},
        {"item label edited", DISPID_NBE_AfterItemLabelEdit, 1285,
         [&] {
             rightClickItem(1);
             typeIntoLabel();
         }},
        {"group added", DISPID_NBE_GroupAdded, 1281, [this] { rightClickPane(); }},
        {"group removed", DISPID_NBE_GroupDeleted, 1283, [this] { rightClickPane(); }},
        {"item added", DISPID_NBE_ItemAdded, 1284, [this] { rightClickPane(); }},
        {"item removed", DISPID_NBE_ItemDeleted, 1286, [this] { rightClickItem(1); }},
        {"splitter dragged", DISPID_NBE_PaneWidthChanged, 0, dragSplitter},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (!control) {
            // A fresh control for each case: the one before was destroyed.
            bar = createBar();
            groups.clear();
            SetUp();
        }
        allFlags(VARIANT_TRUE);
        QPointer<QWidget> dying = control;
        bool destroyed = false;
        EventRecorder events(bar.get());
        events.onEvent([&](const RecordedEvent &e) {
            if (e.dispid == c.at && !destroyed) {
                destroyed = true;
                bar.as<IQtControl>()->Deactivate();
            }
        });
        {
            MenuAnswer answer(c.menuAnswer);
            c.steps();
            settle();
        }
        ASSERT_TRUE(destroyed) << "the event came";
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(dying.isNull()) << "the windows went with the control";
        control = nullptr;
        EXPECT_TRUE(host.isVisible()) << "the host lives on";
    }
}

} // namespace
