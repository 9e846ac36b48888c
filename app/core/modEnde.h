#pragma once
// Closing the application database.

namespace modEnde {

// Closes gv().dbDaten; nothing happens when it is not open. No error trap.
void SchliesseDatenbank();

} // namespace modEnde
