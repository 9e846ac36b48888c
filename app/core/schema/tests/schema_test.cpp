#include "schema/schema.h"

#include "common/testing/error_number.h"
#include "dao/testing/database_fixture.h"
#include "testsupport/today.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString kConnect = QStringLiteral(";pwd=") + QString::fromLatin1(schema::kProgramPassword);

using vbtest::errorNumber;

class StarterDatabase : public daotest::DatenbankTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("tv01.mdb"));
        schema::CreateStarterDatabase(path);
        db = dao::DBEngine::Workspaces(0).OpenDatabase(path, false, false, kConnect);
    }
};

TEST_F(StarterDatabase, HoldsTheStartingContent)
{
    dao::Recordset sys = db.OpenRecordset("SELECT * FROM System");
    ASSERT_EQ(sys.RecordCount(), 1);
    EXPECT_EQ(sys("FJahr").Value().toInt(), testsupport::Heute.year());
    EXPECT_GT(sys("JBeitrag").Value().toDouble(), 0.0);
    EXPECT_GT(sys("PflichtStd").Value().toDouble(), 0.0);
    for (const char *f : {"Verein", "Strasse", "PLZ", "Ort", "Tel"})
        EXPECT_EQ(sys(QString::fromLatin1(f)).Value().toString(), QString()) << f;

    dao::Recordset kat = db.OpenRecordset("Katego", dao::dbOpenTable);
    kat.Index("PrimaryKey");
    kat.Seek("=", 1);
    EXPECT_EQ(kat("kategorie").Value().toString(), QStringLiteral("Mitglieder (aktiv)"));
    kat.Seek("=", 2);
    EXPECT_EQ(kat("kategorie").Value().toString(), QStringLiteral("Mitglieder (passiv)"));
    EXPECT_EQ(kat.RecordCount(), 2);

    // The login query: name and password exact, and the group's ten rights all true.
    dao::Recordset login =
        db.OpenRecordset("SELECT * FROM Gruppen WHERE GNr = (SELECT GNr FROM Benutzer "
                         "WHERE Name = ? COLLATE BINARY AND Passwort = ? COLLATE BINARY)",
                         dao::dbOpenDynaset, {QStringLiteral("Verwalter"), QStringLiteral("angeln")});
    ASSERT_EQ(login.RecordCount(), 1);
    EXPECT_EQ(login("GName").Value().toString(), QStringLiteral("Administratoren"));
    const QStringList rights = {"Fangbuch", "Fangauswertung", "KontUebers", "KontListe",          "Kontakt",
                                "Arbeit",   "Besatz",         "Basis",      "Benutzerverwaltung", "System"};
    ASSERT_EQ(login.FieldCount(), 12);
    for (int i = 0; i < rights.size(); ++i) {
        EXPECT_EQ(login(i + 2).Name(), rights[i]);
        EXPECT_EQ(login(rights[i]).Value(), QVariant(true)) << rights[i].toStdString();
    }
    for (const auto &[name, pwd] :
         {std::pair{"verwalter", "angeln"}, std::pair{"Verwalter", "Angeln"}, std::pair{"Verwalter", "angeln "}}) {
        dao::Recordset no = db.OpenRecordset("SELECT * FROM Gruppen WHERE GNr = (SELECT GNr FROM Benutzer "
                                             "WHERE Name = ? COLLATE BINARY AND Passwort = ? COLLATE BINARY)",
                                             dao::dbOpenDynaset, {QString::fromLatin1(name), QString::fromLatin1(pwd)});
        EXPECT_EQ(no.RecordCount(), 0) << name << "/" << pwd;
    }
}

