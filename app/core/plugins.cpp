#include "core/plugins.h"

namespace core {

Einstiege &einstiege()
{
    static Einstiege e;
    return e;
}

void RegistriereFenster(const QString &key, Fensterfabrik fabrik)
{
    if (fabrik)
        einstiege().fenster.insert(key, std::move(fabrik));
    else
        einstiege().fenster.remove(key);
}

forms::Form *Fenster(const QString &key)
{
    const auto &fenster = einstiege().fenster;
    const auto it = fenster.constFind(key);
    if (it == fenster.constEnd() || !*it)
        return nullptr;
    return (*it)();
}

void LeereEinstiege()
{
    einstiege() = {};
}

} // namespace core
