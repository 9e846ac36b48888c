#include "core_fixture.h"

#include "core/Main.h"
#include "core/modStart.h"
#include "core/modTools.h"

#include "common/testing/file_mode.h"
#include "common/vberror.h"
#include "dao/dao.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>

#include <sys/stat.h>

using namespace coretest;

namespace {

const QString Kopie = QStringLiteral("/temp/tvtmp.mdb");

QByteArray inhalt(const QString &pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// File steps that run a check first and then fail, or do the real work.
class Dateien : public modTools::Dateien
{
public:
    Dateien() { vorher_ = modTools::setDateien(this); }
    ~Dateien() override { modTools::setDateien(vorher_); }

    std::function<void(const QString &, const QString &)> komprimiere;
    std::function<void(const QString &, const QString &)> ersetze;

    void Komprimiere(const QString &quelle, const QString &ziel, const QString &verbindung) override
    {
        if (komprimiere)
            komprimiere(quelle, ziel);
        else
            modTools::Dateien::Komprimiere(quelle, ziel, verbindung);
    }
    void Ersetze(const QString &kopie, const QString &datei) override
    {
        if (ersetze)
            ersetze(kopie, datei);
        else
            modTools::Dateien::Ersetze(kopie, datei);
    }

private:
    modTools::Dateien *vorher_;
};

class Tools : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        ASSERT_TRUE(QDir(home.path()).mkpath("temp"));
        starte();
        main = &forms::form<Main>();
        ASSERT_TRUE(gv().dbDaten.IsOpen());
        boxes.clear();
    }

    QStringList fische() const
    {
        QStringList zeilen;
        dao::Recordset rs =
            gv().dbDaten.OpenRecordset("SELECT FNr, FName, Notiz FROM Fisch ORDER BY FNr", dao::dbOpenDynaset);
        while (!rs.Eof()) {
            zeilen << rs(0).Value().toString() + "|" + rs(1).Value().toString() + "|" + rs(2).Value().toString();
            rs.MoveNext();
        }
        return zeilen;
    }
    static long long anzahl(dao::Sql sql)
    {
        dao::Recordset rs = gv().dbDaten.OpenRecordset(sql, dao::dbOpenDynaset);
        return rs(0).Value().toLongLong();
    }

    Main *main = nullptr;
};

} // namespace

TEST_F(Tools, CompactionKeepsEveryRowAndThePasswordAndShrinksAFileWithDeletedRows)
{
    gv().dbDaten.Execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                         "INSERT INTO Fisch (FName, Notiz) SELECT 'Art ' || i, hex(zeroblob(100)) FROM n");
    gv().dbDaten.Execute("DELETE FROM Fisch WHERE FNr > 40");
    gv().dbDaten.Execute("INSERT INTO Gewaesser (GName) VALUES ('Baggersee')");
    gv().dbDaten.Execute(
        "INSERT INTO Fang (FangJahr, FangMonat, FischNr, GNr, Anzahl, Gewicht) VALUES (2024, 7, 3, 1, 2, 900)");
    const QStringList vorher = fische();
    const qint64 groesse = QFileInfo(db()).size();

    main->mnuKomprimiere->trigger();

    ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
    EXPECT_EQ(boxes.last().text, QString("Komprimierung der Datenbank erfolgreich durchgeführt !"));
    EXPECT_EQ(boxes.last().title, QString("Torvana"));
    EXPECT_EQ(boxes.last().flags, forms::vbInformation);
    ASSERT_TRUE(gv().dbDaten.IsOpen());
    EXPECT_EQ(forms::mousePointer(), forms::vbDefault);
    EXPECT_LT(QFileInfo(db()).size(), groesse / 4);
    EXPECT_FALSE(QFileInfo::exists(home.path() + Kopie));
    EXPECT_EQ(fische(), vorher);
    EXPECT_EQ(anzahl("SELECT COUNT(*) AS Expr1000 FROM Fang"), 1);
    EXPECT_EQ(anzahl("SELECT COUNT(*) AS Expr1000 FROM Benutzer"), 1);
    EXPECT_EQ(anzahl("SELECT COUNT(*) AS Expr1000 FROM Katego"), 2);
    // Written to and opened again with the program's password only.
    gv().dbDaten.Execute("INSERT INTO Fisch (FName) VALUES ('Wels')");
    try {
        dao::DBEngine::Workspaces(0).OpenDatabase(db(), false, false, ";pwd=falsch");
        ADD_FAILURE() << "opened with a wrong password";
    } catch (const vb::Error &e) {
        EXPECT_EQ(e.number(), 3031);
    }
}

