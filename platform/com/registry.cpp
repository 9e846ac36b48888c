#include "com/registry.h"
#include "com/bstr.h"

#include "common/savefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <array>
#include <cstring>
#include <mutex>
#include <set>

namespace com::reg {

namespace {

struct Key
{
    QString name;                                    // spelling as first written
    QMap<QString, Key> children;                     // by lower-case name
    QMap<QString, std::pair<QString, Value>> values; // by lower-case name: (spelling, value)
};

struct Stamp
{
    bool exists = false;
    qint64 size = 0;
    qint64 mtimeNs = 0;
    quint64 inode = 0;
    bool operator==(const Stamp &) const = default;
};

struct State
{
    std::recursive_mutex mutex;
    bool loaded = false;
    QString path;
    Stamp stamp;
    LONG status = ERROR_SUCCESS;
    QString message;
    std::array<Key, 4> hives;
    // batch
    int batchDepth = 0;
    bool batchDirty = false;
    bool batchLocked = false;
    std::array<Key, 4> batchSnapshot;
    // the lock file while this process holds the lock (-1 otherwise)
    int lockFd = -1;
    // the file and the cause of the last write that failed
    QString writeError;
};

State &state()
{
    static State s;
    return s;
}

Stamp stampOf(const QString &path)
{
    Stamp st;
    struct stat sb;
    QByteArray p = QFile::encodeName(path);
    if (::stat(p.constData(), &sb) == 0) {
        st.exists = true;
        st.size = sb.st_size;
        st.mtimeNs = qint64(sb.st_mtim.tv_sec) * 1000000000 + sb.st_mtim.tv_nsec;
        st.inode = sb.st_ino;
    }
    return st;
}

const char *const kHiveNames[4] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS"};

QStringList splitPath(const QString &path)
{
    QStringList parts;
    for (const QString &p : path.split(u'\\'))
        if (!p.isEmpty())
            parts << p;
    return parts;
}

Key *findKey(Key &root, const QString &path)
{
    Key *k = &root;
    for (const QString &part : splitPath(path)) {
        auto it = k->children.find(part.toLower());
        if (it == k->children.end())
            return nullptr;
        k = &it.value();
    }
    return k;
}

// A copy with storage of its own. The registry outlives the libraries that write into it: a text
// that still points into a library's static data (a string literal) would dangle once the library
// is unloaded.
QString ownCopy(const QString &s)
{
    return s.isNull() ? QString() : QString(s.constData(), s.size());
}

Key *makeKey(Key &root, const QString &path)
{
    Key *k = &root;
    for (const QString &part : splitPath(path)) {
        QString lower = ownCopy(part.toLower());
        auto it = k->children.find(lower);
        if (it == k->children.end()) {
            Key child;
            child.name = ownCopy(part);
            it = k->children.insert(lower, child);
        }
        k = &it.value();
    }
    return k;
}

// ---- text form ---------------------------------------------------------------------------------
QString quote(const QString &s)
{
    QString r;
    r.reserve(s.size() + 2);
    r += u'"';
    for (QChar c : s) {
        switch (c.unicode()) {
        case u'\\': r += QStringLiteral("\\\\"); break;
        case u'"': r += QStringLiteral("\\\""); break;
        case u'\n': r += QStringLiteral("\\n"); break;
        case u'\r': r += QStringLiteral("\\r"); break;
        case u'\t': r += QStringLiteral("\\t"); break;
        default: r += c;
        }
    }
    r += u'"';
    return r;
}

// Parses a quoted string starting at pos; pos moves past the closing quote.
bool unquote(const QString &line, int &pos, QString *out)
{
    if (pos >= line.size() || line[pos] != u'"')
        return false;
    QString r;
    for (++pos; pos < line.size(); ++pos) {
        QChar c = line[pos];
        if (c == u'"') {
            ++pos;
            *out = r;
            return true;
        }
        if (c == u'\\') {
            if (++pos >= line.size())
                return false;
            switch (line[pos].unicode()) {
            case u'\\': r += u'\\'; break;
            case u'"': r += u'"'; break;
            case u'n': r += u'\n'; break;
            case u'r': r += u'\r'; break;
            case u't': r += u'\t'; break;
            default: return false;
            }
            continue;
        }
        r += c;
    }
    return false;
}

void writeKey(QString &out, const QString &path, const Key &k)
{
    out += u'[' + path + QStringLiteral("]\n");
    auto writeValue = [&](const QString &name, const Value &v) {
        out += name.isEmpty() ? QStringLiteral("@") : quote(name);
        out += u'=';
        switch (v.type) {
        case REG_DWORD: out += QStringLiteral("dword:%1").arg(v.number, 8, 16, QLatin1Char('0')); break;
        case REG_BINARY: {
            QStringList bytes;
            for (char b : v.bytes)
                bytes << QStringLiteral("%1").arg(uint(uchar(b)), 2, 16, QLatin1Char('0'));
            out += QStringLiteral("hex:") + bytes.join(u',');
            break;
        }
        case REG_EXPAND_SZ: out += QStringLiteral("expand:") + quote(v.text); break;
        default: out += quote(v.text); break;
        }
        out += u'\n';
    };
    auto def = k.values.find(QString());
    if (def != k.values.end())
        writeValue(QString(), def->second);
    for (auto it = k.values.begin(); it != k.values.end(); ++it)
        if (!it.key().isEmpty())
            writeValue(it->first, it->second);
    out += u'\n';
    for (const Key &c : k.children)
        writeKey(out, path + u'\\' + c.name, c);
}

QString serialize(const std::array<Key, 4> &hives)
{
    QString out = QStringLiteral("; Torvana registry\n\n");
    for (int h = 0; h < 4; ++h)
        for (const Key &c : hives[h].children)
            writeKey(out, QString::fromLatin1(kHiveNames[h]) + u'\\' + c.name, c);
    return out;
}

bool parse(const QString &text, std::array<Key, 4> &hives, QString *message)
{
    std::array<Key, 4> result;
    Key *current = nullptr;
    const QStringList lines = text.split(u'\n');
    for (int n = 0; n < lines.size(); ++n) {
        QString line = lines[n];
        if (line.endsWith(u'\r'))
            line.chop(1);
        QString t = line.trimmed();
        auto fail = [&](const QString &why) {
            *message = QStringLiteral("Zeile %1: %2").arg(n + 1).arg(why);
            return false;
        };
        if (t.isEmpty() || t.startsWith(u';') || t.startsWith(u'#'))
            continue;
        if (t.startsWith(u'[')) {
            if (!t.endsWith(u']'))
                return fail(QStringLiteral("Schlüsselzeile ohne ']'"));
            QString path = t.mid(1, t.size() - 2);
            int slash = int(path.indexOf(u'\\'));
            QString hiveText = slash < 0 ? path : path.left(slash);
            Hive hive;
            if (!hiveFromName(hiveText, &hive))
                return fail(QStringLiteral("unbekannter Zweig '%1'").arg(hiveText));
            current = makeKey(result[int(hive)], slash < 0 ? QString() : path.mid(slash + 1));
            continue;
        }
        if (!current)
            return fail(QStringLiteral("Wert vor dem ersten Schlüssel"));
        int pos = 0;
        QString name;
        if (t.startsWith(u'@')) {
            pos = 1;
        } else if (!unquote(t, pos, &name)) {
            return fail(QStringLiteral("Wertname fehlerhaft"));
        }
        if (pos >= t.size() || t[pos] != u'=')
            return fail(QStringLiteral("'=' fehlt"));
        ++pos;
        QString rest = t.mid(pos);
        Value v;
        if (rest.startsWith(u'"')) {
            int p = 0;
            if (!unquote(rest, p, &v.text) || p != rest.size())
                return fail(QStringLiteral("Text fehlerhaft"));
            v.type = REG_SZ;
        } else if (rest.startsWith(QStringLiteral("expand:"))) {
            int p = 7;
            if (!unquote(rest, p, &v.text) || p != rest.size())
                return fail(QStringLiteral("Text fehlerhaft"));
            v.type = REG_EXPAND_SZ;
        } else if (rest.startsWith(QStringLiteral("dword:"))) {
            bool ok = false;
            QString digits = rest.mid(6);
            uint n32 = digits.toUInt(&ok, 16);
            if (!ok || digits.size() > 8)
                return fail(QStringLiteral("Zahl fehlerhaft"));
            v.type = REG_DWORD;
            v.number = n32;
        } else if (rest.startsWith(QStringLiteral("hex:"))) {
            v.type = REG_BINARY;
            QString list = rest.mid(4);
            if (!list.isEmpty()) {
                for (const QString &b : list.split(u',')) {
                    bool ok = false;
                    uint byte = b.trimmed().toUInt(&ok, 16);
                    if (!ok || byte > 255)
                        return fail(QStringLiteral("Bytefolge fehlerhaft"));
                    v.bytes.append(char(byte));
                }
            }
        } else {
            return fail(QStringLiteral("unbekannter Werttyp"));
        }
        current->values.insert(name.toLower(), {name, v});
    }
    hives = std::move(result);
    return true;
}

LONG reload(State &s)
{
    s.loaded = true;
    s.path = filePath();
    s.stamp = stampOf(s.path);
    s.message.clear();
    s.hives = {};
    if (!s.stamp.exists) {
        s.status = ERROR_SUCCESS;
        return s.status;
    }
    QFile f(s.path);
    if (!f.open(QIODevice::ReadOnly)) {
        s.status = ERROR_CANTREAD;
        s.message = f.errorString();
        return s.status;
    }
    QByteArray data = f.readAll();
    QString text = QString::fromUtf8(data);
    if (text.toUtf8() != data) {
        s.status = ERROR_BADDB;
        s.message = QStringLiteral("keine gültige UTF-8-Datei");
        return s.status;
    }
    if (!parse(text, s.hives, &s.message)) {
        s.status = ERROR_BADDB;
        s.hives = {};
        return s.status;
    }
    s.status = ERROR_SUCCESS;
    return s.status;
}

LONG ensureLoaded(State &s)
{
    if (s.batchDepth > 0)
        return s.status;
    QString path = filePath();
    if (!s.loaded || path != s.path || !(stampOf(path) == s.stamp))
        return reload(s);
    return s.status;
}

LONG cannotWrite(State &s, const QString &file, const QString &cause)
{
    s.writeError =
        QStringLiteral("Die Komponentenregistrierung %1 kann nicht geschrieben werden (%2).").arg(file, cause);
    return ERROR_CANTWRITE;
}

LONG save(State &s)
{
    if (s.status != ERROR_SUCCESS)
        return ERROR_BADDB;
    QFileInfo info(s.path);
    if (!QDir().mkpath(info.absolutePath()))
        return cannotWrite(s, s.path,
                           QStringLiteral("der Ordner %1 kann nicht angelegt werden").arg(info.absolutePath()));
    QString cause;
    if (!savefile::writeWhole(s.path, serialize(s.hives).toUtf8(), {}, nullptr, &cause))
        return cannotWrite(s, s.path, cause);
    s.stamp = stampOf(s.path);
    return ERROR_SUCCESS;
}

// The lock that makes a change atomic across processes: an exclusive advisory lock on the
// registry's folder (the file itself is replaced by every write, so it cannot carry the lock),
// held from the read the change starts from to the rename that publishes it. Another process
// changing the registry meanwhile waits; without the lock both would start from the same file
// and the later rename would drop the other's keys.
bool lockFile(State &s)
{
    if (s.lockFd >= 0)
        return true;
    const QString folder = QFileInfo(filePath()).absolutePath();
    if (!QDir().mkpath(folder)) {
        cannotWrite(s, filePath(), QStringLiteral("der Ordner %1 kann nicht angelegt werden").arg(folder));
        return false;
    }
    const QByteArray name = QFile::encodeName(folder);
    const int fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        cannotWrite(s, filePath(), QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            cannotWrite(s, filePath(), QString::fromLocal8Bit(std::strerror(errno)));
            ::close(fd);
            return false;
        }
    }
    s.lockFd = fd;
    return true;
}

void unlockFile(State &s)
{
    if (s.lockFd < 0)
        return;
    ::flock(s.lockFd, LOCK_UN);
    ::close(s.lockFd);
    s.lockFd = -1;
}

template <class F>
LONG read(Hive hive, F f)
{
    State &s = state();
    std::lock_guard lock(s.mutex);
    LONG st = ensureLoaded(s);
    if (st != ERROR_SUCCESS)
        return st;
    return f(s.hives[int(hive)]);
}

template <class F>
LONG mutate(Hive hive, F f)
{
    State &s = state();
    std::lock_guard lock(s.mutex);
    if (s.batchDepth > 0) {
        // The batch holds the file lock and read the file when it began.
        if (s.status != ERROR_SUCCESS)
            return s.status;
        LONG r = f(s.hives[int(hive)]);
        if (r == ERROR_SUCCESS)
            s.batchDirty = true;
        return r;
    }
    if (!lockFile(s))
        return ERROR_CANTWRITE;
    // Under the lock the file is read afresh, whatever the cache holds.
    LONG r = reload(s);
    if (r == ERROR_SUCCESS) {
        Key before = s.hives[int(hive)];
        r = f(s.hives[int(hive)]);
        if (r == ERROR_SUCCESS) {
            r = save(s);
            if (r != ERROR_SUCCESS)
                s.hives[int(hive)] = before;
        }
    }
    unlockFile(s);
    return r;
}

} // namespace

