#include "common/datenumber.h"
#include "datenumber_cases.h"

#include <gtest/gtest.h>

#include <iomanip>
#include <ostream>

using oledate_cases::kCases;

void PrintTo(const QDateTime &dt, std::ostream *os)
{
    *os << (dt.isValid() ? dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toStdString()
                         : std::string("(keins)"));
}

TEST(OleDate, TheTableOfDateNumbers)
{
    for (const auto &c : kCases) {
        SCOPED_TRACE(testing::Message() << std::setprecision(17) << c.number);
        const bool gueltig = c.date.isValid();
        EXPECT_EQ(oledate::isValid(c.number), gueltig);
        oledate::Parts p;
        EXPECT_EQ(oledate::split(c.number, p), gueltig);
        const QDateTime erwartet = gueltig ? QDateTime(c.date, c.time) : QDateTime();
        EXPECT_EQ(oledate::toDateTime(c.number), erwartet);
        EXPECT_EQ(oledate::toDate(c.number), c.date);
        if (gueltig) {
            EXPECT_EQ(p.day, oledate::dayOf(c.date));
            EXPECT_EQ(p.ms, c.time.msecsSinceStartOfDay());
        }
        if (!std::isnan(c.back)) {
            EXPECT_DOUBLE_EQ(oledate::fromDateTime(erwartet), c.back);
        }
    }
}

TEST(OleDate, DatesAndTimesBecomeNumbersBySign)
{
    // Before the epoch the number goes down by the time of day; from it on, up.
    EXPECT_DOUBLE_EQ(oledate::fromDateTime(QDateTime(QDate(1899, 12, 29), QTime(6, 0))), -1.25);
    EXPECT_DOUBLE_EQ(oledate::fromDateTime(QDateTime(QDate(1899, 12, 30), QTime(6, 0))), 0.25);
    EXPECT_DOUBLE_EQ(oledate::fromDateTime(QDateTime(QDate(2024, 2, 29), QTime(12, 0))), 45351.5);
    EXPECT_DOUBLE_EQ(oledate::fromDate(QDate(100, 1, 1)), -657434.0);
    EXPECT_DOUBLE_EQ(oledate::fromDate(QDate(9999, 12, 31)), 2958465.0);
    EXPECT_DOUBLE_EQ(oledate::fromDate(QDate()), 0.0);
    EXPECT_DOUBLE_EQ(oledate::fromDateTime(QDateTime()), 0.0);
    EXPECT_DOUBLE_EQ(oledate::join(-1, 43200000), -1.5);
    EXPECT_DOUBLE_EQ(oledate::join(0, 43200000), 0.5);
}
