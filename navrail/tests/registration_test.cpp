// Self-registration, class objects and the unload rule of the library, driven through its
// exported entry points as a registration tool and the runtime call them.
#include "navrail_fixture.h"

#include <QTemporaryDir>
#include <dlfcn.h>

using namespace navtest;
namespace reg = com::reg;

namespace {

struct ClassRow
{
    CLSID clsid;
    const char *progId;
    const char *description;
    const char *threading;
    enum Kind { Control, Page, Object } kind;
};

const ClassRow kClasses[] = {
    {CLSID_LzNavrailBar, "NavrailBar.LzNavrailBar", "Larkspire NavrailBar", "Apartment", ClassRow::Control},
    {CLSID_LzNavrailGroups, "NavrailBar.LzNavrailGroups", "LzNavrailGroups Class", "Both", ClassRow::Object},
    {CLSID_LzNavrailGroup, "NavrailBar.LzNavrailGroup", "LzNavrailGroup Class", "Both", ClassRow::Object},
    {CLSID_LzNavrailItems, "NavrailBar.LzNavrailItems", "LzNavrailItems Class", "Both", ClassRow::Object},
    {CLSID_LzNavrailItem, "NavrailBar.LzNavrailItem", "LzNavrailItem Class", "Both", ClassRow::Object},
    {CLSID_GeneralPropPage, "NavrailBar.GeneralPropPage", "GeneralPropPage Class", "Apartment", ClassRow::Page},
    {CLSID_MenuProp, "NavrailBar.MenuProp", "MenuProp Class", "Apartment", ClassRow::Page},
    {CLSID_LzTabsSet, "NavrailBar.TabsSet", "TabsSet Class", "Both", ClassRow::Object},
    {CLSID_LzTabs, "NavrailBar.Tabs", "Tabs Class", "Both", ClassRow::Object},
    {CLSID_LzTab, "NavrailBar.Tab", "Tab Class", "Both", ClassRow::Object},
};

// The library opened by path, as the registration tool does.
class Library
{
public:
    Library() : handle_(dlopen(NAVRAIL_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL)) {}
    ~Library()
    {
        if (handle_)
            dlclose(handle_);
    }
    template <class F>
    F entry(const char *name) const
    {
        return reinterpret_cast<F>(dlsym(handle_, name));
    }
    bool ok() const { return handle_ != nullptr; }

private:
    void *handle_;
};

// Points $TORVANA_REGISTRY at an empty temporary file while it lives.
class ScratchRegistry
{
public:
    ScratchRegistry() : previous_(registryPath())
    {
        setenv("TORVANA_REGISTRY", QFile::encodeName(dir_.filePath(QStringLiteral("registry"))).constData(), 1);
    }
    ~ScratchRegistry() { setenv("TORVANA_REGISTRY", QFile::encodeName(previous_).constData(), 1); }

private:
    QTemporaryDir dir_;
    QString previous_;
};

QString value(const QString &key, const QString &name = QString())
{
    QString v;
    if (reg::readString(reg::Hive::ClassesRoot, key, name, &v) != ERROR_SUCCESS)
        return QStringLiteral("<missing>");
    return v;
}

bool exists(const QString &key)
{
    return reg::keyExists(reg::Hive::ClassesRoot, key);
}

} // namespace

