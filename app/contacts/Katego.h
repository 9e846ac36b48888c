#pragma once
// The category window: behind the contact overview's key "tbKatego", in the navigation pane. Its
// grid tblKatego (KategoNr, category name; the two member categories marked as system
// categories) is the program's list of categories, from which the category combos are filled.
// The user adds, renames and deletes categories here (modKatego); the two member categories
// cannot be changed.
#include "forms/form.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QToolBar;

namespace forms {
class ListGrid;
}

class Katego : public forms::Form
{
    Q_OBJECT
public:
    Katego();

    QLabel *Ueberschrift;
    QGroupBox *Frame1;
    QGroupBox *Frame2;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *lblKatN;
    QLabel *lblAnzahl;
    QLabel *lblKategoNr; // number of the category loaded for change, empty for a new one
    QLineEdit *txtKatego;
    forms::ListGrid *tblKatego;
    QToolBar *Toolbar1;

    // By button key: "tbSpeichern", "tbLoeschen", "tbAnzLoeschen", "tbEsc".
    void Toolbar1_ButtonClick(const QString &key);
    // A double-click on a row (negative: no row) loads the category for change.
    void tblKatego_DblClick(int row, int col);

protected:
    void Form_Load() override;
    void Form_Deactivate() override;
    void paintEvent(QPaintEvent *event) override;

private:
    // A category is loaded for change: mode "EDIT" and the number label shows a number.
    bool aendert() const;
};
