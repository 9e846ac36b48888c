// The results pane as the program uses it: a content window handed to an item by its handle,
// Display, the tab strip with its events and veto, and objects in the view containers.
#include "navrail_fixture.h"

#include "ole/container.h"
#include "ole/handles.h"
#include "ole/olecolor.h"

#include <QPointer>
#include <QTabBar>
#include <QTest>
#include <QWidget>

#include <memory>

using namespace navtest;

// Readable rectangles in failure messages.
inline void PrintTo(const QRect &r, std::ostream *os)
{
    *os << "QRect(" << r.x() << ", " << r.y() << ", " << r.width() << " x " << r.height() << ")";
}

namespace {

// Counts the hide events of a window.
class HideCounter : public QObject
{
public:
    int hides = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Hide)
            ++hides;
        return false;
    }
};

class Pane : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host.resize(640, 480);
        ASSERT_EQ(host.createControl(CLSID_LzNavrailBar), S_OK);
        host.show();
        bar = host.control<ILzNavrailBar>();
        ASSERT_TRUE(bar);
        group = addGroup(bar.get(), QStringLiteral("Organisation"));
    }

    // A content window of the program: a top-level widget, as the forms are.
    QWidget *newForm()
    {
        forms.push_back(std::make_unique<QWidget>());
        forms.back()->resize(300, 200);
        return forms.back().get();
    }
    static LONG handleOf(QWidget *w) { return LONG(ole::handleFromWidget(w)); }

    // An item whose first (and second) view is the given window, by handle.
    ComPtr<ILzNavrailItem> itemWith(QWidget *view1, QWidget *view2 = nullptr)
    {
        ComPtr<ILzNavrailItem> item = addItem(group.get(), QStringLiteral("Eintrag"));
        if (view1) {
            EXPECT_EQ(item->put_WindowObject1(handleOf(view1)), S_OK);
        }
        if (view2) {
            EXPECT_EQ(item->put_WindowObject2(handleOf(view2)), S_OK);
        }
        return item;
    }

    QWidget *pane() const { return host.controlWidget()->findChild<QWidget *>(QStringLiteral("lzResultsPane")); }
    QWidget *container(int which) const
    {
        const QList<QWidget *> all =
            pane()->findChildren<QWidget *>(QStringLiteral("lzNavrailContainer"), Qt::FindDirectChildrenOnly);
        return all.size() == 2 ? all[which - 1] : nullptr;
    }
    // The strip shown now (the strips of other collections stay hidden).
    QTabBar *shownStrip() const
    {
        for (QTabBar *t : pane()->findChildren<QTabBar *>(Qt::FindDirectChildrenOnly))
            if (!t->isHidden())
                return t;
        return nullptr;
    }
    QWidget *secondSplitter() const { return pane()->findChild<QWidget *>(QStringLiteral("LZNAVRAILSPLITTER")); }

    ComPtr<ILzTabs> tabsWith(const QStringList &texts, ComPtr<ILzTab> *first = nullptr)
    {
        ComPtr<ILzTabsSet> set;
        EXPECT_EQ(bar->get_TabsSet(set.put()), S_OK);
        ComPtr<ILzTabs> tabs;
        EXPECT_EQ(set->Add(com::Bstr(QStringLiteral("t")), tabs.put()), S_OK);
        for (const QString &t : texts) {
            ComPtr<ILzTab> tab;
            EXPECT_EQ(tabs->Add(com::Bstr(t), com::Bstr(t), 0, tab.put()), S_OK);
            if (first && !*first)
                *first = tab;
        }
        return tabs;
    }

    ole::ControlContainer host;
    ComPtr<ILzNavrailBar> bar;
    ComPtr<ILzNavrailGroup> group;
    std::vector<std::unique_ptr<QWidget>> forms;
};

QColor pixel(QWidget *w, QPoint at)
{
    return w->grab().toImage().pixelColor(at);
}

QColor sysColor(int index)
{
    return ole::toQColor(GetSysColor(index));
}

} // namespace

