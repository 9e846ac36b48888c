#include "OleCalendar.h"

#include "common/datenumber.h"

#include <cmath>

namespace lzdate {
namespace {

// The day of x, its time rounded to the millisecond (a time that rounds up to midnight belongs
// to the next day); by the one date-number rule of common/datenumber.h.
int64_t dayNumber(double x)
{
    return oledate::partsOf(x).day;
}

} // namespace

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

bool oleFromYmd(int year, int month, int day, double &out)
{
    if (year < 100 || year > 9999 || day < 1 || day > daysInMonth(year, month))
        return false;
    out = oledate::fromDate(QDate(year, month, day));
    return true;
}

bool oleFromYmd(const Ymd &d, double &out)
{
    return oleFromYmd(d.year, d.month, d.day, out);
}

bool ymdFromOle(double x, Ymd &out)
{
    const QDate date = oledate::toDate(x);
    if (!date.isValid())
        return false;
    out = Ymd{date.year(), date.month(), date.day()};
    return true;
}

double oleWholeDay(double x)
{
    if (!std::isfinite(x))
        return 0.0;
    return static_cast<double>(dayNumber(x));
}

double oleTimePart(double x)
{
    if (!std::isfinite(x))
        return 0.0;
    return static_cast<double>(oledate::partsOf(x).ms) / static_cast<double>(oledate::kMsPerDay);
}

bool oleHasTime(double x)
{
    return std::isfinite(x) && oledate::partsOf(x).ms != 0;
}

double oleCombine(double wholeDay, double time)
{
    return oledate::join(static_cast<int64_t>(wholeDay), std::llround(time * static_cast<double>(oledate::kMsPerDay)));
}

int oleDayOfWeek(double x)
{
    // Day 0 (1899-12-30) was a Saturday.
    const int64_t r = ((dayNumber(x) % 7) + 7) % 7;
    return static_cast<int>((r + 6) % 7) + 1;
}

int oleDayOfYear(double x)
{
    const QDate date = oledate::toDate(x);
    return date.isValid() ? date.dayOfYear() : -1;
}

} // namespace lzdate
