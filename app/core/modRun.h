#pragma once
// Small procedures every window and data module shares: the standard message boxes, the
// converters between input controls and database values, German month and weekday names,
// the key filters of the input fields, the look of a list grid and the refresh of grid rows,
// and the one way figures and dates are rounded and shown (the German way, whatever the
// system's locale).
//
// None of them has an error trap of its own: an error inside one (a Null date, a grid row
// that is not there) goes to the trap of the calling data procedure.
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace forms {
class GridAppearance;
class GridColumn;
class GridList;
class ListGrid;
} // namespace forms

namespace modRun {

// Title of every box of the program's own.
inline const QString Titel = QStringLiteral("Torvana");
// Line break inside a message: line feed, then carriage return.
inline const QString Umbruch = QStringLiteral("\n\r");
// The no-date value: the date-time zero (30 December 1899), written for an empty date box.
constexpr double KeinDatum = 0.0;

// ---- standard message boxes
void ZeigeDSFehlt();
void ZeigeKeineDSGefunden();
// The input-error box; felder, when given, names the fields to correct below its text.
void ZeigeEingabeFehler(const QStringList &felder = {});
// "Sie haben keine Zugriffsberechtigung auf diese Funktion !": the user's group lacks the right.
void ZeigeKeinZugriff();

// What reading a window's fields found.
enum class Pruefung {
    Gueltig,
    Ungueltig, // the input is refused: the input-error box
    Fehler,    // a lookup failed (its error box was shown): the action stops without a further box
};
// True for Gueltig; the input-error box (naming felder, when given) for Ungueltig; nothing more
// for Fehler, so that a failed lookup is reported once and the input is not blamed for it.
bool MeldePruefung(Pruefung ergebnis, const QStringList &felder = {});

// ---- converters
// The text as a date (German day.month.year) as an OLE date, else KeinDatum.
double ErmittleDatum(const QString &text);
double ErmittleDatum(const QLineEdit &box);
// "" for the no-date value, else "dd.MM.yyyy". A Null field raises vb::Error 94.
QString ErmittleDatumText(const QVariant &field);
// The same for a field that may be Null (data brought in from elsewhere): Null is no date, "".
QString ErmittleDatumTextOhneNull(const QVariant &field);
// True only for a checked box (greyed is False).
bool ErmittleChkWert(const QCheckBox &box);
// 1 when the field is True, else 0 (also for Null).
int SetzeChkWert(const QVariant &field);
bool ErmittleOptWert(const QRadioButton &button);

// ---- names
// Month 1..12; another number shows the month error box and gives "Januar".
QString ErmittleMonatsname(int monat);
// Exact, case-sensitive; another text shows the month error box and gives 1.
int ErmittleMonatsNr(const QString &name);
// Weekday 1 = Sunday .. 7 = Saturday; another number gives "" silently.
QString ErmittleWochentag(int tag);

// ---- key filters: the code to keep (0 swallows the key; a refused key beeps)
int PruefeTasteZahl(int &KeyAscii);
int PruefeTasteKomma(int &KeyAscii);
int PruefeTasteTel(int &KeyAscii); // also sets its argument to 0 when it refuses
int PruefeTasteDatum(int &KeyAscii);
int PruefeTasteSuch(int &KeyAscii); // digits, every letter, Backspace, "*" and blank

// ---- names
// Whether text can stand as a name of a record the lists show (a category, fish species, water,
// user or group): not empty once the blanks around it are taken away, and without a control
// character (a line break, a tab, NUL), which would show as a broken row.
bool IstName(const QString &text);
// Whether a text field's text can be stored as it stands, so that other SQLite tools read what
// the program reads: without a control character (NUL, which ends the text for the sqlite3
// shell, a tab, a line break, ...) and without half a character (a surrogate without its
// partner). A multi-line field (mehrzeilig) keeps its line breaks and tabs.
bool IstFeldtext(QStringView text, bool mehrzeilig = false);

// ---- list grids
// White background, black text, grid lines: the look of every list grid.
void SetzeTblFarben(forms::GridAppearance &appearance);
// After a record was changed ("UPDATE": every row whose search-column cell equals key gets
// value in column spalte) or deleted ("LOESCHEN": every row whose search-column cell equals
// value is removed). Any other mode changes nothing. The search column belongs to list.
void AktualisiereTbl(forms::GridList &list, const forms::GridColumn &suchSpalte, int spalte, const QString &wert,
                     const QString &modus, const QString &schluessel);
// The same on the grid's current list.
void AktualisiereTbl(forms::ListGrid &grid, const forms::GridColumn &suchSpalte, int spalte, const QString &wert,
                     const QString &modus, const QString &schluessel);

// ---- figures and dates (a date as text: datetext::date in common/datetext.h)
// Rounds to the given decimals, half away from zero, on the decimal figure as written
// (2.675 gives 2.68, -0.125 gives -0.13): numbers::roundHalfAway, the one rounding rule of the
// program and its reports.
double Runde(double wert, int stellen = 2);
// "###0.00": two decimals with a decimal comma, no thousands separator ("12,50", "-3,00").
QString FormatZahl(double wert);
// Reads a figure typed with a decimal comma ("12,5" is 12.5). A dot, letters or an empty text
// are not a figure: ok is set to false and 0 returned.
double LeseZahl(const QString &text, bool *ok);

} // namespace modRun
