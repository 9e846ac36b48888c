#pragma once
// A run of the program's code with nobody at the screen: the tests, the benchmarks, and the
// program as the tests of its start start it. The shipped program has no such mode; the run puts
// its stand-ins in place through the runtime's own setters before anything is shown.
#include "forms/services.h"

namespace unattended {

// Puts in place, for the rest of the process:
//  - message boxes go to boxes (not owned; it must outlive every box of the run), unless a
//    stand-in that a test puts in place later takes them;
//  - a modal window without a modal hook returns at once instead of waiting for a user;
//  - no sound is played (a headless run has no device to hear, and a sample still loading when
//    the process ends can block its exit);
//  - no office program is started (one left running holds the run's files open): the desktop's
//    office port finds nothing to start, as on a desktop without the programs.
void install(forms::MsgBoxService &boxes);

// Answers every box with its default button, showing nothing.
class DefaultAnswers : public forms::MsgBoxService
{
public:
    int show(const QString &text, int flags, const QString &title) override;
};

} // namespace unattended
