// In-place label editing of group headers and item captions: the edit box, Enter and Escape typed
// into it, the Before and After events with their vetoes, one edit per control, and edits that end
// because their group or item goes.
#include "window_fixture.h"

#include <QFontMetrics>
#include <QLineEdit>

using namespace navtest;

namespace {

class LabelEditTest : public WindowFixture
{
protected:
    void SetUp() override
    {
        activate(500, 400);
        bar->put_SplitterWindow(VARIANT_TRUE);
        bar->put_LeftPaneWidth(200);
        for (int g = 0; g < 2; ++g) {
            groups.push_back(addGroup(bar.get(), QStringLiteral("Gruppe %1").arg(g)));
            for (int i = 0; i < 3; ++i)
                addItem(groups.back().get(), QStringLiteral("Eintrag %1.%2").arg(g).arg(i));
        }
        other = new QLineEdit(&host);
        other->setObjectName(QStringLiteral("anderes"));
        other->setGeometry(0, 380, 50, 20);
        other->show();
        host.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
        settle();
    }

    ComPtr<ILzNavrailItem> item(int g, int i)
    {
        ComPtr<ILzNavrailItem> it;
        itemsOf(groups[std::size_t(g)].get())->Item(i4(i), it.put());
        return it;
    }
    QLineEdit *editBox() const
    {
        for (QLineEdit *box : control->findChildren<QLineEdit *>(QStringLiteral("lzNavrailLabelEdit")))
            if (box->isVisible())
                return box;
        return nullptr; // boxes of ended edits are hidden until they are deleted
    }
    // Keys go where the keyboard focus is, as a user's keys do.
    static void press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(static_cast<QWidget *>(nullptr), Qt::Key(key), mods);
    }
    static void type(const QString &text) { QTest::keyClicks(static_cast<QWidget *>(nullptr), text); }

    std::vector<ComPtr<ILzNavrailGroup>> groups;
    QLineEdit *other = nullptr;
};

TEST_F(LabelEditTest, GroupEditLiesOverTheHeaderPrefilledSelectedAndFocused)
{
    EventRecorder events(bar.get());
    ASSERT_EQ(groups[1]->StartLabelEdit(), S_OK);
    QLineEdit *box = editBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(box->parentWidget(), buttons()[1]);
    EXPECT_EQ(box->geometry(), buttons()[1]->rect());
    EXPECT_EQ(box->text(), QStringLiteral("Gruppe 1"));
    EXPECT_EQ(box->selectedText(), QStringLiteral("Gruppe 1"));
    EXPECT_EQ(QApplication::focusWidget(), box);
    EXPECT_EQ(events.dispids(), std::vector<DISPID>{DISPID_NBE_BeforeGroupLabelEdit});
    EXPECT_TRUE(sameObject(events.events()[0].object(0), groups[1].get()));
}

TEST_F(LabelEditTest, ItemEditLiesOverTheCaptionInBothModes)
{
    for (SHORT mode : {SHORT(lzoImageModeLarge), SHORT(lzoImageModeSmall)}) {
        SCOPED_TRACE(mode);
        groups[0]->put_ImageMode(mode);
        settle();
        ComPtr<ILzNavrailItem> it = item(0, 1);
        ASSERT_EQ(it->StartLabelEdit(), S_OK);
        QLineEdit *box = editBox();
        ASSERT_TRUE(box);
        EXPECT_EQ(box->parentWidget(), openPane());
        const int tw = QFontMetrics(box->font()).horizontalAdvance(QStringLiteral("Eintrag 0.1"));
        const int pw = openPane()->width();
        if (mode == lzoImageModeLarge)
            EXPECT_EQ(box->geometry(), QRect((pw - tw) / 2 - 4, 4 + 64 + 32 + 4, tw + 6, 20));
        else
            EXPECT_EQ(box->geometry(), QRect(24, 4 + 24 - 4, tw + 6, 20));
        EXPECT_EQ(box->selectedText(), QStringLiteral("Eintrag 0.1"));
        EXPECT_EQ(QApplication::focusWidget(), box);
        press(Qt::Key_Escape);
        settle();
        EXPECT_EQ(editBox(), nullptr);
    }
}

