#pragma once
// The catch evaluation window: the user ticks filters, starts the search and gets the matching
// catches of all years in the grid tblFAusw with their number and the sums of counts and
// weights. A catch of the grid opens in the catch log.
#include "fishery/modFAuswertDruck.h"

#include "forms/form.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QToolBar;

namespace forms {
class ListGrid;
}

class Fangauswertung : public forms::Form
{
    Q_OBJECT
public:
    Fangauswertung();

    QLabel *Ueberschrift;
    QGroupBox *Frame1; // "Liste generieren..."
    QCheckBox *chkArchiv;
    QComboBox *cboFJahr;
    QCheckBox *chkFArt;
    QComboBox *cboFArt;
    QCheckBox *chkGName;
    QComboBox *cboGName;
    QCheckBox *chkFMonat;
    QComboBox *cboFMonat;
    QCheckBox *chkAnzahl;
    QComboBox *cboOptAnz01;
    QLineEdit *txtAnz01;
    QComboBox *cboOptAnz02;
    QLineEdit *txtAnz02;
    QCheckBox *chkGewicht;
    QComboBox *cboOptGew01;
    QLineEdit *txtGew01;
    QComboBox *cboOptGew02;
    QLineEdit *txtGew02;
    QLabel *Label1; // "- Untergrenze -"
    QLabel *Label2; // "- Obergrenze -"

    forms::ListGrid *tblFAusw;
    QLabel *lblAnzDS;
    QLabel *lblGefDS;
    QLabel *lblSAnz;
    QLabel *lblSumAnz;
    QLabel *lblSGew;
    QLabel *lblSumGew;
    QProgressBar *pb;
    QToolBar *Toolbar1;

    // Toolbar by button key: "tbSuch", "tbAnzLoeschen", "tbExcel", "tbVorschau", "tbDruck".
    void Toolbar1_ButtonClick(const QString &key);
    // Grid events: a row chosen (28), a double-click (29), the context menu (31); the row
    // position from 0, negative for none.
    void tblFAusw_RowChosen(int row);
    void tblFAusw_DblClick(int row);
    void tblFAusw_Context(int row);

    // The filter of the search whose result tblFAusw shows, as that search applied it; the
    // catch list print-out heads the list with it.
    modFAuswert::AngewandteAuswahl Auswahl;

    // The row of tblFAusw chosen last, -1 for none. The program-wide lngDSNr is set from it
    // when the context menu opens, since another window may have changed that meanwhile.
    int intGewaehlt = -1;

protected:
    void Form_Load() override;
    void Form_Activate() override;

private:
    // Enables a filter's inputs and switches its flag after its check box changed.
    void FilterGeklickt(int filter, bool an);
    void Suchen();
    void DateiErzeugen();
};

namespace fishery {
// The one evaluation window, created and loaded on first use.
forms::Form &FangauswertungFenster();
// Wires the evaluation into the core: the window under the navigation key "Fangauswertung"
// and its grid for the main window's catch context command.
void RegistriereFangauswertung();
} // namespace fishery
