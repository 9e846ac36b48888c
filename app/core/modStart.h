#pragma once
// Opening the application database and sizing the main window at start-up.
#include <QString>
#include <functional>

class QComboBox;

namespace modStart {

// The program folder: $TORVANA_HOME, else $XDG_DATA_HOME/torvana, else
// ~/.local/share/torvana. It holds tv01.mdb, temp/, SeqData/ and Graphics/.
QString Programmordner();
// The application database in the program folder.
QString Datenbankpfad();
// The database password as the connect string gives it.
inline const QString Verbindung = QStringLiteral(";pwd=tq-3917-kfb");

// Opens the application database on the default workspace into gv().wsDaten and
// gv().dbDaten. No error trap: a failure (vb::Error 3024 no file, 3031 wrong password, ...)
// goes to the caller.
void OeffneDatenbank();

// Navigation bar 7695 twips high, main window 8625 twips high.
void SetzeFenstergroesse();

// Steps of the start-up that other modules provide. An empty step does nothing, except the
// login step: without it the main window shows itself.
struct Startschritte
{
    std::function<void()> loadButtnBar;       // builds the navigation bar
    std::function<void()> zeigeLogin;         // shows the Login window, modeless
    std::function<void()> RepariereDatenbank; // repairs the database file and reopens it
};
Startschritte &startschritte();

// The users (BNr, Name, Passwort, group name) into the users grid of the Benutzer window, and
// the groups (GNr, GName, the ten rights) into its groups grid; the window is created when it
// does not exist yet.
void loadTblBenutzer();
void loadTblZugriff();
// Replaces the combo's list with the group names of the groups grid, in grid order; what is
// typed in the combo stays.
void loadcboBG(QComboBox &cbo);

} // namespace modStart
