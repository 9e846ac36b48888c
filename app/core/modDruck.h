#pragma once
// The print-outs of the list windows.
//
// A print-out copies the rows that a list window's grid shows, in the grid's order, into a print
// table of the application database, over a connection of its own that lives only as long as the
// print-out; binds the print-out's report to that table; captions it with the club address of
// the about box and with the window's settings; and prints it through the print dialog
// ("drucken") or shows it as a preview in the results pane, in place of the list window and
// under the same navigation item ("vorschau"). Any other mode text prints and shows nothing.
//
// Emptying and refilling the print table and the report's reading of it run in one transaction,
// committed before anything is printed or shown: a print-out that fails on the way (a cell that
// is no number, a locked database, a report that cannot be bound) shows the error box, leaves
// the database as it was and prints nothing, and the print table never holds rows of two
// print-outs. A printer that fails after that shows the error box; the table then holds the
// rows of this print-out, as after any other. A grid without rows leaves the table empty and shows
// "Keine Daten zum Drucken vorhanden, Vorgang wird abgebrochen !". Printing with no printer
// installed leaves the table filled and shows "ACHTUNG: Kein Drucker installiert, Vorgang wird
// abgebrochen !"; a preview needs no printer.
#include "dao/dao.h"
#include "report/report.h"

#include <QString>
#include <functional>
#include <vector>

namespace forms {
class ListGrid;
}

namespace modDruck {

// How a grid cell is stored in its print-table column.
enum class Ablage {
    Ganzzahl, // a 32-bit whole number (half away from zero); a cell that is no figure is an error
    Text,     // the cell's text (numbers and dates the German way)
    Wert,     // the cell's value as it is
};

struct Spalte
{
    QString feld; // column of the print table
    int zelle;    // column of the grid
    Ablage ablage;
};

struct Druckliste
{
    QString modul; // named by the error box
    QString routine;
    dao::Sql tabelle; // the print table
    std::vector<Spalte> spalten;
    // The report of the print-out (its one instance).
    std::function<report::Report &()> bericht;
    // The print-out's own captions and the DataField of its text boxes and sums.
    std::function<void(report::Report &)> beschrifte;
};

// Runs a print-out of grid by mode ("drucken" or "vorschau", compared exactly).
void Drucke(const QString &modus, const forms::ListGrid &grid, const Druckliste &liste);

// The one instance of the report called name, laid out by lege on first use and kept for the
// run; its captions keep the values of its last print-out.
report::Report &Bericht(const QString &name, const std::function<void(report::Report &)> &lege);
// Forgets every report instance and its preview window (end of the program, tests).
void VerwerfeBerichte();

// ---- the layout every print-out shares (points; the page is 515 wide)

inline constexpr double Breite = 515;
// Top of the title label and of the column headings' frame in the page header.
inline constexpr double TitelY = 66;
inline constexpr double KopfY = 92;
inline constexpr double KopfHoehe = 16;

// The page header's club address block on the left ("Anschrift:" over name, street, postcode
// and town, telephone with the labels lblVerein, lblStrasse, lblPLZ, lblOrt, lblTelefon), and the
// section's height to hold title and headings below it.
void Adressblock(report::Section &kopf);
// The title label at TitelY.
report::Control &Titel(report::Section &kopf, const QString &name, const QString &text);
// A column: its heading inside the frame Shape1 and its text box in the detail section, which
// wraps a text too long for the column; the detail section gets its separating line.
struct Kolumne
{
    const char *ueberschrift;
    const char *textbox;
    const char *feld;
    double x;
    double breite;
    report::Align ausrichtung = report::Align::Left;
    const char *format = "";
};
void Kolumnen(report::Report &r, const std::vector<Kolumne> &kolumnen, double schrift = 9);
// The page footer's line "Seite %p von %P (gedruckt am %d)".
void Seitenzeile(report::Section &fuss);
// A fixed label and the run-time label beside it, on one line of a footer block.
void Zeile(report::Section &s, double x, double y, const QString &text, double textBreite, const QString &label,
           double labelBreite, report::Align ausrichtung = report::Align::Left);

} // namespace modDruck
