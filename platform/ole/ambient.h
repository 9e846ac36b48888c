#pragma once
// Reading ambient properties through a control's site (ole/control.h). Each helper falls back to
// the given default when there is no site or the container does not know the property.
#include "com/variant.h"
#include "ole/font.h"
#include "ole/olecontrol.h"

namespace ole {

HRESULT ambientProperty(IControlSite *site, DISPID dispid, VARIANT *value);
bool ambientUserMode(IControlSite *site, bool def = true);
OLE_COLOR ambientBackColor(IControlSite *site, OLE_COLOR def);
OLE_COLOR ambientForeColor(IControlSite *site, OLE_COLOR def);
LCID ambientLocaleId(IControlSite *site, LCID def = LOCALE_GERMAN);
// The ambient font (queried for IFontDisp); null when there is none.
com::ComPtr<IFontDisp> ambientFont(IControlSite *site);
QString ambientDisplayName(IControlSite *site, const QString &def = QString());

} // namespace ole
