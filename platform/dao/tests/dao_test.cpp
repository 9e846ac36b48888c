#include "common/testing/error_number.h"
#include "common/testing/file_mode.h"
#include "dao/dao.h"
#include "dao/oledate.h"
#include "dao/testing/database_fixture.h"
#include "datenumber_cases.h"

#include <SQLiteCpp/Database.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <iomanip>

namespace {

const QString kConnect = QStringLiteral(";pwd=geheim-123");

using vbtest::errorNumber;

class DaoTest : public daotest::DatenbankTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath(QStringLiteral("test.mdb"));
        db = ws().CreateDatabase(path, kConnect);
        db.Execute("CREATE TABLE Gruppe (GNr INTEGER PRIMARY KEY AUTOINCREMENT, "
                   "  GName TEXT COLLATE NOCASEDE DEFAULT '', Aktiv BOOLEAN NOT NULL DEFAULT 0);"
                   "CREATE TABLE Person (PNr INTEGER PRIMARY KEY AUTOINCREMENT, "
                   "  GNr INTEGER NOT NULL REFERENCES Gruppe (GNr) ON DELETE CASCADE, "
                   "  Name TEXT COLLATE NOCASEDE DEFAULT '', Stunden REAL DEFAULT 0, Datum REAL DEFAULT 0, "
                   "  Code TEXT UNIQUE);"
                   "CREATE TABLE Detail (PNr INTEGER PRIMARY KEY REFERENCES Person (PNr) ON DELETE CASCADE, "
                   "  Bezahlt BOOLEAN NOT NULL DEFAULT 0);"
                   "CREATE TABLE Plan (Nr INTEGER PRIMARY KEY AUTOINCREMENT, "
                   "  GNr INTEGER NOT NULL REFERENCES Gruppe (GNr) ON DELETE RESTRICT);"
                   "CREATE TABLE Druck (Nr INTEGER, Text TEXT, Wert)");
    }

    static dao::Workspace &ws() { return dao::DBEngine::Workspaces(0); }

    qlonglong addGroup(const QString &name, bool aktiv = false)
    {
        dao::Recordset rs = db.OpenRecordset("Gruppe", dao::dbOpenTable);
        rs.AddNew();
        rs("GName") = name;
        rs("Aktiv") = aktiv;
        rs.Update();
        rs.Index("PrimaryKey");
        rs.MoveLast();
        return rs("GNr").Value().toLongLong();
    }
};

// ---- opening: the three roads of start-up ---------------------------------------------------

TEST_F(DaoTest, OpenTellsMissingWrongPasswordAndForeignFilesApart)
{
    db.Close();
    EXPECT_TRUE(ws().OpenDatabase(path, false, false, kConnect).IsOpen());
    EXPECT_TRUE(ws().OpenDatabase(path, false, false, QStringLiteral(";PWD=geheim-123")).IsOpen());

    const QString missing = dir.filePath(QStringLiteral("fehlt.mdb"));
    EXPECT_EQ(errorNumber([&] { ws().OpenDatabase(missing, false, false, kConnect); }), 3024);
    EXPECT_FALSE(QFileInfo::exists(missing)) << "opening must never create a file";

    EXPECT_EQ(errorNumber([&] { ws().OpenDatabase(path, false, false, QStringLiteral(";pwd=falsch")); }), 3031);
    EXPECT_EQ(errorNumber([&] { ws().OpenDatabase(path, false, false, QString()); }), 3031);
    EXPECT_EQ(errorNumber([&] { ws().OpenDatabase(path, false, false, QStringLiteral(";pwd=GEHEIM-123")); }), 3031);

    // Not a database, an empty file, another program's database, a damaged header, a cut file.
    const QString text = dir.filePath(QStringLiteral("text.mdb"));
    {
        QFile f(text);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("Dies ist keine Datenbank.\n").repeated(200));
    }
    const QString empty = dir.filePath(QStringLiteral("leer.mdb"));
    QFile(empty).open(QIODevice::WriteOnly);
    const QString other = dir.filePath(QStringLiteral("fremd.mdb"));
    {
        SQLite::Database o(other.toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        o.exec("CREATE TABLE Kunden (Id INTEGER PRIMARY KEY, Name TEXT)");
    }
    const QString damaged = dir.filePath(QStringLiteral("kaputt.mdb"));
    QFile::copy(path, damaged);
    {
        QFile f(damaged);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.write(QByteArray(100, '\x5a'));
    }
    const QString cut = dir.filePath(QStringLiteral("gekuerzt.mdb"));
    {
        dao::Database big = ws().OpenDatabase(path, false, false, kConnect);
        const qlonglong g = 1;
        big.Execute("INSERT INTO Gruppe (GNr, GName) VALUES (?, 'Gruppe')", {g});
        big.Execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                    "INSERT INTO Person (GNr, Name) SELECT 1, printf('Name %d %s', i, hex(randomblob(40))) FROM n");
        big.Close();
        QFile::copy(path, cut);
        QFile f(cut);
        ASSERT_TRUE(f.resize(f.size() / 3));
    }
    for (const QString &p : {text, empty, other, damaged}) {
        const qint64 size = QFileInfo(p).size();
        EXPECT_EQ(errorNumber([&] { ws().OpenDatabase(p, false, false, kConnect); }), 3343) << p.toStdString();
        EXPECT_EQ(QFileInfo(p).size(), size) << "a foreign file must stay untouched";
    }
    // A cut file may open (its first pages are intact) but reading it fails as damaged.
    EXPECT_EQ(errorNumber([&] {
                  dao::Database d = ws().OpenDatabase(cut, false, false, kConnect);
                  dao::Recordset rs = d.OpenRecordset("SELECT COUNT(*), MAX(Name) FROM Person");
              }),
              3343);
}