QString filePath()
{
    QByteArray env = qgetenv("TORVANA_REGISTRY");
    if (!env.isEmpty())
        return QFile::decodeName(env);
    QByteArray xdg = qgetenv("XDG_CONFIG_HOME");
    QString base = !xdg.isEmpty() ? QFile::decodeName(xdg) : QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/torvana/registry");
}

QString lastWriteError()
{
    State &s = state();
    std::lock_guard lock(s.mutex);
    return s.writeError;
}

LONG status(QString *message)
{
    State &s = state();
    std::lock_guard lock(s.mutex);
    LONG st = ensureLoaded(s);
    if (message)
        *message = s.message;
    return st;
}

bool hiveFromName(const QString &name, Hive *hive)
{
    static const struct
    {
        const char *a;
        const char *b;
        Hive h;
    } names[] = {{"HKEY_CLASSES_ROOT", "HKCR", Hive::ClassesRoot},
                 {"HKEY_CURRENT_USER", "HKCU", Hive::CurrentUser},
                 {"HKEY_LOCAL_MACHINE", "HKLM", Hive::LocalMachine},
                 {"HKEY_USERS", "HKU", Hive::Users}};
    for (const auto &n : names) {
        if (name.compare(QLatin1String(n.a), Qt::CaseInsensitive) == 0 ||
            name.compare(QLatin1String(n.b), Qt::CaseInsensitive) == 0) {
            if (hive)
                *hive = n.h;
            return true;
        }
    }
    return false;
}

