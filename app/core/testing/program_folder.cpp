#include "program_folder.h"

#include "core/Info.h"
#include "core/modStart.h"
#include "schema/schema.h"

#include "forms/form.h"

#include <QFile>
#include <QLabel>

namespace apptest {

void Programmordner::richteEin(bool starter)
{
    qputenv("TORVANA_HOME", home.path().toUtf8());
    if (starter)
        schema::CreateStarterDatabase(dbPfad());
}

void Programmordner::raeumeAuf()
{
    QFile::remove(dbPfad());
    qunsetenv("TORVANA_HOME");
}

QString Programmordner::dbPfad() const
{
    return home.path() + QStringLiteral("/tv01.mdb");
}

void Programmordner::sql(dao::Sql text, const QVariantList &params)
{
    dao::Database d = dao::DBEngine::Workspaces(0).OpenDatabase(dbPfad(), false, false, modStart::Verbindung);
    d.Execute(text, params);
    d.Close();
}

void Vereinsadresse(const QString &verein)
{
    Info &info = forms::form<Info>();
    info.lblVerein->setText(verein);
    info.lblStrasse->setText(QStringLiteral("Uferweg 3"));
    info.lblPLZ->setText(QStringLiteral("12345"));
    info.lblOrt->setText(QStringLiteral("Fischbach"));
    info.lblTelefon->setText(QStringLiteral("0123 4567"));
}

} // namespace apptest
