#pragma once
// The member list: the user switches on filters (birth and entry date, sex, fee, status,
// exemption, left members, youth group, work hours done), lists the members that pass them in
// the grid tblMList, with or without their work hours of one year, opens a listed member in the
// contact editor or the work-hours window, and prints or previews the list.
//
// Shown in the navigation bar's results pane: opened from the contact overview's toolbar and
// from the work-hours window, closed ("tbEsc") back to the contact overview.
#include "forms/form.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QProgressBar;
class QRadioButton;
class QToolBar;
class QAction;

namespace forms {
class ListGrid;
}

class MitglList : public forms::Form
{
    Q_OBJECT
public:
    MitglList();

    QLabel *Ueberschrift;
    QToolBar *Toolbar1;
    QGroupBox *Frame6;

    // The filter boxes; each switches one entry of gv().blnMitglFilter (index in brackets).
    QCheckBox *chkGebDat;    // [0] birth date
    QCheckBox *chkEintritt;  // [1] entry date
    QCheckBox *chkGeschl;    // [2] sex
    QCheckBox *chkJBeitrag;  // [3] annual fee paid
    QCheckBox *chkStatus;    // [4] active or passive
    QCheckBox *chkBefreit;   // [5] exempt from work hours
    QCheckBox *chkAusgMitgl; // [6] left members
    QCheckBox *chkJG;        // [7] youth group
    QCheckBox *chkArbStd;    // [8] work hours done (applied after the query)

    // Two bounds of each date filter: operator ("=", ">", ">=", "<", "<=", "<>") and date.
    QComboBox *cboOptGeb01;
    QLineEdit *txtGeb01;
    QComboBox *cboOptGeb02;
    QLineEdit *txtGeb02;
    QComboBox *cboOptTritt01;
    QLineEdit *txtTritt01;
    QComboBox *cboOptTritt02;
    QLineEdit *txtTritt02;

    // The value of each switched filter, a pair each in a frame of its own.
    QRadioButton *optMann;
    QRadioButton *optFrau;
    QRadioButton *optBezahlt;
    QRadioButton *optNBezahlt;
    QRadioButton *optAktiv;
    QRadioButton *optPassiv;
    QRadioButton *optBefrJa;
    QRadioButton *optBefrNein;
    QRadioButton *optAusgJa;
    QRadioButton *optAusgNein;
    QRadioButton *optJGJa;
    QRadioButton *optJGNein;
    QRadioButton *optStdJa;
    QRadioButton *optStdNein;

    // Lists the work hours of the year in cboArbJahr instead of the address columns.
    QCheckBox *chkArbAnz;
    QComboBox *cboArbJahr;
    // Free description printed on the list.
    QLineEdit *txtInfo;
    QLabel *lblAnzDS; // "Gefunden:"
    QLabel *lblGefDS; // number of rows found
    QProgressBar *pb;
    // Columns: 0 "Mitgl.-Nr", 1 "Nachname", 2 "Vorname", 3 "Straße", 4 "PLZ", 5 "Ort",
    // 6 "Tel. [privat]", 7 "Geb.-Datum", 8 "Pfl.-Std.", 9 "Gel. Arb-Std.", 10 "Soll/Haben".
    forms::ListGrid *tblMList;

    // Toolbar by button key: "tbSuch", "tbAnzLoeschen", "tbVorschau", "tbDruck", "tbEsc".
    void Toolbar1_ButtonClick(const QString &key);
    // The grid's events: a row chosen (negative: none), a double-click, the context menu.
    void tblMList_RowChosen(int row);
    void tblMList_DblClick(int row, int column);
    void tblMList_Context(int row);

    // The controls a filter box enables, and its switch (-1 for chkArbAnz).
    struct Filter
    {
        QCheckBox *box;
        QList<QWidget *> controls;
        int schalter;
    };
    const QList<Filter> &filter() const { return filter_; }

protected:
    void Form_Load() override;

private:
    void baueFilter();
    QHBoxLayout *baueFuss();
    void baueListe();
    void verbinde();
    void chk_Click(const Filter &f);
    void chkArbAnz_Click();
    void Suchen();

    QList<Filter> filter_;
};

namespace workhours {
// Wires the member list into the core: the window "MitglList", its reset when the content
// windows are hidden, and its grid for the main window's member menu.
void RegistriereMitglList();
} // namespace workhours