TEST(Registration, WritesEveryClassAndRemovesItAgain)
{
    ScratchRegistry scratch;
    Library lib;
    ASSERT_TRUE(lib.ok());
    auto doRegister = lib.entry<PFN_DllRegisterServer>("DllRegisterServer");
    auto doUnregister = lib.entry<PFN_DllUnregisterServer>("DllUnregisterServer");
    ASSERT_TRUE(doRegister && doUnregister);
    ASSERT_EQ(doRegister(), S_OK);

    const QString module = libraryPath();
    for (const ClassRow &c : kClasses) {
        SCOPED_TRACE(c.progId);
        const QString clsid = com::guidToString(c.clsid);
        const QString key = QStringLiteral("CLSID\\") + clsid;
        const QString prog = QString::fromLatin1(c.progId);
        EXPECT_EQ(value(key), QString::fromLatin1(c.description));
        EXPECT_EQ(value(key + QStringLiteral("\\InprocServer32")), module);
        EXPECT_EQ(value(key + QStringLiteral("\\InprocServer32"), QStringLiteral("ThreadingModel")),
                  QString::fromLatin1(c.threading));
        EXPECT_EQ(value(prog + QStringLiteral(".1")), QString::fromLatin1(c.description));
        EXPECT_EQ(value(prog + QStringLiteral(".1\\CLSID")), clsid);
        EXPECT_EQ(value(prog + QStringLiteral("\\CLSID")), clsid);
        const bool pageOrControl = c.kind != ClassRow::Object;
        EXPECT_EQ(exists(prog + QStringLiteral("\\CurVer")), pageOrControl);
        EXPECT_EQ(exists(key + QStringLiteral("\\Programmable")), pageOrControl);
        EXPECT_EQ(exists(key + QStringLiteral("\\ProgID")), c.kind != ClassRow::Page);
        if (c.kind != ClassRow::Page) {
            EXPECT_EQ(value(key + QStringLiteral("\\ProgID")), prog + QStringLiteral(".1"));
            EXPECT_EQ(value(key + QStringLiteral("\\VersionIndependentProgID")), prog);
        }
        EXPECT_EQ(exists(key + QStringLiteral("\\Control")), c.kind == ClassRow::Control);
    }
    const QString bar = QStringLiteral("CLSID\\") + com::guidToString(CLSID_LzNavrailBar);
    EXPECT_TRUE(exists(bar + QStringLiteral("\\Insertable")));
    EXPECT_EQ(value(bar + QStringLiteral("\\ToolboxBitmap32")), module + QStringLiteral(", 101"));
    EXPECT_EQ(value(bar + QStringLiteral("\\MiscStatus")), QStringLiteral("0"));
    EXPECT_EQ(value(bar + QStringLiteral("\\MiscStatus\\1")), QStringLiteral("164241"));
    EXPECT_EQ(value(bar + QStringLiteral("\\TypeLib")), com::guidToString(LIBID_NAVRAILBARLib));
    EXPECT_EQ(value(bar + QStringLiteral("\\Version")), QStringLiteral("1.0"));
    EXPECT_EQ(value(bar + QStringLiteral("\\verb"), QStringLiteral("OLEIVERB_PROPERTIES")),
              QStringLiteral("&Properties...,0,2"));
    EXPECT_EQ(value(QStringLiteral("NavrailBar.LzNavrailBar\\CurVer")), QStringLiteral("NavrailBar.LzNavrailBar.1"));
    CLSID fromProgId{};
    EXPECT_EQ(CLSIDFromProgID(u"NavrailBar.LzNavrailBar", &fromProgId), S_OK);
    EXPECT_EQ(fromProgId, CLSID_LzNavrailBar);
    EXPECT_TRUE(exists(QStringLiteral("TypeLib\\") + com::guidToString(LIBID_NAVRAILBARLib)));

    // The control was never put into the safe categories: unregistration still succeeds.
    ASSERT_EQ(doUnregister(), S_OK);
    for (const ClassRow &c : kClasses) {
        SCOPED_TRACE(c.progId);
        EXPECT_FALSE(exists(QStringLiteral("CLSID\\") + com::guidToString(c.clsid)));
        EXPECT_FALSE(exists(QString::fromLatin1(c.progId)));
        EXPECT_FALSE(exists(QString::fromLatin1(c.progId) + QStringLiteral(".1")));
    }
    EXPECT_FALSE(exists(QStringLiteral("TypeLib\\") + com::guidToString(LIBID_NAVRAILBARLib)));
    // Unregistering twice is harmless.
    EXPECT_EQ(doUnregister(), S_OK);
}

