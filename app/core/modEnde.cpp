#include "core/modEnde.h"
#include "core/modGVar.h"

namespace modEnde {

void SchliesseDatenbank()
{
    if (gv().dbDaten.IsOpen())
        gv().dbDaten.Close();
}

} // namespace modEnde
