#include "forms/form.h"
#include "forms/keyfilter.h"
#include "forms/services.h"
#include "forms/statusbar.h"

#include "common/vberror.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace forms;

namespace {

struct Counts
{
    int loads = 0, activates = 0, deactivates = 0, unloads = 0;
    bool refuseUnload = false;
};
Counts counts;

class Probe : public Form
{
protected:
    void Form_Load() override { ++counts.loads; }
    void Form_Activate() override { ++counts.activates; }
    void Form_Deactivate() override { ++counts.deactivates; }
    void Form_Unload(bool &cancel) override
    {
        ++counts.unloads;
        cancel = counts.refuseUnload;
    }
};

class Dialog : public Form
{};

class FormLifecycle : public ::testing::Test
{
protected:
    void SetUp() override { counts = Counts{}; }
    void TearDown() override
    {
        setModalHook(nullptr);
        unloadAll();
    }
};

} // namespace

TEST_F(FormLifecycle, LoadsOnFirstUseOnceAndAfreshAfterUnload)
{
    EXPECT_FALSE(isLoaded<Probe>());
    Probe &first = form<Probe>();
    form<Probe>();
    EXPECT_EQ(counts.loads, 1);
    EXPECT_TRUE(isLoaded<Probe>());

    counts.refuseUnload = true;
    EXPECT_FALSE(unload<Probe>());
    EXPECT_TRUE(isLoaded<Probe>());

    counts.refuseUnload = false;
    EXPECT_TRUE(first.Unload());
    EXPECT_FALSE(isLoaded<Probe>());
    EXPECT_EQ(loadedForm<Probe>(), nullptr);
    form<Probe>();
    EXPECT_EQ(counts.loads, 2);
    EXPECT_EQ(counts.unloads, 2);
}

TEST_F(FormLifecycle, HostedFormIsActivatedWhenDisplayedAndDeactivatedWhenHidden)
{
    QWidget pane;
    Probe &f = form<Probe>();
    f.setParent(&pane);
    f.Show(); // the pane is not on screen yet: not displayed, not active
    EXPECT_FALSE(f.isActive());
    pane.show();
    EXPECT_TRUE(f.isActive());
    EXPECT_EQ(counts.activates, 1);

    // A message box and a modal dialog over it leave it active.
    {
        ScriptedMsgBox script;
        MsgBox("Hinweis");
    }
    setModalHook([](Form &dialog) { dialog.Hide(); });
    form<Dialog>().Show(vbModal);
    EXPECT_TRUE(f.isActive());
    EXPECT_EQ(counts.deactivates, 0);

    f.Hide();
    EXPECT_FALSE(f.isActive());
    EXPECT_EQ(counts.deactivates, 1);
    f.Show();
    EXPECT_EQ(counts.activates, 2);

    // Unloading a displayed form deactivates it once.
    f.Unload();
    EXPECT_EQ(counts.deactivates, 2);
}

TEST_F(FormLifecycle, ModalShowHandsTheFormToTheHookAndUnloadInsideIsSafe)
{
    int seen = 0;
    setModalHook([&](Form &dialog) {
        ++seen;
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(dialog.isModal());
        dialog.Unload();
    });
    form<Probe>().Show(vbModal);
    EXPECT_EQ(seen, 1);
    EXPECT_FALSE(isLoaded<Probe>());
}

TEST(StatusBarPanels, AreCountedFromOneAndABadIndexIsAnError)
{
    StatusBar bar(8);
    bar.setPanelText(4, "admin");
    bar.setPanelText(8, "2024");
    EXPECT_EQ(bar.panelText(4), QString("admin"));
    EXPECT_EQ(bar.panelText(8), QString("2024"));
    EXPECT_EQ(bar.panelText(1), QString());
    for (int bad : {0, 9}) {
        try {
            bar.panelText(bad);
            ADD_FAILURE() << bad;
        } catch (const vb::Error &e) {
            EXPECT_EQ(e.number(), 35600);
        }
    }
}

TEST(KeyPress, HandlerSwallowsReplacesOrKeepsTheKey)
{
    QLineEdit edit;
    installKeyPress(&edit, [](int &key) {
        if (key == 'x')
            key = 0;
        else if (key == 'a')
            key = 'A';
    });
    QTest::keyClicks(&edit, "axb");
    EXPECT_EQ(edit.text(), QString("Ab"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), QString("A"));
}
