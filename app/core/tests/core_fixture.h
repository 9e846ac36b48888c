#pragma once
// Shared fixture of the core tests: a program folder with a starter database, the navigation
// bar's library registered into a temporary registry (when it was built), the core's windows
// and start-up steps registered, and scripted message boxes.
#include "core/modGVar.h"

#include "forms/form.h"
#include "forms/listgrid.h"
#include "forms/services.h"

#include <QPointer>
#include <memory>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace coretest {

// True when the navigation bar's library is built and registered for this test run.
bool navrailVorhanden();

// A content window that stands in for another area's window.
class Attrappe : public forms::Form
{
    Q_OBJECT
public:
    Attrappe() = default;
};

class CoreTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    QString db() const { return home.path() + QStringLiteral("/tv01.mdb"); }
    // Runs SQL on the starter database before the program opens it (or beside it).
    void sql(dao::Sql text, const QVariantList &params = {});
    // Loads Main (opens the database, builds the bar, shows Login).
    void starte();
    // Starts and logs in with the starter user.
    void meldeAn(const QString &name = QStringLiteral("Verwalter"), const QString &passwort = QStringLiteral("angeln"));
    // Registers a stand-in window under key.
    Attrappe &attrappe(const QString &key);
    // The key of the item that hosts the window shown now ("" for none).
    static QString aktKey();

    QTemporaryDir home;
    forms::ScriptedMsgBox boxes;
    std::vector<QPointer<Attrappe>> attrappen;
    std::unique_ptr<forms::ListGrid> fangListe;
    // The stocking plan's grid, and the years the loader reported it filled with.
    std::unique_ptr<forms::ListGrid> besatzListe;
    std::vector<int> besatzJahre;
    // The category grid (on the contact side in the program), which the start-up load fills.
    std::unique_ptr<forms::ListGrid> kategoListe;
};

// The texts of the boxes shown, for failure messages.
std::string texte(const forms::ScriptedMsgBox &boxes);

// Keys of a group's items, in order.
QStringList itemKeys(ILzNavrailItems *items);

} // namespace coretest
