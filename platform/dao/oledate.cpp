#include "dao/oledate.h"

#include <QTime>

#include <cmath>

namespace dao {

namespace {
const QDate kEpoch(1899, 12, 30);
constexpr double kMinOle = -657434.0;  // 1 January 100
constexpr double kMaxOle = 2958466.0;  // 1 January 10000 (exclusive)
constexpr qint64 kMsPerDay = 86400000;
} // namespace

double ToOleDate(const QDate &date)
{
    if (!date.isValid())
        return kNoDate;
    return double(kEpoch.daysTo(date));
}

double ToOleDate(const QDateTime &dateTime)
{
    if (!dateTime.isValid())
        return kNoDate;
    const double days = double(kEpoch.daysTo(dateTime.date()));
    const double frac = double(dateTime.time().msecsSinceStartOfDay()) / double(kMsPerDay);
    return days >= 0 ? days + frac : days - frac;
}

QDateTime FromOleDate(double oleDate)
{
    if (!std::isfinite(oleDate) || oleDate <= kMinOle - 1.0 || oleDate >= kMaxOle)
        return {};
    const double whole = std::trunc(oleDate);
    qint64 ms = std::llround(std::fabs(oleDate - whole) * double(kMsPerDay));
    QDate day = kEpoch.addDays(qint64(whole));
    if (ms >= kMsPerDay) {
        day = day.addDays(1);
        ms -= kMsPerDay;
    }
    if (!day.isValid() || day.year() < 100 || day.year() > 9999)
        return {};
    return QDateTime(day, QTime::fromMSecsSinceStartOfDay(int(ms)));
}

QDate OleDateToDate(double oleDate)
{
    // The day alone, without building a local date-time: that would consult the time-zone rules
    // for every value, which costs more than everything else when a list of dates is read.
    if (!std::isfinite(oleDate) || oleDate <= kMinOle - 1.0 || oleDate >= kMaxOle)
        return {};
    const double whole = std::trunc(oleDate);
    QDate day = kEpoch.addDays(qint64(whole));
    if (std::llround(std::fabs(oleDate - whole) * double(kMsPerDay)) >= kMsPerDay)
        day = day.addDays(1);
    if (!day.isValid() || day.year() < 100 || day.year() > 9999)
        return {};
    return day;
}

} // namespace dao
