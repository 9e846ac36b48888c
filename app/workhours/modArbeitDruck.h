#pragma once
// The work sheet of one member: the work-hours window's print-out.
#include <QString>

namespace forms {
class ListGrid;
}
namespace report {
class Report;
}

namespace modArbeit {

// What the work-hours window shows beside its grid, as it shows it.
struct Arbeitsblatt
{
    QString Jahr;   // the work year chosen (cboArbJahr)
    QString KNr;    // member number (lblKNr)
    QString NName;  // surname (lblNName)
    QString VName;  // first name (lblVName)
    QString GesStd; // hours done (lblGesStd)
    QString PflStd; // hours required (lblPflStd)
    QString ErgStd; // balance (lblErgStd)
};

// The layout rpt_ArbListe ("Arbeitsliste [Einzelaufstellung]"), made on first use and kept.
report::Report &rpt_ArbListe();

// Prints ("drucken") or previews ("vorschau") the work entries of the grid tblArbStd (columns
// entry number, member number, hours, date) through the print table Druck_ArbListe, headed
// "Arbeitsliste [Einzelaufstellung] für Jahr " and the year, and ends with the member's number
// and name and the window's hours done, hours required and balance, unchanged.
void DruckeArbListe(const QString &modus, const forms::ListGrid &tblArbStd, const Arbeitsblatt &blatt);
// The same for what the work-hours window shows now.
void DruckeArbListe(const QString &modus);

} // namespace modArbeit
