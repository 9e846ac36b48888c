#include "DateText.h"

#include "IntlPort.h"

namespace lzdate {
namespace {

const QString kDefaultShortPattern = QStringLiteral("M/d/yy");
const QString kDefaultLongPattern = QStringLiteral("dddd, MMMM dd, yyyy");

QString number(int n, bool twoDigits)
{
    return twoDigits ? QStringLiteral("%1").arg(n, 2, 10, QChar(u'0')) : QString::number(n);
}

// Reads a number the way the runtime's atoi does on a text of digits and blanks: leading
// blanks skipped, digits up to the first other character. Saturates instead of overflowing.
int readNumber(const QString &s)
{
    qsizetype i = 0;
    while (i < s.size() && s[i] == u' ')
        ++i;
    long long v = 0;
    for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i) {
        v = v * 10 + (s[i].unicode() - u'0');
        if (v > 99999)
            return 99999;
    }
    return static_cast<int>(v);
}

} // namespace

QChar toHalfWidth(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= 0xFF01 && u <= 0xFF5E)
        return QChar(static_cast<char16_t>(u - 0xFEE0));
    return c;
}

QChar fullWidthPartner(QChar separator)
{
    switch (separator.unicode()) {
    case u'.': return QChar(u'\xFF0E');
    case u'-': return QChar(u'\xFF0D');
    case u'\\': return QChar(u'\xFF3C');
    default: return QChar(u'\xFF0F');
    }
}

bool isSeparatorChar(QChar c, QChar separator)
{
    return c == separator || c == fullWidthPartner(separator);
}

bool isDigitChar(QChar c)
{
    return digitValue(c) >= 0;
}

int digitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= 0xFF10 && u <= 0xFF19)
        return u - 0xFF10;
    return -1;
}

QString keepDigitsAndBlanks(const QString &text)
{
    QString out;
    const qsizetype n = std::min<qsizetype>(text.size(), kMaxChars);
    for (qsizetype i = 0; i < n; ++i) {
        const int d = digitValue(text[i]);
        if (d >= 0)
            out += QChar(static_cast<char16_t>(u'0' + d));
        else if (text[i] == u' ')
            out += u' ';
    }
    return out;
}

int displayCodeFromPattern(const QString &pattern, int start)
{
    QString p;
    p.reserve(pattern.size());
    for (QChar c : pattern)
        p += toHalfWidth(c);

    const bool beginsWithYear = p.startsWith(u'y');
    int code = start;
    bool monthSeen = false;
    // Each element counts once, so that a repeated one cannot push the code past the formats.
    bool padded = false, dayFirst = false, weekday = false, year = false;
    qsizetype i = 0;
    while (i < p.size()) {
        const QChar c = p[i];
        if (c == u'd' || c == u'y') {
            qsizetype run = 1;
            while (i + run < p.size() && p[i + run] == c)
                ++run;
            if (c == u'd') {
                if (run <= 2) {
                    if (run == 2 && !padded) {
                        padded = true;
                        code += 1;
                    }
                    if (!monthSeen && !dayFirst) {
                        dayFirst = true;
                        code += 2;
                    }
                } else if (run <= 4 && !beginsWithYear && !weekday) {
                    weekday = true;
                    code += 4;
                }
            } else if (!codeLong(code) && !year) {
                year = true;
                if (beginsWithYear)
                    code += run > 2 ? 24 : 20;
                else
                    code += run > 2 ? 8 : 4;
            }
            i += run;
        } else if (c == u'M' || c == u'm') {
            monthSeen = true;
            i += 2;
        } else {
            ++i;
        }
    }
    return code;
}

int displayCodeForFormat(int dateFormat, const IntlPort &port)
{
    if (dateFormat == 1)
        return displayCodeFromPattern(port.profileString(QStringLiteral("sLongDate")).value_or(kDefaultLongPattern),
                                      12);
    if (dateFormat >= 2 && dateFormat < kDateFormatCount)
        return dateFormat - 2;
    return displayCodeFromPattern(port.profileString(QStringLiteral("sShortDate")).value_or(kDefaultShortPattern), 0);
}

int fieldOrderFor(int code)
{
    int order = codeDayFirst(code) ? (FieldDay | FieldMonth << 2) : (FieldMonth | FieldDay << 2);
    if (codeYearFirst(code))
        order = order * 4 + FieldYear;
    else if (codeHasYear(code))
        order += FieldYear << 4;
    return order;
}

