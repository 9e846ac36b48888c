// The calendar popup: opened by F4, Alt+Down and the drop-down button, a date picked in the
// hosted calendar, commit and cancel, the focus watch, and the calendars that cannot be created.
#include "date_window_fixture.h"
#include "testsupport/today.h"

#include <QCalendarWidget>
#include <QScreen>
#include <QTableView>
#include <QToolButton>

namespace {

using namespace datetest;

class Popup : public Window
{
protected:
    void withCalendar(SHORT format)
    {
        put(DISPID_LD_CalendarFormat, Variant::i2(format));
        events.clear();
    }
    com::ComPtr<IDispatch> calendar()
    {
        Variant v = get(DISPID_LD_CalendarControl);
        return v.vt == VT_DISPATCH ? com::ComPtr<IDispatch>(v.pdispVal) : com::ComPtr<IDispatch>();
    }
    double calendarValue(DISPID valueId)
    {
        Variant v;
        EXPECT_EQ(com::dispGet(calendar().get(), valueId, &v), S_OK);
        return com::variantToDouble(v);
    }
    QWindow *popupWindow() const { return popup() ? popup()->windowHandle() : nullptr; }
    int monthsShown() const { return popup() ? int(popup()->findChildren<QCalendarWidget *>().size()) : 0; }
    // Clicks a day of the first month shown in the popup.
    void clickDay(const QDate &d)
    {
        QWidget *p = popup();
        ASSERT_NE(p, nullptr);
        auto *cal = p->findChild<QCalendarWidget *>(QStringLiteral("lzCalendarMonth0"));
        ASSERT_NE(cal, nullptr);
        auto *view = cal->findChild<QTableView *>();
        const QDate first(d.year(), d.month(), 1);
        // Weeks from Sunday; a month that begins on a Sunday starts in the second row.
        const int offset = first.dayOfWeek() % 7 == 0 ? 7 : first.dayOfWeek() % 7;
        const int index = offset + d.day() - 1;
        const QRect cell = view->visualRect(view->model()->index(index / 7, index % 7));
        QTest::mouseClick(popupWindow(), Qt::LeftButton, {}, view->viewport()->mapTo(p, cell.center()));
    }
    // On an X server the window system hands the activation back and forth in its own time:
    // these wait until Qt itself has made the window active or given the field the focus.
    static bool qtActivates(QWidget *w)
    {
        return QTest::qWaitFor([w] { return QApplication::activeWindow() == w; });
    }
    bool backOnTheField()
    {
        return QTest::qWaitFor([this] { return control()->hasFocus(); });
    }
    // A click on the field once the host window is active, and until the field has the focus
    // (a popup closed just before hands the activation back in the window system's own time).
    void clickInActive()
    {
        if (QApplication::activeWindow() != &host && !qtActivates(&host)) {
            host.activateWindow();
            ASSERT_TRUE(qtActivates(&host));
        }
        clickIn();
        ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == &host && control()->hasFocus(); }));
    }
    void openWithF4()
    {
        clickInActive();
        events.clear();
        key(Qt::Key_F4);
        ASSERT_NE(popup(), nullptr);
        ASSERT_TRUE(popup()->isVisible());
        ASSERT_TRUE(qtActivates(popup()));
    }
    // Holds the focus watch back (as a busy machine may) or lets it run again.
    void holdWatch(bool hold)
    {
        auto *timer = popup()->findChild<QTimer *>(QStringLiteral("lzCalendarTimer"));
        ASSERT_NE(timer, nullptr);
        if (hold)
            timer->stop();
        else
            timer->start();
    }
    void closeAndSettle()
    {
        tick();
        settle();
    }
};

TEST_F(Popup, FourOpensTheCalendarUnderTheFieldWithTheValue)
{
    withCalendar(1);
    openWithF4();
    EXPECT_EQ(count(DISPID_LDE_BeforeOpenCalendar), 1);
    EXPECT_EQ(count(DISPID_LDE_BeforeLostFocus), 0) << "the focus went into the control's own popup";
    EXPECT_EQ(count(DISPID_LDE_LostFocusEvent), 0);
    const QRect field(control()->mapToGlobal(QPoint(0, 0)), control()->size());
    EXPECT_EQ(popup()->y(), field.bottom() + 1);
    EXPECT_EQ(popup()->x(), field.left());
    EXPECT_EQ(calendarValue(7), oleDate(2031, 6, 15));
    EXPECT_EQ(monthsShown(), 1);
    QWidget *focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    EXPECT_TRUE(popup()->isAncestorOf(focus)) << "the calendar has the focus";
}

