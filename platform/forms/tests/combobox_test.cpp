#include "forms/combobox.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using forms::ComboBox;

// Items added by code choose no entry, in either style and by every way of adding; nothing
// announces a change of the current entry.
TEST(ComboBox, FilledFromCodeItHasNoCurrentEntry)
{
    const struct
    {
        const char *name;
        bool editable;
        int way;
    } cases[] = {
        {"list, addItem", false, 0},    {"list, addItems", false, 1},    {"list, insertItem", false, 2},
        {"editable, addItem", true, 0}, {"editable, addItems", true, 1}, {"editable, insertItem", true, 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ComboBox cbo;
        cbo.setEditable(c.editable);
        QSignalSpy changed(&cbo, &QComboBox::currentIndexChanged);
        const QStringList names{QStringLiteral("Hecht"), QStringLiteral("Zander"), QStringLiteral("Aal")};
        if (c.way == 0) {
            for (const QString &n : names)
                cbo.addItem(n);
        } else if (c.way == 1) {
            cbo.addItems(names);
        } else {
            for (const QString &n : names)
                cbo.insertItem(0, n);
        }
        EXPECT_EQ(cbo.count(), 3);
        EXPECT_EQ(cbo.currentIndex(), -1);
        EXPECT_EQ(cbo.currentText(), QString());
        EXPECT_EQ(changed.count(), 0);

        // Emptied and filled again (the fillers do so at every activation): still no entry.
        cbo.setCurrentIndex(1);
        cbo.clear();
        cbo.addItems(names);
        EXPECT_EQ(cbo.currentIndex(), -1);
        EXPECT_EQ(cbo.currentText(), QString());
    }
}

TEST(ComboBox, ChoosingAnEntryStillWorks)
{
    ComboBox cbo;
    cbo.addItems({QStringLiteral("Hecht"), QStringLiteral("Zander")});
    cbo.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&cbo));
    // The user steps into the list from the keyboard.
    QTest::keyClick(&cbo, Qt::Key_Down);
    EXPECT_EQ(cbo.currentText(), QStringLiteral("Hecht"));
    QTest::keyClick(&cbo, Qt::Key_Down);
    EXPECT_EQ(cbo.currentText(), QStringLiteral("Zander"));
    // Code sets the entry by index or by text.
    cbo.setCurrentIndex(0);
    EXPECT_EQ(cbo.currentText(), QStringLiteral("Hecht"));
    cbo.setCurrentText(QStringLiteral("Zander"));
    EXPECT_EQ(cbo.currentIndex(), 1);
    cbo.setCurrentIndex(-1);
    EXPECT_EQ(cbo.currentText(), QString());

    // In the editable style the user types a name of the list.
    ComboBox edit;
    edit.setEditable(true);
    edit.addItems({QStringLiteral("Baggersee"), QStringLiteral("Altarm")});
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
    QTest::keyClicks(edit.lineEdit(), QStringLiteral("Altarm"));
    EXPECT_EQ(edit.currentText(), QStringLiteral("Altarm"));
}
