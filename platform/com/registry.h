#pragma once
// The registry: a human-readable file holding keys with named string, number and binary values,
// under the hives HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE and HKEY_USERS.
//
// File: $TORVANA_REGISTRY, else $XDG_CONFIG_HOME/torvana/registry, else ~/.config/torvana/registry
// (the path is taken anew at every call). Format (UTF-8):
//
//   ; Torvana registry
//   [HKEY_CLASSES_ROOT\CLSID\{02587AFF-D0A5-11D2-9BB5-00A0CC3AD9E7}]
//   @="Larkspire NavrailBar"              <- default value
//   "ThreadingModel"="Apartment"          <- named string value (\\ \" \n \r \t escapes)
//   "Flags"=dword:00000001                <- 32-bit number
//   "Data"=hex:01,02,ff                   <- bytes
//
// Key names compare case-insensitively and keep their spelling. Every change is written at once
// (temporary file in the same folder, then rename); a Batch collects changes into one write. A
// change reads the file, changes it and renames the new file over it while holding an exclusive
// lock on the file's folder (a Batch holds it from its start to its end), so that changes made by
// several processes at once all arrive. Reading takes no lock; the file is read again when it
// changed on disk. A damaged file is reported (ERROR_BADDB /
// REGDB_E_READREGDB), never repaired silently and never overwritten: reads and writes fail until
// it is mended or removed.
#include "com/types.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Win32 error codes returned by the registry functions.
inline constexpr LONG ERROR_SUCCESS = 0;
inline constexpr LONG ERROR_FILE_NOT_FOUND = 2;
inline constexpr LONG ERROR_ACCESS_DENIED = 5;
inline constexpr LONG ERROR_INVALID_HANDLE = 6;
inline constexpr LONG ERROR_OUTOFMEMORY = 14;
inline constexpr LONG ERROR_INVALID_PARAMETER = 87;
inline constexpr LONG ERROR_MORE_DATA = 234;
inline constexpr LONG ERROR_NO_MORE_ITEMS = 259;
inline constexpr LONG ERROR_BADDB = 1009;
inline constexpr LONG ERROR_BADKEY = 1010;
inline constexpr LONG ERROR_CANTOPEN = 1011;
inline constexpr LONG ERROR_CANTREAD = 1012;
inline constexpr LONG ERROR_CANTWRITE = 1013;

inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;

struct HKEY__;
using HKEY = HKEY__ *;
using PHKEY = HKEY *;
using REGSAM = DWORD;
using LPBYTE = BYTE *;
using LPDWORD = DWORD *;
#define HKEY_CLASSES_ROOT (reinterpret_cast<HKEY>(uintptr_t(0x80000000u)))
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(uintptr_t(0x80000001u)))
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(uintptr_t(0x80000002u)))
#define HKEY_USERS (reinterpret_cast<HKEY>(uintptr_t(0x80000003u)))
inline constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
inline constexpr REGSAM KEY_SET_VALUE = 0x0002;
inline constexpr REGSAM KEY_READ = 0x20019;
inline constexpr REGSAM KEY_WRITE = 0x20006;
inline constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;
inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// The registry functions of the platform, wide-string forms (sub-key paths use backslashes).
TV_COM_EXPORT LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult);
TV_COM_EXPORT LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass, DWORD dwOptions,
                                   REGSAM samDesired, void *lpSecurityAttributes, PHKEY phkResult,
                                   LPDWORD lpdwDisposition);
TV_COM_EXPORT LONG RegCloseKey(HKEY hKey);
// REG_SZ data are UTF-16 with a terminating zero; *lpcbData is in bytes.
TV_COM_EXPORT LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                                    LPDWORD lpcbData);
TV_COM_EXPORT LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE *lpData,
                                  DWORD cbData);
// Deletes a key without sub-keys (ERROR_ACCESS_DENIED when it has some).
TV_COM_EXPORT LONG RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey);
TV_COM_EXPORT LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName);
// The dwIndex-th sub-key name (ERROR_NO_MORE_ITEMS past the end); *lpcchName in characters.
TV_COM_EXPORT LONG RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved,
                                 LPWSTR lpClass, LPDWORD lpcchClass, FILETIME *lpftLastWriteTime);

