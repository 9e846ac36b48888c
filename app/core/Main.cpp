#include "core/Main.h"
#include "core/Info.h"
#include "core/modEnde.h"
#include "core/modGVar.h"
#include "core/modMain.h"
#include "core/modRun.h"
#include "core/modStart.h"
#include "core/navigation.h"
#include "core/plugins.h"
#include "core/trap.h"

#include "com/bstr.h"
#include "com/connpt.h"
#include "com/dispatch.h"
#include "common/vberror.h"
#include "dao/dao.h"
#include "forms/listgrid.h"
#include "forms/services.h"
#include "forms/statusbar.h"
#include "ole/container.h"
#include "ole/imagelist.h"

#include <QCloseEvent>
#include <QCursor>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QVBoxLayout>

#include <cstdio>

using forms::MsgBox;

namespace {

const QString TextNichtGefunden =
    QStringLiteral("ACHTUNG: Datenbank nicht gefunden ! Bitte stellen Sie sicher das sich die Datenbank im ") +
    QStringLiteral("\n\r") +
    QStringLiteral(
        "im Root - Verzeichnis von Torvana befindet (z.B: C:\\...\\Torvana\\tv01.mdb) ! Torvana beendet sich jetzt !");
const QString TextPasswort =
    QStringLiteral("ACHTUNG: Datenbank - Passwort nicht korrekt ! Torvana beendet sich jetzt !");
const QString TextReparieren = QStringLiteral(
    "ACHTUNG: Datenbank konnte nicht geöffnet werden. Soll Torvana versuchen die Datenbank zu reparieren?");
const QString TextBeenden = QStringLiteral("Torvana beendet sich jetzt !");
const QString TextInVerwendung =
    QStringLiteral("ACHTUNG: Die Datenbank wird von einem anderen Programm verwendet ! Bitte beenden Sie das andere "
                   "Programm und starten Sie Torvana danach erneut. Torvana beendet sich jetzt !");

// A database another program holds locked is in use, not damaged: no repair is offered for it.
bool inVerwendung(int nummer)
{
    return nummer == dao::err::Locked || nummer == dao::err::FileInUse;
}

// The eight images of the navigation items, drawn: a coloured tile with the area's initial.
LONG erzeugeBilder()
{
    const ole::Handle liste = ole::imageListCreate(32, 32);
    const struct
    {
        QColor farbe;
        const char *zeichen;
    } bilder[] = {
        {QColor(0x4a, 0x6f, 0xa5), "B"}, {QColor(0x6b, 0x6b, 0x6b), "P"}, {QColor(0x3f, 0x8f, 0x5f), "D"},
        {QColor(0x2f, 0x7f, 0xb8), "F"}, {QColor(0x8a, 0x5a, 0xa8), "A"}, {QColor(0xc0, 0x7a, 0x2a), "K"},
        {QColor(0xa8, 0x3a, 0x3a), "S"}, {QColor(0x2a, 0x9a, 0xa0), "L"},
    };
    for (const auto &bild : bilder) {
        QPixmap pixmap(32, 32);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(bild.farbe);
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRectF(2, 2, 28, 28), 5, 5);
        p.setPen(Qt::white);
        QFont font = p.font();
        font.setBold(true);
        font.setPixelSize(16);
        p.setFont(font);
        p.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, QString::fromLatin1(bild.zeichen));
        p.end();
        ole::imageListAdd(liste, pixmap);
    }
    return LONG(liste);
}

// The grid of another area's window, or nullptr when that area is not part of this build.
forms::ListGrid *gridAus(const std::function<forms::ListGrid *()> &quelle)
{
    return quelle ? quelle() : nullptr;
}

bool zeileVorhanden(const forms::ListGrid *grid, int zeile)
{
    return grid && zeile >= 0 && zeile < grid->rowCount();
}

} // namespace

