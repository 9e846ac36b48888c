#include "core/modGVar.h"

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

void SetzeSpeicherModus()
{
    gv().strModus = QStringLiteral("SAVE");
    gv().lngDSNr = 0;
}

} // namespace modGVar
