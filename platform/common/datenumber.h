#pragma once
// OLE date numbers: the one conversion between a date number and a calendar date with its time
// of day, used by the data layer, the component runtime and the date-edit control.
//
// A date number counts days from 30 December 1899 00:00. Its date is the whole part towards
// zero; its time of day is the absolute value of the fraction. So before the epoch the whole
// part counts the days back while the fraction still runs forward through that day:
// -1.25 is 29 December 1899, 06:00, and -0.5 is 30 December 1899, 12:00 (as 0.5 is).
//
// Times are kept to the millisecond; a time that rounds up to midnight belongs to the next
// calendar day (-0.9999999999 is 31 December 1899, 00:00). Dates run from 1 January 100 to
// 31 December 9999; a number outside, NaN or an infinity is no date.
#include <QDate>
#include <QDateTime>
#include <QTime>

#include <cmath>
#include <cstdint>

namespace oledate {

inline constexpr int64_t kMsPerDay = 86400000;
inline constexpr int64_t kFirstDay = -657434; // 1 January 100
inline constexpr int64_t kLastDay = 2958465;  // 31 December 9999

// A date number taken apart: the day (days from 30 December 1899) and the time of day.
struct Parts
{
    int64_t day = 0;
    int64_t ms = 0; // 0 .. kMsPerDay - 1
};

// The parts of a finite number, by the rule above, without a range check.
inline Parts partsOf(double x)
{
    const double whole = std::trunc(x);
    Parts p{static_cast<int64_t>(whole), static_cast<int64_t>(std::llround(std::fabs(x - whole) * double(kMsPerDay)))};
    if (p.ms >= kMsPerDay) {
        p.ms -= kMsPerDay;
        ++p.day; // midnight of the following day, whichever side of the epoch
    }
    return p;
}

// True when x is a date of the range.
inline bool isValid(double x)
{
    if (!std::isfinite(x) || x <= double(kFirstDay - 1) || x >= double(kLastDay + 1))
        return false;
    const Parts p = partsOf(x);
    return p.day >= kFirstDay && p.day <= kLastDay;
}

// The parts of x; false when x is no date of the range.
inline bool split(double x, Parts &out)
{
    if (!isValid(x))
        return false;
    out = partsOf(x);
    return true;
}

// The number of a day and a time of day (milliseconds, 0 .. kMsPerDay - 1).
inline double join(int64_t day, int64_t ms)
{
    const double time = double(ms) / double(kMsPerDay);
    return day < 0 ? double(day) - time : double(day) + time;
}

inline QDate epoch()
{
    return QDate(1899, 12, 30);
}

// Days from 30 December 1899 of a date (proleptic Gregorian calendar).
inline int64_t dayOf(const QDate &date)
{
    return epoch().daysTo(date);
}

inline QDate dateOfDay(int64_t day)
{
    return epoch().addDays(day);
}

// The date and time of x (wall clock, no time zone); invalid when x is no date of the range.
inline QDateTime toDateTime(double x)
{
    Parts p;
    if (!split(x, p))
        return QDateTime();
    return QDateTime(dateOfDay(p.day), QTime::fromMSecsSinceStartOfDay(int(p.ms)));
}

// The date of x; invalid when x is no date of the range.
inline QDate toDate(double x)
{
    Parts p;
    if (!split(x, p))
        return QDate();
    return dateOfDay(p.day);
}

// The number of a date and time to the millisecond (the time zone is not converted); 0.0 for an
// invalid value.
inline double fromDateTime(const QDateTime &dt)
{
    if (!dt.isValid())
        return 0.0;
    return join(dayOf(dt.date()), dt.time().msecsSinceStartOfDay());
}

// The number of a date at midnight; 0.0 for an invalid date.
inline double fromDate(const QDate &date)
{
    if (!date.isValid())
        return 0.0;
    return double(dayOf(date));
}

} // namespace oledate