Main::Main()
{
    setWindowTitle(QStringLiteral("Torvana"));

    auto *client = new QWidget(this);
    auto *layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    ButtnBar = new ole::ControlContainer(client);
    ButtnBar->setObjectName(QStringLiteral("ButtnBar"));
    // The bar (with its results pane) takes all the room between the menu and the status bar.
    layout->addWidget(ButtnBar, 1);
    // Without the bar the host stays empty; the start-up reports it when it builds the bar.
    ButtnBarErgebnis = ButtnBar->createControl(CLSID_LzNavrailBar);
    if (FAILED(ButtnBarErgebnis))
        ButtnBarFehlertext = com::currentErrorDescription();
    connect(
        ButtnBar, &ole::ControlContainer::controlEvent, this,
        [this](int dispid, com::EventArgs *args) {
            if (dispid != DISPID_NBE_ItemClick || !args)
                return;
            const auto group = args->toDispatch(0).as<ILzNavrailGroup>();
            const auto item = args->toDispatch(1).as<ILzNavrailItem>();
            ButtnBar_ItemClick(group.get(), item.get());
        },
        Qt::DirectConnection);
    ImageList1 = erzeugeBilder();
    setCentralWidget(client);
    resize(forms::twipsToPixels(11940), forms::twipsToPixels(8625));

    StatusBar1 = new forms::StatusBar(8, this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(StatusBar1);

    mnuDatei = menuBar()->addMenu(QStringLiteral("&Datei"));
    mnuBeenden = mnuDatei->addAction(QStringLiteral("&Beenden"));
    connect(mnuBeenden, &QAction::triggered, this, &Main::mnuBeenden_Click);

    // The two context menus are not in the menu bar; the lists pop them up.
    mnuKontMenu_Mitgl = new QMenu(QStringLiteral("Kontextmenü_Mitgl"), this);
    mnuArbContr = mnuKontMenu_Mitgl->addAction(QStringLiteral("&Übernahme i. Arb.-Controlling"));
    mnuMitglInfo = mnuKontMenu_Mitgl->addAction(QStringLiteral("&Mitgliederinformationen anzeigen"));
    connect(mnuArbContr, &QAction::triggered, this, &Main::mnuArbContr_Click);
    connect(mnuMitglInfo, &QAction::triggered, this, &Main::mnuMitglInfo_Click);
    mnuKontMenu_FAusw = new QMenu(QStringLiteral("Kontextmenü_FAusw"), this);
    mnuFangInfo = mnuKontMenu_FAusw->addAction(QStringLiteral("&Fang anzeigen"));
    connect(mnuFangInfo, &QAction::triggered, this, &Main::mnuFangInfo_Click);

    mnuTools = menuBar()->addMenu(QStringLiteral("&Tools"));
    mnuKomprimiere = mnuTools->addAction(QStringLiteral("&Datenbank komprimieren"));
    mnuRepariere = mnuTools->addAction(QStringLiteral("&Datenbank reparieren"));
    connect(mnuKomprimiere, &QAction::triggered, this, &Main::mnuKomprimiere_Click);
    connect(mnuRepariere, &QAction::triggered, this, &Main::mnuRepariere_Click);
    mnuHilf = menuBar()->addMenu(QStringLiteral("&?"));
    mnuInfo = mnuHilf->addAction(QStringLiteral("&Info"));
    connect(mnuInfo, &QAction::triggered, this, &Main::mnuInfo_Click);
}

Main::~Main()
{
    // The navigation objects live in the bar's library: let them go before the bar does.
    if (gv().objAktItem || gv().objGruppen) {
        auto &g = gv();
        g.objAktItem = nullptr;
        g.objItem = nullptr;
        g.objItemsSystem = nullptr;
        g.objItemsOrganisation = nullptr;
        g.objGrpSystem = nullptr;
        g.objGrpOrganisation = nullptr;
        g.objGruppen = nullptr;
    }
    ButtnBar->destroyControl();
    ole::imageListDestroy(ole::Handle(ImageList1));
}

com::ComPtr<ILzNavrailBar> Main::Bar() const
{
    return ButtnBar->control<ILzNavrailBar>();
}

void Main::ButtnBar_ItemClick(ILzNavrailGroup *group, ILzNavrailItem *item)
{
    (void)group;
    if (!item)
        return;
    com::Bstr key;
    if (FAILED(item->get_Key(key.put())))
        return;
    const QString schluessel = key.toString();
    if (!navigation::ZuSchluessel(schluessel))
        return;
    modMain::SetzeSuchAufruf(schluessel);
    forms::Form *fenster = modMain::ZeigeFenster(schluessel);
    if (!fenster)
        return;
    if (schluessel == navigation::Fangbuch.key) {
        if (auto *cboFArt = fenster->findChild<QWidget *>(QStringLiteral("cboFArt")))
            cboFArt->setFocus();
    }
}

void Main::loadKontMenu_Mitgl()
{
    const auto &b = core::einstiege().bereiche;
    mnuMitglInfo->setEnabled(b.KontaktZugriff_Erlaubt ? b.KontaktZugriff_Erlaubt() : false);
    mnuArbContr->setEnabled(b.ArbeitsZugriff_Erlaubt ? b.ArbeitsZugriff_Erlaubt() : false);
    mnuKontMenu_Mitgl->popup(QCursor::pos());
}

void Main::loadKontMenu_FAusw()
{
    const auto &b = core::einstiege().bereiche;
    mnuFangInfo->setEnabled(b.FangbuchZugriff_Erlaubt ? b.FangbuchZugriff_Erlaubt() : false);
    mnuKontMenu_FAusw->popup(QCursor::pos());
}

void Main::mnuFangInfo_Click()
{
    const auto &b = core::einstiege().bereiche;
    forms::ListGrid *tblFAusw = gridAus(b.tblFAusw);
    int &zeile = gv().lngDSNr;
    if (!zeileVorhanden(tblFAusw, zeile) || !b.loadFang) {
        modRun::ZeigeDSFehlt();
        return;
    }
    if (b.LeereFangFelder)
        b.LeereFangFelder();
    b.loadFang(*tblFAusw, zeile);
    // The catch log holds the catch for change.
    if (forms::Form *fangbuch = core::Fenster(navigation::Fangbuch.key))
        modGVar::SetzeEditModus(*fangbuch, zeile, b.LeereFangFelder);
    if (forms::Form *auswertung = core::Fenster(navigation::Fangauswertung.key))
        auswertung->Hide();
    // The catch log stays attached to its own item.
    if (forms::Form *fangbuch = core::Fenster(navigation::Fangbuch.key))
        fangbuch->Show();
}

void Main::mnuMitglInfo_Click()
{
    const auto &b = core::einstiege().bereiche;
    forms::ListGrid *tblMList = gridAus(b.tblMList);
    int &zeile = gv().lngDSNr;
    if (!zeileVorhanden(tblMList, zeile) || !b.loadKontakt) {
        modRun::ZeigeDSFehlt();
        return;
    }
    if (b.SetzeKontaktToolbar)
        b.SetzeKontaktToolbar(0);
    b.loadKontakt(*tblMList, zeile);
    if (b.SetzeKontaktToolbar)
        b.SetzeKontaktToolbar(1);
}

void Main::mnuArbContr_Click()
{
    const auto &b = core::einstiege().bereiche;
    forms::ListGrid *tblMList = gridAus(b.tblMList);
    const int zeile = gv().lngDSNr;
    if (!zeileVorhanden(tblMList, zeile)) {
        modRun::ZeigeDSFehlt();
        return;
    }
    forms::Form *arbeit = core::Fenster(navigation::Arbeit.key);
    if (!arbeit || !b.UebernimmMitglied)
        return;
    // The work-hours area checks the member (missing, exempt) and says why it refuses.
    if (!b.UebernimmMitglied(*tblMList, zeile))
        return;
    if (forms::Form *liste = core::Fenster(QStringLiteral("MitglList")))
        liste->Hide();
    // The window's activation reads both: the member is taken over, no search opens.
    modMain::SetzeSuchAufruf(navigation::Arbeit.key);
    gv().intArbUebernahme = 1;
    if (!modMain::ZeigeImAktItem(*arbeit))
        gv().intArbUebernahme = 0;
}

void Main::mnuKomprimiere_Click()
{
    if (const auto &komprimiere = core::einstiege().bereiche.KomprimiereDatenbank)
        komprimiere();
}

void Main::mnuRepariere_Click()
{
    if (const auto &repariere = core::einstiege().startschritte.RepariereDatenbank)
        repariere();
}

void Main::mnuInfo_Click()
{
    forms::Form *fenster = core::Fenster(QStringLiteral("Info"));
    if (auto *info = qobject_cast<Info *>(fenster))
        info->Zeige(); // notes the window shown now, for its OK
    else if (fenster)
        modMain::ZeigeImAktItem(*fenster);
}

void Main::MDIForm_Load()
{
    auto &schritte = core::einstiege().startschritte;
    // After a repair the start begins again with opening the database; a second failure
    // after a repair ends the program instead of asking again.
    for (bool repariert = false;;) {
        try {
            modStart::OeffneDatenbank();
            if (schritte.loadButtnBar)
                schritte.loadButtnBar();
            modStart::SetzeFenstergroesse();
            Hide();
            if (schritte.zeigeLogin)
                schritte.zeigeLogin();
            else
                Show();
            return;
        } catch (const modStart::SteuerelementFehlt &fehlt) {
            // Without its navigation bar the program cannot be used: say why, and end.
            std::fprintf(stderr, "%s\n", qPrintable(forms::displayText(fehlt.meldung)));
            MsgBox(fehlt.meldung, forms::vbOKOnly + forms::vbCritical, modRun::Titel);
        } catch (const vb::Error &e) {
            if (e.number() == dao::err::FileNotFound) {
                MsgBox(TextNichtGefunden, forms::vbOKOnly + forms::vbCritical,
                       QStringLiteral("Runtime - Error: ") + QString::number(e.number()));
            } else if (e.number() == dao::err::WrongPassword) {
                MsgBox(TextPasswort, forms::vbOKOnly + forms::vbCritical, modRun::Titel);
            } else if (inVerwendung(e.number())) {
                MsgBox(TextInVerwendung + modRun::Umbruch + QStringLiteral("Beschreibung: ") + e.description(),
                       forms::vbOKOnly + forms::vbCritical,
                       QStringLiteral("Runtime - Error: ") + QString::number(e.number()));
            } else {
                if (!repariert) {
                    const int antwort = MsgBox(TextReparieren, forms::vbYesNo, modRun::Titel);
                    if (antwort == forms::vbYes) {
                        repariert = true;
                        if (schritte.RepariereDatenbank)
                            schritte.RepariereDatenbank();
                        if (isUnloaded())
                            return; // the repair has ended the program
                        continue;
                    }
                }
                MsgBox(TextBeenden, forms::vbOKOnly + forms::vbCritical, modRun::Titel);
            }
        }
        modEnde::SchliesseDatenbank();
        Unload();
        return;
    }
}

void Main::mnuBeenden_Click()
{
    if (beendet_)
        return;
    beendet_ = true;
    try {
        modEnde::SchliesseDatenbank();
    } catch (const vb::Error &) {
        // Nothing is pending on the connection; the program ends regardless.
    }
    forms::unloadOthers(this);
    Unload();
}

void Main::closeEvent(QCloseEvent *event)
{
    if (!isUnloaded())
        mnuBeenden_Click();
    event->accept();
}
