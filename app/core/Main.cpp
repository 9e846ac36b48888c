#include "core/Main.h"
#include "core/modEnde.h"
#include "core/modGVar.h"
#include "core/modRun.h"
#include "core/modStart.h"

#include "common/vberror.h"
#include "dao/dao.h"
#include "forms/services.h"
#include "forms/statusbar.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QVBoxLayout>

using forms::MsgBox;

namespace {

const QString TextNichtGefunden =
    QStringLiteral("ACHTUNG: Datenbank nicht gefunden ! Bitte stellen Sie sicher das sich die Datenbank im ") +
    QStringLiteral("\n\r") +
    QStringLiteral("im Root - Verzeichnis von Torvana befindet (z.B: C:\\...\\Torvana\\tv01.mdb) ! Torvana beendet sich jetzt !");
const QString TextPasswort = QStringLiteral("ACHTUNG: Datenbank - Passwort nicht korrekt ! Torvana beendet sich jetzt !");
const QString TextReparieren =
    QStringLiteral("ACHTUNG: Datenbank konnte nicht geöffnet werden. Soll Torvana versuchen die Datenbank zu reparieren?");
const QString TextBeenden = QStringLiteral("Torvana beendet sich jetzt !");

} // namespace

Main::Main()
{
    setWindowTitle(QStringLiteral("Torvana"));

    auto *client = new QWidget(this);
    auto *layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    ButtnBar = new QWidget(client);
    ButtnBar->setObjectName(QStringLiteral("ButtnBar"));
    layout->addWidget(ButtnBar);
    layout->addStretch(1);
    setCentralWidget(client);
    resize(forms::twipsToPixels(11940), forms::twipsToPixels(8625));

    StatusBar1 = new forms::StatusBar(8, this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(StatusBar1);

    mnuDatei = menuBar()->addMenu(QStringLiteral("&Datei"));
    mnuBeenden = mnuDatei->addAction(QStringLiteral("&Beenden"));
    connect(mnuBeenden, &QAction::triggered, this, &Main::mnuBeenden_Click);
}

void Main::MDIForm_Load()
{
    auto &schritte = modStart::startschritte();
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
        } catch (const vb::Error &e) {
            if (e.number() == dao::err::FileNotFound) {
                MsgBox(TextNichtGefunden, forms::vbOKOnly + forms::vbCritical,
                       QStringLiteral("Runtime - Error: ") + QString::number(e.number()));
            } else if (e.number() == dao::err::WrongPassword) {
                MsgBox(TextPasswort, forms::vbOKOnly + forms::vbCritical, modRun::Titel);
            } else {
                if (!repariert) {
                    gv().intAntwort = MsgBox(TextReparieren, forms::vbYesNo, modRun::Titel);
                    if (gv().intAntwort == forms::vbYes) {
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
            modEnde::SchliesseDatenbank();
            Unload();
            return;
        }
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
