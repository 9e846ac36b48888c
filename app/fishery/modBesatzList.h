#pragma once
// The entries of the stocking plan: insert, change, delete, load, clear and check one entry of
// the window Besatzung.
//
// The procedures work on the table Besatzung over gv().dbDaten and on the controls of the one
// Besatzung window (created on first use). Writes run in one transaction; the grid tblBList
// changes only after the commit, and its row is found by BNr. Quantities are typed with a
// decimal comma ("12,5" is 12.5) and kept with two decimals.
#include <QString>

namespace forms {
class ListGrid;
}

namespace modBesatzList {

// Empties Menge, Zeit, species, water and the entry number; the year, the grid and the count
// stay.
void LeereBesatzFelder();
// True when species, water, year and quantity are given and valid: a species and water of the
// base data, a year, a quantity of at least 0 with a decimal comma. Otherwise the input-error
// box; a lookup of species or water that fails shows its error box alone. The time is free
// text and may be empty.
bool PruefeBesatzEingabe();
// Inserts the entry of the fields; its row is appended when the grid shows the entry's year.
// True when it was written (the fields are emptied then); false when the input was refused or
// the write failed (the fields keep what was typed).
bool SpeicherEintrag();
// Rewrites the entry whose number the window shows (lblBNr) with the fields, the year from the
// year box. Its grid row (row is the position it was loaded from, taken when it still holds it,
// else found by BNr) shows the stored entry afterwards, or goes when the entry left the year
// the grid shows. False when the input was refused or the write failed.
bool UpdateEintrag(int row);
// Loads the entry shown in row of grid (BNr in column 0) into the fields, when it belongs to the
// year in the year box.
void loadEintrag(const forms::ListGrid &grid, int row);
// Deletes the entry whose number the window shows, and its grid row. False when the write
// failed.
bool LoescheEintrag(int row);

// The quantity of a text typed with a decimal comma, rounded to two decimals; false for a text
// that is no figure of at least 0, or one of 10,000,000,000,000 or more (more digits than the
// column keeps exactly).
bool LeseMenge(const QString &text, double &menge);

} // namespace modBesatzList
