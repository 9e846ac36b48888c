// How the data layer uses SQLite: what it prepares, and how it opens its connections. The tests
// see the connections the layer opens through an automatic extension, which SQLite runs on every
// connection opened in the process, and count what SQLite prepares with an authorizer, which
// SQLite asks once for each statement it prepares.
#include "dao/dao.h"
#include "dao/testing/database_fixture.h"

#include <sqlite3.h>

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kConnect = QStringLiteral(";pwd=geheim-123");

sqlite3 *zuletztGeoeffnet = nullptr;

int merkeVerbindung(sqlite3 *db, char **, const sqlite3_api_routines *)
{
    zuletztGeoeffnet = db;
    return SQLITE_OK;
}

// Counts the statements prepared: those that insert into table Satz, those that update its
// column Wert, and the queries.
struct Zaehler
{
    int einfuegen = 0, aendern = 0, lesen = 0;
};

int zaehle(void *arg, int action, const char *a, const char *b, const char *, const char *)
{
    auto *z = static_cast<Zaehler *>(arg);
    const bool satz = a && qstrcmp(a, "Satz") == 0;
    if (action == SQLITE_INSERT && satz)
        ++z->einfuegen;
    else if (action == SQLITE_UPDATE && satz && b && qstrcmp(b, "Wert") == 0)
        ++z->aendern;
    else if (action == SQLITE_SELECT)
        ++z->lesen;
    return SQLITE_OK;
}

class Statements : public daotest::DatenbankTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("test.mdb"));
        dao::Database neu = ws().CreateDatabase(path, kConnect);
        neu.Execute("CREATE TABLE Satz (Nr INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT, Wert INTEGER)");
        neu.Close();
        sqlite3_auto_extension(reinterpret_cast<void (*)()>(merkeVerbindung));
        zuletztGeoeffnet = nullptr;
        db = ws().OpenDatabase(path, false, false, kConnect);
        sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(merkeVerbindung));
        ASSERT_NE(zuletztGeoeffnet, nullptr);
        roh = zuletztGeoeffnet;
    }
    void TearDown() override
    {
        sqlite3_set_authorizer(roh, nullptr, nullptr);
        DatenbankTest::TearDown();
    }

    // Counts from now on what is prepared on the connection.
    Zaehler &zaehlen()
    {
        z = {};
        sqlite3_set_authorizer(roh, zaehle, &z);
        return z;
    }

    static dao::Workspace &ws() { return dao::DBEngine::Workspaces(0); }

    sqlite3 *roh = nullptr;
    Zaehler z;
};

TEST_F(Statements, ConnectionsAreOpenedWithoutSqlitesMutex)
{
    // The program uses each connection from one thread.
    EXPECT_EQ(sqlite3_db_mutex(roh), nullptr);
}

TEST_F(Statements, ARecordSetPreparesEachInsertAndUpdateOnce)
{
    dao::Recordset rs = db.OpenRecordset("Satz", dao::dbOpenTable);
    const Zaehler &gezaehlt = zaehlen();
    // Rows written with the same fields share one INSERT; other fields need another.
    const struct
    {
        const char *fall;
        QVariant name; // invalid: not written
        QVariant wert;
    } zeilen[] = {
        {"both", QStringLiteral("a"), 1},
        {"both again", QStringLiteral("b"), 2},
        {"name only", QStringLiteral("c"), QVariant()},
        {"both once more", QStringLiteral("d"), 4},
        {"name only again", QStringLiteral("e"), QVariant()},
    };
    for (const auto &zeile : zeilen) {
        SCOPED_TRACE(zeile.fall);
        rs.AddNew();
        rs("Name") = zeile.name;
        if (zeile.wert.isValid())
            rs("Wert") = zeile.wert;
        rs.Update();
    }
    EXPECT_EQ(gezaehlt.einfuegen, 2) << "one INSERT for each set of fields written";
    dao::Recordset alle = db.OpenRecordset("SELECT Name, Wert FROM Satz ORDER BY Nr", dao::dbOpenDynaset);
    for (const auto &zeile : zeilen) {
        SCOPED_TRACE(zeile.fall);
        EXPECT_EQ(alle("Name").Value(), zeile.name);
        EXPECT_EQ(alle("Wert").Value(), zeile.wert.isValid() ? QVariant(qlonglong(zeile.wert.toInt())) : QVariant());
        alle.MoveNext();
    }
    alle.Close();

    // Every row changed through the same set: one UPDATE, each run with its own values.
    zaehlen();
    int n = 0;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        rs.Edit();
        rs("Wert") = 100 + n++;
        rs.Update();
    }
    EXPECT_EQ(gezaehlt.aendern, 1);
    EXPECT_EQ(count("SELECT SUM(Wert) FROM Satz"), 100 + 101 + 102 + 103 + 104);
}

TEST_F(Statements, ATableRecordSetPreparesItsStepOnce)
{
    db.Execute("INSERT INTO Satz (Name) VALUES ('a'), ('b'), ('c'), ('d'), ('e')");
    dao::Recordset rs = db.OpenRecordset("Satz", dao::dbOpenTable);
    const Zaehler &gezaehlt = zaehlen();
    QString gelesen;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
        gelesen += rs("Name").Value().toString();
    EXPECT_EQ(gelesen, QStringLiteral("abcde"));
    // The first row's statement and the next row's, each prepared once however many rows are
    // passed (the first row's anew since counting began: SQLite prepares its statements again
    // once an authorizer is set).
    EXPECT_EQ(gezaehlt.lesen, 2);
    // The table opened again is not looked up in the schema again (only its own first row is
    // prepared); a change of the table is seen.
    zaehlen();
    db.OpenRecordset("Satz", dao::dbOpenTable).Close();
    EXPECT_EQ(gezaehlt.lesen, 1);
    db.Execute("ALTER TABLE Satz ADD COLUMN Neu TEXT DEFAULT 'x'");
    dao::Recordset neu = db.OpenRecordset("Satz", dao::dbOpenTable);
    EXPECT_EQ(neu.FieldCount(), 4);
    EXPECT_EQ(neu("Neu").Value().toString(), QStringLiteral("x"));
}

} // namespace
