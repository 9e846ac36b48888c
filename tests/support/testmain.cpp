// Test entry point shared by every test executable: a QApplication on the offscreen platform (or
// the one TORVANA_TEST_PLATFORM names), so that widgets, timers and events work without a
// display, the stand-ins of a run without a user in place (testsupport/unattended.h), and the
// clock fixed to the tests' day (today.h).
#include "checked_msgbox.h"
#include "today.h"
#include "unattended.h"

#include "ole/clock.h"

#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// Takes the boxes shown while no test has a scripted stand-in in place: each fails the test.
class NoBoxExpected : public forms::MsgBoxService
{
public:
    int show(const QString &text, int flags, const QString &title) override
    {
        const int answer = forms::defaultAnswer(flags);
        ADD_FAILURE() << "a message box came with no scripted stand-in in place: "
                      << testsupport::describe(title, text, flags, answer);
        return answer;
    }
};

} // namespace

int main(int argc, char **argv)
{
    // CTest sets the offscreen platform; TORVANA_TEST_PLATFORM runs the tests on another one
    // (xcb on an X server) without a build of their own.
    if (const char *platform = std::getenv("TORVANA_TEST_PLATFORM"); platform && *platform)
        setenv("QT_QPA_PLATFORM", platform, 1);
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    static NoBoxExpected noBox;
    unattended::install(noBox);
    ole::setNow(testsupport::Jetzt);
    return RUN_ALL_TESTS();
}
