#pragma once
// modStart: the start-up of the program. Every procedure of the module is declared here:
//   - the database and the main window's size          (modStart.cpp)
//   - the navigation bar, the login check, the group rights, today's date, the start-up load of
//     all lists, the year in the status bar              (modStartLogin.cpp)
//   - the yearly roll-over of the catch year             (modStartJahr.cpp)
//   - the loaders of the catch side and their combos     (modStartLaden.cpp)
//   - the loaders of categories, stocking, contacts      (modStartListen.cpp)
//   - the loader of the system parameters                (modSystem.cpp)
//   - the loaders of users and groups, the group list    (modBenutzer.cpp)
//
// The loaders follow the error trap of the data procedures (module "modStart", routine by its
// own name); the combo fillers have none of their own.
#include "com/types.h"
#include "core/modGVar.h"

#include <QString>
#include <functional>

class QComboBox;
class QProgressBar;

namespace dao {
class Recordset;
}

namespace forms {
class ListGrid;
}

namespace modStart {

// ---- database and window size -----------------------------------------------------------------

// The program folder: $TORVANA_HOME, else $XDG_DATA_HOME/torvana, else
// ~/.local/share/torvana. It holds tv01.mdb, temp/, SeqData/ and Graphics/.
QString Programmordner();
// The application database in the program folder.
QString Datenbankpfad();
// Makes the folder that datei lies in when it is missing and is a folder of the program folder
// itself (temp/, SeqData/): its owner's alone (0700), as the program folder is. True when the
// folder is there now; else false with *grund naming the folder and the cause.
bool SichereOrdnerFuer(const QString &datei, QString *grund = nullptr);
// Why the file at datei could not be written, as one line for the user's box, read from what
// stands there now: a folder or a link under the file's name, a missing folder, a folder that
// refuses writing; failing all of these the disk was full, and the line asks to check its space.
QString Schreibhindernis(const QString &datei);
// The message after a file was written: anfang, " - ", the file's name, " - wurde erfolgreich im
// Pfad: ", its folder with a closing "/", " erstellt !".
QString ErstelltMeldung(const QString &anfang, const QString &datei);
// The database password as the connect string gives it.
inline const QString Verbindung = QStringLiteral(";pwd=tq-3917-kfb");

// One program per program folder: the lock file "torvana.lock" in the folder, held for as long
// as the object lives (a second program would have its database renamed away under it by a
// compaction, and its writes lost). The system releases the lock when the process ends, also
// after a crash; programs the process starts do not inherit it.
//
//     modStart::Programmsperre sperre;
//     if (!sperre.Erwirb())
//         return EXIT_FAILURE;   // the box has told the user
class Programmsperre
{
public:
    Programmsperre() = default;
    ~Programmsperre();
    Programmsperre(const Programmsperre &) = delete;
    Programmsperre &operator=(const Programmsperre &) = delete;

