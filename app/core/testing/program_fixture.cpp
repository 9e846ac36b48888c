#include "program_fixture.h"

#include "core/modGVar.h"
#include "core/modMain.h"
#include "core/modStart.h"
#include "schema/schema.h"

#include "forms/form.h"

#include <QStringList>

namespace apptest {

void ProgramTest::SetUp()
{
    ASSERT_TRUE(home.isValid());
    qputenv("TORVANA_HOME", home.path().toUtf8());
    if (datenbank_ == Datenbank::Starter)
        schema::CreateStarterDatabase(dbPfad());
    modGVar::resetGv();
    LeereEinstiege();
}

void ProgramTest::TearDown()
{
    forms::unloadAll();
    if (gv().dbDaten.IsOpen())
        gv().dbDaten.Close();
    modGVar::resetGv();
    LeereEinstiege();
    qunsetenv("TORVANA_HOME");
}

QString ProgramTest::dbPfad() const
{
    return home.path() + QStringLiteral("/tv01.mdb");
}

void ProgramTest::sql(dao::Sql text, const QVariantList &params)
{
    dao::Database d = dao::DBEngine::Workspaces(0).OpenDatabase(dbPfad(), false, false, modStart::Verbindung);
    d.Execute(text, params);
    d.Close();
}

void LeereEinstiege()
{
    modMain::LeereFensterRegister();
    modMain::bereiche() = {};
    modStart::startschritte() = {};
    modStart::ladeschritte() = {};
    modStart::jahreswechsel() = {};
    modStart::setFangListe({});
}

std::string texte(const forms::ScriptedMsgBox &boxes)
{
    QStringList t;
    for (const auto &b : boxes.boxes())
        t << b.title + QStringLiteral(": ") + b.text;
    return t.join(QStringLiteral(" | ")).toStdString();
}

} // namespace apptest
