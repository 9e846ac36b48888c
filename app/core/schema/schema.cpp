#include "schema/schema.h"
#include "ole/clock.h"

#include "schema/schema_sql.h"

#include <QDate>
#include <QFile>

namespace schema {

void CreateTables(dao::Database &db)
{
    db.Execute(kSchemaSql);
}

void CreateStarterDatabase(const QString &path)
{
    CreateStarterDatabase(path, QString::fromLatin1(kProgramPassword));
}

void CreateStarterDatabase(const QString &path, const QString &password)
{
    dao::Workspace &ws = dao::DBEngine::Workspaces(0);
    dao::Database db = ws.CreateDatabase(path, QStringLiteral(";pwd=") + password);
    try {
        db.Execute("BEGIN");
        CreateTables(db);
        db.Execute("INSERT INTO System (FJahr, JBeitrag, PflichtStd, Verein, Strasse, PLZ, Ort, Tel) "
                   "VALUES (?, 50, 10, '', '', '', '', '')",
                   {ole::Today().year()});
        db.Execute("INSERT INTO Katego (KategoNr, Kategorie) VALUES (1, 'Mitglieder (aktiv)'), "
                   "(2, 'Mitglieder (passiv)')");
        db.Execute("INSERT INTO Gruppen (GName, Fangbuch, Fangauswertung, KontUebers, KontListe, "
                   "Kontakt, Arbeit, Besatz, Basis, Benutzerverwaltung, System) "
                   "VALUES ('Administratoren', 1, 1, 1, 1, 1, 1, 1, 1, 1, 1)");
        db.Execute("INSERT INTO Benutzer (Name, Passwort, GNr) "
                   "SELECT 'Verwalter', 'angeln', GNr FROM Gruppen WHERE GName = 'Administratoren'");
        db.Execute("COMMIT");
        db.Close();
    } catch (...) {
        db.Close();
        QFile::remove(path);
        throw;
    }
}

} // namespace schema