// Accept, cancel and veto, for group and item edits alike.
TEST_F(LabelEditTest, EnterAcceptsEscapeCancelsAndTheEventsVeto)
{
    enum Target { GroupEdit, ItemEdit };
    enum End { Enter, Escape, FocusAway, CtrlEnter };
    struct Case
    {
        const char *name;
        Target target;
        End end;
        bool vetoBefore, vetoAfter;
        bool boxOpens;
        QString finalText; // "" means: the old text
        bool stillOpen;
    };
    const std::vector<Case> cases = {
        {"group, Enter", GroupEdit, Enter, false, false, true, QStringLiteral("Neu"), false},
        {"group, Escape", GroupEdit, Escape, false, false, true, QString(), false},
        {"group, focus to another widget", GroupEdit, FocusAway, false, false, true, QString(), false},
        {"group, Ctrl+Enter keeps it open", GroupEdit, CtrlEnter, false, false, true, QString(), true},
        {"group, Before vetoed", GroupEdit, Enter, true, false, false, QString(), false},
        {"group, After vetoed", GroupEdit, Enter, false, true, true, QString(), false},
        {"item, Enter", ItemEdit, Enter, false, false, true, QStringLiteral("Neu"), false},
        {"item, Escape", ItemEdit, Escape, false, false, true, QString(), false},
        {"item, focus to another widget", ItemEdit, FocusAway, false, false, true, QString(), false},
        {"item, Ctrl+Enter accepts", ItemEdit, CtrlEnter, false, false, true, QStringLiteral("Neu"), false},
        {"item, Before vetoed", ItemEdit, Enter, true, false, false, QString(), false},
        {"item, After vetoed", ItemEdit, Enter, false, true, true, QString(), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ComPtr<ILzNavrailItem> it = item(0, 1);
        ComPtr<ILzNavrailGroup> g = groups[1];
        const QString old = c.target == GroupEdit ? textOf(g.get()) : textOf(it.get());
        const DISPID before = c.target == GroupEdit ? DISPID_NBE_BeforeGroupLabelEdit : DISPID_NBE_BeforeItemLabelEdit;
        const DISPID after = c.target == GroupEdit ? DISPID_NBE_AfterGroupLabelEdit : DISPID_NBE_AfterItemLabelEdit;
        EventRecorder events(bar.get());
        if (c.vetoBefore)
            events.vetoOn(before);
        if (c.vetoAfter)
            events.vetoOn(after);
        QString seenInAfter;
        events.onEvent([&](const RecordedEvent &e) {
            if (e.dispid == after)
                seenInAfter = c.target == GroupEdit ? textOf(g.get()) : textOf(it.get());
        });
        ASSERT_EQ(c.target == GroupEdit ? g->StartLabelEdit() : it->StartLabelEdit(), S_OK);
        ASSERT_EQ(editBox() != nullptr, c.boxOpens);
        EXPECT_EQ(events.count(before), 1);
        if (c.boxOpens) {
            type(QStringLiteral("Neu"));
            switch (c.end) {
            case Enter: press(Qt::Key_Return); break;
            case Escape: press(Qt::Key_Escape); break;
            case CtrlEnter: press(Qt::Key_Return, Qt::ControlModifier); break;
            case FocusAway: other->setFocus(Qt::MouseFocusReason); break;
            }
            settle();
        }
        EXPECT_EQ(editBox() != nullptr, c.stillOpen);
        const QString now = c.target == GroupEdit ? textOf(g.get()) : textOf(it.get());
        EXPECT_EQ(now, c.finalText.isEmpty() ? old : c.finalText);
        if (c.boxOpens && !c.stillOpen) {
            EXPECT_EQ(events.count(after), 1) << "the After event fires once";
            EXPECT_EQ(seenInAfter, QStringLiteral("Neu")) << "the handler sees the edited text";
        } else {
            EXPECT_EQ(events.count(after), 0);
        }
        if (c.stillOpen) {
            press(Qt::Key_Escape);
            settle();
            EXPECT_EQ(editBox(), nullptr);
        }
    }
}

TEST_F(LabelEditTest, TheAfterEventFiresOnceWhateverItsHandlerDoes)
{
    EventRecorder events(bar.get());
    // The handler takes the focus away and ends the edit once more.
    events.onEvent([&](const RecordedEvent &e) {
        if (e.dispid == DISPID_NBE_AfterGroupLabelEdit) {
            other->setFocus(Qt::MouseFocusReason);
            groups[0]->EndLabelEdit(FALSE);
        } else if (e.dispid == DISPID_NBE_AfterItemLabelEdit) {
            other->setFocus(Qt::MouseFocusReason);
            item(0, 0)->EndLabelEdit(FALSE);
        }
    });
    groups[0]->StartLabelEdit();
    type(QStringLiteral("Kopf"));
    press(Qt::Key_Return);
    settle();
    EXPECT_EQ(events.count(DISPID_NBE_AfterGroupLabelEdit), 1);
    EXPECT_EQ(textOf(groups[0].get()), QStringLiteral("Kopf"));

    other->clearFocus();
    host.activateWindow();
    item(0, 0)->StartLabelEdit();
    ASSERT_TRUE(editBox());
    type(QStringLiteral("Zeile"));
    press(Qt::Key_Return);
    settle();
    EXPECT_EQ(events.count(DISPID_NBE_AfterItemLabelEdit), 1);
    EXPECT_EQ(textOf(item(0, 0).get()), QStringLiteral("Zeile"));
}

TEST_F(LabelEditTest, OneEditPerControl)
{
    EventRecorder events(bar.get());
    item(0, 0)->StartLabelEdit();
    QLineEdit *itemBox = editBox();
    ASSERT_TRUE(itemBox);
    // Neither a group edit nor another item edit starts while an item is edited.
    groups[1]->StartLabelEdit();
    item(0, 2)->StartLabelEdit();
    EXPECT_EQ(events.count(DISPID_NBE_BeforeGroupLabelEdit), 0);
    EXPECT_EQ(events.count(DISPID_NBE_BeforeItemLabelEdit), 1);
    EXPECT_EQ(editBox(), itemBox);
    press(Qt::Key_Escape);
    settle();

    // A second group edit accepts the first one.
    groups[0]->StartLabelEdit();
    type(QStringLiteral("Erste"));
    groups[1]->StartLabelEdit();
    settle();
    EXPECT_EQ(textOf(groups[0].get()), QStringLiteral("Erste"));
    ASSERT_TRUE(editBox());
    EXPECT_EQ(editBox()->parentWidget(), buttons()[1]);
    EXPECT_EQ(events.count(DISPID_NBE_AfterGroupLabelEdit), 1);
    // No item edit starts meanwhile.
    item(0, 1)->StartLabelEdit();
    EXPECT_EQ(events.count(DISPID_NBE_BeforeItemLabelEdit), 1);
}

TEST_F(LabelEditTest, EndLabelEditOfAnotherObjectLeavesTheOpenEditAlone)
{
    groups[0]->StartLabelEdit();
    type(QStringLiteral("Fremd"));
    EventRecorder events(bar.get());
    EXPECT_EQ(groups[1]->EndLabelEdit(TRUE), S_OK);
    EXPECT_EQ(item(0, 0)->EndLabelEdit(TRUE), S_OK);
    EXPECT_EQ(textOf(groups[1].get()), QStringLiteral("Gruppe 1")) << "the other group keeps its text";
    EXPECT_EQ(textOf(groups[0].get()), QStringLiteral("Gruppe 0"));
    EXPECT_TRUE(editBox());
    EXPECT_EQ(events.count(DISPID_NBE_AfterGroupLabelEdit), 0);
    EXPECT_EQ(groups[0]->EndLabelEdit(TRUE), S_OK);
    EXPECT_EQ(textOf(groups[0].get()), QStringLiteral("Fremd"));
    EXPECT_EQ(events.count(DISPID_NBE_AfterGroupLabelEdit), 1);
}

TEST_F(LabelEditTest, ClicksSizesAndScrollingAcceptAnItemEdit)
{
    struct Case
    {
        const char *name;
        std::function<void()> act;
    };
    const std::vector<Case> cases = {
        {"left click beside the items",
         [this] {
             QTest::mouseClick(openPane(), Qt::LeftButton, Qt::NoModifier, QPoint(4, openPane()->height() - 4));
         }},
        {"the control resized", [this] { control->resize(480, 390); }},
    };
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ComPtr<ILzNavrailItem> it = item(0, 2);
        it->StartLabelEdit();
        ASSERT_TRUE(editBox());
        const QString text = QStringLiteral("Neu %1").arg(++n);
        type(text);
        c.act();
        settle();
        EXPECT_EQ(editBox(), nullptr);
        EXPECT_EQ(textOf(it.get()), text);
    }
}

