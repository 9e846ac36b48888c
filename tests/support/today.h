#pragma once
// The day every test runs on. The test main fixes the program's clock (ole/clock.h) to Jetzt, so
// that no test depends on the real date: a run across midnight or on New Year's Eve sees the same
// day. A test that needs another day sets it with ole::setNow and restores Jetzt.
#include <QDate>
#include <QDateTime>
#include <QTime>

namespace testsupport {

inline const QDate Heute{2024, 6, 14};
inline const QDateTime Jetzt{Heute, QTime(10, 30)};

} // namespace testsupport
