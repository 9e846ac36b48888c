#pragma once
// The clock every "today" comes from: the date a window proposes, the current catch year and
// month, the year of a new database, the print date of a report, the day a calendar marks. This
// runtime is one shared library, so the program and the control libraries it loads read the same
// clock. A test sets a fixed moment, so that no run depends on the real date (one across
// midnight, or on New Year's Eve).
#include <QDate>
#include <QDateTime>

namespace ole {

// The current local date and time, or the moment set with setNow (which then stands still).
QDateTime Now();
// The date of Now().
QDate Today();
// Fixes the moment Now() returns; an invalid one lets the real clock run again. Returns the
// moment set before (invalid when the real clock ran).
QDateTime setNow(const QDateTime &moment);

} // namespace ole
