// The date control as a user meets it: hosted in a container on a shown window, driven with
// simulated keys and clicks through the top-level window, read back through its automation face
// and by the pixels it paints.
#include "date_window_fixture.h"

#include <QAction>
#include <QClipboard>
#include <QLibraryInfo>
#include <QMenu>
#include <QPointer>
#include <QTranslator>

#include <functional>

TV_COM_MODULE()

namespace {

using namespace datetest;

TEST_F(Window, TypingADateThroughTheWindow)
{
    clickIn();
    ASSERT_TRUE(control()->hasFocus());
    EXPECT_EQ(number(DISPID_LD_getStartSelection), 0) << "the click that brought the focus keeps the selection";
    EXPECT_EQ(number(DISPID_LD_getEndSelection), 10);
    typeKeys("24122026");
    EXPECT_EQ(text(), "24.12.2026");
    EXPECT_EQ(value(), oleDate(2026, 12, 24));
    // One Change for the selected date the first digit replaced, then one per digit: the text
    // is no date until the year has its first digit, and each further digit makes another date.
    EXPECT_EQ(count(DISPID_LDE_Change), 8);
    EXPECT_EQ(number(DISPID_LD_Modified), -1);
    EXPECT_EQ(beeps.count(), 0);
    // each key fires the stock KeyDown and the control's own, and the characters KeyPress twice
    EXPECT_EQ(count(DISPID_LDE_KeyDown), 16);
    EXPECT_EQ(count(DISPID_LDE_KeyPress), 16);
    EXPECT_EQ(count(DISPID_LDE_KeyUp), 8);
    clickAway();
    EXPECT_FALSE(control()->hasFocus());
    EXPECT_EQ(text(), "24.12.2026");
    EXPECT_EQ(count(DISPID_LDE_LostFocusEvent), 1);
}

TEST_F(Window, LeavingCorrectsTheEndOfTheMonth)
{
    put(DISPID_LD_Value, Variant::fromDate(oleDate(2024, 4, 15)));
    clickIn();
    key(Qt::Key_Home);
    typeKeys("31");
    EXPECT_EQ(number(DISPID_LD_Status), lzdInvalid);
    clickAway();
    EXPECT_EQ(value(), oleDate(2024, 4, 30));
    EXPECT_EQ(text(), "30.04.2024");
}

TEST_F(Window, SpinKeysThroughTheWindow)
{
    put(DISPID_LD_Value, Variant::fromDate(oleDate(2024, 2, 28)));
    clickIn();
    key(Qt::Key_Home);
    key(Qt::Key_Up);
    EXPECT_EQ(value(), oleDate(2024, 2, 29));
    key(Qt::Key_Up);
    EXPECT_EQ(value(), oleDate(2024, 2, 29)) << "no 30 February";
    key(Qt::Key_End);
    key(Qt::Key_Up);
    EXPECT_EQ(value(), oleDate(2024, 2, 29)) << "no 29 February 2025";
    key(Qt::Key_Down);
    EXPECT_EQ(value(), oleDate(2024, 2, 29));
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    key(Qt::Key_Down); // caret on the month's separator: the month
    EXPECT_EQ(value(), oleDate(2024, 1, 29));
}

TEST_F(Window, RefusedKeysBeep)
{
    clickIn();
    key(Qt::Key_Home);
    typeKeys(".");
    EXPECT_EQ(beeps.count(), 1) << "no field to jump from at the start";
    typeKeys("x");
    EXPECT_EQ(beeps.count(), 1) << "letters are ignored silently";
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(beeps.count(), 2) << "nothing selected to copy";
    put(DISPID_LD_DateFormat, Variant::i2(19)); // a long format takes no digits
    typeKeys("5");
    EXPECT_EQ(beeps.count(), 3);
    EXPECT_EQ(value(), oleDate(2031, 6, 15));
    EXPECT_EQ(beeps.types(), (std::vector<UINT>{0, 0, 0}));
}

TEST_F(Window, CopyAndPasteThroughTheDesktopClipboard)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clickIn();
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), "15.06.2031");

    clipboard->setText(QStringLiteral("01.02.2003"));
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(value(), oleDate(2003, 2, 1));
    EXPECT_EQ(beeps.count(), 0);

    // A paste is a DateString put: a day that does not exist leaves the value, a text that is no
    // date makes it null; both fire Change and neither beeps.
    events.clear();
    clipboard->setText(QStringLiteral("30.02.2003"));
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(value(), oleDate(2003, 2, 1));
    EXPECT_EQ(number(DISPID_LD_Status), lzdValid);
    EXPECT_EQ(count(DISPID_LDE_Change), 1);

    events.clear();
    clipboard->setText(QStringLiteral("Unsinn"));
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(value(), 0.0);
    EXPECT_EQ(number(DISPID_LD_Status), lzdNull);
    EXPECT_EQ(count(DISPID_LDE_Change), 1);
    EXPECT_EQ(beeps.count(), 0);
    clickAway();
    EXPECT_EQ(text(), "") << "a null value shows the NullString";
}

