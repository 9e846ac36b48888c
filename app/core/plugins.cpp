#include "core/plugins.h"

namespace core {

Einstiege &einstiege()
{
    static Einstiege e;
    return e;
}

void RegistriereFenster(const QString &key, Fensterfabrik fabrik, Fensterfabrik geladen)
{
    auto &e = einstiege();
    if (fabrik)
        e.fenster.insert(key, std::move(fabrik));
    else
        e.fenster.remove(key);
    if (e.fenster.contains(key) && geladen)
        e.geladen.insert(key, std::move(geladen));
    else
        e.geladen.remove(key);
}

forms::Form *Fenster(const QString &key)
{
    const auto &fenster = einstiege().fenster;
    const auto it = fenster.constFind(key);
    if (it == fenster.constEnd() || !*it)
        return nullptr;
    return (*it)();
}

forms::Form *GeladenesFenster(const QString &key)
{
    const auto &geladen = einstiege().geladen;
    const auto it = geladen.constFind(key);
    if (it == geladen.constEnd())
        return Fenster(key);
    return (*it)();
}

void LeereEinstiege()
{
    einstiege() = {};
}

} // namespace core
