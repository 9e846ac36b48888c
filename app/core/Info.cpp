#include "core/Info.h"
#include "core/Main.h"
#include "core/modGVar.h"
#include "core/modMain.h"
#include "core/modRun.h"

#include "forms/fields.h"
#include "forms/services.h"
#include "ole/handles.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace sysinfo {

namespace {

ProgrammPort &echterPort()
{
    static ProgrammPort port;
    return port;
}

ProgrammPort *&installierterPort()
{
    static ProgrammPort *port = nullptr;
    return port;
}

ProgrammPort &port()
{
    ProgrammPort *p = installierterPort();
    return p ? *p : echterPort();
}

} // namespace

QString ProgrammPort::finde(const QString &name)
{
    return QStandardPaths::findExecutable(name);
}

bool ProgrammPort::starte(const QString &pfad)
{
    return QProcess::startDetached(pfad, {});
}

ProgrammPort *setProgrammPort(ProgrammPort *neu)
{
    ProgrammPort *alt = installierterPort();
    installierterPort() = neu;
    return alt;
}

const QStringList &Programme()
{
    // The information centres of the common desktops, then the stand-alone ones.
    static const QStringList programme = {QStringLiteral("kinfocenter"), QStringLiteral("hardinfo2"),
                                          QStringLiteral("hardinfo")};
    return programme;
}

} // namespace sysinfo

Info::Info()
{
    setObjectName(QStringLiteral("Info"));
    setWindowTitle(QStringLiteral("Info"));
    auto *layout = new QVBoxLayout(this);
    // The box's texts wrap at its width.
    auto label = [](const char *name, const QString &text, QWidget *parent) {
        QLabel *l = forms::label(QString::fromLatin1(name), text, parent);
        l->setWordWrap(true);
        return l;
    };

    lblTitle = forms::heading(QStringLiteral("lblTitle"), QStringLiteral("Torvana Version 2.0"), this);
    lblTitle->setWordWrap(true);
    layout->addWidget(lblTitle);
    lblDescription = label("lblDescription",
                           QStringLiteral("Vereinsverwaltung für Angelvereine: Mitglieder und Kontakte, Fangbuch und "
                                          "Fangauswertung, Besatzplanung und Arbeitsstunden der Mitglieder, mit "
                                          "Listen, Ausdrucken und Serienbriefen."),
                           this);
    layout->addWidget(lblDescription);

    QGroupBox *verein = forms::frame(QString(), QStringLiteral("Lizenziert für:"), this);
    auto *vereinLayout = new QVBoxLayout(verein);
    lblVerein = label("lblVerein", QString(), verein);
    lblStrasse = label("lblStrasse", QString(), verein);
    auto *ortZeile = new QHBoxLayout;
    lblPLZ = label("lblPLZ", QString(), verein);
    lblOrt = label("lblOrt", QString(), verein);
    ortZeile->addWidget(lblPLZ);
    ortZeile->addWidget(lblOrt, 1);
    lblTelefon = label("lblTelefon", QString(), verein);
    vereinLayout->addWidget(lblVerein);
    vereinLayout->addWidget(lblStrasse);
    vereinLayout->addLayout(ortZeile);
    vereinLayout->addWidget(lblTelefon);
    layout->addWidget(verein);

    lblHersteller = label("lblHersteller", QStringLiteral("Torvana-Entwicklung, Programm für Vereine"), this);
    layout->addWidget(lblHersteller);
    lblDisclaimer = label("lblDisclaimer",
                          QStringLiteral("Warnung: Dieses Programm ist urheberrechtlich geschützt. Die unerlaubte "
                                         "Vervielfältigung oder Weitergabe des Programms oder eines Teils davon ist "
                                         "nicht gestattet."),
                          this);
    layout->addWidget(lblDisclaimer);
    layout->addStretch(1);

    auto *knoepfe = new QHBoxLayout;
    knoepfe->addStretch(1);
    cmdOK = forms::button(QStringLiteral("cmdOK"), QStringLiteral("OK"), this);
    cmdSysInfo = forms::button(QStringLiteral("cmdSysInfo"), QStringLiteral("&System Info..."), this);
    knoepfe->addWidget(cmdOK);
    knoepfe->addWidget(cmdSysInfo);
    layout->addLayout(knoepfe);
    connect(cmdOK, &QPushButton::clicked, this, &Info::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &Info::cmdSysInfo_Click);
}

void Info::Zeige()
{
    // The window the item hosts now comes back when the box is closed.
    if (const auto &item = gv().objAktItem) {
        LONG handle = 0;
        if (SUCCEEDED(item->get_WindowObject1(&handle)) && handle) {
            QWidget *fenster = ole::widgetFromHandle(ole::Handle(handle));
            if (fenster && fenster != this)
                vorher_ = fenster;
        }
    }
    // A user whose group has no right has no item to host the box: it stands on its own then,
    // over the middle of the main window.
    if (!modMain::ZeigeImAktItem(*this)) {
        if (Main *main = forms::loadedForm<Main>(); main && !parentWidget() && !isVisible()) {
            adjustSize();
            forms::placeAsDialog(*this, main);
        }
        Show();
        raise();
        activateWindow();
    }
}

void Info::cmdOK_Click()
{
    const QPointer<QWidget> vorher = vorher_;
    vorher_.clear();
    if (auto *fenster = qobject_cast<forms::Form *>(vorher.data()))
        modMain::ZeigeImAktItem(*fenster);
    // Hidden, not unloaded: the address labels stay for the print-outs.
    Hide();
}

void Info::cmdSysInfo_Click()
{
    StartSysInfo();
}

void Info::StartSysInfo()
{
    sysinfo::ProgrammPort &port = sysinfo::port();
    for (const QString &name : sysinfo::Programme()) {
        const QString pfad = port.finde(name);
        if (!pfad.isEmpty() && port.starte(pfad))
            return;
    }
    forms::MsgBox(QStringLiteral("System Information Is Unavailable At This Time"), forms::vbOKOnly, modRun::Titel);
}
