#include "fishery/modFAuswertDatei.h"
#include "fishery/Tabellendatei.h"

#include "core/modRun.h"
#include "core/modStart.h"

#include "forms/listgrid.h"

#include <algorithm>

namespace modFAuswert {

QString FangDateiPfad()
{
    return modStart::Programmordner() + QStringLiteral("/SeqData/FANG.csv");
}

namespace {

// The catch number keeps its filling blanks and "2001.10" stays a year and month, not 2001.1.
const QList<int> TextSpalten{1, 4};

// text cut after breite characters, without trailing blanks (no copy when nothing is cut).
QString Feld(const QString &text, qsizetype breite)
{
    qsizetype n = std::min(text.size(), breite);
    while (n > 0 && text.at(n - 1) == u' ')
        --n;
    return n == text.size() ? text : text.left(n);
}

} // namespace

QStringList FangZeile(const forms::ListGrid &tblFAusw, int row)
{
    const int monat = modRun::ErmittleMonatsNr(tblFAusw.text(row, 3));
    QString datum = tblFAusw.text(row, 4);
    // The month (1 to 12) in two digits.
    const char16_t mm[3] = {u'.', char16_t(u'0' + monat / 10), char16_t(u'0' + monat % 10)};
    datum.append(reinterpret_cast<const QChar *>(mm), 3);
    // Filled with blanks or cut to 15 characters.
    QString nr = tblFAusw.text(row, 0);
    nr.resize(15, u' ');
    return {nr,
            Feld(tblFAusw.text(row, 1), 50),
            Feld(tblFAusw.text(row, 2), 50),
            Feld(datum, 20),
            Feld(tblFAusw.text(row, 5), 5),
            Feld(tblFAusw.text(row, 6), 10)};
}

void ErzeugeFangDatei(const forms::ListGrid &tblFAusw)
{
    fishery::Tabellendatei datei;
    datei.pfad = FangDateiPfad();
    datei.kopf = {QStringLiteral("FangNr"),   QStringLiteral("Fischart"),
                  QStringLiteral("Gewässer"), QStringLiteral("Fangdatum(jjjj.m)"),
                  QStringLiteral("Anzahl"),   QStringLiteral("Gewicht")};
    datei.zeilen = tblFAusw.rowCount();
    datei.zeile = [&](int i) { return FangZeile(tblFAusw, i); };
    datei.erfolg = QStringLiteral("Datei - FANG.CSV - wurde erfolgreich im Pfad: ..\\torvana\\seqdata\\ erstellt !");
    datei.fehler =
        QStringLiteral("ACHTUNG: Ein unerwarteter Fehler trat beim Erzeugen der Fangdatei - FANG.csv - auf !") +
        QStringLiteral("\r\n") +
        QStringLiteral("Bitte überprüfen Sie ob noch genug Speicher auf den Datenträger verfügbar ist.");
    if (fishery::SchreibeTabellendatei(datei))
        fishery::BieteTabellenprogrammAn(datei.pfad, TextSpalten);
}

void StarteExcelFang()
{
    fishery::StarteTabellenprogramm(FangDateiPfad(), TextSpalten);
}

} // namespace modFAuswert