TEST_F(Popup, PickingADayCommitsIt)
{
    withCalendar(1);
    openWithF4();
    // The watch is held so that a slow click cannot overlap the tick that closes the popup.
    holdWatch(true);
    clickDay(QDate(2031, 6, 20));
    EXPECT_TRUE(popup()->isVisible()) << "closed by the next tick";
    holdWatch(false);
    closeAndSettle();
    EXPECT_FALSE(popup()->isVisible());
    EXPECT_EQ(value(), oleDate(2031, 6, 20));
    EXPECT_EQ(count(DISPID_LDE_Change), 1);
    EXPECT_EQ(count(DISPID_LDE_AfterCloseCalendar), 1);
    EXPECT_TRUE(backOnTheField());
    EXPECT_EQ(count(DISPID_LDE_GotFocusEvent), 0) << "the focus came back from the popup";
}

TEST_F(Popup, EscapeCancelsAndEnterCommits)
{
    withCalendar(2);
    openWithF4();
    QTest::keyClick(popupWindow(), Qt::Key_Right);
    QTest::keyClick(popupWindow(), Qt::Key_Escape);
    closeAndSettle();
    EXPECT_EQ(value(), oleDate(2031, 6, 15));
    EXPECT_EQ(count(DISPID_LDE_Change), 0);
    EXPECT_EQ(count(DISPID_LDE_AfterCloseCalendar), 1);

    ASSERT_TRUE(backOnTheField());
    events.clear();
    key(Qt::Key_F4);
    ASSERT_TRUE(qtActivates(popup()));
    QTest::keyClick(popupWindow(), Qt::Key_Right);
    QTest::keyClick(popupWindow(), Qt::Key_Return);
    closeAndSettle();
    EXPECT_EQ(value(), oleDate(2031, 6, 16));
    EXPECT_EQ(count(DISPID_LDE_AfterCloseCalendar), 1);
}

TEST_F(Popup, TabCancelsAtOnce)
{
    withCalendar(1);
    openWithF4();
    QTest::keyClick(popupWindow(), Qt::Key_Tab);
    EXPECT_FALSE(popup()->isVisible());
    EXPECT_EQ(count(DISPID_LDE_AfterCloseCalendar), 1);
}

TEST_F(Popup, GridCalendarCommitsAPickedDayNotAScroll)
{
    withCalendar(4);
    openWithF4();
    popup()->findChild<QToolButton *>(QStringLiteral("lzCalendarNext"))->click();
    closeAndSettle();
    EXPECT_TRUE(popup()->isVisible()) << "scrolling alone commits nothing";
    clickDay(QDate(2031, 7, 3));
    closeAndSettle();
    EXPECT_FALSE(popup()->isVisible());
    EXPECT_EQ(value(), oleDate(2031, 7, 3));
}

TEST_F(Popup, AltDownAndTheButtonOpenIt)
{
    withCalendar(1);
    clickIn();
    key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(popup()->isVisible());
    QTest::keyClick(popupWindow(), Qt::Key_Escape);
    closeAndSettle();
    EXPECT_FALSE(popup()->isVisible());

    events.clear();
    click(QPoint(control()->width() - 4, control()->height() / 2));
    EXPECT_TRUE(popup()->isVisible());
    EXPECT_EQ(count(DISPID_LDE_BeforeOpenCalendar), 1);
}

TEST_F(Popup, EveryCalendarFormat)
{
    struct Case
    {
        SHORT format;
        bool popup;
        int months;
        bool onePiece;
    };
    const Case cases[] = {{1, true, 1, true},    {2, true, 3, true},   {3, true, 6, true},   {4, true, 1, false},
                          {5, true, 3, false},   {6, true, 6, false},  {0, false, 0, false}, {7, false, 0, false},
                          {-5, false, 0, false}, {-1, false, 0, false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.format);
        withCalendar(c.format);
        clickInActive();
        key(Qt::Key_F4);
        EXPECT_EQ(count(DISPID_LDE_BeforeOpenCalendar), c.popup ? 1 : 0);
        EXPECT_EQ(popup() != nullptr && popup()->isVisible(), c.popup);
        if (c.popup) {
            EXPECT_EQ(monthsShown(), c.months);
            EXPECT_EQ(calendarValue(c.onePiece ? 7 : 1), oleDate(2031, 6, 15));
            QTest::keyClick(popupWindow(), Qt::Key_Escape);
            closeAndSettle();
        }
        clickAway();
    }
}

