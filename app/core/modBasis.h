#pragma once
// The base data: fish species and waters, handled by twin procedures on the one Basis window
// (created on first use).
//
// Writes run in one transaction; the grids change only after the commit. A grid row is found
// by its key (column 0), never by a remembered row position. The catch log's grid follows
// every change at once: the catches of a renamed species or water show the new name, those of
// a deleted one leave the grid (the database deletes them with it). Names must be non-empty and
// unique (compared as the database compares them: without regard to case), since the catch
// log and the stocking plan look a species or a water up by its name.
namespace modBasis {

// strModus := "SAVE", lngDSNr := 0.
void InitialisiereBasis();

// Inserts the species (water) of the input fields. False when refused (duplicate name) or the
// write failed; the fields then keep what was typed.
bool SpeicherFisch();
bool SpeicherGewaesser();

// Loads the record of a grid row into the input fields (the column is not used).
void loadFAuswahl(int row, int col);
void loadGAuswahl(int row, int col);

// Writes the input fields back to the record whose key the key label shows; row is the grid
// row it was loaded from (a hint only). True when done, the record not found included; false
// when refused or the write failed.
bool UpdateFisch(int row);
bool UpdateGewaesser(int row);

// Deletes the record whose key the key label shows; the database deletes its catches. True
// when done (not found included), false when the write failed.
bool LoescheFisch(int row);
bool LoescheGewaesser(int row);

// Empties key label, name and note of the tab shown and puts the focus into the name box.
void LeereBasisFelder();
// Empties the input fields and the count labels of both tabs.
void LeereAlleBasisFelder();

// True when the name box holds a name (not only blanks); else the input-error box.
bool PruefeFischEingabe();
bool PruefeGewaesserEingabe();

} // namespace modBasis