QString hiveName(Hive hive)
{
    return QString::fromLatin1(kHiveNames[int(hive)]);
}

bool keyExists(Hive hive, const QString &key)
{
    return read(hive, [&](Key &root) { return findKey(root, key) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND; }) ==
           ERROR_SUCCESS;
}

LONG createKey(Hive hive, const QString &key)
{
    if (keyExists(hive, key))
        return ERROR_SUCCESS;
    return mutate(hive, [&](Key &root) {
        makeKey(root, key);
        return ERROR_SUCCESS;
    });
}

LONG readValue(Hive hive, const QString &key, const QString &name, Value *out)
{
    return read(hive, [&](Key &root) {
        Key *k = findKey(root, key);
        if (!k)
            return ERROR_FILE_NOT_FOUND;
        auto it = k->values.find(name.toLower());
        if (it == k->values.end())
            return ERROR_FILE_NOT_FOUND;
        if (out)
            *out = it->second;
        return ERROR_SUCCESS;
    });
}

LONG readString(Hive hive, const QString &key, const QString &name, QString *out)
{
    Value v;
    LONG r = readValue(hive, key, name, &v);
    if (r != ERROR_SUCCESS)
        return r;
    if (out)
        *out = v.type == REG_DWORD ? QString::number(v.number) : v.type == REG_BINARY ? QString() : v.text;
    return ERROR_SUCCESS;
}

