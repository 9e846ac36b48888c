#include "core/modMain.h"
#include "core/Basis.h"
#include "core/Benutzer.h"
#include "core/Besatzung.h"
#include "core/Info.h"
#include "core/Katego.h"
#include "core/Login.h"
#include "core/Main.h"
#include "core/System.h"
#include "core/modStart.h"
#include "core/modTools.h"

#include "com/bstr.h"
#include "ole/handles.h"

#include <QHash>

namespace modMain {

namespace {

QHash<QString, Fensterfabrik> &register_()
{
    static QHash<QString, Fensterfabrik> fabriken;
    return fabriken;
}

} // namespace

void RegistriereFenster(const QString &key, Fensterfabrik fabrik)
{
    if (fabrik)
        register_().insert(key, std::move(fabrik));
    else
        register_().remove(key);
}

void LeereFensterRegister()
{
    register_().clear();
}

forms::Form *Fenster(const QString &key)
{
    const auto it = register_().constFind(key);
    if (it == register_().constEnd() || !*it)
        return nullptr;
    return (*it)();
}

Bereiche &bereiche()
{
    static Bereiche b;
    return b;
}

void VerbergeAlleForms()
{
    static const char *const fenster[] = {"Zugriff", "Parameter", "Fangbuch",  "Fangauswertung", "Kontakte",
                                          "Basisdaten", "Arbeit", "Besatzung", "Hinter", "MitglList"};
    for (const char *key : fenster)
        if (forms::Form *f = Fenster(QString::fromLatin1(key)))
            f->Hide();
    if (bereiche().LeereMitglAuswahl)
        bereiche().LeereMitglAuswahl();
    if (forms::Form *katego = Fenster(QStringLiteral("Katego")))
        katego->Hide();
}

void RegistriereKern()
{
    RegistriereFenster(QStringLiteral("Parameter"), [] { return &forms::form<System>(); });
    RegistriereFenster(QStringLiteral("Besatzung"), [] { return &forms::form<Besatzung>(); });
    RegistriereFenster(QStringLiteral("Katego"), [] { return &forms::form<Katego>(); });
    RegistriereFenster(QStringLiteral("Info"), [] { return &forms::form<Info>(); });
    RegistriereFenster(QStringLiteral("Basisdaten"), [] { return &forms::form<Basis>(); });
    RegistriereFenster(QStringLiteral("Zugriff"), [] { return &forms::form<Benutzer>(); });
    auto &schritte = modStart::startschritte();
    schritte.loadButtnBar = modStart::loadButtnBar;
    schritte.zeigeLogin = [] { forms::form<Login>().Show(); };
    schritte.RepariereDatenbank = modTools::RepariereDatenbank;
    bereiche().KomprimiereDatenbank = modTools::KomprimiereDatenbank;
    auto &laden = modStart::ladeschritte();
    laden.loadTblBenutzer = modStart::loadTblBenutzer;
    laden.loadTblZugriff = modStart::loadTblZugriff;
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
    forms::Form *fenster = Fenster(key);
    if (fenster)
        ZeigeImAktItem(*fenster);
    return fenster;
}

} // namespace modMain
