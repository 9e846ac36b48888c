#pragma once
// The catch list print-out of the catch evaluation.
#include <QString>

namespace forms {
class ListGrid;
}
namespace report {
class Report;
}

namespace modFAuswert {

// The filter of the search whose result the grid shows, as that search applied it: the text of
// each filter that was switched on, empty for each that was off. The evaluation window records
// it when it searches, so that a combo box changed since does not head a list it did not make.
struct AngewandteAuswahl
{
    QString FJahr;  // catch year
    QString FMonat; // month name
    QString FArt;   // fish species
    QString GName;  // water
};

// The layout rpt_Fangliste ("Fangliste"), made on first use and kept for the run.
report::Report &rpt_Fangliste();

// Prints ("drucken") or previews ("vorschau") the catches of the evaluation grid tblFAusw
// (columns catch number, species, water, month, year, count, weight in grams) through the print
// table Druck_Fangliste: under the club address and the year and month of the applied filter,
// one line per catch in the grid's order, then the species, water and number of catches found
// (gefDS, as the window shows it) and the totals of count and weight over the printed lines. A
// filter that was off prints "alle".
void DruckeFangListe(const QString &modus, const forms::ListGrid &tblFAusw, const AngewandteAuswahl &auswahl,
                     const QString &gefDS);

} // namespace modFAuswert
