#pragma once
// The scripted message boxes of one test, checked: when the test ends, every box must have been
// scripted (answer() before it came) or looked at (named by count(titleOrText), taken by
// boxes()[i] or last()); any other box fails the test with its title and text. So an error box in
// a test that never looks at the boxes is a failure, not a silent default answer, and a test that
// only counts the boxes (count()) does not pass on the wrong one.
//
//     CheckedMsgBox boxes;              // a member of the fixture
//     boxes.answer(forms::vbYes);       // the question the test expects, answered Yes
//     ...
//     EXPECT_EQ(boxes.last().text, QStringLiteral("Fangeintrag wirklich löschen ?"));
//     EXPECT_EQ(boxes.count(QStringLiteral("Runtime - Error: 3022")), 1u); // named, by title or text
//
// A test that causes boxes it does not care about says so once: boxes.expectUncheckedBoxes().
#include "forms/services.h"

#include <string>

namespace testsupport {

class CheckedMsgBox : public forms::ScriptedMsgBox
{
public:
    CheckedMsgBox() = default;
    // Fails the running test for every box neither scripted nor looked at (unless allowed).
    ~CheckedMsgBox() override;

    // This test causes boxes it does not check: they no longer fail it.
    void expectUncheckedBoxes() { uncheckedExpected_ = true; }

private:
    bool uncheckedExpected_ = false;
};

// One box as a failure message shows it: title, text (line breaks as "\n") and the answer given.
std::string describe(const QString &title, const QString &text, int flags, int answer);

} // namespace testsupport
