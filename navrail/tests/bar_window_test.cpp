// The bar window: layout of the header buttons and the open pane, painting, clicks with their
// events and vetoes, scrolling with the arrows and the sounds.
#include "window_fixture.h"

#include "ole/imagelist.h"
#include "ole/olecolor.h"
#include "sound/fakesound.h"

#include <QFile>
#include <QFontMetrics>
#include <QPixmap>

using namespace navtest;

namespace {

const QRgb kWorkspace = qRgb(128, 128, 128); // the default BackColor
const QRgb kFace = qRgb(192, 192, 192);

class BarWindowTest : public WindowFixture
{
protected:
    // A bar of three groups; group g has n[g] items.
    void threeGroups(int items0 = 0, int items1 = 0, int items2 = 0)
    {
        const int n[3] = {items0, items1, items2};
        for (int g = 0; g < 3; ++g) {
            groups.push_back(addGroup(bar.get(), QStringLiteral("Gruppe %1").arg(g)));
            for (int i = 0; i < n[g]; ++i)
                addItem(groups.back().get(), QStringLiteral("Eintrag %1").arg(i));
        }
        settle();
    }
    ComPtr<ILzNavrailItem> item(int g, int i)
    {
        ComPtr<ILzNavrailItem> it;
        itemsOf(groups[std::size_t(g)].get())->Item(i4(i), it.put());
        return it;
    }
    QStringList played() const { return sounds.played(); }
    static QString wave(int id) { return QStringLiteral(":/navrail/wave/%1.wav").arg(id); }

