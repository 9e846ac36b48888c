#include "registration.h"

#include "contacts/KontaktUebers.h"
#include "fishery/Fangbuch.h"
#include "core/modMain.h"
#include "core/modStart.h"
#include "workhours/modArbeit.h"


void RegistriereBereiche()
{
    modMain::RegistriereKern();

    auto &jahr = modStart::jahreswechsel();
    jahr.UebernehmeStunden = modArbeit::UebernehmeStunden;
    jahr.Ueberpruefe_auf_Uebertrag = modArbeit::Ueberpruefe_auf_Uebertrag;

    modMain::bereiche().ArbeitsZugriff_Erlaubt = modArbeit::ArbeitsZugriff_Erlaubt;

    fishery::RegistriereFangbuch();
    contacts::RegistriereKontakte();
}
