#pragma once
// OLE dates: the database keeps a date as a double, the days since 30 December 1899 00:00 with
// the time of day as the fraction. 0.0 is the program's "no date". Before the epoch the whole
// part counts the days back and the fraction still adds the time of day:
// -1.25 is 29 December 1899, 06:00. The conversions are those of common/datenumber.h.
#include <QDate>
#include <QDateTime>

namespace dao {

inline constexpr double kNoDate = 0.0;

// Whole days; an invalid date gives kNoDate.
double ToOleDate(const QDate &date);
// The wall-clock date and time (the time zone is not converted), to the millisecond; an
// invalid value gives kNoDate.
double ToOleDate(const QDateTime &dateTime);
// The wall-clock date and time in local time, rounded to the millisecond (a time that rounds
// up to midnight is the next day); NaN or a value outside the years 100 to 9999 gives an
// invalid QDateTime.
QDateTime FromOleDate(double oleDate);
// The day of an OLE date; invalid as above.
QDate OleDateToDate(double oleDate);

} // namespace dao
