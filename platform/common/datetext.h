#pragma once
// Dates as text the German way, whatever the system's locale: the one rule of the data layer,
// the component runtime, the grids, the reports and the program.
//
//     datetext::date(QDate(2024, 1, 5))                                   // "05.01.2024"
//     datetext::dateTime(QDateTime(QDate(2024, 1, 5), QTime(0, 0)))       // "05.01.2024"
//     datetext::dateTime(QDateTime(QDate(2024, 1, 5), QTime(18, 30, 5)))  // "05.01.2024 18:30:05"
//
// A date is "dd.MM.yyyy": day and month with two digits, the year with four, leading zeros kept
// ("01.01.0100"). A time of day follows after one blank as "hh:mm:ss" (24 hours, milliseconds
// left out) unless it is midnight exactly: a date at midnight is the date alone. An invalid date
// or date and time is "".
//
// A two-digit year, where one is read, is one of 1930 to 2029 (fullYear).
//
// 30 December 1899, the day of date number 0, is the day that stands for no date where a date
// field is empty (see common/datenumber.h). Who writes it says what that day becomes (DayZero).
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

namespace datetext {

// What 30 December 1899 (date number 0) is written as.
enum class DayZero {
    Written,   // as any other day ("30.12.1899", "30.12.1899 06:00:00"): the grids, the reports
    Empty,     // as no date, "", a time on it too: the program's date fields
    TimeAlone, // its time of day alone ("06:00:00"), a date at midnight as any other day: the
               // component runtime's conversion of a date to text
};

namespace detail {

inline char16_t *twoDigits(char16_t *out, int v)
{
    out[0] = char16_t(u'0' + v / 10);
    out[1] = char16_t(u'0' + v % 10);
    return out + 2;
}

inline char16_t *timeDigits(char16_t *out, const QTime &time)
{
    out = twoDigits(out, time.hour());
    *out++ = u':';
    out = twoDigits(out, time.minute());
    *out++ = u':';
    return twoDigits(out, time.second());
}

inline bool isDayZero(const QDate &date)
{
    return date == QDate(1899, 12, 30);
}

// The text of a valid date and time.
inline QString write(const QDate &date, const QTime &time, DayZero dayZero)
{
    const bool midnight = time == QTime(0, 0);
    if (isDayZero(date)) {
        if (dayZero == DayZero::Empty)
            return QString();
        if (dayZero == DayZero::TimeAlone && !midnight) {
            char16_t text[8];
            timeDigits(text, time);
            return QString(reinterpret_cast<const QChar *>(text), 8);
        }
    }
    int year = 0, month = 0, day = 0;
    date.getDate(&year, &month, &day);
    if (year < 0 || year > 9999) { // beyond four digits: as Qt writes the year
        const QString d = date.toString(QStringLiteral("dd.MM.yyyy"));
        return midnight ? d : d + u' ' + time.toString(QStringLiteral("hh:mm:ss"));
    }
    // Written digit by digit: a list of thousands of dates parses no format string per date.
    char16_t text[19];
    char16_t *p = twoDigits(text, day);
    *p++ = u'.';
    p = twoDigits(p, month);
    *p++ = u'.';
    p = twoDigits(p, year / 100);
    p = twoDigits(p, year % 100);
    if (!midnight) {
        *p++ = u' ';
        p = timeDigits(p, time);
    }
    return QString(reinterpret_cast<const QChar *>(text), p - text);
}

} // namespace detail

// The year a date typed or read with a two-digit year means ("1.2.29"): 00 to 29 are 2000 to
// 2029, 30 to 99 are 1930 to 1999.
inline constexpr int fullYear(int twoDigits)
{
    return twoDigits + (twoDigits < 30 ? 2000 : 1900);
}

// "dd.MM.yyyy hh:mm:ss", the time left out at midnight; "" for an invalid value.
inline QString dateTime(const QDateTime &value, DayZero dayZero = DayZero::Written)
{
    return value.isValid() ? detail::write(value.date(), value.time(), dayZero) : QString();
}

// "dd.MM.yyyy"; "" for an invalid date.
inline QString date(const QDate &value, DayZero dayZero = DayZero::Written)
{
    return value.isValid() ? detail::write(value, QTime(0, 0), dayZero) : QString();
}

} // namespace datetext
