#pragma once
// The member list's filter and query. The procedures read and write the controls of the window
// MitglList directly (creating it on first use).
//
// A filter is a run of conditions from a fixed list, each beginning " AND ", in the order
// birth date, entry date, sex, fee, status, exempt, left, youth group; every value a user
// typed or chose (dates, the category number) is a bound parameter, the comparison operators
// come from the six the operator boxes offer.
#include "dao/dao.h"

#include <QString>
#include <QVariantList>
#include <optional>

namespace modMitglList {

struct MitglFilter
{
    dao::SqlText text{""};
    QVariantList werte; // one per "?" of text, in order
};

// The conditions of the switched-on filters 0 to 7 (switch 8, the work hours done, is applied
// after the query). Empty when no filter is on. A date bound that is not filled right (which
// PruefeMitglAuswahl refuses first) raises vb::Error 13.
MitglFilter ErstelleMitglFilter();

// Back to the start: every filter box unchecked with its controls disabled and the first
// option of each pair set (optStdNein for the work hours), the grid empty with the address
// columns shown, the found count and the description empty, no row chosen. A list not loaded
// yet only gets its flags reset (no row chosen, no filter on); its load ends with this reset.
void LeereMitglAuswahl();

// True when each of the four date boxes is empty or holds a date, and each checked date filter
// has its first bound complete and its second bound either complete or empty.
bool PruefeMitglAuswahl();

// The work-hours year of cboArbJahr as a number; nothing when the text is not a year.
std::optional<int> ErmittleArbJahr();

// Fills tblMList with the members that pass the filters: one row of eleven columns per member,
// with the required hours, the hours done in the year of cboArbJahr and the balance (hours done
// minus required, each figure to two decimals) when the work-hours list or the work-hours
// filter asks for them, else "0,00" in those three columns. No member: "Keine passenden
// Einträge gefunden !". The found count is the number of rows listed. A year that is not a
// number while the hours are needed is an input error: nothing is read and the grid stays.
void LadeAuswahl();

// The three work-hours columns shown instead of the address columns, or the reverse.
void SetzeArbeitsLayout();
void SetzeListenLayout();

} // namespace modMitglList
