#pragma once
// Users and groups: insert, change and delete on the one Benutzer window (created on first
// use), and the rights of a group.
//
// Writes run in one transaction; the grids change only after the commit, and a grid row is
// found by its key (column 0), never by a remembered row position. Deleting a group deletes
// its users (the relation cascades); their rows leave the users grid, and a renamed group is
// renamed in the users grid too.
//
// Names are unique: a user name exactly (login compares it exactly), a group name as the
// database compares it (without regard to case), since a user's group is looked up by name.
// Three changes are refused with a message, each leaving database and grids as they were:
// deleting the logged-in user or the group he belongs to, and any change after which no user
// would hold the right Benutzerverwaltung any more (nobody could administer the club then).
// The rights take effect at the next login.
#include <QString>
#include <QtGlobal>

namespace dao {
class Recordset;
}

namespace modBenutzer {

// Inserts the user of the entry fields. False when refused or the write failed (the fields
// keep what was typed); true otherwise, also when the group is unknown (message, fields
// emptied).
bool SpeicherBenutzer();
// Exact, case-sensitive comparison.
bool PruefeGleichheit(const QString &a, const QString &b);
// The number of the one group of that name; 0 and the box "Keine Benutzergruppe angelegt! ..."
// when there is none (or more than one).
qint32 ErmittleGNr(const QString &name);
// The name of group nr; "0" when there is none.
QString ErmittleGName(qint32 nr);
// Inserts the group of the entry fields with its rights. False when refused or failed.
bool SpeicherBG();
// Writes the ten right boxes into the record (in AddNew or Edit).
void SichereZugriff(dao::Recordset &rs);
// Sets the ten right boxes from a row of the groups grid.
void LadeZugriff(int row);
// Empties the entry fields of the tab shown (focus into its name box); both tabs, without
// moving the focus.
void LeereBVFelder();
void LeereAlleBVFelder();
// Fill the entry fields from a grid row (the column is not used).
void loadBAuswahl(int row, int col);
void loadBGAuswahl(int row, int col);
// Rewrite the user (group) whose number the number label shows; row is the grid row it was
// loaded from (a hint only). True when done (not found included), false when refused or the
// write failed.
bool UpdateBenutzer(int row);
bool UpdateBG(int row);
// Delete the user (group) whose number the number label shows. True when done (not found
// included), false when refused or the write failed.
bool LoescheBenutzer(int row);
bool LoescheZugriff(int row);
// User name and group filled in (group name alone); else the input-error box.
bool PruefeBenutzerEingabe();
bool PruefeBGEingabe();

} // namespace modBenutzer
