#pragma once
// The program's surroundings for the tests of the core and of the areas that plug into it: a
// program folder of its own ($TORVANA_HOME) with a starter database, fresh program-wide
// variables, scripted message boxes, and no area plugged into the core. A fixture derives from
// ProgramTest and calls its SetUp and TearDown first and last:
//
//     class FangbuchTest : public apptest::ProgramTest
//     {
//         FangbuchTest() : ProgramTest(Datenbank::Geoeffnet) {}
//         void SetUp() override
//         {
//             ProgramTest::SetUp();
//             if (HasFatalFailure())
//                 return;
//             ...
//         }
//     };
//
// The program folder alone is in program_folder.h (the benchmarks use it too); the print-out
// tests derive from DruckTest in print_fixture.h.
#include "core/testing/program_folder.h"

#include "forms/listgrid.h"
#include "forms/services.h"
#include "testsupport/checked_msgbox.h"

#include <QPoint>
#include <QSize>
#include <QString>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace apptest {

// The program folder (home, dbPfad(), sql()) comes from Programmordner.
class ProgramTest : public ::testing::Test, public Programmordner
{
protected:
    // The starter database, not opened (Starter) or opened by the program as at start-up
    // (Geoeffnet); without one the program folder starts empty (Keine: tests of the start-up that
    // lay out their own database file).
    enum class Datenbank { Starter, Geoeffnet, Keine };
    explicit ProgramTest(Datenbank datenbank = Datenbank::Starter) : datenbank_(datenbank) {}

    // The program folder, the starter database, fresh program-wide variables, the core's plug-in
    // points empty.
    void SetUp() override;
    // Forgets every report, unloads every window, closes the program's database connection,
    // removes the database file, and leaves fresh program-wide variables and empty plug-in points
    // behind (a test may run TearDown and SetUp again to start the program anew).
    void TearDown() override;

    // The first column of the first row of a query, on the program's connection.
    static long long zahl(dao::Sql text, const QVariantList &params = {});
    // Column name of the one row that a query for the key nr returns on the program's connection;
    // invalid when it returns none or several.
    static QVariant feld(dao::Sql abfrage, qlonglong nr, const char *name);
    // Mouse input through the top-level window that shows the widget, at the widget's position
    // (a click, or a double-click).
    static void klicke(QWidget *widget, QPoint lokal, bool doppelt = false, Qt::MouseButton knopf = Qt::LeftButton);

    // Every box must be scripted or looked at; boxes.expectUncheckedBoxes() lets a test cause
    // boxes it does not check.
    testsupport::CheckedMsgBox boxes;

private:
    Datenbank datenbank_;
};

// The program as the user starts it: SQL goes to the program's connection once the program has
// opened the database, and meldeAn logs in through the Login window and shows a window in the
// main window.
class MainTest : public ProgramTest
{
protected:
    using ProgramTest::ProgramTest;

    // SQL on the program's connection once the program has opened it, before that on a
    // connection of its own (content before the program starts; the program then logs in).
    void sql(dao::Sql text, const QVariantList &params = {});
    // Loads the main window (which opens the database and shows Login), logs in as benutzer,
    // shows the main window at the given size and in it the window registered under fenster
    // (an empty fenster: the window the login showed first stays).
    // The grids of areas the test has not registered (which the start-up load fills) are empty
    // stand-ins, so that the load finds every grid, as in the program with all its areas.
    void meldeAn(const QString &benutzer, const QString &passwort, QSize groesse, const QString &fenster);

private:
    std::vector<std::unique_ptr<forms::ListGrid>> ersatzListen_;
};

// The main window's start size and the enlarged one that windows are looked at in.
inline const QSize Hauptfenstergroessen[] = {{796, 575}, {1280, 1000}};
// Resizes the loaded main window to groesse and lets it lay out: twice, since a second pass lays
// out again what the first paint changed.
void setzeHauptfenstergroesse(QSize groesse);

// A click on the navigation item of key (of either group): the bar raises its item-click event
// for it, and the main window shows the item's window.
void klickeItem(const QString &key);

// Registers control libraries (full paths) once for the whole test run, into a registry of its
// own ($TORVANA_REGISTRY in a temporary folder). A library that cannot be loaded or does not
// register fails the run. Create it at namespace scope of the test program:
//
//     apptest::Steuerelemente *g_bibliotheken = apptest::RegistriereSteuerelemente({TORVANA_NAVRAIL_LIBRARY});
class Steuerelemente : public ::testing::Environment
{
public:
    explicit Steuerelemente(std::vector<std::string> pfade) : pfade_(std::move(pfade)) {}
    void SetUp() override;
    // True once every library registered.
    bool registriert() const { return registriert_; }

private:
    std::vector<std::string> pfade_;
    QTemporaryDir dir_;
    bool registriert_ = false;
};
Steuerelemente *RegistriereSteuerelemente(std::vector<std::string> pfade);

// The titles and texts of the boxes shown, for failure messages.
std::string texte(const forms::ScriptedMsgBox &boxes);

// What a user cannot see whole in a shown window: every visible label, button, check box,
// entry list, text box and grid of it that is smaller than the least size it asks for (a text cut,
// a field squeezed) or reaches beyond the window's edge, one line each ("lblGesStd: 60 x 8, needs
// 60 x 17"). Empty when everything shows whole.
std::vector<std::string> verdeckt(const QWidget &fenster);
// The same for every page of the window's tab widgets in turn (each shown, laid out and judged;
// the first page is current again afterwards), each line headed by the page's caption.
std::vector<std::string> verdecktAufJederSeite(QWidget &fenster);
// Shows the window of the navigation key and looks at it at each of the main window's sizes: it
// is shown and nothing of it is cut (verdecktAufJederSeite); jeGroesse looks at more there.
void ZeigtSichGanz(const QString &key, const std::function<void()> &jeGroesse = {});

} // namespace apptest
