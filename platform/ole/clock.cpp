#include "ole/clock.h"

namespace ole {

namespace {
QDateTime g_fixed;
}

QDateTime Now()
{
    return g_fixed.isValid() ? g_fixed : QDateTime::currentDateTime();
}

QDate Today()
{
    return Now().date();
}

QDateTime setNow(const QDateTime &moment)
{
    const QDateTime previous = g_fixed;
    g_fixed = moment;
    return previous;
}

} // namespace ole
