// Test entry point shared by every test executable: a QApplication on the offscreen platform,
// so that widgets, timers and events work without a display.
#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // As CTest runs them: headless, and the forms runtime in test mode (no modal dialog waits).
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!std::getenv("TORVANA_TESTING"))
        setenv("TORVANA_TESTING", "1", 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
