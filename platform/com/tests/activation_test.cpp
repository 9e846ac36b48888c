#include "com/activation.h"
#include "com/dispimpl.h"
#include "com/interfaces.h"
#include "com/object.h"
#include "com/registry.h"
#include "registry_fixture.h"
#include "test_server.h"

#include <QProcess>

#include <csignal>
#include <cstring>

#include <dlfcn.h>
#include <elf.h>
#include <sys/resource.h>

using com::ComPtr;
using com::Variant;

namespace {

// The test library registered through its own DllRegisterServer, as the registration tool does.
class Activation : public RegistryFixture
{
protected:
    void SetUp() override
    {
        RegistryFixture::SetUp();
        lib = dlopen(TV_TEST_SERVER, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(lib, nullptr) << dlerror();
        canUnload = reinterpret_cast<PFN_DllCanUnloadNow>(dlsym(lib, "DllCanUnloadNow"));
        auto reg = reinterpret_cast<PFN_DllRegisterServer>(dlsym(lib, "DllRegisterServer"));
        ASSERT_TRUE(canUnload && reg);
        ASSERT_EQ(reg(), S_OK);
    }
    void *lib = nullptr;
    PFN_DllCanUnloadNow canUnload = nullptr;
};

TEST_F(Activation, CreatesThroughTheRegistryAndCountsLocks)
{
    QString path;
    ASSERT_EQ(com::reg::readString(com::reg::Hive::ClassesRoot,
                                   QStringLiteral("CLSID\\{5A1E0C01-7D2B-4C3A-9E11-0F2D3C4B5A01}\\InprocServer32"),
                                   QString(), &path),
              ERROR_SUCCESS);
    EXPECT_TRUE(path.startsWith(u'/')) << "registered by full path: " << path.toStdString();

    EXPECT_EQ(canUnload(), S_OK);
    ComPtr<ITestCounter> counter;
    ASSERT_EQ(com::createInstance(CLSID_TestCounter, counter), S_OK);
    EXPECT_TRUE(com::loadedLibraries().contains(path));
    EXPECT_EQ(canUnload(), S_FALSE) << "a live object keeps the library";

    Variant v;
    ASSERT_EQ(com::dispPut(counter.get(), DISPID_TEST_VALUE, Variant::string("5")), S_OK);
    ASSERT_EQ(com::dispGet(counter.get(), DISPID_TEST_VALUE, &v), S_OK);
    EXPECT_EQ(v.lVal, 5);
    counter.reset();
    EXPECT_EQ(canUnload(), S_OK);

    ComPtr<IClassFactory> factory;
    ASSERT_EQ(CoGetClassObject(CLSID_TestCounter, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, factory.putVoid()),
              S_OK);
    EXPECT_EQ(canUnload(), S_OK) << "a class object alone is no lock";
    factory->LockServer(TRUE);
    EXPECT_EQ(canUnload(), S_FALSE);
    factory->LockServer(FALSE);
    EXPECT_EQ(canUnload(), S_OK);
    IUnknown *outer = factory.get();
    ComPtr<IUnknown> agg;
    EXPECT_EQ(factory->CreateInstance(outer, IID_IUnknown, agg.putVoid()), CLASS_E_NOAGGREGATION);
}

TEST_F(Activation, ProgIdsMapToClasses)
{
    CLSID clsid;
    ASSERT_EQ(CLSIDFromProgID(u"TvTest.Counter.1", &clsid), S_OK);
    EXPECT_EQ(clsid, CLSID_TestCounter);
    ASSERT_EQ(CLSIDFromProgID(u"tvtest.counter", &clsid), S_OK) << "version-independent, any case";
    EXPECT_EQ(clsid, CLSID_TestCounter);
    EXPECT_EQ(CLSIDFromProgID(u"TvTest.Nothing", &clsid), CO_E_CLASSSTRING);
    ASSERT_EQ(CLSIDFromString(u"TvTest.Counter.1", &clsid), S_OK);

    LPOLESTR progId = nullptr;
    ASSERT_EQ(ProgIDFromCLSID(CLSID_TestCounter, &progId), S_OK);
    EXPECT_EQ(com::fromWide(progId), QStringLiteral("TvTest.Counter.1"));
    CoTaskMemFree(progId);
    EXPECT_EQ(ProgIDFromCLSID(CLSID_TestUnserved, &progId), REGDB_E_CLASSNOTREG);
}

TEST_F(Activation, FailuresHaveTheirOwnCodes)
{
    ComPtr<IUnknown> obj;
    const CLSID unknown = com::makeGuid("5A1E0CFF-7D2B-4C3A-9E11-0F2D3C4B5A01");
    EXPECT_EQ(CoCreateInstance(unknown, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, obj.putVoid()),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(CoCreateInstance(CLSID_TestUnserved, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, obj.putVoid()),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, obj.putVoid()),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(CoCreateInstance(CLSID_TestCounter, nullptr, CLSCTX_INPROC_SERVER, IID_IStream, obj.putVoid()),
              E_NOINTERFACE);

    const QString key = QStringLiteral("CLSID\\{5A1E0CFF-7D2B-4C3A-9E11-0F2D3C4B5A01}\\InprocServer32");
    com::reg::writeString(com::reg::Hive::ClassesRoot, key, QString(), dir.filePath(QStringLiteral("gone.so")));
    EXPECT_EQ(CoCreateInstance(unknown, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, obj.putVoid()), CO_E_DLLNOTFOUND);
    com::reg::writeString(com::reg::Hive::ClassesRoot, key, QString(), QStringLiteral("libtv_com_testserver.so"));
    EXPECT_EQ(CoCreateInstance(unknown, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, obj.putVoid()), CO_E_BAD_PATH)
        << "a bare name is never loaded";
    EXPECT_FALSE(obj);
}

TEST_F(Activation, CategoriesAndTypeLibraries)
{
    ComPtr<ICatRegister> cats;
    ASSERT_EQ(CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER, IID_ICatRegister,
                               cats.putVoid()),
              S_OK);
    CATID ids[] = {CATID_SafeForScripting, CATID_SafeForInitializing};
    EXPECT_EQ(cats->UnRegisterClassImplCategories(CLSID_TestCounter, 2, ids), S_OK) << "never registered: still fine";
    ASSERT_EQ(cats->RegisterClassImplCategories(CLSID_TestCounter, 2, ids), S_OK);
    const QString base = QStringLiteral("CLSID\\{5A1E0C01-7D2B-4C3A-9E11-0F2D3C4B5A01}\\Implemented Categories");
    EXPECT_TRUE(com::reg::keyExists(com::reg::Hive::ClassesRoot,
                                    base + QStringLiteral("\\{7DD95801-9882-11CF-9FA9-00AA006C42C4}")));
    ASSERT_EQ(cats->UnRegisterClassImplCategories(CLSID_TestCounter, 2, ids), S_OK);
    EXPECT_FALSE(com::reg::keyExists(com::reg::Hive::ClassesRoot, base));

    const GUID lib = com::makeGuid("5A1E0C10-7D2B-4C3A-9E11-0F2D3C4B5A01");
    ASSERT_EQ(com::registerTypeLibrary(lib, 1, 0, QStringLiteral("Test Library"), QStringLiteral("/x/lib.so")), S_OK);
    EXPECT_TRUE(com::reg::keyExists(com::reg::Hive::ClassesRoot,
                                    QStringLiteral("TypeLib\\{5A1E0C10-7D2B-4C3A-9E11-0F2D3C4B5A01}\\1.0\\0\\linux")));
    EXPECT_EQ(UnRegisterTypeLib(lib, 1, 0, 0, 0), S_OK);
    EXPECT_FALSE(com::reg::keyExists(com::reg::Hive::ClassesRoot,
                                     QStringLiteral("TypeLib\\{5A1E0C10-7D2B-4C3A-9E11-0F2D3C4B5A01}")));
    EXPECT_EQ(UnRegisterTypeLib(lib, 1, 0, 0, 0), S_OK);
}

TEST_F(Activation, RegistrationToolRegistersAndUnregisters)
{
    auto dllUnregister = reinterpret_cast<PFN_DllUnregisterServer>(dlsym(lib, "DllUnregisterServer"));
    ASSERT_EQ(dllUnregister(), S_OK);
    EXPECT_FALSE(com::reg::keyExists(com::reg::Hive::ClassesRoot, QStringLiteral("TvTest.Counter.1")));

    auto run = [](const QStringList &args, QString *out) {
        QProcess p;
        p.start(QStringLiteral(TV_REGSVR), args);
        p.waitForFinished(30000);
        *out = QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError());
        return p.exitCode();
    };
    QString out;
    EXPECT_EQ(run({QStringLiteral(TV_TEST_SERVER)}, &out), 0) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("Registrierung erfolgreich")));
    EXPECT_TRUE(com::reg::keyExists(com::reg::Hive::ClassesRoot, QStringLiteral("TvTest.Counter.1")));
    EXPECT_EQ(run({QStringLiteral("-u"), QStringLiteral(TV_TEST_SERVER)}, &out), 0) << out.toStdString();
    EXPECT_FALSE(com::reg::keyExists(com::reg::Hive::ClassesRoot, QStringLiteral("TvTest.Counter.1")));
    EXPECT_EQ(run({QStringLiteral("-u"), QStringLiteral(TV_TEST_SERVER)}, &out), 0) << "unregistering twice succeeds";

    EXPECT_NE(run({dir.filePath(QStringLiteral("missing.so"))}, &out), 0);
    EXPECT_TRUE(out.contains(QStringLiteral("nicht gefunden")));
    EXPECT_NE(run({QStringLiteral(TV_REGSVR)}, &out), 0) << "a program is no component library";
    EXPECT_EQ(run({}, &out), 2);
}

