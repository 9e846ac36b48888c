#include "registration.h"

#include "contacts/KontaktUebers.h"
#include "fishery/Fangbuch.h"
#include "core/modMain.h"
#include "core/modStart.h"
#include "workhours/Arbeit.h"


void RegistriereBereiche()
{
    modMain::RegistriereKern();

    fishery::RegistriereFangbuch();
    contacts::RegistriereKontakte();
    workhours::RegistriereArbeit();
}
