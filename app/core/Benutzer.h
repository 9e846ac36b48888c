#pragma once
// The user administration ("Benutzerverwaltung"): the users on tab 0, the groups with their
// ten rights on tab 1. Its two grids are the program's working copies of both tables; the
// groups grid is the source of every group list.
#include "forms/form.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QToolBar;

namespace forms {
class ListGrid;
}

class Benutzer : public forms::Form
{
    Q_OBJECT
public:
    Benutzer();

    QLabel *Ueberschrift;
    QTabWidget *tabBV;
    QToolBar *Toolbar1;
    QAction *tbSpeichern;
    QAction *tbLoeschen;
    QAction *tbAnzLoeschen;

    // Tab 0: users. Grid columns "Benutzer-Nr.", "Benutzername", "Passwort", "Ben.-Gruppe".
    forms::ListGrid *tblBenutzer;
    QLabel *lblBAnzahl;
    QLabel *lblBNr;
    QLineEdit *txtBenutzer;
    QLineEdit *txtPassw;
    QLineEdit *txtPasswBest;
    QComboBox *cboBG;

    // Tab 1: groups. Grid columns "Gruppen-Nr.", "Gruppe \ Forms", then the ten rights.
    forms::ListGrid *tblZugriff;
    QLabel *lblGAnzahl;
    QLabel *lblGNr;
    QLineEdit *txtGruppe;
    QCheckBox *chkFBuch;
    QCheckBox *chkFAusw;
    QCheckBox *chkKontUebers;
    QCheckBox *chkKontList;
    QCheckBox *chkKontakt;
    QCheckBox *chkArbeit;
    QCheckBox *chkBesatz;
    QCheckBox *chkBasis;
    QCheckBox *chkBenutzer;
    QCheckBox *chkSystem;

    // The ten right boxes in the order of the Gruppen columns.
    QList<QCheckBox *> Rechte() const;

    // By button key; the tab shown chooses users (tab 0) or groups.
    void Toolbar1_ButtonClick(const QString &key);
    // A double-click on a row (negative: no row) loads it for change.
    void tblBenutzer_DblClick(int row, int col);
    void tblZugriff_DblClick(int row, int col);
    // The tab strip changed; previousTab is the tab shown before.
    void tabBV_Click(int previousTab);

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Deactivate() override;
    void paintEvent(QPaintEvent *event) override;

private:
    // A user (group) is loaded for change: mode "EDIT" and its number label shows a key. An
    // "EDIT" left by another window, or fields emptied since, is no change here.
    bool aendert(bool benutzer) const;
    void Speichern(bool benutzer);
    void Loeschen(bool benutzer);
    void zeigeAnzahl();

    int tab_ = 0;
};
