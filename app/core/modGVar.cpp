#include "core/modGVar.h"

#include "forms/form.h"

#include <algorithm>

namespace modGVar {

namespace {
std::unique_ptr<GVar> &instance()
{
    static std::unique_ptr<GVar> vars;
    return vars;
}
} // namespace

GVar &gv()
{
    auto &vars = instance();
    if (!vars)
        vars = std::make_unique<GVar>();
    return *vars;
}

void resetGv()
{
    instance() = std::make_unique<GVar>();
}

namespace {

const QString EDIT = QStringLiteral("EDIT");

// SAVE, no row, no window; then the fields of the window that held EDIT are emptied (the mode
// is given up first, so that an emptying that gives it up again finds nothing to do).
void gibModusAb()
{
    auto &g = gv();
    const QPointer<forms::Form> fenster = g.objModusFenster;
    const bool mitFenster = g.blnModusMitFenster;
    const std::function<void()> leere = std::move(g.fnLeereModusFenster);
    g.strModus = QStringLiteral("SAVE");
    g.lngDSNr = 0;
    g.blnModusMitFenster = false;
    g.objModusFenster.clear();
    g.fnLeereModusFenster = {};
    // An unloaded window is gone with its fields; emptying them would load it afresh.
    if (mitFenster && fenster && !fenster->isUnloaded() && leere)
        leere();
}

// A window unloaded while it held EDIT took its record with it: the mode is SAVE.
void vergissEntladenes()
{
    auto &g = gv();
    if (g.blnModusMitFenster && (!g.objModusFenster || g.objModusFenster->isUnloaded()))
        gibModusAb();
}

} // namespace

void SetzeEditModus(forms::Form &fenster, int zeile, std::function<void()> leereFelder)
{
    auto &g = gv();
    vergissEntladenes();
    if (g.strModus == EDIT && g.blnModusMitFenster && g.objModusFenster != &fenster)
        gibModusAb();
    g.strModus = EDIT;
    g.lngDSNr = zeile;
    g.blnModusMitFenster = true;
    g.objModusFenster = &fenster;
    g.fnLeereModusFenster = std::move(leereFelder);
}

bool ImEditModus(const forms::Form &fenster)
{
    vergissEntladenes();
    const auto &g = gv();
    return g.strModus == EDIT && (!g.blnModusMitFenster || g.objModusFenster == &fenster);
}

void VerlasseEditModus(const forms::Form &fenster)
{
    if (ImEditModus(fenster))
        gibModusAb();
}

void SetzeSpeicherModus()
{
    gibModusAb();
}

void SetzeKeinNeuLaden(const forms::Form &fenster)
{
    auto &marken = gv().objKeinNeuLaden;
    std::erase_if(marken, [&](const QPointer<forms::Form> &f) { return f.isNull() || f == &fenster; });
    marken.emplace_back(const_cast<forms::Form *>(&fenster));
}

bool KeinNeuLaden(const forms::Form &fenster)
{
    const auto &g = gv();
    return std::any_of(g.objKeinNeuLaden.begin(), g.objKeinNeuLaden.end(),
                       [&](const QPointer<forms::Form> &f) { return f == &fenster; });
}

bool NimmKeinNeuLaden(const forms::Form &fenster)
{
    auto &g = gv();
    const bool markiert = KeinNeuLaden(fenster);
    std::erase_if(g.objKeinNeuLaden, [&](const QPointer<forms::Form> &f) { return f.isNull() || f == &fenster; });
    return markiert;
}

} // namespace modGVar
