#include "mitgllist_fixture.h"

#include "workhours/Arbeit.h"
#include "workhours/MitglList.h"

#include "contacts/Kontakt.h"
#include "contacts/KontaktUebers.h"
#include "contacts/modKontakt.h"

#include "core/modDruck.h"
#include "core/modMain.h"
#include "core/modStart.h"
#include "core/plugins.h"

#include "dao/oledate.h"
#include "testsupport/today.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDate>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <memory>

namespace mitgltest {

namespace {

// Both control libraries, registered once for the whole run.
apptest::Steuerelemente *g_registrierung =
    apptest::RegistriereSteuerelemente({TORVANA_NAVRAIL_LIBRARY, TORVANA_DATEEDIT_LIBRARY});

std::unique_ptr<forms::ListGrid> g_fangListe;

double ole(int y, int m, int d)
{
    return dao::ToOleDate(QDate(y, m, d));
}

} // namespace

bool bibliothekenRegistriert()
{
    return g_registrierung->registriert();
}

void MitglListTest::SetUp()
{
    ASSERT_TRUE(bibliothekenRegistriert()) << "control libraries could not be registered";
    ProgramTest::SetUp();
    if (HasFatalFailure())
        return;
    jahr = testsupport::Heute.year();
    sql("UPDATE System SET PflichtStd = 20");
    sql("INSERT INTO Katego (KategoNr, Kategorie) VALUES (3, 'Lieferanten')");
    sql("INSERT INTO Kontakt (KNr, KategoNr, Nachname, Vorname, Strasse, PLZ, Ort, Tel1, GebDatum) VALUES "
        "(1, 1, 'Albers', 'Anna', 'Seestraße 1', '12345', 'Fischbach', '0123 1', ?), "
        "(2, 1, 'Brandt', 'Bernd', 'Am Hafen 7', '12346', 'Neudorf', '0123 2', 0), "
        "(3, 2, 'Claasen', 'Carl', 'Deich 2', '12347', 'Altdorf', '', ?), "
        "(4, 1, 'Dorn', 'Dora', 'Weg 4', '12345', 'Fischbach', '0123 4', ?), "
        "(5, 3, 'Eck', 'Emil', 'Markt 5', '12345', 'Fischbach', '', 0), "
        "(6, 1, 'Frei', 'Fritz', 'Weg 6', '12345', 'Fischbach', '0123 6', ?)",
        {ole(1980, 2, 14), ole(1989, 12, 31), ole(1960, 1, 1), ole(2005, 5, 5)});
    sql("INSERT INTO Mitglied (KNr, Geschlecht, Befreit, Bezahlt, Eintritt, Austritt, JG) VALUES "
        "(1, 0, 0, 1, ?, 0, 0), (2, 1, 0, 0, ?, 0, 1), (3, 1, 1, 1, 0, ?, 0), (4, 0, 0, 1, ?, 0, 0), "
        "(6, 1, 0, 0, 0, 0, 1)",
        {ole(2000, 3, 1), ole(2010, 1, 1), ole(2023, 12, 31), ole(1985, 6, 15)});
    sql("INSERT INTO Arbeit (KNr, Jahr, Datum, ArbStd, Notiz) VALUES "
        "(1, ?1, 0, 12.5, ''), (1, ?1, 0, 10, ''), (2, ?1, 0, 12.5, ''), (2, ?2, 0, 30, ''), "
        "(4, ?1, 0, 1.1, ''), (4, ?1, 0, 6.6, ''), (4, ?1, 0, 12.1, ''), (4, ?1, 0, 0.2, ''), (6, ?1, 0, 20, '')",
        {jahr, jahr - 1});

    modMain::RegistriereKern();
    contacts::RegistriereKontakte();
    workhours::RegistriereArbeit();
    workhours::RegistriereMitglList();
    g_fangListe = std::make_unique<forms::ListGrid>();
    core::einstiege().fangListe = []() -> forms::ListGrid & { return *g_fangListe; };
    forms::setModalHook([this](forms::Form &f) {
        if (auto *k = qobject_cast<Kontakt *>(&f)) {
            ++editorGezeigt;
            if (editorSchritte)
                editorSchritte(*k);
        }
    });
}

void MitglListTest::TearDown()
{
    forms::setModalHook({});
    modDruck::VerwerfeBerichte();
    ProgramTest::TearDown();
    g_fangListe.reset();
}

void MitglListTest::starte(const QString &benutzer, const QString &passwort)
{
    meldeAn(benutzer, passwort, QSize(1400, 1000), QStringLiteral("Kontakte"));
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(forms::form<KontaktUebers>().isVisible());
    klickeKnopf(QStringLiteral("tbMitglList"), &forms::form<KontaktUebers>());
    ASSERT_TRUE(liste().isVisible());
    boxes.clear();
}

MitglList &MitglListTest::liste()
{
    return forms::form<MitglList>();
}

forms::ListGrid &MitglListTest::grid()
{
    return *liste().tblMList;
}

QStringList MitglListTest::knrListe()
{
    QStringList k;
    for (int i = 0; i < grid().rowCount(); ++i)
        k << grid().text(i, 0);
    return k;
}

QStringList MitglListTest::zeile(int row)
{
    QStringList z;
    for (int c = 0; c < grid().columnCount(); ++c)
        z << grid().text(row, c);
    return z;
}

void MitglListTest::klicke(QWidget *widget, QPoint lokal, bool doppelt, Qt::MouseButton knopf)
{
    ASSERT_TRUE(widget);
    ASSERT_TRUE(widget->isVisible()) << widget->objectName().toStdString();
    MainTest::klicke(widget, lokal, doppelt, knopf);
}

void MitglListTest::klicke(QAbstractButton *knopf)
{
    ASSERT_TRUE(knopf);
    QStyleOptionButton opt;
    opt.initFrom(knopf);
    const bool radio = qobject_cast<QRadioButton *>(knopf) != nullptr;
    const QRect r = knopf->style()->subElementRect(
        radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &opt, knopf);
    klicke(knopf, r.center());
}

void MitglListTest::kontextmenue(QPoint punkt)
{
    QWidget *viewport = grid().view()->viewport();
    ASSERT_TRUE(viewport->isVisible());
    QWidget *fenster = viewport->window();
    const QPoint p = viewport->mapTo(fenster, punkt);
    QWidget *ziel = fenster->childAt(p);
    ASSERT_EQ(ziel, viewport);
    QTest::mousePress(ziel, Qt::RightButton, {}, punkt);
    QContextMenuEvent ereignis(QContextMenuEvent::Mouse, punkt, ziel->mapToGlobal(punkt));
    QApplication::sendEvent(ziel, &ereignis);
    QTest::mouseRelease(ziel, Qt::RightButton, {}, punkt);
    QApplication::processEvents();
}

void MitglListTest::klickeKnopf(const QString &key, QWidget *fenster)
{
    if (!fenster)
        fenster = &liste();
    auto *leiste = fenster->findChild<QToolBar *>(QStringLiteral("Toolbar1"));
    ASSERT_TRUE(leiste);
    QAction *aktion = leiste->findChild<QAction *>(key);
    ASSERT_TRUE(aktion) << key.toStdString();
    QWidget *knopf = leiste->widgetForAction(aktion);
    ASSERT_TRUE(knopf && knopf->isVisible()) << key.toStdString();
    klicke(knopf, knopf->rect().center());
}

void MitglListTest::tippe(QWidget *feld, const QString &text)
{
    QWidget *ziel = feld;
    if (auto *c = qobject_cast<QComboBox *>(feld); c && c->lineEdit())
        ziel = c->lineEdit();
    ziel->setFocus();
    if (auto *t = qobject_cast<QLineEdit *>(ziel))
        t->clear();
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(ziel, c.toLatin1());
        else // letters beyond ASCII, as a keyboard layout types them
            QTest::sendKeyEvent(QTest::Click, ziel, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

QPoint MitglListTest::zellpunkt(int row, int column)
{
    grid().top().flush();
    QTableView *view = grid().view();
    const QModelIndex i = view->model()->index(row, column);
    view->scrollTo(i);
    QApplication::processEvents();
    return view->visualRect(i).center();
}

void MitglListTest::suche(int antwort)
{
    bool gefiltert = false;
    for (bool s : gv().blnMitglFilter)
        gefiltert = gefiltert || s;
    if (!gefiltert)
        boxes.answer(antwort);
    klickeKnopf(QStringLiteral("tbSuch"));
}

} // namespace mitgltest