LONG writeValue(Hive hive, const QString &key, const QString &name, const Value &value)
{
    return mutate(hive, [&](Key &root) {
        Key *k = makeKey(root, key);
        Value own = value;
        own.text = ownCopy(value.text);
        own.bytes = QByteArray(value.bytes.constData(), value.bytes.size());
        k->values.insert(ownCopy(name.toLower()), {ownCopy(name), own});
        return ERROR_SUCCESS;
    });
}

LONG writeString(Hive hive, const QString &key, const QString &name, const QString &value)
{
    return writeValue(hive, key, name, Value::string(value));
}

LONG deleteValue(Hive hive, const QString &key, const QString &name)
{
    return mutate(hive, [&](Key &root) {
        Key *k = findKey(root, key);
        if (!k || k->values.remove(name.toLower()) == 0)
            return ERROR_FILE_NOT_FOUND;
        return ERROR_SUCCESS;
    });
}

namespace {
LONG removeKey(Key &root, const QString &key, bool tree)
{
    QStringList parts = splitPath(key);
    if (parts.isEmpty())
        return ERROR_ACCESS_DENIED; // a hive itself cannot go
    QString last = parts.takeLast();
    Key *parent = findKey(root, parts.join(u'\\'));
    if (!parent)
        return ERROR_FILE_NOT_FOUND;
    auto it = parent->children.find(last.toLower());
    if (it == parent->children.end())
        return ERROR_FILE_NOT_FOUND;
    if (!tree && !it->children.isEmpty())
        return ERROR_ACCESS_DENIED;
    parent->children.erase(it);
    return ERROR_SUCCESS;
}
} // namespace

