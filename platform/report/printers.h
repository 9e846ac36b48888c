#pragma once
// The printers of the desktop behind a port: the program asks which printers are installed and
// prints a report through the print dialog; tests put a fake in its place (fakeprinters.h).
#include <QStringList>

class QWidget;

namespace report {

class Report;

class PrinterPort
{
public:
    virtual ~PrinterPort() = default;
    // The names of the installed printers; empty when there is none.
    virtual QStringList PrinterNames() = 0;
    // Shows the print dialog for all pages over parent and prints the report on the printer
    // chosen there. Returns false when the user cancelled the dialog; raises vb::Error when
    // printing fails.
    virtual bool PrintReport(const Report &report, QWidget *parent) = 0;
};

// The desktop's print system (CUPS) with Qt's print dialog.
class DesktopPrinters : public PrinterPort
{
public:
    QStringList PrinterNames() override;
    bool PrintReport(const Report &report, QWidget *parent) override;
};

// The port in use (DesktopPrinters unless replaced).
PrinterPort &Printers();
// Installs a port (not owned); nullptr restores the desktop's. Returns the one replaced.
PrinterPort *SetPrinters(PrinterPort *port);

} // namespace report