    tvsound::RecordingSoundPort sounds;
    std::vector<ComPtr<ILzNavrailGroup>> groups;
};

// ---- layout ---------------------------------------------------------------------------------

TEST_F(BarWindowTest, ThreeGroupsStackAroundTheOpenPane)
{
    activate(200, 300);
    bar->put_SplitterWindow(VARIANT_FALSE); // the bar fills the control
    threeGroups();
    bar->put_CurrentGroupIndex(1);
    settle();
    const QList<QWidget *> b = buttons();
    ASSERT_EQ(b.size(), 3);
    EXPECT_EQ(b[0]->geometry(), QRect(0, 0, 200, 22));
    EXPECT_EQ(b[1]->geometry(), QRect(0, 22, 200, 22));
    EXPECT_EQ(b[2]->geometry(), QRect(0, 278, 200, 22));
    QWidget *pane = openPane();
    ASSERT_TRUE(pane);
    EXPECT_EQ(pane, panes()[1]);
    EXPECT_EQ(pane->geometry(), QRect(0, 44, 200, 234));
    EXPECT_FALSE(panes()[0]->isVisible());
    EXPECT_FALSE(panes()[2]->isVisible());
}

TEST_F(BarWindowTest, InsetsOfAppearanceAndBorderWidth)
{
    struct Case
    {
        tagApearanceConstants look;
        SHORT border;
        int inset;
    };
    for (const Case c : {Case{lzoFlat, 0, 0}, Case{lzoLight3D, 0, 1}, Case{lzoHeavy3D, 3, 2}}) {
        SCOPED_TRACE(int(c.look));
        bar = createBar();
        groups.clear();
        activate(200, 300, c.border, c.look);
        bar->put_SplitterWindow(VARIANT_FALSE);
        threeGroups();
        // The control's border, then the bar's own inset.
        EXPECT_EQ(barWidget()->geometry(), QRect(c.border, c.border, 200 - 2 * c.border, 300 - 2 * c.border));
        const int w = 200 - 2 * c.border - 2 * c.inset, h = 300 - 2 * c.border - 2 * c.inset;
        EXPECT_EQ(buttons()[0]->geometry(), QRect(c.inset, c.inset, w, 22));
        EXPECT_EQ(openPane()->geometry(), QRect(c.inset, c.inset + 22, w, h - 66));
        EXPECT_EQ(buttons()[2]->geometry(), QRect(c.inset, c.inset + h - 22, w, 22));
        const QImage shot = grab(control);
        if (c.border > 0) {
            EXPECT_EQ(shot.pixel(1, 150), kFace) << "the border strip takes the button face";
        }
        const QImage edge = grab(barWidget());
        if (c.look == lzoLight3D) {
            EXPECT_EQ(edge.pixel(0, 150), qRgb(0, 0, 0));
            EXPECT_EQ(edge.pixel(edge.width() - 1, 150), qRgb(223, 223, 223));
        } else if (c.look == lzoHeavy3D) {
            EXPECT_EQ(edge.pixel(0, 150), qRgb(128, 128, 128));
            EXPECT_EQ(edge.pixel(1, 150), qRgb(0, 0, 0));
            EXPECT_EQ(edge.pixel(edge.width() - 1, 150), qRgb(255, 255, 255));
        }
        TearDown();
    }
}

TEST_F(BarWindowTest, BackgroundOnlyWithoutGroups)
{
    activate(200, 300);
    bar->put_SplitterWindow(VARIANT_FALSE);
    bar->put_BackColor(RGB(255, 0, 0));
    settle();
    EXPECT_EQ(grab(barWidget()).pixel(100, 150), qRgb(255, 0, 0));
    addGroup(bar.get(), QStringLiteral("Eine"));
    settle();
    // The pane now covers the client area; it paints the BackColor itself below its black top line.
    const QImage shot = grab(barWidget());
    EXPECT_EQ(shot.pixel(100, 22), qRgb(0, 0, 0));
    EXPECT_EQ(shot.pixel(100, 150), qRgb(255, 0, 0));
}

// ---- painting -------------------------------------------------------------------------------

TEST_F(BarWindowTest, PaneFillsFramesAndDefaultImagesInBothSizes)
{
    activate(200, 300);
    bar->put_SplitterWindow(VARIANT_FALSE);
    threeGroups(3);
    QWidget *pane = openPane();
    ASSERT_TRUE(pane);
    const int w = pane->width();
    struct Case
    {
        SHORT mode;
        QPoint image;
        int size;
        int before;
        int after;
    };
    // Image origin, size and the frame's distance before and after the image.
    for (const Case c : {Case{lzoImageModeLarge, QPoint((w - 32) / 2, 4), 32, 1, 2},
                         Case{lzoImageModeSmall, QPoint(4, 4), 16, 2, 2}}) {
        SCOPED_TRACE(c.mode);
        groups[0]->put_ImageMode(c.mode);
        hover(pane, QPoint(w - 40, pane->height() - 40)); // over no item
        settle();
        QImage shot = grab(pane);
        EXPECT_EQ(shot.pixel(w / 2, 0), qRgb(0, 0, 0)) << "black top line";
        EXPECT_EQ(shot.pixel(w - 2, pane->height() - 30), kWorkspace) << "BackColor below the items";
        // The folder of the default images: its body in the middle, the corner transparent.
        const QPoint mid = c.image + QPoint(c.size / 2, c.size / 2);
        EXPECT_EQ(shot.pixel(mid), qRgb(255, 204, 64));
        EXPECT_EQ(shot.pixel(c.image), kWorkspace);

        const int l = c.image.x() - c.before, t = c.image.y() - c.before;
        const int r = c.image.x() + c.size + c.after, b = c.image.y() + c.size + c.after;
        // Hot: raised frame (light grey top and left, black right and bottom).
        hover(pane, mid);
        settle();
        shot = grab(pane);
        EXPECT_EQ(shot.pixel(mid.x(), t), qRgb(192, 192, 192));
        EXPECT_EQ(shot.pixel(l, mid.y()), qRgb(192, 192, 192));
        EXPECT_EQ(shot.pixel(mid.x(), b), qRgb(0, 0, 0));
        EXPECT_EQ(shot.pixel(r, mid.y()), qRgb(0, 0, 0));
        // Pressed: sunken frame.
        QTest::mousePress(pane, Qt::LeftButton, {}, mid);
        shot = grab(pane);
        EXPECT_EQ(shot.pixel(mid.x(), t), qRgb(0, 0, 0));
        EXPECT_EQ(shot.pixel(r, mid.y()), qRgb(192, 192, 192));
        QTest::mouseRelease(pane, Qt::LeftButton, {}, mid);
        shot = grab(pane);
        EXPECT_EQ(shot.pixel(mid.x(), t), qRgb(192, 192, 192)) << "hot again after the click";
    }
}

TEST_F(BarWindowTest, GroupColoursAndCaptionPlacement)
{
    activate(200, 300);
    bar->put_SplitterWindow(VARIANT_FALSE);
    threeGroups();
    ComPtr<ILzNavrailItem> it = addItem(groups[0].get(), QStringLiteral("Fangbuch"));
    groups[0]->put_BackColor(RGB(255, 255, 255));
    groups[0]->put_TextColor(RGB(0, 0, 0));
    it->put_Image(99); // no such image: only the caption is drawn
    QWidget *pane = openPane();
    const QFontMetrics fm(pane->font());
    const int textWidth = fm.horizontalAdvance(QStringLiteral("Fangbuch"));
    struct Case
    {
        SHORT mode;
        QRect band;
    };
    const int w = pane->width();
    for (const Case c : {Case{lzoImageModeSmall, QRect(24, 4, textWidth + 1, 20)},
                         Case{lzoImageModeLarge, QRect((w - textWidth) / 2 - 1, 40, textWidth + 2, 20)}}) {
        SCOPED_TRACE(c.mode);
        groups[0]->put_ImageMode(c.mode);
        settle();
        const QImage shot = grab(pane);
        // Every caption pixel lies in the band the font's metrics give.
        QRect ink;
        for (int y = 1; y < 90; ++y)
            for (int x = 0; x < w; ++x)
                if (shot.pixel(x, y) != qRgb(255, 255, 255))
                    ink |= QRect(x, y, 1, 1);
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_TRUE(c.band.contains(ink)) << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
    }
}

// ---- clicks -----------------------------------------------------------------------------------

TEST_F(BarWindowTest, HeaderClickOpensTheGroupWithEventsAndVetoes)
{
    activate(200, 300);
    bar->put_SplitterWindow(VARIANT_FALSE);
    threeGroups();
    EventRecorder rec(bar.get());
    sounds.clear();

    struct Case
    {
        DISPID veto;
        int expectedIndex;
        std::vector<DISPID> events;
        bool sound;
    };
    const Case cases[] = {
        {DISPID_NBE_GroupButtonClick, 0, {DISPID_NBE_GroupButtonClick}, false},
        {DISPID_NBE_BeforeGroupChange, 0, {DISPID_NBE_GroupButtonClick, DISPID_NBE_BeforeGroupChange}, false},
        {0, 2, {DISPID_NBE_GroupButtonClick, DISPID_NBE_BeforeGroupChange, DISPID_NBE_AfterGroupChange}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.veto);
        EventRecorder sink(bar.get());
        if (c.veto)
            sink.vetoOn(c.veto);
        sounds.clear();
        QTest::mouseClick(buttons()[2], Qt::LeftButton, {}, QPoint(50, 10));
        settle();
        EXPECT_EQ(currentGroupIndex(bar.get()), c.expectedIndex);
        EXPECT_EQ(sink.dispids(), c.events);
        EXPECT_EQ(played(), c.sound ? QStringList{wave(206)} : QStringList());
    }
    EXPECT_EQ(openPane(), panes()[2]);

    // The open group's own header: nothing.
    rec.clear();
    QTest::mouseClick(buttons()[2], Qt::LeftButton, {}, QPoint(50, 10));
    EXPECT_TRUE(rec.events().empty());

    // Released outside the button: the group opens all the same.
    QTest::mousePress(buttons()[0], Qt::LeftButton, {}, QPoint(50, 10));
    QTest::mouseRelease(buttons()[0], Qt::LeftButton, {}, QPoint(50, 120));
    settle();
    EXPECT_EQ(currentGroupIndex(bar.get()), 0);
}

TEST_F(BarWindowTest, HeaderButtonUpLetsGoOfTheMouse)
{
    activate(200, 300);
    bar->put_SplitterWindow(VARIANT_FALSE);
    threeGroups();
    QWidget *button = buttons()[1];
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(50, 10));
    settle();
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    // A plain move afterwards is hover, not a held button: no sunken edge.
    hover(button, QPoint(60, 11));
    settle();
    const QImage shot = grab(button);
    EXPECT_NE(shot.pixel(100, 0), qRgb(128, 128, 128));
    EXPECT_NE(shot.pixel(100, 0), qRgb(0, 0, 0));
}