LONG deleteKey(Hive hive, const QString &key)
{
    return mutate(hive, [&](Key &root) { return removeKey(root, key, false); });
}

LONG deleteTree(Hive hive, const QString &key)
{
    return mutate(hive, [&](Key &root) { return removeKey(root, key, true); });
}

LONG subKeys(Hive hive, const QString &key, QStringList *names)
{
    return read(hive, [&](Key &root) {
        Key *k = findKey(root, key);
        if (!k)
            return ERROR_FILE_NOT_FOUND;
        if (names) {
            names->clear();
            for (const Key &c : k->children)
                *names << c.name;
        }
        return ERROR_SUCCESS;
    });
}

LONG valueNames(Hive hive, const QString &key, QStringList *names)
{
    return read(hive, [&](Key &root) {
        Key *k = findKey(root, key);
        if (!k)
            return ERROR_FILE_NOT_FOUND;
        if (names) {
            names->clear();
            for (const auto &v : k->values)
                *names << v.first;
        }
        return ERROR_SUCCESS;
    });
}

Batch::Batch()
{
    State &s = state();
    s.mutex.lock();
    if (s.batchDepth == 0) {
        // The outermost batch takes the file lock and reads the file afresh under it; the lock
        // is held until the batch ends, so that its changes start from what it read.
        s.batchLocked = lockFile(s);
        if (s.batchLocked)
            reload(s);
        else
            ensureLoaded(s);
        s.batchDirty = false;
        s.batchSnapshot = s.hives;
    }
    ++s.batchDepth;
    active_ = true;
}

Batch::~Batch()
{
    State &s = state();
    if (active_) {
        // not committed: undo
        if (--s.batchDepth == 0 && s.batchDirty)
            s.hives = s.batchSnapshot;
    }
    if (s.batchDepth == 0)
        unlockFile(s);
    s.mutex.unlock();
}

LONG Batch::commit()
{
    State &s = state();
    if (!active_)
        return ERROR_INVALID_HANDLE;
    active_ = false;
    if (--s.batchDepth > 0)
        return ERROR_SUCCESS; // the outer batch writes
    if (s.status != ERROR_SUCCESS)
        return s.status;
    if (!s.batchDirty)
        return ERROR_SUCCESS;
    LONG r = s.batchLocked ? save(s) : ERROR_CANTWRITE;
    if (r != ERROR_SUCCESS)
        s.hives = s.batchSnapshot;
    return r;
}

// ---- profile strings ----------------------------------------------------------------------------

namespace {
QString profileKey(const QString &section)
{
    if (section.compare(u"intl", Qt::CaseInsensitive) == 0)
        return QStringLiteral("Control Panel\\International");
    return QStringLiteral("Profile\\") + section;
}
} // namespace

