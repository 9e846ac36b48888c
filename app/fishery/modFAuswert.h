#pragma once
// Year lists of the catch side.
class QComboBox;

namespace modFAuswert {

// Fills the list with every year from the earliest to the latest catch year in Fang, and the
// current year gv().intJahr even without catches; the list is emptied first. Selects nothing.
void loadcboFJahr(QComboBox &cbo);

} // namespace modFAuswert