TEST_F(BarWindowTest, ItemClickEventsVetoesAndSound)
{
    activate(200, 300);
    threeGroups(4);
    QWidget *pane = openPane();
    struct Case
    {
        VARIANT_BOOL splitter;
        DISPID veto;
        std::vector<DISPID> events;
        bool sound;
    };
    const Case cases[] = {
        {VARIANT_TRUE, 0, {DISPID_NBE_BeforeItemChange, DISPID_NBE_ItemClick, DISPID_NBE_AfterItemChange}, true},
        {VARIANT_TRUE, DISPID_NBE_BeforeItemChange, {DISPID_NBE_BeforeItemChange}, false},
        {VARIANT_TRUE, DISPID_NBE_ItemClick, {DISPID_NBE_BeforeItemChange, DISPID_NBE_ItemClick}, false},
        {VARIANT_FALSE, 0, {DISPID_NBE_ItemClick}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.splitter << "/" << c.veto);
        bar->put_SplitterWindow(c.splitter);
        settle();
        pane = openPane();
        const QPoint onItem1(pane->width() / 2, 4 + 64 + 10);
        EventRecorder sink(bar.get());
        if (c.veto)
            sink.vetoOn(c.veto);
        sounds.clear();
        QTest::mouseClick(pane, Qt::LeftButton, {}, onItem1);
        std::vector<DISPID> seen;
        for (DISPID d : sink.dispids())
            if (d != DISPID_NBE_BeforeDisplayResultsPane)
                seen.push_back(d);
        EXPECT_EQ(seen, c.events);
        EXPECT_EQ(played(), c.sound ? QStringList{wave(208)} : QStringList());
        const RecordedEvent *click = nullptr;
        for (const RecordedEvent &e : sink.events())
            if (e.dispid == DISPID_NBE_ItemClick)
                click = &e;
        if (click) {
            EXPECT_TRUE(sameObject(click->object(0), groups[0].get()));
            EXPECT_TRUE(sameObject(click->object(1), item(0, 1).get()));
        }
    }
}

