#pragma once
// The yearly roll-over of the catch year at login.
#include <functional>

namespace modStart {

// Compares the stored catch year (System.FJahr) with intJahr. Equal: true. Otherwise asks
// whether the calendar year becomes the catch year: No gives false (the program ends). Yes
// stores it and, when the calendar went back, removes the carry-over entries of the old year;
// else, when the user agrees, carries the work hours over, and resets the members' fee flags.
// The new year and everything that follows from it are written in one transaction: after a
// failure nothing is kept, the next login asks again, and the result is false.
bool KontrolliereSystemJahr();

// The procedures of the work-hours and contact areas that the roll-over calls, with the old
// catch year. Each returns false after a failure it has reported. An empty one is skipped.
struct Jahreswechsel
{
    std::function<bool(long &altesJahr)> UebernehmeStunden;
    std::function<bool(long &jahr)> Ueberpruefe_auf_Uebertrag;
    std::function<bool()> ReinitialisiereJB;
};
Jahreswechsel &jahreswechsel();

} // namespace modStart