TEST_F(Window, DoubleClickSelectsAndDeleteClears)
{
    clickIn();
    key(Qt::Key_End);
    QTest::mouseDClick(window(), Qt::LeftButton, {}, inWindow(QPoint(10, 12)));
    EXPECT_EQ(number(DISPID_LD_getStartSelection), 0);
    EXPECT_EQ(number(DISPID_LD_getEndSelection), 10);
    key(Qt::Key_Delete);
    EXPECT_EQ(text(), "  .  .");
    clickAway();
    EXPECT_EQ(number(DISPID_LD_Status), lzdNull);
}

TEST_F(Window, DraggingSelects)
{
    clickIn();
    key(Qt::Key_Home);
    const QPoint start = inWindow(QPoint(3, 12));
    QTest::mousePress(window(), Qt::LeftButton, {}, start);
    QTest::mouseMove(window(), inWindow(QPoint(control()->width() / 2, 12)));
    QTest::mouseRelease(window(), Qt::LeftButton, {}, inWindow(QPoint(control()->width() / 2, 12)));
    EXPECT_EQ(number(DISPID_LD_getStartSelection), 0);
    EXPECT_GT(number(DISPID_LD_getEndSelection), 0);
}

TEST_F(Window, InsertKeyTogglesTheEditMode)
{
    clickIn();
    key(Qt::Key_Insert);
    EXPECT_EQ(number(DISPID_LD_EditMode), 0);
    put(DISPID_LD_EditModeChange, Variant::boolean(false));
    key(Qt::Key_Insert);
    EXPECT_EQ(number(DISPID_LD_EditMode), 0);
}

TEST_F(Window, TwoDigitYearAsksTheContainerForTheCentury)
{
    put(DISPID_LD_DateFormat, Variant::i2(9)); // dd/mm/yy
    put(DISPID_LD_Value, Variant::fromDate(oleDate(1999, 5, 5)));
    std::vector<std::pair<LONG, LONG>> asked;
    onEvent = [&](DISPID id, com::EventArgs &args) {
        if (id != DISPID_LDE_GetCentury)
            return;
        asked.emplace_back(args.toInt(0), args.toInt(1));
        if (args.toInt(0) == 24)
            args.setByRef(1, 2000);
    };
    clickIn();
    key(Qt::Key_End);
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    typeKeys("24");
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back(), (std::pair<LONG, LONG>(24, 1900)));
    EXPECT_EQ(value(), oleDate(2024, 5, 5));
}

TEST_F(Window, ClickOnTheButtonPlaceOfAControlWithoutCalendarPlacesTheCaret)
{
    clickIn();
    key(Qt::Key_Home);
    click(QPoint(control()->width() - 3, 12));
    EXPECT_EQ(number(DISPID_LD_getCaretPosition), 10);
    EXPECT_EQ(count(DISPID_LDE_BeforeOpenCalendar), 0);
}

