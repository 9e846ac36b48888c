// The one way a date is written as text, which the data layer, the component runtime, the grids,
// the reports and the program share.
#include "common/datetext.h"

#include <gtest/gtest.h>

namespace {

using datetext::DayZero;

const QDate kTagNull(1899, 12, 30);

} // namespace

TEST(Datumstext, DayMonthYearTheTimeUnlessMidnightAndTheDayZeroAsTheCallerSays)
{
    const struct
    {
        QDate date;
        QTime time;
        const char *written;   // DayZero::Written
        const char *empty;     // DayZero::Empty
        const char *timeAlone; // DayZero::TimeAlone
    } faelle[] = {
        // Leading zeros in every field, at both ends of the date range.
        {QDate(1970, 12, 24), QTime(0, 0), "24.12.1970", "24.12.1970", "24.12.1970"},
        {QDate(2024, 1, 5), QTime(0, 0), "05.01.2024", "05.01.2024", "05.01.2024"},
        {QDate(100, 1, 1), QTime(0, 0), "01.01.0100", "01.01.0100", "01.01.0100"},
        {QDate(999, 9, 9), QTime(0, 0), "09.09.0999", "09.09.0999", "09.09.0999"},
        {QDate(9999, 12, 31), QTime(0, 0), "31.12.9999", "31.12.9999", "31.12.9999"},
        {QDate(2000, 2, 29), QTime(0, 0), "29.02.2000", "29.02.2000", "29.02.2000"},
        // A time of day follows unless it is midnight; milliseconds are left out, so one
        // millisecond past midnight still shows its time.
        {QDate(2024, 1, 5), QTime(18, 30, 5), "05.01.2024 18:30:05", "05.01.2024 18:30:05", "05.01.2024 18:30:05"},
        {QDate(2024, 1, 5), QTime(0, 0, 0, 1), "05.01.2024 00:00:00", "05.01.2024 00:00:00", "05.01.2024 00:00:00"},
        {QDate(2024, 1, 5), QTime(23, 59, 59, 999), "05.01.2024 23:59:59", "05.01.2024 23:59:59",
         "05.01.2024 23:59:59"},
        {QDate(1899, 12, 29), QTime(6, 0), "29.12.1899 06:00:00", "29.12.1899 06:00:00", "29.12.1899 06:00:00"},
        {QDate(1899, 12, 31), QTime(0, 0), "31.12.1899", "31.12.1899", "31.12.1899"},
        // The day that stands for no date.
        {kTagNull, QTime(0, 0), "30.12.1899", "", "30.12.1899"},
        {kTagNull, QTime(6, 0), "30.12.1899 06:00:00", "", "06:00:00"},
        {kTagNull, QTime(0, 0, 0, 1), "30.12.1899 00:00:00", "", "00:00:00"},
        // Years of more than four digits or before year 0, as Qt writes them.
        {QDate(10000, 3, 4), QTime(0, 0), "04.03.10000", "04.03.10000", "04.03.10000"},
        {QDate(10000, 3, 4), QTime(1, 2, 3), "04.03.10000 01:02:03", "04.03.10000 01:02:03", "04.03.10000 01:02:03"},
        // No date, no text.
        {QDate(), QTime(0, 0), "", "", ""},
    };
    for (const auto &f : faelle) {
        SCOPED_TRACE(f.written);
        const QDateTime wert(f.date, f.time, Qt::UTC);
        EXPECT_EQ(datetext::dateTime(wert), QString::fromLatin1(f.written));
        EXPECT_EQ(datetext::dateTime(wert, DayZero::Written), QString::fromLatin1(f.written));
        EXPECT_EQ(datetext::dateTime(wert, DayZero::Empty), QString::fromLatin1(f.empty));
        EXPECT_EQ(datetext::dateTime(wert, DayZero::TimeAlone), QString::fromLatin1(f.timeAlone));
        if (f.time == QTime(0, 0)) {
            // A date alone is the date at midnight.
            EXPECT_EQ(datetext::date(f.date), QString::fromLatin1(f.written));
            EXPECT_EQ(datetext::date(f.date, DayZero::Empty), QString::fromLatin1(f.empty));
            EXPECT_EQ(datetext::date(f.date, DayZero::TimeAlone), QString::fromLatin1(f.timeAlone));
        }
        if (f.date.isValid() && f.date.year() <= 9999) {
            // The digits written one by one are Qt's own "dd.MM.yyyy".
            EXPECT_EQ(datetext::date(f.date), f.date.toString(QStringLiteral("dd.MM.yyyy")));
        }
    }
    EXPECT_EQ(datetext::dateTime(QDateTime()), QString());
}

TEST(Datumstext, ATwoDigitYearIsOneOf1930To2029)
{
    const struct
    {
        int zweistellig;
        int jahr;
    } faelle[] = {{0, 2000}, {5, 2005}, {29, 2029}, {30, 1930}, {70, 1970}, {99, 1999}};
    for (const auto &f : faelle) {
        SCOPED_TRACE(f.zweistellig);
        EXPECT_EQ(datetext::fullYear(f.zweistellig), f.jahr);
    }
}
