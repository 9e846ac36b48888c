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

// An entry without a key is a separator at its place; the buttons around it keep their keys, and
// a button given a member gets its action stored there.
TEST(Toolbar, AnEntryWithoutKeyIsASeparatorInItsPlace)
{
    QWidget window;
    QStringList clicked;
    QAction *tbLoeschen = nullptr;
    QToolBar *bar =
        forms::toolbar(&window,
                       {{"tbSpeichern", QStringLiteral("&Speichern"), QStringLiteral("Speichern")},
                        {},
                        {"tbLoeschen", QStringLiteral("&Löschen"), QStringLiteral("Löschen"), &tbLoeschen},
                        {},
                        {"tbAnzLoeschen", QStringLiteral("&Anz. löschen"), QStringLiteral("Anzeige löschen")}},
                       [&](const QString &key) { clicked << key; });
    const QList<QAction *> actions = bar->actions();
    ASSERT_EQ(actions.size(), 5);
    EXPECT_EQ(tbLoeschen, actions[2]);
    const struct
    {
        int at;
        bool separator;
        const char *key;
    } expected[] = {
        {0, false, "tbSpeichern"}, {1, true, ""}, {2, false, "tbLoeschen"}, {3, true, ""}, {4, false, "tbAnzLoeschen"},
    };
    for (const auto &e : expected) {
        SCOPED_TRACE(e.at);
        EXPECT_EQ(actions[e.at]->isSeparator(), e.separator);
        EXPECT_EQ(actions[e.at]->objectName(), QString::fromLatin1(e.key));
    }
    for (QAction *a : actions)
        a->trigger();
    EXPECT_EQ(clicked, (QStringList{QStringLiteral("tbSpeichern"), QStringLiteral("tbLoeschen"),
                                    QStringLiteral("tbAnzLoeschen")}));
    EXPECT_EQ(forms::toolAction(*bar, QString()), nullptr);
}
