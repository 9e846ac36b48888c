#pragma once
// The library's class table and self-registration.
#include "common.h"

#include <QString>
#include <span>

namespace navrail {

// One class of the library, in the order of the class table (the order of registration).
struct ClassInfo
{
    const CLSID *clsid;
    com::CreateFn create;
    int scriptId;       // id of the class's registry script
    const char *script; // the registry script (%MODULE% is the library's full path)
};

std::span<const ClassInfo> classTable();
// The library's full path.
QString modulePath();
HRESULT registerServer();
HRESULT unregisterServer();

// Creation of the two property pages.
HRESULT createGeneralPropPage(IUnknown *outer, REFIID riid, void **ppv);
HRESULT createMenuPropPage(IUnknown *outer, REFIID riid, void **ppv);

} // namespace navrail
