// Linked into a program (instead of the program being changed), it puts the stand-ins of a run
// without a user in place before main runs: the program as the tests of its start start it. Each
// box it shows goes to stderr, answered with its default button.
#include "unattended.h"

#include <cstdio>

namespace {

class BoxesToStderr : public forms::MsgBoxService
{
public:
    int show(const QString &text, int flags, const QString &title) override
    {
        const int answer = forms::defaultAnswer(flags);
        std::fprintf(stderr, "message box \"%s\": %s (answered %d)\n", qPrintable(title),
                     qPrintable(forms::displayText(text)), answer);
        return answer;
    }
};

BoxesToStderr boxes;
const bool installed = (unattended::install(boxes), true);

} // namespace
