#include "core/modLogin.h"
#include "core/Eroef.h"
#include "core/Login.h"
#include "core/Main.h"
#include "core/modEnde.h"
#include "core/modMain.h"
#include "core/modStart.h"
#include "core/navigation.h"
#include "core/plugins.h"

#include "com/bstr.h"
#include "com/variant.h"

#include <QLineEdit>

namespace modLogin {

namespace {

// The item that hosts the first window after login: the catch log, or without the right to it
// the first item left (Organisation first, then System); empty when none is left.
com::ComPtr<ILzNavrailItem> ersteItem(QString *key)
{
    com::ComPtr<ILzNavrailItem> item = modMain::ItemFromKey(navigation::Fangbuch.key);
    if (item) {
        *key = navigation::Fangbuch.key;
        return item;
    }
    const auto &g = gv();
    for (const auto &items : {g.objItemsOrganisation, g.objItemsSystem}) {
        LONG anzahl = 0;
        if (!items || FAILED(items->get_Count(&anzahl)) || anzahl <= 0)
            continue;
        com::Variant erstes = com::Variant::i4(0);
        if (FAILED(items->Item(erstes, item.put())) || !item)
            continue;
        com::Bstr k;
        item->get_Key(k.put());
        *key = k.toString();
        return item;
    }
    return {};
}

} // namespace

void StarteLogin()
{
    Login &login = forms::form<Login>();
    if (login.txtBenutzer->text().isEmpty()) {
        login.txtBenutzer->setFocus();
        return;
    }
    if (!modStart::Login(login.txtBenutzer->text(), login.txtPassw->text())) {
        login.txtBenutzer->clear();
        login.txtPassw->clear();
        login.txtBenutzer->setFocus();
        return;
    }

    login.Hide();
    forms::form<Eroef>().Show();
    modStart::ErmittleTagesdatum();
    if (!modStart::KontrolliereSystemJahr()) {
        forms::unload<Eroef>();
        if (Main *main = forms::loadedForm<Main>())
            main->Unload();
        forms::unload<Login>();
        modEnde::SchliesseDatenbank();
        return;
    }
    modStart::LadeAlleTabellen();
    modStart::SetzeStatusJahr();
    forms::unload<Eroef>();
    if (Main *main = forms::loadedForm<Main>())
        main->Show();
    ZeigeErstesFenster();
    forms::unload<Login>();
}

void ZeigeErstesFenster()
{
    QString key;
    gv().objAktItem = ersteItem(&key);
    if (gv().objAktItem)
        if (forms::Form *fenster = core::Fenster(key)) {
            modMain::SetzeSuchAufruf(key);
            modMain::ZeigeImAktItem(*fenster);
        }
}

} // namespace modLogin