// With the results pane not in use (SplitterWindow off, or PaneDisplay 1 "bar only") the pane's
// window must not catch the mouse over the bar. Clicked through the top-level window at screen
// positions, as a user clicks: a header opens its group, an item raises ItemClick.
TEST_F(BarWindowTest, AResultsPaneNotShownLetsTheMouseThroughToTheBar)
{
    struct Case
    {
        const char *name;
        VARIANT_BOOL splitter;
        tagPaneDisplayConstants display;
    };
    const Case cases[] = {{"SplitterWindow off", VARIANT_FALSE, lzoNavrailBarRightPane},
                          {"PaneDisplay bar only", VARIANT_TRUE, lzoNavrailBarOnly}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (control) {
            bar.as<IQtControl>()->Deactivate(); // the previous case's control goes
            settle();
        }
        bar = createBar();
        groups.clear();
        activate(160, 300); // first with the right-hand side: the pane gets its place there
        threeGroups(0, 3, 0);
        bar->put_CurrentGroupIndex(1);
        if (!c.splitter)
            bar->put_SplitterWindow(VARIANT_FALSE);
        else
            bar->put_PaneDisplay(c.display);
        settle();
        ASSERT_EQ(barWidget()->geometry(), QRect(0, 0, 160, 300));
        const QRect paneArea = resultsPane()->geometry(); // where the pane lay while shown
        QWindow *window = host.windowHandle();
        ASSERT_TRUE(window);

        // The last group's header, at a point the pane's old place covers.
        QWidget *last = buttons()[2];
        const QPoint onHeader = last->mapTo(&host, QPoint(last->width() - 8, last->height() / 2));
        ASSERT_TRUE(paneArea.contains(onHeader));
        QTest::mouseClick(window, Qt::LeftButton, {}, onHeader);
        EXPECT_EQ(currentGroupIndex(bar.get()), 2) << "the header click opens the group";

        // An item of the open group, on its image column where the pane lay.
        bar->put_CurrentGroupIndex(1);
        settle();
        QWidget *pane = openPane();
        ASSERT_TRUE(pane);
        const int column = (pane->width() - 32) / 2;
        const QPoint onItem = pane->mapTo(&host, QPoint(column + 30, 4 + 64 + 10));
        ASSERT_TRUE(paneArea.contains(onItem));
        EventRecorder sink(bar.get());
        QTest::mouseClick(window, Qt::LeftButton, {}, onItem);
        ASSERT_EQ(sink.count(DISPID_NBE_ItemClick), 1) << "the item click reaches the bar";
        for (const RecordedEvent &e : sink.events()) {
            if (e.dispid == DISPID_NBE_ItemClick) {
                EXPECT_TRUE(sameObject(e.object(1), item(1, 1).get()));
            }
        }

        // With the right-hand side back, the pane is there again.
        bar->put_SplitterWindow(VARIANT_TRUE);
        bar->put_PaneDisplay(lzoNavrailBarRightPane);
        settle();
        EXPECT_TRUE(resultsPane()->isVisible());
    }
}

