// The library's entry points: class objects, unloading and self-registration.
#include "DatePropPages.h"
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

const std::array<com::ClassEntry, 5> kClasses{{
    {&CLSID_LzDate2, &createControl},
    {&CLSID_LzDatePPage, &createStylesPage},
    {&CLSID_CFormatPPage, &createFormatPage},
    {&CLSID_CCalendarFormatPropPage, &createCalendarPage},
    {&CLSID_CInfoPage, &createInfoPage},
}};

// Registration of the control class: ProgID, in-process server, insertable, apartment-threaded,
// misc status 0x00020191 (131473), type name string 1, toolbox bitmap 1; and of its four property
// pages with their ProgIDs and type names.
const char kRegistryScript[] = R"(HKCR
{
    LZDATE2.LzDate2.1 = s 'LzDate2 Control'
    {
        CLSID = s '{CC696B63-4159-11D0-BDCB-0020A90B183A}'
        Insertable
    }
    LZDATE2.LzDatePPage.1 = s 'LzDate Property Page'
    {
        CLSID = s '{CC696B64-4159-11D0-BDCB-0020A90B183A}'
    }
    LZDATE2.CFormatPPage = s 'LzDate PPageFormat'
    {
        CLSID = s '{EFF2CE22-4DB9-11D0-BDCB-0020A90B183A}'
    }
    lzDate0.CCalendarFormatPropPage = s 'Calendar Property Page'
    {
        CLSID = s '{8F50D8D4-F91E-11D3-9DCC-00A0CC3A1AD6}'
    }
    LZDATE2.CInfoPage = s 'LzDate PPageInfo'
    {
        CLSID = s '{FC2EE801-5425-11D0-BDCB-0020A90B183A}'
    }
    NoRemove CLSID
    {
        ForceRemove {CC696B64-4159-11D0-BDCB-0020A90B183A} = s 'LzDate Property Page'
        {
            ProgID = s 'LZDATE2.LzDatePPage.1'
            InprocServer32 = s '%MODULE%'
            {
                val ThreadingModel = s 'Apartment'
            }
        }
        ForceRemove {EFF2CE22-4DB9-11D0-BDCB-0020A90B183A} = s 'LzDate PPageFormat'
        {
            ProgID = s 'LZDATE2.CFormatPPage'
            InprocServer32 = s '%MODULE%'
            {
                val ThreadingModel = s 'Apartment'
            }
        }
        ForceRemove {8F50D8D4-F91E-11D3-9DCC-00A0CC3A1AD6} = s 'Calendar Property Page'
        {
            ProgID = s 'lzDate0.CCalendarFormatPropPage'
            InprocServer32 = s '%MODULE%'
            {
                val ThreadingModel = s 'Apartment'
            }
        }
        ForceRemove {FC2EE801-5425-11D0-BDCB-0020A90B183A} = s 'LzDate PPageInfo'
        {
            ProgID = s 'LZDATE2.CInfoPage'
            InprocServer32 = s '%MODULE%'
            {
                val ThreadingModel = s 'Apartment'
            }
        }
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
    HRESULT hr =
        com::runRegistryScript(QString::fromUtf8(lzdate::kRegistryScript), true, {{QStringLiteral("MODULE"), path}});
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
