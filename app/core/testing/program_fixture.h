#pragma once
// The program's surroundings for the tests of the core and of the areas that plug into it: a
// program folder of its own ($TORVANA_HOME) with a starter database, fresh program-wide
// variables, scripted message boxes, and no area plugged into the core. A fixture derives from
// ProgramTest and calls its SetUp and TearDown first and last:
//
//     class FangbuchTest : public apptest::ProgramTest
//     {
//         void SetUp() override
//         {
//             ProgramTest::SetUp();
//             if (HasFatalFailure())
//                 return;
//             modStart::OeffneDatenbank();
//             ...
//         }
//     };
#include "core/testing/program_folder.h"

#include "forms/services.h"

#include <QString>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace apptest {

// The program folder (home, dbPfad(), sql()) comes from Programmordner.
class ProgramTest : public ::testing::Test, public Programmordner
{
protected:
    // Without a starter database the program folder starts empty (tests of the start-up that
    // lay out their own database file).
    enum class Datenbank { Starter, Keine };
    explicit ProgramTest(Datenbank datenbank = Datenbank::Starter) : datenbank_(datenbank) {}

    // The program folder, the starter database (not opened), fresh program-wide variables, the
    // core's plug-in points empty.
    void SetUp() override;
    // Unloads every window, closes the program's database connection, removes the database
    // file, and leaves fresh program-wide variables and empty plug-in points behind (a test may
    // run TearDown and SetUp again to start the program anew).
    void TearDown() override;

    forms::ScriptedMsgBox boxes;

private:
    Datenbank datenbank_;
};

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

} // namespace apptest