TEST_F(Tools, AFailedStepLeavesTheOriginalByteForByteAndNoCopyBehind)
{
    const QString komprimierenFehler =
        "ACHTUNG: Ein Fehler trat beim Komprimieren der Datenbank auf, die Komprimierung war nicht erfolgreich !";
    const struct Fall
    {
        const char *was;
        std::function<void(const QString &, const QString &)> komprimiere;
        std::function<void(const QString &, const QString &)> ersetze;
        int nummer;
        const char *grund; // the end of the box's description
    } faelle[] = {
        {"temp folder full while copying",
         [](const QString &, const QString &ziel) {
             QFile f(ziel);
             f.open(QIODevice::WriteOnly);
             f.write(QByteArray(1000, 'h'));
             throw vb::Error(3183, "Auf dem Datenträger ist nicht genügend Platz.");
         },
         nullptr, 3183, "Auf dem Datenträger ist nicht genügend Platz."},
        {"read-only temp folder",
         [](const QString &, const QString &ziel) {
             throw vb::Error(3044, "'" + ziel + "' ist kein zulässiger Pfad.");
         },
         nullptr, 3044, "/temp/tvtmp.mdb' ist kein zulässiger Pfad."},
        {"rename refused", nullptr,
         [](const QString &, const QString &) { throw vb::Error(3043, "Datenträger- oder Netzwerkfehler."); }, 3043,
         "Datenträger- oder Netzwerkfehler."},
    };
    gv().dbDaten.Execute("INSERT INTO Fisch (FName) VALUES ('Hecht'), ('Zander')");
    for (const Fall &fall : faelle) {
        SCOPED_TRACE(fall.was);
        boxes.clear();
        const QByteArray original = inhalt(db());
        ASSERT_FALSE(original.isEmpty());
        Dateien dateien;
        bool geprueft = false;
        dateien.komprimiere = [&](const QString &quelle, const QString &ziel) {
            // While the copy is written, the database is closed and its file whole.
            EXPECT_FALSE(gv().dbDaten.IsOpen());
            EXPECT_EQ(inhalt(quelle), original);
            EXPECT_EQ(forms::mousePointer(), forms::vbHourglass);
            geprueft = true;
            if (fall.komprimiere)
                fall.komprimiere(quelle, ziel);
            else
                dao::DBEngine::CompactDatabase(quelle, ziel, modStart::Verbindung);
        };
        dateien.ersetze = fall.ersetze;

        main->mnuKomprimiere->trigger();

        EXPECT_TRUE(geprueft);
        ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
        const QString text = boxes.last().text;
        EXPECT_TRUE(text.startsWith(komprimierenFehler + "\n\rBeschreibung: ")) << text.toStdString();
        EXPECT_TRUE(text.endsWith(QString::fromUtf8(fall.grund))) << text.toStdString();
        EXPECT_EQ(boxes.last().title, "Runtime - Error: " + QString::number(fall.nummer));
        EXPECT_EQ(boxes.last().flags, forms::vbInformation);
        EXPECT_EQ(inhalt(db()), original);
        EXPECT_FALSE(QFileInfo::exists(home.path() + Kopie));
        EXPECT_EQ(forms::mousePointer(), forms::vbDefault);
        ASSERT_TRUE(gv().dbDaten.IsOpen());
        EXPECT_EQ(fische().size(), 2);
        EXPECT_TRUE(forms::isLoaded<Main>());
    }
}

