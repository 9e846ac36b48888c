#pragma once
// The navigation bar built at start, the login check, the group rights, today's date parts, the
// start-up load of all lists and the year in the status bar.
#include "core/modGVar.h"

#include <QString>
#include <functional>

namespace dao {
class Recordset;
}

namespace modStart {

// Builds the groups "System" and "Organisation" with their eight items, opens "Organisation" and
// sets the left pane's width. Without the navigation bar (its control could not be created) it
// throws SteuerelementFehlt with the message for the user.
void loadButtnBar();

// True when a user with exactly this name and password exists (both compared exactly, both
// bound as values). Then the name goes into status panel 4 and the group's rights are applied;
// otherwise the failure box "TORVANA" is shown.
bool Login(const QString &Name, const QString &Passwort);

// The rights of the user's group (the open Gruppen record): every right that is False removes
// its navigation item; KontListe False disables the contact overview's member-list button.
void SetzeZugriffsrechte(dao::Recordset &rs);

// Today's date parts into intTag, strWochentag, intMonat, strMonat, intJahr.
void ErmittleTagesdatum();

// The start-up load of all lists, in order, with the splash window's progress bar.
void LadeAlleTabellen();

// intJahr into status panel 8.
void SetzeStatusJahr();

// The rights of Gruppen, one Boolean column each.
enum class Recht {
    Fangbuch,
    Fangauswertung,
    KontUebers,
    KontListe,
    Kontakt,
    Arbeit,
    Besatz,
    Basis,
    Benutzerverwaltung,
    System
};
QString Rechtsspalte(Recht recht);
// The user whose name stands in status panel 4: does the group have the right? False when no
// such user or group exists. No error trap: errors go to the caller's.
bool GruppeHatRecht(Recht recht);

// Loaders of other program areas that the start-up load calls; empty ones are skipped.
struct Ladeschritte
{
    std::function<void()> loadTblBenutzer;           // users
    std::function<void()> loadTblZugriff;            // groups and rights
    std::function<void()> InitialisiereKontaktUebers; // contact overview
};
Ladeschritte &ladeschritte();

} // namespace modStart
