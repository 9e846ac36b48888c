#include "core/Eroef.h"
#include "core/Main.h"
#include "core/modMain.h"
#include "core/modRun.h"
#include "core/modStart.h"
#include "core/modSystem.h"
#include "core/navigation.h"
#include "core/plugins.h"
#include "core/trap.h"
#include "ole/clock.h"

#include "com/bstr.h"
#include "dao/dao.h"
#include "forms/form.h"
#include "forms/services.h"
#include "forms/statusbar.h"
#include "ole/container.h"
#include "ole/font.h"

#include <QAbstractButton>
#include <QAction>
#include <QDate>
#include <QFontMetrics>
#include <QProgressBar>

namespace modStart {

namespace {

forms::StatusBar *statusBar()
{
    Main *main = forms::loadedForm<Main>();
    return main ? main->StatusBar1 : nullptr;
}

// One group with the table's entries of that group; the items collection comes back through
// items.
com::ComPtr<ILzNavrailGroup> baueGruppe(ILzNavrailGroups *gruppen, const QString &text, LONG bilder,
                                        com::ComPtr<ILzNavrailItems> &items, navigation::Gruppe welche)
{
    com::ComPtr<ILzNavrailGroup> gruppe;
    if (FAILED(gruppen->Add(com::Bstr(text), gruppe.put())) || !gruppe)
        return {};
    gruppe->put_LargeHImageList(bilder);
    gruppe->get_Items(items.put());
    if (!items)
        return gruppe;
    for (const navigation::Eintrag *e : navigation::Eintraege) {
        if (e->gruppe != welche)
            continue;
        com::ComPtr<ILzNavrailItem> item;
        items->AddKey(com::Bstr(QString(e->key)), com::Bstr(QString::fromUtf8(e->caption)), e->image, item.put());
        gv().objItem = item;
    }
    return gruppe;
}

// The width of the bar's left pane: 80 pixels, wider where an item's caption needs more, so that
// every caption shows whole (a caption of two lines by its longer line).
LONG linkeBreite(ILzNavrailBar *bar)
{
    com::ComPtr<IFontDisp> schrift;
    bar->get_Font(schrift.put());
    const QFontMetrics fm(ole::toQFont(schrift.get()));
    int breit = 0;
    for (const navigation::Eintrag *e : navigation::Eintraege) {
        const QString caption = QString::fromUtf8(e->caption).replace(QLatin1String("&&"), QLatin1String("&"));
        for (const QString &zeile : caption.split(QLatin1String("\r\n")))
            breit = qMax(breit, fm.horizontalAdvance(zeile));
    }
    // The bar's frame (up to two pixels a side) and some air on either side of the caption.
    return qMax(80, breit + 2 * (2 + 4));
}

// Removes the item of key from its group's items (no-op when it is not there).
void entferneItem(const com::ComPtr<ILzNavrailItems> &items, const QString &key)
{
    auto &g = gv();
    g.objAktItem = modMain::ItemFromKey(key);
    if (items && g.objAktItem)
        items->Remove(g.objAktItem.get());
    // The removed item hosts nothing any more.
    g.objAktItem = nullptr;
}

// Disables the member-list button of the contact overview's toolbar (the button or action
// named "tbMitglList").
void sperreMitglListe()
{
    forms::Form *uebersicht = core::Fenster(navigation::Kontakte.key);
    if (!uebersicht)
        return;
    const QString name = QStringLiteral("tbMitglList");
    for (QAction *a : uebersicht->findChildren<QAction *>(name))
        a->setEnabled(false);
    for (QAbstractButton *b : uebersicht->findChildren<QAbstractButton *>(name))
        b->setEnabled(false);
}

bool recht(dao::Recordset &rs, Recht r)
{
    return rs.Fields(Rechtsspalte(r)).Value().toBool();
}

} // namespace

void loadButtnBar()
{
    Main *main = forms::loadedForm<Main>();
    if (!main)
        return;
    const com::ComPtr<ILzNavrailBar> bar = main->Bar();
    if (!bar) {
        const HRESULT hr = FAILED(main->ButtnBarErgebnis) ? main->ButtnBarErgebnis : E_NOINTERFACE;
        throw SteuerelementFehlt{SteuerelementMeldung(QStringLiteral("LzNavrailBar (Navigationsleiste)"),
                                                      QStringLiteral("libLzNavrail.so"), hr, main->ButtnBarFehlertext)};
    }
    auto &g = gv();
    bar->get_Groups(g.objGruppen.put());
    if (!g.objGruppen)
        return;

    g.objGrpSystem = baueGruppe(g.objGruppen.get(), QStringLiteral("System"), main->ImageList1, g.objItemsSystem,
                                navigation::Gruppe::System);
    // The first group added is the open one.
    if (com::ComPtr<ILzNavrailGroup> aktuell; SUCCEEDED(g.objGruppen->get_CurrentGroup(aktuell.put())) && aktuell)
        g.objGrpSystem = aktuell;
    g.objGrpOrganisation = baueGruppe(g.objGruppen.get(), QStringLiteral("Organisation"), main->ImageList1,
                                      g.objItemsOrganisation, navigation::Gruppe::Organisation);

    bar->put_CurrentGroupIndex(1);
    bar->put_LeftPaneWidth(linkeBreite(bar.get()));
}

bool Login(const QString &Name, const QString &Passwort)
{
    modRun::Trap trap(QStringLiteral("modStart"), QStringLiteral("Login"));
    bool ergebnis = false;
    dao::Recordset rs;
    trap.step([&] {
        rs = gv().dbDaten.OpenRecordset("SELECT * FROM Gruppen WHERE GNr = (SELECT GNr FROM Benutzer "
                                        "WHERE Name = ? COLLATE BINARY AND Passwort = ? COLLATE BINARY)",
                                        dao::dbOpenDynaset, {Name, Passwort});
    });
    if (rs.IsOpen()) {
        trap.step([&] {
            if (rs.RecordCount() != 0) {
                if (forms::StatusBar *sb = statusBar())
                    sb->setPanelText(4, Name);
                ergebnis = true;
                SetzeZugriffsrechte(rs);
            } else {
                forms::MsgBox(QStringLiteral("Anmeldung fehlgeschlagen, bitte versuchen Sie es erneut!"),
                              forms::vbOKOnly + forms::vbCritical, QStringLiteral("TORVANA"));
                ergebnis = false;
            }
        });
        trap.step([&] { rs.Close(); });
    }
    return ergebnis;
}

void SetzeZugriffsrechte(dao::Recordset &rs)
{
    const auto &g = gv();
    // Each right that is False removes its navigation item from its group; KontListe has no item.
    // Kontakt is checked where the editor is opened.
    for (const Recht r : {Recht::Fangbuch, Recht::Fangauswertung, Recht::KontUebers, Recht::KontListe, Recht::Arbeit,
                          Recht::Besatz, Recht::Basis, Recht::Benutzerverwaltung, Recht::System}) {
        if (recht(rs, r))
            continue;
        if (r == Recht::KontListe)
            sperreMitglListe();
        else if (const navigation::Eintrag *e = navigation::ZuRecht(r))
            entferneItem(e->gruppe == navigation::Gruppe::System ? g.objItemsSystem : g.objItemsOrganisation, e->key);
    }
}

void ErmittleTagesdatum()
{
    const QDate heute = ole::Today();
    auto &g = gv();
    // Qt counts Monday = 1 .. Sunday = 7; the names count Sunday = 1 .. Saturday = 7.
    g.strWochentag = modRun::ErmittleWochentag(heute.dayOfWeek() % 7 + 1);
    g.intTag = heute.day();
    g.strMonat = modRun::ErmittleMonatsname(heute.month());
    g.intJahr = heute.year();
    g.intMonat = heute.month();
}

void LadeAlleTabellen()
{
    auto &g = gv();
    const auto &schritte = core::einstiege().ladeschritte;
    g.blnStartLaden = true;
    loadTblFBasis();
    loadTblGBasis();
    if (schritte.loadTblBenutzer)
        schritte.loadTblBenutzer();
    if (schritte.loadTblZugriff)
        schritte.loadTblZugriff();
    loadTblKUebers();
    loadTblSystem();
    loadTblBList();
    loadTblKatego();
    loadTblFList(forms::form<Eroef>().pb);
    g.blnStartLaden = false;
}

void SetzeStatusJahr()
{
    if (forms::StatusBar *sb = statusBar())
        sb->setPanelText(8, QString::number(gv().intJahr));
}

QString Rechtsspalte(Recht recht)
{
    switch (recht) {
    case Recht::Fangbuch: return QStringLiteral("Fangbuch");
    case Recht::Fangauswertung: return QStringLiteral("Fangauswertung");
    case Recht::KontUebers: return QStringLiteral("KontUebers");
    case Recht::KontListe: return QStringLiteral("KontListe");
    case Recht::Kontakt: return QStringLiteral("Kontakt");
    case Recht::Arbeit: return QStringLiteral("Arbeit");
    case Recht::Besatz: return QStringLiteral("Besatz");
    case Recht::Basis: return QStringLiteral("Basis");
    case Recht::Benutzerverwaltung: return QStringLiteral("Benutzerverwaltung");
    case Recht::System: return QStringLiteral("System");
    }
    return {};
}

bool GruppeHatRecht(Recht recht)
{
    forms::StatusBar *sb = statusBar();
    const QString name = sb ? sb->panelText(4) : QString();
    dao::Recordset rs = gv().dbDaten.OpenRecordset(
        "SELECT * FROM Gruppen WHERE GNr = (SELECT GNr FROM Benutzer WHERE Name = ? COLLATE BINARY)",
        dao::dbOpenDynaset, {name});
    bool ergebnis = false;
    if (!rs.Eof())
        ergebnis = rs.Fields(Rechtsspalte(recht)).Value().toBool();
    rs.Close();
    return ergebnis;
}

bool PruefeZugriff(Recht recht)
{
    modRun::Trap trap(QStringLiteral("modStart"), QStringLiteral("PruefeZugriff"));
    bool erlaubt = false;
    if (!trap.step([&] { erlaubt = GruppeHatRecht(recht); }))
        return false;
    if (!erlaubt)
        modRun::ZeigeKeinZugriff();
    return erlaubt;
}

} // namespace modStart
