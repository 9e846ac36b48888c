#pragma once
// The start-up loaders of the catch side: the base-data grids (fish species, waters), the
// catch list of a month, and the fillers of the species and waters combo boxes.
//
// The loaders follow the error trap of the data procedures (module "modStart", routine by its
// own name); the combo fillers have none of their own.
#include <functional>

class QComboBox;
class QProgressBar;

namespace forms {
class ListGrid;
}

namespace modStart {

// Appends every fish species (FNr, FName) to the base-data window's grid tblFBasis; creates
// that window when it does not exist yet.
void loadTblFBasis();
// The same for the waters (GNr, GName) and tblGBasis.
void loadTblGBasis();

// Refills the catch grid with the catches of gv().intJahr and gv().intMonat, one row each:
// FangNr, fish species, water, month name, Anzahl, Gewicht. The progress bar is shown while the
// rows go in (maximum: the number of catches, 1 when there are none) and hidden afterwards.
// No catch: the box "Keine Einträge für diesen Monat vorhanden !", except during the start-up
// load. Without a progress bar (nullptr) the rows go in all the same.
void loadTblFList(forms::ListGrid &tblFList, QProgressBar *pb);

// The catch log window lives on the catch side, which this module does not know. That side
// registers how to reach the window's grid (creating the window on first use); the start-up
// load then fills it through loadTblFList(pb).
using FangListeZugriff = std::function<forms::ListGrid &()>;
void setFangListe(FangListeZugriff zugriff);
// The catch log's grid through the registration. Without one, the trap reports error 91.
void loadTblFList(QProgressBar *pb);
// The catch log's grid through the registration (the window is created on first use);
// nullptr when none is registered.
forms::ListGrid *FangListe();

// Empties the combo box and adds the names of the base-data grid (column 1), top to bottom.
// Creates the base-data window when it does not exist yet.
void loadcboFArt(QComboBox &cbo);
void loadcboGName(QComboBox &cbo);

} // namespace modStart
