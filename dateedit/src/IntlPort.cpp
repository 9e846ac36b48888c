#include "IntlPort.h"
#include "ole/clock.h"

#include "OleCalendar.h"

#include <QDateTime>
#include <ctime>

namespace lzdate {
namespace {

QString strftimeName(const char *pattern, int month, int weekday)
{
    std::tm t{};
    t.tm_year = 100;
    t.tm_mon = month - 1;
    t.tm_mday = 1;
    t.tm_wday = weekday;
    char buf[128];
    const size_t n = std::strftime(buf, sizeof buf, pattern, &t);
    return QString::fromLocal8Bit(buf, static_cast<qsizetype>(n));
}

class EmptyPort final : public IntlPort
{
public:
    std::optional<QString> profileString(const QString &) const override { return std::nullopt; }
};

EmptyPort g_empty;
IntlPort *g_port = nullptr;

} // namespace

QString IntlPort::monthName(int month) const
{
    if (month < 1 || month > 12)
        return {};
    return strftimeName("%B", month, 0);
}

QString IntlPort::weekdayName(int dayOfWeek) const
{
    if (dayOfWeek < 1 || dayOfWeek > 7)
        return {};
    return strftimeName("%A", 1, dayOfWeek - 1);
}

double IntlPort::now() const
{
    const QDateTime now = ole::Now();
    const QDate d = now.date();
    double day = 0.0;
    if (!oleFromYmd(d.year(), d.month(), d.day(), day))
        return 0.0;
    return day + static_cast<double>(now.time().msecsSinceStartOfDay()) / 86400000.0;
}

IntlPort &intlPort()
{
    return g_port ? *g_port : static_cast<IntlPort &>(g_empty);
}

void setIntlPort(IntlPort *port)
{
    g_port = port;
}

} // namespace lzdate