TEST_F(Pane, DisplaySwapsTheHostedWindowAndKeepsThePreviousOneAliveAndHidden)
{
    QWidget *fangbuch = newForm();
    QWidget *besatz = newForm();
    ComPtr<ILzNavrailItem> first = itemWith(fangbuch);
    ComPtr<ILzNavrailItem> second = itemWith(besatz);
    ComPtr<ILzNavrailItem> sharing = itemWith(besatz);

    ASSERT_EQ(first->Display(), S_OK);
    QWidget *view = container(1);
    ASSERT_TRUE(view);
    EXPECT_EQ(fangbuch->parentWidget(), view);
    EXPECT_FALSE(fangbuch->isWindow()) << "no caption, no sizing border";
    EXPECT_TRUE(fangbuch->isVisible());
    EXPECT_EQ(view->geometry(), secondSplitter()->geometry()) << "one view fills the area below the strip";
    EXPECT_FALSE(view->contentsRect().isEmpty());
    EXPECT_EQ(fangbuch->geometry(), view->contentsRect()) << "fitted to the pane";
    view->resize(view->width() + 40, view->height() - 20);
    EXPECT_EQ(fangbuch->geometry(), view->contentsRect()) << "and fitted again when it changes size";

    ASSERT_EQ(second->Display(), S_OK);
    EXPECT_TRUE(besatz->isVisible());
    EXPECT_EQ(besatz->parentWidget(), view);
    EXPECT_FALSE(fangbuch->isVisible()) << "the previous window is hidden";
    EXPECT_EQ(fangbuch->parentWidget(), view) << "and kept, not destroyed";

    // Two items sharing one window: it stays where it is and is not hidden and shown again.
    HideCounter counter;
    besatz->installEventFilter(&counter);
    ASSERT_EQ(sharing->Display(), S_OK);
    EXPECT_TRUE(besatz->isVisible());
    EXPECT_EQ(counter.hides, 0);
    besatz->removeEventFilter(&counter);

    ASSERT_EQ(first->Display(), S_OK);
    EXPECT_TRUE(fangbuch->isVisible());
    EXPECT_FALSE(besatz->isVisible());
    EXPECT_TRUE(container(1)->isVisible());
    EXPECT_FALSE(container(2)->isVisible());
}

TEST_F(Pane, TwoViewsAreStackedAndAnItemWithoutViewsShowsAnEmptyArea)
{
    QWidget *top = newForm();
    QWidget *bottom = newForm();
    ComPtr<ILzNavrailItem> both = itemWith(top, bottom);
    ComPtr<ILzNavrailItem> none = itemWith(nullptr);
    QWidget *lower = newForm();
    ComPtr<ILzNavrailItem> secondOnly = itemWith(nullptr, lower);

    ASSERT_EQ(both->Display(), S_OK);
    EXPECT_EQ(top->parentWidget(), container(1));
    EXPECT_EQ(bottom->parentWidget(), container(2));
    EXPECT_TRUE(top->isVisible());
    EXPECT_TRUE(bottom->isVisible());
    EXPECT_TRUE(container(2)->isVisible());
    EXPECT_LT(container(1)->geometry().bottom(), container(2)->geometry().top()) << "the first above the second";

    // Only a second view: it takes the whole area.
    ASSERT_EQ(secondOnly->Display(), S_OK);
    EXPECT_FALSE(container(1)->isVisible());
    EXPECT_TRUE(lower->isVisible());
    EXPECT_EQ(container(2)->geometry(), secondSplitter()->geometry());

    ASSERT_EQ(none->Display(), S_OK);
    EXPECT_FALSE(top->isVisible());
    EXPECT_FALSE(bottom->isVisible());
    EXPECT_TRUE(container(1)->isVisible());
    EXPECT_FALSE(container(2)->isVisible()) << "the second container is hidden";

    // The empty area is the button face inside a frame of Appearance pixels.
    const struct
    {
        LONG appearance;
        int frame;
        int corner;
    } cases[] = {{lzoFlat, 0, 0}, {lzoLight3D, 1, COLOR_3DDKSHADOW}, {lzoHeavy3D, 2, COLOR_BTNSHADOW}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.appearance);
        ASSERT_EQ(bar->put_Appearance(tagApearanceConstants(c.appearance)), S_OK);
        QWidget *view = container(1);
        view->resize(80, 60); // a size of its own, whatever the splitter gave it
        EXPECT_EQ(view->contentsRect(), QRect(c.frame, c.frame, 80 - 2 * c.frame, 60 - 2 * c.frame));
        EXPECT_EQ(pixel(view, QPoint(40, 30)), sysColor(COLOR_BTNFACE));
        if (c.frame > 0) {
            EXPECT_EQ(pixel(view, QPoint(0, 0)), sysColor(c.corner));
        }
    }
}

