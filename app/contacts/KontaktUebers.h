#pragma once
// The contact overview: behind the navigation item "Kontakte", one row per contact category with
// its contact count; a category expands into the list of its contacts, and a double-click on a
// contact opens it in the contact editor. The toolbar opens the editor for a new contact, the
// categories, the contact search, the member list and the serial-letter export.
#include "forms/form.h"

class QLabel;
class QToolBar;

namespace forms {
class ListGrid;
}

class KontaktUebers : public forms::Form
{
    Q_OBJECT
public:
    KontaktUebers();

    QLabel *Ueberschrift;
    QLabel *Label1;
    QLabel *Label2;
    QToolBar *Toolbar1;
    forms::ListGrid *tblKUebers;

    // Toolbar by button key: "tbKontakt", "tbKatego", "tbSuch", "tbMitglList", "tbWord".
    void Toolbar1_ButtonClick(const QString &key);
    // A click on a category's expander (the grid has already switched the row's expanded flag).
    void tblKUebers_Expand(int row, int column);
    // A double-click on a contact of a nested list opens it in the editor.
    void tblKUebers_DblClick(int row, int column);

protected:
    void Form_Load() override;
    void Form_Deactivate() override;

private:
    void SerienbriefDatei();
    // The contact right of the user's group; without it the refusal is shown.
    static bool ZugriffErlaubt();
};

namespace contacts {
// Wires the contact side into the core: the overview under the navigation key "Kontakte", the
// category window "Katego" with its grid as the program's list of categories, the contact
// search for both its callers, the overview's set-up in the start-up load, the procedures the main window's member menu calls and the
// yearly reset of the members' paid flags.
void RegistriereKontakte();
} // namespace contacts
