#include "core_fixture.h"

#include "core/Login.h"
#include "core/Main.h"
#include "core/modMain.h"
#include "core/modStart.h"
#include "schema/schema.h"

#include "com/bstr.h"
#include "com/object.h"
#include "com/variant.h"
#include "forms/listgrid.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <cstdlib>
#include <dlfcn.h>

namespace coretest {

namespace {

// Registers the navigation bar's library once for the whole run, into a registry of its own.
class NavrailRegistrierung : public ::testing::Environment
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        setenv("TORVANA_REGISTRY", QFile::encodeName(dir_.filePath(QStringLiteral("registry"))).constData(), 1);
        void *lib = dlopen(TORVANA_NAVRAIL_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_TRUE(lib) << "the navigation bar's library cannot be loaded: " << dlerror();
        auto reg = reinterpret_cast<PFN_DllRegisterServer>(dlsym(lib, "DllRegisterServer"));
        vorhanden_ = reg && reg() == S_OK;
        dlclose(lib);
        ASSERT_TRUE(vorhanden_) << "the navigation bar's library does not register: " << TORVANA_NAVRAIL_LIBRARY;
    }
    bool vorhanden() const { return vorhanden_; }

private:
    QTemporaryDir dir_;
    bool vorhanden_ = false;
};

NavrailRegistrierung *g_navrail =
    static_cast<NavrailRegistrierung *>(::testing::AddGlobalTestEnvironment(new NavrailRegistrierung));

} // namespace

bool navrailVorhanden()
{
    return g_navrail->vorhanden();
}

void CoreTest::SetUp()
{
    ProgramTest::SetUp();
    if (HasFatalFailure())
        return;
    modMain::RegistriereKern();
    // The catch log's grid, which the start-up load fills.
    fangListe = std::make_unique<forms::ListGrid>();
    modStart::setFangListe([this]() -> forms::ListGrid & { return *fangListe; });
}

void CoreTest::TearDown()
{
    forms::unloadAll();
    if (gv().dbDaten.IsOpen())
        gv().dbDaten.Close();
    modGVar::resetGv();
    for (const QPointer<Attrappe> &a : attrappen)
        delete a.data();
    attrappen.clear();
    apptest::LeereEinstiege();
    fangListe.reset();
    QFile::remove(db());
    ProgramTest::TearDown();
}

void CoreTest::starte()
{
    forms::form<Main>();
}

void CoreTest::meldeAn(const QString &name, const QString &passwort)
{
    starte();
    Login &login = forms::form<Login>();
    login.txtBenutzer->setText(name);
    login.txtPassw->setText(passwort);
    login.cmdOK_Click();
}

Attrappe &CoreTest::attrappe(const QString &key)
{
    auto *a = new Attrappe;
    attrappen.push_back(a);
    a->setObjectName(key);
    QPointer<Attrappe> p(a);
    modMain::RegistriereFenster(key, [p]() -> forms::Form * { return p.data(); });
    return *a;
}

QString CoreTest::aktKey()
{
    if (!gv().objAktItem)
        return {};
    com::Bstr k;
    gv().objAktItem->get_Key(k.put());
    return k.toString();
}

QStringList itemKeys(ILzNavrailItems *items)
{
    QStringList keys;
    LONG n = 0;
    if (!items || FAILED(items->get_Count(&n)))
        return keys;
    for (LONG i = 0; i < n; ++i) {
        com::ComPtr<ILzNavrailItem> item;
        items->Item(com::Variant::i4(i), item.put());
        com::Bstr k;
        if (item)
            item->get_Key(k.put());
        keys << k.toString();
    }
    return keys;
}

} // namespace coretest