TEST_F(BarWindowTest, HitTestsInBothSizes)
{
    activate(200, 300);
    bar->put_SplitterWindow(VARIANT_FALSE);
    threeGroups(3);
    QWidget *pane = openPane();
    const int w = pane->width(), x0 = (w - 32) / 2;
    const int textWidth = QFontMetrics(pane->font()).horizontalAdvance(QStringLiteral("Eintrag 0"));
    struct Case
    {
        SHORT mode;
        QPoint at;
        int item;
    }; // item -1: the pane itself
    const Case cases[] = {
        {lzoImageModeLarge, {x0, 4}, 0},
        {lzoImageModeLarge, {x0 + 31, 59}, 0},
        {lzoImageModeLarge, {x0 + 16, 60}, -1}, // spacing between two items
        {lzoImageModeLarge, {x0 + 16, 68}, 1},
        {lzoImageModeLarge, {x0 - 1, 20}, -1}, // beside the image column, on the caption
        {lzoImageModeLarge, {x0 + 32, 20}, -1},
        {lzoImageModeSmall, {4, 4}, 0},
        {lzoImageModeSmall, {3, 10}, -1},
        {lzoImageModeSmall, {16 + textWidth - 1, 10}, 0},
        {lzoImageModeSmall, {16 + textWidth, 10}, -1},
        {lzoImageModeSmall, {10, 20}, -1},
        {lzoImageModeSmall, {10, 28}, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.mode << " " << c.at.x() << "," << c.at.y());
        groups[0]->put_ImageMode(c.mode);
        EventRecorder sink(bar.get());
        QTest::mouseClick(pane, Qt::LeftButton, {}, c.at);
        if (c.item < 0) {
            EXPECT_EQ(sink.dispids(), std::vector<DISPID>{DISPID_NBE_PaneClick});
        } else {
            ASSERT_EQ(sink.count(DISPID_NBE_ItemClick), 1);
            EXPECT_TRUE(sameObject(sink.events()[0].object(1), item(0, c.item).get()));
        }
    }
}

