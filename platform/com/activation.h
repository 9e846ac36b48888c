#pragma once
// Creating objects by class identifier, GUID text forms, task memory, and the helpers a component
// library needs for self-registration (its own full path, type-library registration).
//
// CoGetClassObject / CoCreateInstance read HKEY_CLASSES_ROOT\CLSID\{clsid}\InprocServer32 (default
// value: the library's full path), load that library with dlopen by exactly that path (a bare or
// relative name is refused with CO_E_BAD_PATH), keep it loaded, and call its DllGetClassObject.
// Results: REGDB_E_CLASSNOTREG for a class that is not registered, CO_E_DLLNOTFOUND when the library
// is missing or cannot be loaded, CO_E_ERRORINDLL when the file is damaged (cut, not a shared object
// of this machine: see checkLibraryImage) or lacks DllGetClassObject, REGDB_E_READREGDB for a damaged
// registry; CLASS_E_CLASSNOTAVAILABLE when the library does not serve the class. The runtime serves
// some classes itself without the registry: CLSID_StdFont, CLSID_StdPicture (ole/) and
// CLSID_StdComponentCategoriesMgr.
#include "com/unknown.h"

#include <QString>

inline constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
inline constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
inline constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
inline constexpr DWORD CLSCTX_REMOTE_SERVER = 0x10;
inline constexpr DWORD CLSCTX_INPROC = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER;
inline constexpr DWORD CLSCTX_ALL =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
inline constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;

// Initialisation calls exist for callers written to them; they do nothing and return S_OK.
TV_COM_EXPORT HRESULT CoInitialize(LPVOID pvReserved);
TV_COM_EXPORT HRESULT CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit);
TV_COM_EXPORT void CoUninitialize();
TV_COM_EXPORT HRESULT OleInitialize(LPVOID pvReserved);
TV_COM_EXPORT void OleUninitialize();

// Only CLSCTX_INPROC_SERVER classes exist; pServerInfo must be null.
TV_COM_EXPORT HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, LPVOID pServerInfo, REFIID riid,
                                       LPVOID *ppv);
TV_COM_EXPORT HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown *pUnkOuter, DWORD dwClsContext, REFIID riid,
                                       LPVOID *ppv);
// Unloads loaded libraries whose DllCanUnloadNow answers S_OK.
TV_COM_EXPORT void CoFreeUnusedLibraries();

// HKCR\<ProgID>\CLSID (following CurVer once when the ProgID has no CLSID of its own);
// CO_E_CLASSSTRING when the ProgID is unknown.
TV_COM_EXPORT HRESULT CLSIDFromProgID(LPCOLESTR lpszProgID, LPCLSID lpclsid);
// HKCR\CLSID\{clsid}\ProgID; the string is allocated with CoTaskMemAlloc. REGDB_E_CLASSNOTREG
// when the class or its ProgID is not registered.
TV_COM_EXPORT HRESULT ProgIDFromCLSID(REFCLSID clsid, LPOLESTR *lplpszProgID);

// Text form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (upper case, 38 characters).
// StringFromGUID2 returns the characters written including the terminator, 0 when cchMax < 39.
TV_COM_EXPORT int StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax);
TV_COM_EXPORT HRESULT StringFromCLSID(REFCLSID rclsid, LPOLESTR *lplpsz); // CoTaskMemAlloc'd
TV_COM_EXPORT HRESULT StringFromIID(REFIID rclsid, LPOLESTR *lplpsz);
// Accepts the braced text form (any case); CLSIDFromString also accepts a registered ProgID.
// CO_E_CLASSSTRING for text that is neither (*pclsid is then GUID_NULL). E_INVALIDARG for null.
TV_COM_EXPORT HRESULT CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid);
TV_COM_EXPORT HRESULT IIDFromString(LPCOLESTR lpsz, IID *lpiid);

TV_COM_EXPORT LPVOID CoTaskMemAlloc(std::size_t cb);
TV_COM_EXPORT LPVOID CoTaskMemRealloc(LPVOID pv, std::size_t cb);
TV_COM_EXPORT void CoTaskMemFree(LPVOID pv);

// Removes HKCR\TypeLib\{libID}\<major>.<minor> (and the library key when nothing else is left).
// S_OK also when it was not registered.
TV_COM_EXPORT HRESULT UnRegisterTypeLib(REFGUID libID, WORD wVerMajor, WORD wVerMinor, LCID lcid, int syskind);

namespace com {

QString guidToString(const GUID &g);                 // "{XXXXXXXX-...}"
bool guidFromString(const QString &text, GUID *out); // braced or bare form, any case

// Creates the class and queries it for T.
template <class T>
HRESULT createInstance(REFCLSID clsid, ComPtr<T> &out)
{
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, T::iid, out.putVoid());
}

// The full, canonical path of the module (shared library or program) containing the address.
// A library passes the address of one of its own functions to learn its %MODULE% path.
QString modulePath(const void *addressInModule);

// Type-library registration. No type-library file exists here (each library's public header plays
// its part): HKCR\TypeLib\{libid}\<major>.<minor> gets the help string as default value and
// sub-keys "0\linux" = modulePath and "HELPDIR" = the module's folder.
HRESULT registerTypeLibrary(const GUID &libid, WORD major, WORD minor, const QString &helpString,
                            const QString &modulePath);
HRESULT unregisterTypeLibrary(const GUID &libid, WORD major, WORD minor);

// The libraries CoGetClassObject loaded so far (full paths), for diagnostics.
QStringList loadedLibraries();

// Checks a library file before it is loaded: an ELF shared object of this machine's kind whose
// headers and every part the loader maps lie inside the file. The loader itself would map a cut
// file past its end and end the program with a bus error. False, with the reason in German in
// *why, for anything else; CoGetClassObject then answers CO_E_ERRORINDLL.
bool checkLibraryImage(const QString &path, QString *why = nullptr);

} // namespace com
