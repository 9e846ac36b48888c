// The main splitter: the bar on the left, the results pane on the right, the bar between them
// dragged with the mouse.
#include "window_fixture.h"

#include "ole/container.h"

using namespace navtest;

namespace {

class SplitterTest : public WindowFixture
{
protected:
    std::vector<std::pair<LONG, LONG>> widthEvents(const EventRecorder &rec) const
    {
        std::vector<std::pair<LONG, LONG>> r;
        for (const RecordedEvent &e : rec.events())
            if (e.dispid == DISPID_NBE_PaneWidthChanged)
                r.emplace_back(e.args[0].lVal, e.args[1].lVal);
        return r;
    }
    QWidget *tracker() const { return control->findChild<QWidget *>(QStringLiteral("lzSplitterTracker")); }
};

TEST_F(SplitterTest, PanesBesideTheBarInsideTheBorder)
{
    activate(400, 300, 2);
    // Client 396 x 296 at (2, 2); the panes in the splitter's coordinates moved by its position.
    EXPECT_EQ(mainSplitter()->geometry(), QRect(2, 2, 396, 296));
    LONG x = -1;
    bar->get_LeftPaneWidth(&x);
    ASSERT_GT(x, 0);
    EXPECT_EQ(barWidget()->geometry(), QRect(2, 2, x, 296));
    EXPECT_EQ(resultsPane()->geometry(), QRect(2 + x + 6, 2, 396 - 6 - x, 296));

    EventRecorder rec(bar.get());
    bar->put_LeftPaneWidth(120);
    EXPECT_EQ(barWidget()->geometry(), QRect(2, 2, 120, 296));
    EXPECT_EQ(resultsPane()->geometry(), QRect(2 + 126, 2, 270, 296));
    EXPECT_EQ(widthEvents(rec), (std::vector<std::pair<LONG, LONG>>{{120, 270}}));

    // The bar is painted in the button face between the two panes.
    const QImage shot = grab(control);
    EXPECT_EQ(shot.pixel(2 + 123, 150), qRgb(192, 192, 192));

    // Without the right side the bar fills the client area.
    bar->put_SplitterWindow(VARIANT_FALSE);
    EXPECT_EQ(barWidget()->geometry(), QRect(2, 2, 396, 296));
}

TEST_F(SplitterTest, DraggingMovesTheBarOnceAtRelease)
{
    activate(400, 300);
    bar->put_LeftPaneWidth(150);
    QWidget *splitter = mainSplitter();
    struct Case
    {
        int to;
        LONG left;
    };
    // Released at x, grabbed 3 pixels into the bar: left width x - 3, snapped and clamped.
    const Case cases[] = {{103, 100}, {8, 0}, {500, 394}, {163, 160}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.to);
        LONG x = 0;
        bar->get_LeftPaneWidth(&x);
        EventRecorder rec(bar.get());
        const QRect before = barWidget()->geometry();
        QTest::mousePress(splitter, Qt::LeftButton, {}, QPoint(x + 3, 150));
        QTest::mouseMove(splitter, QPoint(c.to, 150));
        // While dragging only the tracker moves.
        ASSERT_TRUE(tracker());
        EXPECT_TRUE(tracker()->isVisible());
        EXPECT_EQ(tracker()->width(), 6);
        EXPECT_EQ(barWidget()->geometry(), before);
        EXPECT_TRUE(widthEvents(rec).empty());
        QTest::mouseRelease(splitter, Qt::LeftButton, {}, QPoint(c.to, 150));
        EXPECT_FALSE(tracker()->isVisible());
        EXPECT_EQ(barWidget()->width(), c.left);
        EXPECT_EQ(widthEvents(rec), (std::vector<std::pair<LONG, LONG>>{{c.left, 400 - 6 - c.left}}));
    }
}

TEST_F(SplitterTest, FrozenPanesLetTheMouseThrough)
{
    activate(400, 300);
    bar->put_LeftPaneWidth(150);
    QWidget *splitter = mainSplitter();
    EXPECT_EQ(splitter->cursor().shape(), Qt::BitmapCursor);
    EXPECT_FALSE(splitter->testAttribute(Qt::WA_TransparentForMouseEvents));
    bar->put_FreezePanes(VARIANT_TRUE);
    EXPECT_EQ(splitter->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(splitter->testAttribute(Qt::WA_TransparentForMouseEvents));
    EventRecorder rec(bar.get());
    QTest::mousePress(control, Qt::LeftButton, {}, QPoint(153, 150));
    QTest::mouseMove(control, QPoint(60, 150));
    QTest::mouseRelease(control, Qt::LeftButton, {}, QPoint(60, 150));
    EXPECT_EQ(barWidget()->width(), 150);
    EXPECT_TRUE(rec.events().empty());
}

} // namespace

// Hosted as the program hosts it: the container has its size before the control is created, and
// the first position of the bar is half of the control's client width (BorderWidth 1 on each side).
// Later the panes follow the container in both directions.
TEST(HostedSplitter, FirstPositionIsHalfTheRealWidthAndThePanesFollowTheContainer)
{
    const struct
    {
        int width, height;
        LONG left;
    } cases[] = {
        {700, 400, (698 - 6) / 2},
        {1000, 600, (998 - 6) / 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        ole::ControlContainer container;
        container.resize(c.width, c.height);
        ASSERT_EQ(container.createControl(CLSID_LzNavrailBar), S_OK);
        container.show();
        ComPtr<ILzNavrailBar> bar = container.control<ILzNavrailBar>();
        ASSERT_TRUE(bar);
        LONG left = -1;
        bar->get_LeftPaneWidth(&left);
        EXPECT_EQ(left, c.left);

        QWidget *control = container.controlWidget();
        QWidget *barWindow = control->findChild<QWidget *>(QStringLiteral("lzNavrailBar"));
        QWidget *pane = control->findChild<QWidget *>(QStringLiteral("lzResultsPane"));
        ASSERT_TRUE(barWindow && pane);
        EXPECT_EQ(barWindow->geometry(), QRect(1, 1, c.left, c.height - 2));
        EXPECT_EQ(pane->geometry(), QRect(1 + c.left + 6, 1, c.width - 2 - 6 - c.left, c.height - 2));

        container.resize(c.width + 200, c.height + 300);
        EXPECT_EQ(control->size(), QSize(c.width + 200, c.height + 300));
        EXPECT_EQ(barWindow->geometry(), QRect(1, 1, c.left, c.height + 300 - 2));
        EXPECT_EQ(pane->geometry(), QRect(1 + c.left + 6, 1, c.width + 200 - 2 - 6 - c.left, c.height + 300 - 2));
        container.destroyControl();
    }
}