// Two views stacked: the second splitter starts half way down the area the pane really has
// when it gets them, not at a size the pane had while the control was still being set up.
TEST_F(Pane, TwoStackedViewsStartAtHalfTheRealHeight)
{
    QWidget *top = newForm();
    QWidget *bottom = newForm();
    ComPtr<ILzNavrailItem> both = itemWith(top, bottom);
    ASSERT_EQ(both->Display(), S_OK);
    QWidget *area = secondSplitter();
    ASSERT_GT(area->height(), 200) << "the pane has the control's real size";
    const int y = (area->height() - 6) / 2;
    EXPECT_EQ(container(1)->geometry(), QRect(area->x(), area->y(), area->width(), y));
    EXPECT_EQ(container(2)->geometry(), QRect(area->x(), area->y() + y + 6, area->width(), area->height() - y - 6));
    LONG topHeight = 0;
    ASSERT_EQ(bar->get_TopPaneHeight(&topHeight), S_OK);
    EXPECT_EQ(topHeight, y);
}

TEST_F(Pane, AWindowThatIsGoneDisplaysNothing)
{
    QWidget *form = newForm();
    ComPtr<ILzNavrailItem> item = itemWith(form);
    ASSERT_EQ(item->Display(), S_OK);
    ASSERT_EQ(form->parentWidget(), container(1));

    // Destroyed while shown, then displayed again; and a handle whose window went before Display.
    forms.clear();
    EXPECT_EQ(item->Display(), S_OK);
    QWidget *later = newForm();
    ComPtr<ILzNavrailItem> other = itemWith(later);
    forms.clear();
    EXPECT_EQ(other->Display(), S_OK);
    EXPECT_TRUE(container(1)->isVisible());
    EXPECT_TRUE(container(1)->findChildren<QWidget *>().isEmpty());
    EXPECT_EQ(pixel(container(1), container(1)->contentsRect().center()), sysColor(COLOR_BTNFACE));
}

TEST_F(Pane, TheControlGoingLeavesTheProgramsWindowsAlive)
{
    QPointer<QWidget> shown = newForm();
    QPointer<QWidget> hidden = newForm();
    ComPtr<ILzNavrailItem> a = itemWith(hidden);
    ComPtr<ILzNavrailItem> b = itemWith(shown);
    ASSERT_EQ(a->Display(), S_OK);
    ASSERT_EQ(b->Display(), S_OK);
    a.reset();
    b.reset();
    bar.reset();
    group.reset();
    host.destroyControl();
    ASSERT_TRUE(shown);
    ASSERT_TRUE(hidden);
    EXPECT_EQ(shown->parentWidget(), nullptr);
    EXPECT_FALSE(shown->isVisible());
}

