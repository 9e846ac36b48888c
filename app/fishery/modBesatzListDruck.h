#pragma once
// The stocking plan print-out.
#include <QString>

namespace forms {
class ListGrid;
}
namespace report {
class Report;
}

namespace modBesatzList {

// The layout rpt_BesatzListe ("Besatz - Plan"), made on first use and kept for the run.
report::Report &rpt_BesatzListe();

// Prints ("drucken") or previews ("vorschau") the stocking entries of the grid tblBList
// (columns entry number, species, water, time, quantity as shown) through the print table
// Druck_Besatzliste, titled "Besatz - Plan für das Fangjahr " and jahr: the year whose plan the
// grid shows (the window keeps its year box on it). No totals.
void DruckeBPlanListe(const QString &modus, const forms::ListGrid &tblBList, const QString &jahr);

} // namespace modBesatzList
