#pragma once
// The work-hours window: one member at a time with the entries of the chosen work year, the
// hours done, the hours required and the balance; entries are booked, corrected and deleted in
// the input block, and the member's sheet is printed or previewed. A member comes in from the
// contact search dialog (opened on activation and by cmdSuch) or from the member list's context
// menu, both through modArbeit::UebernehmeKontakt.
#include "forms/form.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolBar;

namespace contacts {
class Datumsfeld;
}
namespace forms {
class ListGrid;
}

class Arbeit : public forms::Form
{
    Q_OBJECT
public:
    Arbeit();

    QLabel *Ueberschrift;
    QGroupBox *Frame1;
    QGroupBox *Frame3;
    QPushButton *cmdMList;
    QPushButton *cmdSuch;
    QLabel *Label1;
    QComboBox *cboArbJahr;
    QLabel *Label2;
    QLabel *lblKNr; // contact number of the member shown, empty when none
    QLabel *Label3;
    QLabel *lblNName;
    QLabel *Label4;
    QLabel *lblVName;
    QGroupBox *Frame2;
    forms::ListGrid *tblArbStd; // ArbNr, Mitgl.-Nr, hours "###0.00", date
    QLabel *lblGStd;
    QLabel *lblGesStd; // hours done in the year
    QLabel *Label5;
    QLabel *Label6;
    QLabel *lblPflStd; // hours required
    QLabel *Label8;
    QLabel *Label9;
    QLabel *lblErgStd; // balance
    QLabel *Label10;
    QGroupBox *Frame7;
    QLabel *lblArbN;
    QLabel *lblArbNr; // number of the entry loaded for change, empty when none
    QLabel *lblDatum;
    contacts::Datumsfeld *lzDate;
    QLabel *lblArbZeit;
    QLineEdit *txtArbStd;
    QLabel *lblStd;
    QLabel *lblArbNotiz;
    QLineEdit *txtArbNotiz;
    QToolBar *Toolbar1;

    // Toolbar by button key: "tbBuchen", "tbLoeschen", "tbAnzLoeschen", "tbVorschau", "tbDruck".
    void Toolbar1_ButtonClick(const QString &key);
    // Shows the chosen year: grid, hours done, required hours, balance.
    void cboArbJahr_Click();
    void cmdMList_Click();
    void cmdSuch_Click();
    // Double-click on a grid row (from 0; negative when no data row was hit).
    void tblArbStd_DblClick(int row);
    void txtArbStd_KeyPress(int &KeyAscii);

    // The member the window shows: lblKNr as a number, 0 when none.
    qlonglong mitglied() const;
    // An entry is loaded for change: the mode is "EDIT" and lblArbNr shows its number.
    bool aendertEintrag() const;

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Deactivate() override;

private:
    // The activation's choice, run once the code that showed the window has set its flags.
    void aktiviert();
    void Buchen();
    void Loeschen();
};

namespace workhours {
// The one work-hours window, created and loaded on first use.
Arbeit &ArbeitFenster();
// Wires the work-hours area into the core: the window under the navigation key "Arbeit", the
// take-over of a member picked in the search dialog or the member list, the right, and the
// carry-over and its undo in the yearly roll-over.
void RegistriereArbeit();
} // namespace workhours