TEST_F(DaoTest, CreateRefusesAnExistingFile)
{
    EXPECT_EQ(errorNumber([&] { ws().CreateDatabase(path, kConnect); }), 3204);
    dao::Recordset rs = db.OpenRecordset("SELECT COUNT(*) AS n FROM Gruppe");
    EXPECT_EQ(rs("N").Value().toInt(), 0) << "the existing file keeps its tables";
}

TEST_F(DaoTest, ClosedObjectsRaise3420)
{
    dao::Database nothing;
    EXPECT_FALSE(nothing.IsOpen());
    EXPECT_EQ(errorNumber([&] { nothing.Execute("DELETE FROM Gruppe"); }), 3420);
    dao::Recordset rs = db.OpenRecordset("Gruppe");
    db.Close();
    EXPECT_EQ(errorNumber([&] { rs.MoveFirst(); }), 3420);
    db.Close(); // twice is harmless
}

// ---- table record sets -----------------------------------------------------------------------

TEST_F(DaoTest, TableAddNewSeekEditDelete)
{
    dao::Recordset rs = db.OpenRecordset("Gruppe", dao::dbOpenTable);
    EXPECT_EQ(rs.Type(), dao::dbOpenTable);
    EXPECT_TRUE(rs.Bof() && rs.Eof());
    EXPECT_EQ(errorNumber([&] { rs.MoveLast(); }), 3021);
    EXPECT_EQ(errorNumber([&] { rs("GName").Value(); }), 3021);

    for (const char *name : {"Anton", "Berta", "Cäsar"}) {
        rs.AddNew();
        rs("gname") = QString::fromUtf8(name); // field names ignore letter case
        rs.Update();
    }
    rs.Index("PrimaryKey");
    rs.MoveLast();
    EXPECT_EQ(rs("GNr").Value().toLongLong(), 3);
    EXPECT_EQ(rs(1).Value().toString(), QStringLiteral("Cäsar"));
    EXPECT_EQ(rs.RecordCount(), 3);

    // Keys are never used twice: delete the highest, add another.
    rs.Delete();
    EXPECT_EQ(errorNumber([&] { rs("GName").Value(); }), 3167);
    rs.AddNew();
    rs("GName") = QStringLiteral("Dora");
    rs.Update();
    rs.MoveLast();
    EXPECT_EQ(rs("GNr").Value().toLongLong(), 4);

    rs.Seek("=", QStringLiteral("2")); // a label's caption
    ASSERT_FALSE(rs.NoMatch());
    EXPECT_EQ(rs("GName").Value().toString(), QStringLiteral("Berta"));
    rs.Edit();
    rs("GName") = QStringLiteral("Bertha");
    rs.Update();
    EXPECT_EQ(rs("GName").Value().toString(), QStringLiteral("Bertha"));

    for (const QVariant &key : {QVariant(3), QVariant(QString()), QVariant(QStringLiteral("x1")), QVariant()}) {
        rs.Seek("=", key);
        EXPECT_TRUE(rs.NoMatch()) << key.toString().toStdString();
        EXPECT_EQ(errorNumber([&] { rs("GName").Value(); }), 3021);
    }
    rs.Seek(">=", 3);
    EXPECT_EQ(rs("GNr").Value().toInt(), 4);
    rs.Seek("<", 2);
    EXPECT_EQ(rs("GNr").Value().toInt(), 1);

    // Walking: Bof before the first, Eof after the last, 3021 beyond.
    rs.MoveFirst();
    rs.MovePrevious();
    EXPECT_TRUE(rs.Bof());
    EXPECT_EQ(errorNumber([&] { rs.MovePrevious(); }), 3021);
    QStringList seen;
    for (rs.MoveNext(); !rs.Eof(); rs.MoveNext())
        seen << rs("GName").Value().toString();
    EXPECT_EQ(seen, (QStringList{"Anton", "Bertha", "Dora"}));
    EXPECT_EQ(errorNumber([&] { rs.MoveNext(); }), 3021);
    rs.MovePrevious();
    EXPECT_EQ(rs("GName").Value().toString(), QStringLiteral("Dora"));
}

TEST_F(DaoTest, TableMisuseGivesTheEngineErrors)
{
    addGroup(QStringLiteral("A"));
    dao::Recordset rs = db.OpenRecordset("Gruppe", dao::dbOpenTable);
    EXPECT_EQ(errorNumber([&] { rs.Seek("=", 1); }), 3019);
    EXPECT_EQ(errorNumber([&] { rs.Index("GName"); }), 3800);
    EXPECT_EQ(errorNumber([&] { rs("Nachname"); }), 3265);
    EXPECT_EQ(errorNumber([&] { rs(7); }), 3265);
    EXPECT_EQ(errorNumber([&] { rs("GName") = QStringLiteral("ohne Edit"); }), 3020);
    EXPECT_EQ(errorNumber([&] { rs.Update(); }), 3020);
    rs.AddNew();
    EXPECT_EQ(errorNumber([&] { rs("GNr") = 99; }), 3164) << "the database assigns the key";
    EXPECT_EQ(errorNumber([&] { rs("Aktiv") = QStringLiteral("vielleicht"); }), 3421);
    rs.CancelUpdate();
    EXPECT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(errorNumber([&] { db.OpenRecordset("Gruppen", dao::dbOpenTable); }), 3078);
    EXPECT_EQ(errorNumber([&] { db.OpenRecordset("tv_meta", dao::dbOpenTable); }), 3078);

    dao::Recordset ds = db.OpenRecordset("SELECT * FROM Gruppe", dao::dbOpenDynaset);
    EXPECT_EQ(errorNumber([&] { ds.Index("PrimaryKey"); }), 3251);
}