TEST_F(Popup, WithoutTheCalendarLibraryThereIsNoDropDown)
{
    registerCalendars(false);
    withCalendar(1);
    EXPECT_EQ(popup(), nullptr);
    EXPECT_EQ(get(DISPID_LD_CalendarControl).pdispVal, nullptr) << "no hosted calendar";
    const QImage img = control()->grab().toImage();
    const QColor face = ole::colorFromOle(ole::systemColor(COLOR_BTNFACE));
    EXPECT_NE(QColor(img.pixel(img.width() - 5, 5)), face) << "no button";
    clickIn();
    key(Qt::Key_F4);
    click(QPoint(control()->width() - 4, control()->height() / 2));
    EXPECT_EQ(count(DISPID_LDE_BeforeOpenCalendar), 0);
    EXPECT_EQ(value(), oleDate(2031, 6, 15));
    registerCalendars(true);
}

TEST_F(Popup, AtDesignTimeThereIsNoPopup)
{
    container->setUserMode(false);
    ASSERT_EQ(container->createControl(QString::fromUtf16(LzDate2_ProgID)), S_OK);
    withCalendar(1);
    EXPECT_EQ(popup(), nullptr);
    EXPECT_EQ(get(DISPID_LD_CalendarControl).pdispVal, nullptr);
    clickIn();
    key(Qt::Key_F4);
    EXPECT_EQ(count(DISPID_LDE_BeforeOpenCalendar), 0);
    EXPECT_EQ(popup(), nullptr);
}

TEST_F(Popup, ADateOutsideTheRangeBeepsAndChangesNothing)
{
    withCalendar(4);
    for (double outside : {oleDate(100, 1, 5), oleDate(9999, 6, 1)}) {
        SCOPED_TRACE(outside);
        events.clear();
        beeps.reset();
        openWithF4();
        ASSERT_EQ(com::dispPut(calendar().get(), 1, Variant::fromDate(outside)), S_OK);
        QTest::keyClick(popupWindow(), Qt::Key_Return);
        closeAndSettle();
        EXPECT_EQ(beeps.count(), 1);
        EXPECT_EQ(value(), oleDate(2031, 6, 15));
        EXPECT_EQ(count(DISPID_LDE_Change), 0);
        EXPECT_EQ(count(DISPID_LDE_AfterCloseCalendar), 1);
    }
}

TEST_F(Popup, FocusLostWhileOpenCancels)
{
    withCalendar(1);
    openWithF4();
    QTest::keyClick(popupWindow(), Qt::Key_Right);
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    other->setFocus();
    closeAndSettle();
    EXPECT_FALSE(popup()->isVisible());
    EXPECT_EQ(value(), oleDate(2031, 6, 15));
    EXPECT_EQ(count(DISPID_LDE_AfterCloseCalendar), 1);
}

// The window system activates the popup later than the watch's interval (a busy machine, a remote
// display): F4 goes to the field without running the event loop, so the activation stays queued
// while the watch ticks. Until the calendar had the focus, only a move of the focus to another
// widget is a cancel; once it had it, any loss is.
TEST_F(Popup, TheWatchWaitsForTheWindowSystemToActivateThePopup)
{
    struct Case
    {
        const char *name;
        bool moveBeforeActivation; // the user moves the focus on while the popup is not active yet
    };
    const Case cases[] = {{"the focus stays on the field", false}, {"the focus goes to another field", true}};
    withCalendar(1);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        clickIn();
        events.clear();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_F4, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_F4, Qt::NoModifier);
        QApplication::sendEvent(control(), &press);
        QApplication::sendEvent(control(), &release);
        ASSERT_TRUE(popup()->isVisible());
        ASSERT_FALSE(popup()->isActiveWindow()) << "the activation is still queued";
        if (c.moveBeforeActivation)
            other->setFocus();
        for (int i = 0; i < 5; ++i)
            tick();
        EXPECT_EQ(popup()->isVisible(), !c.moveBeforeActivation);
        EXPECT_EQ(count(DISPID_LDE_AfterCloseCalendar), c.moveBeforeActivation ? 1 : 0);
        if (c.moveBeforeActivation) {
            settle();
            clickAway();
            continue;
        }
        holdWatch(true);
        ASSERT_TRUE(QTest::qWaitForWindowActive(popup()));
        EXPECT_TRUE(popup()->isAncestorOf(QApplication::focusWidget())) << "the calendar has the focus";
        // A real loss after the activation cancels, even with no tick between, and even when the
        // focus goes back to the field.
        QTest::keyClick(popupWindow(), Qt::Key_Right);
        host.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
        ASSERT_TRUE(control()->hasFocus());
        holdWatch(false);
        closeAndSettle();
        EXPECT_FALSE(popup()->isVisible());
        EXPECT_EQ(value(), oleDate(2031, 6, 15));
        EXPECT_EQ(count(DISPID_LDE_Change), 0);
        EXPECT_EQ(count(DISPID_LDE_AfterCloseCalendar), 1);
        clickAway();
    }
}

