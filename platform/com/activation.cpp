#include "com/activation.h"
#include "com/dispatch.h"
#include "com/interfaces.h"
#include "com/object.h"
#include "com/registry.h"
#include "internal_p.h"
#include "ole/font.h"
#include "ole/picture.h"

#include <QDir>
#include <QFileInfo>

#include <dlfcn.h>

#include <map>
#include <mutex>

namespace {

struct Library
{
    void *handle = nullptr;
    PFN_DllGetClassObject getClassObject = nullptr;
    PFN_DllCanUnloadNow canUnloadNow = nullptr;
};

std::mutex g_libMutex;
std::map<QString, Library> g_libraries;

// Class factory of the runtime's own classes.
class BuiltinFactory final : public com::ComObject<IClassFactory>
{
public:
    explicit BuiltinFactory(com::CreateFn create) : ComObject(com::ModuleCount::NotCounted), create_(create) {}
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID riid, void **ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        return create_(outer, riid, ppv);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    com::CreateFn create_;
};

com::CreateFn builtinClass(REFCLSID clsid)
{
    if (clsid == CLSID_StdComponentCategoriesMgr)
        return &com::internal::createCategoryManager;
    if (clsid == CLSID_StdFont)
        return &com::internal::createStdFont;
    if (clsid == CLSID_StdPicture)
        return &com::internal::createStdPicture;
    return nullptr;
}

HRESULT loadLibrary(const QString &path, Library *out)
{
    std::lock_guard lock(g_libMutex);
    auto it = g_libraries.find(path);
    if (it != g_libraries.end()) {
        *out = it->second;
        return S_OK;
    }
    if (QFileInfo::exists(path)) {
        QString why;
        if (!com::checkLibraryImage(path, &why))
            return com::reportError(CO_E_ERRORINDLL, GUID_NULL, QStringLiteral("CoGetClassObject"),
                                    QStringLiteral("Bibliothek %1 ist beschädigt: %2").arg(path, why));
    }
    dlerror();
    void *h = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!h) {
        const char *why = dlerror();
        return com::reportError(
            CO_E_DLLNOTFOUND, GUID_NULL, QStringLiteral("CoGetClassObject"),
            QStringLiteral("Bibliothek %1 nicht ladbar: %2").arg(path, QString::fromLocal8Bit(why ? why : "")));
    }
    Library lib;
    lib.handle = h;
    lib.getClassObject = reinterpret_cast<PFN_DllGetClassObject>(dlsym(h, "DllGetClassObject"));
    lib.canUnloadNow = reinterpret_cast<PFN_DllCanUnloadNow>(dlsym(h, "DllCanUnloadNow"));
    if (!lib.getClassObject) {
        dlclose(h);
        return com::reportError(CO_E_ERRORINDLL, GUID_NULL, QStringLiteral("CoGetClassObject"),
                                QStringLiteral("Bibliothek %1 hat kein DllGetClassObject").arg(path));
    }
    g_libraries.emplace(path, lib);
    *out = lib;
    return S_OK;
}

} // namespace

HRESULT CoInitialize(LPVOID)
{
    return S_OK;
}
HRESULT CoInitializeEx(LPVOID, DWORD)
{
    return S_OK;
}
void CoUninitialize()
{}
HRESULT OleInitialize(LPVOID)
{
    return S_OK;
}
void OleUninitialize()
{}

HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, LPVOID pServerInfo, REFIID riid, LPVOID *ppv)
{
    if (!ppv)
        return E_INVALIDARG;
    *ppv = nullptr;
    if (pServerInfo)
        return E_INVALIDARG;
    if (!(dwClsContext & CLSCTX_INPROC))
        return REGDB_E_CLASSNOTREG;
    if (com::CreateFn create = builtinClass(rclsid)) {
        auto *f = new (std::nothrow) BuiltinFactory(create);
        if (!f)
            return E_OUTOFMEMORY;
        f->AddRef();
        HRESULT hr = f->QueryInterface(riid, ppv);
        f->Release();
        return hr;
    }
    if (com::reg::status() != ERROR_SUCCESS)
        return REGDB_E_READREGDB;
    const QString clsidKey = QStringLiteral("CLSID\\") + com::guidToString(rclsid);
    QString path;
    if (com::reg::readString(com::reg::Hive::ClassesRoot, clsidKey + QStringLiteral("\\InprocServer32"), QString(),
                             &path) != ERROR_SUCCESS ||
        path.trimmed().isEmpty())
        return REGDB_E_CLASSNOTREG;
    path = path.trimmed();
    if (!QDir::isAbsolutePath(path) || !path.startsWith(u'/'))
        return com::reportError(CO_E_BAD_PATH, GUID_NULL, QStringLiteral("CoGetClassObject"),
                                QStringLiteral("Kein vollständiger Pfad: %1").arg(path));
    Library lib;
    HRESULT hr = loadLibrary(path, &lib);
    if (FAILED(hr))
        return hr;
    return lib.getClassObject(rclsid, riid, ppv);
}

HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown *pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID *ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    com::ComPtr<IClassFactory> factory;
    HRESULT hr = CoGetClassObject(rclsid, dwClsContext, nullptr, IID_IClassFactory, factory.putVoid());
    if (FAILED(hr))
        return hr;
    if (!factory)
        return CLASS_E_CLASSNOTAVAILABLE;
    return factory->CreateInstance(pUnkOuter, riid, ppv);
}

