#pragma once
// Work hours of the members: the entries of the work-hours window Arbeit (book, rewrite, delete,
// load, clear, check), taking a member into that window, the year's sums and the balance, the
// year list, the yearly carry-over of each member's balance into the new year with its undo, and
// the work-hours right.
//
// The window procedures work on the one Arbeit window (created and loaded on first use) and on
// the table Arbeit over gv().dbDaten. Every write runs in one transaction; the grid tblArbStd and
// the sum labels change only after the commit, and a grid row is found by its ArbNr.
#include <QString>
#include <QtGlobal>

class QComboBox;

namespace forms {
class ListGrid;
}

namespace modArbeit {

// ---- taking a member over, sums and balance

// The one way a member comes into the work-hours window, from the search dialog and from the
// member list alike. A member not exempt from work hours is shown: number, first name, surname,
// the caption "Arbeitscontrolling - <first name> <surname> -", the entries of the year chosen in
// cboArbJahr with their sum, the required hours and the balance. A contact without member record
// gets the missing-record box, an exempt member the three-line exemption box; the window then
// keeps what it showed. Returns true when the member was taken over.
bool UebernehmeKontakt(qlonglong knr, const QString &vorname, const QString &nachname);
// The pick of the search dialog: row lngZeile of its grid tblSuch (column 0 the contact number,
// 3 the surname, 4 the first name).
bool UebernehmeKontakt(const forms::ListGrid &tblSuch, int &lngZeile);

// Fills the window's grid tblArbStd with the member's entries of the year (ArbNr, KNr, hours as
// "###0.00", date) and returns the year's sum (ErmittleStunden).
double loadTblArbeit(qlonglong lngKNr, long lngJahr);
// Empties the year list, then appends the years from the lowest to the highest in Arbeit, and
// intJahr when it lies outside them (after them when below the lowest: the years from intJahr up
// to the lowest minus one). An empty table gives intJahr alone.
void loadcboArbJahre(QComboBox &cbo);
// Hours a member booked in a year (0 without bookings).
double ErmittleStunden(qlonglong lngKNr, long lngJahr);
// dblGeleistet - dblPflicht, rounded to two decimals (half away from zero): the balance,
// positive for a surplus.
double ErmittleSollHaben(double dblGeleistet, double dblPflicht);
// The hours every member owes per year: the settings grid's row "Pflicht-Std. (Arbeit)" when
// the settings window holds it, else PflichtStd of the System record.
double ErmittlePflichtStd();

// ---- entries of the window

// Inserts an entry from the input fields (member, year, date, hours, note). True when written
// (the new grid row is added, the sums refreshed and the fields emptied).
bool SpeicherStunden();
// Rewrites the entry whose number lblArbNr shows (its member stays); lngZeile is the grid row it
// was loaded from (taken when it still shows that entry, else the row is found by number).
// False when the write failed; an entry that is gone meanwhile gives the missing-record box.
bool UpdateStunden(int lngZeile);
// Deletes the entry whose number lblArbNr shows, and its grid row. False when the write failed.
bool LoescheStunden(int lngZeile);
// Loads the entry of grid row lngDSNr into the input fields.
void loadArbeitsVorgang();
// Empties the input fields: no entry loaded, today's date, no hours, no note.
void LeereArbeitFelder();
// Empties the whole window (input fields, grid, member, sums) and disables cmdMList; the year
// list and the caption stay.
void LeereArbeitMaske();
// True when booking may go ahead: a member is shown, the hours are a figure of 0 or more
// (decimal comma), the date is a day and the year list names a year. Otherwise the input-error
// box and false.
bool PruefeArbeitEingabe();

// ---- yearly carry-over and the right

// For every member not exempt from work hours: one entry in intJahr, dated 1 January, with the
// balance of the old year (done minus required hours) and the note "Mehrleistungsübertrag aus
// Arbeitsjahr <old>" (balance above 0) or "Minderleistungsübertrag aus Arbeitsjahr <old>".
// All entries in one transaction; a failure writes none, is reported by the error box and
// gives false (no success message then). Called inside the roll-over's transaction, the success
// message follows that transaction's commit, and is not shown when it rolls back.
bool UebernehmeStunden(long &altesJahr);

// Removes the carry-over entries dated 1 January of the year (entries with a carry-over note;
// other bookings of that day stay). Several such entries are announced first. One
// transaction; false after a reported failure.
bool Ueberpruefe_auf_Uebertrag(long &jahr);

// Has the group of the user in status panel 4 the work-hours right?
bool ArbeitsZugriff_Erlaubt();

} // namespace modArbeit