// The registration tool on a full disk: it fails and names the registry file and the cause; the
// registry stays as it was.
TEST_F(Activation, TheRegistrationToolOnAFullDiskNamesTheFileAndTheCause)
{
    const QString datei = com::reg::filePath();
    QFile vorher(datei);
    ASSERT_TRUE(vorher.open(QIODevice::ReadOnly));
    const QByteArray inhalt = vorher.readAll();
    vorher.close();
    for (const QStringList &args : {QStringList{QStringLiteral(TV_TEST_SERVER)},
                                    QStringList{QStringLiteral("-u"), QStringLiteral(TV_TEST_SERVER)}}) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        QProcess p;
        // As a full disk refuses them: every write of the tool beyond a few bytes fails.
        p.setChildProcessModifier([] {
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit grenze{16, 16};
            ::setrlimit(RLIMIT_FSIZE, &grenze);
        });
        p.start(QStringLiteral(TV_REGSVR), args);
        ASSERT_TRUE(p.waitForFinished(30000));
        const QString out = QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError());
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 1) << out.toStdString();
        EXPECT_TRUE(out.contains(QStringLiteral("Die Komponentenregistrierung %1 kann nicht geschrieben werden (%2).")
                                     .arg(datei, QString::fromLocal8Bit(std::strerror(EFBIG)))))
            << out.toStdString();
        QFile nachher(datei);
        ASSERT_TRUE(nachher.open(QIODevice::ReadOnly));
        EXPECT_EQ(nachher.readAll(), inhalt);
    }
}

