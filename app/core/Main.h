#pragma once
// The main window: opens the database at start-up, carries the navigation bar, the status
// bar and the menus, and ends the program.
#include "forms/form.h"

class QAction;
class QMenu;

namespace forms {
class StatusBar;
}

class Main : public forms::MainForm
{
    Q_OBJECT
public:
    Main();

    // Host of the navigation bar, aligned to the top.
    QWidget *ButtnBar;
    // Panels counted from 1: 4 the user's name, 8 the year.
    forms::StatusBar *StatusBar1;
    QMenu *mnuDatei;
    QAction *mnuBeenden;

    // "&Datei" / "&Beenden": closes the database, then unloads the other windows and Main.
    void mnuBeenden_Click();

protected:
    void MDIForm_Load() override;
    // The close box ends the program the same way as the menu entry.
    void closeEvent(QCloseEvent *event) override;

private:
    bool beendet_ = false;
};
