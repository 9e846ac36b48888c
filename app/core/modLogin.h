#pragma once
// The login sequence of the Login window.

namespace modLogin {

// Checks name and password; on success applies the rights, runs the roll-over check, loads
// all lists with the splash window up, shows the main window with the catch log (or, without
// the right to it, the first item left) and unloads Login. A refused login empties both boxes
// for another try; a declined year change closes the database and ends the program.
void StarteLogin();

// The login's last step: shows the catch log in the main window (or, without the right to it, the
// first item left; nothing when none is left).
void ZeigeErstesFenster();

} // namespace modLogin
