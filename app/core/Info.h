#pragma once
// The about box, shown in the results pane in place of the window shown before. Its address
// labels hold the club address for the whole run: the print-outs read it from there, so the
// box is only ever hidden, never unloaded, while the program runs.
#include "forms/form.h"

#include <QPointer>
#include <QString>

class QLabel;
class QPushButton;

class Info : public forms::Form
{
    Q_OBJECT
public:
    Info();

    QLabel *lblTitle;
    QLabel *lblDescription;
    QLabel *lblDisclaimer;
    QLabel *lblHersteller;
    QLabel *lblVerein;
    QLabel *lblStrasse;
    QLabel *lblPLZ;
    QLabel *lblOrt;
    QLabel *lblTelefon;
    QPushButton *cmdOK;
    QPushButton *cmdSysInfo;

    // Notes the window the current navigation item hosts and takes its place there.
    void Zeige();
    // Puts the window shown before back into the pane and hides the box.
    void cmdOK_Click();
    void cmdSysInfo_Click();
    // Starts the desktop's system-information program; without one the box "System
    // Information Is Unavailable At This Time".
    void StartSysInfo();

private:
    QPointer<QWidget> vorher_;
};

namespace sysinfo {

// Finding and starting a program, behind a port that tests replace.
class ProgrammPort
{
public:
    virtual ~ProgrammPort() = default;
    // The full path of the program name found on PATH, "" when there is none.
    virtual QString finde(const QString &name);
    // Starts the program detached; false when it could not be started.
    virtual bool starte(const QString &pfad);
};
// Installs a port (not owned); nullptr restores the real one. Returns the replaced one.
ProgrammPort *setProgrammPort(ProgrammPort *port);

// The system-information programs looked for, in this order.
const QStringList &Programme();

} // namespace sysinfo
