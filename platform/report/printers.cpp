#include "report/printers.h"
#include "report/report.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace report {

QStringList DesktopPrinters::PrinterNames()
{
    return QPrinterInfo::availablePrinterNames();
}

bool DesktopPrinters::PrintReport(const Report &report, QWidget *parent)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(report.PageSize, QPageSize::Point));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
    printer.setDocName(report.Caption);
    printer.setPrintRange(QPrinter::AllPages);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(report.Caption);
    // Always every page: no page range, selection or current page to choose.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    printer.setFullPage(true);
    report.PrintTo(printer);
    return true;
}

namespace {
PrinterPort *g_port = nullptr;
}

PrinterPort &Printers()
{
    static DesktopPrinters desktop;
    return g_port ? *g_port : desktop;
}

PrinterPort *SetPrinters(PrinterPort *port)
{
    PrinterPort *previous = g_port;
    g_port = port;
    return previous;
}

} // namespace report