// Profile strings of the system settings. The section "intl" lives in
// HKEY_CURRENT_USER\Control Panel\International; there the German defaults apply when a value is
// absent: sShortDate "dd.MM.yyyy", sLongDate "dddd, d. MMMM yyyy", sDate ".", sTime ":",
// sDecimal ",", sThousand ".", sList ";". Other sections live in HKEY_CURRENT_USER\Profile\<section>.
// Returns the number of characters copied (without the terminator), the text cut to nSize - 1.
TV_COM_EXPORT DWORD GetProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpDefault, LPWSTR lpReturnedString,
                                      DWORD nSize);
TV_COM_EXPORT BOOL WriteProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpString);

namespace com::reg {

enum class Hive { ClassesRoot, CurrentUser, LocalMachine, Users };

struct Value
{
    DWORD type = REG_NONE;
    QString text;     // REG_SZ, REG_EXPAND_SZ
    DWORD number = 0; // REG_DWORD
    QByteArray bytes; // REG_BINARY
    static Value string(const QString &s)
    {
        Value v;
        v.type = REG_SZ;
        v.text = s;
        return v;
    }
    static Value dword(DWORD n)
    {
        Value v;
        v.type = REG_DWORD;
        v.number = n;
        return v;
    }
    static Value binary(const QByteArray &b)
    {
        Value v;
        v.type = REG_BINARY;
        v.bytes = b;
        return v;
    }
    bool operator==(const Value &o) const = default;
};

// The file the registry lives in (from the environment, see above).
QString filePath();
// ERROR_SUCCESS, or ERROR_BADDB when the file cannot be parsed (the reason in *message),
// ERROR_CANTREAD when it cannot be read. A missing file is an empty registry.
LONG status(QString *message = nullptr);
// The file and the cause of the last change that could not be written in this process, as a
// sentence ("Die Komponentenregistrierung <file> kann nicht geschrieben werden (No space left on
// device)."); empty when none failed.
QString lastWriteError();
// Hive from its name: "HKEY_CLASSES_ROOT"/"HKCR", "HKEY_CURRENT_USER"/"HKCU",
// "HKEY_LOCAL_MACHINE"/"HKLM", "HKEY_USERS"/"HKU" (case-insensitive).
bool hiveFromName(const QString &name, Hive *hive);
QString hiveName(Hive hive);

// Key paths are relative to the hive, parts separated by backslashes ("CLSID\\{...}\\InprocServer32").
// An empty value name is the key's default value.
bool keyExists(Hive hive, const QString &key);
LONG createKey(Hive hive, const QString &key); // creates missing parents
LONG readValue(Hive hive, const QString &key, const QString &name, Value *out);
LONG readString(Hive hive, const QString &key, const QString &name, QString *out); // REG_SZ/EXPAND_SZ/DWORD as text
LONG writeValue(Hive hive, const QString &key, const QString &name, const Value &value); // creates the key
LONG writeString(Hive hive, const QString &key, const QString &name, const QString &value);
LONG deleteValue(Hive hive, const QString &key, const QString &name);
LONG deleteKey(Hive hive, const QString &key);  // ERROR_ACCESS_DENIED when it has sub-keys
LONG deleteTree(Hive hive, const QString &key); // the key with everything below it
LONG subKeys(Hive hive, const QString &key, QStringList *names);
LONG valueNames(Hive hive, const QString &key, QStringList *names);

// Collects the changes made while it lives (on this thread) into one atomic write at commit().
// Without commit() (or when commit fails) the changes are undone.
class Batch
{
public:
    Batch();
    ~Batch();
    Batch(const Batch &) = delete;
    Batch &operator=(const Batch &) = delete;
    LONG commit();

private:
    bool active_ = false;
};

// Profile strings (see GetProfileStringW).
QString profileString(const QString &section, const QString &key, const QString &def);
LONG setProfileString(const QString &section, const QString &key, const QString &value);

} // namespace com::reg