TEST_F(Pane, TabStripOfTheItemAndItsEvents)
{
    ComPtr<ILzTab> tabA;
    ComPtr<ILzTabs> tabs =
        tabsWith({QStringLiteral("Fänge"), QStringLiteral("Besatz"), QStringLiteral("Arbeit")}, &tabA);
    ComPtr<ILzNavrailItem> item = itemWith(newForm());
    ASSERT_EQ(item->put_Tabs(tabs.get()), S_OK);
    ASSERT_EQ(item->Display(), S_OK);
    QTabBar *strip = shownStrip();
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->count(), 3);
    EXPECT_EQ(strip->currentIndex(), 0);

    LONG current = -1;
    {
        EventRecorder vetoing(bar.get());
        vetoing.vetoOn(DISPID_NBE_BeforeResultsTabChange);
        QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(1).center());
        EXPECT_EQ(vetoing.dispids(), (std::vector<DISPID>{DISPID_NBE_BeforeResultsTabChange}));
        ASSERT_EQ(vetoing.events().size(), 1u);
        EXPECT_TRUE(sameObject(vetoing.events()[0].object(1), item.get()));
        EXPECT_TRUE(sameObject(vetoing.events()[0].object(2), tabA.get())) << "the tab being left";
        EXPECT_EQ(strip->currentIndex(), 0) << "the old tab stays selected";
        tabs->get_CurrentTabIndex(&current);
        EXPECT_EQ(current, 0);
    }

    EventRecorder rec(bar.get());
    QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(2).center());
    EXPECT_EQ(rec.dispids(), (std::vector<DISPID>{DISPID_NBE_BeforeResultsTabChange, DISPID_NBE_AfterResultsTabChange,
                                                  DISPID_NBE_BeforeDisplayResultsPane}));
    tabs->get_CurrentTabIndex(&current);
    EXPECT_EQ(current, 2);
    ComPtr<ILzTab> tabC;
    tabs->Item(i4(2), tabC.put());
    ASSERT_GE(rec.events().size(), 2u);
    EXPECT_TRUE(sameObject(rec.events()[1].object(2), tabC.get()));

    // Selecting from code raises nothing.
    rec.clear();
    ASSERT_EQ(tabs->put_CurrentTabIndex(1), S_OK);
    EXPECT_EQ(strip->currentIndex(), 1);
    EXPECT_TRUE(rec.events().empty());
}

// The host destroys the control inside each event a click on the tab strip raises.
TEST_F(Pane, TheHostDestroysTheControlInsideTheTabStripsEvents)
{
    for (DISPID at : {DISPID(DISPID_NBE_BeforeResultsTabChange), DISPID(DISPID_NBE_AfterResultsTabChange),
                      DISPID(DISPID_NBE_BeforeDisplayResultsPane)}) {
        SCOPED_TRACE(at);
        if (!bar) {
            SetUp();
        }
        ComPtr<ILzNavrailItem> item = itemWith(newForm());
        ASSERT_EQ(item->put_Tabs(tabsWith({QStringLiteral("Fänge"), QStringLiteral("Besatz")}).get()), S_OK);
        ASSERT_EQ(item->Display(), S_OK);
        QTabBar *strip = shownStrip();
        ASSERT_TRUE(strip);
        QPointer<QWidget> dying = host.controlWidget();
        bool destroyed = false;
        host.setEventHandler([&](DISPID id, com::EventArgs &) {
            if (id == at && !destroyed) {
                destroyed = true;
                host.destroyControl();
            }
        });
        // Through the top-level window, as a user clicks: Qt delivers the release even when
        // the press took the strip away.
        QTest::mouseClick(host.windowHandle(), Qt::LeftButton, {}, strip->mapTo(&host, strip->tabRect(1).center()));
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        host.setEventHandler(nullptr);
        ASSERT_TRUE(destroyed) << "the event came";
        EXPECT_TRUE(dying.isNull()) << "the windows went with the control";
        EXPECT_TRUE(host.isVisible()) << "the host lives on";
        item.reset();
        group.reset();
        bar.reset();
    }
}

