// The library's entry points: class objects, unloading and self-registration.
#include "IntlPort.h"
#include "LzDate2Control.h"
#include "LzDateEdit.h"

#include "com/activation.h"
#include "com/object.h"
#include "com/registry.h"
#include "com/regscript.h"

#include <array>

TV_COM_MODULE()

namespace lzdate {
namespace {

// The system's "intl" settings from the registry.
class RegistryIntlPort final : public IntlPort
{
public:
    std::optional<QString> profileString(const QString &key) const override
    {
        const QString v = com::reg::profileString(QStringLiteral("intl"), key, QString());
        if (v.isEmpty())
            return std::nullopt;
        return v;
    }
};

RegistryIntlPort g_registryIntl;

HRESULT createControl(IUnknown *outer, REFIID riid, void **ppv)
{
    // Without an installed port the library reads the registry.
    static const bool installed = [] {
        setIntlPort(&g_registryIntl);
        return true;
    }();
    (void)installed;
    return com::createInstance<LzDate2Control>(outer, riid, ppv);
}

const std::array<com::ClassEntry, 1> kClasses{{{&CLSID_LzDate2, &createControl}}};

// Registration of the control class: ProgID, in-process server, insertable, apartment-threaded,
// misc status 0x00020191 (131473), type name string 1, toolbox bitmap 1.
const char kRegistryScript[] = R"(HKCR
{
    LZDATE2.LzDate2.1 = s 'LzDate2 Control'
    {
        CLSID = s '{CC696B63-4159-11D0-BDCB-0020A90B183A}'
        Insertable
    }
    NoRemove CLSID
    {
        ForceRemove {CC696B63-4159-11D0-BDCB-0020A90B183A} = s 'LzDate2 Control'
        {
            ProgID = s 'LZDATE2.LzDate2.1'
            InprocServer32 = s '%MODULE%'
            {
                val ThreadingModel = s 'Apartment'
            }
            Insertable
            Control
            'MiscStatus' = s '0'
            {
                '1' = s '131473'
            }
            ToolboxBitmap32 = s '%MODULE%, 1'
            TypeLib = s '{CC696B60-4159-11D0-BDCB-0020A90B183A}'
            Version = s '8.0'
        }
    }
}
)";

QString ownPath()
{
    return com::modulePath(reinterpret_cast<const void *>(&createControl));
}

} // namespace
} // namespace lzdate

TV_COM_EXPORT HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void **ppv)
{
    return com::getClassObject(lzdate::kClasses, rclsid, riid, ppv);
}

TV_COM_EXPORT HRESULT DllCanUnloadNow()
{
    return com::moduleLock().canUnloadNow();
}

TV_COM_EXPORT HRESULT DllRegisterServer()
{
    const QString path = lzdate::ownPath();
    if (path.isEmpty())
        return SELFREG_E_CLASS;
    HRESULT hr = com::runRegistryScript(QString::fromUtf8(lzdate::kRegistryScript), true,
                                        {{QStringLiteral("MODULE"), path}});
    if (FAILED(hr))
        return hr;
    hr = com::registerTypeLibrary(LIBID_LZDATE2Lib, LZDATE2Lib_VersionMajor, LZDATE2Lib_VersionMinor,
                                  QString::fromUtf16(LZDATE2Lib_HelpString), path);
    return FAILED(hr) ? SELFREG_E_TYPELIB : S_OK;
}

TV_COM_EXPORT HRESULT DllUnregisterServer()
{
    const HRESULT hr = com::runRegistryScript(QString::fromUtf8(lzdate::kRegistryScript), false,
                                              {{QStringLiteral("MODULE"), lzdate::ownPath()}});
    if (FAILED(hr))
        return hr;
    return FAILED(com::unregisterTypeLibrary(LIBID_LZDATE2Lib, LZDATE2Lib_VersionMajor, LZDATE2Lib_VersionMinor))
               ? SELFREG_E_TYPELIB
               : S_OK;
}
