#pragma once
// Contacts and members: the contact overview (window KontaktUebers), the contact editor (window
// Kontakt) with its load, insert, update and delete, the category lookups, the contact right and
// the yearly reset of the members' paid flags.
//
// Tables: Kontakt (one row per contact, key KNr, category KategoNr) and Mitglied (the member data
// of a contact of category 1 "Mitglieder (aktiv)" or 2 "Mitglieder (passiv)", key = its KNr).
//
// The overview's top level has one row per category: 0 the number, 1 the mark "+" (collapsed) or
// "-" (expanded), 2 the name, followed by "  [n]" when the category has n contacts. A category
// row with contacts owns a nested list of its contacts (ten columns, KNr first). Whether a
// category is expanded is kept on its row (the grid's expanded flag, mirrored by the mark).
//
// Every write runs in one transaction (a contact and its member record together); the overview
// changes only after the commit, and contact rows are found by their KNr. Every write (insert,
// update or move, delete) is made only for a user whose group has the right Kontakt; anyone else
// gets the box "Sie haben keine Zugriffsberechtigung auf diese Funktion !" and nothing is
// written, whichever road led to it.
#include "core/modGVar.h"
#include "core/modRun.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QtGlobal>

namespace forms {
class ListGrid;
}

namespace modKontakt {

// ---- the overview

// Start-up set-up: layout, one row per category, each category's count and placeholder list.
void InitialisiereKontaktUebers();
// The look of the top level (the list is emptied first).
void FormatiereTblKUebers();
// One top-level row per Katego record: (KategoNr, "+", Kategorie).
void tblKUebersfüllen();
// Fills the nested list of the category in top-level row `row`. During the start-up set-up:
// the count behind the name and one placeholder row; afterwards (an expansion): the
// category's contacts, read afresh. A category without contacts keeps its bare name and no
// nested list. Errors are passed over.
void LadeKategoKontakte(int row, const QVariant &kategoNr);
// The layout of a nested contact list on the grid's current list (which is emptied first).
void SetzeKUebersSpalten();
// The number of contacts stored in the category of top-level row `row` (its number in column 0),
// the count its name shows. It is never read back from the row's text: a name may hold brackets
// and digits of its own ("Jugend [U18]"). Errors go to the caller's trap.
long ErmittleKategoAnzahl(int row);

// ---- the editor

// Loads the contact whose KNr stands in column 0 of row `row` of the grid's current list into
// the editor and shows the editor modally; returns when it is closed. A contact that does not
// exist shows "FEHLER: Datensatz nicht vorhanden ..." and no editor. `column` is not used.
void loadKontakt(const forms::ListGrid &liste, int row, int column = 0);
// Inserts the editor's contact (and, in a member category, its member record) in one
// transaction, then keeps the overview in step and empties the editor. False when the input
// was refused (with the input-error box) or the write failed (with the error box).
bool SpeicherKontakt();
// Rewrites the contact shown in the editor; `row` is the row it was chosen from in the
// overview (a hint: the row is found by KNr). Moves between categories create or remove the
// member record. The editor is unloaded afterwards, also when the contact no longer exists.
// False when the input was refused or the write failed (the editor then stays open).
bool UpdateKontakt(int row);
// The same for an editor opened from the contact search: the overview's rows are found by
// searching, and only expanded categories show the change.
bool UpdateSQLKontakt();
// Deletes the contact shown in the editor with its member record (its work hours go with it),
// lowers its category's count and unloads the editor. A contact deleted meanwhile shows
// "FEHLER: Datensatz nicht vorhanden ..." and the editor stays open. False only when the write
// failed (the error box has told).
bool LoescheKontakt();

// The number of the category with exactly this name; 0 when there is none or more than one.
// fehler, when given, tells whether the lookup failed (the error box has told).
qint32 ErmittleKategoNr(const QString &name, bool *fehler = nullptr);
// The name of the category with this number; "" when there is none.
QString ErmittleKategoName(qint32 nr);
// Empties the editor's fields (the youth-group box keeps its value) and puts the focus on the
// category box.
void LeereKontaktFelder();
// Gueltig when a category that exists is chosen, surname and first name are filled and each
// date field is empty or holds a day that exists; Fehler when the category lookup failed (its
// error box has told). No message of its own.
modRun::Pruefung PruefeKontaktEingabe();
// The input-error box (ZeigeKontaktEingabeFehler) for Ungueltig, nothing more for Fehler; true
// for Gueltig.
bool MeldeKontaktPruefung(modRun::Pruefung ergebnis);
// The input-error box for the contact editor. A date field that names a day that does not exist
// shows its stored day again first (none for a new contact): the date control would otherwise
// make it the month's last day when the box takes the focus, and an emptied field would make
// the next save erase the stored day.
void ZeigeKontaktEingabeFehler();
// 1 enables the editor's save, delete and clear buttons, 0 disables them; others do nothing.
void SetzeKontaktToolbar(int modus);
// Whether the group of the user in panel 4 of the main window's status bar has the right
// Kontakt; read afresh at every call.
bool KontaktZugriff_Erlaubt();
// Marks every member's annual fee as not paid (Mitglied.Bezahlt = False), in one transaction.
// False after a failure, which the error box reports.
bool ReinitialisiereJB();

// ---- the contact search (dialog SuchKont)

// Lists in the dialog's tblSuch the contacts whose first name, surname or firm begins with text
// (case-insensitive, German letters folded), in category kategoNr or, for 0, in all. A "*" in
// text stands for any text ("*see" finds "Baggersee"); every other character stands for itself.
// No match: the box "Keine passenden Datensätze gefunden ..." and an empty list.
void SucheKontakt(QString &text, qint32 &kategoNr);
// The LIKE pattern of a search text: its characters literal but "*", and "*" appended.
QString Suchmuster(const QString &text);
// Empties the dialog's result list, search box and count label.
void LeereSuchKont();
// Shows the dialog modally, its category list filled for gv().intSuchAufruf.
void ZeigeSuchKont();
// Unloads the dialog (the next use creates it afresh).
void EntladeSuchKont();

// ---- the serial-letter file and the form letters

// The serial-letter file: the program folder's SeqData/SERI.txt.
QString SeriDateiPfad();
// The form letters made from it: SeqData/SERI.odt.
QString SerienbriefPfad();
// Writes SERI.txt from the categories expanded in the contact overview (a header line, then one
// line per contact: fifteen fields, members with their entry date) and, when the user wants it,
// makes the form letters (StarteWordSerienbrief). An expanded category without contacts (or
// without members) is left out with a box. Letters that Windows-1252 cannot hold are written as
// "?", and one box after the success message names those contacts. Any error: the critical box
// with the cause, and the file stays as it was before.
void ErzeugeSeriDatei();
// Makes the form letters from the records written to SERI.txt (saetze: the header, then one
// record per contact, as stored, every letter kept), one letter per record, each with the
// address block of the record ("An", firm, salutation with first name and surname, street, an
// empty line, postcode with town), as an OpenDocument text, and opens it in the word processor.
// A document that cannot be written shows the critical box with its cause; no word processor to
// start shows "Es ist kein Word verfügbar !".
void StarteWordSerienbrief(const QList<QStringList> &saetze);
// The document of the form letters from the records saetze (header first), written to
// dokumentPfad (not written when there is no record); briefe gets the number of letters. False
// when there is no header or the document cannot be written.
bool ErstelleSerienbriefe(const QList<QStringList> &saetze, const QString &dokumentPfad, int *briefe);
// The same from a serial-letter file at seriPfad; false also when it cannot be read.
bool ErstelleSerienbriefe(const QString &seriPfad, const QString &dokumentPfad, int *briefe);

// Whether a category number is one of the two member categories (1 and 2).
bool IstMitgliedskategorie(qint32 kategoNr);

} // namespace modKontakt
