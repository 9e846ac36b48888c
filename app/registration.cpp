#include "registration.h"

#include "contacts/KontaktUebers.h"
#include "fishery/Fangbuch.h"
#include "core/modMain.h"
#include "core/plugins.h"
#include "workhours/modArbeit.h"

void RegistriereBereiche()
{
    modMain::RegistriereKern();

    auto &e = core::einstiege();
    e.jahreswechsel.UebernehmeStunden = modArbeit::UebernehmeStunden;
    e.jahreswechsel.Ueberpruefe_auf_Uebertrag = modArbeit::Ueberpruefe_auf_Uebertrag;
    e.bereiche.ArbeitsZugriff_Erlaubt = modArbeit::ArbeitsZugriff_Erlaubt;

    fishery::RegistriereFangbuch();
    contacts::RegistriereKontakte();
}
