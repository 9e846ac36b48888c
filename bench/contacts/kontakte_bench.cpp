// The contact overview of the large club (5,000 contacts in 20 categories, the largest, the active
// members, with 1,500): the start-up set-up of the overview, expanding the largest category (its
// load, and until its nested list is painted) and SERI.txt of every contact, each beside its floor
// (the same queries and the same output through sqlite3's C API; for the painted expansion, a
// plain table view painting the same cells).
#include "contacts/KontaktUebers.h"
#include "contacts/modKontakt.h"

#include "core/modGVar.h"

#include "bench/bench_support.h"
#include "dao/dao.h"
#include "forms/listgrid.h"
#include "forms/services.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QHeaderView>
#include <QPixmap>
#include <QTableView>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

namespace club = benchsupport::club;

KontaktUebers &zeigeUebersicht()
{
    KontaktUebers &u = forms::form<KontaktUebers>();
    u.resize(1000, 700);
    u.show();
    return u;
}

// The overview's start-up set-up: the categories with their counts, as the overview shows them
// ("name  [count]", the name alone for an empty category), each with contacts with its expander.
// The floor reads the same categories and counts in one read of the file, as the program does.
void BM_UebersichtLaden(benchmark::State &state)
{
    benchsupport::OeffneGrossenClub();
    KontaktUebers &u = zeigeUebersicht();
    sqlite3 *db = benchsupport::OeffneRoh(state);
    if (!db)
        return;
    sqlite3_stmt *kat = benchsupport::Bereite(state, db, "SELECT KategoNr, Kategorie FROM Katego ORDER BY KategoNr");
    sqlite3_stmt *anzahl =
        kat ? benchsupport::Bereite(state, db, "SELECT COUNT(*) FROM Kontakt WHERE KategoNr = ?") : nullptr;
    benchsupport::Zeilen zeilen;
    std::vector<bool> mitKontakten; // the categories that show an expander
    if (kat && anzahl)
        benchsupport::MitBoden(
            state,
            [&] {
                modKontakt::InitialisiereKontaktUebers();
                u.tblKUebers->top().flush();
            },
            [&] {
                zeilen.clear();
                mitKontakten.clear();
                sqlite3_reset(kat);
                while (sqlite3_step(kat) == SQLITE_ROW) {
                    sqlite3_bind_int64(anzahl, 1, sqlite3_column_int64(kat, 0));
                    const long long n = sqlite3_step(anzahl) == SQLITE_ROW ? sqlite3_column_int64(anzahl, 0) : 0;
                    // Done with the count: a statement left open would keep the file's read
                    // lock, and the next set-up would skip the new read the program must make.
                    sqlite3_reset(anzahl);
                    mitKontakten.push_back(n > 0);
                    const QString name = benchsupport::Zelle(kat, 1).toString();
                    zeilen.push_back(
                        {benchsupport::Zelle(kat, 0), QStringLiteral("+"),
                         n > 0 ? name + QStringLiteral("  [") + QString::number(n) + QLatin1Char(']') : name});
                }
            },
            [] { QCoreApplication::processEvents(); });
    // The categories with their counts, as the floor reads them, and the expander of each that
    // has contacts.
    if (benchsupport::ZeigtZeilen(state, u.tblKUebers->top(), zeilen)) {
        const QAbstractItemModel *m = u.tblKUebers->top().model();
        for (int r = 0; r < int(mitKontakten.size()); ++r)
            if ((m->index(r, 0).data().toString() == QStringLiteral("+")) != mitKontakten[std::size_t(r)]) {
                state.SkipWithError(QStringLiteral("row %1 shows its expander wrongly").arg(r).toStdString().c_str());
                break;
            }
    }
    state.counters["categories"] = u.tblKUebers->top().rowCount();
    sqlite3_finalize(kat);
    sqlite3_finalize(anzahl);
    sqlite3_close(db);
}
BENCHMARK(BM_UebersichtLaden)->Unit(benchmark::kMillisecond);

// The overview's query of a category's contacts, and the picture its nested list shows.
const char *const KontakteDerKategorie = "SELECT KNr, Firma, Anrede, Nachname, Vorname, Tel1, Fax, GebDatum, EMail "
                                         "FROM Kontakt WHERE KategoNr = ? ORDER BY KNr";
QString kontaktbild()
{
    return benchsupport::Programmordner() + QStringLiteral("/Graphics/bmp/Cut.bmp");
}

