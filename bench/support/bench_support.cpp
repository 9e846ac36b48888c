#include "bench_support.h"

#include "core/modGVar.h"
#include "core/modStart.h"
#include "core/testing/program_folder.h"

#include "forms/form.h"
#include "forms/gridlist.h"
#include "testsupport/unattended.h"

#include "dao/oledate.h"

#include <QApplication>
#include <QDate>
#include <QEvent>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <string>
#include <unistd.h>

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
    static unattended::DefaultAnswers boxes;
    unattended::install(boxes);
    benchmark::Initialize(&argc, argv);
    benchmark::AddCustomContext("club_faktor", std::to_string(Faktor()));
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

int Faktor()
{
    static const int faktor = [] {
        const char *text = std::getenv("TORVANA_BENCH_FAKTOR");
        if (!text || !*text)
            return 1;
        char *ende = nullptr;
        const long wert = std::strtol(text, &ende, 10);
        if (*ende || wert < 1 || wert > 64) {
            std::fprintf(stderr, "TORVANA_BENCH_FAKTOR=%s: expected a whole number from 1 to 64\n", text);
            std::exit(2);
        }
        return int(wert);
    }();
    return faktor;
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

void LegeGrossenClubAn(dao::Database &db)
{
    using namespace club;
    const int kontakte = Kontakte(), groessteKategorie = GroessteKategorie(), mitglieder = Mitglieder();
    db.Execute("UPDATE System SET PflichtStd = 20");
    for (int k = 3; k <= Kategorien; ++k)
        db.Execute("INSERT INTO Katego (KategoNr, Kategorie) VALUES (?, ?)",
                   {k, QStringLiteral("Kategorie %1").arg(k)});
    for (int i = 0; i < kontakte; ++i) {
        const int kategorie = i < groessteKategorie ? 1 : i < mitglieder ? 2 : 3 + (i - mitglieder) % (Kategorien - 2);
        db.Execute("INSERT INTO Kontakt (KNr, KategoNr, Anrede, Nachname, Vorname, Strasse, PLZ, Ort, Tel1, Fax, "
                   "GebDatum, EMail, Firma) VALUES (?, ?, 'Herr', ?, ?, 'Uferweg 1', '28195', 'Bremen', '0421 123456', "
                   "'', ?, ?, ?)",
                   {i + 1, kategorie, QStringLiteral("Nachname %1").arg(i), QStringLiteral("Vorname %1").arg(i),
                    i % 10 ? double(20000 + i % 15000) : 0.0, QStringLiteral("kontakt%1@verein.de").arg(i),
                    i % 3 ? QString() : QStringLiteral("Firma %1").arg(i)});
    }
    db.Execute("INSERT INTO Mitglied (KNr, Geschlecht, Bezahlt, Befreit, Eintritt) "
               "SELECT KNr, KNr % 2, KNr % 3 = 0, KNr % 10 = 0, 40000 + KNr FROM Kontakt WHERE KategoNr IN (1, 2)");
    // Entries in the order they are booked: year by year, member after member.
    for (int j = 0; j < Jahre; ++j)
        for (int e = 0; e < EintraegeJeJahr; ++e)
            for (int k = 1; k <= mitglieder; ++k)
                db.Execute("INSERT INTO Arbeit (KNr, Jahr, Datum, ArbStd, Notiz) VALUES (?, ?, ?, ?, 'Arbeitseinsatz')",
                           {k, ErstesJahr + j, 42000.0 + j * 365 + e, 0.5 + (k + e) % 9 * 0.75});
    LegeFaengeAn(db, Faenge());
}

void OeffneGrossenClub()
{
    if (!OeffneClubdaten(LegeGrossenClubAn))
        return;
    gv().intJahr = club::Jahr;
    gv().intMonat = club::Monat;
}

QString Datum(double ole)
{
    if (ole == 0)
        return QString();
    const QDate d = dao::OleDateToDate(ole);
    char text[11];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", d.day(), d.month(), d.year());
    return QString::fromLatin1(text, 10);
}

const QString &Monatsname(int monat)
{
    static const QString Monate[12] = {
        QStringLiteral("Januar"),    QStringLiteral("Februar"), QStringLiteral("März"),     QStringLiteral("April"),
        QStringLiteral("Mai"),       QStringLiteral("Juni"),    QStringLiteral("Juli"),     QStringLiteral("August"),
        QStringLiteral("September"), QStringLiteral("Oktober"), QStringLiteral("November"), QStringLiteral("Dezember"),
    };
    return Monate[(monat + 11) % 12];
}

QString Zahl(double wert)
{
    QString text = QString::number(std::round(wert * 100) / 100, 'f', 2);
    text.replace(u'.', u',');
    return text;
}

namespace {

// Counts the paint events of the object it filters, or, given a window, of every widget in it
// (installed on the application).
class Malzaehler : public QObject
{
public:
    explicit Malzaehler(const QWidget *fenster = nullptr) : fenster_(fenster) {}
    int gemalt = 0;
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::Paint &&
            (!fenster_ || (o->isWidgetType() && static_cast<QWidget *>(o)->window() == fenster_)))
            ++gemalt;
        return false;
    }

private:
    const QWidget *fenster_;
};

} // namespace

