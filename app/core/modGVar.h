#pragma once
// The program-wide variables. They are members of one object that the application owns and
// every module reaches through gv(); tests start from a fresh one with resetGv().
// One thread: nothing is locked.
#include "dao/dao.h"

// The navigation bar's interfaces only (no linkage to the control library).
#include "LzNavrail.h"

#include <QList>
#include <QString>
#include <array>
#include <QVariantList>
#include <memory>

namespace modGVar {

struct GVar
{
    // The one connection of all record procedures: the default workspace and the database.
    dao::Workspace *wsDaten = nullptr;
    dao::Database dbDaten;

    // Edit mode of the data windows: "SAVE" (the next save inserts) or "EDIT" (a record is
    // loaded for change), with the grid row it was loaded from (0 when none).
    QString strModus = QStringLiteral("SAVE");
    int lngDSNr = 0;

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
    // Set before a print-out or a modal dialog of a list window (the work-hours window included),
    // so that the window's next activation neither refills its lists nor opens the search dialog;
    // the activation sets it back.
    bool blnKeinNeuLaden = false;
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

// Back to inserting: strModus := "SAVE", lngDSNr := 0. Every editor window calls it.
void SetzeSpeicherModus();

} // namespace modGVar

using modGVar::gv;
