// The property pages of the control (GeneralPropPage, MenuProp). Their class objects are served;
// creating a page reports E_NOTIMPL, so a property frame leaves the pages out.
#include "classes.h"

namespace navrail {

HRESULT createGeneralPropPage(IUnknown *outer, REFIID, void **ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    return outer ? CLASS_E_NOAGGREGATION : E_NOTIMPL;
}

HRESULT createMenuPropPage(IUnknown *outer, REFIID, void **ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    return outer ? CLASS_E_NOAGGREGATION : E_NOTIMPL;
}

} // namespace navrail