TEST_F(LabelEditTest, AnOpenEditEndsBeforeItsItemOrGroupGoes)
{
    EventRecorder events(bar.get());
    // An item removed while its caption is edited.
    ComPtr<ILzNavrailItem> it = item(0, 1);
    it->StartLabelEdit();
    type(QStringLiteral("weg"));
    ASSERT_EQ(itemsOf(groups[0].get())->Remove(it.get()), S_OK);
    settle();
    EXPECT_EQ(editBox(), nullptr);
    const std::vector<DISPID> order = events.dispids();
    const auto after = std::find(order.begin(), order.end(), DISPID_NBE_AfterItemLabelEdit);
    const auto deleted = std::find(order.begin(), order.end(), DISPID_NBE_ItemDeleted);
    ASSERT_NE(after, order.end());
    ASSERT_NE(deleted, order.end());
    EXPECT_LT(after - order.begin(), deleted - order.begin());
    EXPECT_EQ(events.count(DISPID_NBE_AfterItemLabelEdit), 1);
    // Later calls on the removed item fail cleanly.
    EXPECT_EQ(it->StartLabelEdit(), LZNAVRAIL_E_INVALIDOBJECT);
    EXPECT_EQ(it->EndLabelEdit(TRUE), LZNAVRAIL_E_INVALIDOBJECT);
    EXPECT_EQ(editBox(), nullptr);

    // A group removed while its header is edited, and one whose item is edited.
    events.clear();
    groups[1]->StartLabelEdit();
    ASSERT_EQ(groupsOf(bar.get())->Remove(groups[1].get()), S_OK);
    settle();
    EXPECT_EQ(editBox(), nullptr);
    EXPECT_EQ(events.count(DISPID_NBE_AfterGroupLabelEdit), 1);
    EXPECT_EQ(groups[1]->StartLabelEdit(), LZNAVRAIL_E_INVALIDOBJECT);
    EXPECT_EQ(groups[1]->EndLabelEdit(TRUE), LZNAVRAIL_E_INVALIDOBJECT);

    events.clear();
    item(0, 0)->StartLabelEdit();
    ASSERT_TRUE(editBox());
    ASSERT_EQ(groupsOf(bar.get())->RemoveAll(), S_OK);
    settle();
    EXPECT_EQ(editBox(), nullptr);
    EXPECT_EQ(events.count(DISPID_NBE_AfterItemLabelEdit), 1);

    // A new edit works afterwards.
    ComPtr<ILzNavrailGroup> g = addGroup(bar.get(), QStringLiteral("Neu"));
    settle();
    g->StartLabelEdit();
    EXPECT_TRUE(editBox());
}

