// The work-hours note as other SQLite tools read it: a booking whose note holds a control
// character is refused with the input box, in the program as the user opens the window.
#include "mitgllist_fixture.h"
#include "workhours/Arbeit.h"

#include "contacts/Datumsfeld.h"
#include "core/Main.h"

#include "forms/form.h"
#include "forms/listgrid.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QToolBar>

using namespace mitgltest;

namespace {

class ArbeitFeldtext : public MitglListTest
{};

} // namespace

TEST_F(ArbeitFeldtext, AControlCharacterInTheNoteIsRefusedAndNothingIsBooked)
{
    starte();
    suche();
    kontextmenue(zellpunkt(grid().top().find(0, "1"), 1));
    Main &main = forms::form<Main>();
    main.mnuKontMenu_Mitgl->hide();
    main.mnuArbContr->trigger();
    Arbeit &arbeit = workhours::ArbeitFenster();
    ASSERT_TRUE(arbeit.isVisible()) << texte(boxes);

    const struct
    {
        const char *name;
        QString notiz;
        bool gebucht;
    } faelle[] = {
        {"NUL", QString::fromUtf16(u"Nul\0Teil", 8), false},
        {"tab", QStringLiteral("Tab\tTeil"), false},
        {"bell", QStringLiteral("Glocke\aTeil"), false},
        {"none", QStringLiteral("Steg gestrichen 🐟"), true},
    };
    for (const auto &f : faelle) {
        SCOPED_TRACE(f.name);
        boxes.clear();
        const long long vorher = zahl("SELECT COUNT(*) FROM Arbeit");
        arbeit.lzDate->setText(QStringLiteral("15.03.") + QString::number(jahr));
        tippe(arbeit.txtArbStd, QStringLiteral("2,5"));
        QGuiApplication::clipboard()->setText(f.notiz);
        arbeit.txtArbNotiz->setFocus();
        arbeit.txtArbNotiz->clear();
        QTest::keyClick(arbeit.txtArbNotiz, Qt::Key_V, Qt::ControlModifier);
        ASSERT_EQ(arbeit.txtArbNotiz->text(), f.notiz);
        klickeKnopf(QStringLiteral("tbBuchen"), &arbeit);
        EXPECT_EQ(zahl("SELECT COUNT(*) FROM Arbeit"), vorher + (f.gebucht ? 1 : 0));
        if (f.gebucht) {
            EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
            EXPECT_EQ(zahl("SELECT COUNT(*) FROM Arbeit WHERE Notiz = ? AND KNr = 1", {f.notiz}), 1);
        } else {
            ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
            EXPECT_EQ(boxes.last().text, Eingabefehler);
        }
    }
}
