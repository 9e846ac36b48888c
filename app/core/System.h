#pragma once
// The system-parameter window: the three numeric settings in a grid, their edit boxes, and the
// club address.
#include "forms/form.h"

class QLineEdit;
class QToolBar;
class QAction;

namespace forms {
class ListGrid;
}

class System : public forms::Form
{
    Q_OBJECT
public:
    System();

    // Rows: 0 "Jahresbeitrag", 1 "akt. Fangjahr", 2 "Pflicht-Std. (Arbeit)"; columns
    // "Parameter" and "Akt. Werte".
    forms::ListGrid *tblSystem;
    QLineEdit *txtJB;
    QLineEdit *txtFJahr;
    QLineEdit *txtArbStd;
    QLineEdit *txtVerein;
    QLineEdit *txtStrasse;
    QLineEdit *txtPLZ;
    QLineEdit *txtOrt;
    QLineEdit *txtTelefon;
    QToolBar *Toolbar1;
    QAction *tbSpeichern;
    QAction *tbAnzLoeschen;

    // "tbSpeichern": EDIT saves the chosen setting, SAVE the club address; "tbAnzLoeschen"
    // empties the setting boxes. Then the mode is SAVE again, unless the input was refused.
    void Toolbar1_ButtonClick(const QString &key);
    // A double-click on a row (-1 for none) loads its value for change.
    void tblSystem_DblClick(int row);

protected:
    void Form_Load() override;
    void Form_Deactivate() override;
};
