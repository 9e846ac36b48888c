#include "com/bstr.h"
#include "com/registry.h"
#include "com/regscript.h"
#include "registry_fixture.h"

#include "common/testing/file_limit.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <algorithm>
#include <iterator>

#include <gtest/gtest.h>

using namespace com::reg;

namespace {

QByteArray fileText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Replaces the file as another program would (new file, then rename).
void writeFile(const QString &path, const QByteArray &data)
{
    QSaveFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
    ASSERT_TRUE(f.commit());
}

TEST_F(RegistryFixture, ValuesSurviveAReloadFromTheFile)
{
    ASSERT_EQ(writeString(Hive::ClassesRoot, QStringLiteral("CLSID\\{X}\\InprocServer32"), QString(),
                          QStringLiteral("/usr/lib/a \"b\".so")),
              ERROR_SUCCESS);
    ASSERT_EQ(
        writeValue(Hive::LocalMachine, QStringLiteral("Software\\Torvana"), QStringLiteral("Zahl"), Value::dword(0x2a)),
        ERROR_SUCCESS);
    ASSERT_EQ(writeString(Hive::CurrentUser, QStringLiteral("Software\\Torvana"), QStringLiteral("Text"),
                          QStringLiteral("Zeile1\nZeile2 äöü")),
              ERROR_SUCCESS);

    QByteArray text = fileText(path());
    EXPECT_TRUE(text.contains("[HKEY_CLASSES_ROOT\\CLSID\\{X}\\InprocServer32]"));
    EXPECT_TRUE(text.contains("@=\"/usr/lib/a \\\"b\\\".so\""));
    EXPECT_TRUE(text.contains("\"Zahl\"=dword:0000002a"));
    EXPECT_FALSE(QDir(dir.path()).entryList(QDir::Files).size() > 1) << "no temporary file is left behind";

    // another process edits the file: the next read sees it
    writeFile(path(), text.replace("dword:0000002a", "dword:00000063"));
    Value v;
    ASSERT_EQ(readValue(Hive::LocalMachine, QStringLiteral("software\\TORVANA"), QStringLiteral("zahl"), &v),
              ERROR_SUCCESS);
    EXPECT_EQ(v.number, 0x63u);
    QString s;
    ASSERT_EQ(readString(Hive::CurrentUser, QStringLiteral("Software\\Torvana"), QStringLiteral("Text"), &s),
              ERROR_SUCCESS);
    EXPECT_EQ(s, QStringLiteral("Zeile1\nZeile2 äöü"));
    ASSERT_EQ(readString(Hive::ClassesRoot, QStringLiteral("CLSID\\{X}\\InprocServer32"), QString(), &s),
              ERROR_SUCCESS);
    EXPECT_EQ(s, QStringLiteral("/usr/lib/a \"b\".so"));
    EXPECT_EQ(readString(Hive::ClassesRoot, QStringLiteral("CLSID\\{Y}"), QString(), &s), ERROR_FILE_NOT_FOUND);

    EXPECT_EQ(deleteKey(Hive::ClassesRoot, QStringLiteral("CLSID")), ERROR_ACCESS_DENIED) << "has sub-keys";
    EXPECT_EQ(deleteTree(Hive::ClassesRoot, QStringLiteral("CLSID")), ERROR_SUCCESS);
    EXPECT_FALSE(keyExists(Hive::ClassesRoot, QStringLiteral("CLSID\\{X}")));
}

// A library writes texts that live in its own static data and may be unloaded afterwards; the
// registry must not go on pointing into that storage.
TEST_F(RegistryFixture, KeepsItsOwnCopyOfEveryText)
{
    QChar schluessel[] = {u'C', u'L', u'S', u'I', u'D', u'\\', u'{', u'Z', u'}'};
    QChar name[] = {u'H', u'i', u'l', u'f', u'e'};
    QChar text[] = {u'N', u'a', u'v', u'i', u'g', u'a', u't', u'i', u'o', u'n'};
    const QString k = QString::fromRawData(schluessel, std::size(schluessel));
    const QString n = QString::fromRawData(name, std::size(name));
    const QString t = QString::fromRawData(text, std::size(text));
    ASSERT_EQ(writeString(Hive::ClassesRoot, k, n, t), ERROR_SUCCESS);
    ASSERT_EQ(writeString(Hive::ClassesRoot, k, QString(), t), ERROR_SUCCESS);
    // The writer's storage is gone.
    for (QChar *puffer : {schluessel, name, text})
        std::fill_n(puffer, 5, QChar(u'#'));

    QString s;
    ASSERT_EQ(readString(Hive::ClassesRoot, QStringLiteral("CLSID\\{Z}"), QStringLiteral("Hilfe"), &s), ERROR_SUCCESS);
    EXPECT_EQ(s, QStringLiteral("Navigation"));
    QStringList namen;
    ASSERT_EQ(subKeys(Hive::ClassesRoot, QStringLiteral("CLSID"), &namen), ERROR_SUCCESS);
    EXPECT_EQ(namen, QStringList{QStringLiteral("{Z}")});
    ASSERT_EQ(valueNames(Hive::ClassesRoot, QStringLiteral("CLSID\\{Z}"), &namen), ERROR_SUCCESS);
    EXPECT_TRUE(namen.contains(QStringLiteral("Hilfe"))) << namen.join(u',').toStdString();
    // The next write saves the whole registry again, these texts included.
    ASSERT_EQ(writeString(Hive::ClassesRoot, QStringLiteral("CLSID\\{Y}"), QString(), QStringLiteral("x")),
              ERROR_SUCCESS);
    const QByteArray datei = fileText(path());
    EXPECT_TRUE(datei.contains("[HKEY_CLASSES_ROOT\\CLSID\\{Z}]")) << datei.toStdString();
    EXPECT_TRUE(datei.contains("\"Hilfe\"=\"Navigation\"")) << datei.toStdString();
}

TEST_F(RegistryFixture, DamagedFileIsAnErrorAndIsNotOverwritten)
{
    const QByteArray damaged = "[HKEY_CLASSES_ROOT\\A]\n\"x\"=dword:zz\n";
    writeFile(path(), damaged);
    QString why;
    EXPECT_EQ(status(&why), ERROR_BADDB);
    EXPECT_TRUE(why.contains(QStringLiteral("Zeile 2"))) << why.toStdString();
    QString s;
    EXPECT_EQ(readString(Hive::ClassesRoot, QStringLiteral("A"), QStringLiteral("x"), &s), ERROR_BADDB);
    EXPECT_EQ(writeString(Hive::ClassesRoot, QStringLiteral("B"), QString(), QStringLiteral("y")), ERROR_BADDB);
    EXPECT_EQ(fileText(path()), damaged);

    for (const QByteArray &bad : {QByteArray("\"v\"=\"no key yet\"\n"), QByteArray("[HKEY_NOWHERE\\A]\n"),
                                  QByteArray("[HKCR\\A]\n\"open=\"x\n"), QByteArray("\xff\xfe[HKCR]\n")}) {
        writeFile(path(), bad);
        EXPECT_EQ(status(), ERROR_BADDB) << bad.toStdString();
    }
    writeFile(path(), "; empty\n");
    EXPECT_EQ(status(), ERROR_SUCCESS);
}

TEST_F(RegistryFixture, AWriteTheFileSystemRefusesFailsAndLeavesTheFileAsItWas)
{
    ASSERT_EQ(writeString(Hive::ClassesRoot, QStringLiteral("A"), QString(), QStringLiteral("alt")), ERROR_SUCCESS);
    const QByteArray vorher = fileText(path());
    ASSERT_FALSE(vorher.isEmpty());
    {
        // As on a full disk: the new file cannot grow past a few bytes.
        vbtest::FileSizeLimit grenze(8);
        ASSERT_TRUE(grenze.active());
        EXPECT_EQ(writeString(Hive::ClassesRoot, QStringLiteral("B"), QString(), QStringLiteral("neu")),
                  ERROR_CANTWRITE);
    }
    EXPECT_EQ(fileText(path()), vorher);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    QString s;
    EXPECT_EQ(readString(Hive::ClassesRoot, QStringLiteral("B"), QString(), &s), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(readString(Hive::ClassesRoot, QStringLiteral("A"), QString(), &s), ERROR_SUCCESS);
    EXPECT_EQ(s, QStringLiteral("alt"));
}

TEST_F(RegistryFixture, BatchWritesOnceOrNotAtAll)
{
    {
        Batch b;
        writeString(Hive::ClassesRoot, QStringLiteral("K1"), QString(), QStringLiteral("1"));
        writeString(Hive::ClassesRoot, QStringLiteral("K2"), QString(), QStringLiteral("2"));
        EXPECT_FALSE(QFile::exists(path())) << "nothing is written before commit";
        EXPECT_EQ(b.commit(), ERROR_SUCCESS);
    }
    EXPECT_TRUE(keyExists(Hive::ClassesRoot, QStringLiteral("K2")));
    {
        Batch b;
        writeString(Hive::ClassesRoot, QStringLiteral("K3"), QString(), QStringLiteral("3"));
        deleteTree(Hive::ClassesRoot, QStringLiteral("K1"));
    } // not committed: undone
    EXPECT_FALSE(keyExists(Hive::ClassesRoot, QStringLiteral("K3")));
    EXPECT_TRUE(keyExists(Hive::ClassesRoot, QStringLiteral("K1")));
}

const char kScript[] = R"(
HKCR
{
    Demo.Thing.1 = s 'Demo Thing'
    {
        CLSID = s '{11111111-2222-3333-4444-555555555555}'
    }
    NoRemove CLSID
    {
        ForceRemove {11111111-2222-3333-4444-555555555555} = s 'Demo Thing'
        {
            InprocServer32 = s '%MODULE%'
            {
                val ThreadingModel = s 'Apartment'
            }
            'MiscStatus' = s '0' { '1' = s '164241' }
            val Flags = d '17'
        }
    }
    NoRemove 'Shared'
    {
        val Owner = s 'it''s %%50'
    }
}
)";

TEST_F(RegistryFixture, ScriptRegistersAndUnregisters)
{
    const QMap<QString, QString> repl{{QStringLiteral("MODULE"), QStringLiteral("/opt/lib/demo.so")}};
    // a key of another program below the same parent stays
    writeString(Hive::ClassesRoot, QStringLiteral("CLSID\\{OTHER}"), QString(), QStringLiteral("other"));
    writeString(Hive::ClassesRoot, QStringLiteral("Shared\\Keep"), QString(), QStringLiteral("keep"));
    // stale contents under a ForceRemove key go at registration
    writeString(Hive::ClassesRoot, QStringLiteral("CLSID\\{11111111-2222-3333-4444-555555555555}\\Stale"), QString(),
                QStringLiteral("old"));

    ASSERT_EQ(com::runRegistryScript(QString::fromUtf8(kScript), true, repl), S_OK);
    const QString clsidKey = QStringLiteral("CLSID\\{11111111-2222-3333-4444-555555555555}");
    QString s;
    EXPECT_EQ(readString(Hive::ClassesRoot, clsidKey + QStringLiteral("\\InprocServer32"), QString(), &s),
              ERROR_SUCCESS);
    EXPECT_EQ(s, QStringLiteral("/opt/lib/demo.so"));
    EXPECT_EQ(readString(Hive::ClassesRoot, clsidKey + QStringLiteral("\\InprocServer32"),
                         QStringLiteral("ThreadingModel"), &s),
              ERROR_SUCCESS);
    EXPECT_EQ(s, QStringLiteral("Apartment"));
    EXPECT_EQ(readString(Hive::ClassesRoot, clsidKey + QStringLiteral("\\MiscStatus\\1"), QString(), &s),
              ERROR_SUCCESS);
    EXPECT_EQ(s, QStringLiteral("164241"));
    Value v;
    EXPECT_EQ(readValue(Hive::ClassesRoot, clsidKey, QStringLiteral("Flags"), &v), ERROR_SUCCESS);
    EXPECT_EQ(v, Value::dword(17));
    EXPECT_FALSE(keyExists(Hive::ClassesRoot, clsidKey + QStringLiteral("\\Stale")));
    EXPECT_EQ(readString(Hive::ClassesRoot, QStringLiteral("Shared"), QStringLiteral("Owner"), &s), ERROR_SUCCESS);
    EXPECT_EQ(s, QStringLiteral("it's %50"));

    ASSERT_EQ(com::runRegistryScript(QString::fromUtf8(kScript), false, repl), S_OK);
    EXPECT_FALSE(keyExists(Hive::ClassesRoot, clsidKey));
    EXPECT_FALSE(keyExists(Hive::ClassesRoot, QStringLiteral("Demo.Thing.1")));
    EXPECT_TRUE(keyExists(Hive::ClassesRoot, QStringLiteral("CLSID\\{OTHER}")))
        << "NoRemove keeps the parent and others";
    EXPECT_TRUE(keyExists(Hive::ClassesRoot, QStringLiteral("Shared\\Keep")));
    EXPECT_EQ(readString(Hive::ClassesRoot, QStringLiteral("Shared"), QStringLiteral("Owner"), &s),
              ERROR_FILE_NOT_FOUND);

    // unregistering again, with nothing left to remove, succeeds
    EXPECT_EQ(com::runRegistryScript(QString::fromUtf8(kScript), false, repl), S_OK);
}

TEST_F(RegistryFixture, ScriptErrorsChangeNothing)
{
    writeString(Hive::ClassesRoot, QStringLiteral("Before"), QString(), QStringLiteral("x"));
    const QByteArray before = fileText(path());
    QString message;
    const char *bad[] = {
        "HKCR { A = s 'ok' B = s 'unterminated }",
        "HKCR { A = s 'ok' { val X = q '1' } }",
        "HKCR { A = s '%UNKNOWN%' }",
        "HKXX { A = s 'x' }",
        "HKCR { A = s 'x' ",
    };
    for (const char *script : bad) {
        EXPECT_EQ(com::runRegistryScript(QString::fromUtf8(script), true, {}, &message), DISP_E_EXCEPTION) << script;
        EXPECT_FALSE(message.isEmpty());
        EXPECT_FALSE(keyExists(Hive::ClassesRoot, QStringLiteral("A"))) << script;
    }
    EXPECT_EQ(fileText(path()), before);

    writeFile(path(), "garbage\n");
    EXPECT_EQ(
        com::runRegistryScript(QString::fromUtf8(kScript), true, {{QStringLiteral("MODULE"), QStringLiteral("/x")}}),
        REGDB_E_READREGDB);
    EXPECT_EQ(fileText(path()), QByteArray("garbage\n"));
}

TEST_F(RegistryFixture, ProfileStringsHaveGermanDefaults)
{
    OLECHAR buf[64];
    EXPECT_EQ(GetProfileStringW(u"intl", u"sShortDate", u"M/d/yy", buf, 64), 10u);
    EXPECT_EQ(com::fromWide(buf), QStringLiteral("dd.MM.yyyy"));
    GetProfileStringW(u"intl", u"sLongDate", u"", buf, 64);
    EXPECT_EQ(com::fromWide(buf), QStringLiteral("dddd, d. MMMM yyyy"));
    GetProfileStringW(u"intl", u"sDate", u"/", buf, 64);
    EXPECT_EQ(com::fromWide(buf), QStringLiteral("."));
    GetProfileStringW(u"intl", u"sUnknown", u"fallback", buf, 64);
    EXPECT_EQ(com::fromWide(buf), QStringLiteral("fallback"));
    EXPECT_EQ(GetProfileStringW(u"intl", u"sShortDate", u"", buf, 4), 3u) << "cut to the buffer";

    ASSERT_TRUE(WriteProfileStringW(u"intl", u"sShortDate", u"yyyy-MM-dd"));
    EXPECT_EQ(com::reg::profileString(QStringLiteral("intl"), QStringLiteral("sShortDate"), QString()),
              QStringLiteral("yyyy-MM-dd"));
}

TEST_F(RegistryFixture, PlatformRegistryFunctions)
{
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Tools\\Info", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    const char16_t path[] = u"/usr/bin/info";
    ASSERT_EQ(RegSetValueExW(key, u"PATH", 0, REG_SZ, reinterpret_cast<const BYTE *>(path), sizeof path),
              ERROR_SUCCESS);
    RegCloseKey(key);

    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"software\\tools\\info", 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD type = 0, size = 4;
    BYTE small[4];
    EXPECT_EQ(RegQueryValueExW(key, u"PATH", nullptr, &type, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, sizeof path);
    char16_t buf[64];
    size = sizeof buf;
    ASSERT_EQ(RegQueryValueExW(key, u"PATH", nullptr, &type, reinterpret_cast<BYTE *>(buf), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(com::fromWide(buf), QStringLiteral("/usr/bin/info"));
    EXPECT_EQ(RegQueryValueExW(key, u"MISSING", nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Nothing", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
}

// Two processes change the registry at the same time, each its own keys, in batches and one by
// one, while this process registers too: every key of all three arrives.
TEST_F(RegistryFixture, ChangesOfSeveralProcessesAtOnceAllArrive)
{
    constexpr int count = 60;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TORVANA_REGISTRY"), path());
    QProcess writers[2];
    const QString names[2] = {QStringLiteral("A"), QStringLiteral("B")};
    for (int w = 0; w < 2; ++w) {
        writers[w].setProcessEnvironment(env);
        writers[w].start(QStringLiteral(TV_REGISTRY_WRITER), {names[w], QString::number(count)});
    }
    for (QProcess &p : writers)
        ASSERT_TRUE(p.waitForStarted(30000));
    for (int i = 0; i < count; ++i) {
        Batch batch;
        ASSERT_EQ(
            writeString(Hive::CurrentUser, QStringLiteral("Writers\\C\\%1").arg(i), QString(), QStringLiteral("C")),
            ERROR_SUCCESS);
        ASSERT_EQ(batch.commit(), ERROR_SUCCESS);
    }
    for (QProcess &p : writers) {
        ASSERT_TRUE(p.waitForFinished(120000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    }
    for (const QString &name : {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}) {
        QStringList keys;
        ASSERT_EQ(subKeys(Hive::CurrentUser, QStringLiteral("Writers\\") + name, &keys), ERROR_SUCCESS);
        EXPECT_EQ(keys.size(), count) << name.toStdString() << ": keys lost";
        for (int i = 0; i < count; i += 2) {
            QString nr;
            EXPECT_EQ(readString(Hive::CurrentUser, QStringLiteral("Writers\\%1\\%2").arg(name).arg(i),
                                 name == QStringLiteral("C") ? QString() : QStringLiteral("Nr"), &nr),
                      ERROR_SUCCESS)
                << name.toStdString() << i;
        }
    }
    EXPECT_EQ(status(), ERROR_SUCCESS);
}

} // namespace
