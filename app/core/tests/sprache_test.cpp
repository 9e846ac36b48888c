// Qt's own texts in the program speak German once the start-up has loaded Qt's translations:
// the context menu of a text box, the standard buttons, the print dialog.
#include "core_fixture.h"

#include "core/Login.h"
#include "core/Main.h"
#include "core/modStart.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QWindow>

using namespace coretest;

namespace {

class Sprache : public CoreTest
{};

// The entries of the context menu that the right mouse button opens over a field, pressed on
// the field's window; the menu is closed again before the button is let go.
QStringList kontextmenue(QWidget *feld)
{
    QWindow *fenster = feld->window()->windowHandle();
    const QPoint punkt = feld->mapTo(feld->window(), feld->rect().center());
    QTest::mousePress(fenster, Qt::RightButton, {}, punkt);
    auto *menue = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    EXPECT_NE(menue, nullptr) << "no context menu";
    QStringList eintraege;
    if (menue) {
        for (const QAction *a : menue->actions())
            if (!a->isSeparator())
                eintraege << a->text().section(QLatin1Char('\t'), 0, 0); // without the shortcut
        menue->close();
    }
    QTest::mouseRelease(fenster, Qt::RightButton, {}, punkt);
    return eintraege;
}

} // namespace

TEST_F(Sprache, TheContextMenuOfATextBoxTheStandardButtonsAndThePrintDialogAreGerman)
{
    ASSERT_TRUE(modStart::LadeQtUebersetzungen()) << "Qt's German translations (qt6-translations-l10n) not found";
    starte();
    Login &login = forms::form<Login>();
    ASSERT_TRUE(login.isVisible());
    login.activateWindow();
    QApplication::setActiveWindow(&login);
    login.txtBenutzer->setFocus();
    QTest::keyClicks(login.txtBenutzer, "Verwalter");

    const QStringList menue = kontextmenue(login.txtBenutzer);
    for (const char *deutsch : {"&Rückgängig", "&Ausschneiden", "&Kopieren", "Einf&ügen", "Löschen", "Alles auswählen"})
        EXPECT_TRUE(menue.contains(QString::fromUtf8(deutsch))) << deutsch << ": " << menue.join(" | ").toStdString();
    for (const char *englisch : {"&Undo", "&Copy", "&Paste", "Select All"})
        EXPECT_FALSE(menue.contains(QString::fromLatin1(englisch))) << englisch;

    QDialogButtonBox knoepfe(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Close, &login);
    EXPECT_EQ(knoepfe.button(QDialogButtonBox::Ok)->text().toStdString(), "OK");
    EXPECT_EQ(knoepfe.button(QDialogButtonBox::Cancel)->text().toStdString(), "Abbrechen");
    EXPECT_EQ(knoepfe.button(QDialogButtonBox::Close)->text().toStdString(), "Schließen");

    // The print dialog that printing opens.
    QPrinter drucker;
    QPrintDialog dialog(&drucker, &login);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Drucken");
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
}