TEST_F(DaoTest, SeekKeyOpensTheTableOnTheKey)
{
    addGroup(QStringLiteral("Anton"));
    addGroup(QStringLiteral("Berta"));
    struct Fall
    {
        const char *wie;
        QVariant key;
        const char *name; // nullptr: not found
    };
    const Fall faelle[] = {
        {"number", QVariant(qlonglong(2)), "Berta"},
        {"int", QVariant(1), "Anton"},
        {"text of a number", QVariant(QStringLiteral(" 2 ")), "Berta"},
        {"missing number", QVariant(3), nullptr},
        {"text that is no number", QVariant(QStringLiteral("x1")), nullptr},
        {"empty text", QVariant(QString()), nullptr},
        {"null", QVariant(), nullptr},
    };
    for (const Fall &f : faelle) {
        SCOPED_TRACE(f.wie);
        dao::Recordset rs = db.SeekKey("Gruppe", f.key);
        EXPECT_EQ(rs.Type(), dao::dbOpenTable);
        EXPECT_EQ(rs.Index(), QStringLiteral("PrimaryKey"));
        if (!f.name) {
            EXPECT_TRUE(rs.NoMatch());
            EXPECT_EQ(errorNumber([&] { rs("GName").Value(); }), 3021);
            continue;
        }
        ASSERT_FALSE(rs.NoMatch());
        EXPECT_EQ(rs("GName").Value().toString(), QString::fromUtf8(f.name));
    }

    // The record found is current: it can be changed and deleted, and the set seeks on.
    dao::Recordset rs = db.SeekKey("Gruppe", 1);
    rs.Edit();
    rs("GName") = QStringLiteral("Anna");
    rs.Update();
    EXPECT_EQ(count("SELECT COUNT(*) FROM Gruppe WHERE GName = 'Anna'"), 1);
    rs.Seek("=", 2);
    ASSERT_FALSE(rs.NoMatch());
    rs.Delete();
    EXPECT_EQ(count("SELECT COUNT(*) FROM Gruppe"), 1);

    EXPECT_EQ(errorNumber([&] { db.SeekKey("Druck", 1); }), 3800) << "a table without a key";
    EXPECT_EQ(errorNumber([&] { db.SeekKey("Gruppen", 1); }), 3078) << "no such table";
}

TEST_F(DaoTest, NumbersBooleansAndNulls)
{
    const qlonglong g = addGroup(QStringLiteral("G"), true);
    dao::Recordset rs = db.OpenRecordset("Person", dao::dbOpenTable);
    rs.AddNew();
    rs("GNr") = g;
    rs("Name") = QStringLiteral("Ohne Code");
    rs("Stunden") = QStringLiteral("12,5"); // typed with the German comma
    rs("Datum") = QDate(2024, 3, 1);
    rs.Update();
    rs.MoveLast();
    EXPECT_DOUBLE_EQ(rs("Stunden").Value().toDouble(), 12.5);
    EXPECT_DOUBLE_EQ(rs("Datum").Value().toDouble(), dao::ToOleDate(QDate(2024, 3, 1)));
    EXPECT_TRUE(rs("Code").IsNull());
    EXPECT_FALSE(rs("Code").Value().isValid());

    db.Execute("UPDATE Gruppe SET Aktiv = -1 WHERE GNr = ?", {g}); // any non-zero is true
    dao::Recordset gr = db.OpenRecordset("SELECT Aktiv FROM Gruppe WHERE GNr = ?", dao::dbOpenDynaset, {g});
    EXPECT_EQ(gr("Aktiv").Value().typeId(), QMetaType::Bool);
    EXPECT_TRUE(gr("Aktiv").Value().toBool());
    EXPECT_EQ(count("SELECT COUNT(*) FROM Gruppe WHERE Aktiv <> 0"), 1);

    dao::Recordset agg =
        db.OpenRecordset("SELECT MAX(Stunden) AS Expr1000 FROM Person WHERE GNr = ?", dao::dbOpenDynaset, {g + 100});
    EXPECT_EQ(agg.RecordCount(), 1);
    EXPECT_TRUE(agg("expr1000").IsNull());
}

// Each storage class comes back as the value it holds, whichever way the rows are read: a text
// whole past a zero character and with its umlauts, the bytes of a blob, no value for NULL.
TEST_F(DaoTest, EveryStorageClassIsReadAsItsValue)
{
    const QVariant expected[] = {QVariant(qlonglong(42)),
                                 QVariant(2.5),
                                 QVariant(QStringLiteral("Äsche")),
                                 QVariant(QString(QStringLiteral("a")) + QChar(0) + QLatin1Char('b')),
                                 QVariant(QByteArray("\x00\xff\x10", 3)),
                                 QVariant()};
    for (const dao::RecordsetTypeEnum type : {dao::dbOpenDynaset, dao::dbOpenForwardOnly}) {
        SCOPED_TRACE(type == dao::dbOpenDynaset ? "dynaset" : "forward");
        dao::Recordset rs =
            db.OpenRecordset("SELECT 42 AS Ganz, 2.5 AS Bruch, 'Äsche' AS Text, 'a' || char(0) || 'b' AS MitNull, "
                             "x'00ff10' AS Bytes, NULL AS Nichts",
                             type);
        ASSERT_FALSE(rs.Eof());
        for (int i = 0; i < 6; ++i) {
            const QVariant v = rs(i).Value();
            EXPECT_EQ(v.typeId(), expected[i].typeId()) << "field " << i;
            EXPECT_EQ(v, expected[i]) << "field " << i;
        }
    }
}

// ---- dynasets --------------------------------------------------------------------------------

