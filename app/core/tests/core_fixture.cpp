#include "core_fixture.h"

#include "core/Login.h"
#include "core/Main.h"
#include "core/modMain.h"
#include "core/modStart.h"
#include "core/plugins.h"
#include "schema/schema.h"

#include "com/bstr.h"
#include "com/object.h"
#include "com/variant.h"
#include "forms/listgrid.h"

#include <QLineEdit>

namespace coretest {

namespace {

// The navigation bar's library, registered once for the whole run.
apptest::Steuerelemente *g_navrail = apptest::RegistriereSteuerelemente({TORVANA_NAVRAIL_LIBRARY});

} // namespace

bool navrailVorhanden()
{
    return g_navrail->registriert();
}

void CoreTest::SetUp()
{
    ProgramTest::SetUp();
    if (HasFatalFailure())
        return;
    RichteKernEin();
}

void CoreTest::RichteKernEin()
{
    modMain::RegistriereKern();
    // The catch log's grid, which the start-up load fills.
    fangListe = std::make_unique<forms::ListGrid>();
    auto &e = core::einstiege();
    e.fangListe = [this]() -> forms::ListGrid & { return *fangListe; };
    besatzListe = std::make_unique<forms::ListGrid>();
    besatzJahre.clear();
    e.besatzListe = {[this]() -> forms::ListGrid & { return *besatzListe; },
                     [this](int jahr) { besatzJahre.push_back(jahr); }};
    kategoListe = std::make_unique<forms::ListGrid>();
    kategoListe->top().setColumnCount(2);
    e.kategoListe = [this]() -> forms::ListGrid & { return *kategoListe; };
}

void CoreTest::TearDown()
{
    forms::unloadAll();
    for (const QPointer<Attrappe> &a : attrappen)
        delete a.data();
    attrappen.clear();
    ProgramTest::TearDown();
    fangListe.reset();
    besatzListe.reset();
    kategoListe.reset();
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
    core::RegistriereFenster(key, [p]() -> forms::Form * { return p.data(); });
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