TEST_F(Tools, ADamagedDatabaseEndsTheProgramWithItsFileUntouched)
{
    for (bool reparatur : {false, true}) {
        SCOPED_TRACE(reparatur);
        TearDown();
        SetUp();
        const QByteArray original = inhalt(db());
        Dateien dateien;
        dateien.komprimiere = [](const QString &, const QString &) {
            throw vb::Error(3056, "Die Datenbank ist beschädigt und kann nicht komprimiert werden.");
        };
        (reparatur ? main->mnuRepariere : main->mnuKomprimiere)->trigger();
        ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
        EXPECT_EQ(
            boxes.last().text,
            reparatur
                ? QString("ACHTUNG: Datenbank konnte nicht erfolgreich repariert werden ! Torvana beendet sich jetzt !")
                : QString(
                      "ACHTUNG: Datenbank konnte nicht erfolgreich komprimiert werden ! Torvana beendet sich jetzt !"));
        EXPECT_EQ(boxes.last().title, QString("Runtime - Error: 3056"));
        EXPECT_EQ(boxes.last().flags, forms::vbCritical);
        EXPECT_FALSE(forms::isLoaded<Main>());
        EXPECT_EQ(forms::mousePointer(), forms::vbDefault);
        EXPECT_EQ(inhalt(db()), original);
    }
}

TEST_F(Tools, TheRepairFromTheMenuRebuildsTheFileAndACopyLeftBeforeDoesNotStandInTheWay)
{
    gv().dbDaten.Execute("INSERT INTO Fisch (FName, Notiz) VALUES ('Hecht', 'räuberisch')");
    QFile rest(home.path() + Kopie);
    ASSERT_TRUE(rest.open(QIODevice::WriteOnly));
    rest.write("halb geschrieben");
    rest.close();

    main->mnuRepariere->trigger();

    ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
    EXPECT_EQ(boxes.last().text, QString("Datenbank wurde erfolgreich repariert !"));
    EXPECT_EQ(boxes.last().title, QString("Torvana"));
    ASSERT_TRUE(gv().dbDaten.IsOpen());
    EXPECT_EQ(fische(), QStringList({"1|Hecht|räuberisch"}));
    EXPECT_FALSE(QFileInfo::exists(home.path() + Kopie));
    EXPECT_TRUE(gv().dbDaten.CheckIntegrity().isEmpty());
}

TEST_F(Tools, TheStarterDatabaseAndTheFileThatCompactionAndRepairLeaveAreTheOwnersAlone)
{
    EXPECT_EQ(vbtest::fileMode(db()), 0600);
    const vbtest::OpenUmask umask;
    for (QAction *menue : {main->mnuKomprimiere, main->mnuRepariere}) {
        SCOPED_TRACE(menue->text().toStdString());
        boxes.clear();
        menue->trigger();
        ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
        EXPECT_EQ(boxes.last().flags, forms::vbInformation) << texte(boxes);
        ASSERT_TRUE(gv().dbDaten.IsOpen());
        EXPECT_EQ(vbtest::fileMode(db()), 0600);
        // Its journal too, while the program writes.
        gv().wsDaten->BeginTrans();
        gv().dbDaten.Execute("INSERT INTO Fisch (FName) VALUES ('Wels')");
        const int journal = vbtest::fileMode(db() + "-journal");
        gv().wsDaten->CommitTrans();
        EXPECT_TRUE(journal == -1 || journal == 0600) << journal;
    }
}