// A right click opens a text box's menu: copy, paste and select all in the words of the host's
// translation of Qt (German in the program); the field keeps its focus and selection meanwhile.
TEST_F(Window, TheContextMenuCopiesPastesAndSelectsAll)
{
    QTranslator german;
    ASSERT_TRUE(german.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qt"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        << "Qt's German translations (qt6-translations-l10n) not found";
    QCoreApplication::installTranslator(&german);
    const QPoint at(6, control()->height() / 2);
    // Opens the menu by a right click and picks an entry by its text (without the shortcut),
    // or closes it with Escape when pick is null; returns the entries and their states.
    auto menu = [&](const char *pick) {
        QTest::mousePress(window(), Qt::RightButton, {}, inWindow(at));
        auto *m = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QStringList entries;
        if (!m) {
            ADD_FAILURE() << "no context menu";
            return entries;
        }
        QAction *chosen = nullptr;
        for (QAction *a : m->actions()) {
            if (a->isSeparator())
                continue;
            const QString text = a->text().section(QLatin1Char('\t'), 0, 0);
            entries << text + (a->isEnabled() ? "" : " (off)");
            if (pick && text == QString::fromUtf8(pick))
                chosen = a;
        }
        QTest::mouseRelease(window(), Qt::RightButton, {}, inWindow(at));
        if (chosen)
            QTest::mouseClick(m->windowHandle(), Qt::LeftButton, {}, m->actionGeometry(chosen).center());
        else
            QTest::keyClick(m->windowHandle(), Qt::Key_Escape);
        settle();
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "the menu closed";
        return entries;
    };

    QApplication::clipboard()->clear();
    clickIn();
    key(Qt::Key_Home); // no selection
    events.clear();
    EXPECT_EQ(menu(nullptr), (QStringList{"&Kopieren (off)", "Einf&ügen (off)", "Alles auswählen"}));
    EXPECT_EQ(menu("Alles auswählen"), (QStringList{"&Kopieren (off)", "Einf&ügen (off)", "Alles auswählen"}));
    EXPECT_EQ(number(DISPID_LD_getStartSelection), 0);
    EXPECT_EQ(number(DISPID_LD_getEndSelection), 10);
    EXPECT_EQ(menu("&Kopieren"), (QStringList{"&Kopieren", "Einf&ügen (off)", "Alles auswählen"}));
    EXPECT_EQ(QApplication::clipboard()->text(), "15.06.2031");

    QApplication::clipboard()->setText("24.12.2026");
    menu("Einf&ügen");
    EXPECT_EQ(value(), oleDate(2026, 12, 24));
    EXPECT_EQ(count(DISPID_LDE_Change), 1);
    EXPECT_TRUE(control()->hasFocus());
    EXPECT_EQ(count(DISPID_LDE_BeforeLostFocus) + count(DISPID_LDE_LostFocusEvent) + count(DISPID_LDE_GotFocusEvent), 0)
        << "the menu took no focus from the field";
    EXPECT_EQ(beeps.count(), 0);

    // After the menu the focus leaves as ever.
    clickAway();
    EXPECT_EQ(count(DISPID_LDE_LostFocusEvent), 1);
    QCoreApplication::removeTranslator(&german);
}

// A host may destroy the control inside any of its events, whatever road the event came by
// (a real Tab, a click, setFocus from code): the host window lives on and takes keys.
TEST_F(Window, TheHostDestroysTheControlInsideEachOfItsEvents)
{
    struct Case
    {
        const char *road;
        DISPID at;
        std::function<void()> prepare; // properties for the road, before the focus comes
        std::function<void()> steps;   // the user's steps
    };
    const auto none = [] {};
    const auto typeDigit = [this] {
        clickIn();
        typeKeys("1");
    };
    const auto leave = [this] {
        clickIn();
        clickAway();
    };
    const Case cases[] = {
        {"focus by a click", DISPID_LDE_GotFocusEvent, none, [this] { clickIn(); }},
        {"focus by Tab", DISPID_LDE_GotFocusEvent, none, [this] { key(Qt::Key_Tab); }},
        {"focus by Shift+Tab", DISPID_LDE_GotFocusEvent, none, [this] { key(Qt::Key_Backtab, Qt::ShiftModifier); }},
        {"focus by setFocus", DISPID_LDE_GotFocusEvent, none, [this] { control()->setFocus(); }},
        {"key down", DISPID_LDE_KeyDown, none, typeDigit},
        {"key press", DISPID_LDE_KeyPress, none, typeDigit},
        {"key up", DISPID_LDE_KeyUp, none, typeDigit},
        {"change by typing", DISPID_LDE_Change, none, typeDigit},
        {"mouse down", DISPID_LDE_MouseDown, none, [this] { clickIn(); }},
        {"mouse up", DISPID_LDE_MouseUp, none, [this] { clickIn(); }},
        {"click", DISPID_LDE_Click, none, [this] { clickIn(); }},
        {"mouse move", DISPID_LDE_MouseMove, none,
         [this] { QTest::mouseMove(window(), inWindow(QPoint(6, control()->height() / 2))); }},
        {"double click", DISPID_LDE_DblClick, none,
         [this] { QTest::mouseDClick(window(), Qt::LeftButton, {}, inWindow(QPoint(6, control()->height() / 2))); }},
        {"before the focus is lost", DISPID_LDE_BeforeLostFocus, none, leave},
        {"focus lost by a click", DISPID_LDE_LostFocusEvent, none, leave},
        {"focus lost by Tab", DISPID_LDE_LostFocusEvent, none,
         [this] {
             clickIn();
             key(Qt::Key_Tab);
         }},
        {"free-form check", DISPID_LDE_InvalidDate,
         [this] {
             put(DISPID_LD_FreeFormEntry, Variant::boolean(true));
             put(DISPID_LD_Value, Variant::fromDate(0.0));
         },
         leave},
        {"century of a two-digit year", DISPID_LDE_GetCentury, [this] { put(DISPID_LD_DateFormat, Variant::i2(9)); },
         [this] {
             clickIn();
             key(Qt::Key_End);
             key(Qt::Key_Left);
             key(Qt::Key_Left);
             typeKeys("24");
         }},
        {"calendar about to open", DISPID_LDE_BeforeOpenCalendar,
         [this] { put(DISPID_LD_CalendarFormat, Variant::i2(1)); },
         [this] {
             clickIn();
             key(Qt::Key_F4);
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.road);
        ASSERT_EQ(container->createControl(QString::fromUtf16(LzDate2_ProgID)), S_OK);
        put(DISPID_LD_Separator, Variant::string("."));
        put(DISPID_LD_Value, Variant::fromDate(oleDate(2031, 6, 15)));
        c.prepare();
        other->setFocus();
        settle();
        QPointer<QWidget> dying = control();
        bool destroyed = false;
        onEvent = [&](DISPID id, com::EventArgs &) {
            if (id == c.at && !destroyed) {
                destroyed = true;
                container->destroyControl();
            }
        };
        c.steps();
        settle();
        onEvent = nullptr;
        ASSERT_TRUE(destroyed) << "the event came";
        EXPECT_EQ(container->controlWidget(), nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(dying.isNull()) << "the window went with its control";
        // The host goes on: its other field takes the focus and keys.
        other->setFocus();
        other->clear();
        typeKeys("ok");
        EXPECT_EQ(other->text(), "ok");
    }
}

// ------------------------------------------------------------------ pixels

TEST_F(Window, FrameAndButtonOnScreen)
{
    const QColor shadow = ole::colorFromOle(ole::systemColor(COLOR_BTNSHADOW));
    const QColor light = ole::colorFromOle(ole::systemColor(COLOR_BTNHIGHLIGHT));
    const QColor face = ole::colorFromOle(ole::systemColor(COLOR_BTNFACE));
    const QColor frame = ole::colorFromOle(ole::systemColor(COLOR_WINDOWFRAME));
    QImage img = pixels();
    const int w = img.width(), h = img.height();
    EXPECT_EQ(QColor(img.pixel(0, 0)), shadow) << "3D border by default";
    EXPECT_EQ(QColor(img.pixel(w - 1, h - 1)), light);

    put(DISPID_LD_Border, Variant::i2(1));
    img = pixels();
    EXPECT_EQ(QColor(img.pixel(0, 0)), frame);
    EXPECT_EQ(QColor(img.pixel(w - 1, h / 2)), frame);

    put(DISPID_LD_CalendarFormat, Variant::i2(1));
    img = pixels();
    const int bw = h > 15 ? h / 2 + 3 : 11;
    EXPECT_EQ(QColor(img.pixel(w - bw, 0)), light) << "raised button edge";
    EXPECT_EQ(QColor(img.pixel(w - 1, h - 1)), frame);
    EXPECT_EQ(QColor(img.pixel(w - bw + 2, 2)), face);
    EXPECT_EQ(QColor(img.pixel(w - bw - 1, h / 2)), frame) << "the border ends before the button";
}

TEST_F(Window, StylesFillTheTextArea)
{
    put(DISPID_LD_Border, Variant::i2(0));
    put(DISPID_LD_Value, Variant::fromDate(0.0)); // null and without the focus: no text
    struct Case
    {
        SHORT style;
        QColor back; // BackColor after the style was set
    };
    const Case cases[] = {{0, ole::colorFromOle(0x80000005)},
                          {1, ole::colorFromOle(0x80000005)},
                          {2, QColor(0, 255, 255)},
                          {3, QColor(128, 128, 128)},
                          {4, QColor(0, 255, 255)},
                          {5, QColor(0, 0, 0)},
                          {6, QColor(0, 0, 0)}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.style);
        put(DISPID_LD_DisplayFormat, Variant::i2(c.style));
        const QImage img = pixels();
        // the edge row: the back colour (Odometer: darker), or the frame of Formatted
        const QColor edge(img.pixel(1, 0));
        const QColor middle(img.pixel(1, img.height() / 2));
        if (c.style == 1) {
            EXPECT_EQ(edge, QColor(Qt::black));
            EXPECT_EQ(middle, c.back);
        } else if (c.style == 2) {
            EXPECT_EQ(middle, c.back);
            EXPECT_LT(edge.green(), middle.green());
        } else {
            EXPECT_EQ(edge, c.back);
        }
    }
}

TEST_F(Window, TheSizeHintFollowsTheDateFormatAndTheStyleInEitherOrder)
{
    // Each date format's width, measured going up the formats and again coming down: a width
    // left over from the format or style before would show as a difference.
    for (SHORT style : {0, 1, 6}) {
        SCOPED_TRACE(style);
        put(DISPID_LD_DisplayFormat, Variant::i2(style));
        std::vector<int> hinauf(30), hinab(30);
        for (SHORT f = 0; f < 30; ++f) {
            put(DISPID_LD_DateFormat, Variant::i2(f));
            hinauf[std::size_t(f)] = control()->sizeHint().width();
        }
        for (SHORT f = 29; f >= 0; --f) {
            put(DISPID_LD_DateFormat, Variant::i2(f));
            hinab[std::size_t(f)] = control()->sizeHint().width();
        }
        EXPECT_EQ(hinauf, hinab);
        // A format with the month's name (display code 12) is wider than its number (code 4).
        EXPECT_GT(hinauf[14], hinauf[6]);
    }
}

TEST_F(Window, EverySizePaints)
{
    put(DISPID_LD_CalendarFormat, Variant::i2(4));
    const QSize sizes[] = {{0, 0}, {1, 1}, {2, 2}, {3, 5}, {40, 4}, {17, 2000}, {2000, 17}, {2000, 2000}};
    for (SHORT style = 0; style <= 6; ++style) {
        put(DISPID_LD_DisplayFormat, Variant::i2(style));
        for (const QSize &size : sizes) {
            SCOPED_TRACE(testing::Message() << style << " " << size.width() << "x" << size.height());
            container->setFixedSize(size);
            control()->resize(size);
            if (!size.isEmpty())
                (void)pixels();
        }
    }
    container->setFixedSize(180, 24);
    clickIn();
    typeKeys("1");
    EXPECT_EQ(text(), "1 .  .");
}

} // namespace
