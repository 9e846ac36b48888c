#include "dao/oledate.h"

#include "common/datenumber.h"

namespace dao {

double ToOleDate(const QDate &date)
{
    return oledate::fromDate(date);
}

double ToOleDate(const QDateTime &dateTime)
{
    return oledate::fromDateTime(dateTime);
}

QDateTime FromOleDate(double oleDate)
{
    return oledate::toDateTime(oleDate);
}

QDate OleDateToDate(double oleDate)
{
    return oledate::toDate(oleDate);
}

} // namespace dao
