// The calendars as their client sees them: created by ProgID, set and read by DISPID, and the
// events of clicks, scrolling and keys on a shown window.
#include "calendar/lzcalendar.h"

#include "com/com.h"
#include "com/testing/registration.h"
#include "ole/ole.h"

#include <QCalendarWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

TV_COM_MODULE()

namespace {

using com::Variant;

double oleDate(int y, int m, int d)
{
    return double(QDate(1899, 12, 30).daysTo(QDate(y, m, d)));
}

struct Recorded
{
    DISPID id;
    std::vector<Variant> args;
};

class Calendars : public ::testing::Test
{
protected:
    static inline QTemporaryDir *dir = nullptr;

    static void SetUpTestSuite()
    {
        dir = new QTemporaryDir;
        qputenv("TORVANA_REGISTRY", dir->filePath("registry").toLocal8Bit());
        ASSERT_TRUE(comtest::RegisterLibrary(LZCALENDAR_LIBRARY));
    }
    static void TearDownTestSuite()
    {
        qunsetenv("TORVANA_REGISTRY");
        delete dir;
        dir = nullptr;
    }

    ole::ControlContainer container;
    std::vector<Recorded> events;
    std::function<void(DISPID, com::EventArgs &)> onEvent;

    void create(const char16_t *progId)
    {
        ASSERT_EQ(container.createControl(QString::fromUtf16(progId)), S_OK);
        container.setEventHandler([this](DISPID id, com::EventArgs &args) {
            Recorded r{id, {}};
            for (UINT i = 0; i < args.count(); ++i) {
                Variant v;
                VariantCopyInd(&v, args.at(i));
                r.args.push_back(v);
            }
            events.push_back(r);
            if (onEvent)
                onEvent(id, args);
        });
    }
    void show()
    {
        QWidget *w = container.controlWidget();
        ASSERT_NE(w, nullptr);
        container.resize(w->minimumSizeHint().expandedTo(QSize(200, 130)));
        container.show();
        container.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&container));
        w->setFocus();
    }
    HRESULT put(DISPID id, const VARIANT &v) { return container.setProperty(id, v); }
    Variant get(DISPID id)
    {
        Variant v;
        EXPECT_EQ(container.getProperty(id, &v), S_OK) << id;
        return v;
    }
    QCalendarWidget *month(int i) const
    {
        return container.controlWidget()->findChild<QCalendarWidget *>(QStringLiteral("lzCalendarMonth%1").arg(i));
    }
    // Clicks the cell of a date in the first month (rows of weeks from Sunday).
    void clickDay(const QDate &d)
    {
        QCalendarWidget *cal = month(0);
        auto *view = cal->findChild<QTableView *>();
        const QDate first(d.year(), d.month(), 1);
        // Weeks from Sunday; a month that begins on a Sunday starts in the second row.
        const int offset = first.dayOfWeek() % 7 == 0 ? 7 : first.dayOfWeek() % 7;
        const int index = offset + d.day() - 1;
        const QRect cell = view->visualRect(view->model()->index(index / 7, index % 7));
        QWidget *vp = view->viewport();
        QTest::mouseClick(container.windowHandle(), Qt::LeftButton, {}, vp->mapTo(&container, cell.center()));
    }
    std::vector<DISPID> ids() const
    {
        std::vector<DISPID> r;
        for (const auto &e : events)
            r.push_back(e.id);
        return r;
    }
};

TEST_F(Calendars, BothRegisterUnderTheirProgIds)
{
    CLSID a, b;
    EXPECT_EQ(CLSIDFromProgID(LzCalendarCtrl_ProgID, &a), S_OK);
    EXPECT_EQ(a, CLSID_LzCalendarCtrl);
    EXPECT_EQ(CLSIDFromProgID(LzGridCalendar_ProgID, &b), S_OK);
    EXPECT_EQ(b, CLSID_LzGridCalendar);
}

TEST_F(Calendars, OnePieceTakesAndGivesItsSettings)
{
    create(LzCalendarCtrl_ProgID);
    namespace D = LzCalendarCtrlDisp;
    EXPECT_EQ(put(D::Value, Variant::fromDate(oleDate(2024, 3, 3))), S_OK);
    EXPECT_EQ(com::variantToDouble(get(D::Value)), oleDate(2024, 3, 3));
    EXPECT_EQ(put(D::Value, Variant::fromDate(oleDate(2024, 3, 3) + 0.75)), S_OK);
    EXPECT_EQ(com::variantToDouble(get(D::Value)), oleDate(2024, 3, 3)) << "midnight";
    EXPECT_EQ(put(D::Value, Variant::fromDate(3000000.0)), E_INVALIDARG);
    EXPECT_EQ(com::variantToDouble(get(D::Value)), oleDate(2024, 3, 3));

    for (SHORT code : {SHORT(0), SHORT(1), SHORT(3)}) {
        EXPECT_EQ(put(D::Months, Variant::i2(code)), S_OK);
        EXPECT_EQ(com::variantToInt(get(D::Months)), code);
    }
    EXPECT_EQ(put(D::Months, Variant::i2(3)), S_OK);
    for (int i = 0; i < 6; ++i)
        EXPECT_NE(month(i), nullptr) << i;

    EXPECT_EQ(put(D::DayLetters, Variant::string("SM")), S_OK); // short: the others stay
    EXPECT_EQ(com::variantToString(get(D::DayLetters)), "SMTWTFS");
    EXPECT_EQ(put(D::DayLetters, Variant::string("SMDMDFSXYZ")), S_OK);
    EXPECT_EQ(com::variantToString(get(D::DayLetters)), "SMDMDFS");
    EXPECT_EQ(put(D::MonthNames, Variant::string("Januar|Februar")), S_OK);
    EXPECT_TRUE(com::variantToString(get(D::MonthNames)).startsWith("Januar|Februar|March|"));
    EXPECT_EQ(put(D::SelectedBackColor, Variant::i4(LONG(0x8000000D))), S_OK);
    EXPECT_EQ(com::variantToInt(get(D::SelectedBackColor)), LONG(0x8000000D));
}

