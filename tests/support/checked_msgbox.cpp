#include "checked_msgbox.h"

#include <gtest/gtest.h>

namespace testsupport {

namespace {

std::string currentTest()
{
    const ::testing::TestInfo *info = ::testing::UnitTest::GetInstance()->current_test_info();
    return info ? std::string(info->test_suite_name()) + "." + info->name() : std::string("(outside a test)");
}

} // namespace

std::string describe(const QString &title, const QString &text, int flags, int answer)
{
    QString shown = forms::displayText(text);
    shown.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return "title \"" + title.toStdString() + "\", text \"" + shown.toStdString() + "\" (flags " +
           std::to_string(flags) + ", answered " + std::to_string(answer) + " by default)";
}

CheckedMsgBox::~CheckedMsgBox()
{
    if (uncheckedExpected_)
        return;
    for (const Box &box : unchecked())
        ADD_FAILURE() << currentTest() << " showed a message box it neither scripted nor looked at: "
                      << describe(box.title, box.text, box.flags, box.answer)
                      << ". Script it (boxes.answer(...)) and check it, or call boxes.expectUncheckedBoxes().";
}

} // namespace testsupport