QString profileString(const QString &section, const QString &key, const QString &def)
{
    QString v;
    if (readString(Hive::CurrentUser, profileKey(section), key, &v) == ERROR_SUCCESS)
        return v;
    if (section.compare(u"intl", Qt::CaseInsensitive) == 0) {
        static const struct
        {
            const char *k;
            const char *v;
        } defaults[] = {{"sShortDate", "dd.MM.yyyy"},
                        {"sLongDate", "dddd, d. MMMM yyyy"},
                        {"sDate", "."},
                        {"sTime", ":"},
                        {"sDecimal", ","},
                        {"sThousand", "."},
                        {"sList", ";"}};
        for (const auto &d : defaults)
            if (key.compare(QLatin1String(d.k), Qt::CaseInsensitive) == 0)
                return QString::fromUtf8(d.v);
    }
    return def;
}

LONG setProfileString(const QString &section, const QString &key, const QString &value)
{
    return writeString(Hive::CurrentUser, profileKey(section), key, value);
}

} // namespace com::reg

// ---- the C registry functions -----------------------------------------------------------------

namespace {

struct KeyHandle
{
    com::reg::Hive hive;
    QString path;
};

std::mutex g_handleMutex;
std::set<KeyHandle *> g_handles;

bool resolve(HKEY h, com::reg::Hive *hive, QString *path)
{
    uintptr_t v = reinterpret_cast<uintptr_t>(h);
    if (v >= 0x80000000u && v <= 0x80000003u) {
        *hive = com::reg::Hive(v - 0x80000000u);
        path->clear();
        return true;
    }
    std::lock_guard lock(g_handleMutex);
    auto *k = reinterpret_cast<KeyHandle *>(h);
    if (!g_handles.count(k))
        return false;
    *hive = k->hive;
    *path = k->path;
    return true;
}

QString join(const QString &a, const QString &b)
{
    if (a.isEmpty())
        return b;
    if (b.isEmpty())
        return a;
    return a + u'\\' + b;
}

HKEY newHandle(com::reg::Hive hive, const QString &path)
{
    auto *k = new KeyHandle{hive, path};
    std::lock_guard lock(g_handleMutex);
    g_handles.insert(k);
    return reinterpret_cast<HKEY>(k);
}

} // namespace

LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, REGSAM, PHKEY phkResult)
{
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    com::reg::Hive hive;
    QString base;
    if (!resolve(hKey, &hive, &base))
        return ERROR_INVALID_HANDLE;
    QString path = join(base, com::fromWide(lpSubKey));
    LONG st = com::reg::status();
    if (st != ERROR_SUCCESS)
        return st;
    if (!com::reg::keyExists(hive, path))
        return ERROR_FILE_NOT_FOUND;
    *phkResult = newHandle(hive, path);
    return ERROR_SUCCESS;
}

LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, LPWSTR, DWORD, REGSAM, void *, PHKEY phkResult,
                     LPDWORD lpdwDisposition)
{
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    com::reg::Hive hive;
    QString base;
    if (!resolve(hKey, &hive, &base))
        return ERROR_INVALID_HANDLE;
    QString path = join(base, com::fromWide(lpSubKey));
    bool existed = com::reg::keyExists(hive, path);
    LONG r = com::reg::createKey(hive, path);
    if (r != ERROR_SUCCESS)
        return r;
    if (lpdwDisposition)
        *lpdwDisposition = existed ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
    *phkResult = newHandle(hive, path);
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY hKey)
{
    uintptr_t v = reinterpret_cast<uintptr_t>(hKey);
    if (v >= 0x80000000u && v <= 0x80000003u)
        return ERROR_SUCCESS;
    auto *k = reinterpret_cast<KeyHandle *>(hKey);
    {
        std::lock_guard lock(g_handleMutex);
        if (!g_handles.erase(k))
            return ERROR_INVALID_HANDLE;
    }
    delete k;
    return ERROR_SUCCESS;
}

LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData)
{
    com::reg::Hive hive;
    QString path;
    if (!resolve(hKey, &hive, &path))
        return ERROR_INVALID_HANDLE;
    if (lpData && !lpcbData)
        return ERROR_INVALID_PARAMETER;
    com::reg::Value v;
    LONG r = com::reg::readValue(hive, path, com::fromWide(lpValueName), &v);
    if (r != ERROR_SUCCESS)
        return r;
    QByteArray bytes;
    switch (v.type) {
    case REG_DWORD: bytes = QByteArray(reinterpret_cast<const char *>(&v.number), 4); break;
    case REG_BINARY: bytes = v.bytes; break;
    default: bytes = QByteArray(reinterpret_cast<const char *>(v.text.utf16()), (v.text.size() + 1) * 2); break;
    }
    if (lpType)
        *lpType = v.type;
    if (lpcbData) {
        DWORD room = *lpcbData;
        *lpcbData = DWORD(bytes.size());
        if (lpData) {
            if (room < DWORD(bytes.size()))
                return ERROR_MORE_DATA;
            std::memcpy(lpData, bytes.constData(), size_t(bytes.size()));
        }
    }
    return ERROR_SUCCESS;
}

LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD, DWORD dwType, const BYTE *lpData, DWORD cbData)
{
    com::reg::Hive hive;
    QString path;
    if (!resolve(hKey, &hive, &path))
        return ERROR_INVALID_HANDLE;
    if (cbData && !lpData)
        return ERROR_INVALID_PARAMETER;
    com::reg::Value v;
    v.type = dwType;
    switch (dwType) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
        qsizetype chars = qsizetype(cbData / 2);
        auto *p = reinterpret_cast<const char16_t *>(lpData);
        while (chars > 0 && p[chars - 1] == 0)
            --chars;
        v.text = chars ? QString::fromUtf16(p, chars) : QString();
        break;
    }
    case REG_DWORD:
        if (cbData != 4)
            return ERROR_INVALID_PARAMETER;
        std::memcpy(&v.number, lpData, 4);
        break;
    case REG_BINARY: v.bytes = QByteArray(reinterpret_cast<const char *>(lpData), qsizetype(cbData)); break;
    default: return ERROR_INVALID_PARAMETER;
    }
    return com::reg::writeValue(hive, path, com::fromWide(lpValueName), v);
}

LONG RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey)
{
    com::reg::Hive hive;
    QString path;
    if (!resolve(hKey, &hive, &path))
        return ERROR_INVALID_HANDLE;
    return com::reg::deleteKey(hive, join(path, com::fromWide(lpSubKey)));
}

LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName)
{
    com::reg::Hive hive;
    QString path;
    if (!resolve(hKey, &hive, &path))
        return ERROR_INVALID_HANDLE;
    return com::reg::deleteValue(hive, path, com::fromWide(lpValueName));
}

LONG RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName, LPDWORD, LPWSTR, LPDWORD, FILETIME *)
{
    com::reg::Hive hive;
    QString path;
    if (!resolve(hKey, &hive, &path))
        return ERROR_INVALID_HANDLE;
    if (!lpName || !lpcchName)
        return ERROR_INVALID_PARAMETER;
    QStringList names;
    LONG r = com::reg::subKeys(hive, path, &names);
    if (r != ERROR_SUCCESS)
        return r;
    if (dwIndex >= DWORD(names.size()))
        return ERROR_NO_MORE_ITEMS;
    const QString &n = names[int(dwIndex)];
    if (*lpcchName < DWORD(n.size() + 1))
        return ERROR_MORE_DATA;
    std::memcpy(lpName, n.utf16(), size_t(n.size()) * 2);
    lpName[n.size()] = 0;
    *lpcchName = DWORD(n.size());
    return ERROR_SUCCESS;
}

DWORD GetProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpDefault, LPWSTR lpReturnedString, DWORD nSize)
{
    if (!lpReturnedString || nSize == 0)
        return 0;
    QString v = com::reg::profileString(com::fromWide(lpAppName), com::fromWide(lpKeyName), com::fromWide(lpDefault));
    DWORD n = std::min<DWORD>(DWORD(v.size()), nSize - 1);
    std::memcpy(lpReturnedString, v.utf16(), size_t(n) * 2);
    lpReturnedString[n] = 0;
    return n;
}

BOOL WriteProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpString)
{
    if (!lpAppName || !lpKeyName)
        return FALSE;
    QString section = com::fromWide(lpAppName);
    QString key = com::fromWide(lpKeyName);
    if (!lpString) {
        QString path = section.compare(u"intl", Qt::CaseInsensitive) == 0
                           ? QStringLiteral("Control Panel\\International")
                           : QStringLiteral("Profile\\") + section;
        LONG r = com::reg::deleteValue(com::reg::Hive::CurrentUser, path, key);
        return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND;
    }
    return com::reg::setProfileString(section, key, com::fromWide(lpString)) == ERROR_SUCCESS;
}
