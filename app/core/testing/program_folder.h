#pragma once
// The program's folder for tests and benchmarks: a temporary folder that stands in as the program
// folder ($TORVANA_HOME), with the starter database tv01.mdb in it, and the club's address that
// the print-outs show. Free of any test framework, so that the benchmarks use it too.
#include "dao/dao.h"

#include <QString>
#include <QTemporaryDir>
#include <QVariantList>

namespace apptest {

class Programmordner
{
public:
    // Points $TORVANA_HOME at the folder and, with starter, lays out the starter database there
    // (not opened). The folder must be valid (home.isValid()).
    void richteEin(bool starter = true);
    // Removes the database file and unsets $TORVANA_HOME; the folder itself stays until the object
    // goes, so that richteEin may start anew in it.
    void raeumeAuf();

    // tv01.mdb in the program folder.
    QString dbPfad() const;
    // Runs SQL on the program's database over a connection of its own (before the program opens
    // it, or beside the program's connection).
    void sql(dao::Sql text, const QVariantList &params = {});

    QTemporaryDir home;
};

// The club's address in the info window, which the address block of every print-out shows:
// verein, "Uferweg 3", "12345 Fischbach", "0123 4567".
void Vereinsadresse(const QString &verein);

} // namespace apptest