TEST_F(Calendars, OnePieceReportsClicksAndKeys)
{
    create(LzCalendarCtrl_ProgID);
    put(LzCalendarCtrlDisp::Value, Variant::fromDate(oleDate(2024, 3, 3)));
    show();
    clickDay(QDate(2024, 3, 14));
    EXPECT_EQ(ids(), (std::vector<DISPID>{DISPID_CLICK}));
    EXPECT_EQ(com::variantToDouble(get(LzCalendarCtrlDisp::Value)), oleDate(2024, 3, 14));

    events.clear();
    onEvent = [](DISPID id, com::EventArgs &args) {
        if (id == DISPID_KEYDOWN && args.toInt(0) == 0x27)
            args.setByRef(0, 0); // the handler takes Right
    };
    QTest::keyClick(container.windowHandle(), Qt::Key_Left);
    EXPECT_EQ(com::variantToDouble(get(LzCalendarCtrlDisp::Value)), oleDate(2024, 3, 13));
    QTest::keyClick(container.windowHandle(), Qt::Key_Right);
    EXPECT_EQ(com::variantToDouble(get(LzCalendarCtrlDisp::Value)), oleDate(2024, 3, 13)) << "swallowed";
    QTest::keyClick(container.windowHandle(), Qt::Key_Escape);
    ASSERT_EQ(events.size(), 3u);
    for (const auto &e : events)
        EXPECT_EQ(e.id, DISPID_KEYDOWN);
    EXPECT_EQ(com::variantToInt(events[0].args[0]), 0x25);
    EXPECT_EQ(com::variantToInt(events[2].args[0]), 0x1B);
}

TEST_F(Calendars, GridReportsPicksScrollingAndKeys)
{
    create(LzGridCalendar_ProgID);
    namespace D = LzGridCalendarDisp;
    namespace E = LzGridCalendarEvent;
    put(D::Value, Variant::fromDate(oleDate(2024, 1, 31)));
    show();
    clickDay(QDate(2024, 1, 10));
    ASSERT_EQ(ids(), (std::vector<DISPID>{E::DateChanged, E::MouseUp}));
    EXPECT_EQ(events[0].args[0].date, oleDate(2024, 1, 10));
    EXPECT_EQ(com::variantToInt(events[1].args[0]), 1);

    events.clear();
    container.controlWidget()->findChild<QToolButton *>(QStringLiteral("lzCalendarNext"))->click();
    ASSERT_EQ(ids(), (std::vector<DISPID>{E::Scrolled, E::DateChanged}));
    EXPECT_EQ(events[1].args[0].date, oleDate(2024, 2, 10));

    events.clear();
    QTest::keyClick(container.windowHandle(), Qt::Key_Right);
    ASSERT_EQ(ids(), (std::vector<DISPID>{E::KeyDown, E::DateChanged}));
    EXPECT_EQ(com::variantToInt(events[0].args[0]), 0x27);
    EXPECT_EQ(events[1].args[0].date, oleDate(2024, 2, 11));
}

TEST_F(Calendars, GridTakesItsCreationSettings)
{
    create(LzGridCalendar_ProgID);
    namespace D = LzGridCalendarDisp;
    EXPECT_EQ(put(D::BackColor, Variant::i4(0xFFFFFF)), S_OK);
    EXPECT_EQ(put(D::GridBackColor, Variant::i4(0xFFFFFF)), S_OK);
    EXPECT_EQ(put(D::BorderStyle, Variant::i2(0)), S_OK);
    EXPECT_EQ(put(D::MonthSpacing, Variant::i2(4)), S_OK);
    EXPECT_EQ(put(D::ShowToday, Variant::i4(1)), S_OK);
    EXPECT_EQ(put(D::Months, Variant::i2(1)), S_OK);
    EXPECT_NE(month(2), nullptr);
    // indexed members: the index first, the value last
    EXPECT_EQ(com::dispPut(container.controlDispatch().get(), D::WeekdayColor, Variant::i4(192), {Variant::i2(0)}),
              S_OK);
    EXPECT_EQ(com::dispPut(container.controlDispatch().get(), D::DayLetter, Variant::string("D"), {Variant::i2(2)}),
              S_OK);
    EXPECT_EQ(com::dispPut(container.controlDispatch().get(), D::MonthName, Variant::string("Mai"), {Variant::i2(4)}),
              S_OK);
    EXPECT_EQ(com::dispPut(container.controlDispatch().get(), D::MonthName, Variant::string("x"), {Variant::i2(12)}),
              E_INVALIDARG);
    Variant letter;
    EXPECT_EQ(com::dispGet(container.controlDispatch().get(), D::DayLetter, &letter, {Variant::i2(2)}), S_OK);
    EXPECT_EQ(com::variantToString(letter), "D");
    auto font = ole::createFont(ole::defaultFontDesc());
    EXPECT_EQ(put(D::Font, Variant::dispatch(font.get())), S_OK);
}

} // namespace
