#pragma once
// The member list's two print-outs: the address list and the work-hours list.
#include <QString>

namespace forms {
class ListGrid;
}
namespace report {
class Report;
}

namespace modMitglList {

// The layouts rpt_MitglList ("Mitglieder - Liste") and rpt_ArbStd ("Arbeitsliste [Übersicht]"),
// made on first use and kept for the run.
report::Report &rpt_MitglList();
report::Report &rpt_ArbStd();

// Both print ("drucken") or preview ("vorschau") the members of the grid tblMList (columns
// number, surname, first name, street, postcode, town, telephone, date of birth, hours
// required, hours done, balance) in the grid's order, and end with the description info ("keine
// Beschreibung" when empty) and the number of members found (gefDS, as the window shows it).

// The address list, through the print table Druck_MitglList (grid columns 0 to 7).
void DruckeMitglListe(const QString &modus, const forms::ListGrid &tblMList, const QString &gefDS, const QString &info);
// The work-hours list, through the print table Druck_ArbStd (grid columns 0, 1, 2, 8, 9, 10).
void DruckeArbListe(const QString &modus, const forms::ListGrid &tblMList, const QString &gefDS, const QString &info);

} // namespace modMitglList
