#pragma once
// Start-up loaders of the category grid, the stocking list and the contact overview, and the
// category combo filler.
class QComboBox;

namespace modStart {

// Appends the categories to tblKatego of the Katego window; the two member categories carry
// the suffix " -> Systemkategorie <-".
void loadTblKatego();
// Refills tblBList of the Besatzung window with the stocking entries of intJahr (names of a
// fish species or water that no longer exists are empty). An empty year shows its message
// unless the start-up load runs.
void loadTblBList();
// Sets up the contact overview (its set-up is registered by the contact area).
void loadTblKUebers();
// Refills the combo with the category names of tblKatego (without the suffix) when its item
// count differs from the grid's row count.
void loadcboKatego(QComboBox &cbo);

} // namespace modStart
