#pragma once
// Contacts and members.

namespace modKontakt {

// Marks every member's annual fee as not paid (Mitglied.Bezahlt = False), in one transaction.
// False after a failure, which the error box reports.
bool ReinitialisiereJB();

} // namespace modKontakt