TEST_F(DaoTest, DynasetParametersAreValuesNeverSql)
{
    const qlonglong g = addGroup(QStringLiteral("G"));
    const QString nasty = QStringLiteral("O'Brien'; DROP TABLE Person; --");
    db.Execute("INSERT INTO Person (GNr, Name) VALUES (?, ?)", {g, nasty});
    db.Execute("INSERT INTO Person (GNr, Name) VALUES (?, ?)", {g, QStringLiteral("Meier")});

    dao::Recordset rs = db.OpenRecordset("SELECT PNr, Name FROM Person WHERE Name = ?", dao::dbOpenDynaset, {nasty});
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs("Name").Value().toString(), nasty);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Person"), 2);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Person WHERE Name = ?", {QStringLiteral("x' OR '1'='1")}), 0);

    // Pieces of SQL are joined from literals only; the values still travel as parameters.
    dao::SqlText q("SELECT COUNT(*) AS Expr1000 FROM Person WHERE GNr = ?");
    q += " AND Name LIKE ?";
    dao::Recordset c = db.OpenRecordset(q, dao::dbOpenDynaset, {g, QStringLiteral("O'*")});
    EXPECT_EQ(c("Expr1000").Value().toInt(), 1);

    EXPECT_EQ(errorNumber([&] { db.OpenRecordset("SELECT * FROM Person WHERE Name = ?", dao::dbOpenDynaset); }), 3061);
    EXPECT_EQ(errorNumber([&] {
                  db.OpenRecordset("SELECT * FROM Person WHERE Name = ?", dao::dbOpenDynaset, {1, 2});
              }),
              3061);
    EXPECT_EQ(errorNumber([&] { db.OpenRecordset("SELECT Nachname FROM Person", dao::dbOpenDynaset); }), 3061);
    EXPECT_EQ(errorNumber([&] { db.OpenRecordset("SELECT * FROM Personen", dao::dbOpenDynaset); }), 3078);
    EXPECT_EQ(errorNumber([&] { db.OpenRecordset("SELEKT * FROM Person", dao::dbOpenDynaset); }), 3075);
    EXPECT_EQ(errorNumber([&] { db.OpenRecordset("SELECT 1; DELETE FROM Person", dao::dbOpenDynaset); }), 3142);
    EXPECT_EQ(errorNumber([&] { db.Execute("SELECT * FROM Person"); }), 3065);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Person"), 2);
}

TEST_F(DaoTest, DynasetCountsEverythingAndWalksBothWays)
{
    const qlonglong g = addGroup(QStringLiteral("G"));
    db.Execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1500) "
               "INSERT INTO Person (GNr, Name, Stunden) SELECT ?, 'P' || i, i FROM n",
               {g});
    dao::Recordset rs =
        db.OpenRecordset("SELECT PNr, Stunden FROM Person WHERE Stunden > ? ORDER BY PNr", dao::dbOpenDynaset, {500});
    EXPECT_EQ(rs.RecordCount(), 1000) << "the full count, right after opening";
    EXPECT_FALSE(rs.Bof());
    EXPECT_DOUBLE_EQ(rs("Stunden").Value().toDouble(), 501.0);
    rs.MoveLast();
    EXPECT_DOUBLE_EQ(rs("Stunden").Value().toDouble(), 1500.0);
    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());
    rs.MovePrevious();
    EXPECT_DOUBLE_EQ(rs("Stunden").Value().toDouble(), 1500.0);

    dao::Recordset none = db.OpenRecordset("SELECT * FROM Person WHERE PNr < 0", dao::dbOpenDynaset);
    EXPECT_EQ(none.RecordCount(), 0);
    EXPECT_TRUE(none.Bof() && none.Eof());
    EXPECT_EQ(errorNumber([&] { none.MoveFirst(); }), 3021);
}

// A forward read gives the same rows and values as the dynaset of the same query, its full count
// before a row is read (however often asked, and after rows were read), and stops at its end.
TEST_F(DaoTest, ForwardReadWalksTheRowsTheDynasetHas)
{
    const qlonglong g = addGroup(QStringLiteral("G"), true);
    db.Execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1500) "
               "INSERT INTO Person (GNr, Name, Stunden, Code) SELECT ?, 'P' || i, i * 0.5, "
               "CASE WHEN i % 7 = 0 THEN NULL ELSE 'C' || i END FROM n",
               {g});
    const struct
    {
        const char *name;
        QVariantList params;
        long long rows;
    } cases[] = {
        {"a range", {250.0}, 1000},
        {"everything", {-1.0}, 1500},
        {"nothing", {1.0e9}, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        dao::Recordset dyn =
            db.OpenRecordset("SELECT p.PNr, p.Name, p.Stunden, p.Code, g.Aktiv FROM Person p, Gruppe g "
                             "WHERE p.GNr = g.GNr AND p.Stunden > ? ORDER BY p.PNr;",
                             dao::dbOpenDynaset, c.params);
        dao::Recordset fwd =
            db.OpenRecordset("SELECT p.PNr, p.Name, p.Stunden, p.Code, g.Aktiv FROM Person p, Gruppe g "
                             "WHERE p.GNr = g.GNr AND p.Stunden > ? ORDER BY p.PNr;",
                             dao::dbOpenForwardOnly, c.params);
        EXPECT_EQ(fwd.Type(), dao::dbOpenForwardOnly);
        EXPECT_EQ(fwd.RecordCount(), c.rows) << "the full count before a row is read";
        EXPECT_EQ(fwd.Bof() && fwd.Eof(), c.rows == 0);
        EXPECT_EQ(fwd.FieldCount(), 5);
        EXPECT_EQ(fwd.Fields(2).Name(), QString("Stunden"));
        if (c.rows > 0)
            fwd.MoveFirst(); // still on the first record: nothing to do
        long long n = 0;
        while (!fwd.Eof()) {
            ASSERT_FALSE(dyn.Eof());
            for (int i = 0; i < 5; ++i) {
                const QVariant a = dyn(i).Value();
                const QVariant b = fwd(i).Value();
                ASSERT_EQ(a.typeId(), b.typeId()) << "field " << i;
                ASSERT_EQ(a, b) << "field " << i;
            }
            EXPECT_EQ(fwd("name").Value(), dyn("Name").Value()) << "names in any letter case";
            fwd.MoveNext();
            dyn.MoveNext();
            ++n;
        }
        EXPECT_TRUE(dyn.Eof());
        EXPECT_EQ(n, c.rows);
        EXPECT_EQ(fwd.RecordCount(), c.rows) << "still the full count after the rows were read";
        EXPECT_EQ(errorNumber([&] { fwd(0).Value(); }), 3021);
        EXPECT_EQ(errorNumber([&] { fwd.MoveNext(); }), 3021);
    }
}

