#pragma once
// Fixture of the core tests: the program's surroundings (core/testing/program_fixture.h), the
// navigation bar's library registered into a temporary registry, the core's windows and start-up
// steps registered, and helpers that start the program and log in.
#include "core/modGVar.h"
#include "core/testing/program_fixture.h"

#include "forms/form.h"
#include "forms/listgrid.h"
#include "forms/services.h"

#include <QPointer>
#include <QString>
#include <gtest/gtest.h>
#include <memory>

namespace coretest {

// True when the navigation bar's library is registered for this test run (a library that cannot
// be loaded or registered fails the run).
bool navrailVorhanden();

// A content window that stands in for another area's window.
class Attrappe : public forms::Form
{
    Q_OBJECT
public:
    Attrappe() = default;
};

class CoreTest : public apptest::ProgramTest
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The core's windows and start-up steps, and the catch log's grid.
    void RichteKernEin();
    QString db() const { return dbPfad(); }
    // Loads Main (opens the database, builds the bar, shows Login).
    void starte();
    // Starts and logs in with the starter user.
    void meldeAn(const QString &name = QStringLiteral("Verwalter"), const QString &passwort = QStringLiteral("angeln"));
    // Registers a stand-in window under key.
    Attrappe &attrappe(const QString &key);
    // The key of the item that hosts the window shown now ("" for none).
    static QString aktKey();

    std::vector<QPointer<Attrappe>> attrappen;
    std::unique_ptr<forms::ListGrid> fangListe;
    // The stocking plan's grid, and the years the loader reported it filled with.
    std::unique_ptr<forms::ListGrid> besatzListe;
    std::vector<int> besatzJahre;
    // The category grid (on the contact side in the program), which the start-up load fills.
    std::unique_ptr<forms::ListGrid> kategoListe;
};

// The texts of the boxes shown, for failure messages.
using apptest::texte;

// Keys of a group's items, in order.
QStringList itemKeys(ILzNavrailItems *items);

} // namespace coretest
