#pragma once
// The print-outs and files of the catch evaluation and the stocking plan.
//
// Their procedures belong to the print-out and file code. Each one is set here when the
// program starts; until it is set, the window's toolbar key for it does nothing and is shown
// disabled. The windows call them as their toolbar keys ask:
//
//   Fangauswertung "tbExcel"    ErzeugeFangDatei()             after the user agreed and with at
//                                                              least one row in tblFAusw
//   Fangauswertung "tbDruck"    DruckeFangListe("drucken")     blnKeinNeuLaden set before
//   Fangauswertung "tbVorschau" DruckeFangListe("vorschau")    blnKeinNeuLaden set before
//   Besatzung      "tbExcel"    ErzeugeBPlanDatei()            after the user agreed and with at
//                                                              least one row in tblBList
//   Besatzung      "tbDruck"    DruckeBPlanListe("drucken")    blnKeinNeuLaden set before
//   Besatzung      "tbVorschau" DruckeBPlanListe("vorschau")   blnKeinNeuLaden set before
#include <QString>
#include <functional>

namespace fishery {

struct Ausgaben
{
    std::function<void()> ErzeugeFangDatei;
    std::function<void(const QString &art)> DruckeFangListe;
    std::function<void()> ErzeugeBPlanDatei;
    std::function<void(const QString &art)> DruckeBPlanListe;
};

Ausgaben &ausgaben();

} // namespace fishery
