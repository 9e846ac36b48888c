#pragma once
// The program-wide variables. They are members of one object that the application owns and
// every module reaches through gv(); tests start from a fresh one with resetGv().
// One thread: nothing is locked.
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
    dao::Workspace *wsDaten = nullptr;
    dao::Database dbDaten;

    // Edit mode of the data windows: "SAVE" (the next save inserts) or "EDIT" (a record is
    // loaded for change), with the grid row it was loaded from (0 when none). Windows go
    // through SetzeEditModus, ImEditModus and VerlasseEditModus below, which keep the window
    // that holds EDIT beside the mode.
    QString strModus = QStringLiteral("SAVE");
    int lngDSNr = 0;
    // The window that holds EDIT and how its fields are emptied (set by SetzeEditModus; without
    // it an "EDIT" written straight into strModus counts for every window).
    bool blnModusMitFenster = false;
    QPointer<forms::Form> objModusFenster;
    std::function<void()> fnLeereModusFenster;

    // Answer of the last yes/no box: 6 = Yes, 7 = No.
    int intAntwort = 0;
    // Error counter of the error trap (see trap.h).
    int intFehler = 0;

    // Today's date parts, stored at login; month and year later follow the catch log and the
    // stocking list.
    int intTag = 0;
    QString strWochentag;
    int intMonat = 0;
    QString strMonat;
    int intJahr = 0;

    // Row buffer of the contact side.
    QVariantList varListe;
    // True while the start-up load runs: empty-list messages are not shown then.
    bool blnStartLaden = false;
    // Who opened the contact search: 0 = the contact side, 1 = the work-hours window.
    int intSuchAufruf = 0;
    // 1 after a member was taken into the work-hours window.
    int intArbUebernahme = 0;
    // True only while the contact editor was opened from the search dialog.
    bool blnAusSuche = false;
    // True while a row of the catch evaluation's or the member list's grid is chosen.
    bool blnDSGewaehlt = false;
    // The member list's nine filter switches, in the order of its filter boxes (birth date,
    // entry date, sex, fee, status, exempt, left, youth group, work hours done).
    std::array<bool, 9> blnMitglFilter{};
    // The "no reload" marks: the list windows (the work-hours window included) that started a
    // print-out or a modal dialog, so that their next activation neither refills their lists nor
    // opens the search dialog; the activation takes the mark away. Set through SetzeKeinNeuLaden
    // below, read through KeinNeuLaden and NimmKeinNeuLaden.
    std::vector<QPointer<forms::Form>> objKeinNeuLaden;
    // The six filters of the catch evaluation (year, species, water, month, number, weight),
    // switched by its check boxes.
    std::array<bool, 6> blnFangFilter{};
    // Whether the last expand click in the contact overview expanded a category (which
    // categories are expanded is kept on the overview's category rows).
    bool blnAufgeklapptZuletzt = false;

    // Navigation: the bar's groups, the two groups and their items as built at start, the item
    // added last, and the item that hosts the window shown now (every procedure that shows a
    // window sets it first; empty when no item hosts one).
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
