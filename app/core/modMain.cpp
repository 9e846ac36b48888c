#include "core/modMain.h"
#include "core/Basis.h"
#include "core/Benutzer.h"
#include "core/Info.h"
#include "core/Login.h"
#include "core/Main.h"
#include "core/System.h"
#include "core/modStart.h"
#include "core/modTools.h"
#include "core/navigation.h"
#include "core/plugins.h"

#include "com/bstr.h"
#include "ole/handles.h"

namespace modMain {

void VerbergeAlleForms()
{
    namespace nav = navigation;
    // In this order. A window not loaded yet is left alone: it is loaded when it is first shown.
    const QString fenster[] = {
        nav::Zugriff.key,         nav::Parameter.key,         nav::Fangbuch.key, nav::Fangauswertung.key,
        nav::Kontakte.key,        nav::Basisdaten.key,        nav::Arbeit.key,   nav::Besatzung.key,
        QStringLiteral("Hinter"), QStringLiteral("MitglList")};
    for (const QString &key : fenster)
        if (forms::Form *f = core::GeladenesFenster(key))
            f->Hide();
    if (const auto &leere = core::einstiege().bereiche.LeereMitglAuswahl)
        leere();
    if (forms::Form *katego = core::GeladenesFenster(QStringLiteral("Katego")))
        katego->Hide();
}

void RegistriereKern()
{
    core::RegistriereFenster(
        navigation::Parameter.key, [] { return &forms::form<System>(); }, [] { return forms::loadedForm<System>(); });
    core::RegistriereFenster(
        QStringLiteral("Info"), [] { return &forms::form<Info>(); }, [] { return forms::loadedForm<Info>(); });
    core::RegistriereFenster(
        navigation::Basisdaten.key, [] { return &forms::form<Basis>(); }, [] { return forms::loadedForm<Basis>(); });
    core::RegistriereFenster(
        navigation::Zugriff.key, [] { return &forms::form<Benutzer>(); }, [] { return forms::loadedForm<Benutzer>(); });
    auto &e = core::einstiege();
    e.startschritte.loadButtnBar = modStart::loadButtnBar;
    e.startschritte.zeigeLogin = [] {
        Login &login = forms::form<Login>();
        forms::placeAsDialog(login, forms::dialogOwner());
        login.Show();
    };
    e.startschritte.RepariereDatenbank = modTools::RepariereDatenbank;
    e.bereiche.KomprimiereDatenbank = modTools::KomprimiereDatenbank;
    e.ladeschritte.loadTblBenutzer = modStart::loadTblBenutzer;
    e.ladeschritte.loadTblZugriff = modStart::loadTblZugriff;
}

com::ComPtr<ILzNavrailItem> ItemFromKey(const QString &key)
{
    com::ComPtr<ILzNavrailItem> item;
    Main *main = forms::loadedForm<Main>();
    if (!main)
        return item;
    const com::ComPtr<ILzNavrailBar> bar = main->Bar();
    if (!bar)
        return item;
    if (FAILED(bar->ItemFromKey(com::Bstr(key), item.put())))
        item = nullptr;
    return item;
}

void SetzeSuchAufruf(const QString &key)
{
    if (key == navigation::Kontakte.key)
        gv().intSuchAufruf = 0;
    else if (key == navigation::Arbeit.key)
        gv().intSuchAufruf = 1;
}

bool ZeigeImAktItem(forms::Form &fenster)
{
    Main *main = forms::loadedForm<Main>();
    if (main && !main->Bar()) {
        // Without the navigation bar the window stands on its own.
        fenster.Show();
        return true;
    }
    const com::ComPtr<ILzNavrailItem> item = gv().objAktItem;
    if (!item)
        return false;
    if (FAILED(item->put_WindowObject1(LONG(ole::handleFromWidget(&fenster)))))
        return false;
    if (FAILED(item->Display()))
        return false;
    fenster.Show();
    return true;
}

forms::Form *ZeigeFenster(const QString &key)
{
    VerbergeAlleForms();
    gv().objAktItem = ItemFromKey(key);
    forms::Form *fenster = core::Fenster(key);
    if (fenster)
        ZeigeImAktItem(*fenster);
    return fenster;
}

} // namespace modMain
