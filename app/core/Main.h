#pragma once
// The main window: opens the database at start-up, carries the navigation bar, the status
// bar and the menus, and ends the program.
#include "core/modGVar.h"

#include "forms/form.h"
#include "ole/container.h"

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
    ~Main() override;

    // Host of the navigation bar, aligned to the top. The bar itself is the control of the
    // navigation-bar library, created by its class; Bar() is empty when it is not installed.
    ole::ControlContainer *ButtnBar;
    com::ComPtr<ILzNavrailBar> Bar() const;
    // Why the bar could not be created (S_OK when it was): the runtime's result and the error
    // description, for the start-up's message.
    HRESULT ButtnBarErgebnis = S_OK;
    QString ButtnBarFehlertext;
    // The images of the navigation items, indexes 0-7 (an image-list handle).
    LONG ImageList1 = 0;
    // Panels counted from 1: 4 the user's name, 8 the year.
    forms::StatusBar *StatusBar1;
    QMenu *mnuDatei;
    QAction *mnuBeenden;
    // Hidden: popped up as context menus by the member list and the catch evaluation.
    QMenu *mnuKontMenu_Mitgl;
    QAction *mnuArbContr;
    QAction *mnuMitglInfo;
    QMenu *mnuKontMenu_FAusw;
    QAction *mnuFangInfo;
    QMenu *mnuTools;
    QAction *mnuKomprimiere;
    QAction *mnuRepariere;
    QMenu *mnuHilf;
    QAction *mnuInfo;

    // "&Datei" / "&Beenden": closes the database, then unloads the other windows and Main.
    void mnuBeenden_Click();

    // The context menus of a chosen row (its number in lngDSNr).
    void loadKontMenu_Mitgl();
    void loadKontMenu_FAusw();
    void mnuArbContr_Click();
    void mnuMitglInfo_Click();
    void mnuFangInfo_Click();
    void mnuKomprimiere_Click();
    void mnuRepariere_Click();
    void mnuInfo_Click();

    // The bar's item click: shows the window of the item's key.
    void ButtnBar_ItemClick(ILzNavrailGroup *group, ILzNavrailItem *item);

protected:
    void MDIForm_Load() override;
    // The close box ends the program the same way as the menu entry.
    void closeEvent(QCloseEvent *event) override;

private:
    bool beendet_ = false;
};
