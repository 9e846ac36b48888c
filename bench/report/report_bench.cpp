// Print-outs written to PDF on the large club's data.
//
// BM_CatchListPdf: the catch list of 10,000 catches as the evaluation window prints it (the grid
// copied into the print table, the report read and laid out, every page written), and in the same
// run its floor: a plain QPdfWriter writing the same texts at the same places on as many pages.
// x_floor is the print-out's processor time over the floor's, x_size its file size over the
// floor's.
//
// BM_CatchListPreview: the preview of every catch, beside a floor that fills the print table with
// one prepared statement and lays out the same pages (see there).
//
// The member list of 5,000 members: the whole print-out, and the report alone.
#include "fishery/modFAuswertDruck.h"
#include "workhours/modMitglListDruck.h"

#include "core/modDruck.h"
#include "core/modGVar.h"
#include "core/modRun.h"
#include "core/testing/program_folder.h"

#include "bench/bench_support.h"
#include "dao/dao.h"
#include "forms/listgrid.h"
#include "report/fakeprinters.h"
#include "report/preview.h"
#include "report/report.h"

#include <QAbstractScrollArea>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstring>
#include <ctime>
#include <malloc.h>

namespace {

// The catches of the print-outs: every one in the preview, a fifth in the PDF; the members of the
// member list. All grow with the run's factor.
const int Faenge = 50000 * benchsupport::Faktor();
const int GedruckteFaenge = Faenge / 5;
const int Mitglieder = 5000 * benchsupport::Faktor();

void legeFaengeAn(dao::Database &db)
{
    benchsupport::LegeFaengeAn(db, Faenge);
}

// The program folder with its database and the club address, made once for every run.
void oeffneClubdaten()
{
    if (benchsupport::OeffneClubdaten(legeFaengeAn))
        apptest::Vereinsadresse(QStringLiteral("Angelsportverein Petri Heil e.V."));
}

QString imProgrammordner(const QString &datei)
{
    return QDir(benchsupport::Programmordner()).filePath(datei);
}

// ---- catch list

// The evaluation grid as the search of all years fills it, cut to the first anzahl catches.
void fuelleFaenge(forms::ListGrid &grid, int anzahl)
{
    dao::Recordset rs = gv().dbDaten.OpenRecordset(
        "SELECT fa.FangNr, f.FName, g.GName, fa.FangJahr, fa.FangMonat, fa.Anzahl, fa.Gewicht "
        "FROM Fang fa, Fisch f, Gewaesser g WHERE fa.FischNr = f.FNr AND fa.GNr = g.GNr "
        "ORDER BY fa.FangNr LIMIT ?",
        dao::dbOpenDynaset, {anzahl});
    while (!rs.Eof()) {
        grid.addRow(QVariantList{rs(0).Value(), rs(1).Value(), rs(2).Value(),
                                 modRun::ErmittleMonatsname(rs(4).Value().toInt()), rs(3).Value(), rs(5).Value(),
                                 rs(6).Value()});
        rs.MoveNext();
    }
    rs.Close();
}

// The floor: the catch list's texts written by a plain QPdfWriter at the places the layout gives
// them (page header and detail controls, page line, report footer), seiten pages of equal rows,
// each text drawn at its baseline, nothing measured, wrapped or cut.
void bodenPdf(const QString &pfad, const report::Report &r, const forms::ListGrid &grid, int seiten)
{
    const QLocale deutsch(QLocale::German, QLocale::Germany);
    QPdfWriter writer(pfad);
    writer.setResolution(600);
    writer.setPageSize(QPageSize(r.PageSize, QPageSize::Point));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter p(&writer);
    const double k = 600.0 / 72;
    QFont normal(QStringLiteral("Arial"));
    normal.setPointSizeF(9);
    QFont fett = normal;
    fett.setBold(true);
    const double grundlinie = QFontMetricsF(normal, &writer).ascent();
    const double links = r.Margins.left() * k;
    auto text = [&](const report::Control &c, double y, const QString &t) {
        p.setFont(c.FontBold ? fett : normal);
        p.drawText(QPointF(links + c.Rect.left() * k, y + c.Rect.top() * k + grundlinie), t);
    };
    const report::Section &kopf = r.Sections(QStringLiteral("Section2"));
    const report::Section &detail = r.Sections(QStringLiteral("Section1"));
    const report::Section &fuss = r.Sections(QStringLiteral("Section3"));
    const report::Section &ende = r.Sections(QStringLiteral("Section5"));
    const int zeilen = grid.rowCount();
    const int jeSeite = (zeilen + seiten - 1) / seiten;
    const double fussY = (r.PageSize.height() - r.Margins.bottom() - fuss.Height) * k;
    QPen linie(Qt::black);
    linie.setWidthF(0.5 * k);
    double y = 0;
    for (int s = 0; s < seiten; ++s) {
        if (s > 0)
            writer.newPage();
        y = r.Margins.top() * k;
        p.setPen(linie);
        for (const report::Control &c : kopf.controls()) {
            if (c.Type == report::ControlType::Shape)
                p.drawRect(
                    QRectF(links + c.Rect.left() * k, y + c.Rect.top() * k, c.Rect.width() * k, c.Rect.height() * k));
            else if (c.Type == report::ControlType::Label)
                text(c, y, c.Caption);
        }
        y += kopf.Height * k;
        for (int z = s * jeSeite; z < std::min(zeilen, (s + 1) * jeSeite); ++z) {
            int spalte = 0;
            for (const report::Control &c : detail.controls()) {
                if (c.Type != report::ControlType::TextBox)
                    continue;
                const QVariant v = grid.value(z, spalte++);
                text(c, y, c.DataFormat.isEmpty() ? v.toString() : deutsch.toString(v.toLongLong()));
            }
            p.drawLine(QLineF(links, y + detail.Height * k, links + 515 * k, y + detail.Height * k));
            y += detail.Height * k;
        }
        for (const report::Control &c : fuss.controls())
            if (c.Type == report::ControlType::Label)
                text(c, fussY, QStringLiteral("Seite %1 von %2 (gedruckt am 01.01.2025)").arg(s + 1).arg(seiten));
    }
    for (const report::Control &c : ende.controls())
        if (c.Type != report::ControlType::Line)
            text(c, y, c.Caption.isEmpty() ? QStringLiteral("123456") : c.Caption);
}

// The processor time of the process so far, in seconds: the ratio to the floor then holds on a
// machine that other work shares.
double rechenzeit()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

void BM_CatchListPdf(benchmark::State &state)
{
    oeffneClubdaten();
    forms::ListGrid grid;
    fuelleFaenge(grid, GedruckteFaenge);
    report::FakePrinters drucker({QStringLiteral("Laser")});
    drucker.pdfPath = imProgrammordner(QStringLiteral("fangliste.pdf"));
    const QString boden = imProgrammordner(QStringLiteral("boden.pdf"));
    const QString gefunden = QString::number(grid.rowCount());
    double programm = 0;
    double floor = 0;
    // Once untimed, so that neither side pays for loading the fonts.
    modFAuswert::DruckeFangListe(QStringLiteral("drucken"), grid, {}, gefunden);
    const int seiten = modFAuswert::rpt_Fangliste().PageCount(600);
    bodenPdf(boden, modFAuswert::rpt_Fangliste(), grid, seiten);
    const int vorher = drucker.printed;
    for (auto _ : state) {
        const double t0 = rechenzeit();
        modFAuswert::DruckeFangListe(QStringLiteral("drucken"), grid, {}, gefunden);
        programm += rechenzeit() - t0;
        state.PauseTiming();
        const double t1 = rechenzeit();
        bodenPdf(boden, modFAuswert::rpt_Fangliste(), grid, seiten);
        floor += rechenzeit() - t1;
        state.ResumeTiming();
    }
    if (drucker.printed - vorher != int(state.iterations()) || drucker.lastRows != grid.rowCount()) {
        state.SkipWithError("catch list not printed");
        return;
    }
    state.counters["rows"] = grid.rowCount();
    state.counters["pages"] = seiten;
    state.counters["x_floor"] = floor > 0 ? programm / floor : 0;
    state.counters["x_size"] =
        double(QFileInfo(drucker.pdfPath).size()) / double(std::max<qint64>(1, QFileInfo(boden).size()));
    state.counters["kb_page"] = double(QFileInfo(drucker.pdfPath).size()) / 1024.0 / std::max(1, seiten);
}
BENCHMARK(BM_CatchListPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

// ---- catch list preview

// The columns of the catch list's print table, and which of them hold whole numbers.
const char *const DruckFaenge = "INSERT INTO Druck_Fangliste (FangNr, Name, Gewässer, Monat, FangJahr, Anzahl, "
                                "Gewicht) VALUES (?, ?, ?, ?, ?, ?, ?)";
constexpr bool Ganzzahlig[7] = {true, false, false, false, true, true, true};

// The resident memory of the process in bytes, as /proc/self/status gives it under feld: "VmRSS:"
// now, "VmHWM:" its peak since the start or since SpitzeAbNun; -1 when it cannot be read.
long long Resident(const char *feld)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (QByteArray zeile = status.readLine(); !zeile.isEmpty(); zeile = status.readLine())
        if (zeile.startsWith(feld))
            return zeile.mid(qsizetype(std::strlen(feld))).trimmed().split(' ').value(0).toLongLong() * 1024;
    return -1;
}

// The resident peak set back to what the process holds now, the heap's free memory given back
// first; false when the system does not allow it.
bool SpitzeAbNun()
{
    malloc_trim(0);
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

// The preview of the largest list, every catch of the club (50,000, 1,316 pages), as the
// evaluation window's preview key shows it: the grid copied into the print table, the report read,
// the preview shown and its first page painted. The floor fills the same print table from the same
// grid with one prepared statement in one transaction, reads it back into the report's rows, and
// lays out the same pages and paints the first on the preview's page.
// kb_page is the heap the preview holds once shown, beyond the table's rows (measured as the floor
// holds them), per page; peak_mb the process's resident peak while the preview is made and shown
// over what the process held before (the evaluation window's grid and all), rss_mb that peak
// itself; x_floor and x_floor_cpu as in MitBoden. The program must show the floor's rows and
// pages.
void BM_CatchListPreview(benchmark::State &state)
{
    oeffneClubdaten();
    forms::ListGrid grid;
    fuelleFaenge(grid, Faenge);
    const QString gefunden = QString::number(grid.rowCount());
    sqlite3 *roh = benchsupport::OeffneRoh(state, true);
    if (!roh)
        return;
    sqlite3_stmt *einfuegen = benchsupport::Bereite(state, roh, DruckFaenge);
    sqlite3_stmt *lesen =
        einfuegen ? benchsupport::Bereite(state, roh, "SELECT * FROM Druck_Fangliste ORDER BY rowid") : nullptr;
    // The report's instance: the memory's measure below makes it afresh.
    auto vorschau = [&] {
        modFAuswert::DruckeFangListe(QStringLiteral("vorschau"), grid, {}, gefunden);
        auto *fenster = qobject_cast<report::PreviewWindow *>(modFAuswert::rpt_Fangliste().window());
        benchsupport::BisGemalt(fenster ? fenster->scrollArea()->viewport() : nullptr);
    };
    // The floor's fill and read, in one transaction.
    auto fuelleTabelle = [&] {
        auto zeilen = std::make_shared<report::Rows>();
        sqlite3_exec(roh, "BEGIN; DELETE FROM Druck_Fangliste", nullptr, nullptr, nullptr);
        for (int i = 0; i < grid.rowCount(); ++i) {
            for (int c = 0; c < 7; ++c) {
                const QVariant v = grid.value(i, c);
                if (Ganzzahlig[c]) {
                    sqlite3_bind_int64(einfuegen, c + 1, v.toLongLong());
                } else {
                    const QByteArray t = v.toString().toUtf8();
                    sqlite3_bind_text(einfuegen, c + 1, t.constData(), int(t.size()), SQLITE_TRANSIENT);
                }
            }
            sqlite3_step(einfuegen);
            sqlite3_reset(einfuegen);
        }
        sqlite3_reset(lesen);
        for (int c = 0; c < sqlite3_column_count(lesen); ++c)
            zeilen->columns << QString::fromUtf8(sqlite3_column_name(lesen, c));
        QVariantList z;
        z.reserve(7);
        while (sqlite3_step(lesen) == SQLITE_ROW) {
            z.clear();
            for (int c = 0; c < 7; ++c)
                z << benchsupport::Zelle(lesen, c);
            zeilen->values.append(z);
        }
        sqlite3_reset(lesen);
        sqlite3_exec(roh, "COMMIT", nullptr, nullptr, nullptr);
        return zeilen;
    };
    report::Document doc;
    QImage seite;
    int seiten = 0;
    auto boden = [&] {
        doc.rows = fuelleTabelle();
        auto *fenster = qobject_cast<report::PreviewWindow *>(modFAuswert::rpt_Fangliste().window());
        QWidget *blatt = fenster->scrollArea()->viewport();
        report::PageLayout layout(doc, blatt);
        seiten = layout.pageCount();
        if (seite.isNull())
            seite = QImage(fenster->scrollArea()->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
        seite.fill(Qt::white);
        QPainter p(&seite);
        layout.paintPage(p, 0);
    };
    if (einfuegen && lesen) {
        // Once untimed: the preview window made, the fonts loaded, the layout and captions learnt.
        vorschau();
        doc = modFAuswert::rpt_Fangliste().document();
        benchsupport::MitBoden(state, vorschau, boden);
        // The heap the preview holds beyond its rows, the report and its window made afresh.
        modDruck::VerwerfeBerichte();
        QCoreApplication::processEvents();
        doc.rows.reset();
        const bool spitze = SpitzeAbNun();
        const long long residentVorher = Resident("VmRSS:");
        const long long vorher = benchsupport::HeapBelegt();
        vorschau();
        const long long mitVorschau = benchsupport::HeapBelegt() - vorher;
        const long long residentSpitze = Resident("VmHWM:");
        const long long ohneTabelle = benchsupport::HeapBelegt();
        const std::shared_ptr<report::Rows> tabelle = fuelleTabelle();
        const long long nurTabelle = benchsupport::HeapBelegt() - ohneTabelle;
        auto *fenster = qobject_cast<report::PreviewWindow *>(modFAuswert::rpt_Fangliste().window());
        const int gezeigt = fenster ? fenster->pageCount() : 0;
        if (!fenster || gezeigt != seiten || fenster->document().rows->values != tabelle->values)
            state.SkipWithError("the preview does not show the floor's rows and pages");
        state.counters["rows"] = double(tabelle->values.size());
        state.counters["pages"] = gezeigt;
        state.counters["kb_page"] = double(mitVorschau - nurTabelle) / 1024.0 / std::max(1, gezeigt);
        if (spitze && residentVorher > 0 && residentSpitze > 0) {
            state.counters["peak_mb"] = double(residentSpitze - residentVorher) / (1024.0 * 1024.0);
            state.counters["rss_mb"] = double(residentSpitze) / (1024.0 * 1024.0);
        }
    }
    sqlite3_finalize(einfuegen);
    sqlite3_finalize(lesen);
    sqlite3_close(roh);
}
BENCHMARK(BM_CatchListPreview)->Unit(benchmark::kMillisecond)->Iterations(5);

// ---- member list

// The member list's grid as the member query fills it.
void fuelle(forms::ListGrid &grid)
{
    for (int i = 1; i <= Mitglieder; ++i)
        grid.addRow(QVariantList{qlonglong(i), QStringLiteral("Nachname %1").arg(i), QStringLiteral("Vorname"),
                                 QStringLiteral("Hauptstraße %1").arg(i % 200),
                                 QStringLiteral("%1").arg(10000 + i % 90000), QStringLiteral("Fischbach"),
                                 QStringLiteral("0123 %1").arg(i), i % 7 ? QStringLiteral("14.02.1980") : QString(),
                                 QStringLiteral("20,00"), QStringLiteral("%1,50").arg(i % 40),
                                 QStringLiteral("-3,50")});
}

void BM_DruckeMitglListePdf(benchmark::State &state)
{
    oeffneClubdaten();
    forms::ListGrid grid;
    fuelle(grid);
    report::FakePrinters drucker({QStringLiteral("Laser")});
    drucker.pdfPath = imProgrammordner(QStringLiteral("mitglieder.pdf"));
    for (auto _ : state)
        modMitglList::DruckeMitglListe(QStringLiteral("drucken"), grid, QString::number(Mitglieder), QString());
    state.counters["rows"] = Mitglieder;
    state.counters["pages"] = modMitglList::rpt_MitglList().PageCount(600);
}
BENCHMARK(BM_DruckeMitglListePdf)->Unit(benchmark::kMillisecond);

void BM_MitglListeReportPdf(benchmark::State &state)
{
    oeffneClubdaten();
    forms::ListGrid grid;
    fuelle(grid);
    {
        report::FakePrinters drucker({QStringLiteral("Laser")});
        modMitglList::DruckeMitglListe(QStringLiteral("drucken"), grid, QString::number(Mitglieder), QString());
    }
    const report::Report &r = modMitglList::rpt_MitglList();
    const QString pdf = imProgrammordner(QStringLiteral("bericht.pdf"));
    for (auto _ : state)
        r.ExportPdf(pdf);
    state.counters["rows"] = r.rowCount();
}
BENCHMARK(BM_MitglListeReportPdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return benchsupport::Hauptprogramm(argc, argv, [] {
        modDruck::VerwerfeBerichte();
        benchsupport::SchliesseProgramm();
    });
}
