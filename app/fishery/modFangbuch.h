#pragma once
// The catch records of the catch log: insert, change, delete, load, clear and check one catch
// entry of the window Fangbuch, the count of a year's catches, the fish-species and waters
// lookups, the edit-mode reset and the catch-log right.
//
// The procedures work on the table Fang over gv().dbDaten and on the controls of the one
// Fangbuch window (created on first use). Writes run in one transaction; the grid tblFList
// changes only after the commit, and its row is found by FangNr.
#include "core/modGVar.h"

#include <QString>
#include <QtGlobal>

namespace forms {
class ListGrid;
}

namespace modFangbuch {

// Inserts the entry of the window's fields. Returns true when it was written (the fields are
// emptied then); false when the input was refused or the write failed (the fields keep what
// was typed).
bool SpeicherFang();
// Rewrites the catch whose FangNr the window shows (lblFNr); its year stays as stored. The
// grid row is found by FangNr (position is the row the caller loaded it from, taken when it
// still holds that catch). Returns false when the input was refused or the write failed.
bool UpdateFang(int position);
// Deletes the catch whose FangNr the window shows, and its grid row. Returns false when the
// write failed.
bool LoescheFang(int position);
// Loads the catch shown in row position of grid (FangNr in column 0) into the window's fields.
// A catch of another year or month than the window shows (one opened from the evaluation)
// switches the window to its year and month first, as the user's choice in the two boxes does.
void loadFang(const forms::ListGrid &grid, int position);
// Empties the entry fields; leaves year, month choice, grid, counts and the mode alone.
void LeereFangFelder();
// True when species, water, number, weight and month are filled and valid: a month 1 to 12,
// whole numbers, and a species and water that exist. Otherwise the input-error box; when the
// lookup of species or water fails (the database in use by another program), only its error
// box, and false.
bool PruefeFangEingabe();
// Number of catches of the year in cboFJahr, as text ("0" for none).
QString Ermittle_DSAnzahl();

// Name <-> number of fish species and waters: an unknown name gives 0, an unknown number "".
// fehler, when given, tells whether the lookup failed (the error box has told), so that a
// caller does not take the 0 for an unknown name.
qint32 ErmittleFischNr(const QString &name, bool *fehler = nullptr);
QString ErmittleFischname(qint32 nr);
qint32 ErmittleGewaesserNr(const QString &name, bool *fehler = nullptr);
QString ErmittleGewaessername(qint32 nr);

// The rows of catch log and stocking plan, key in column 0: the row of nr becomes the one marked
// row and the current row, so that after several saves only the last one stands out.
void MarkiereGespeichert(forms::ListGrid &grid, qlonglong nr);
// From now on, going to a row other than the marked one clears the mark of grid.
void LoeseMarkeBeiWahl(forms::ListGrid &grid);

// strModus := "SAVE", lngDSNr := 0 (kept with the program-wide variables).
using modGVar::SetzeSpeicherModus;
// Whether the group of the user in panel 4 of the main window's status bar has the right
// Fangbuch; read afresh at every call.
bool FangbuchZugriff_Erlaubt();

} // namespace modFangbuch
