// A box a test neither scripted nor looked at fails the test, with its title and text; so does a
// box with no scripted stand-in in place at all.
#include "testsupport/checked_msgbox.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace forms;
using testsupport::CheckedMsgBox;

namespace {

void fehlerbox()
{
    MsgBox(QStringLiteral("Unvorhergesehener Fehler\n\rBeschreibung: Objekt"), vbCritical, QStringLiteral("Error: 91"));
}

} // namespace

TEST(CheckedMsgBox, ABoxNeitherScriptedNorLookedAtFailsTheTestWithItsTitleAndText)
{
    EXPECT_NONFATAL_FAILURE(
        {
            CheckedMsgBox boxes;
            fehlerbox();
        },
        "title \"Error: 91\", text \"Unvorhergesehener Fehler\\nBeschreibung: Objekt\"");
    // Looked at before the end, then cleared: still unchecked when cleared first.
    EXPECT_NONFATAL_FAILURE(
        {
            CheckedMsgBox boxes;
            fehlerbox();
            boxes.clear();
        },
        "Error: 91");
    // last() looks at the last box only: an error box before it stays unchecked.
    EXPECT_NONFATAL_FAILURE(
        {
            CheckedMsgBox boxes;
            fehlerbox();
            MsgBox(QStringLiteral("Gespeichert"));
            EXPECT_EQ(boxes.last().text, QStringLiteral("Gespeichert"));
        },
        "Error: 91");
    // Counting the boxes, or going through them, looks at none: a count passes on any box.
    EXPECT_NONFATAL_FAILURE(
        {
            CheckedMsgBox boxes;
            fehlerbox();
            EXPECT_EQ(boxes.count(), 1u);
            EXPECT_EQ(boxes.boxes().size(), 1u);
            for (const auto &box : boxes.boxes())
                EXPECT_FALSE(box.text.isEmpty());
        },
        "Error: 91");
    // Naming another box looks at that one only.
    EXPECT_NONFATAL_FAILURE(
        {
            CheckedMsgBox boxes;
            fehlerbox();
            MsgBox(QStringLiteral("Gespeichert"));
            EXPECT_EQ(boxes.count(QStringLiteral("Gespeichert")), 1u);
            EXPECT_EQ(boxes.count(QStringLiteral("Gelöscht")), 0u);
        },
        "Error: 91");
    // With no stand-in in place the test main's service fails the test.
    EXPECT_NONFATAL_FAILURE(fehlerbox(), "no scripted stand-in in place: title \"Error: 91\"");
}

TEST(CheckedMsgBox, ScriptedLookedAtOrExpectedBoxesPass)
{
    {
        CheckedMsgBox boxes;
        boxes.answer(vbOK);
        fehlerbox();
    }
    {
        CheckedMsgBox boxes;
        fehlerbox();
        MsgBox(QStringLiteral("Gespeichert"));
        EXPECT_EQ(boxes.count(), 2u);
        // Named by title or by text, each box of that name.
        EXPECT_EQ(boxes.count(QStringLiteral("Error: 91")), 1u);
        MsgBox(QStringLiteral("Gespeichert"), vbOKOnly, QStringLiteral("Torvana"));
        EXPECT_EQ(boxes.count(QStringLiteral("Gespeichert")), 2u);
        boxes.clear();
    }
    {
        CheckedMsgBox boxes;
        fehlerbox();
        MsgBox(QStringLiteral("Gespeichert"));
        EXPECT_EQ(boxes.boxes()[0].title, QStringLiteral("Error: 91"));
        EXPECT_EQ(boxes.boxes().back().text, QStringLiteral("Gespeichert"));
    }
    {
        CheckedMsgBox boxes;
        fehlerbox();
        EXPECT_EQ(boxes.last().title, QStringLiteral("Error: 91"));
    }
    {
        CheckedMsgBox boxes;
        boxes.expectUncheckedBoxes();
        fehlerbox();
    }
}