TEST_F(Tools, AtStartARepairOfAFileThatIsNoDatabaseReportsAndEndsLeavingTheFile)
{
    TearDown();
    CoreTest::SetUp();
    ASSERT_TRUE(QDir(home.path()).mkpath("temp"));
    {
        QFile f(db());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(8192, 'x'));
    }
    const QByteArray original = inhalt(db());
    boxes.clear();
    boxes.answer(forms::vbYes);
    starte();

    EXPECT_FALSE(forms::isLoaded<Main>());
    ASSERT_EQ(boxes.count(), 3u) << texte(boxes);
    EXPECT_EQ(
        boxes.boxes()[0].text,
        QString(
            "ACHTUNG: Datenbank konnte nicht geöffnet werden. Soll Torvana versuchen die Datenbank zu reparieren?"));
    EXPECT_TRUE(boxes.boxes()[1].text.startsWith(
        "ACHTUNG: Ein Fehler trat beim Reparieren der Datenbank auf, die Reparatur war nicht erfolgreich !\n\r"
        "Beschreibung: Unerkanntes Datenbankformat"))
        << boxes.boxes()[1].text.toStdString();
    EXPECT_EQ(boxes.boxes()[1].title, QString("Runtime - Error: 3343"));
    EXPECT_TRUE(boxes.boxes()[2].text.startsWith(
        "ACHTUNG: Datenbank konnte nicht wieder geöffnet werden ! Torvana beendet sich jetzt !\n\rBeschreibung: "));
    EXPECT_EQ(boxes.boxes()[2].flags, forms::vbCritical);
    EXPECT_EQ(inhalt(db()), original);
    EXPECT_FALSE(QFileInfo::exists(home.path() + Kopie));
    EXPECT_FALSE(gv().dbDaten.IsOpen());
}

TEST_F(Tools, AMissingTempFolderIsMadeTheOwnersAloneAndTheCompactionGoesOn)
{
    const vbtest::OpenUmask umask;
    gv().dbDaten.Execute("INSERT INTO Fisch (FName) VALUES ('Hecht')");
    ASSERT_TRUE(QDir(home.path() + "/temp").removeRecursively());
    main->mnuKomprimiere->trigger();
    ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
    EXPECT_EQ(boxes.last().text, QString("Komprimierung der Datenbank erfolgreich durchgeführt !"));
    EXPECT_EQ(vbtest::fileMode(home.path() + "/temp"), 0700);
    EXPECT_FALSE(QFileInfo::exists(home.path() + Kopie));
    ASSERT_TRUE(gv().dbDaten.IsOpen());
    EXPECT_EQ(fische().size(), 1);
}