TEST_F(Pane, StripThicknessAndSideFollowTheStyle)
{
    const struct
    {
        LONG style;
        char side;
    } cases[] = {{lzoTabsBottom, 'B'}, {lzoTabsTop, 'T'}, {lzoVertical, 'L'}, {lzoVertical | lzoTabsRight, 'R'}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.side);
        ComPtr<ILzTabs> tabs = tabsWith({QStringLiteral("Eins"), QStringLiteral("Zwei")});
        ASSERT_EQ(tabs->put_TabStyle(c.style), S_OK);
        ComPtr<ILzNavrailItem> item = itemWith(newForm());
        ASSERT_EQ(item->put_Tabs(tabs.get()), S_OK);
        ASSERT_EQ(item->Display(), S_OK);
        QTabBar *strip = shownStrip();
        ASSERT_TRUE(strip);
        const QRect p = pane()->rect();
        const bool vertical = c.side == 'L' || c.side == 'R';
        const int t = (vertical ? strip->tabRect(0).width() : strip->tabRect(0).height()) + 7;
        QRect expectStrip, expectRest;
        switch (c.side) {
        case 'B': expectStrip = QRect(0, p.height() - t, p.width(), t); break;
        case 'T': expectStrip = QRect(0, 0, p.width(), t); break;
        case 'L': expectStrip = QRect(0, 0, t, p.height()); break;
        default: expectStrip = QRect(p.width() - t, 0, t, p.height()); break;
        }
        EXPECT_EQ(strip->geometry(), expectStrip);
        EXPECT_EQ(QRegion(p) - QRegion(expectStrip), QRegion(secondSplitter()->geometry()))
            << "the rest of the pane goes to the second splitter";
    }
}

TEST_F(Pane, AnItemWithoutTabsHidesThePreviousStrip)
{
    ComPtr<ILzTabs> someTabs = tabsWith({QStringLiteral("Eins")});
    ComPtr<ILzTabs> emptyTabs = tabsWith({});
    ComPtr<ILzNavrailItem> withTabs = itemWith(newForm());
    ASSERT_EQ(withTabs->put_Tabs(someTabs.get()), S_OK);
    ComPtr<ILzNavrailItem> withEmpty = itemWith(newForm());
    ASSERT_EQ(withEmpty->put_Tabs(emptyTabs.get()), S_OK);
    ComPtr<ILzNavrailItem> withNone = itemWith(newForm());

    for (ILzNavrailItem *next : {withEmpty.get(), withNone.get()}) {
        ASSERT_EQ(withTabs->Display(), S_OK);
        ASSERT_TRUE(shownStrip());
        ASSERT_EQ(next->Display(), S_OK);
        EXPECT_FALSE(shownStrip());
        EXPECT_EQ(secondSplitter()->geometry(), pane()->rect());
    }
}

TEST_F(Pane, ObjectsInTheViews)
{
    // A control of the in-process contract: its widget is taken into the first container.
    ComPtr<ILzNavrailBar> embedded = createBar();
    ComPtr<IDispatch> object = embedded.as<IDispatch>();
    ComPtr<ILzNavrailItem> item = itemWith(nullptr);
    ASSERT_EQ(item->put_ActiveXObject1(object.get()), S_OK);
    ASSERT_EQ(item->Display(), S_OK);
    QWidget *widget = nullptr;
    ASSERT_EQ(embedded.as<IQtControl>()->GetWidget(&widget), S_OK);
    ASSERT_TRUE(widget);
    EXPECT_EQ(widget->parentWidget(), container(1));
    EXPECT_TRUE(widget->isVisible());
    EXPECT_EQ(widget->geometry(), container(1)->contentsRect());

    // A window shown next hides it; an automation object without a widget shows nothing.
    ComPtr<ILzNavrailItem> window = itemWith(newForm());
    ASSERT_EQ(window->Display(), S_OK);
    EXPECT_FALSE(widget->isVisible());
    ComPtr<ILzTabs> plain = tabsWith({});
    ComPtr<ILzNavrailItem> automation = itemWith(nullptr);
    ASSERT_EQ(automation->put_ActiveXObject1(plain.as<IDispatch>().get()), S_OK);
    EXPECT_EQ(automation->Display(), S_OK);
    EXPECT_TRUE(container(1)->isVisible());

    // The control itself cannot be shown inside its own pane.
    ComPtr<ILzNavrailItem> self = itemWith(host.controlWidget());
    EXPECT_EQ(self->Display(), S_OK);
    EXPECT_EQ(host.controlWidget()->parentWidget(), &host);
    ASSERT_EQ(item->put_ActiveXObject1(nullptr), S_OK);
    embedded.as<IQtControl>()->Deactivate();
}
