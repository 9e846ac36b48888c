#pragma once
// Opening the application database and sizing the main window at start-up.
#include "com/types.h"

#include <QString>
#include <functional>

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

// A control of the program's control libraries that could not be created by its class: the
// message that names the control (name, e.g. "LzNavrailBar") and its library (file name, e.g.
// "libLzNavrail.so", beside the program), tells why from the runtime's result hr and the error
// description, and how to register the library (the registration step of the run script).
QString SteuerelementMeldung(const QString &name, const QString &bibliothek, HRESULT hr,
                             const QString &beschreibung);

// Thrown by a start-up step that cannot go on without its control; the start shows the message
// and ends the program.
struct SteuerelementFehlt
{
    QString meldung;
};

// Steps of the start-up that other modules provide. An empty step does nothing, except the
// login step: without it the main window shows itself.
struct Startschritte
{
    std::function<void()> loadButtnBar;       // builds the navigation bar
    std::function<void()> zeigeLogin;         // shows the Login window, modeless
    std::function<void()> RepariereDatenbank; // repairs the database file and reopens it
};
Startschritte &startschritte();

} // namespace modStart
