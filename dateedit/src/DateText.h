#pragma once
// The date formats of the control: display codes, field order, separators and the texts made
// from and read back into a date. Pure functions; the control state lives in DateModel.
#include "OleCalendar.h"

#include <QString>
#include <QStringList>

namespace lzdate {

class IntlPort;

enum FieldKind : int { FieldNone = 0, FieldYear = 1, FieldMonth = 2, FieldDay = 3 };

constexpr int kMaxChars = 100;        // scanning works on at most this many characters
constexpr int kDateFormatCount = 30;  // DateFormat 0..29
constexpr int kDisplayCodeCount = 28; // display code 0..27

// Display code properties (code = DateFormat - 2 for the fixed formats).
inline bool codePadded(int code)
{
    return (code & 1) != 0;
}
inline bool codeDayFirst(int code)
{
    return code % 4 == 2 || code % 4 == 3;
}
inline bool codeHasYear(int code)
{
    return code >= 4;
}
inline bool codeLong(int code)
{
    return code >= 12 && code <= 19;
}
inline bool codeWeekday(int code)
{
    return code >= 16 && code <= 19;
}
inline bool codeYearFirst(int code)
{
    return code >= 20;
}
inline bool codeTwoDigitYear(int code)
{
    return (code >= 4 && code <= 7) || (code >= 20 && code <= 23);
}

// The display code a DateFormat stands for; 0 and 1 follow the "intl" patterns.
// A DateFormat outside 0..29 is read as 0.
int displayCodeForFormat(int dateFormat, const IntlPort &port);
// Scans a system date pattern ("dd.MM.yyyy") starting from code 0 (short) or 12 (long).
int displayCodeFromPattern(const QString &pattern, int start);

// Field order: 2 bits per field, the first field in the lowest bits (FieldKind values).
int fieldOrderFor(int code);
inline int fieldKindAt(int order, int index)
{
    return (order >> (2 * index)) & 3;
}

// The separator that stands between the fields of the text: Separator, or a blank in long formats.
inline QChar textSeparator(int code, QChar separator)
{
    return codeLong(code) ? QChar(u' ') : separator;
}

// Character helpers. Full-width forms count as their ASCII partners.
QChar fullWidthPartner(QChar separator);
bool isSeparatorChar(QChar c, QChar separator);
bool isDigitChar(QChar c);
int digitValue(QChar c); // -1 for a character that is not a digit
QChar toHalfWidth(QChar c);
// Keeps digits (full-width ones as ASCII) and blanks of the first kMaxChars characters.
QString keepDigitsAndBlanks(const QString &text);

// The text of a date in a display code.
QString formatDate(int code, const Ymd &date, int dayOfWeek, QChar separator, const IntlPort &port);
// The empty fields shown for a date that is not valid, with the focus, in a numeric format.
QString blankDateText(int code, QChar separator);

// The separator from the system's "sDate" (one of "-", ".", "\", else "/").
QChar systemSeparator(const IntlPort &port);
// An assigned separator made valid: empty gives "/", a full-width character its half-width
// partner, anything but "-./\" gives "/", a longer text is cut to its first character.
QChar validateSeparator(const QString &assigned);

// Splits a typed text into up to three digit fields and gives each its meaning by the field
// order. Parts that are not there stay -1.
Ymd readDateFields(const QString &text, int fieldOrder);
// Splits a display text at the separator into up to three pieces for the free-form check.
// A missing piece, and a year piece beginning with a blank, count as -1.
Ymd freeFormFields(const QString &text, QChar separator, int fieldOrder);

// A typed date that does not exist, made to exist for the commit on losing the focus: the day is
// lowered until the month has it (31 April becomes 30 April). False, for a null value, when the
// day is below 28, the month below 1 or the year below 0, and when no day of the month fits
// (a month above 12, a year the date type cannot hold).
bool settleTypedDate(Ymd &date);

// The weekday letters (7) and month names (12) the calendar shows, taken from CalendarDOWs (one
// character each) and CalendarMonths (names split at "|"). Entries the texts lack keep the
// default English ones.
QStringList calendarWeekdayLetters(const QString &dows);
QStringList calendarMonthNames(const QString &months);

} // namespace lzdate