// A registry file that cannot be read: the registration tool sets it aside, says where, and
// registers into a fresh one.
TEST_F(Activation, TheRegistrationToolSetsADamagedRegistryAsideAndStartsAfresh)
{
    const QString datei = com::reg::filePath();
    const QByteArray kaputt = "[HKEY_CLASSES_ROOT\\CLSID\n@=kaputt\n";
    for (const QString &beiseite : {datei + ".beschaedigt", datei + ".beschaedigt-2"}) {
        SCOPED_TRACE(beiseite.toStdString());
        {
            QFile f(datei);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(kaputt);
        }
        ASSERT_EQ(com::reg::status(), ERROR_BADDB);
        QProcess p;
        p.start(QStringLiteral(TV_REGSVR), {QStringLiteral(TV_TEST_SERVER)});
        ASSERT_TRUE(p.waitForFinished(30000));
        const QString out = QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError());
        EXPECT_EQ(p.exitCode(), 0) << out.toStdString();
        EXPECT_TRUE(out.contains("Die Komponentenregistrierung " + datei + " war beschädigt")) << out.toStdString();
        EXPECT_TRUE(out.contains("sie liegt jetzt unter " + beiseite + ", die Registrierung beginnt neu"))
            << out.toStdString();
        EXPECT_TRUE(out.contains("Registrierung erfolgreich")) << out.toStdString();
        QFile alt(beiseite);
        ASSERT_TRUE(alt.open(QIODevice::ReadOnly));
        EXPECT_EQ(alt.readAll(), kaputt);
        EXPECT_EQ(com::reg::status(), ERROR_SUCCESS);
        EXPECT_TRUE(com::reg::keyExists(com::reg::Hive::ClassesRoot, QStringLiteral("TvTest.Counter.1")));
    }
}

