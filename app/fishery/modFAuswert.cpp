#include "fishery/modFAuswert.h"

#include "core/modGVar.h"
#include "core/trap.h"

#include "dao/dao.h"

#include <QComboBox>

namespace modFAuswert {

namespace {

// The single value of an aggregate query, or the current year when it is Null. False when the
// query did not give exactly one record.
bool leseJahr(dao::Sql sql, int &jahr)
{
    dao::Recordset rs = gv().dbDaten.OpenRecordset(sql, dao::dbOpenDynaset);
    if (rs.RecordCount() != 1)
        return false;
    const QVariant v = rs("Expr1000").Value();
    jahr = v.isValid() ? v.toInt() : gv().intJahr;
    return true;
}

} // namespace

void loadcboFJahr(QComboBox &cbo)
{
    modRun::Trap t(QStringLiteral("modFAuswert"), QStringLiteral("loadcboFJahr"));
    // Emptied first, so that a list filled again does not offer each year twice.
    cbo.clear();
    int von = 0;
    int bis = 0;
    bool ok = false;
    t.step([&] { ok = leseJahr("SELECT MIN(FangJahr) AS Expr1000 FROM Fang", von); });
    if (!ok)
        return;
    ok = false;
    t.step([&] { ok = leseJahr("SELECT MAX(FangJahr) AS Expr1000 FROM Fang", bis); });
    if (!ok)
        return;
    const int jahr = gv().intJahr;
    for (int j = von; j <= bis; ++j)
        cbo.addItem(QString::number(j));
    if (bis < jahr)
        cbo.addItem(QString::number(jahr));
    if (von > jahr)
        for (int j = jahr; j < von; ++j)
            cbo.addItem(QString::number(j));
}

} // namespace modFAuswert
