#pragma once
// The catch log window: the user picks a catch year and a month, sees that month's catches in
// the grid tblFList and enters, changes or deletes one catch at a time in the fields above it.
#include "forms/form.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QToolBar;

namespace forms {
class ListGrid;
}

class Fangbuch : public forms::Form
{
    Q_OBJECT
public:
    Fangbuch();

    QLabel *Ueberschrift;
    QGroupBox *fraNr2;
    QLabel *lblFNrBez;
    QLabel *lblFNr; // FangNr of the catch loaded for change, empty for a new one
    QLabel *lblFJahrBez;
    QComboBox *cboFJahr;
    QLabel *lblFMonat;
    QLineEdit *txtMonNr;     // month number as typed, "01" .. "12"
    QLineEdit *txtFangMonat; // its German name
    QLabel *lblFArt;
    QComboBox *cboFArt;
    QLabel *lblGewaesser;
    QComboBox *cboGName;
    QLabel *lblAnzGew;
    QLineEdit *txtAnzahl;
    QLineEdit *txtGewicht;
    QLabel *lblEinheit;
    QLabel *lblNotiz;
    QLineEdit *txtNotiz;
    QGroupBox *Frame1;
    QComboBox *cboSelMonat; // month shown in the grid
    forms::ListGrid *tblFList;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *lblAnzahl; // rows in the grid
    QLabel *lblGesAnz; // catches of the year in cboFJahr
    QProgressBar *pb;
    QToolBar *Toolbar1;

    // Toolbar by button key: "tbSpeichern", "tbLoeschen", "tbAnzLoeschen".
    void Toolbar1_ButtonClick(const QString &key);
    // F2 empties the fields, F3 saves, F8 deletes; other keys do nothing.
    void Form_KeyDown(int KeyCode, int Shift);
    void cboFJahr_Click();
    void cboSelMonat_Click();
    // Double-click on a grid row (position from 0; negative when no row was hit).
    void tblFList_DblClick(int row);
    void txtMonNr_KeyPress(int &KeyAscii);
    void txtMonNr_LostFocus();
    void txtNotiz_LostFocus();

    // Empties this window's entry fields (see modFangbuch::LeereFangFelder).
    void LeereFangFelder();
    // Shows year jahr and month monat (1 to 12) in the year box, the month box and the grid, as
    // the user's choice in the two boxes does; nothing happens when they are shown already.
    void ZeigeMonat(int jahr, int monat);

    // Digits typed into txtMonNr since it last lost the focus.
    int intTastenZaehler = 0;

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Deactivate() override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // A catch is loaded for change: the mode is "EDIT" and this window shows its number. A
    // mode "EDIT" left by another window, or one whose fields were emptied, is no change here.
    bool aendertFang() const;
    void Speichern();
    void Loeschen();
    // Reloads the grid for the chosen year and month and restores the program-wide ones.
    void WechsleAnzeige(bool jahrGewechselt);
};

namespace fishery {
// The one catch log window, created and loaded on first use.
forms::Form &FangbuchFenster();
// Wires the catch log into the core: the window under the navigation key "Fangbuch", its grid
// for the start-up load (modStart::loadTblFList), and the procedures the main window's
// context menu calls (LeereFangFelder, loadFang, FangbuchZugriff_Erlaubt).
void RegistriereFangbuch();
} // namespace fishery
