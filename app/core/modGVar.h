#pragma once
// The program-wide variables. They are members of one object that the application owns and
// every module reaches through gv(); tests start from a fresh one with resetGv().
// One thread: nothing is locked.
//
// Each entry says what it means, who writes it and who reads it. Two kinds of hand-off pass
// through here: a value set by one window for another is set before the window that reads it is
// shown (its activation reads it at once); a value that only one procedure needs right after a
// message box is that procedure's local, not a member here.
#include "dao/dao.h"

// The navigation bar's interfaces only (no linkage to the control library).
#include "LzNavrail.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QVariantList>
#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace forms {
class Form;
}

namespace modGVar {

struct GVar
{
    // The one connection of all record procedures: the default workspace and the database.
    // Written by the start-up (modStart: open, reopen after compaction or repair) and closed by
    // modEnde; read by every data procedure (mod*, through trap.h's transactions).
    dao::Workspace *wsDaten = nullptr;
    dao::Database dbDaten;

    // Edit mode of the data windows: "SAVE" (the next save inserts) or "EDIT" (a record is
    // loaded for change). Written only through SetzeEditModus, VerlasseEditModus and
    // SetzeSpeicherModus below, which keep the window that holds EDIT beside the mode; read by
    // the editor windows through ImEditModus (and by the contact search, which opens a contact).
    QString strModus = QStringLiteral("SAVE");
    // A grid row number with two uses, one at a time:
    //  - beside strModus "EDIT": the row of its window's grid the loaded record came from (0 when
    //    none), written by SetzeEditModus / the mode resets, read by that window's save and
    //    delete (Fangbuch, Besatzung, Arbeit, Kontakt, Katego, Basis, Benutzer, System) to find
    //    the row to refresh; the record itself is found by the key in the window's fields;
    //  - the row chosen in the catch evaluation's or the member list's grid (with blnDSGewaehlt),
    //    written by their row and context-menu handlers, read by the main window's context-menu
    //    commands (Main::mnuFangInfo_Click, mnuMitglInfo_Click, mnuArbContr_Click). The catch
    //    evaluation keeps its own choice (Fangauswertung::intGewaehlt) and writes it here only
    //    when its menu opens, since an edit elsewhere may have changed it meanwhile.
    int lngDSNr = 0;
    // The window that holds EDIT and how its fields are emptied (set by SetzeEditModus; without
    // it an "EDIT" written straight into strModus counts for every window). Read and written only
    // by the mode functions below.
    bool blnModusMitFenster = false;
    QPointer<forms::Form> objModusFenster;
    std::function<void()> fnLeereModusFenster;

    // Error counter of the error trap: written and read by core::Trap only (see trap.h).
    int intFehler = 0;

    // Today's date parts, written at login (modStart::ErmittleTagesdatum). intTag and
    // strWochentag are kept for the record; nothing reads them. strMonat is read by the catch log
    // and the catch evaluation as the month they open with.
    int intTag = 0;
    QString strWochentag;
    // The month and year the lists show: written at login, then by the catch log (its year and
    // month choice) and the stocking list (its year); read by the start-up load, the catch log,
    // the catch evaluation, the stocking list, the work-hours window, the member list and the
    // yearly roll-over (the year the carry-over books into).
    int intMonat = 0;
    QString strMonat;
    int intJahr = 0;