// It only goes forward and is only read; its open statement does not keep the database from
// closing, after which its handle reports 3420.
TEST_F(DaoTest, ForwardReadRefusesWhatItCannotDo)
{
    const qlonglong g = addGroup(QStringLiteral("G"));
    db.Execute("INSERT INTO Person (GNr, Name) VALUES (?, 'A'), (?, 'B'), (?, 'C')", {g, g, g});
    const auto open = [&] {
        return db.OpenRecordset("SELECT PNr, Name FROM Person ORDER BY PNr", dao::dbOpenForwardOnly);
    };
    const struct
    {
        const char *name;
        std::function<void(dao::Recordset &)> act;
        int error;
    } cases[] = {
        {"MovePrevious", [](dao::Recordset &rs) { rs.MovePrevious(); }, 3251},
        {"MoveLast", [](dao::Recordset &rs) { rs.MoveLast(); }, 3251},
        {"MoveFirst after MoveNext",
         [](dao::Recordset &rs) {
             rs.MoveNext();
             rs.MoveFirst();
         },
         3251},
        {"Edit", [](dao::Recordset &rs) { rs.Edit(); }, 3027},
        {"AddNew", [](dao::Recordset &rs) { rs.AddNew(); }, 3027},
        {"Delete", [](dao::Recordset &rs) { rs.Delete(); }, 3027},
        {"Seek", [](dao::Recordset &rs) { rs.Index("PrimaryKey"); }, 3251},
        {"unknown field", [](dao::Recordset &rs) { rs("Stunden").Value(); }, 3265},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        dao::Recordset rs = open();
        EXPECT_EQ(errorNumber([&] { c.act(rs); }), c.error);
    }
    EXPECT_EQ(errorNumber([&] { db.OpenRecordset("DELETE FROM Person", dao::dbOpenForwardOnly); }), 3219);
    EXPECT_EQ(errorNumber([&] { db.OpenRecordset("SELECT * FROM Person WHERE PNr = ?", dao::dbOpenForwardOnly); }),
              3061);

    dao::Recordset offen = open();
    EXPECT_EQ(offen("Name").Value().toString(), QString("A"));
    // Writing through the connection while nothing is left open.
    dao::Recordset gelesen = open();
    while (!gelesen.Eof())
        gelesen.MoveNext();
    db.Close();
    EXPECT_EQ(errorNumber([&] { offen.MoveNext(); }), 3420);
    EXPECT_EQ(errorNumber([&] { offen(0).Value(); }), 3420);
    dao::Database again = ws().OpenDatabase(path, true, false, kConnect);
    EXPECT_TRUE(again.IsOpen()) << "the file was let go of, even exclusively";
    again.Close();
}

// An action query run again and again with new values writes each run's values, tells each run's
// failure, counts each run's rows, and still holds after the table changed; the database closes
// and lets go of the file with such queries kept.
TEST_F(DaoTest, RepeatedActionQueriesWriteEachRunsValues)
{
    const qlonglong g = addGroup(QStringLiteral("G"));
    const struct
    {
        const char *name;
        QVariant code;
        int error; // 0: written
    } runs[] = {
        {"first", "A", 0},       {"second", "B", 0}, {"a key twice", "A", 3022}, {"after the failure", "C", 0},
        {"null", QVariant(), 0},
    };
    int written = 0;
    for (const auto &r : runs) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(errorNumber([&] {
                      db.Execute("INSERT INTO Person (GNr, Name, Code) VALUES (?, ?, ?)",
                                 {g, QString::fromLatin1(r.name), r.code});
                  }),
                  r.error);
        if (r.error == 0) {
            ++written;
            EXPECT_EQ(db.RecordsAffected(), 1);
        }
    }
    db.Execute("UPDATE Person SET Stunden = ? WHERE GNr = ?", {2.5, g});
    EXPECT_EQ(db.RecordsAffected(), written);
    db.Execute("UPDATE Person SET Stunden = ? WHERE GNr = ?", {1.5, -1});
    EXPECT_EQ(db.RecordsAffected(), 0) << "the count of this run, not the last";
    // Queries read before the table changes read its new columns after.
    for (auto type : {dao::dbOpenDynaset, dao::dbOpenForwardOnly})
        EXPECT_EQ(db.OpenRecordset("SELECT * FROM Person", type).FieldCount(), 6);
    db.Execute("ALTER TABLE Person ADD COLUMN Extra TEXT");
    for (auto type : {dao::dbOpenDynaset, dao::dbOpenForwardOnly}) {
        dao::Recordset alle = db.OpenRecordset("SELECT * FROM Person", type);
        EXPECT_EQ(alle.FieldCount(), 7);
        EXPECT_TRUE(alle("Extra").IsNull());
    }
    {
        dao::Database zweite = ws().OpenDatabase(path, false, false, kConnect);
        zweite.Execute("ALTER TABLE Person ADD COLUMN Zweite TEXT DEFAULT 'z'");
        zweite.Close();
    }
    for (auto type : {dao::dbOpenDynaset, dao::dbOpenForwardOnly}) {
        dao::Recordset alle = db.OpenRecordset("SELECT * FROM Person", type);
        EXPECT_EQ(alle.FieldCount(), 8) << "a change over another connection too";
        EXPECT_EQ(alle("Zweite").Value().toString(), QString("z"));
    }
    db.Execute("INSERT INTO Person (GNr, Name, Code) VALUES (?, ?, ?)", {g, QStringLiteral("danach"), "D"});
    dao::Recordset rs = db.OpenRecordset("SELECT Name, Code, Stunden FROM Person ORDER BY PNr", dao::dbOpenDynaset);
    ASSERT_EQ(rs.RecordCount(), written + 1);
    const char *names[] = {"first", "second", "after the failure", "null", "danach"};
    for (const char *n : names) {
        SCOPED_TRACE(n);
        EXPECT_EQ(rs("Name").Value().toString(), QString::fromLatin1(n));
        rs.MoveNext();
    }
    rs.Close();
    db.Close();
    {
        // A handle that goes without Close closes its connection too.
        dao::Database kurz = ws().OpenDatabase(path, false, false, kConnect);
        kurz.Execute("UPDATE Person SET Stunden = ? WHERE GNr = ?", {3.5, g});
        kurz.OpenRecordset("SELECT Name FROM Person", dao::dbOpenDynaset).Close();
        kurz.OpenRecordset("SELECT Name FROM Person", dao::dbOpenForwardOnly).RecordCount();
    }
    dao::Database again = ws().OpenDatabase(path, true, false, kConnect);
    EXPECT_TRUE(again.IsOpen()) << "the file was let go of";
    again.Close();
}

