#pragma once
// The surroundings of the print-out tests: the program's surroundings (program_fixture.h) with the
// starter database opened, the club's address in the info window ("ASV Petri Heil", Uferweg 3,
// 12345 Fischbach, 0123 4567), two printers of which the fake prints to gedruckt.pdf in the program
// folder, and a grid for the rows to print.
#include "core/testing/program_fixture.h"

#include "forms/listgrid.h"
#include "pdftext/pdftext.h"
#include "report/fakeprinters.h"

#include <QList>
#include <QString>
#include <QVariantList>

// A missing pdftotext fails the test: a print-out test must not pass unread.
#define NEEDS_PDFTOTEXT() ASSERT_TRUE(pdftext::Available()) << "poppler-utils (pdftotext) not installed"

namespace apptest {

class DruckTest : public ProgramTest
{
protected:
    DruckTest() : ProgramTest(Datenbank::Geoeffnet) {}
    void SetUp() override;

    // The text of the PDF printed last.
    QString text() const { return pdftext::Text(drucker.pdfPath); }
    // Today as the print-outs write it (dd.MM.yyyy).
    static QString heute();
    // Every row of a query on the program's connection, column by column.
    static QList<QVariantList> tabelle(dao::Sql sql);

    report::FakePrinters drucker{{QStringLiteral("Laser Büro"), QStringLiteral("Tinte Kasse")}};
    forms::ListGrid grid;
};

} // namespace apptest
