#include "forms/toolbar.h"

#include <QAction>
#include <QWidget>
#include <gtest/gtest.h>

TEST(Toolbar, ButtonsKeepTheirOrderAndAClickNamesItsKey)
{
    QWidget window;
    QStringList clicked;
    QToolBar *bar = forms::toolbar(&window,
                                   {{"tbSpeichern", QStringLiteral("&Speichern"), QStringLiteral("Speichern")},
                                    {"tbEsc", QStringLiteral("&Zurück"), QStringLiteral("Zurück")}},
                                   [&](const QString &key) { clicked << key; });
    EXPECT_EQ(bar->objectName(), QStringLiteral("Toolbar1"));
    ASSERT_EQ(bar->actions().size(), 2);
    EXPECT_EQ(bar->actions()[1]->text(), QStringLiteral("&Zurück"));
    EXPECT_EQ(bar->actions()[1]->data().toString(), QStringLiteral("tbEsc"));

    QAction *esc = forms::toolAction(*bar, QStringLiteral("tbEsc"));
    ASSERT_TRUE(esc);
    esc->trigger();
    forms::toolAction(*bar, QStringLiteral("tbSpeichern"))->trigger();
    EXPECT_EQ(clicked, (QStringList{QStringLiteral("tbEsc"), QStringLiteral("tbSpeichern")}));
    EXPECT_EQ(forms::toolAction(*bar, QStringLiteral("tbNichts")), nullptr);
}