TEST_F(StarterDatabase, TablesHaveTheirColumnsAndKeys)
{
    struct Table
    {
        dao::Sql query;
        const char *columns;
        const char *key; // "" for none
    };
    const Table tables[] = {
        {"SELECT * FROM System", "FJahr JBeitrag PflichtStd Verein Strasse PLZ Ort Tel", ""},
        {"SELECT * FROM Fisch", "FNr FName Notiz", "FNr"},
        {"SELECT * FROM Gewaesser", "GNr GName Notiz", "GNr"},
        {"SELECT * FROM Gruppen",
         "GNr GName Fangbuch Fangauswertung KontUebers KontListe Kontakt Arbeit Besatz Basis "
         "Benutzerverwaltung System",
         "GNr"},
        {"SELECT * FROM Benutzer", "BNr Name Passwort GNr", "BNr"},
        {"SELECT * FROM Katego", "KategoNr Kategorie", "KategoNr"},
        {"SELECT * FROM Kontakt",
         "KNr KategoNr Anrede Nachname Vorname Strasse PLZ Ort Tel1 Tel2 Mobil Fax EMail Firma "
         "GebDatum Bankeinzug BLZ KreditInstitut KontoNr Notiz",
         "KNr"},
        {"SELECT * FROM Mitglied", "KNr Geschlecht Befreit Bezahlt Eintritt Austritt JG", "KNr"},
        {"SELECT * FROM Fang", "FangNr FangJahr FangMonat FischNr GNr Notiz Anzahl Gewicht", "FangNr"},
        {"SELECT * FROM Besatzung", "BNr BJahr FNr GNr Zeit Menge", "BNr"},
        {"SELECT * FROM Arbeit", "ArbNr KNr Jahr Datum ArbStd Notiz", "ArbNr"},
        {"SELECT * FROM Druck_Fangliste", "FangNr Name Gewässer Monat FangJahr Anzahl Gewicht", ""},
        {"SELECT * FROM Druck_Besatzliste", "BNr FName GName Zeit Menge", ""},
        {"SELECT * FROM Druck_ArbListe", "ArbNr GelStd Datum", ""},
        {"SELECT * FROM Druck_MitglList", "KontaktNr Nachname Vorname Strasse PLZ Ort Tel GebDatum", ""},
        {"SELECT * FROM Druck_ArbStd", "KontaktNr Nachname Vorname PflStd GelStd SollHaben", ""},
    };
    for (const Table &t : tables) {
        dao::Recordset rs = db.OpenRecordset(t.query, dao::dbOpenDynaset);
        QStringList names;
        for (int i = 0; i < rs.FieldCount(); ++i)
            names << rs(i).Name();
        EXPECT_EQ(names.join(' '), QString::fromUtf8(t.columns)) << t.query.text();
    }
    // Every keyed table answers to the index "PrimaryKey".
    for (dao::Sql name :
         {dao::Sql("Fisch"), dao::Sql("Gewaesser"), dao::Sql("Gruppen"), dao::Sql("Benutzer"), dao::Sql("Katego"),
          dao::Sql("Kontakt"), dao::Sql("Mitglied"), dao::Sql("Fang"), dao::Sql("Besatzung"), dao::Sql("Arbeit")}) {
        dao::Recordset rs = db.OpenRecordset(name, dao::dbOpenTable);
        EXPECT_NO_THROW(rs.Index("PrimaryKey")) << name.text();
    }
}

