// Persistence entry points of the control. A new control starts from its defaults (InitNew); the
// needs-saving flag is kept; loading and saving the property set report E_NOTIMPL.
#include "control.h"

namespace navrail {

HRESULT NavrailControl::GetClassID(CLSID *pClassID)
{
    if (!pClassID)
        return E_POINTER;
    *pClassID = CLSID_LzNavrailBar;
    return S_OK;
}

HRESULT NavrailControl::IsDirty()
{
    return dirty_ ? S_OK : S_FALSE;
}

HRESULT NavrailControl::InitNew()
{
    return S_OK;
}

HRESULT NavrailControl::Load(IStream *pStm)
{
    return pStm ? E_NOTIMPL : E_POINTER;
}

HRESULT NavrailControl::Save(IStream *pStm, BOOL)
{
    return pStm ? E_NOTIMPL : E_POINTER;
}

HRESULT NavrailControl::GetSizeMax(ULARGE_INTEGER *pCbSize)
{
    return pCbSize ? E_NOTIMPL : E_POINTER;
}

HRESULT NavrailControl::Load(IPropertyBag *pPropBag, IErrorLog *)
{
    return pPropBag ? E_NOTIMPL : E_POINTER;
}

HRESULT NavrailControl::Save(IPropertyBag *pPropBag, BOOL, BOOL)
{
    return pPropBag ? E_NOTIMPL : E_POINTER;
}

} // namespace navrail