// The floor's read of category 1's contacts into the cells the overview's nested list holds: the
// picture's path, the birth date as the overview writes it ("dd.MM.yyyy", empty for none).
void liesKontakte(sqlite3_stmt *st, const QString &bild, benchsupport::Zeilen &zeilen)
{
    zeilen.clear();
    sqlite3_reset(st);
    sqlite3_bind_int64(st, 1, 1);
    while (sqlite3_step(st) == SQLITE_ROW)
        zeilen.push_back({benchsupport::Zelle(st, 0), bild, benchsupport::Zelle(st, 1), benchsupport::Zelle(st, 2),
                          benchsupport::Zelle(st, 3), benchsupport::Zelle(st, 4), benchsupport::Zelle(st, 5),
                          benchsupport::Zelle(st, 6), benchsupport::Datum(sqlite3_column_double(st, 7)),
                          benchsupport::Zelle(st, 8)});
}

// A click on the expander of the largest category (1,500 contacts): the grid switches the row's
// flag, the overview reads the contacts; the floor reads them with the same query into the same
// cells. The floor does less than the program has to: it puts its rows into no list, so it fits
// no column to the widest value, sizes no detail row and shows no nested view again.
void BM_ExpandCategory(benchmark::State &state)
{
    benchsupport::OeffneGrossenClub();
    KontaktUebers &u = zeigeUebersicht();
    modKontakt::InitialisiereKontaktUebers();
    forms::GridList &top = u.tblKUebers->top();
    sqlite3 *db = benchsupport::OeffneRoh(state);
    if (!db)
        return;
    sqlite3_stmt *st = benchsupport::Bereite(state, db, KontakteDerKategorie);
    const QString bild = kontaktbild();
    benchsupport::Zeilen zeilen;
    if (st)
        benchsupport::MitBoden(
            state,
            [&] {
                top.setExpanded(0, true);
                u.tblKUebers_Expand(0, forms::ExpanderColumn);
                if (forms::GridList *liste = top.child(0))
                    liste->flush();
            },
            [&] { liesKontakte(st, bild, zeilen); },
            [&] {
                // Shown, then folded again for the next click.
                QCoreApplication::processEvents();
                if (top.isExpanded(0)) {
                    top.setExpanded(0, false);
                    u.tblKUebers_Expand(0, forms::ExpanderColumn);
                }
            });
    top.setExpanded(0, true);
    u.tblKUebers_Expand(0, forms::ExpanderColumn);
    const int zeigt = top.child(0) ? top.child(0)->rowCount() : 0;
    if (!top.child(0))
        state.SkipWithError("the category shows no nested list");
    else
        benchsupport::ZeigtZeilen(state, *top.child(0), zeilen);
    state.counters["contacts"] = zeigt;
    sqlite3_finalize(st);
    sqlite3_close(db);
}
BENCHMARK(BM_ExpandCategory)->Unit(benchmark::kMillisecond);

// The floor's model: the rows as the grid's cells, the display text as the grid shows it, the
// picture from the same file, the same captions.
class ZeilenModell : public QAbstractTableModel
{
public:
    QStringList kopf;
    benchsupport::Zeilen zeilen;
    QPixmap bild;
    int rowCount(const QModelIndex &p = {}) const override { return p.isValid() ? 0 : int(zeilen.size()); }
    int columnCount(const QModelIndex &p = {}) const override { return p.isValid() ? 0 : int(kopf.size()); }
    QVariant data(const QModelIndex &i, int role) const override
    {
        const QVariant &zelle = zeilen[std::size_t(i.row())][i.column()];
        if (i.column() == 1)
            return role == Qt::DecorationRole ? QVariant(bild) : QVariant();
        return role == Qt::DisplayRole ? QVariant(forms::GridList::cellText(zelle)) : QVariant();
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        return o == Qt::Horizontal && role == Qt::DisplayRole ? QVariant(kopf.value(section)) : QVariant();
    }
    void setze(benchsupport::Zeilen z)
    {
        beginResetModel();
        zeilen = std::move(z);
        endResetModel();
    }
};

