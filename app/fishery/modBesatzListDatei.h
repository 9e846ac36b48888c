#pragma once
// The stocking plan file, for the spreadsheet program.
#include <QString>
#include <QStringList>

namespace forms {
class ListGrid;
}

namespace modBesatzList {

// SeqData/BPLAN.csv in the program folder.
QString BPlanDateiPfad();

// The five fields of one line of BPLAN.csv from row of the stocking grid, as the grid shows
// them: the entry number unchanged, species, water, time and quantity ("12,50") without
// trailing blanks. No field is cut or filled.
QStringList BPlanZeile(const forms::ListGrid &tblBList, int row);

// Writes BPLAN.csv from every row of tblBList, reports it and offers the spreadsheet program;
// whole or not at all, as the catch list file.
void ErzeugeBPlanDatei(const forms::ListGrid &tblBList);

// Hands BPLAN.csv to the spreadsheet program; "Es ist kein Excel verfügbar !" when none starts.
void StarteExcelBPlan();

} // namespace modBesatzList
