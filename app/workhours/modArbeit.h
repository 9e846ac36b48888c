#pragma once
// Work hours: the yearly carry-over of each member's balance into the new year, its undo, and
// the work-hours right.

namespace modArbeit {

// Hours a member booked in a year (0 without bookings).
double ErmittleStunden(long long knr, long jahr);
// a - b to two decimals (half away from zero).
double ErmittleSollHaben(double a, double b);

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