    // Makes Programmordner() its owner's alone (0700), and the database and its journals (0600),
    // and takes its lock (the lock file is never opened through a link; a link in its place is
    // replaced by the file). Holding the lock, it removes what writers killed in an earlier run
    // left beside their files (common/savefile.h) in the folder, in SeqData/ and in the
    // registry's folder. False when another program holds it: then the critical box "ACHTUNG:
    // Torvana läuft bereits mit dem Programmordner <folder> ! ..." has been shown. True also
    // when there is no lock to be had:
    // without the folder silently (the database open then reports the missing file), else after
    // a box that names the lock file and says that the program goes on unguarded.
    bool Erwirb();

private:
    int fd_ = -1;
};

// Qt's own texts in German: standard buttons, the context menu of text boxes, the print dialog
// and the like, from Qt's German catalogue in Qt's translations folder (Debian's
// qt6-translations-l10n). Installed on the application for the rest of the run; false, and
// Qt's texts stay English, when the catalogue is not there.
bool LadeQtUebersetzungen();

// Opens the application database on the default workspace into gv().wsDaten and
// gv().dbDaten. No error trap: a failure (vb::Error 3024 no file, 3031 wrong password, ...)
// goes to the caller.
void OeffneDatenbank();

// Navigation bar 7695 twips high, main window 8625 twips high.
void SetzeFenstergroesse();

// A control of the program's control libraries that could not be created by its class: the
// message that names the control (name, e.g. "LzNavrailBar") and its library (file name, e.g.
// "libLzNavrail.so", beside the program in the build folder, in lib/torvana where installed),
// tells why from the runtime's result hr and the error description, and how to register the
// library (the registration step of the run script).
QString SteuerelementMeldung(const QString &name, const QString &bibliothek, HRESULT hr, const QString &beschreibung);

// Thrown by a start-up step that cannot go on without its control; the start shows the message
// and ends the program.
struct SteuerelementFehlt
{
    QString meldung;
};

// ---- navigation bar, login, rights, start-up load ---------------------------------------------

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
// The guard of every road that writes what a right guards: true when the user's group has the
// right; otherwise the box "Sie haben keine Zugriffsberechtigung auf diese Funktion !" and false,
// and the caller writes nothing. A failed read of the rights refuses too (the trap has told).
bool PruefeZugriff(Recht recht);

// ---- yearly roll-over -------------------------------------------------------------------------

// Compares the stored catch year (System.FJahr) with intJahr. Equal: true. Otherwise asks
// whether the calendar year becomes the catch year: No gives false (the program ends). Yes
// stores it and, when the calendar went back, removes the carry-over entries of the old year;
// else, when the user agrees, carries the work hours over, and resets the members' fee flags.
// Every question is asked first; the new year and everything that follows from it are then
// written in one transaction, during which no box waits for the user (another program can
// write again before the first message shows): after a failure nothing is kept, the next login
// asks again, and the result is false.
bool KontrolliereSystemJahr();

// ---- loaders of the catch side ----------------------------------------------------------------

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

// The catch log window lives on the catch side, which this module does not know; the start-up
// load fills its grid through the plug-in point fangListe (core/plugins.h). Without one, the
// trap reports error 91.
void loadTblFList(QProgressBar *pb);
// The catch log's grid through the registration (the window is created on first use);
// nullptr when none is registered.
forms::ListGrid *FangListe();

// Empties the combo box and adds the names of the base-data grid (column 1), top to bottom.
// Creates the base-data window when it does not exist yet.
void loadcboFArt(QComboBox &cbo);
void loadcboGName(QComboBox &cbo);

// ---- loaders of categories, stocking, contacts ------------------------------------------------

// The category window lives on the contact side, which this module does not know; its grid
// tblKatego (KategoNr, name), the program's list of the categories, comes through the plug-in
// point kategoListe (core/plugins.h).
// The category grid through the registration; nullptr when none is registered.
forms::ListGrid *KategoListe();
// Appends the categories to the category grid; the two member categories carry the suffix
// " -> Systemkategorie <-". Without a registered grid, the trap reports error 91.
void loadTblKatego();
// Refills tblBList of the Besatzung window with the stocking entries of intJahr, five cells a
// row: BNr, fish species, water, Zeit, Menge as "###0.00" (names of a fish species or water
// that no longer exists are empty). An empty year shows its message unless the start-up load
// runs. The window lives on the catch side, which this module does not know: its grid comes
// through the plug-in point besatzListe (core/plugins.h), which is told the year after each
// refill; without one the trap reports error 91.
void loadTblBList();

// Sets up the contact overview (its set-up is registered by the contact area).
void loadTblKUebers();
// Refills the combo with the category names of the category grid (without the suffix) unless it
// holds exactly those names already, in that order (a renamed category never keeps its old name
// in a combo). A refilled combo has no current entry; one left as it was keeps its entry.
void loadcboKatego(QComboBox &cbo);

// ---- system parameters ------------------------------------------------------------------------

// Fills tblSystem, the about box's address labels and the System window's address boxes from
// the System record. The grid and the labels are the copies of the System record that the rest
// of the program reads.
void loadTblSystem();

// ---- users and groups -------------------------------------------------------------------------

// The users (BNr, Name, Passwort, group name) into the users grid of the Benutzer window, and
// the groups (GNr, GName, the ten rights) into its groups grid; the window is created when it
// does not exist yet.
void loadTblBenutzer();
void loadTblZugriff();
// Replaces the combo's list with the group names of the groups grid, in grid order; what is
// typed in the combo stays.
void loadcboBG(QComboBox &cbo);

} // namespace modStart