QString formatDate(int code, const Ymd &date, int dayOfWeek, QChar separator, const IntlPort &port)
{
    const bool pad = codePadded(code);
    const QString day = number(date.day, pad);
    QString text;
    if (codeLong(code)) {
        const QString month = port.monthName(date.month);
        text = codeDayFirst(code) ? day + u' ' + month : month + u' ' + day;
        text += QStringLiteral(", ") + QString::number(date.year);
        if (codeWeekday(code))
            text = port.weekdayName(dayOfWeek) + QStringLiteral(", ") + text;
        return text;
    }
    const QString month = number(date.month, pad);
    text = codeDayFirst(code) ? day + separator + month : month + separator + day;
    if (!codeHasYear(code))
        return text;
    const QString year =
        codeTwoDigitYear(code) && date.year >= 1000 ? number(date.year % 100, true) : QString::number(date.year);
    return codeYearFirst(code) ? year + separator + text : text + separator + year;
}

QString blankDateText(int code, QChar separator)
{
    const QString dm(codePadded(code) ? 2 : 1, u' ');
    QString text = dm + separator + dm;
    if (!codeHasYear(code))
        return text;
    const QString year(codeTwoDigitYear(code) ? 2 : 4, u' ');
    return codeYearFirst(code) ? year + separator + text : text + separator + year;
}

QChar systemSeparator(const IntlPort &port)
{
    const QString s = port.profileString(QStringLiteral("sDate")).value_or(QStringLiteral("/"));
    if (!s.isEmpty() && (s[0] == u'-' || s[0] == u'.' || s[0] == u'\\'))
        return s[0];
    return QChar(u'/');
}

QChar validateSeparator(const QString &assigned)
{
    if (assigned.isEmpty())
        return QChar(u'/');
    QChar c = assigned[0];
    if (c.unicode() > 0x7F) {
        switch (c.unicode()) {
        case 0xFF0E: c = u'.'; break;
        case 0xFF0D: c = u'-'; break;
        case 0xFF3C: c = u'\\'; break;
        default: c = u'/'; break;
        }
    }
    if (c != u'-' && c != u'.' && c != u'/' && c != u'\\')
        return QChar(u'/');
    return c;
}

Ymd readDateFields(const QString &text, int fieldOrder)
{
    Ymd out;
    const qsizetype n = std::min<qsizetype>(text.size(), kMaxChars);
    int field = 0;
    qsizetype i = 0;
    while (i < n && field < 3) {
        if (!isDigitChar(text[i])) {
            ++i;
            continue;
        }
        int value = 0;
        int digits = 0;
        while (i < n && isDigitChar(text[i])) {
            if (digits == 5) { // a sixth digit ends the field and is dropped
                ++i;
                break;
            }
            value = value * 10 + digitValue(text[i]);
            ++digits;
            ++i;
        }
        switch (fieldKindAt(fieldOrder, field)) {
        case FieldYear: out.year = value; break;
        case FieldMonth: out.month = value; break;
        case FieldDay: out.day = value; break;
        default: break;
        }
        ++field;
    }
    return out;
}

Ymd freeFormFields(const QString &text, QChar separator, int fieldOrder)
{
    Ymd out;
    const QString t = text.left(kMaxChars);
    qsizetype start = 0;
    for (int piece = 0; piece < 3 && start <= t.size(); ++piece) {
        qsizetype end = start;
        while (end < t.size() && !isSeparatorChar(t[end], separator))
            ++end;
        const QString kept = keepDigitsAndBlanks(t.mid(start, end - start));
        const int kind = fieldKindAt(fieldOrder, piece);
        int value = readNumber(kept);
        if (kind == FieldYear && kept.startsWith(u' '))
            value = -1;
        switch (kind) {
        case FieldYear: out.year = value; break;
        case FieldMonth: out.month = value; break;
        case FieldDay: out.day = value; break;
        default: break;
        }
        if (end >= t.size())
            break;
        start = end + 1;
    }
    return out;
}

bool settleTypedDate(Ymd &date)
{
    double unused = 0.0;
    if (oleFromYmd(date, unused))
        return true;
    if (date.day < 28 || date.month < 1 || date.year < 0)
        return false;
    // Every month has a 28th, so a month without one has no day that fits.
    for (int day = date.day - 1; day >= 28; --day) {
        if (oleFromYmd(date.year, date.month, day, unused)) {
            date.day = day;
            return true;
        }
    }
    return false;
}

QStringList calendarWeekdayLetters(const QString &dows)
{
    static const QString fallback = QStringLiteral("SMTWTFS");
    QStringList letters;
    for (int i = 0; i < 7; ++i)
        letters << QString(i < dows.size() ? dows[i] : fallback[i]);
    return letters;
}

QStringList calendarMonthNames(const QString &months)
{
    static const QStringList fallback =
        QStringLiteral("January|February|March|April|May|June|July|August|September|October|November|December")
            .split(u'|');
    const QStringList given = months.split(u'|');
    QStringList names;
    for (int i = 0; i < 12; ++i)
        names << (i < given.size() && !given[i].isEmpty() ? given[i] : fallback[i]);
    return names;
}

} // namespace lzdate
