#pragma once
// The contact search: a modal dialog that finds contacts whose first name, surname or firm
// begins with a text, in one category or in all, and lists them. It serves two callers
// (gv().intSuchAufruf): 0 the contact side, where a double-click opens the contact in the
// editor; 1 the work-hours side, which is offered only the two member categories and takes the
// double-clicked member over.
#include "forms/form.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace forms {
class ListGrid;
}

class SuchKont : public forms::Form
{
    Q_OBJECT
public:
    SuchKont();

    QGroupBox *Frame1;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QLineEdit *txtSuch;
    QComboBox *cboKatego;
    QPushButton *cmdSuch;
    QLabel *lblGefDS;
    // Found contacts: KNr, category name, Firma, Nachname, Vorname.
    forms::ListGrid *tblSuch;

    void cmdSuch_Click();
    void tblSuch_DblClick(int row, int col);
    // Fills the category combo for the current caller (0: "Alle" and every category, "Alle"
    // chosen; 1: the two member categories, "Mitglieder (aktiv)" chosen; others: empty). Filled
    // again for the same caller, the combo keeps its entry while that still exists.
    void FuelleKategorien();

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int gefuelltFuer_ = -1;
};