TEST(Registration, UnregisterRemovesTheSafeCategoriesToo)
{
    ScratchRegistry scratch;
    Library lib;
    ASSERT_EQ(lib.entry<PFN_DllRegisterServer>("DllRegisterServer")(), S_OK);
    ComPtr<ICatRegister> categories;
    ASSERT_EQ(CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, CLSCTX_INPROC_SERVER, ICatRegister::iid,
                               categories.putVoid()),
              S_OK);
    CATID safe[] = {CATID_SafeForInitializing, CATID_SafeForScripting};
    ASSERT_EQ(categories->RegisterClassImplCategories(CLSID_LzNavrailBar, 2, safe), S_OK);
    ASSERT_EQ(lib.entry<PFN_DllUnregisterServer>("DllUnregisterServer")(), S_OK);
    EXPECT_FALSE(exists(QStringLiteral("CLSID\\") + com::guidToString(CLSID_LzNavrailBar)));
}

TEST(ClassObjects, ServesAllTenClassesAndRefusesOthers)
{
    Library lib;
    auto getClassObject = lib.entry<PFN_DllGetClassObject>("DllGetClassObject");
    ASSERT_NE(getClassObject, nullptr);
    for (const ClassRow &c : kClasses) {
        SCOPED_TRACE(c.progId);
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(getClassObject(c.clsid, IClassFactory::iid, factory.putVoid()), S_OK);
        ASSERT_TRUE(factory);
        if (c.kind == ClassRow::Page)
            continue;
        ComPtr<IDispatch> object;
        EXPECT_EQ(factory->CreateInstance(nullptr, IDispatch::iid, object.putVoid()), S_OK);
        EXPECT_TRUE(object);
        ComPtr<IUnknown> outer;
        EXPECT_EQ(factory->CreateInstance(object.get(), IUnknown::iid, outer.putVoid()), CLASS_E_NOAGGREGATION);
    }
    ComPtr<IClassFactory> none;
    EXPECT_EQ(getClassObject(com::makeGuid("12345678-1234-1234-1234-123456789ABC"), IClassFactory::iid, none.putVoid()),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_FALSE(none);
    // The same class objects are reached through the registry.
    ComPtr<ILzNavrailBar> bar;
    EXPECT_EQ(com::createInstance(CLSID_LzNavrailBar, bar), S_OK);
    ComPtr<ILzTabs> tabs;
    EXPECT_EQ(com::createInstance(CLSID_LzTabs, tabs), S_OK);
}

TEST(ClassObjects, UnloadFollowsLiveObjectsAndLocks)
{
    Library lib;
    auto getClassObject = lib.entry<PFN_DllGetClassObject>("DllGetClassObject");
    auto canUnload = lib.entry<PFN_DllCanUnloadNow>("DllCanUnloadNow");
    ASSERT_TRUE(getClassObject && canUnload);
    ASSERT_EQ(canUnload(), S_OK) << "an earlier test left an object alive";

    ComPtr<IClassFactory> factory;
    ASSERT_EQ(getClassObject(CLSID_LzNavrailBar, IClassFactory::iid, factory.putVoid()), S_OK);
    EXPECT_EQ(canUnload(), S_OK) << "a class object alone does not keep the library";
    {
        ComPtr<ILzNavrailBar> bar;
        ASSERT_EQ(factory->CreateInstance(nullptr, ILzNavrailBar::iid, bar.putVoid()), S_OK);
        ComPtr<ILzNavrailGroup> group = addGroup(bar.get(), QStringLiteral("System"));
        bar.reset();
        EXPECT_EQ(canUnload(), S_FALSE) << "a group the client holds keeps the library";
    }
    EXPECT_EQ(canUnload(), S_OK);
    ASSERT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(canUnload(), S_FALSE);
    ASSERT_EQ(factory->LockServer(FALSE), S_OK);
    EXPECT_EQ(canUnload(), S_OK);
}
