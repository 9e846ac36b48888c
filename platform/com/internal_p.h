#pragma once
// Runtime-internal: the classes the runtime serves itself.
#include "com/unknown.h"

namespace com::internal {
HRESULT createCategoryManager(IUnknown *outer, REFIID riid, void **ppv);
HRESULT createStdFont(IUnknown *outer, REFIID riid, void **ppv);
HRESULT createStdPicture(IUnknown *outer, REFIID riid, void **ppv);
} // namespace com::internal