void BisFertigGemalt(QWidget *w)
{
    if (!w)
        return;
    BisGemalt(w);
    Malzaehler z(w->window());
    QCoreApplication::instance()->installEventFilter(&z);
    for (int runde = 0, still = 0; runde < 1000 && still < 2; ++runde) {
        z.gemalt = 0;
        QCoreApplication::processEvents();
        still = z.gemalt ? 0 : still + 1;
    }
    QCoreApplication::instance()->removeEventFilter(&z);
}

void BisGemalt(QWidget *w)
{
    if (!w)
        return;
    Malzaehler z;
    w->installEventFilter(&z);
    for (int runde = 0; runde < 1000 && !z.gemalt; ++runde)
        QCoreApplication::processEvents();
    w->removeEventFilter(&z);
}

long long HeapBelegt()
{
    const struct mallinfo2 m = mallinfo2();
    return static_cast<long long>(m.uordblks + m.hblkhd);
}

sqlite3_stmt *Bereite(benchmark::State &state, sqlite3 *db, const char *sql)
{
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) {
        state.SkipWithError(sqlite3_errmsg(db));
        return nullptr;
    }
    return st;
}

bool ZeigtZeilen(benchmark::State &state, const forms::GridList &liste, const Zeilen &zeilen)
{
    if (liste.rowCount() != int(zeilen.size())) {
        state.SkipWithError(QStringLiteral("the program shows %1 rows, the floor %2")
                                .arg(liste.rowCount())
                                .arg(zeilen.size())
                                .toStdString()
                                .c_str());
        return false;
    }
    for (int r = 0; r < int(zeilen.size()); ++r)
        for (int c = 0; c < int(zeilen[std::size_t(r)].size()); ++c) {
            const QString programm = forms::GridList::cellText(liste.value(r, c));
            const QString boden = forms::GridList::cellText(zeilen[std::size_t(r)][c]);
            if (programm != boden) {
                state.SkipWithError(QStringLiteral("row %1, column %2: the program shows '%3', the floor '%4'")
                                        .arg(r)
                                        .arg(c)
                                        .arg(programm, boden)
                                        .toStdString()
                                        .c_str());
                return false;
            }
        }
    return true;
}

sqlite3 *OeffneRoh(benchmark::State &state, bool schreiben)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(modStart::Datenbankpfad()).constData(), &db,
                        (schreiben ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY) | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        state.SkipWithError("database not opened");
        sqlite3_close(db);
        return nullptr;
    }
    return db;
}

Datei OeffneDatei(const QString &ziel)
{
    Datei d;
    d.ziel = QFile::encodeName(ziel);
    d.temp = d.ziel + ".tmp";
    d.f = std::fopen(d.temp.constData(), "wb");
    return d;
}

bool SchliesseDatei(Datei &d)
{
    if (!d.f)
        return false;
    const bool ok = std::fflush(d.f) == 0 && ::fsync(::fileno(d.f)) == 0;
    const bool zu = std::fclose(d.f) == 0;
    d.f = nullptr;
    return ok && zu && std::rename(d.temp.constData(), d.ziel.constData()) == 0;
}

bool GleicheDateien(const QString &programm, const QString &boden)
{
    QFile a(programm), b(boden);
    if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly))
        return false;
    return a.readAll() == b.readAll();
}

void EntferneDateien(const QString &programm, const QString &boden)
{
    QFile::remove(programm);
    QFile::remove(boden);
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
