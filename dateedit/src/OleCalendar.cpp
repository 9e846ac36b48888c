#include "OleCalendar.h"

#include <cmath>

namespace lzdate {
namespace {

// Days from 1970-01-01 of a proleptic Gregorian date.
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void civilFromDays(int64_t z, int &y, int &m, int &d)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (m <= 2));
}

constexpr int64_t kOleEpochFromUnix = 25569;  // 1899-12-30 is 25569 days before 1970-01-01
constexpr double kMsPerDay = 86400000.0;

bool inRange(double x)
{
    return std::isfinite(x) && x >= kOleMinDate && x < 2958466.0;
}

// The day number of x, with the time rounded to the millisecond (a time that rounds up to
// midnight belongs to the next day).
int64_t dayNumber(double x)
{
    double day = std::trunc(x);
    const double ms = std::round(std::fabs(x - day) * kMsPerDay);
    if (ms >= kMsPerDay)
        day += x < 0 ? -1.0 : 1.0;
    return static_cast<int64_t>(day);
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
    out = static_cast<double>(daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day))
                              + kOleEpochFromUnix);
    return true;
}

bool oleFromYmd(const Ymd &d, double &out)
{
    return oleFromYmd(d.year, d.month, d.day, out);
}

bool ymdFromOle(double x, Ymd &out)
{
    if (!inRange(x))
        return false;
    int y = 0, m = 0, d = 0;
    civilFromDays(dayNumber(x) - kOleEpochFromUnix, y, m, d);
    if (y < 100 || y > 9999)
        return false;
    out = Ymd{y, m, d};
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
    const double t = std::fabs(x - std::trunc(x));
    return std::round(t * kMsPerDay) >= kMsPerDay ? 0.0 : t;
}

bool oleHasTime(double x)
{
    return std::round(oleTimePart(x) * kMsPerDay) != 0.0;
}

double oleCombine(double wholeDay, double time)
{
    return wholeDay < 0 ? wholeDay - time : wholeDay + time;
}

int oleDayOfWeek(double x)
{
    // Day 0 (1899-12-30) was a Saturday.
    const int64_t r = ((dayNumber(x) % 7) + 7) % 7;
    return static_cast<int>((r + 6) % 7) + 1;
}

int oleDayOfYear(double x)
{
    Ymd d;
    if (!ymdFromOle(x, d))
        return -1;
    double first = 0.0;
    oleFromYmd(d.year, 1, 1, first);
    return static_cast<int>(static_cast<double>(dayNumber(x)) - first) + 1;
}

} // namespace lzdate
