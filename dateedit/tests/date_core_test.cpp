// The date core: formats, system patterns, reading texts back, separators and the value rules.
#include "DateModel.h"
#include "fake_intl.h"

#include "OleCalendar.h"
#include "datenumber_cases.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <limits>

using namespace lzdate;

namespace {

struct RecordingHost : DateModelHost
{
    bool allowEdit = true;
    int changes = 0;
    int boundNotes = 0;
    int dirtyMarks = 0;
    bool requestBoundEdit() override { return allowEdit; }
    void boundChanged() override { ++boundNotes; }
    void changeEvent() override { ++changes; }
    void setDirty() override { ++dirtyMarks; }
};

class DateCore : public ::testing::Test
{
protected:
    FakeIntl intl;
    RecordingHost host;
    DateModel model{&host, &intl};

    void hold(double value, Status status = Status::Valid)
    {
        model.setRaw(value, status);
        model.rebuild(false);
    }
};

// ------------------------------------------------------------------ the 30 formats

struct FormatCase
{
    int dateFormat;
    const char *text;
    int fieldOrder;
};

class AllFormats : public DateCore, public ::testing::WithParamInterface<FormatCase>
{};

TEST_P(AllFormats, FridayFifthOfJanuary2024WithDot)
{
    const FormatCase &c = GetParam();
    model.putSeparator(".");
    model.putDateFormat(c.dateFormat);
    hold(oleDate(2024, 1, 5));
    EXPECT_EQ(model.text(), QString::fromUtf8(c.text));
    EXPECT_EQ(model.fieldOrder(), c.fieldOrder);
}

// Field orders: month-day 14, day-month 11, +16 with the year last, x4+1 with the year first.
INSTANTIATE_TEST_SUITE_P(
    DateFormats, AllFormats,
    ::testing::Values(FormatCase{0, "05.01.2024", 27},              // sShortDate dd.MM.yyyy
                      FormatCase{1, "Friday, 5 January, 2024", 27}, // sLongDate dddd, d. MMMM yyyy
                      FormatCase{2, "1.5", 14}, FormatCase{3, "01.05", 14}, FormatCase{4, "5.1", 11},
                      FormatCase{5, "05.01", 11}, FormatCase{6, "1.5.24", 30}, FormatCase{7, "01.05.24", 30},
                      FormatCase{8, "5.1.24", 27}, FormatCase{9, "05.01.24", 27}, FormatCase{10, "1.5.2024", 30},
                      FormatCase{11, "01.05.2024", 30}, FormatCase{12, "5.1.2024", 27},
                      FormatCase{13, "05.01.2024", 27}, FormatCase{14, "January 5, 2024", 30},
                      FormatCase{15, "January 05, 2024", 30}, FormatCase{16, "5 January, 2024", 27},
                      FormatCase{17, "05 January, 2024", 27}, FormatCase{18, "Friday, January 5, 2024", 30},
                      FormatCase{19, "Friday, January 05, 2024", 30}, FormatCase{20, "Friday, 5 January, 2024", 27},
                      FormatCase{21, "Friday, 05 January, 2024", 27}, FormatCase{22, "24.1.5", 57},
                      FormatCase{23, "24.01.05", 57}, FormatCase{24, "24.5.1", 45}, FormatCase{25, "24.05.01", 45},
                      FormatCase{26, "2024.1.5", 57}, FormatCase{27, "2024.01.05", 57}, FormatCase{28, "2024.5.1", 45},
                      FormatCase{29, "2024.05.01", 45}));

TEST_F(DateCore, TwoDigitYearKeepsItsLeadingZero)
{
    model.putSeparator("/");
    model.putDateFormat(7);
    hold(oleDate(2005, 3, 9));
    EXPECT_EQ(model.text(), "03/09/05");
}

TEST_F(DateCore, DateFormatOutsideRangeIsReplacedByShortDate)
{
    for (int bad : {-1, 30, 32767}) {
        model.putDateFormat(9);
        model.putDateFormat(bad);
        EXPECT_EQ(model.dateFormat(), 0) << bad;
        EXPECT_EQ(model.displayCode(), 11) << bad;
    }
}

// ------------------------------------------------------------------ system patterns

struct PatternCase
{
    const char *pattern;
    int start;
    int code;
};

class Patterns : public ::testing::TestWithParam<PatternCase>
{};

TEST_P(Patterns, GiveDisplayCode)
{
    EXPECT_EQ(displayCodeFromPattern(QString::fromUtf8(GetParam().pattern), GetParam().start), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(SystemDateSettings, Patterns,
                         ::testing::Values(PatternCase{"M/d/yy", 0, 4}, PatternCase{"dddd, MMMM dd, yyyy", 12, 17},
                                           PatternCase{"dd.MM.yyyy", 0, 11}, PatternCase{"dddd, d. MMMM yyyy", 12, 18},
                                           PatternCase{"d.M.yy", 0, 6}, PatternCase{"MM/dd/yyyy", 0, 9},
                                           PatternCase{"yyyy-MM-dd", 0, 25}, PatternCase{"yy/M/d", 0, 20},
                                           PatternCase{"yyyy-dd-MM", 0, 27}, PatternCase{"MMMM d, yyyy", 12, 12},
                                           PatternCase{"ｄｄ．ＭＭ．ｙｙｙｙ", 0, 11}, PatternCase{"", 0, 0},
                                           PatternCase{"dddddd", 0, 0},
                                           // repeated elements count once: the code stays one of the 28 formats
                                           PatternCase{"dd dd dd yyyy yy yyyy", 0, 11},
                                           PatternCase{"yyyy dd dd dd", 0, 27},
                                           PatternCase{"dddd dddd dd dd", 12, 19}));

TEST(SystemDefaults, MissingProfileValuesGiveTheDefaultPatterns)
{
    FakeIntl intl;
    intl.profile.clear();
    EXPECT_EQ(displayCodeForFormat(0, intl), 4);  // M/d/yy
    EXPECT_EQ(displayCodeForFormat(1, intl), 17); // dddd, MMMM dd, yyyy
    EXPECT_EQ(systemSeparator(intl), QChar(u'/'));
}

// ------------------------------------------------------------------ reading a text back

struct TextCase
{
    const char *name;
    int dateFormat;
    double held; // 0 for a null held value
    const char *text;
    Status status;
    double expected;
};

class DateStrings : public DateCore, public ::testing::WithParamInterface<TextCase>
{};

TEST_P(DateStrings, SetTheValue)
{
    const TextCase &c = GetParam();
    model.putDateFormat(c.dateFormat);
    hold(c.held, c.held == 0.0 ? Status::Null : Status::Valid);
    host.changes = 0;
    model.putDateString(QString::fromUtf8(c.text));
    EXPECT_EQ(model.status(), c.status);
    EXPECT_EQ(model.date(), c.expected);
    EXPECT_EQ(host.changes, 1);
    EXPECT_EQ(host.boundNotes, 1);
}

const double held2024 = oleDate(2024, 3, 10);
INSTANTIATE_TEST_SUITE_P(
    TextAndCentury, DateStrings,
    ::testing::Values(
        TextCase{"NoSuchDayLeavesValue", 10, held2024, "2/30/2024", Status::Valid, held2024},
        TextCase{"MonthOutOfRangeIsNull", 10, held2024, "13/1/2024", Status::Null, 0.0},
        TextCase{"TwoDigitYearTakesHeldCentury", 10, held2024, "1/5/99", Status::Valid, oleDate(2099, 1, 5)},
        TextCase{"TwoDigitYearOnNullPivotsLate", 10, 0.0, "1/5/99", Status::Valid, oleDate(1999, 1, 5)},
        TextCase{"TwoDigitYearOnNullPivotsEarly", 10, 0.0, "1/5/05", Status::Valid, oleDate(2005, 1, 5)},
        TextCase{"MissingYearTakesHeldYear", 10, held2024, "1/5", Status::Valid, oleDate(2024, 1, 5)},
        TextCase{"MissingYearOnNullTakesThisYear", 10, 0.0, "1/5", Status::Valid, oleDate(2031, 1, 5)},
        TextCase{"DayFirstGerman", 13, held2024, "24.12.2023", Status::Valid, oleDate(2023, 12, 24)},
        TextCase{"YearFirst", 27, held2024, "2023-12-24", Status::Valid, oleDate(2023, 12, 24)},
        TextCase{"NoYearFormatIgnoresThird", 5, held2024, "24.12.1999", Status::Valid, oleDate(2024, 12, 24)},
        TextCase{"FullWidthDigits", 10, held2024, "１/５/２０２３", Status::Valid, oleDate(2023, 1, 5)},
        TextCase{"SixthDigitEndsField", 10, held2024, "1/5/202412", Status::Null, 0.0},
        TextCase{"EmptyIsNull", 10, held2024, "", Status::Null, 0.0},
        TextCase{"LongTextIsCut", 10, held2024,
                 "                                                  "
                 "                                                  1/5/2023",
                 Status::Null, 0.0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(DateCore, RefusedEditLeavesEverything)
{
    model.putDateFormat(10);
    hold(held2024);
    host.allowEdit = false;
    model.putDateString("1/5/2023");
    model.putValue(oleDate(2023, 1, 5));
    EXPECT_EQ(model.date(), held2024);
    EXPECT_EQ(host.boundNotes, 0);
    EXPECT_EQ(host.changes, 1); // the Value put fires Change even when refused
}

TEST_F(DateCore, TypedCenturyOfNullValueIsTheCurrentOne)
{
    hold(0.0, Status::Null);
    EXPECT_EQ(model.heldCentury(), 2000);
    hold(oleDate(1999, 5, 1));
    EXPECT_EQ(model.heldCentury(), 1900);
}

// ------------------------------------------------------------------ separators

struct SeparatorCase
{
    const char *assigned;
    char16_t result;
};

class Separators : public ::testing::TestWithParam<SeparatorCase>
{};

TEST_P(Separators, AreValidated)
{
    EXPECT_EQ(validateSeparator(QString::fromUtf8(GetParam().assigned)), QChar(GetParam().result));
}

INSTANTIATE_TEST_SUITE_P(Assigned, Separators,
                         ::testing::Values(SeparatorCase{"ab", u'/'}, SeparatorCase{"--", u'-'},
                                           SeparatorCase{"", u'/'}, SeparatorCase{".", u'.'},
                                           SeparatorCase{"\\", u'\\'}, SeparatorCase{"x.", u'/'},
                                           SeparatorCase{"．", u'.'}, SeparatorCase{"－", u'-'},
                                           SeparatorCase{"＼", u'\\'}, SeparatorCase{"é", u'/'}));

TEST_F(DateCore, DefaultSeparatorComesFromTheSystem)
{
    model.putDateFormat(9);
    hold(oleDate(2024, 1, 5));
    model.putSeparatorDefault(true);
    EXPECT_EQ(model.text(), "05.01.24");
    const int dirty = host.dirtyMarks;
    model.putSeparator("-"); // replaced by the system's, no rebuild, no mark
    EXPECT_EQ(model.separator(), ".");
    EXPECT_EQ(host.dirtyMarks, dirty);

    intl.profile["sDate"] = ",";
    model.putSeparatorDefault(true);
    EXPECT_EQ(model.text(), "05/01/24");
}

// ------------------------------------------------------------------ null text and focus

struct NullCase
{
    int dateFormat;
    bool focus;
    const char *text;
};

class NullTexts : public DateCore, public ::testing::WithParamInterface<NullCase>
{};

TEST_P(NullTexts, ShowNullStringOrBlanks)
{
    model.putSeparator(".");
    model.setNullString("(leer)");
    model.putDateFormat(GetParam().dateFormat);
    model.setFocusFlag(GetParam().focus);
    hold(oleDate(2024, 1, 5), Status::Null);
    EXPECT_EQ(model.text(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Focus, NullTexts,
                         ::testing::Values(NullCase{9, false, "(leer)"}, NullCase{9, true, "  .  .  "},
                                           NullCase{12, true, " . .    "}, NullCase{27, true, "    .  .  "},
                                           NullCase{3, true, "  .  "}, NullCase{15, true, "(leer)"},
                                           NullCase{19, false, "(leer)"}));

TEST_F(DateCore, InvalidStatusShowsLikeNull)
{
    model.setNullString("-");
    hold(oleDate(2024, 1, 5), Status::Invalid);
    EXPECT_EQ(model.text(), "-");
    EXPECT_EQ(model.value(), 0.0);
    EXPECT_EQ(model.year(), -1);
    EXPECT_EQ(model.dayOfWeek(), -1);
}

// ------------------------------------------------------------------ the Value put

struct ValueCase
{
    double put;
    Status status;
};

class ValuePuts : public DateCore, public ::testing::WithParamInterface<ValueCase>
{};

TEST_P(ValuePuts, OutOfRangeGivesNull)
{
    hold(oleDate(2024, 1, 5));
    host.changes = 0;
    model.putValue(GetParam().put);
    EXPECT_EQ(model.status(), GetParam().status);
    EXPECT_EQ(host.changes, 1);
    EXPECT_EQ(model.selStart(), 0);
    EXPECT_EQ(model.selEnd(), model.text().size());
    if (GetParam().status != Status::Valid) {
        EXPECT_EQ(model.value(), 0.0);
    }
}

INSTANTIATE_TEST_SUITE_P(Range, ValuePuts,
                         ::testing::Values(ValueCase{0.0, Status::Null}, ValueCase{-657001.0, Status::Null},
                                           ValueCase{2958465.5, Status::Null}, ValueCase{std::nan(""), Status::Null},
                                           ValueCase{std::numeric_limits<double>::infinity(), Status::Null},
                                           ValueCase{-657000.0, Status::Valid}, ValueCase{2958465.0, Status::Valid},
                                           ValueCase{45296.75, Status::Valid}));

TEST_F(DateCore, TimeStoreKeepsTheHeldTimeOfDay)
{
    hold(oleDate(2024, 1, 5) + 0.6041666666666666); // 14:30
    model.putValue(oleDate(2024, 3, 3) + 0.25);
    EXPECT_EQ(model.date(), oleDate(2024, 3, 3));
    model.setTimeStore(true);
    hold(oleDate(2024, 1, 5) + 0.6041666666666666);
    model.putValue(oleDate(2024, 3, 3) + 0.25);
    EXPECT_DOUBLE_EQ(model.date(), oleDate(2024, 3, 3) + 0.6041666666666666);
}

TEST_F(DateCore, VariantPutFiresChangeTwiceWhenAllowed)
{
    model.putVariantDate(oleDate(2024, 2, 29));
    EXPECT_EQ(host.changes, 2);
    EXPECT_EQ(model.date(), oleDate(2024, 2, 29));
    model.putVariantDate(2957001.0);
    EXPECT_EQ(model.status(), Status::Null);
}

TEST_F(DateCore, PartsOfTheValue)
{
    hold(oleDate(2024, 1, 7));
    EXPECT_EQ(model.dayOfWeek(), 1); // a Sunday
    EXPECT_EQ(model.dayOfYear(), 7);
    EXPECT_EQ(model.weekOfYear(), 2);
    hold(oleDate(2024, 12, 31));
    EXPECT_EQ(model.dayOfYear(), 366);
    hold(-1.25); // 1899-12-29 06:00
    EXPECT_EQ(model.day(), 29);
    EXPECT_EQ(model.dayOfWeek(), 6);
}

TEST_F(DateCore, SettingADayTheMonthLacksLeavesTheValue)
{
    hold(oleDate(2024, 1, 31), Status::Null);
    model.setPart(FieldMonth, 2);
    EXPECT_EQ(model.date(), oleDate(2024, 1, 31));
    EXPECT_EQ(model.status(), Status::Null);
    model.setPart(FieldMonth, 3);
    EXPECT_EQ(model.date(), oleDate(2024, 3, 31));
    EXPECT_EQ(model.status(), Status::Valid);
    hold(0.0);
    model.setPart(FieldYear, 2000);
    EXPECT_EQ(model.date(), oleDate(2000, 12, 30));
}

TEST_F(DateCore, SelectionIsKeptInsideTheText)
{
    model.putDateFormat(13);
    hold(oleDate(2024, 1, 5)); // 05/01/2024
    struct
    {
        int start, end, selStart, selEnd;
    } cases[] = {{2, 5, 2, 5}, {-3, 4, 0, 4}, {5, 2, 2, 2}, {3, 99, 3, 10}, {4, -2, 0, 0}, {-1, -1, 0, 0}};
    for (const auto &c : cases) {
        model.setSelection(c.start, c.end);
        EXPECT_EQ(model.selStart(), c.selStart) << c.start << "," << c.end;
        EXPECT_EQ(model.selEnd(), c.selEnd) << c.start << "," << c.end;
        EXPECT_EQ(model.caret(), c.selEnd);
    }
}

TEST_F(DateCore, SelectionPolicyOnRebuild)
{
    model.putDateFormat(13);
    hold(oleDate(2024, 1, 5));
    model.setSelection(1, 4);
    model.setSelectionPersistence(1);
    model.rebuild(true);
    EXPECT_EQ(model.selStart(), 1);
    EXPECT_EQ(model.selEnd(), 4);
    model.setSelectionPersistence(0);
    model.rebuild(true);
    EXPECT_EQ(model.selEnd(), 0);
    model.setSelectionPersistence(2);
    model.rebuild(true);
    EXPECT_EQ(model.selEnd(), 10);
    model.setNullString("");
    hold(0.0, Status::Null); // shorter text without the policy still keeps the caret inside
    EXPECT_EQ(model.caret(), 0);
    EXPECT_EQ(model.selEnd(), 0);
}

// ------------------------------------------------------------------ free-form check

TEST(FreeForm, PiecesByFieldOrder)
{
    const int dmy = fieldOrderFor(11), ymd = fieldOrderFor(25);
    struct
    {
        const char *text;
        int order;
        Ymd expected;
    } cases[] = {
        {"31.04.2024", dmy, {2024, 4, 31}},
        {"12.  .    ", dmy, {-1, 0, 12}},
        {"5.1", dmy, {-1, 1, 5}},
        {"2024.13.1", ymd, {2024, 13, 1}},
        {"３１．１x２.99999999999", dmy, {99999, 12, 31}},
    };
    for (const auto &c : cases) {
        const Ymd r = freeFormFields(QString::fromUtf8(c.text), u'.', c.order);
        EXPECT_EQ(r.year, c.expected.year) << c.text;
        EXPECT_EQ(r.month, c.expected.month) << c.text;
        EXPECT_EQ(r.day, c.expected.day) << c.text;
    }
}

TEST(Construction, DisplayCodeDependsOnCodePage)
{
    FakeIntl intl;
    EXPECT_EQ(DateModel(nullptr, &intl).displayCode(), 2);
    intl.doubleByte = true;
    EXPECT_EQ(DateModel(nullptr, &intl).displayCode(), 19);
}

} // namespace

namespace {

TEST(FocusCommit, DayIsLoweredOnlyWhileADayCanFit)
{
    struct
    {
        Ymd typed;
        bool exists;
        int day;
    } cases[] = {
        {{2024, 4, 31}, true, 30}, {{2023, 2, 31}, true, 28},   {{2024, 2, 30}, true, 29},  {{2024, 1, 45}, true, 31},
        {{2024, 5, 17}, true, 17}, {{2024, 13, 31}, false, 31}, // no month 13: the loop must end
        {{50, 3, 31}, false, 31},                               // a year the date type cannot hold
        {{2023, 2, 29}, true, 28}, {{2024, 2, 27}, true, 27},   {{2024, 0, 30}, false, 30}, {{-1, 3, 31}, false, 31},
        {{2023, 6, 27}, true, 27},
    };
    for (auto c : cases) {
        Ymd d = c.typed;
        EXPECT_EQ(settleTypedDate(d), c.exists) << c.typed.year << "-" << c.typed.month << "-" << c.typed.day;
        if (c.exists) {
            EXPECT_EQ(d.day, c.day);
        }
    }
}

TEST(CalendarTexts, ShortListsKeepTheDefaults)
{
    EXPECT_EQ(calendarWeekdayLetters("SMD").join(""), "SMDWTFS");
    EXPECT_EQ(calendarWeekdayLetters("").join(""), "SMTWTFS");
    const QStringList months = calendarMonthNames("Januar|Februar||April");
    ASSERT_EQ(months.size(), 12);
    EXPECT_EQ(months[1], "Februar");
    EXPECT_EQ(months[2], "March");
    EXPECT_EQ(months[11], "December");
    EXPECT_EQ(calendarMonthNames(QString(20, u'|')).size(), 12);
}

} // namespace

// The control reads date numbers as the data layer and the runtime do (one rule for all).
TEST(DateNumbers, AsTheProgramWideTableHasThem)
{
    for (const auto &c : oledate_cases::kCases) {
        SCOPED_TRACE(testing::Message() << std::setprecision(17) << c.number);
        lzdate::Ymd d;
        const bool gueltig = c.date.isValid();
        ASSERT_EQ(lzdate::ymdFromOle(c.number, d), gueltig);
        if (!gueltig)
            continue;
        EXPECT_EQ(d.year, c.date.year());
        EXPECT_EQ(d.month, c.date.month());
        EXPECT_EQ(d.day, c.date.day());
        EXPECT_EQ(lzdate::oleHasTime(c.number), c.time != QTime(0, 0));
        EXPECT_NEAR(lzdate::oleTimePart(c.number) * 86400000.0, c.time.msecsSinceStartOfDay(), 1e-3);
        double day = 0.0;
        ASSERT_TRUE(lzdate::oleFromYmd(d, day));
        EXPECT_DOUBLE_EQ(lzdate::oleWholeDay(c.number), day);
        EXPECT_EQ(lzdate::oleDayOfWeek(c.number), c.date.dayOfWeek() % 7 + 1);
        EXPECT_EQ(lzdate::oleDayOfYear(c.number), c.date.dayOfYear());
        if (!std::isnan(c.back)) {
            EXPECT_DOUBLE_EQ(lzdate::oleCombine(day, lzdate::oleTimePart(c.number)), c.back);
        }
    }
}
