#include "forms/services.h"

#include <QApplication>
#include <gtest/gtest.h>

using namespace forms;

TEST(MsgBoxText, LineBreaksOfEveryKindBecomeOneBreakEach)
{
    const struct
    {
        QString raw, shown;
    } cases[] = {
        {"a\n\rb", "a\nb"},                               // LF CR, as the program's messages write it
        {"a\r\nb", "a\nb"},     {"a\n\r\n\rb", "a\n\nb"}, // two LF CR in a row are two breaks
        {"a\rb\nc", "a\nb\nc"}, {"kein Umbruch", "kein Umbruch"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(displayText(c.raw), c.shown) << c.raw.toStdString();
}

TEST(MsgBoxScript, AnswersFromTheQueueAndRecordsEveryBoxRaw)
{
    ScriptedMsgBox script;
    script.answer(vbNo);
    EXPECT_EQ(MsgBox("Frage?\n\rZeile 2", vbYesNo + vbQuestion, "Torvana"), vbNo);
    // Queue empty: the default button answers, and the box says it was not scripted.
    EXPECT_EQ(MsgBox("Noch eine?", vbYesNo + vbDefaultButton2, "T"), vbNo);
    EXPECT_EQ(MsgBox("Hinweis", vbInformation, "T"), vbOK);
    ASSERT_EQ(script.count(), 3u);
    EXPECT_EQ(script.boxes()[0].text, QString("Frage?\n\rZeile 2"));
    EXPECT_EQ(script.boxes()[0].flags, vbYesNo + vbQuestion);
    EXPECT_EQ(script.boxes()[0].title, QString("Torvana"));
    EXPECT_TRUE(script.boxes()[0].scripted);
    EXPECT_FALSE(script.boxes()[1].scripted);
    EXPECT_EQ(defaultAnswer(vbYesNo), vbYes);
}

TEST(MsgBoxScript, NestedScriptsRestoreTheOuterOne)
{
    ScriptedMsgBox outer;
    {
        ScriptedMsgBox inner;
        MsgBox("innen");
        EXPECT_EQ(inner.count(), 1u);
    }
    MsgBox("außen");
    ASSERT_EQ(outer.count(), 1u);
    EXPECT_EQ(outer.last().text, QString("außen"));
}

TEST(BeepAndPointer, BeepsAreRecordedAndTheHourglassRestoresThePointer)
{
    RecordingBeep beeps;
    Beep();
    Beep();
    EXPECT_EQ(beeps.count(), 2);

    EXPECT_EQ(mousePointer(), vbDefault);
    {
        Hourglass wait;
        EXPECT_EQ(mousePointer(), vbHourglass);
        EXPECT_NE(QApplication::overrideCursor(), nullptr);
    }
    EXPECT_EQ(mousePointer(), vbDefault);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}
