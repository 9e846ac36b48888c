#pragma once
// The catch list file of the catch evaluation, for the spreadsheet program.
#include <QString>
#include <QStringList>

namespace forms {
class ListGrid;
}

namespace modFAuswert {

// SeqData/FANG.csv in the program folder: the one name the file is written and opened under.
QString FangDateiPfad();

// The six fields of one line of FANG.csv from row of the evaluation grid (catch number, species,
// water, month name, year, count, weight): the number left-aligned and filled with blanks to 15
// characters, the names cut after 50, year and month number as "2001.03" cut after 20, count
// after 5 and weight after 10 characters; all but the first without trailing blanks.
QStringList FangZeile(const forms::ListGrid &tblFAusw, int row);

// Writes FANG.csv from every row of tblFAusw (header, then one line per row, semicolons, CR LF,
// Windows-1252), reports it and offers the spreadsheet program. The file appears whole or not at
// all: a failure (no SeqData folder, no rights, a full disk) leaves the previous file as it was
// and shows the message of a failed file.
void ErzeugeFangDatei(const forms::ListGrid &tblFAusw);

// Hands FANG.csv to the spreadsheet program; "Es ist kein Excel verfügbar !" when none starts.
void StarteExcelFang();

} // namespace modFAuswert