TEST_F(StarterDatabase, DeletesCascadeAsTheProgramExpects)
{
    db.Execute("INSERT INTO Fisch (FNr, FName) VALUES (1, 'Hecht'), (2, 'Zander')");
    db.Execute("INSERT INTO Gewaesser (GNr, GName) VALUES (1, 'See'), (2, 'Bach')");
    db.Execute("INSERT INTO Fang (FangJahr, FangMonat, FischNr, GNr) VALUES "
               "(2024, 5, 1, 1), (2024, 5, 1, 2), (2024, 6, 2, 2), (2024, 7, 2, 1)");
    db.Execute("INSERT INTO Katego (KategoNr, Kategorie) VALUES (3, 'Lieferanten')");
    db.Execute("INSERT INTO Kontakt (KNr, KategoNr, Nachname) VALUES (1, 1, 'Aktiv'), (2, 3, 'Lieferant')");
    db.Execute("INSERT INTO Mitglied (KNr) VALUES (1)");
    db.Execute("INSERT INTO Arbeit (KNr, Jahr, ArbStd) VALUES (1, 2024, 2.5), (1, 2024, 3)");
    db.Execute("INSERT INTO Gruppen (GNr, GName) VALUES (7, 'Gäste')");
    db.Execute("INSERT INTO Benutzer (Name, GNr) VALUES ('Gast', 7)");
    db.Execute("INSERT INTO Besatzung (BJahr, FNr, GNr, Menge) VALUES (2024, 2, 2, 12.5)");

    db.Execute("DELETE FROM Fisch WHERE FNr = 1");
    EXPECT_EQ(count("SELECT COUNT(*) FROM Fang"), 2);
    db.Execute("DELETE FROM Gewaesser WHERE GNr = 1");
    EXPECT_EQ(count("SELECT COUNT(*) FROM Fang"), 1);
    // The stocking plan keeps its entry when its species and water go.
    db.Execute("DELETE FROM Fisch WHERE FNr = 2");
    db.Execute("DELETE FROM Gewaesser WHERE GNr = 2");
    EXPECT_EQ(count("SELECT COUNT(*) FROM Besatzung"), 1);

    db.Execute("DELETE FROM Kontakt WHERE KNr = 1");
    EXPECT_EQ(count("SELECT COUNT(*) FROM Mitglied"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Arbeit"), 0);
    db.Execute("DELETE FROM Katego WHERE KategoNr = 3");
    EXPECT_EQ(count("SELECT COUNT(*) FROM Kontakt"), 0);
    db.Execute("DELETE FROM Gruppen WHERE GNr = 7");
    EXPECT_EQ(count("SELECT COUNT(*) FROM Benutzer"), 1);

    // A catch of an unknown species or a contact in no category is refused.
    EXPECT_EQ(
        errorNumber([&] { db.Execute("INSERT INTO Fang (FangJahr, FangMonat, FischNr, GNr) VALUES (2024, 1, 0, 2)"); }),
        3201);
    EXPECT_EQ(errorNumber([&] { db.Execute("INSERT INTO Kontakt (KategoNr) VALUES (0)"); }), 3201);
    EXPECT_TRUE(db.CheckIntegrity().isEmpty());
}

TEST_F(StarterDatabase, ContactsAndMembers)
{
    // Every column of the contact editor has its place, with the no-date and unchecked defaults.
    db.Execute("INSERT INTO Kontakt (KategoNr, Nachname, Vorname) VALUES (1, 'Müller', 'Eva')");
    dao::Recordset k = db.OpenRecordset("Kontakt", dao::dbOpenTable);
    k.Index("PrimaryKey");
    k.MoveLast();
    const qlonglong knr = k("KNr").Value().toLongLong();
    EXPECT_EQ(k("GebDatum").Value().toDouble(), 0.0);
    EXPECT_EQ(k("Bankeinzug").Value(), QVariant(false));
    for (const char *f : {"Anrede", "Strasse", "PLZ", "Ort", "Tel1", "Tel2", "Mobil", "Fax", "EMail", "Firma", "BLZ",
                          "KreditInstitut", "KontoNr", "Notiz"})
        EXPECT_EQ(k(QString::fromLatin1(f)).Value().toString(), QString()) << f;
    k.Close();

    // The member record shares the contact's key and exists only beside a contact.
    db.Execute("INSERT INTO Mitglied (KNr) VALUES (?)", {knr});
    dao::Recordset m = db.OpenRecordset("SELECT * FROM Mitglied WHERE KNr = ?", dao::dbOpenDynaset, {knr});
    ASSERT_EQ(m.RecordCount(), 1);
    for (const char *f : {"Geschlecht", "Befreit", "Bezahlt", "JG"})
        EXPECT_EQ(m(QString::fromLatin1(f)).Value(), QVariant(false)) << f;
    EXPECT_EQ(m("Eintritt").Value().toDouble(), 0.0);
    EXPECT_EQ(m("Austritt").Value().toDouble(), 0.0);
    m.Close();
    EXPECT_EQ(errorNumber([&] { db.Execute("INSERT INTO Mitglied (KNr) VALUES (?)", {knr}); }), 3022);
    EXPECT_EQ(errorNumber([&] { db.Execute("INSERT INTO Mitglied (KNr) VALUES (?)", {knr + 100}); }), 3201);
    // Names compare without regard to case and umlaut case, as the search expects.
    EXPECT_EQ(count("SELECT COUNT(*) FROM Kontakt WHERE Nachname = ?", {QStringLiteral("MÜLLER")}), 1);
}

TEST_F(StarterDatabase, ContactListsUseTheirIndexes)
{
    // The overview reads one category's contacts; the search looks names and firms up.
    const QStringList indexes = {"Kontakt_KategoNr", "Kontakt_Nachname", "Kontakt_Vorname", "Kontakt_Firma"};
    for (const QString &name : indexes) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(count("SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' AND name = ?", {name}), 1);
    }
    dao::Recordset plan =
        db.OpenRecordset("EXPLAIN QUERY PLAN SELECT * FROM Kontakt WHERE KategoNr = ?", dao::dbOpenDynaset, {1});
    QString detail;
    for (; !plan.Eof(); plan.MoveNext())
        detail += plan("detail").Value().toString();
    EXPECT_TRUE(detail.contains(QStringLiteral("Kontakt_KategoNr"))) << detail.toStdString();
}

TEST_F(StarterDatabase, TheFirstAndLastWorkYearComeFromAnIndex)
{
    // The year lists of the work hours and the member list read both from one query, each without
    // reading the table.
    dao::Recordset plan = db.OpenRecordset(
        "EXPLAIN QUERY PLAN SELECT (SELECT MIN(Jahr) FROM Arbeit), (SELECT MAX(Jahr) FROM Arbeit)", dao::dbOpenDynaset);
    QStringList schritte;
    for (; !plan.Eof(); plan.MoveNext())
        schritte << plan("detail").Value().toString();
    EXPECT_EQ(schritte.filter(QStringLiteral("Arbeit_Jahr")).size(), 2) << schritte.join('|').toStdString();
    EXPECT_TRUE(schritte.filter(QStringLiteral("SCAN Arbeit")).isEmpty()) << schritte.join('|').toStdString();
}

TEST(StarterDatabaseFile, OtherPasswordAndNoOverwrite)
{
    QTemporaryDir dir;
    const QString other = dir.filePath(QStringLiteral("fremd.mdb"));
    schema::CreateStarterDatabase(other, QStringLiteral("anderes-pw"));
    EXPECT_EQ(errorNumber([&] { dao::DBEngine::Workspaces(0).OpenDatabase(other, false, false, kConnect); }), 3031);
    EXPECT_TRUE(
        dao::DBEngine::Workspaces(0).OpenDatabase(other, false, false, QStringLiteral(";pwd=anderes-pw")).IsOpen());

    const QString existing = dir.filePath(QStringLiteral("vorhanden.mdb"));
    {
        QFile f(existing);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("nicht anfassen");
    }
    EXPECT_EQ(errorNumber([&] { schema::CreateStarterDatabase(existing); }), 3204);
    QFile f(existing);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("nicht anfassen"));

    const QString nowhere = dir.filePath(QStringLiteral("kein/ordner/tv01.mdb"));
    EXPECT_NE(errorNumber([&] { schema::CreateStarterDatabase(nowhere); }), 0);
    EXPECT_FALSE(QFileInfo::exists(nowhere));
}

} // namespace
