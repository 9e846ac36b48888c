#include "bereiche.h"

#include "contacts/KontaktUebers.h"
#include "core/modMain.h"
#include "fishery/Besatzung.h"
#include "fishery/Fangauswertung.h"
#include "fishery/Fangbuch.h"
#include "workhours/Arbeit.h"
#include "workhours/MitglList.h"

void RegistriereBereiche()
{
    modMain::RegistriereKern();

    fishery::RegistriereFangbuch();
    fishery::RegistriereFangauswertung();
    fishery::RegistriereBesatzung();
    contacts::RegistriereKontakte();
    workhours::RegistriereArbeit();
    workhours::RegistriereMitglList();
}