TEST_F(Tools, ATempFolderThatCannotBeMadeIsNamedInTheBoxAndNothingIsTouched)
{
    ASSERT_TRUE(QDir(home.path() + "/temp").removeRecursively());
    {
        QFile f(home.path() + "/temp");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const QByteArray original = inhalt(db());
    main->mnuKomprimiere->trigger();
    ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
    EXPECT_EQ(boxes.last().text,
              "ACHTUNG: Ein Fehler trat beim Komprimieren der Datenbank auf, die Komprimierung war nicht erfolgreich "
              "!\n\rBeschreibung: Der Ordner " +
                  home.path() + "/temp fehlt und kann nicht angelegt werden (eine Datei trägt seinen Namen).");
    EXPECT_EQ(boxes.last().title, QString("Runtime - Error: 3044"));
    EXPECT_EQ(inhalt(db()), original);
    EXPECT_TRUE(gv().dbDaten.IsOpen());
}

// temp/ on another file system than the database: no rename reaches across, so the copy is
// copied beside the database and renamed there.
TEST_F(Tools, ACopyOnAnotherFileSystemReplacesTheDatabaseWholeWithItsMode)
{
    QTemporaryDir anderswo(QStringLiteral("/dev/shm/torvana-temp-XXXXXX"));
    struct stat hier
    {
    }, dort{};
    if (!anderswo.isValid() || ::stat(QFile::encodeName(home.path()).constData(), &hier) != 0 ||
        ::stat(QFile::encodeName(anderswo.path()).constData(), &dort) != 0 || hier.st_dev == dort.st_dev)
        GTEST_SKIP() << "no second file system at hand";
    ASSERT_TRUE(QDir(home.path() + "/temp").removeRecursively());
    ASSERT_TRUE(QFile::link(anderswo.path(), home.path() + "/temp"));
    const vbtest::OpenUmask umask;
    gv().dbDaten.Execute("INSERT INTO Fisch (FName) VALUES ('Hecht'), ('Zander')");
    gv().dbDaten.Execute("DELETE FROM Fisch WHERE FName = 'Zander'");
    const QStringList vorher = fische();

    main->mnuKomprimiere->trigger();

    ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
    EXPECT_EQ(boxes.last().text, QString("Komprimierung der Datenbank erfolgreich durchgeführt !"));
    ASSERT_TRUE(gv().dbDaten.IsOpen());
    EXPECT_EQ(fische(), vorher);
    EXPECT_TRUE(gv().dbDaten.CheckIntegrity().isEmpty());
    EXPECT_EQ(vbtest::fileMode(db()), 0600);
    EXPECT_TRUE(QDir(anderswo.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    QStringList neben = QDir(home.path()).entryList(QStringList{"tv01.mdb*"}, QDir::Files | QDir::Hidden);
    neben.removeAll("tv01.mdb-journal");
    EXPECT_EQ(neben, QStringList{"tv01.mdb"});
}

// A database file that is a link: the file it names is compacted in its own folder, also on
// another file system, and the link stays a link to it.
TEST_F(Tools, ALinkedDatabaseIsCompactedWhereItLiesAndTheLinkStays)
{
    QTemporaryDir hierDraussen;
    QTemporaryDir aufAnderem(QStringLiteral("/dev/shm/torvana-db-XXXXXX"));
    struct Fall
    {
        const char *name;
        const QTemporaryDir *ordner;
    } faelle[] = {{"a folder outside the program folder", &hierDraussen},
                  {"a folder on another file system", &aufAnderem}};
    for (const Fall &f : faelle) {
        SCOPED_TRACE(f.name);
        if (!f.ordner->isValid())
            continue;
        TearDown();
        CoreTest::SetUp();
        ASSERT_TRUE(QDir(home.path()).mkpath("temp"));
        const QString echt = f.ordner->filePath("verein.mdb");
        ASSERT_TRUE(QFile::rename(db(), echt));
        ASSERT_TRUE(QFile::link(echt, db()));
        starte();
        ASSERT_TRUE(gv().dbDaten.IsOpen());
        boxes.clear();
        gv().dbDaten.Execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
                             "INSERT INTO Fisch (FName, Notiz) SELECT 'Art ' || i, hex(zeroblob(100)) FROM n");
        gv().dbDaten.Execute("DELETE FROM Fisch WHERE FNr > 2");
        const QStringList vorher = fische();
        const qint64 groesse = QFileInfo(echt).size();

        forms::form<Main>().mnuKomprimiere->trigger();

        ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
        EXPECT_EQ(boxes.last().text, QString("Komprimierung der Datenbank erfolgreich durchgeführt !"));
        ASSERT_TRUE(gv().dbDaten.IsOpen());
        EXPECT_EQ(fische(), vorher);
        EXPECT_TRUE(QFileInfo(db()).isSymLink());
        EXPECT_EQ(QFileInfo(db()).symLinkTarget(), echt);
        EXPECT_LT(QFileInfo(echt).size(), groesse / 4);
        EXPECT_EQ(vbtest::fileMode(echt), 0600);
        EXPECT_EQ(QDir(f.ordner->path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                  QStringList{"verein.mdb"});
        EXPECT_FALSE(QFileInfo::exists(home.path() + Kopie));
    }
}
