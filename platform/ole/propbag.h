#pragma once
// An in-memory property bag. Names compare case-insensitively. Write stores a copy (objects with a
// reference); Read of a missing name gives E_INVALIDARG and logs it to the error log when given;
// Read converts to the type the caller's variant arrives with (VT_EMPTY: as stored).
#include "com/interfaces.h"

#include <QStringList>

namespace ole {

class PropertyBag;
com::ComPtr<IPropertyBag> createPropertyBag();
// Names in the bag in the order first written (bags made by createPropertyBag only).
QStringList propertyBagNames(IPropertyBag *bag);
// Removes a name (bags made by createPropertyBag only); false when absent.
bool propertyBagRemove(IPropertyBag *bag, const QString &name);

} // namespace ole