TEST_F(DaoTest, DynasetOfOneTableCanBeWritten)
{
    const qlonglong g = addGroup(QStringLiteral("G"));
    for (int i = 0; i < 3; ++i) {
        db.Execute("INSERT INTO Person (GNr, Name) VALUES (?, ?)", {g, QStringLiteral("P%1").arg(i)});
        db.Execute("INSERT INTO Detail (PNr, Bezahlt) VALUES (last_insert_rowid(), 1)");
    }
    // Reset every paid flag through a dynaset, record by record.
    dao::Recordset rs = db.OpenRecordset("SELECT * FROM Detail");
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        rs.Edit();
        rs("Bezahlt") = false;
        rs.Update();
        EXPECT_FALSE(rs("Bezahlt").Value().toBool());
    }
    EXPECT_EQ(count("SELECT COUNT(*) FROM Detail WHERE Bezahlt <> 0"), 0);

    // Empty a table the way the print-outs do, then fill it.
    db.Execute("INSERT INTO Druck (Nr, Text) VALUES (1, 'alt'), (2, 'alt')");
    dao::Recordset pr = db.OpenRecordset("Druck");
    if (!pr.Bof())
        pr.MoveFirst();
    while (!pr.Eof()) {
        pr.Delete();
        pr.MoveNext();
    }
    EXPECT_EQ(pr.RecordCount(), 0);
    for (const QVariant &v : {QVariant(QStringLiteral("12,50")), QVariant(3.5), QVariant(QDate(2024, 1, 1))}) {
        pr.AddNew();
        pr("Wert") = v;
        pr.Update();
    }
    dao::Recordset back = db.OpenRecordset("SELECT Wert FROM Druck ORDER BY rowid");
    EXPECT_EQ(back("Wert").Value(), QVariant(QStringLiteral("12,50"))) << "a column without type keeps the value";
    back.MoveNext();
    EXPECT_EQ(back("Wert").Value(), QVariant(3.5));

    dao::Recordset join = db.OpenRecordset("SELECT p.Name, g.GName FROM Person p, Gruppe g WHERE p.GNr = g.GNr");
    EXPECT_EQ(errorNumber([&] { join.Edit(); }), 3027);
    dao::Recordset expr = db.OpenRecordset("SELECT PNr, Name || '!' AS Laut FROM Person");
    expr.Edit();
    EXPECT_EQ(errorNumber([&] { expr("Laut") = QStringLiteral("x"); }), 3164);
}

// ---- transactions and relations ---------------------------------------------------------------