// The click on the expander of the largest category until its nested list is painted, as the
// user waits for it; the floor is a plain table view of the size the user sees of the nested list
// (its part inside the overview), shown all along, that gets the same rows read by the same query
// and paints the same cells. Each side starts with the other's fold finished.
void BM_ExpandCategoryPainted(benchmark::State &state)
{
    benchsupport::OeffneGrossenClub();
    KontaktUebers &u = zeigeUebersicht();
    modKontakt::InitialisiereKontaktUebers();
    forms::GridList &top = u.tblKUebers->top();
    QCoreApplication::processEvents();
    sqlite3 *db = benchsupport::OeffneRoh(state);
    if (!db)
        return;
    sqlite3_stmt *st = benchsupport::Bereite(state, db, KontakteDerKategorie);
    const QString bild = kontaktbild();
    // Folded, and the fold finished: its painting done and what it let go deleted, so that
    // neither lands in the clock of what runs next.
    auto klappeZu = [&] {
        if (top.isExpanded(0)) {
            top.setExpanded(0, false);
            u.tblKUebers_Expand(0, forms::ExpanderColumn);
        }
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    };
    auto klappeAuf = [&] {
        top.setExpanded(0, true);
        u.tblKUebers_Expand(0, forms::ExpanderColumn);
        forms::GridList *liste = top.child(0);
        QTableView *v = liste ? u.tblKUebers->childView(liste) : nullptr;
        benchsupport::BisFertigGemalt(v ? v->viewport() : nullptr);
    };
    // Once, to learn the nested list's size and captions.
    klappeAuf();
    forms::GridList *liste = top.child(0);
    QTableView *verschachtelt = liste ? u.tblKUebers->childView(liste) : nullptr;
    if (!verschachtelt) {
        state.SkipWithError("the category shows no nested list");
        return;
    }
    ZeilenModell modell;
    for (int c = 0; c < liste->columnCount(); ++c)
        modell.kopf << liste->columnCaption(c);
    modell.bild = QPixmap(bild);
    // The floor shows what the user sees of the nested list: the part of it inside the overview.
    const QSize sichtbar = verschachtelt->visibleRegion().boundingRect().size();
    state.counters["visible_w"] = sichtbar.width();
    state.counters["visible_h"] = sichtbar.height();
    QTableView boden;
    boden.setModel(&modell);
    boden.verticalHeader()->hide();
    boden.resize(sichtbar);
    boden.show();
    QCoreApplication::processEvents();
    klappeZu();
    long long zeilen = 0;
    if (st)
        benchsupport::MitBoden(
            state, klappeAuf,
            [&] {
                benchsupport::Zeilen z;
                liesKontakte(st, bild, z);
                zeilen = qlonglong(z.size());
                modell.setze(std::move(z));
                benchsupport::BisFertigGemalt(boden.viewport());
            },
            klappeZu);
    klappeAuf();
    const int zeigt = top.child(0) ? top.child(0)->rowCount() : 0;
    if (zeilen != zeigt)
        state.SkipWithError("floor and program differ in rows");
    state.counters["contacts"] = zeigt;
    klappeZu();
    sqlite3_finalize(st);
    sqlite3_close(db);
}
BENCHMARK(BM_ExpandCategoryPainted)->Unit(benchmark::kMillisecond);

// A field of SERI.txt as the file quotes it.
void feld(QByteArray &zeile, const QString &text)
{
    bool quote = false;
    for (const QChar c : text)
        if (c == u';' || c == u'"' || c == u'\r' || c == u'\n') {
            quote = true;
            break;
        }
    if (!quote) {
        zeile += text.toLatin1();
    } else {
        QString q = text;
        q.replace(u'"', QStringLiteral("\"\""));
        zeile += '"' + q.toLatin1() + '"';
    }
    zeile += ';';
}

QString text(sqlite3_stmt *st, int c)
{
    QString s =
        QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, c)), sqlite3_column_bytes(st, c));
    qsizetype n = s.size();
    while (n > 0 && s.at(n - 1) == u' ')
        --n;
    s.truncate(n);
    return s;
}

