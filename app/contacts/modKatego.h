#pragma once
// The categories of the contacts (table Katego: KategoNr, Kategorie) and the window Katego that
// edits them.
//
// Categories 1 "Mitglieder (aktiv)" and 2 "Mitglieder (passiv)" are the member categories that
// the rest of the program relies on: they are shown as system categories and can be neither
// renamed nor deleted. A name is refused when it is empty, longer than MaxNamenslaenge or already
// borne by another category (compared without regard to case, German letters folded), so that
// every name stands for exactly one category.
//
// Categories are written under the right Kontakt, as the contacts they hold: without it every
// change is refused with the box "Sie haben keine Zugriffsberechtigung auf diese Funktion !"
// and nothing is written (modStart::PruefeZugriff).
//
// Every change runs in one transaction; afterwards the window's grid, the contact overview's
// category rows, the category combos of the loaded windows and the search results follow it.
// Deleting a category deletes its contacts with it (and their member and work-hours records):
// the relations of the database cascade.
#include <QString>

namespace modKatego {

// Longest category name.
inline constexpr int MaxNamenslaenge = 50;

// Window load: mode "SAVE", no row, the row buffer sized to two values.
void InitialisiereKatego();
// Inserts the name of txtKatego as a new category: appended to the window's grid and, with no
// expand mark and no count, to the contact overview. False when the name was refused or the
// write failed (a box has told).
bool SpeicherKatego();
// Renames the category whose number stands in lblKategoNr; row is the grid row it was loaded
// from (a hint: the row is found by number). The overview keeps the category's count behind the
// new name. False when the name was refused or the write failed.
bool UpdateKatego(int &row);
// Deletes the category whose number stands in lblKategoNr, with its contacts; removes its rows
// from the window's grid and the overview. False when the write failed.
bool LoescheKatego(int &row);
// Loads the category of grid row `row` for change, unless it is a system category (a box says
// so and the mode goes back to "SAVE").
void loadKatego(int &row, int &col);
// Empties txtKatego and lblKategoNr; the focus goes to txtKatego.
void LeereKategoFelder();
// True when txtKatego holds a name of at most MaxNamenslaenge characters (blanks around it do not
// count); else the input-error box and false. The box itself takes longer texts, so that a pasted
// name is refused as a whole rather than cut.
bool PruefeKategoEingabe();

// Whether a number is one of the two member categories.
bool IstSystemkategorie(qint64 kategoNr);

// Refills the category combos of the loaded windows (the contact editor, the search dialog)
// from the window's grid; a combo keeps its entry when that name still exists.
void AktualisiereKategoCombos();

} // namespace modKatego
