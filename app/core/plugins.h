#pragma once
// The plug-in points of the core: the one interface through which the program areas (catch log,
// contacts, work hours, member list, stocking, ...) and the core reach each other. The core
// includes no header of another area. Each area has one function that fills its entries here
// (fishery::RegistriereFangbuch, contacts::RegistriereKontakte); the application calls them all
// once at start (app/bereiche.cpp); tests fill entries with stand-ins and empty them all
// with LeereEinstiege().
//
// The program's registration fills every entry (a test holds it to that). An entry that stays
// empty (a test's stand-in left out) skips the step or makes the command do nothing, as noted per
// entry; only the roll-over's steps fail loudly instead. A registration replaces what was there.
// An area plugs in like this:
//
//     void RegistriereArbeit()
//     {
//         core::RegistriereFenster(navigation::Arbeit.key, [] { return &forms::form<Arbeit>(); });
//         auto &e = core::einstiege();
//         e.bereiche.ArbeitsZugriff_Erlaubt = modArbeit::ArbeitsZugriff_Erlaubt;
//         e.jahreswechsel.UebernehmeStunden = modArbeit::UebernehmeStunden;
//     }
//
// Window keys: the navigation key (core/navigation.h) for a window behind an item of the
// navigation bar, the window's name for the others ("Hinter", "MitglList", "Katego", "Info").
#include <QHash>
#include <QString>
#include <functional>

namespace forms {
class Form;
class ListGrid;
} // namespace forms

