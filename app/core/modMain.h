#pragma once
// The main window's navigation: hiding all content windows and showing one in the navigation
// bar's results pane. The windows come from the plug-in points (core/plugins.h), by navigation
// key (core/navigation.h) or window name.
#include "core/modGVar.h"

#include "forms/form.h"

#include <QString>

namespace modMain {

// Hides every content window (loading those not loaded yet): Benutzer, System, Fangbuch,
// Fangauswertung, KontaktUebers, Basis, Arbeit, Besatzung, Hinter, MitglList; then resets the
// member list's selection; then hides Katego.
void VerbergeAlleForms();

// Shows a window in the results pane: hides all, looks the item of key up into objAktItem,
// hands it the window's handle, displays the item and shows the window. Returns the window,
// or nullptr when no window is registered for the key. When the item is gone (the user's
// rights removed it) objAktItem stays empty and the window is not shown.
forms::Form *ZeigeFenster(const QString &key);

// Before the window of key is shown: the contact search dialog's caller (intSuchAufruf) for
// it, 0 for the contact overview, 1 for the work-hours window (whose activation opens the
// search); any other key leaves it. Every road that shows one of the two by its key calls it.
void SetzeSuchAufruf(const QString &key);

// Hands a window to the item that hosts the window shown now (objAktItem, unchanged), displays
// it there and shows it. Without such an item the window is not shown; returns false then.
bool ZeigeImAktItem(forms::Form &fenster);

// Registers the core's own windows (Benutzer as "Zugriff", System as "Parameter", Basis as
// "Basisdaten", Info), the start-up steps that build the navigation bar, show the login and
// repair the database, the loaders of users and groups, and the compaction.
void RegistriereKern();

// The navigation item of a key, or an empty pointer (no bar, or no such item).
com::ComPtr<ILzNavrailItem> ItemFromKey(const QString &key);

} // namespace modMain
