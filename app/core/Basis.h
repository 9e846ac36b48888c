#pragma once
// The base-data window: the fish species (tab 0) and the waters (tab 1). Its grids are the
// program's in-memory lists of both tables, from which the species and waters combo boxes of
// the other windows are filled.
#include "forms/form.h"

class QAction;
class QLabel;
class QLineEdit;
class QTabWidget;
class QToolBar;

namespace forms {
class ListGrid;
}

class Basis : public forms::Form
{
    Q_OBJECT
public:
    Basis();

    QTabWidget *TabBasis;
    // Fish species: FNr, FName.
    forms::ListGrid *tblFBasis;
    QLabel *lblFNr; // key of the species loaded for change, empty for a new one
    QLineEdit *txtFArt;
    QLineEdit *txtFNotiz;
    QLabel *lblFAnzahl;
    // Waters: GNr, GName.
    forms::ListGrid *tblGBasis;
    QLabel *lblGNr;
    QLineEdit *txtGName;
    QLineEdit *txtGNotiz;
    QLabel *lblGAnzahl;
    QToolBar *Toolbar1;
    QAction *tbSpeichern;
    QAction *tbLoeschen;
    QAction *tbAnzLoeschen;

    // By button key; the tab shown chooses fish species (tab 0) or waters.
    void Toolbar1_ButtonClick(const QString &key);
    // A double-click on a row (negative: no row) loads the record for change.
    void tblFBasis_DblClick(int row, int col);
    void tblGBasis_DblClick(int row, int col);

protected:
    void Form_Load() override;
    void Form_Deactivate() override;
    void paintEvent(QPaintEvent *event) override;

private:
    // A record of the tab is loaded for change: mode "EDIT" and its key label shows a key. An
    // "EDIT" left by another window, or fields emptied since, is no change here.
    bool aendert(bool fisch) const;
    void Speichern(bool fisch);
    void Loeschen(bool fisch);
};
