#pragma once
// The main window's navigation: the content windows by navigation key, hiding them all, and
// showing one in the navigation bar's results pane.
//
// The core knows the windows of the other program areas only through this registry: the
// application fills it at start (window name or navigation key -> the window, created and
// loaded on first use), tests register stand-ins. Navigation keys: "Zugriff", "Parameter",
// "Basisdaten", "Fangbuch", "Fangauswertung", "Kontakte", "Arbeit", "Besatzung"; further
// windows by their names: "Hinter", "MitglList", "Katego", "Info".
#include "core/modGVar.h"

#include "forms/form.h"

#include <QString>
#include <functional>

namespace forms {
class ListGrid;
}

namespace modMain {

using Fensterfabrik = std::function<forms::Form *()>;

// Registers (or replaces) the window of a key; an empty factory removes it.
void RegistriereFenster(const QString &key, Fensterfabrik fabrik);
// Removes every registration (tests).
void LeereFensterRegister();
// The window of the key, created and loaded if it was not; nullptr when none is registered.
forms::Form *Fenster(const QString &key);

// What the main window's commands call in the other program areas. An empty entry means the
// area is not part of this build: the command then does nothing.
struct Bereiche
{
    // Member list: resets its filter controls and flags; its grid tblMList.
    std::function<void()> LeereMitglAuswahl;
    std::function<forms::ListGrid *()> tblMList;
    // Catch log and evaluation.
    std::function<void()> LeereFangFelder;
    std::function<void(forms::ListGrid &tblFAusw, int &lngDSNr)> loadFang;
    std::function<forms::ListGrid *()> tblFAusw;
    std::function<bool()> FangbuchZugriff_Erlaubt;
    // Contacts.
    std::function<void(int modus)> SetzeKontaktToolbar;
    std::function<void(forms::ListGrid &tblMList, int &lngDSNr)> loadKontakt;
    std::function<bool()> KontaktZugriff_Erlaubt;
    // Work hours: fills the work-hours window with the member of the member-list row (labels,
    // caption, its back button, the year's records, sum, required hours and balance).
    std::function<void(forms::ListGrid &tblMList, int row)> UebernimmMitglied;
    std::function<bool()> ArbeitsZugriff_Erlaubt;
    // Database tools.
    std::function<void()> KomprimiereDatenbank;
};
Bereiche &bereiche();

// Hides every content window (loading those not loaded yet): Benutzer, System, Fangbuch,
// Fangauswertung, KontaktUebers, Basis, Arbeit, Besatzung, Hinter, MitglList; then resets the
// member list's selection; then hides Katego.
void VerbergeAlleForms();

// Shows a window in the results pane: hides all, looks the item of key up into objAktItem,
// hands it the window's handle, displays the item and shows the window. Returns the window,
// or nullptr when no window is registered for the key. When the item is gone (the user's
// rights removed it) objAktItem stays empty and the window is not shown.
forms::Form *ZeigeFenster(const QString &key);

// Hands a window to the item that hosts the window shown now (objAktItem, unchanged), displays
// it there and shows it. Without such an item the window is not shown; returns false then.
bool ZeigeImAktItem(forms::Form &fenster);

// Registers the core's own windows (Benutzer as "Zugriff", System as "Parameter", Basis as
// "Basisdaten", Besatzung, Katego, Info), the start-up steps that build the navigation bar, show
// the login and repair the database, the loaders of users and groups, and the compaction.
void RegistriereKern();

// The navigation item of a key, or an empty pointer (no bar, or no such item).
com::ComPtr<ILzNavrailItem> ItemFromKey(const QString &key);

} // namespace modMain
