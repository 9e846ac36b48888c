// The one rounding rule and the German number locale that the data layer, the grids, the reports
// and the program share.
#include "common/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <limits>

TEST(Zahlen, RoundingIsHalfAwayFromZeroOnTheFigureAsWritten)
{
    const struct
    {
        double wert;
        int stellen;
        double gerundet;
    } faelle[] = {
        {2.675, 2, 2.68},   // 267.49999999999997 when scaled
        {-0.125, 2, -0.13}, // away from zero below zero too
        {1.005, 2, 1.01},
        {0.285, 2, 0.29},
        {2.5, 0, 3.0},
        {-2.5, 0, -3.0},
        {12.25, 1, 12.3},
        {7.75, 2, 7.75}, // quarter hours stay
        {19.999999999999996, 2, 20.0},
        {1234567.891, 2, 1234567.89},
        {123456789012.345, 2, 123456789012.35},
        {1e20, 2, 1e20},
        {-42, 2, -42.0},
    };
    for (const auto &f : faelle) {
        SCOPED_TRACE(testing::Message() << std::setprecision(17) << f.wert << " to " << f.stellen);
        EXPECT_EQ(numbers::roundHalfAway(f.wert, f.stellen), f.gerundet);
    }
}

TEST(Zahlen, RoundingToZeroIsNeverNegativeAndNonFiguresStay)
{
    for (double wert : {-0.001, -0.004, -0.0}) {
        SCOPED_TRACE(wert);
        const double r = numbers::roundHalfAway(wert, 2);
        EXPECT_EQ(r, 0.0);
        EXPECT_FALSE(std::signbit(r)) << "would show as -0,00";
    }
    EXPECT_TRUE(std::isnan(numbers::roundHalfAway(std::numeric_limits<double>::quiet_NaN(), 2)));
    EXPECT_EQ(numbers::roundHalfAway(-std::numeric_limits<double>::infinity(), 2),
              -std::numeric_limits<double>::infinity());
}

TEST(Zahlen, TheGermanLocaleWritesADecimalCommaWithoutGroupingAndReadsNoGrouping)
{
    const QLocale &de = numbers::german();
    EXPECT_EQ(de.toString(1234567.5, 'f', 2), QStringLiteral("1234567,50"));
    EXPECT_EQ(de.toString(0.1 + 0.2, 'g', 15), QStringLiteral("0,3"));
    const struct
    {
        const char *text;
        bool ok;
        double wert;
    } faelle[] = {
        {"12,5", true, 12.5}, {"-3", true, -3.0}, {"1.234,5", false, 0.0}, // a thousands separator is not read
        {"12.5", false, 0.0},                                              // nor is a decimal point
        {"", false, 0.0},
    };
    for (const auto &f : faelle) {
        SCOPED_TRACE(f.text);
        bool ok = false;
        const double wert = de.toDouble(QString::fromUtf8(f.text), &ok);
        EXPECT_EQ(ok, f.ok);
        if (f.ok) {
            EXPECT_EQ(wert, f.wert);
        }
    }
}
