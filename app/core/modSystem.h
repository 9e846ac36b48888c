#pragma once
// modSystem: the system parameters of the System window. The grid of the System window and the
// about box's address labels are the copies of the System record that the rest of the program
// reads; they are filled at start-up by modStart::loadTblSystem.

namespace modSystem {

// Stores the non-empty setting boxes and shows the stored values in the grid as the start-up
// load does: FJahr a whole year (1900 to 9999), JBeitrag and PflichtStd amounts typed with a
// decimal comma and at most two decimals ("37,50" is 37.5, shown "37,50"). A box that holds
// anything else refuses the whole save with the input-error box; false then, and nothing is
// written.
bool UpdateSystemPar(int key);
// Stores the five address boxes and copies them to the about box. Five empty boxes are
// refused as an input error (the stored address is never blanked by an empty form).
bool UpdateVereinsdaten();
// Whether the five address boxes differ from the club address stored (the about box's labels).
bool AdresseGeaendert();
// Empties txtArbStd, txtFJahr and txtJB; a setting chosen for change is no longer (mode SAVE).
void LeereSystemFelder();
// Row 0, 1, 2 of the grid into txtJB, txtFJahr, txtArbStd; other rows do nothing.
void loadSystemAuswahl(int row);

} // namespace modSystem
