#pragma once
// Fixture of the contact tests: the program's surroundings (core/testing/program_fixture.h) with a
// club's contacts in the starter database, the navigation bar's and the date-edit control's
// libraries registered into a temporary registry, the core's and the contact side's windows registered, the user logged in, and the
// contact overview shown in the navigation bar's results pane of the main window.
//
// Categories and contacts at the start (KNr in brackets):
//   1 "Mitglieder (aktiv)"  Meier Hans (1, member, born 24.12.1970), Schulz Eva (2, member)
//   2 "Mitglieder (passiv)" Alt Paul (3, member)
//   3 "Lieferanten"         Angelbedarf Nord (4), Köder-Müller (5), Rutenbau Süd (6)
//   4 "Behörden"            Fischereiamt (7)
//   5 "Ohne"                none
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
class KontaktUebers;
class QAction;
class QWidget;

namespace kontakttest {

class KontaktTest : public apptest::MainTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    void starte(const QString &benutzer = QStringLiteral("Verwalter"),
                const QString &passwort = QStringLiteral("angeln"));

    KontaktUebers &uebersicht();
    forms::ListGrid &grid();
    // The top-level row of a category, -1 when the overview has none.
    int zeile(int kategoNr);
    QString name(int kategoNr);
    QString marke(int kategoNr);
    // The nested list of a category (nullptr when it has none).
    forms::GridList *liste(int kategoNr);
    QStringList knrListe(int kategoNr);

    void klickeKnopf(QAction *aktion);
    // A click on the expander of a category row.
    void klappe(int kategoNr);
    // A double-click on the contact row of a category's nested list.
    void doppelklick(int kategoNr, qlonglong knr);

    // What the user does in the modal contact editor while it is shown.
    void imEditor(std::function<void(Kontakt &)> schritte);
    // Types text into a line edit as keys.
    static void tippe(QWidget *feld, const QString &text);

    // ---- database
    bool mitglied(qlonglong knr);
    qlonglong kategorieVon(qlonglong knr);

    std::function<void(Kontakt &)> editorSchritte;
    int editorGezeigt = 0;
};

// Texts of the boxes shown, for failure messages.
using apptest::texte;

inline const QString Eingabefehler = QStringLiteral("ACHTUNG: Eingabefelder nicht korrekt, Vorgang abgebrochen !");
inline const QString DSFehlt = QStringLiteral("FEHLER: Datensatz nicht vorhanden o. nicht vorhanden !");
inline const QString Loeschfrage = QStringLiteral(
    "ACHTUNG: Bei Mitgliederkontakt werden auch alle Referenzen des Kontaktes im Arbeitscontrolling gelöscht !\r\n"
    "Kontakt wirklich löschen ?");
inline const QString KeinRecht = QStringLiteral("Sie haben keine Zugriffsberechtigung auf diese Funktion !");

// Whether the two control libraries were registered for this run.
bool bibliothekenRegistriert();

} // namespace kontakttest