TEST_F(BarWindowTest, TheItemUnderTheReleaseCounts)
{
    activate(200, 300);
    bar->put_SplitterWindow(VARIANT_FALSE);
    threeGroups(4);
    groups[0]->put_ImageMode(lzoImageModeSmall);
    QWidget *pane = openPane();
    EventRecorder sink(bar.get());
    QTest::mousePress(pane, Qt::LeftButton, {}, QPoint(8, 4 + 2 * 24 + 4));
    QTest::mouseMove(pane, QPoint(8, 4 + 3 * 24 + 4));
    QTest::mouseRelease(pane, Qt::LeftButton, {}, QPoint(8, 4 + 3 * 24 + 4));
    ASSERT_EQ(sink.count(DISPID_NBE_ItemClick), 1);
    EXPECT_TRUE(sameObject(sink.events()[0].object(1), item(0, 3).get()));
}

// ---- scrolling ----------------------------------------------------------------------------------

class ScrollTest : public BarWindowTest
{
protected:
    // One group of n large items in a pane 200 pixels high (three items fit).
    void oneGroup(int n)
    {
        activate(200, 222);
        bar->put_SplitterWindow(VARIANT_FALSE);
        groups.push_back(addGroup(bar.get(), QStringLiteral("Gruppe")));
        for (int i = 0; i < n; ++i)
            addItem(groups[0].get(), QStringLiteral("Eintrag %1").arg(i));
        settle();
        ASSERT_EQ(openPane()->height(), 200);
    }
};

