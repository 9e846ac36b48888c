#include "fishery/modBesatzListDatei.h"
#include "fishery/Tabellendatei.h"

#include "core/modStart.h"

#include "forms/listgrid.h"
#include "office/office.h"

namespace modBesatzList {

using fishery::OhneEndblanks;

namespace {
// The entry number as the grid shows it (leading blanks stay) and the time of stocking, free text
// that may look like a date ("15.03.").
const QList<int> TextSpalten{1, 4};
} // namespace

QString BPlanDateiPfad()
{
    return modStart::Programmordner() + QStringLiteral("/SeqData/BPLAN.csv");
}

QStringList BPlanZeile(const forms::ListGrid &tblBList, int row)
{
    return {tblBList.text(row, 0), OhneEndblanks(tblBList.text(row, 1)), OhneEndblanks(tblBList.text(row, 2)),
            OhneEndblanks(tblBList.text(row, 3)), OhneEndblanks(tblBList.text(row, 4))};
}

void ErzeugeBPlanDatei(const forms::ListGrid &tblBList)
{
    fishery::Tabellendatei datei;
    datei.pfad = BPlanDateiPfad();
    datei.kopf = {QStringLiteral("Besatz.- Nr"), QStringLiteral("Fischart"), QStringLiteral("Gewässer"),
                  QStringLiteral("Zeitpunkt"), QStringLiteral("Menge i. KG")};
    datei.zeilen = tblBList.rowCount();
    datei.zeile = [&](office::DelimitedFile &f, int i) { f.writeRow(BPlanZeile(tblBList, i)); };
    datei.erfolg = modStart::ErstelltMeldung(QStringLiteral("Datei"), datei.pfad);
    datei.fehler =
        QStringLiteral("ACHTUNG: Ein unerwarteter Fehler trat beim Erzeugen des Besatzungsplanes - BPLAN.csv - auf !");
    if (fishery::SchreibeTabellendatei(datei))
        fishery::BieteTabellenprogrammAn(datei.pfad, TextSpalten);
}

void StarteExcelBPlan()
{
    fishery::StarteTabellenprogramm(BPlanDateiPfad(), TextSpalten);
}

} // namespace modBesatzList
