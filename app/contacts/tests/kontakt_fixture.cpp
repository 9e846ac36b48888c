#include "kontakt_fixture.h"

#include "contacts/Kontakt.h"
#include "contacts/KontaktUebers.h"
#include "contacts/modKontakt.h"

#include "core/modMain.h"
#include "core/modStart.h"
#include "core/plugins.h"

#include "dao/oledate.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QDate>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <memory>

namespace kontakttest {

namespace {

// Both control libraries, registered once for the whole run.
apptest::Steuerelemente *g_registrierung =
    apptest::RegistriereSteuerelemente({TORVANA_NAVRAIL_LIBRARY, TORVANA_DATEEDIT_LIBRARY});

std::unique_ptr<forms::ListGrid> g_fangListe;

// The view row of a list's data row whose column 0 shows text (the views put the expander
// column first).
int viewZeile(const QAbstractItemModel &m, const QString &text)
{
    for (int v = 0; v < m.rowCount(); ++v)
        if (m.index(v, 1).data().toString() == text)
            return v;
    return -1;
}

} // namespace

bool bibliothekenRegistriert()
{
    return g_registrierung->registriert();
}

void KontaktTest::SetUp()
{
    ASSERT_TRUE(bibliothekenRegistriert());
    ProgramTest::SetUp();
    if (HasFatalFailure())
        return;
    sql("INSERT INTO Katego (KategoNr, Kategorie) VALUES (3, 'Lieferanten'), (4, 'Behörden'), (5, 'Ohne')");
    sql("INSERT INTO Kontakt (KNr, KategoNr, Anrede, Nachname, Vorname, Tel1, Fax, GebDatum, EMail, Firma) VALUES "
        "(1, 1, 'Herr', 'Meier', 'Hans', '0421 123', '', ?, 'hans@meier.de', ''), "
        "(2, 1, 'Frau', 'Schulz', 'Eva', '', '', 0, '', ''), "
        "(3, 2, 'Herr', 'Alt', 'Paul', '', '', 0, '', ''), "
        "(4, 3, '', 'Nord', 'Jan', '', '0421 99', 0, '', 'Angelbedarf Nord'), "
        "(5, 3, '', 'Müller', 'Karl', '', '', 0, '', 'Köder-Müller'), "
        "(6, 3, '', 'Süd', 'Ole', '', '', 0, '', 'Rutenbau Süd'), "
        "(7, 4, '', 'Amt', 'Ina', '', '', 0, '', 'Fischereiamt')",
        {dao::ToOleDate(QDate(1970, 12, 24))});
    sql("INSERT INTO Mitglied (KNr, Geschlecht, Befreit, Bezahlt, Eintritt, Austritt, JG) VALUES "
        "(1, 1, 0, 1, ?, 0, 0), (2, 0, 1, 0, 0, 0, 1), (3, 1, 0, 0, 0, 0, 0)",
        {dao::ToOleDate(QDate(1990, 4, 1))});
    sql("INSERT INTO Arbeit (KNr, Jahr, Datum, ArbStd, Notiz) VALUES (1, 2024, 0, 4.5, 'Uferpflege')");

    modMain::RegistriereKern();
    contacts::RegistriereKontakte();
    g_fangListe = std::make_unique<forms::ListGrid>();
    core::einstiege().fangListe = []() -> forms::ListGrid & { return *g_fangListe; };
    forms::setModalHook([this](forms::Form &f) {
        if (auto *k = qobject_cast<Kontakt *>(&f)) {
            ++editorGezeigt;
            k->resize(900, 600);
            QApplication::processEvents();
            if (editorSchritte)
                editorSchritte(*k);
        }
    });
}

void KontaktTest::TearDown()
{
    forms::setModalHook({});
    ProgramTest::TearDown();
    g_fangListe.reset();
}

void KontaktTest::starte(const QString &benutzer, const QString &passwort)
{
    meldeAn(benutzer, passwort, QSize(1300, 900), QStringLiteral("Kontakte"));
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(uebersicht().isVisible());
    boxes.clear();
}

KontaktUebers &KontaktTest::uebersicht()
{
    return forms::form<KontaktUebers>();
}

forms::ListGrid &KontaktTest::grid()
{
    return *uebersicht().tblKUebers;
}

int KontaktTest::zeile(int kategoNr)
{
    return grid().top().find(0, QString::number(kategoNr));
}

QString KontaktTest::name(int kategoNr)
{
    const int r = zeile(kategoNr);
    return r < 0 ? QStringLiteral("<keine Zeile>") : grid().top().text(r, 2);
}

QString KontaktTest::marke(int kategoNr)
{
    const int r = zeile(kategoNr);
    return r < 0 ? QStringLiteral("<keine Zeile>") : grid().top().text(r, 1);
}

forms::GridList *KontaktTest::liste(int kategoNr)
{
    const int r = zeile(kategoNr);
    return r < 0 ? nullptr : grid().top().child(r);
}

QStringList KontaktTest::knrListe(int kategoNr)
{
    QStringList k;
    if (forms::GridList *l = liste(kategoNr))
        for (int i = 0; i < l->rowCount(); ++i)
            k << l->text(i, 0);
    return k;
}

void KontaktTest::klickeKnopf(QAction *aktion)
{
    ASSERT_TRUE(aktion);
    auto *leiste = qobject_cast<QToolBar *>(aktion->parent());
    ASSERT_TRUE(leiste);
    QWidget *knopf = leiste->widgetForAction(aktion);
    ASSERT_TRUE(knopf && knopf->isVisible()) << aktion->objectName().toStdString();
    klicke(knopf, knopf->rect().center());
}

void KontaktTest::klappe(int kategoNr)
{
    QTableView *view = grid().view();
    grid().top().flush();
    QAbstractItemModel *m = view->model();
    const int v = viewZeile(*m, QString::number(kategoNr));
    ASSERT_GE(v, 0) << kategoNr;
    const QModelIndex i = m->index(v, 0);
    view->scrollTo(i);
    QApplication::processEvents();
    klicke(view->viewport(), view->visualRect(i).center());
}

void KontaktTest::doppelklick(int kategoNr, qlonglong knr)
{
    forms::GridList *l = liste(kategoNr);
    ASSERT_TRUE(l) << kategoNr;
    l->flush();
    QTableView *top = grid().view();
    QTableView *cv = grid().childView(l);
    ASSERT_TRUE(cv) << "category " << kategoNr << " is not expanded";
    // Scroll the overview so that the nested list stands in view.
    const int v = viewZeile(*top->model(), QString::number(kategoNr));
    top->scrollTo(top->model()->index(v + 1, 0));
    QApplication::processEvents();
    const int w = viewZeile(*cv->model(), QString::number(knr));
    ASSERT_GE(w, 0) << knr;
    const QModelIndex i = cv->model()->index(w, 4);
    cv->scrollTo(i);
    QApplication::processEvents();
    klicke(cv->viewport(), cv->visualRect(i).center(), true);
}

void KontaktTest::imEditor(std::function<void(Kontakt &)> schritte)
{
    editorSchritte = std::move(schritte);
}

void KontaktTest::tippe(QWidget *feld, const QString &text)
{
    feld->setFocus();
    if (auto *t = qobject_cast<QLineEdit *>(feld))
        t->clear();
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(feld, c.toLatin1());
        else // letters beyond ASCII, as a keyboard layout types them
            QTest::sendKeyEvent(QTest::Click, feld, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

bool KontaktTest::mitglied(qlonglong knr)
{
    return zahl("SELECT COUNT(*) FROM Mitglied WHERE KNr = ?", {knr}) == 1;
}

qlonglong KontaktTest::kategorieVon(qlonglong knr)
{
    dao::Recordset rs =
        gv().dbDaten.OpenRecordset("SELECT KategoNr FROM Kontakt WHERE KNr = ?", dao::dbOpenDynaset, {knr});
    const qlonglong k = rs.RecordCount() == 1 ? rs(0).Value().toLongLong() : -1;
    rs.Close();
    return k;
}

} // namespace kontakttest