TEST_F(ScrollTest, ArrowsSitOnThePaneAndShowWhatIsHidden)
{
    oneGroup(5);
    QWidget *pane = openPane();
    EXPECT_FALSE(upArrow()->isVisible());
    ASSERT_TRUE(downArrow()->isVisible());
    const QPoint origin = pane->geometry().topLeft();
    EXPECT_EQ(upArrow()->geometry(), QRect(origin + QPoint(pane->width() - 20, 5), QSize(16, 16)));
    EXPECT_EQ(downArrow()->geometry(), QRect(origin + QPoint(pane->width() - 20, 180), QSize(16, 16)));

    sounds.clear();
    QTest::mouseClick(downArrow(), Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_EQ(firstVisible(groups[0].get()), 1);
    EXPECT_TRUE(upArrow()->isVisible());
    EXPECT_EQ(played(), QStringList{wave(207)});
    QTest::mouseClick(upArrow(), Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_EQ(firstVisible(groups[0].get()), 0);
    EXPECT_FALSE(upArrow()->isVisible());
    EXPECT_EQ(played(), (QStringList{wave(207), wave(207)}));

    // Three items fit exactly: no arrow.
    itemsOf(groups[0].get())->Remove(item(0, 4).get());
    itemsOf(groups[0].get())->Remove(item(0, 3).get());
    EXPECT_FALSE(downArrow()->isVisible());
}

TEST_F(ScrollTest, HeldArrowRepeatsUntilTheLastItemsFit)
{
    oneGroup(5);
    QWidget *down = downArrow();
    QTimer *timer = repeatTimer(down);
    ASSERT_TRUE(timer);
    QTest::mousePress(down, Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_EQ(firstVisible(groups[0].get()), 1) << "one step at once";
    ASSERT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 200);
    tick(timer);
    EXPECT_EQ(firstVisible(groups[0].get()), 2);
    // Items 2-4 fit now: the arrow hides and its repeat stops.
    EXPECT_FALSE(down->isVisible());
    EXPECT_FALSE(timer->isActive());
    QTest::mouseRelease(down, Qt::LeftButton, {}, QPoint(8, 8));
}

TEST_F(ScrollTest, DraggingOutOfAHeldArrowStopsTheRepeatForGood)
{
    oneGroup(10);
    QWidget *down = downArrow();
    QTimer *timer = repeatTimer(down);
    QTest::mousePress(down, Qt::LeftButton, {}, QPoint(8, 8));
    ASSERT_TRUE(timer->isActive());
    QTest::mouseMove(down, QPoint(-30, 8));
    EXPECT_FALSE(timer->isActive());
    QTest::mouseMove(down, QPoint(8, 8));
    EXPECT_FALSE(timer->isActive());
    QTest::mouseRelease(down, Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_EQ(firstVisible(groups[0].get()), 1);
}

TEST_F(ScrollTest, EnsureVisibleScrollsBothWays)
{
    oneGroup(10);
    item(0, 9)->EnsureVisible();
    EXPECT_EQ(firstVisible(groups[0].get()), 7);
    item(0, 1)->EnsureVisible();
    EXPECT_EQ(firstVisible(groups[0].get()), 1);
    // Small icons: the 24-pixel pitch, eight items in 200 pixels.
    groups[0]->put_ImageMode(lzoImageModeSmall);
    LONG visible = 0;
    groups[0]->get_VisibleItemCount(&visible);
    EXPECT_EQ(visible, 8);
    item(0, 9)->EnsureVisible();
    EXPECT_EQ(firstVisible(groups[0].get()), 2);
}

TEST_F(BarWindowTest, ItemDisplayedBeforeTheWindowShowsAfterTheFirstDrawing)
{
    groups.push_back(addGroup(bar.get(), QStringLiteral("Gruppe")));
    ComPtr<ILzNavrailItem> it = addItem(groups[0].get(), QStringLiteral("Fangbuch"));
    EventRecorder rec(bar.get());
    ASSERT_EQ(it->Display(), S_OK);
    EXPECT_EQ(rec.count(DISPID_NBE_BeforeDisplayResultsPane), 0) << "no window yet";
    activate(300, 200);
    settle();
    EXPECT_EQ(rec.count(DISPID_NBE_BeforeDisplayResultsPane), 1);
    // Only the first drawing does it.
    control->repaint();
    settle();
    EXPECT_EQ(rec.count(DISPID_NBE_BeforeDisplayResultsPane), 1);
}

// ---- sounds and resources -----------------------------------------------------------------------

TEST_F(ScrollTest, NoSoundWithSoundEffectsOff)
{
    oneGroup(5);
    addGroup(bar.get(), QStringLiteral("Zweite"));
    bar->put_SoundEffects(VARIANT_FALSE);
    sounds.clear();
    QTest::mouseClick(downArrow(), Qt::LeftButton, {}, QPoint(8, 8));
    QTest::mouseClick(openPane(), Qt::LeftButton, {}, QPoint(openPane()->width() / 2, 10));
    bar->put_CurrentGroupIndex(1);
    EXPECT_EQ(firstVisible(groups[0].get()), 1);
    EXPECT_EQ(currentGroupIndex(bar.get()), 1);
    EXPECT_TRUE(played().isEmpty());
}

TEST_F(BarWindowTest, ResourcesAndDefaultImageLists)
{
    activate(200, 300);
    const std::pair<int, qint64> waves[] = {{206, 9444}, {207, 1016}, {208, 1930}};
    for (const auto &[id, size] : waves) {
        QFile f(wave(id));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << id;
        EXPECT_EQ(f.size(), size) << id;
    }
    LONG large = 0, small = 0, largeHot = 0;
    bar->get_LargeHImageList(&large);
    bar->get_SmallHImageList(&small);
    bar->get_LargeHotHImageList(&largeHot);
    EXPECT_EQ(largeHot, large);
    EXPECT_EQ(ole::imageListIconSize(ole::Handle(large)), QSize(32, 32));
    EXPECT_EQ(ole::imageListIconSize(ole::Handle(small)), QSize(16, 16));
    EXPECT_GE(ole::imageListCount(ole::Handle(large)), 4);
    EXPECT_EQ(ole::imageListCount(ole::Handle(large)), ole::imageListCount(ole::Handle(small)));
}

} // namespace
