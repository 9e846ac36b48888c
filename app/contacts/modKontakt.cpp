#include "contacts/modKontakt.h"

#include "core/modGVar.h"
#include "core/trap.h"

#include "dao/dao.h"

namespace modKontakt {

bool ReinitialisiereJB()
{
    auto &g = gv();
    modRun::Trap trap(QStringLiteral("modKontakt"), QStringLiteral("ReinitialisiereJB"));
    return trap.write(*g.wsDaten, [&] { g.dbDaten.Execute("UPDATE Mitglied SET Bezahlt = 0"); });
}

} // namespace modKontakt
