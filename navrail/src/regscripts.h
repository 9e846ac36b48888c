#pragma once
// Registry scripts of the library's classes (see regscripts.cpp).

namespace navrail::scripts {

extern const char *const kLzNavrailBar;
extern const char *const kLzNavrailGroups;
extern const char *const kLzNavrailGroup;
extern const char *const kLzNavrailItems;
extern const char *const kLzNavrailItem;
extern const char *const kGeneralPropPage;
extern const char *const kMenuProp;
extern const char *const kLzTabsSet;
extern const char *const kLzTabs;
extern const char *const kLzTab;

} // namespace navrail::scripts
