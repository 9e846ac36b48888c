#pragma once
// The contact editor: one contact (and, in a member category, its member data) on four tab
// pages; always shown modally, empty for a new contact or filled by modKontakt::loadKontakt.
#include "forms/form.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTabWidget;
class QPlainTextEdit;
class QToolBar;

namespace contacts {
class Datumsfeld;
}

class Kontakt : public forms::Form
{
    Q_OBJECT
public:
    Kontakt();

    QToolBar *Toolbar1;
    // Buttons 1, 3 and 5 of the toolbar (2 and 4 are separators without a key).
    QAction *tbSpeichern;
    QAction *tbLoeschen;
    QAction *tbAnzLoeschen;
    QTabWidget *TabKont;

    // "Global"
    QLabel *lblKNr; // KNr of the contact loaded, empty for a new one
    QComboBox *cboKatego;
    QLineEdit *txtAnrede;
    QLineEdit *txtFirma;
    QLineEdit *txtNName;
    QLineEdit *txtVName;
    QLineEdit *txtStrasse;
    QLineEdit *txtPLZ;
    QLineEdit *txtOrt;
    contacts::Datumsfeld *txtGebDat;
    QGroupBox *fraGeschlecht;
    QRadioButton *optMann;
    QRadioButton *optFrau;
    QGroupBox *fraBefreit;
    QRadioButton *optBefreit;
    QRadioButton *optNBefreit;
    QGroupBox *fraBezahlt;
    QRadioButton *optBezahlt;
    QRadioButton *optNBezahlt;
    QGroupBox *fraAufnahme;
    contacts::Datumsfeld *txtEintritt;
    contacts::Datumsfeld *txtAustritt;
    QCheckBox *chkJG;
    // "Kommunikation"
    QLineEdit *txtTelPriv;
    QLineEdit *txtTelGesch;
    QLineEdit *txtMobil;
    QLineEdit *txtFax;
    QLineEdit *txtEMail;
    // "Bank"
    QCheckBox *chkEinzug;
    QLineEdit *txtBLZ;
    QLineEdit *txtKInst;
    QLineEdit *txtKontoNr;
    // "Info"
    QPlainTextEdit *txtNotiz;

    // Enables the member-only controls when the category is a member category.
    void SetzeMitglFelder();
    // Toolbar by button key: "tbSpeichern", "tbLoeschen", "tbAnzLoeschen".
    void Toolbar1_ButtonClick(const QString &key);

protected:
    void Form_Load() override;

private:
    // A contact is loaded for change: the mode is "EDIT" and the editor shows its number.
    bool aendertKontakt() const;
};
