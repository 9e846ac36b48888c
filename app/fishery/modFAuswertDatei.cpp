#include "fishery/modFAuswertDatei.h"
#include "fishery/Tabellendatei.h"

#include "core/modRun.h"
#include "core/modStart.h"

#include "forms/listgrid.h"

namespace modFAuswert {

using fishery::OhneEndblanks;

QString FangDateiPfad()
{
    return modStart::Programmordner() + QStringLiteral("/SeqData/FANG.csv");
}

QStringList FangZeile(const forms::ListGrid &tblFAusw, int row)
{
    const QString nr = tblFAusw.text(row, 0);
    const QString jahr = tblFAusw.text(row, 4);
    const int monat = modRun::ErmittleMonatsNr(tblFAusw.text(row, 3));
    const QString datum = jahr + (monat <= 9 ? QStringLiteral(".0") : QStringLiteral(".")) + QString::number(monat);
    return {nr.leftJustified(15, u' ', true),
            OhneEndblanks(tblFAusw.text(row, 1).left(50)),
            OhneEndblanks(tblFAusw.text(row, 2).left(50)),
            OhneEndblanks(datum.left(20)),
            OhneEndblanks(tblFAusw.text(row, 5).left(5)),
            OhneEndblanks(tblFAusw.text(row, 6).left(10))};
}

void ErzeugeFangDatei(const forms::ListGrid &tblFAusw)
{
    fishery::Tabellendatei datei;
    datei.pfad = FangDateiPfad();
    datei.kopf = {QStringLiteral("FangNr"), QStringLiteral("Fischart"), QStringLiteral("Gewässer"),
                  QStringLiteral("Fangdatum(jjjj.m)"), QStringLiteral("Anzahl"), QStringLiteral("Gewicht")};
    datei.zeilen = tblFAusw.rowCount();
    datei.zeile = [&](int i) { return FangZeile(tblFAusw, i); };
    datei.erfolg = QStringLiteral("Datei - FANG.CSV - wurde erfolgreich im Pfad: ..\\torvana\\seqdata\\ erstellt !");
    datei.fehler = QStringLiteral("ACHTUNG: Ein unerwarteter Fehler trat beim Erzeugen der Fangdatei - FANG.csv - auf !") +
                   QStringLiteral("\r\n") +
                   QStringLiteral("Bitte überprüfen Sie ob noch genug Speicher auf den Datenträger verfügbar ist.");
    if (fishery::SchreibeTabellendatei(datei))
        fishery::BieteTabellenprogrammAn(datei.pfad);
}

void StarteExcelFang()
{
    fishery::StarteTabellenprogramm(FangDateiPfad());
}

} // namespace modFAuswert
