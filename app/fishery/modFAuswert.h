#pragma once
// The catch evaluation: the year lists of the catch side, and the query behind the window
// Fangauswertung with its filters, the count and the two sums.
//
// The filter procedures read and write the controls of the one Fangauswertung window
// (created on first use). A filter becomes SQL only from fixed pieces; every value the user
// chose or typed (year, species, water, month, numbers) is bound, and the comparison operators
// come from the fixed list below.
#include "core/modRun.h"

#include "dao/dao.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

class QComboBox;

namespace modFAuswert {

// Fills the list with every year from the earliest to the latest catch year in Fang, and the
// current year gv().intJahr even without catches; the list is emptied first. Selects nothing.
void loadcboFJahr(QComboBox &cbo);

// The entries of the four operator lists, in this order.
const QStringList &Operatoren();

// Index of a filter in gv().blnFangFilter and its check box.
enum Filter { FilterJahr = 0, FilterFischart, FilterGewaesser, FilterMonat, FilterAnzahl, FilterGewicht };

// Appends the conditions of the switched-on filters (each " AND ..." with its placeholders) to
// filter and their values to werte, in the order year, species, water, month, number, weight.
// A value that cannot be a condition (a year or number that is no number, an operator not in
// the list) raises vb::Error 13; nothing is appended then.
void ErstelleFangFilter(dao::SqlText &filter, QVariantList &werte);

// True when every ticked filter has what it needs: a year, species, water or month chosen, a
// lower limit (operator and value) with an optional upper limit (an upper operator without a
// value sets no bound, an upper value without an operator is incomplete); the years and
// numbers whole numbers, the operators from the list, the species and water still in the
// base data. Shows no message of its own; Fehler when a lookup of species or water failed (its
// error box has told).
modRun::Pruefung PruefeFangAuswahl();

// Runs the evaluation with the switched-on filters: fills tblFAusw with one row per catch
// (FangNr, species, water, month name, year, Anzahl, Gewicht; in the order of FangNr) and sets
// the count and the two sums. No catch: "Keine passenden Einträge gefunden !".
void LadeAuswahl();

// Unticks every filter and resets its inputs (year list to the current year, month list to
// the current month, the others to nothing), empties the grid and the three result labels and
// switches all filters off.
void LeereFangAuswahl();

} // namespace modFAuswert
