#include "print_fixture.h"

#include "core/modGVar.h"
#include "testsupport/today.h"

#include <QDate>

namespace apptest {

void DruckTest::SetUp()
{
    ProgramTest::SetUp();
    if (HasFatalFailure())
        return;
    Vereinsadresse(QStringLiteral("ASV Petri Heil"));
    drucker.pdfPath = home.filePath(QStringLiteral("gedruckt.pdf"));
}

QString DruckTest::heute()
{
    return testsupport::Heute.toString(QStringLiteral("dd.MM.yyyy"));
}

QList<QVariantList> DruckTest::tabelle(dao::Sql sql)
{
    QList<QVariantList> z;
    dao::Recordset rs = gv().dbDaten.OpenRecordset(sql, dao::dbOpenDynaset);
    for (; !rs.Eof(); rs.MoveNext()) {
        QVariantList r;
        for (int i = 0; i < rs.FieldCount(); ++i)
            r << rs(i).Value();
        z << r;
    }
    return z;
}

} // namespace apptest
