#pragma once
// An "intl" port with settable profile values, English names and a fixed clock.
#include "IntlPort.h"
#include "OleCalendar.h"

#include <QMap>
#include <QStringList>

class FakeIntl : public lzdate::IntlPort
{
public:
    QMap<QString, QString> profile{{"sShortDate", "dd.MM.yyyy"}, {"sLongDate", "dddd, d. MMMM yyyy"}, {"sDate", "."}};
    double nowValue = 0.0;
    bool doubleByte = false;

    FakeIntl() { lzdate::oleFromYmd(2031, 6, 1, nowValue); }

    std::optional<QString> profileString(const QString &key) const override
    {
        if (!profile.contains(key))
            return std::nullopt;
        return profile.value(key);
    }
    QString monthName(int m) const override
    {
        static const QStringList names{"January", "February", "March",     "April",   "May",      "June",
                                       "July",    "August",   "September", "October", "November", "December"};
        return m >= 1 && m <= 12 ? names[m - 1] : QString();
    }
    QString weekdayName(int d) const override
    {
        static const QStringList names{"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
        return d >= 1 && d <= 7 ? names[d - 1] : QString();
    }
    bool doubleByteCodePage() const override { return doubleByte; }
    double now() const override { return nowValue; }
};

inline double oleDate(int y, int m, int d)
{
    double x = 0.0;
    lzdate::oleFromYmd(y, m, d, x);
    return x;
}
