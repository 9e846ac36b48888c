#include "fishery/modFAuswertDatei.h"
#include "fishery/Tabellendatei.h"

#include "core/modRun.h"
#include "core/modStart.h"

#include "forms/listgrid.h"
#include "office/office.h"

#include <algorithm>
#include <array>

namespace modFAuswert {

QString FangDateiPfad()
{
    return modStart::Programmordner() + QStringLiteral("/SeqData/FANG.csv");
}

namespace {

// The catch number keeps its filling blanks and "2001.10" stays a year and month, not 2001.1.
const QList<int> TextSpalten{1, 4};

// text cut after breite characters, without trailing blanks.
QStringView Feld(QStringView text, qsizetype breite)
{
    return fishery::OhneEndblanks(text.first(std::min(text.size(), breite)));
}

// The six fields of a line as views of the grid's cells and of the texts made from them, without
// a new string per field; neither copied nor moved, as the views point into it.
class FangFelder
{
public:
    FangFelder(const forms::ListGrid &tblFAusw, int row)
    {
        const int monat = modRun::ErmittleMonatsNr(tblFAusw.text(row, 3));
        // Filled with blanks or cut to 15 characters.
        const QStringView nummer = tblFAusw.text(row, 0, zellen_[0]);
        const qsizetype n = std::min<qsizetype>(nummer.size(), std::size(nr_));
        std::copy_n(nummer.utf16(), n, nr_);
        std::fill(nr_ + n, std::end(nr_), u' ');
        // The year and the month (1 to 12) in two digits.
        const QStringView jahr = tblFAusw.text(row, 4, zellen_[1]);
        char16_t *d = std::copy_n(jahr.utf16(), std::min<qsizetype>(jahr.size(), std::size(datum_) - 3), datum_);
        *d++ = u'.';
        *d++ = char16_t(u'0' + monat / 10);
        *d++ = char16_t(u'0' + monat % 10);
        felder = {QStringView(nr_, std::size(nr_)),
                  Feld(tblFAusw.text(row, 1, zellen_[2]), 50),
                  Feld(tblFAusw.text(row, 2, zellen_[3]), 50),
                  Feld(QStringView(datum_, d - datum_), 20),
                  Feld(tblFAusw.text(row, 5, zellen_[4]), 5),
                  Feld(tblFAusw.text(row, 6, zellen_[5]), 10)};
    }
    FangFelder(const FangFelder &) = delete;
    FangFelder &operator=(const FangFelder &) = delete;

    std::array<QStringView, 6> felder;

private:
    forms::GridList::CellText zellen_[6];
    char16_t nr_[15];
    char16_t datum_[24];
};

} // namespace

QStringList FangZeile(const forms::ListGrid &tblFAusw, int row)
{
    const FangFelder z(tblFAusw, row);
    QStringList felder;
    for (const QStringView f : z.felder)
        felder << f.toString();
    return felder;
}

void ErzeugeFangDatei(const forms::ListGrid &tblFAusw)
{
    fishery::Tabellendatei datei;
    datei.pfad = FangDateiPfad();
    datei.kopf = {QStringLiteral("FangNr"),   QStringLiteral("Fischart"),
                  QStringLiteral("Gewässer"), QStringLiteral("Fangdatum(jjjj.m)"),
                  QStringLiteral("Anzahl"),   QStringLiteral("Gewicht")};
    datei.zeilen = tblFAusw.rowCount();
    datei.zeile = [&](office::DelimitedFile &f, int i) {
        const FangFelder z(tblFAusw, i);
        f.writeRow(z.felder);
    };
    datei.erfolg = modStart::ErstelltMeldung(QStringLiteral("Datei"), datei.pfad);
    datei.fehler =
        QStringLiteral("ACHTUNG: Ein unerwarteter Fehler trat beim Erzeugen der Fangdatei - FANG.csv - auf !");
    if (fishery::SchreibeTabellendatei(datei))
        fishery::BieteTabellenprogrammAn(datei.pfad, TextSpalten);
}

void StarteExcelFang()
{
    fishery::StarteTabellenprogramm(FangDateiPfad(), TextSpalten);
}

} // namespace modFAuswert
