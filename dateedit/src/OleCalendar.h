#pragma once
// Calendar arithmetic on OLE dates: days from 1899-12-30, the fraction being the time of day
// (for negative values the fraction counts forward from the start of that day). The date-number
// rule itself is the program-wide one of common/datenumber.h.
#include <cstdint>

namespace lzdate {

struct Ymd
{
    int year = -1;
    int month = -1;
    int day = -1;
};

// The range the date type can hold: 0100-01-01 to 9999-12-31 (end of day).
constexpr double kOleMinDate = -657434.0;
constexpr double kOleMaxDate = 2958465.99999999;

// Puts a date together at midnight; false when the date does not exist or lies outside the range.
bool oleFromYmd(int year, int month, int day, double &out);
bool oleFromYmd(const Ymd &d, double &out);
// Splits a date into its calendar parts; false when it lies outside the range or is not a number.
bool ymdFromOle(double x, Ymd &out);

double oleWholeDay(double x); // the day without its time, as a date
double oleTimePart(double x); // the time of day, 0 <= t < 1
bool oleHasTime(double x);
double oleCombine(double wholeDay, double time); // day plus time of day, sign-aware

int oleDayOfWeek(double x); // 1 Sunday .. 7 Saturday
int oleDayOfYear(double x); // 1 .. 366
bool isLeapYear(int year);
int daysInMonth(int year, int month); // 0 for a month outside 1..12

} // namespace lzdate
