#pragma once
// Date numbers and what they mean, around 30 December 1899 and at both ends of the range. Every
// layer that turns date numbers into dates is checked against this one table.
#include <QDate>
#include <QTime>

#include <cmath>
#include <limits>

namespace oledate_cases {

struct Case
{
    double number;
    QDate date; // invalid: no date
    QTime time;
    // The number the date and time give back (NaN: not the same number, e.g. -0.5 gives 0.5).
    double back;
};

inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

inline const Case kCases[] = {
    // Around the epoch.
    {0.0, QDate(1899, 12, 30), QTime(0, 0), 0.0},
    {0.25, QDate(1899, 12, 30), QTime(6, 0), 0.25},
    {-0.25, QDate(1899, 12, 30), QTime(6, 0), kNaN},
    {-0.5, QDate(1899, 12, 30), QTime(12, 0), kNaN},
    {1.0, QDate(1899, 12, 31), QTime(0, 0), 1.0},
    {1.5, QDate(1899, 12, 31), QTime(12, 0), 1.5},
    {-1.0, QDate(1899, 12, 29), QTime(0, 0), -1.0},
    {-1.25, QDate(1899, 12, 29), QTime(6, 0), -1.25},
    {-1.75, QDate(1899, 12, 29), QTime(18, 0), -1.75},
    {-2.0, QDate(1899, 12, 28), QTime(0, 0), -2.0},
    {2.0, QDate(1900, 1, 1), QTime(0, 0), 2.0},
    // A time that rounds up to midnight belongs to the following day, on both sides.
    {0.9999999999, QDate(1899, 12, 31), QTime(0, 0), 1.0},
    {-0.9999999999, QDate(1899, 12, 31), QTime(0, 0), kNaN},
    {-1.9999999999, QDate(1899, 12, 30), QTime(0, 0), kNaN},
    {-1.0000000001, QDate(1899, 12, 29), QTime(0, 0), -1.0},
    // The first day of the range.
    {-657434.0, QDate(100, 1, 1), QTime(0, 0), -657434.0},
    {-657434.5, QDate(100, 1, 1), QTime(12, 0), -657434.5},
    {-657434.9999999999, QDate(100, 1, 2), QTime(0, 0), kNaN},
    {-657435.0, QDate(), QTime(), kNaN},
    {-657435.25, QDate(), QTime(), kNaN},
    // The last day of the range.
    {2958465.0, QDate(9999, 12, 31), QTime(0, 0), 2958465.0},
    {2958465.5, QDate(9999, 12, 31), QTime(12, 0), 2958465.5},
    {2958465.99999999, QDate(9999, 12, 31), QTime(23, 59, 59, 999), kNaN},
    {2958465.9999999999, QDate(), QTime(), kNaN},
    {2958466.0, QDate(), QTime(), kNaN},
    // No number.
    {kNaN, QDate(), QTime(), kNaN},
    {std::numeric_limits<double>::infinity(), QDate(), QTime(), kNaN},
    {-std::numeric_limits<double>::infinity(), QDate(), QTime(), kNaN},
};

} // namespace oledate_cases
