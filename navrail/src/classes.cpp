// The library module: the class table, the four exported entry points and self-registration.
#include "classes.h"

#include "control.h"
#include "groups.h"
#include "items.h"
#include "regscripts.h"
#include "tabs.h"

#include <QMap>
#include <vector>

TV_COM_MODULE()

namespace navrail {

std::span<const ClassInfo> classTable()
{
    static const ClassInfo table[] = {
        {&CLSID_LzNavrailBar, &com::createInstance<NavrailControl>, 102, scripts::kLzNavrailBar},
        {&CLSID_LzNavrailGroups, &com::createInstance<GroupsCollection>, 106, scripts::kLzNavrailGroups},
        {&CLSID_LzNavrailGroup, &com::createInstance<Group>, 104, scripts::kLzNavrailGroup},
        {&CLSID_LzNavrailItems, &com::createInstance<ItemsCollection>, 108, scripts::kLzNavrailItems},
        {&CLSID_LzNavrailItem, &com::createInstance<Item>, 110, scripts::kLzNavrailItem},
        {&CLSID_GeneralPropPage, &createGeneralPropPage, 114, scripts::kGeneralPropPage},
        {&CLSID_MenuProp, &createMenuPropPage, 119, scripts::kMenuProp},
        {&CLSID_LzTabsSet, &com::createInstance<TabsSet>, 122, scripts::kLzTabsSet},
        {&CLSID_LzTabs, &com::createInstance<TabsCollection>, 124, scripts::kLzTabs},
        {&CLSID_LzTab, &com::createInstance<Tab>, 126, scripts::kLzTab},
    };
    return table;
}

QString modulePath()
{
    return com::modulePath(reinterpret_cast<const void *>(&modulePath));
}

namespace {

HRESULT runScripts(bool doRegister)
{
    const QMap<QString, QString> replacements{{QStringLiteral("MODULE"), modulePath()}};
    for (const ClassInfo &c : classTable()) {
        HRESULT hr = com::runRegistryScript(QString::fromUtf8(c.script), doRegister, replacements);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

} // namespace

HRESULT registerServer()
{
    com::reg::Batch batch;
    HRESULT hr = runScripts(true);
    if (FAILED(hr))
        return hr;
    hr = com::registerTypeLibrary(LIBID_NAVRAILBARLib, NAVRAILBARLib_MajorVersion, NAVRAILBARLib_MinorVersion,
                                  QStringLiteral("Larkspire NavrailBar"), modulePath());
    if (FAILED(hr))
        return hr;
    return batch.commit() == ERROR_SUCCESS ? S_OK : REGDB_E_WRITEREGDB;
}

HRESULT unregisterServer()
{
    // The control may have been put into the safe categories by an installer; its result does
    // not matter.
    {
        ComPtr<ICatRegister> categories;
        if (SUCCEEDED(CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER,
                                       ICatRegister::iid, categories.putVoid())) &&
            categories) {
            CATID safe[] = {CATID_SafeForInitializing, CATID_SafeForScripting};
            categories->UnRegisterClassImplCategories(CLSID_LzNavrailBar, 2, safe);
        }
    }
    com::reg::Batch batch;
    HRESULT hr = runScripts(false);
    if (FAILED(hr))
        return hr;
    hr = com::unregisterTypeLibrary(LIBID_NAVRAILBARLib, NAVRAILBARLib_MajorVersion, NAVRAILBARLib_MinorVersion);
    if (FAILED(hr))
        return hr;
    return batch.commit() == ERROR_SUCCESS ? S_OK : REGDB_E_WRITEREGDB;
}

} // namespace navrail

TV_COM_EXPORT HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void **ppv)
{
    std::vector<com::ClassEntry> entries;
    for (const navrail::ClassInfo &c : navrail::classTable())
        entries.push_back({c.clsid, c.create});
    return com::getClassObject(entries, rclsid, riid, ppv);
}

TV_COM_EXPORT HRESULT DllCanUnloadNow()
{
    return com::moduleLock().canUnloadNow();
}

TV_COM_EXPORT HRESULT DllRegisterServer()
{
    return navrail::registerServer();
}

TV_COM_EXPORT HRESULT DllUnregisterServer()
{
    return navrail::unregisterServer();
}