void CoFreeUnusedLibraries()
{
    std::lock_guard lock(g_libMutex);
    for (auto it = g_libraries.begin(); it != g_libraries.end();) {
        if (it->second.canUnloadNow && it->second.canUnloadNow() == S_OK) {
            dlclose(it->second.handle);
            it = g_libraries.erase(it);
        } else {
            ++it;
        }
    }
}

HRESULT CLSIDFromProgID(LPCOLESTR lpszProgID, LPCLSID lpclsid)
{
    if (!lpszProgID || !lpclsid)
        return E_INVALIDARG;
    *lpclsid = GUID_NULL;
    QString progId = com::fromWide(lpszProgID).trimmed();
    if (progId.isEmpty() || progId.contains(u'\\'))
        return CO_E_CLASSSTRING;
    if (com::reg::status() != ERROR_SUCCESS)
        return REGDB_E_READREGDB;
    QString text;
    for (int hop = 0; hop < 2; ++hop) {
        if (com::reg::readString(com::reg::Hive::ClassesRoot, progId + QStringLiteral("\\CLSID"), QString(), &text) ==
            ERROR_SUCCESS)
            return com::guidFromString(text, lpclsid) ? S_OK : CO_E_CLASSSTRING;
        QString cur;
        if (com::reg::readString(com::reg::Hive::ClassesRoot, progId + QStringLiteral("\\CurVer"), QString(), &cur) !=
                ERROR_SUCCESS ||
            cur.isEmpty() || cur.contains(u'\\'))
            break;
        progId = cur;
    }
    return CO_E_CLASSSTRING;
}

HRESULT ProgIDFromCLSID(REFCLSID clsid, LPOLESTR *lplpszProgID)
{
    if (!lplpszProgID)
        return E_INVALIDARG;
    *lplpszProgID = nullptr;
    if (com::reg::status() != ERROR_SUCCESS)
        return REGDB_E_READREGDB;
    QString progId;
    if (com::reg::readString(com::reg::Hive::ClassesRoot,
                             QStringLiteral("CLSID\\") + com::guidToString(clsid) + QStringLiteral("\\ProgID"),
                             QString(), &progId) != ERROR_SUCCESS ||
        progId.isEmpty())
        return REGDB_E_CLASSNOTREG;
    auto *s = static_cast<LPOLESTR>(CoTaskMemAlloc((size_t(progId.size()) + 1) * sizeof(OLECHAR)));
    if (!s)
        return E_OUTOFMEMORY;
    std::memcpy(s, progId.utf16(), size_t(progId.size()) * sizeof(OLECHAR));
    s[progId.size()] = 0;
    *lplpszProgID = s;
    return S_OK;
}

HRESULT UnRegisterTypeLib(REFGUID libID, WORD wVerMajor, WORD wVerMinor, LCID, int)
{
    return com::unregisterTypeLibrary(libID, wVerMajor, wVerMinor);
}

namespace com {

QString modulePath(const void *addressInModule)
{
    Dl_info info;
    if (!dladdr(addressInModule, &info) || !info.dli_fname)
        return QString();
    QFileInfo fi(QFile::decodeName(info.dli_fname));
    QString canonical = fi.canonicalFilePath();
    return canonical.isEmpty() ? fi.absoluteFilePath() : canonical;
}

HRESULT registerTypeLibrary(const GUID &libid, WORD major, WORD minor, const QString &helpString,
                            const QString &modulePath)
{
    const QString key = QStringLiteral("TypeLib\\%1\\%2.%3").arg(guidToString(libid)).arg(major).arg(minor, 0, 16);
    reg::Batch batch;
    if (reg::writeString(reg::Hive::ClassesRoot, key, QString(), helpString) != ERROR_SUCCESS ||
        reg::writeString(reg::Hive::ClassesRoot, key + QStringLiteral("\\0\\linux"), QString(), modulePath) !=
            ERROR_SUCCESS ||
        reg::writeString(reg::Hive::ClassesRoot, key + QStringLiteral("\\HELPDIR"), QString(),
                         QFileInfo(modulePath).absolutePath()) != ERROR_SUCCESS)
        return SELFREG_E_TYPELIB;
    return batch.commit() == ERROR_SUCCESS ? S_OK : SELFREG_E_TYPELIB;
}

HRESULT unregisterTypeLibrary(const GUID &libid, WORD major, WORD minor)
{
    const QString libKey = QStringLiteral("TypeLib\\") + guidToString(libid);
    const QString key = libKey + QStringLiteral("\\%1.%2").arg(major).arg(minor, 0, 16);
    reg::Batch batch;
    LONG r = reg::deleteTree(reg::Hive::ClassesRoot, key);
    if (r != ERROR_SUCCESS && r != ERROR_FILE_NOT_FOUND)
        return TYPE_E_LIBNOTREGISTERED;
    QStringList rest;
    if (reg::subKeys(reg::Hive::ClassesRoot, libKey, &rest) == ERROR_SUCCESS && rest.isEmpty())
        reg::deleteTree(reg::Hive::ClassesRoot, libKey);
    return batch.commit() == ERROR_SUCCESS ? S_OK : TYPE_E_LIBNOTREGISTERED;
}

QStringList loadedLibraries()
{
    std::lock_guard lock(g_libMutex);
    QStringList r;
    for (const auto &[path, lib] : g_libraries)
        r << path;
    return r;
}

} // namespace com
