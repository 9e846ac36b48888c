#pragma once
// The stocking plan window: the plan of one year in the grid tblBList, edited entry by entry
// in the fields above it.
#include "forms/form.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QToolBar;

namespace forms {
class ListGrid;
}

class Besatzung : public forms::Form
{
    Q_OBJECT
public:
    Besatzung();

    QLabel *Ueberschrift;
    QGroupBox *Frame1;
    QLabel *lblBJahrBez;
    QComboBox *cboBJahr; // year of the plan shown, of a new entry and of a load
    QLabel *lblBNrBez;
    QLabel *lblBNr; // BNr of the entry loaded for change, empty for a new one
    QLabel *lblFArt;
    QComboBox *cboFArt;
    QLabel *lblGName;
    QComboBox *cboGName;
    QLabel *lblZeit;
    QLineEdit *txtZeit;
    QLabel *lblMenge;
    QLineEdit *txtMenge;
    QLabel *lblEinheit;
    QLabel *lblAnzahlBez;
    QLabel *lblAnzahl; // rows in the grid
    forms::ListGrid *tblBList;
    QToolBar *Toolbar1;

    // The year whose entries tblBList holds (told by the loader), 0 before the first load.
    int intGridJahr = 0;

    // Toolbar by button key: "tbSpeichern", "tbLoeschen", "tbAnzLoeschen", "tbExcel",
    // "tbVorschau", "tbDruck".
    void Toolbar1_ButtonClick(const QString &key);
    void cboBJahr_Click();
    // Double-click on a grid row (position from 0; negative when no row was hit).
    void tblBList_DblClick(int row);

    // Empties this window's entry fields (see modBesatzList::LeereBesatzFelder).
    void LeereBesatzFelder();

    // An entry of this window is loaded for change: the mode is "EDIT" and it shows its number.
    bool aendertEintrag() const;

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Deactivate() override;

private:
    // Reloads the grid with the entries of jahr; the program-wide year is today's afterwards.
    void LadeJahr(int jahr);
    void DateiErzeugen();
};

namespace fishery {
// The one stocking plan window, created and loaded on first use.
forms::Form &BesatzungFenster();
// Wires the stocking plan into the core: the window under the navigation key "Besatzung" and
// its grid for the start-up load (modStart::loadTblBList).
void RegistriereBesatzung();
} // namespace fishery
