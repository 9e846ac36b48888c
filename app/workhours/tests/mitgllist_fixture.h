#pragma once
// Fixture of the member-list tests: a program folder with a starter database and a small club,
// the navigation bar's and the date-edit control's libraries registered into the test run's
// registry, the core's, the contact side's, the work-hours and the member list's windows registered, the user
// logged in, and the member list opened from the contact overview's toolbar in the navigation
// bar's results pane.
//
// Required hours 20 a year. Members (KNr in brackets), their hours in the current year J:
//   Albers Anna (1)    active, woman, born 14.02.1980, entered 01.03.2000, paid       22.5 h
//   Brandt Bernd (2)   active, man, no birth date, entered 01.01.2010, youth group    12.5 h (30 h in J-1)
//   Claasen Carl (3)   passive, man, born 31.12.1989, exempt, paid, left 31.12.2023    none
//   Dorn Dora (4)      active, woman, born 01.01.1960, entered 15.06.1985, paid       1.1 + 6.6 + 12.1 + 0.2
//                      (a sum of 19.999999999999996, shown as 20,00)
//   Frei Fritz (6)     active, man, born 05.05.2005, youth group                      20 h exactly
// and one contact that is no member: Eck Emil (5), a supplier.
#include "core/modGVar.h"
#include "core/testing/program_fixture.h"

#include "forms/form.h"
#include "forms/listgrid.h"
#include "forms/services.h"

#include <QPoint>
#include <QString>
#include <functional>
#include <gtest/gtest.h>

class Kontakt;
class MitglList;
class QAbstractButton;
class QWidget;

namespace mitgltest {

// Whether the navigation bar's and the date-edit control's libraries were registered for this
// run (once, into a temporary registry; a library that does not register fails the run).
bool bibliothekenRegistriert();

class MitglListTest : public apptest::MainTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Logs in, shows the contact overview and opens the member list from its toolbar.
    void starte(const QString &benutzer = QStringLiteral("Verwalter"),
                const QString &passwort = QStringLiteral("angeln"));

    MitglList &liste();
    forms::ListGrid &grid();
    // Column 0 of every grid row, in the grid's order.
    QStringList knrListe();
    // One grid row as its texts.
    QStringList zeile(int row);

    // Mouse input through the top-level window that shows the widget (which must be visible), at
    // the widget's position.
    void klicke(QWidget *widget, QPoint lokal, bool doppelt = false, Qt::MouseButton knopf = Qt::LeftButton);
    // The right button over a point of the grid's view: it chooses the row under it and asks
    // for the context menu.
    void kontextmenue(QPoint punkt);
    // A click on a check box's or option button's indicator.
    void klicke(QAbstractButton *knopf);
    // A click on a toolbar button of the member list (or of another window's toolbar).
    void klickeKnopf(const QString &key, QWidget *fenster = nullptr);
    // Types text into a line edit (or an editable combo box) as keys.
    static void tippe(QWidget *feld, const QString &text);
    // The view position of a grid row's cell.
    QPoint zellpunkt(int row, int column);

    // The user's click on "tbSuch", answering the load-all question (asked when no filter is on).
    void suche(int antwort = forms::vbYes);

    // The current year, of the hours in the fixture.
    int jahr = 0;
    std::function<void(Kontakt &)> editorSchritte;
    int editorGezeigt = 0;
};

// Texts of the boxes shown, for failure messages.
using apptest::texte;

inline const QString Eingabefehler = QStringLiteral("ACHTUNG: Eingabefelder nicht korrekt, Vorgang abgebrochen !");
inline const QString DSFehlt = QStringLiteral("FEHLER: Datensatz nicht vorhanden o. nicht vorhanden !");
inline const QString KeineTreffer = QStringLiteral("Keine passenden Einträge gefunden !");
inline const QString AlleLaden = QStringLiteral("ACHTUNG: Wirklich alle Mitglieder aus der Datenbank laden ?");

} // namespace mitgltest