    // The last grid row built by a list filler (category list, contact search, catch
    // evaluation, stocking list): written and read inside the filler that builds the row.
    QVariantList varListe;
    // True while the start-up load runs (written by modStart's login steps): the list fillers
    // and the catch log and stocking list show no empty-list messages then.
    bool blnStartLaden = false;
    // Who opens the contact search: 0 = the contact side, 1 = the work-hours window. Written
    // through modMain::SetzeSuchAufruf before the contact overview (0) or the work-hours window
    // (1) is shown (a navigation click, the first window after login, the member list's menu),
    // and by the member list when it closes (0); read by the search dialog (SuchKont) for its
    // category list and for where a chosen contact goes.
    int intSuchAufruf = 0;
    // 1 when a member was just taken into the work-hours window from the member list's menu:
    // written by Main::mnuArbContr_Click before it shows the window; read and set back to 0 by
    // the window's activation (Arbeit), which then opens no search dialog.
    int intArbUebernahme = 0;
    // True only while the contact editor holds a contact opened from the search dialog: written
    // by the search dialog (SuchKont), read by the editor's save (Kontakt), which then updates by
    // key instead of by grid row.
    bool blnAusSuche = false;
    // True while a row of the catch evaluation's or the member list's grid is chosen (see
    // lngDSNr): written by their row handlers and the member list's reset, read by their
    // context menus and the catch log's row loader.
    bool blnDSGewaehlt = false;
    // The member list's nine filter switches, in the order of its filter boxes (birth date,
    // entry date, sex, fee, status, exempt, left, youth group, work hours done). Written by the
    // member list's check boxes, read by its search (modMitglList).
    std::array<bool, 9> blnMitglFilter{};
    // The "no reload" marks: the list windows (the work-hours window included) that started a
    // print-out or a modal dialog, so that their next activation neither refills their lists nor
    // opens the search dialog; the activation takes the mark away. Set through SetzeKeinNeuLaden
    // below, read through KeinNeuLaden and NimmKeinNeuLaden.
    std::vector<QPointer<forms::Form>> objKeinNeuLaden;
    // The six filters of the catch evaluation (year, species, water, month, number, weight),
    // switched by its check boxes (Fangauswertung), read by its search (modFAuswert).
    std::array<bool, 6> blnFangFilter{};
    // Whether the last expand click in the contact overview expanded a category (which
    // categories are expanded is kept on the overview's category rows). Written and read by the
    // contact overview only.
    bool blnAufgeklapptZuletzt = false;

    // Navigation: the bar's groups, the two groups and their items as built at start, the item
    // added last, and the item that hosts the window shown now (every procedure that shows a
    // window sets it first; empty when no item hosts one). Written by the start-up
    // (modStart's login steps) and, for objAktItem, by the navigation (modMain, modLogin);
    // read by the main window, the rights applied at login (modLogin), the print preview
    // (modDruck) and the about box.
    com::ComPtr<ILzNavrailGroups> objGruppen;
    com::ComPtr<ILzNavrailGroup> objGrpSystem;
    com::ComPtr<ILzNavrailGroup> objGrpOrganisation;
    com::ComPtr<ILzNavrailItems> objItemsSystem;
    com::ComPtr<ILzNavrailItems> objItemsOrganisation;
    com::ComPtr<ILzNavrailItem> objItem;
    com::ComPtr<ILzNavrailItem> objAktItem;
};

// The application's variables, created on first use.
GVar &gv();
// Replaces them by a fresh set (tests; a restart of the start-up).
void resetGv();

// ---- The edit mode
//
// "EDIT" belongs to the one window whose fields hold a record loaded for change; for every other
// window the mode is "SAVE". So a mode left by one window is never taken up by the next (a save
// there would write nothing, or the wrong record), and no window shows a loaded record while the
// mode says "SAVE" (its next save would insert that record a second time):
//   - a window that loads a record for change calls SetzeEditModus;
//   - it asks ImEditModus whether the mode is its own;
//   - it gives the mode back with VerlasseEditModus when its record is saved or deleted, or its
//     fields are emptied;
//   - whenever a window loses EDIT (VerlasseEditModus, SetzeSpeicherModus, another window's
//     SetzeEditModus), its fields are emptied with the function it gave.

// fenster holds a record loaded for change, from grid row zeile: strModus := "EDIT", lngDSNr :=
// zeile. leereFelder empties the window's fields when it loses the mode. A window that held
// EDIT before loses it.
void SetzeEditModus(forms::Form &fenster, int zeile, std::function<void()> leereFelder);
// True when the mode is "EDIT" and fenster holds it.
bool ImEditModus(const forms::Form &fenster);
// fenster is done with its record: when it holds EDIT, strModus := "SAVE", lngDSNr := 0 and its
// fields are emptied. An EDIT held by another window stays.
void VerlasseEditModus(const forms::Form &fenster);
// Back to inserting whoever held EDIT: strModus := "SAVE", lngDSNr := 0; the fields of the
// window that held it are emptied. Every editor window calls it when it loads.
void SetzeSpeicherModus();

// ---- No reload after a print-out
//
// A print-out or preview started from a window marks that window: its next activation neither
// refills its lists nor opens the search dialog, and (the work-hours window) its deactivation
// keeps what it shows. The mark is the printing window's own: a print that shows nothing, or a
// print in one window, never keeps another window from filling its lists.

void SetzeKeinNeuLaden(const forms::Form &fenster);
// Whether fenster is marked (the mark stays).
bool KeinNeuLaden(const forms::Form &fenster);
// At fenster's activation: whether it was marked; the mark is taken away.
bool NimmKeinNeuLaden(const forms::Form &fenster);

} // namespace modGVar

using modGVar::gv;