// On a slow display the window system activates the popup after the user's next keys: they
// reach the field, which hands them to the calendar, so the first Escape cancels and the first
// Enter commits, however the calendar was opened.
TEST_F(Popup, KeysBeforeThePopupIsActiveGoToTheCalendar)
{
    struct Case
    {
        const char *name;
        SHORT format;
        bool byButton; // else F4
        Qt::Key key;
        double after;
    };
    const Case cases[] = {
        {"button, Escape", 1, true, Qt::Key_Escape, oleDate(2031, 6, 15)},
        {"button, Enter", 1, true, Qt::Key_Return, oleDate(2031, 6, 16)},
        {"F4, Escape", 1, false, Qt::Key_Escape, oleDate(2031, 6, 15)},
        {"F4, Enter on the keypad", 1, false, Qt::Key_Enter, oleDate(2031, 6, 16)},
        {"grid calendar, button, Escape", 4, true, Qt::Key_Escape, oleDate(2031, 6, 15)},
        {"grid calendar, F4, Enter", 4, false, Qt::Key_Return, oleDate(2031, 6, 16)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        put(DISPID_LD_Value, Variant::fromDate(oleDate(2031, 6, 15)));
        withCalendar(c.format);
        host.activateWindow();
        clickInActive();
        events.clear();
        // Delivered to the field without a turn of the event loop: the activation stays queued.
        auto deliver = [this](QEvent *e) { QApplication::sendEvent(control(), e); };
        if (c.byButton) {
            const QPointF at(control()->width() - 4, control()->height() / 2);
            QMouseEvent press(QEvent::MouseButtonPress, at, control()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                              Qt::NoModifier);
            QMouseEvent release(QEvent::MouseButtonRelease, at, control()->mapToGlobal(at), Qt::LeftButton,
                                Qt::NoButton, Qt::NoModifier);
            deliver(&press);
            deliver(&release);
        } else {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_F4, Qt::NoModifier);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_F4, Qt::NoModifier);
            deliver(&press);
            deliver(&release);
        }
        ASSERT_TRUE(popup()->isVisible());
        ASSERT_NE(QApplication::activeWindow(), popup()) << "the activation is still queued";
        for (Qt::Key k : {Qt::Key_Right, c.key}) {
            QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
            QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier);
            deliver(&press);
            deliver(&release);
        }
        tick();
        EXPECT_FALSE(popup()->isVisible()) << "closed by the first key";
        EXPECT_EQ(value(), c.after);
        EXPECT_EQ(count(DISPID_LDE_Change), c.after == oleDate(2031, 6, 15) ? 0 : 1);
        EXPECT_EQ(count(DISPID_LDE_AfterCloseCalendar), 1);
        EXPECT_TRUE(backOnTheField());
        clickAway();
    }
}

TEST_F(Popup, DestroyingTheControlWhileOpen)
{
    withCalendar(5);
    openWithF4();
    container->destroyControl();
    settle();
    EXPECT_EQ(popup(), nullptr);
}

TEST_F(Popup, ANullValueOpensOnToday)
{
    withCalendar(1);
    put(DISPID_LD_Value, Variant::fromDate(0.0));
    openWithF4();
    const QDate today = testsupport::Heute;
    EXPECT_EQ(calendarValue(7), oleDate(today.year(), today.month(), today.day()));
}