TEST_F(DaoTest, RollbackLeavesNoTrace)
{
    const qlonglong g = addGroup(QStringLiteral("Bleibt"));
    ws().BeginTrans();
    {
        dao::Recordset rs = db.OpenRecordset("Gruppe", dao::dbOpenTable);
        rs.AddNew();
        rs("GName") = QStringLiteral("Vorübergehend");
        rs.Update();
    }
    db.Execute("UPDATE Gruppe SET GName = 'geändert' WHERE GNr = ?", {g});
    ws().BeginTrans();
    db.Execute("DELETE FROM Gruppe");
    ws().Rollback(); // the inner level only
    EXPECT_EQ(count("SELECT COUNT(*) FROM Gruppe"), 2);
    ws().Rollback();
    EXPECT_EQ(count("SELECT COUNT(*) FROM Gruppe"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Gruppe WHERE GName = 'Bleibt'"), 1);

    ws().BeginTrans();
    addGroup(QStringLiteral("Neu"));
    ws().CommitTrans();
    EXPECT_EQ(count("SELECT COUNT(*) FROM Gruppe"), 2);
    EXPECT_EQ(errorNumber([&] { ws().CommitTrans(); }), 3034);
    EXPECT_EQ(errorNumber([&] { ws().Rollback(); }), 3034);

    // A failed write inside a transaction is undone with the rest.
    ws().BeginTrans();
    addGroup(QStringLiteral("Teil 1"));
    EXPECT_EQ(errorNumber([&] { db.Execute("INSERT INTO Person (GNr) VALUES (999)"); }), 3201);
    ws().Rollback();
    EXPECT_EQ(count("SELECT COUNT(*) FROM Gruppe"), 2);
}

TEST_F(DaoTest, CascadesAndRefusals)
{
    const qlonglong a = addGroup(QStringLiteral("A")), b = addGroup(QStringLiteral("B"));
    db.Execute(
        "INSERT INTO Person (PNr, GNr, Name, Code) VALUES (1, ?, 'a1', 'X'), (2, ?, 'a2', NULL), (3, ?, 'b1', NULL)",
        {a, a, b});
    db.Execute("INSERT INTO Detail (PNr) VALUES (1), (3)");

    dao::Recordset rs = db.OpenRecordset("Gruppe", dao::dbOpenTable);
    rs.Index("PrimaryKey");
    rs.Seek("=", a);
    rs.Delete();
    EXPECT_EQ(count("SELECT COUNT(*) FROM Person"), 1) << "a group's people go with it";
    EXPECT_EQ(count("SELECT COUNT(*) FROM Detail"), 1) << "and their details with them";

    db.Execute("INSERT INTO Plan (GNr) VALUES (?)", {b});
    rs.Seek("=", b);
    EXPECT_EQ(errorNumber([&] { rs.Delete(); }), 3200) << "a plan keeps its group";
    EXPECT_EQ(errorNumber([&] { db.Execute("DELETE FROM Gruppe WHERE GNr = ?", {b}); }), 3200);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Gruppe"), 1);

    db.Execute("UPDATE Person SET Code = 'X' WHERE PNr = 3");
    EXPECT_EQ(errorNumber([&] { db.Execute("INSERT INTO Person (GNr, Code) VALUES (?, 'X')", {b}); }), 3022);
    EXPECT_EQ(errorNumber([&] { db.Execute("INSERT INTO Detail (PNr) VALUES (77)"); }), 3201);
    EXPECT_EQ(errorNumber([&] { db.Execute("INSERT INTO Person (GNr) VALUES (NULL)"); }), 3314);
    EXPECT_TRUE(db.CheckIntegrity().isEmpty());
}

TEST_F(DaoTest, SecondConnectionSeesCommittedRows)
{
    const qlonglong g = addGroup(QStringLiteral("G"));
    dao::Database print = ws().OpenDatabase(path, false, false, kConnect);
    print.Execute("INSERT INTO Druck (Nr, Text) VALUES (?, ?)", {1, QStringLiteral("Zeile")});
    EXPECT_EQ(count("SELECT COUNT(*) FROM Druck"), 1);
    dao::Recordset rs = print.OpenRecordset("SELECT GName FROM Gruppe WHERE GNr = ?", dao::dbOpenDynaset, {g});
    EXPECT_EQ(rs("GName").Value().toString(), QStringLiteral("G"));
    print.Close();
    EXPECT_TRUE(db.IsOpen());
}

// ---- text rules ------------------------------------------------------------------------------

TEST_F(DaoTest, LikeAndCollationFoldGermanLetters)
{
    struct Case
    {
        const char *text, *pattern;
        bool like;
    };
    const Case cases[] = {
        {"Müller", "mü*", true},
        {"MÜLLER", "*ller", true},
        {"Müller", "Mu*", false},
        {"Ärger", "ä?ger", true},
        {"Öl", "öL", true},
        {"Straße", "STRASSE", false},
        {"Hecht", "H?cht", true},
        {"Hecht", "H?ht", false},
        {"Teich 12", "Teich ##", true},
        {"Teich 1a", "Teich ##", false},
        {"Karpfen", "[a-k]*", true},
        {"Zander", "[!a-k]*", true},
        {"100%", "100%", true},
        {"1000", "100%", false},
        {"a_b", "a_b", true},
        {"axb", "a_b", false},
        {"*", "[*]", true},
        {"abc", "*", true},
        {"", "*", true},
        {"", "?", false},
        {"Meierei", "*e*e*", true},
        {"Brasse", "*s", false},
        {"Maier", "*e*e*", false},
        {"[x", "[x", true},
    };
    for (const Case &c : cases) {
        dao::Recordset rs = db.OpenRecordset("SELECT ? LIKE ?", dao::dbOpenDynaset,
                                             {QString::fromUtf8(c.text), QString::fromUtf8(c.pattern)});
        EXPECT_EQ(rs(0).Value().toBool(), c.like) << c.text << " LIKE " << c.pattern;
    }
    dao::Recordset nul = db.OpenRecordset("SELECT NULL LIKE 'a'");
    EXPECT_TRUE(nul(0).IsNull());

    const qlonglong g = addGroup(QStringLiteral("G"));
    for (const char *n : {"Zander", "Äsche", "aal", "Barsch", "ärger", "Ober", "Öl", "Ufer", "übel"})
        db.Execute("INSERT INTO Person (GNr, Name) VALUES (?, ?)", {g, QString::fromUtf8(n)});
    EXPECT_EQ(count("SELECT COUNT(*) FROM Person WHERE Name = ?", {QStringLiteral("ÄSCHE")}), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Person WHERE Name = ?", {QStringLiteral("ZANDER")}), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Person WHERE Name = ?", {QStringLiteral("Asche")}), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Person WHERE Name = ? COLLATE BINARY", {QStringLiteral("zander")}), 0);
    QStringList order;
    dao::Recordset rs = db.OpenRecordset("SELECT Name FROM Person ORDER BY Name");
    for (; !rs.Eof(); rs.MoveNext())
        order << rs("Name").Value().toString();
    EXPECT_EQ(order, QString::fromUtf8("aal ärger Äsche Barsch Ober Öl übel Ufer Zander").split(' '));
}

// ---- dates -----------------------------------------------------------------------------------

TEST(OleDate, ConvertsLikeOle)
{
    struct Case
    {
        double ole;
        QDateTime when;
    };
    const Case cases[] = {
        {0.0, QDateTime(QDate(1899, 12, 30), QTime(0, 0))},
        {1.0, QDateTime(QDate(1899, 12, 31), QTime(0, 0))},
        {2.5, QDateTime(QDate(1900, 1, 1), QTime(12, 0))},
        {-1.0, QDateTime(QDate(1899, 12, 29), QTime(0, 0))},
        {-1.25, QDateTime(QDate(1899, 12, 29), QTime(6, 0))},
        {-2.75, QDateTime(QDate(1899, 12, 28), QTime(18, 0))},
        {36526.0, QDateTime(QDate(2000, 1, 1), QTime(0, 0))},
        {45352.75, QDateTime(QDate(2024, 3, 1), QTime(18, 0))},
        {2958465.0, QDateTime(QDate(9999, 12, 31), QTime(0, 0))},
        {-657434.0, QDateTime(QDate(100, 1, 1), QTime(0, 0))},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(dao::FromOleDate(c.ole), c.when) << c.ole;
        EXPECT_DOUBLE_EQ(dao::ToOleDate(c.when), c.ole) << c.ole;
        EXPECT_EQ(dao::OleDateToDate(c.ole), c.when.date()) << c.ole;
        if (c.when.time() == QTime(0, 0)) {
            EXPECT_DOUBLE_EQ(dao::ToOleDate(c.when.date()), c.ole);
        }
    }
    // -0.5 is the same moment as 0.5; an almost whole value rounds to the millisecond.
    EXPECT_EQ(dao::FromOleDate(-0.5), dao::FromOleDate(0.5));
    EXPECT_EQ(dao::FromOleDate(1.0 - 1e-10), QDateTime(QDate(1899, 12, 31), QTime(0, 0)));
    EXPECT_EQ(dao::FromOleDate(45352.0 + 37230.5 / 86400.0).time(), QTime(10, 20, 30, 500));
    EXPECT_FALSE(dao::FromOleDate(std::nan("")).isValid());
    EXPECT_FALSE(dao::FromOleDate(3.0e6).isValid());
    EXPECT_DOUBLE_EQ(dao::ToOleDate(QDate()), dao::kNoDate);
}

// The data layer reads and writes date numbers by the program-wide table.
TEST(OleDate, AsTheProgramWideTableHasThem)
{
    for (const auto &c : oledate_cases::kCases) {
        SCOPED_TRACE(testing::Message() << std::setprecision(17) << c.number);
        const QDateTime erwartet = c.date.isValid() ? QDateTime(c.date, c.time) : QDateTime();
        EXPECT_EQ(dao::FromOleDate(c.number), erwartet);
        EXPECT_EQ(dao::OleDateToDate(c.number), c.date);
        if (!std::isnan(c.back)) {
            EXPECT_DOUBLE_EQ(dao::ToOleDate(erwartet), c.back);
        }
    }
}

// ---- compaction ------------------------------------------------------------------------------

TEST_F(DaoTest, CompactionKeepsDataAndPassword)
{
    const qlonglong g = addGroup(QStringLiteral("Größe"), true);
    db.Execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 500) "
               "INSERT INTO Person (GNr, Name) SELECT ?, 'P' || i FROM n",
               {g});
    db.Execute("DELETE FROM Person WHERE PNr % 2 = 0");
    db.Close();

    const QString tmp = dir.filePath(QStringLiteral("temp/tvtmp.mdb"));
    EXPECT_EQ(errorNumber([&] { dao::DBEngine::CompactDatabase(path, tmp, kConnect); }), 3044);
    EXPECT_FALSE(QFileInfo::exists(tmp));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("temp")));
    EXPECT_EQ(errorNumber([&] { dao::DBEngine::CompactDatabase(path, tmp, QStringLiteral(";pwd=x")); }), 3031);
    EXPECT_FALSE(QFileInfo::exists(tmp));

    dao::DBEngine::CompactDatabase(path, tmp, kConnect);
    EXPECT_LT(QFileInfo(tmp).size(), QFileInfo(path).size() + 1);
    EXPECT_EQ(errorNumber([&] { dao::DBEngine::CompactDatabase(path, tmp, kConnect); }), 3204);
    ASSERT_EQ(std::rename(QFile::encodeName(tmp).constData(), QFile::encodeName(path).constData()), 0);

    EXPECT_EQ(errorNumber([&] { ws().OpenDatabase(path, false, false, QStringLiteral(";pwd=x")); }), 3031);
    db = ws().OpenDatabase(path, false, false, kConnect);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Person"), 250);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Gruppe WHERE GName = ? AND Aktiv <> 0", {QStringLiteral("GRÖSSE")}), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM Gruppe WHERE GName = ? AND Aktiv <> 0", {QStringLiteral("GRÖßE")}), 1);
    dao::Recordset rs = db.OpenRecordset("Person", dao::dbOpenTable);
    rs.AddNew();
    rs("GNr") = g;
    rs.Update();
    rs.MoveLast();
    EXPECT_EQ(rs("PNr").Value().toInt(), 501) << "numbers are not used again after compaction";
    EXPECT_TRUE(db.CheckIntegrity().isEmpty());

    // A damaged source is reported, and no copy is left.
    db.Close();
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.seek(f.size() / 2);
        f.write(QByteArray(4096 * 3, '\x7f'));
    }
    const int n = errorNumber([&] { dao::DBEngine::CompactDatabase(path, tmp, kConnect); });
    EXPECT_TRUE(n == 3056 || n == 3343) << n;
    EXPECT_FALSE(QFileInfo::exists(tmp));
}

} // namespace

namespace {

TEST_F(DaoTest, NewAndCompactedDatabasesAreTheOwnersAlone)
{
    const vbtest::OpenUmask umask;
    const QString neu = dir.filePath(QStringLiteral("neu.mdb"));
    dao::Database n = ws().CreateDatabase(neu, kConnect);
    n.Execute("CREATE TABLE T (Nr INTEGER PRIMARY KEY, Name TEXT COLLATE NOCASEDE)");
    n.Execute("INSERT INTO T (Name) VALUES ('Äsche')");
    n.Close();
    EXPECT_EQ(vbtest::fileMode(neu), 0600);

    // The copy is private whatever the original's mode was.
    db.Close();
    for (int original : {0600, 0644}) {
        SCOPED_TRACE(original);
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode_t(original)), 0);
        const QString kopie = dir.filePath(QStringLiteral("kopie.mdb"));
        dao::DBEngine::CompactDatabase(path, kopie, kConnect);
        EXPECT_EQ(vbtest::fileMode(kopie), 0600);
        EXPECT_EQ(vbtest::fileMode(path), original);
        ASSERT_TRUE(QFile::remove(kopie));
    }
}

} // namespace
