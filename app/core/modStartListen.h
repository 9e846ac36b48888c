#pragma once
// Start-up loaders of the category grid, the stocking list and the contact overview, and the
// category combo filler.
#include <functional>

class QComboBox;

namespace forms {
class ListGrid;
}

namespace modStart {

// Appends the categories to tblKatego of the Katego window; the two member categories carry
// the suffix " -> Systemkategorie <-".
void loadTblKatego();
// Refills tblBList of the Besatzung window with the stocking entries of intJahr, five cells a
// row: BNr, fish species, water, Zeit, Menge as "###0.00" (names of a fish species or water
// that no longer exists are empty). An empty year shows its message unless the start-up load
// runs.
void loadTblBList();

// The stocking plan window lives on the catch side, which this module does not know. That side
// registers how to reach the window's grid (creating the window on first use), and is told
// the year whose entries the grid holds after each refill. Without a registration
// loadTblBList reports error 91 through its trap.
struct BesatzListe
{
    std::function<forms::ListGrid &()> tblBList;
    std::function<void(int jahr)> geladen;
};
void setBesatzListe(BesatzListe liste);

// Sets up the contact overview (its set-up is registered by the contact area).
void loadTblKUebers();
// Refills the combo with the category names of tblKatego (without the suffix) when its item
// count differs from the grid's row count.
void loadcboKatego(QComboBox &cbo);

} // namespace modStart