TEST_F(Popup, NearTheBottomOfTheScreenItOpensAbove)
{
    withCalendar(1);
    const QRect screen = host.screen()->geometry();
    host.move(host.x(), screen.bottom() - host.height() - 2);
    settle();
    openWithF4();
    const QRect field(control()->mapToGlobal(QPoint(0, 0)), control()->size());
    EXPECT_LT(popup()->geometry().bottom(), field.top());
}

TEST_F(Popup, TimeStoreKeepsTheTimeOfDay)
{
    // A held time of day comes with stored properties (a Value put keeps the time held before).
    auto bag = ole::createPropertyBag();
    ASSERT_EQ(container->control<IPersistPropertyBag>()->Save(bag.get(), TRUE, TRUE), S_OK);
    Variant held = Variant::r8(oleDate(2031, 6, 15) + 14.5 / 24.0);
    Variant on = Variant::boolean(true);
    Variant custom = Variant::i2(1);
    Variant calendarCode = Variant::i2(0);
    bag->Write(u"Value", &held);
    bag->Write(u"TimeStore", &on);
    bag->Write(u"ValueReset", &custom);
    bag->Write(u"CalendarFormat", &calendarCode);
    ASSERT_EQ(container->createControl(CLSID_LzDate2, bag.get()), S_OK);
    ASSERT_DOUBLE_EQ(value(), oleDate(2031, 6, 15) + 14.5 / 24.0);
    openWithF4();
    ASSERT_EQ(com::dispPut(calendar().get(), 7, Variant::fromDate(oleDate(2032, 3, 3))), S_OK);
    QTest::keyClick(popupWindow(), Qt::Key_Return);
    closeAndSettle();
    EXPECT_DOUBLE_EQ(value(), oleDate(2032, 3, 3) + 14.5 / 24.0);
}

TEST_F(Popup, ShortCalendarTextsAreCompleted)
{
    put(DISPID_LD_CalendarDOWs, Variant::string("SM"));
    put(DISPID_LD_CalendarMonths, Variant::string("Januar|Februar"));
    for (SHORT format : {SHORT(1), SHORT(4)}) {
        SCOPED_TRACE(format);
        withCalendar(format);
        openWithF4();
        com::ComPtr<IDispatch> cal = calendar();
        if (format == 1) {
            Variant letters, names;
            ASSERT_EQ(com::dispGet(cal.get(), 13, &letters), S_OK);
            EXPECT_EQ(com::variantToString(letters), "SMTWTFS");
            ASSERT_EQ(com::dispGet(cal.get(), 14, &names), S_OK);
            EXPECT_EQ(com::variantToString(names),
                      "Januar|Februar|March|April|May|June|July|August|September|October|November|December");
        } else {
            Variant letter, name;
            ASSERT_EQ(com::dispGet(cal.get(), 23, &letter, {Variant::i2(6)}), S_OK);
            EXPECT_EQ(com::variantToString(letter), "S");
            ASSERT_EQ(com::dispGet(cal.get(), 24, &name, {Variant::i2(11)}), S_OK);
            EXPECT_EQ(com::variantToString(name), "December");
            ASSERT_EQ(com::dispGet(cal.get(), 24, &name, {Variant::i2(1)}), S_OK);
            EXPECT_EQ(com::variantToString(name), "Februar");
        }
        QTest::keyClick(popupWindow(), Qt::Key_Escape);
        closeAndSettle();
        clickAway();
    }
}

TEST_F(Popup, CtrlAltAndEscapeCancelInBothCalendars)
{
    const Qt::Key keys[] = {Qt::Key_Control, Qt::Key_Alt, Qt::Key_Escape};
    for (SHORT format : {SHORT(1), SHORT(4)}) {
        withCalendar(format);
        for (Qt::Key k : keys) {
            SCOPED_TRACE(testing::Message() << "format " << format << " key " << k);
            events.clear();
            openWithF4();
            QTest::keyClick(popupWindow(), Qt::Key_Right);
            QTest::keyClick(popupWindow(), k);
            closeAndSettle();
            EXPECT_FALSE(popup()->isVisible());
            EXPECT_EQ(value(), oleDate(2031, 6, 15));
            EXPECT_EQ(count(DISPID_LDE_Change), 0);
            EXPECT_EQ(count(DISPID_LDE_AfterCloseCalendar), 1);
            EXPECT_TRUE(backOnTheField());
        }
        clickAway();
    }
}