// SERI.txt of every contact: every category expanded, then the file written as the Word key
// writes it; the floor runs the same queries and writes the same lines, as the program must to keep
// the old file on a failure: into a temporary file, synced to the disk and renamed over its own.
// The floor does less than the program has to: it leaves out the count before each category's
// list (which tells the program whether the category has contacts to write), and it keeps no copy
// of the records for the form letters and checks no field against the file's code page.
// x_floor_cpu leaves the wait for the disk out.
void BM_SeriTxt(benchmark::State &state)
{
    benchsupport::OeffneGrossenClub();
    QDir(benchsupport::Programmordner()).mkdir(QStringLiteral("SeqData"));
    KontaktUebers &u = zeigeUebersicht();
    modKontakt::InitialisiereKontaktUebers();
    forms::GridList &top = u.tblKUebers->top();
    for (int r = 0; r < top.rowCount(); ++r) {
        top.setExpanded(r, true);
        u.tblKUebers_Expand(r, forms::ExpanderColumn);
    }
    QCoreApplication::processEvents();
    forms::ScriptedMsgBox boxes;
    sqlite3 *db = benchsupport::OeffneRoh(state);
    if (!db)
        return;
    const char *const Spalten = "SELECT k.KNr, k.Firma, k.Anrede, k.Nachname, k.Vorname, k.Strasse, k.PLZ, k.Ort, "
                                "k.Tel1, k.Tel2, k.Fax, k.Mobil, k.GebDatum, ";
    const std::string mitglieder =
        std::string(Spalten) + "m.Eintritt, k.EMail FROM Kontakt k, Mitglied m WHERE k.KNr = m.KNr AND k.KategoNr = ?";
    const std::string kontakte = std::string(Spalten) + "NULL, k.EMail FROM Kontakt k WHERE k.KategoNr = ?";
    sqlite3_stmt *kat = benchsupport::Bereite(state, db, "SELECT KategoNr FROM Katego ORDER BY KategoNr");
    sqlite3_stmt *m = kat ? benchsupport::Bereite(state, db, mitglieder.c_str()) : nullptr;
    sqlite3_stmt *k = m ? benchsupport::Bereite(state, db, kontakte.c_str()) : nullptr;
    const QString bodenDatei = benchsupport::Programmordner() + QStringLiteral("/SeqData/floor.txt");
    benchsupport::EntferneDateien(modKontakt::SeriDateiPfad(), bodenDatei);
    long long zeilen = 0;
    if (k)
        benchsupport::MitBoden(
            state,
            [&] {
                boxes.clear();
                boxes.answer(forms::vbOK);
                boxes.answer(forms::vbNo); // no word processor
                modKontakt::ErzeugeSeriDatei();
            },
            [&] {
                benchsupport::Datei datei = benchsupport::OeffneDatei(bodenDatei);
                std::FILE *f = datei.f;
                if (!f)
                    return;
                std::fputs("Mitgl.-Nr;Firma;Anrede;Nachname;Vorname;Strasse;PLZ;Ort;Telefon [privat];"
                           "Telefon [geschftl.];Fax;Mobil;Geb.-Datum;Eintritt;EMail;\r\n",
                           f);
                zeilen = 0;
                QByteArray zeile;
                sqlite3_reset(kat);
                while (sqlite3_step(kat) == SQLITE_ROW) {
                    const long long nr = sqlite3_column_int64(kat, 0);
                    sqlite3_stmt *st = nr <= 2 ? m : k;
                    sqlite3_reset(st);
                    sqlite3_bind_int64(st, 1, nr);
                    while (sqlite3_step(st) == SQLITE_ROW) {
                        zeile.clear();
                        feld(zeile, QString::number(sqlite3_column_int64(st, 0)));
                        for (int c = 1; c <= 11; ++c)
                            feld(zeile, text(st, c));
                        feld(zeile, benchsupport::Datum(sqlite3_column_double(st, 12)));
                        feld(zeile, sqlite3_column_type(st, 13) == SQLITE_NULL
                                        ? QString()
                                        : benchsupport::Datum(sqlite3_column_double(st, 13)));
                        feld(zeile, text(st, 14));
                        zeile += "\r\n";
                        std::fwrite(zeile.constData(), 1, std::size_t(zeile.size()), f);
                        ++zeilen;
                    }
                }
                if (!benchsupport::SchliesseDatei(datei))
                    zeilen = -1;
            });
    if (zeilen != club::Kontakte())
        state.SkipWithError("the floor did not write every contact");
    else if (!benchsupport::GleicheDateien(modKontakt::SeriDateiPfad(), bodenDatei))
        state.SkipWithError("the program did not write the floor's file");
    state.counters["contacts"] = double(zeilen);
    sqlite3_finalize(kat);
    sqlite3_finalize(m);
    sqlite3_finalize(k);
    sqlite3_close(db);
}
BENCHMARK(BM_SeriTxt)->Unit(benchmark::kMillisecond);

// The sqlite3 shell running the expand's query on the same file, output thrown away: one run of
// the shell per iteration, its start included.
void BM_Sqlite3Shell_GroessteKategorie(benchmark::State &state)
{
    benchsupport::OeffneGrossenClub();
    benchsupport::Sqlite3Shell(state,
                               QStringLiteral("SELECT KNr, Firma, Anrede, Nachname, Vorname, Tel1, Fax, GebDatum, "
                                              "EMail FROM Kontakt WHERE KategoNr = 1 ORDER BY KNr"));
}
BENCHMARK(BM_Sqlite3Shell_GroessteKategorie)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return benchsupport::Hauptprogramm(argc, argv, benchsupport::SchliesseProgramm);
}