TEST_F(LabelEditTest, AnEditOpenWhenTheWindowsGoEndsAccepted)
{
    EventRecorder events(bar.get());
    groups[0]->StartLabelEdit();
    type(QStringLiteral("Zuletzt"));
    ComPtr<IQtControl> qc = bar.as<IQtControl>();
    ASSERT_EQ(qc->Deactivate(), S_OK);
    settle();
    EXPECT_EQ(textOf(groups[0].get()), QStringLiteral("Zuletzt"));
    EXPECT_EQ(events.count(DISPID_NBE_AfterGroupLabelEdit), 1);
    // Without windows no edit starts (and no event comes).
    EXPECT_EQ(groups[0]->StartLabelEdit(), S_OK);
    EXPECT_EQ(item(0, 0)->StartLabelEdit(), S_OK);
    EXPECT_EQ(events.count(DISPID_NBE_BeforeGroupLabelEdit), 1);
    EXPECT_EQ(events.count(DISPID_NBE_BeforeItemLabelEdit), 0);
}

TEST_F(LabelEditTest, ALongCaptionIsCutWhenReadBack)
{
    const QString longText(1200, QLatin1Char('x'));
    ComPtr<ILzNavrailItem> it = item(0, 0);
    it->put_Text(com::Bstr(longText));
    it->StartLabelEdit();
    ASSERT_TRUE(editBox());
    EXPECT_EQ(editBox()->text().size(), 1200);
    press(Qt::Key_Return);
    EXPECT_EQ(textOf(it.get()), QString(999, QLatin1Char('x')));
}

} // namespace