TEST_F(Popup, AClickOnThePopupBesideTheCalendarCancels)
{
    withCalendar(1);
    openWithF4();
    QTest::keyClick(popupWindow(), Qt::Key_Right);
    QTest::mouseClick(popupWindow(), Qt::LeftButton, {}, QPoint(1, popup()->height() - 2));
    closeAndSettle();
    EXPECT_FALSE(popup()->isVisible());
    EXPECT_EQ(value(), oleDate(2031, 6, 15));
    EXPECT_EQ(count(DISPID_LDE_AfterCloseCalendar), 1);
}

TEST_F(Popup, TheButtonWhileOpenCommitsTheDateShown)
{
    withCalendar(1);
    openWithF4();
    QTest::keyClick(popupWindow(), Qt::Key_Right);
    // The press on the button comes before the watch sees the focus on the field.
    holdWatch(true);
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    click(QPoint(control()->width() - 4, control()->height() / 2));
    holdWatch(false);
    closeAndSettle();
    EXPECT_FALSE(popup()->isVisible());
    EXPECT_EQ(count(DISPID_LDE_BeforeOpenCalendar), 1) << "the second press opens nothing";
    EXPECT_EQ(value(), oleDate(2031, 6, 16));
    EXPECT_EQ(count(DISPID_LDE_AfterCloseCalendar), 1);
}

TEST_F(Popup, TheHighlightColourGoesToTheCalendarAndItsComplementBeside)
{
    put(DISPID_LD_HighlightColor, Variant::i4(0x00123456));
    struct Case
    {
        SHORT format;
        DISPID inverse, colour;
    };
    for (const Case &c : {Case{1, 11, 12}, Case{4, 14, 15}}) {
        SCOPED_TRACE(c.format);
        withCalendar(c.format);
        openWithF4();
        Variant inverse, colour;
        ASSERT_EQ(com::dispGet(calendar().get(), c.inverse, &inverse), S_OK);
        ASSERT_EQ(com::dispGet(calendar().get(), c.colour, &colour), S_OK);
        EXPECT_EQ(com::variantToInt(inverse), 0x00EDCBA9);
        EXPECT_EQ(com::variantToInt(colour), 0x00123456);
        QTest::keyClick(popupWindow(), Qt::Key_Escape);
        closeAndSettle();
        clickAway();
    }
}

TEST_F(Popup, ThePopupFramesTheCalendarAndStaysOnTheScreen)
{
    struct Case
    {
        SHORT format;
        int extraWidth, extraHeight;
    };
    for (const Case &c : {Case{1, 9, 10}, Case{5, 4, 4}}) {
        SCOPED_TRACE(c.format);
        withCalendar(c.format);
        const QRect screen = host.screen()->geometry();
        // The field begins 100 pixels before the screen's right edge.
        host.move(host.x() + screen.right() - 99 - control()->mapToGlobal(QPoint(0, 0)).x(), host.y());
        settle();
        openWithF4();
        QWidget *cal = popup()->findChild<QWidget *>(QStringLiteral("lzCalendarHost"));
        ASSERT_NE(cal, nullptr);
        EXPECT_EQ(popup()->width(), cal->width() + c.extraWidth);
        EXPECT_EQ(popup()->height(), cal->height() + c.extraHeight);
        EXPECT_EQ(popup()->x(), screen.right() + 1 - cal->width() - 11) << "moved left to stay on the screen";
        QTest::keyClick(popupWindow(), Qt::Key_Escape);
        closeAndSettle();
        clickAway();
    }
}

TEST_F(Popup, TheControlDestroyedByItsOwnCommitEvents)
{
    for (DISPID at : {DISPID(DISPID_LDE_Change), DISPID(DISPID_LDE_AfterCloseCalendar)}) {
        SCOPED_TRACE(at);
        host.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
        ASSERT_EQ(container->createControl(QString::fromUtf16(LzDate2_ProgID)), S_OK);
        put(DISPID_LD_Value, Variant::fromDate(oleDate(2031, 6, 15)));
        withCalendar(4);
        onEvent = [this, at](DISPID id, com::EventArgs &) {
            if (id == at)
                container->destroyControl();
        };
        openWithF4();
        clickDay(QDate(2031, 6, 20));
        closeAndSettle();
        onEvent = nullptr;
        EXPECT_EQ(container->controlWidget(), nullptr);
        EXPECT_EQ(popup(), nullptr);
    }
}

} // namespace
