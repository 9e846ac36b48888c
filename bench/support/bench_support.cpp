#include "bench_support.h"

#include "core/modGVar.h"
#include "core/modStart.h"
#include "core/testing/program_folder.h"

#include "forms/form.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <cstdlib>

namespace benchsupport {

namespace {

apptest::Programmordner &ordner()
{
    static apptest::Programmordner o;
    return o;
}

} // namespace

int Hauptprogramm(int argc, char **argv, void (*nachher)())
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (nachher)
        nachher();
    return 0;
}

void SchliesseProgramm()
{
    forms::unloadAll();
    gv().dbDaten.Close();
}

bool OeffneClubdaten(void (*fuelle)(dao::Database &db))
{
    if (gv().dbDaten.IsOpen())
        return false;
    ordner().richteEin();
    modStart::OeffneDatenbank();
    dao::Workspace &ws = *gv().wsDaten;
    ws.BeginTrans();
    fuelle(gv().dbDaten);
    ws.CommitTrans();
    return true;
}

QString Programmordner()
{
    return ordner().home.path();
}

void LegeFaengeAn(dao::Database &db, int anzahl)
{
    for (int i = 1; i <= 12; ++i)
        db.Execute("INSERT INTO Fisch (FName) VALUES (?)", {QStringLiteral("Fischart %1").arg(i)});
    for (int i = 1; i <= 8; ++i)
        db.Execute("INSERT INTO Gewaesser (GName) VALUES (?)", {QStringLiteral("Gewässer %1").arg(i)});
    for (int i = 0; i < anzahl; ++i)
        db.Execute("INSERT INTO Fang (FangJahr, FangMonat, FischNr, GNr, Notiz, Anzahl, Gewicht) "
                   "VALUES (?, ?, ?, ?, ?, ?, ?)",
                   {2015 + i % 10, 1 + (i / 10) % 12, 1 + i % 12, 1 + i % 8, QString(), 1 + i % 5, 250 + i % 4000});
}

sqlite3 *OeffneRoh(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(modStart::Datenbankpfad()).constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        state.SkipWithError("database not opened");
        sqlite3_close(db);
        return nullptr;
    }
    return db;
}

void Sqlite3Shell(benchmark::State &state, const QString &abfrage)
{
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (shell.isEmpty()) {
        state.SkipWithError("sqlite3 shell not installed");
        return;
    }
    const QStringList args = {modStart::Datenbankpfad(), abfrage};
    qint64 bytes = 0;
    for (auto _ : state) {
        QProcess p;
        p.start(shell, args);
        p.waitForFinished(-1);
        bytes = p.readAllStandardOutput().size();
    }
    state.counters["bytes"] = double(bytes);
}

} // namespace benchsupport