// A library file at a registered path that is cut short or is no shared object of this machine:
// the registration tool and the runtime refuse it with the damaged server's error, and neither
// dies in the loader.
TEST_F(Activation, ACutOrForeignLibraryFileIsRefusedWithoutACrash)
{
    QFile intact(QStringLiteral(TV_TEST_SERVER));
    ASSERT_TRUE(intact.open(QIODevice::ReadOnly));
    const QByteArray image = intact.readAll();
    ASSERT_GT(image.size(), 4096);
    EXPECT_TRUE(com::checkLibraryImage(QStringLiteral(TV_TEST_SERVER)));

    auto patched = [&](int offset, QByteArray bytes) {
        QByteArray b = image;
        b.replace(offset, bytes.size(), bytes);
        return b;
    };
    // Where the parts the loader maps end (the debug sections lie beyond).
    const auto *eh = reinterpret_cast<const Elf64_Ehdr *>(image.constData());
    qsizetype mapped = 0;
    for (int i = 0; i < eh->e_phnum; ++i) {
        const auto *ph = reinterpret_cast<const Elf64_Phdr *>(image.constData() + eh->e_phoff + i * eh->e_phentsize);
        if (ph->p_type == PT_LOAD)
            mapped = qMax(mapped, qsizetype(ph->p_offset + ph->p_filesz));
    }
    ASSERT_GT(mapped, 4096);
    const uint16_t machine = uint16_t(uchar(image[18]) | uchar(image[19]) << 8);
    const uint16_t other = machine == 62 ? 3 : 62; // x86-64 or i386, whichever this is not
    const struct
    {
        const char *name;
        QByteArray content;
    } cases[] = {
        {"cut-header.so", image.left(40)},
        {"cut-100.so", image.left(100)},
        {"cut-in-mapped-part.so", image.left(mapped - 4096)},
        {"cut-half.so", image.left(image.size() / 2)},
        {"cut-last-byte.so", image.left(image.size() - 1)},
        {"other-machine.so", patched(18, QByteArray(1, char(other & 0xff)) + QByteArray(1, char(other >> 8)))},
        {"32-bit.so", patched(4, QByteArray(1, char(1)))},
        {"program.so", patched(16, QByteArray(1, char(2)) + QByteArray(1, char(0)))}, // ET_EXEC
        {"text.so", QByteArray("INPUT(libc.so)\n")},
        {"empty.so", QByteArray()},
    };
    const CLSID unknown = com::makeGuid("5A1E0CFE-7D2B-4C3A-9E11-0F2D3C4B5A01");
    const QString key = QStringLiteral("CLSID\\{5A1E0CFE-7D2B-4C3A-9E11-0F2D3C4B5A01}\\InprocServer32");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.content);
        }
        QString why;
        EXPECT_FALSE(com::checkLibraryImage(path, &why));
        EXPECT_FALSE(why.isEmpty());

        // The registration tool, in a process of its own.
        QProcess p;
        p.start(QStringLiteral(TV_REGSVR), {path});
        ASSERT_TRUE(p.waitForFinished(30000));
        const QString out = QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError());
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << "no crash";
        EXPECT_EQ(p.exitCode(), 1) << out.toStdString();
        EXPECT_TRUE(out.contains(QStringLiteral("beschädigt")) && out.contains(QStringLiteral("0x800401F9")))
            << out.toStdString();

        // The runtime, here: the class registered at that path.
        ASSERT_EQ(com::reg::writeString(com::reg::Hive::ClassesRoot, key, QString(), path), ERROR_SUCCESS);
        ComPtr<IUnknown> obj;
        EXPECT_EQ(CoCreateInstance(unknown, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, obj.putVoid()),
                  CO_E_ERRORINDLL);
        EXPECT_TRUE(com::currentErrorDescription().contains(path));
        EXPECT_FALSE(obj);
        EXPECT_FALSE(com::loadedLibraries().contains(path));
    }
}

} // namespace
