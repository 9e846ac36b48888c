#pragma once
// A printer port for tests: a fixed list of printers, a print dialog answered without showing
// it, and the printed report written to a PDF file when a path is given. It puts itself in place
// of the port for its lifetime.
#include "report/printers.h"
#include "report/report.h"

#include "common/vberror.h"

#include <QString>
#include <QStringList>

namespace report {

class FakePrinters : public PrinterPort
{
public:
    explicit FakePrinters(const QStringList &names = {}) : names(names), previous_(SetPrinters(this)) {}
    ~FakePrinters() override { SetPrinters(previous_); }
    FakePrinters(const FakePrinters &) = delete;
    FakePrinters &operator=(const FakePrinters &) = delete;

    QStringList PrinterNames() override { return names; }

    bool PrintReport(const Report &report, QWidget *parent) override
    {
        (void)parent;
        ++dialogs;
        if (cancel)
            return false;
        if (fail)
            throw vb::Error(482, QStringLiteral("Druckerfehler."));
        ++printed;
        lastCaption = report.Caption;
        lastRows = report.rowCount();
        if (!pdfPath.isEmpty())
            report.ExportPdf(pdfPath);
        return true;
    }

    QStringList names;
    QString pdfPath;     // where a printed report is written
    bool cancel = false; // the dialog is cancelled
    bool fail = false;   // the printer fails
    int dialogs = 0;
    int printed = 0;
    QString lastCaption;
    int lastRows = -1;

private:
    PrinterPort *previous_;
};

} // namespace report