namespace core {

// ---- windows ------------------------------------------------------------------------------------

// Returns the window, created and loaded on first use; the forms runtime owns it.
using Fensterfabrik = std::function<forms::Form *()>;
// Registers (or replaces) the window of a key; an empty factory removes it. geladen, when given,
// returns the window only while it exists (never creating it).
void RegistriereFenster(const QString &key, Fensterfabrik fabrik, Fensterfabrik geladen = {});
// The window of the key, created and loaded if it was not; nullptr when none is registered.
forms::Form *Fenster(const QString &key);
// The window of the key while it exists, else nullptr; never creates it. A window registered
// without geladen is created as by Fenster.
forms::Form *GeladenesFenster(const QString &key);

// ---- what the main window's commands call in the other areas -----------------------------------

// An empty entry means the area is not part of this build: the command then does nothing.
struct Bereiche
{
    // Member list: resets its filter controls and flags (also each time all content windows are
    // hidden); its grid tblMList.
    std::function<void()> LeereMitglAuswahl;
    std::function<forms::ListGrid *()> tblMList;
    // Catch log and evaluation: empties the catch log's fields; loads the catch of the evaluation
    // row into the catch log; the evaluation's grid tblFAusw; the right Fangbuch.
    std::function<void()> LeereFangFelder;
    std::function<void(forms::ListGrid &tblFAusw, int &lngDSNr)> loadFang;
    std::function<forms::ListGrid *()> tblFAusw;
    std::function<bool()> FangbuchZugriff_Erlaubt;
    // Contacts: the editor's toolbar mode; loads the contact of the member-list row into the
    // editor; the right Kontakt.
    std::function<void(int modus)> SetzeKontaktToolbar;
    std::function<void(forms::ListGrid &tblMList, int &lngDSNr)> loadKontakt;
    std::function<bool()> KontaktZugriff_Erlaubt;
    // Work hours: takes the member of the member-list row into the work-hours window (labels,
    // caption, its back button, the year's records, sum, required hours and balance). False when
    // it was not taken over (no member, an exempt one, a failed read): the area has said why.
    // The right Arbeit.
    std::function<bool(forms::ListGrid &tblMList, int row)> UebernimmMitglied;
    std::function<bool()> ArbeitsZugriff_Erlaubt;
    // Work hours: takes the member of row `row` of the search dialog's result list tblSuch
    // (column 0 the contact number, 3 the surname, 4 the first name) into the work-hours window.
    // The dialog calls it after a double-click when it serves the work-hours side.
    std::function<void(forms::ListGrid &tblSuch, int &row)> UebernehmeKontakt;
    // Database tools: compaction.
    std::function<void()> KomprimiereDatenbank;
};

// ---- the contact search and the serial-letter file ---------------------------------------------

// The contact side's search dialog SuchKont and its serial-letter file, which the contact overview
// and the work-hours window call through here. An empty entry makes the toolbar key or step that
// calls it do nothing.
struct Kontaktwerkzeuge
{
    // Empties the dialog (result list, search box, count).
    std::function<void()> LeereSuchKont;
    // Shows the dialog modally for the caller that gv().intSuchAufruf names (1: the work-hours
    // side picks a member).
    std::function<void()> ZeigeSuchKont;
    // Unloads the dialog when its caller's window is left; the next use creates it afresh.
    std::function<void()> EntladeSuchKont;
    // Writes SERI.txt from the categories expanded in the contact overview and, when the user
    // wants it, makes the form letters.
    std::function<void()> ErzeugeSeriDatei;
};

// ---- steps of the start-up ----------------------------------------------------------------------

// An empty step does nothing, except the login step: without it the main window shows itself.
struct Startschritte
{
    std::function<void()> loadButtnBar;       // builds the navigation bar
    std::function<void()> zeigeLogin;         // shows the Login window, modeless
    std::function<void()> RepariereDatenbank; // repairs the database file and reopens it
};

// Loaders that the start-up load (modStart::LadeAlleTabellen) calls; empty ones are skipped.
struct Ladeschritte
{
    std::function<void()> loadTblBenutzer;            // users
    std::function<void()> loadTblZugriff;             // groups and rights
    std::function<void()> InitialisiereKontaktUebers; // contact overview
};

// ---- yearly roll-over ---------------------------------------------------------------------------

// What the roll-over (modStart::KontrolliereSystemJahr) calls in the work-hours and contact
// areas, with the old catch year, inside its transaction. Each returns false after a failure it
// has reported. None may stay empty: the roll-over then fails with error 91 before it writes
// anything (the carry-over only when the user wants it carried over).
struct Jahreswechsel
{
    std::function<bool(long &altesJahr)> UebernehmeStunden;
    std::function<bool(long &jahr)> Ueberpruefe_auf_Uebertrag;
    std::function<bool()> ReinitialisiereJB;
};

// ---- grids of other areas that the core's loaders fill --------------------------------------------

// A window's grid, the window created on first use.
using GridZugriff = std::function<forms::ListGrid &()>;

// The stocking plan window's grid tblBList, and what to tell the window once the grid holds the
// entries of a year (modStart::loadTblBList). Empty tblBList: the load reports error 91.
struct BesatzListe
{
    GridZugriff tblBList;
    std::function<void(int jahr)> geladen;
};

// ---- all plug-in points -------------------------------------------------------------------------

struct Einstiege
{
    QHash<QString, Fensterfabrik> fenster; // through RegistriereFenster and Fenster
    QHash<QString, Fensterfabrik> geladen; // through RegistriereFenster and GeladenesFenster
    Bereiche bereiche;
    Kontaktwerkzeuge kontaktwerkzeuge;
    Startschritte startschritte;
    Ladeschritte ladeschritte;
    Jahreswechsel jahreswechsel;
    // The catch log's grid tblFList, which the start-up load fills (modStart::loadTblFList).
    // Empty: the load reports error 91.
    GridZugriff fangListe;
    // The category window's grid tblKatego (KategoNr, name), the program's list of the categories
    // (modStart::loadTblKatego, loadcboKatego). Empty: the load reports error 91.
    GridZugriff kategoListe;
    BesatzListe besatzListe;
};
Einstiege &einstiege();

// Empties every plug-in point (tests).
void LeereEinstiege();

} // namespace core
