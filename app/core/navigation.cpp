#include "core/navigation.h"

namespace navigation {

const Eintrag *ZuSchluessel(const QString &key)
{
    for (const Eintrag *e : Eintraege)
        if (key == e->key)
            return e;
    return nullptr;
}

const Eintrag *ZuRecht(modStart::Recht recht)
{
    for (const Eintrag *e : Eintraege)
        if (e->recht == recht)
            return e;
    return nullptr;
}

} // namespace navigation
