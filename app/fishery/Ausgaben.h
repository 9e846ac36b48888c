#pragma once
// The files of the catch evaluation and the stocking plan.
//
// Their procedures belong to the file code. Each one is set here when the program starts; until
// it is set, the window's "tbExcel" key does nothing and is shown disabled. The windows call
// them after the user agreed and only with at least one row in the grid:
//
//   Fangauswertung "tbExcel"    ErzeugeFangDatei()     writes FANG.csv from tblFAusw
//   Besatzung      "tbExcel"    ErzeugeBPlanDatei()    writes BPLAN.csv from tblBList
#include <functional>

namespace fishery {

struct Ausgaben
{
    std::function<void()> ErzeugeFangDatei;
    std::function<void()> ErzeugeBPlanDatei;
};

Ausgaben &ausgaben();

} // namespace fishery
