// The contact overview: start-up set-up, expanding and collapsing, the double-click, the rights
// check and the toolbar.
#include "kontakt_fixture.h"

#include "contacts/Kontakt.h"
#include "contacts/KontaktUebers.h"
#include "contacts/modKontakt.h"

#include "core/Main.h"
#include "core/modMain.h"
#include "core/modStart.h"
#include "core/plugins.h"

#include "forms/statusbar.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

using namespace kontakttest;

namespace {

class Uebersicht : public KontaktTest
{
protected:
    void SetUp() override
    {
        KontaktTest::SetUp();
        starte();
    }
    QAction *knopf(const char *key) { return uebersicht().findChild<QAction *>(QString::fromLatin1(key)); }
};

} // namespace

TEST_F(Uebersicht, EachCategoryShowsItsCountAndAPlaceholderUntilExpanded)
{
    const forms::GridList &top = grid().top();
    ASSERT_EQ(top.rowCount(), 5);
    const struct
    {
        int nr;
        const char *name;
        int platzhalter;
    } erwartet[] = {
        {1, "Mitglieder (aktiv)  [2]", 1},
        {2, "Mitglieder (passiv)  [1]", 1},
        {3, "Lieferanten  [3]", 1},
        {4, "Behörden  [1]", 1},
        {5, "Ohne", -1},
    };
    for (int r = 0; r < 5; ++r) {
        SCOPED_TRACE(erwartet[r].name);
        EXPECT_EQ(top.text(r, 0), QString::number(erwartet[r].nr));
        EXPECT_EQ(top.text(r, 1), QString("+"));
        EXPECT_EQ(top.text(r, 2), QString::fromUtf8(erwartet[r].name));
        EXPECT_FALSE(top.isExpanded(r));
        forms::GridList *l = top.child(r);
        if (erwartet[r].platzhalter < 0) {
            EXPECT_EQ(l, nullptr);
            continue;
        }
        ASSERT_NE(l, nullptr);
        ASSERT_EQ(l->rowCount(), 1);
        EXPECT_EQ(l->text(0, 0), QString("0"));
        EXPECT_EQ(l->columnCount(), 10);
        EXPECT_EQ(l->columnCaption(7), QString("Fax (geschftl.)"));
        EXPECT_EQ(l->appearance().backColor(), 0x00F7C7ACu);
        EXPECT_EQ(l->backColor2(), 0x00F7C764u);
    }
    EXPECT_EQ(modKontakt::ErmittleKategoAnzahl(2), 3);
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
}

// The expander column shows from the start which categories have contacts, before any of their
// lists was asked for; a click on one lists its contacts in its coloured nested view.
TEST_F(Uebersicht, TheExpandersShowFromTheStartAndAClickListsTheCategory)
{
    QTableView *view = grid().view();
    grid().top().flush();
    QApplication::processEvents();
    const struct
    {
        int nr;
        const char *marke;
    } erwartet[] = {{1, "+"}, {2, "+"}, {3, "+"}, {4, "+"}, {5, ""}};
    for (const auto &e : erwartet) {
        SCOPED_TRACE(e.nr);
        EXPECT_EQ(view->model()->index(zeile(e.nr), 0).data().toString(), QString(e.marke));
    }

    klappe(3);
    EXPECT_EQ(marke(3), QString("-"));
    forms::GridList *l = liste(3);
    ASSERT_NE(l, nullptr);
    l->flush();
    QApplication::processEvents();
    QTableView *cv = grid().childView(l);
    ASSERT_NE(cv, nullptr);
    EXPECT_TRUE(cv->isVisible());
    EXPECT_EQ(cv->model()->rowCount(), 3);
    EXPECT_EQ(knrListe(3), QStringList({"4", "5", "6"}));
    EXPECT_EQ(l->appearance().backColor(), 0x00F7C7ACu);
    EXPECT_EQ(l->columnCaption(2), QString("Firma"));
    EXPECT_EQ(view->model()->index(zeile(3), 0).data().toString(), QString("-"));
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
}

TEST_F(Uebersicht, ExpandingListsTheContactsAfreshAndCollapsingKeepsThem)
{
    klappe(1);
    EXPECT_EQ(marke(1), QString("-"));
    EXPECT_TRUE(gv().blnAufgeklapptZuletzt);
    ASSERT_EQ(knrListe(1), QStringList({"1", "2"}));
    forms::GridList *l = liste(1);
    const QStringList meier = {"1",          modStart::Programmordner() + "/Graphics/bmp/Cut.bmp",
                               "",           "Herr",
                               "Meier",      "Hans",
                               "0421 123",   "",
                               "24.12.1970", "hans@meier.de"};
    for (int c = 0; c < 10; ++c)
        EXPECT_EQ(l->text(0, c), meier[c]) << c;
    EXPECT_EQ(l->text(1, 8), QString()) << "no birth date shows as an empty cell";
    // The count is not recomputed by an expansion.
    EXPECT_EQ(name(1), QString("Mitglieder (aktiv)  [2]"));

    klappe(1);
    EXPECT_EQ(marke(1), QString("+"));
    EXPECT_FALSE(gv().blnAufgeklapptZuletzt);
    EXPECT_EQ(knrListe(1).size(), 2);

    // Expanding again reads the contacts anew: one added meanwhile by another window is listed.
    sql("INSERT INTO Kontakt (KNr, KategoNr, Nachname, Vorname) VALUES (20, 1, 'Neu', 'Nina')");
    klappe(1);
    EXPECT_EQ(knrListe(1), QStringList({"1", "2", "20"}));
    EXPECT_EQ(name(1), QString("Mitglieder (aktiv)  [2]"));
}

TEST_F(Uebersicht, AnExpandThatFindsNoContactsLeavesNoStaleRows)
{
    klappe(3);
    ASSERT_EQ(knrListe(3).size(), 3);
    klappe(3);
    // Another window deletes the category's contacts meanwhile.
    sql("DELETE FROM Kontakt WHERE KategoNr = 3");
    klappe(3);
    EXPECT_EQ(marke(3), QString("-"));
    EXPECT_TRUE(knrListe(3).isEmpty());

    // A category that never had contacts flips its mark all the same.
    klappe(5);
    EXPECT_EQ(marke(5), QString("-"));
    EXPECT_EQ(liste(5), nullptr);
    EXPECT_EQ(name(5), QString("Ohne"));
}

TEST_F(Uebersicht, TheExpandedStateStaysWithItsCategoryWhenARowAboveIsDeleted)
{
    klappe(4); // Behörden, row 3
    ASSERT_EQ(marke(4), QString("-"));
    // The category window deletes "Lieferanten" (row 2): its overview row goes.
    grid().top().removeRow(zeile(3));
    QApplication::processEvents();
    ASSERT_EQ(zeile(4), 2);
    EXPECT_EQ(marke(4), QString("-"));
    EXPECT_TRUE(grid().top().isExpanded(zeile(4)));

    // A new contact of the expanded category is listed at once.
    klickeKnopf(knopf("tbKontakt"));
    ASSERT_EQ(editorGezeigt, 1);
    imEditor([](Kontakt &) {});
    Kontakt &k = forms::form<Kontakt>();
    k.cboKatego->setCurrentIndex(k.cboKatego->findText("Behörden"));
    k.txtNName->setText("Wache");
    k.txtVName->setText("Wolf");
    ASSERT_TRUE(modKontakt::SpeicherKontakt()) << texte(boxes);
    EXPECT_EQ(name(4), QString("Behörden  [2]"));
    ASSERT_EQ(knrListe(4).size(), 2);
    EXPECT_EQ(liste(4)->text(1, 4), QString("Wache"));

    // Collapsing it works on the row that moved up.
    klappe(4);
    EXPECT_EQ(marke(4), QString("+"));
    EXPECT_FALSE(grid().top().isExpanded(zeile(4)));
}

TEST_F(Uebersicht, ADoubleClickOnAContactOpensItInTheEditorInEditMode)
{
    klappe(1);
    QString modusImEditor;
    int zeileImEditor = -1;
    imEditor([&](Kontakt &k) {
        modusImEditor = gv().strModus;
        zeileImEditor = gv().lngDSNr;
        EXPECT_EQ(k.lblKNr->text(), QString("2"));
        EXPECT_EQ(k.txtNName->text(), QString("Schulz"));
        EXPECT_EQ(k.cboKatego->currentText(), QString("Mitglieder (aktiv)"));
    });
    doppelklick(1, 2);
    EXPECT_EQ(editorGezeigt, 1);
    EXPECT_EQ(modusImEditor, QString("EDIT"));
    EXPECT_EQ(zeileImEditor, 1);
    EXPECT_EQ(gv().strModus, QString("SAVE"));

    // A double-click on a category row opens nothing.
    QTableView *view = grid().view();
    klicke(view->viewport(), view->visualRect(view->model()->index(0, 3)).center(), true);
    EXPECT_EQ(editorGezeigt, 1);
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
}

// A category in the middle of many whose contacts are more than the nested view shows: the
// overview scrolls.
class UebersichtLang : public KontaktTest
{
protected:
    void SetUp() override
    {
        KontaktTest::SetUp();
        if (HasFatalFailure())
            return;
        for (int k = 6; k <= 45; ++k)
            sql("INSERT INTO Katego (KategoNr, Kategorie) VALUES (?, ?)",
                {k, QStringLiteral("Verein %1").arg(k, 2, 10, QLatin1Char('0'))});
        for (int n = 8; n <= 23; ++n)
            sql("INSERT INTO Kontakt (KNr, KategoNr, Nachname, Vorname, Firma) VALUES (?, 20, ?, 'Udo', ?)",
                {n, QStringLiteral("Händler %1").arg(n), QStringLiteral("Zubehör %1").arg(n)});
        starte();
    }
};

// A click on a contact of an expanded list leaves the overview where it stands, and a
// double-click opens the contact under the pointer, not the first one or one scrolled there.
TEST_F(UebersichtLang, AClickInANestedListLeavesTheOverviewWhereItIsAndOpensTheContactPointedAt)
{
    klappe(20);
    forms::GridList *l = liste(20);
    ASSERT_TRUE(l);
    ASSERT_GT(l->rowCount(), 12);
    l->flush();
    QTableView *top = grid().view();
    QTableView *cv = grid().childView(l);
    ASSERT_TRUE(cv);
    QScrollBar *leiste = top->verticalScrollBar();
    // The overview scrolled so that the nested list begins in the middle of its view and
    // runs on below it.
    const int anfang = leiste->value() + cv->y();
    leiste->setValue(anfang - top->viewport()->height() / 2);
    QApplication::processEvents();
    ASSERT_GT(leiste->value(), 0) << "the overview does not scroll";
    ASSERT_GT(cv->y() + cv->height(), top->viewport()->height()) << "the nested list ends in view";
    const int stand = leiste->value();

    QWidget *fenster = top->window();
    const QStringList knr = knrListe(20);
    for (int zeile : {1, 3}) {
        SCOPED_TRACE(testing::Message() << "nested row " << zeile);
        const QPoint punkt = cv->viewport()->mapTo(fenster, cv->visualRect(cv->model()->index(zeile, 4)).center());
        klicke(fenster, punkt);
        EXPECT_EQ(leiste->value(), stand);
        QString geoeffnet;
        imEditor([&](Kontakt &k) { geoeffnet = k.lblKNr->text(); });
        const int vorher = editorGezeigt;
        klicke(fenster, punkt, true);
        EXPECT_EQ(editorGezeigt, vorher + 1);
        EXPECT_EQ(geoeffnet, knr.value(zeile));
        EXPECT_EQ(leiste->value(), stand);
    }
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
}

namespace {

// Counts the paint events of the widgets it watches, each on its own, and among them the ones
// that span the whole widget.
class Malzaehler : public QObject
{
public:
    QHash<const QObject *, int> gemalt;
    QHash<const QObject *, int> ganz;
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::Paint) {
            ++gemalt[o];
            if (static_cast<QPaintEvent *>(e)->region().boundingRect() == static_cast<QWidget *>(o)->rect())
                ++ganz[o];
        }
        return false;
    }
};

// Lets the events run until two rounds in a row paint nothing in the window.
void bisGemalt(QWidget *fenster)
{
    struct Fenstermaler : QObject
    {
        QWidget *fenster = nullptr;
        bool gemalt = false;
        bool eventFilter(QObject *o, QEvent *e) override
        {
            if (e->type() == QEvent::Paint && o->isWidgetType() && static_cast<QWidget *>(o)->window() == fenster)
                gemalt = true;
            return false;
        }
    } z;
    z.fenster = fenster;
    QApplication::instance()->installEventFilter(&z);
    for (int runde = 0, still = 0; runde < 1000 && still < 2; ++runde) {
        z.gemalt = false;
        QApplication::processEvents();
        still = z.gemalt ? 0 : still + 1;
    }
    QApplication::instance()->removeEventFilter(&z);
}

} // namespace

// The click on a category's expander shows its contacts in the nested list, row under row with
// the cells the list holds, and paints the overview and its scroll bar once: the overview lays
// out the taller row at once, not again after the first paint.
TEST_F(UebersichtLang, AnExpansionShowsTheContactsAndPaintsTheOverviewOnce)
{
    QTableView *top = grid().view();
    QWidget *fenster = top->window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(fenster));
    bisGemalt(fenster);
    Malzaehler z;
    top->viewport()->installEventFilter(&z);
    top->verticalScrollBar()->installEventFilter(&z);
    const int leisteVorher = top->verticalScrollBar()->maximum();

    klappe(20);
    bisGemalt(fenster);

    forms::GridList *l = liste(20);
    ASSERT_TRUE(l);
    QTableView *cv = grid().childView(l);
    ASSERT_TRUE(cv);
    ASSERT_TRUE(cv->isVisible());
    EXPECT_EQ(z.ganz.value(top->viewport()), 1);
    EXPECT_EQ(z.gemalt.value(top->verticalScrollBar()), 1);
    EXPECT_GT(top->verticalScrollBar()->maximum(), leisteVorher);

    // The nested list takes its detail row whole: its header and twelve rows.
    const int unter = top->model()->index(top->indexAt(cv->geometry().center()).row(), 0).row();
    EXPECT_EQ(cv->geometry(), top->visualRect(top->model()->index(unter, 0)));
    EXPECT_EQ(cv->rowAt(cv->viewport()->height() - 1), 11);

    // Row under row, the contacts with their cells as the list holds them.
    ASSERT_EQ(knrListe(20).size(), 16);
    QAbstractItemModel *m = cv->model();
    for (int r = 0; r < 12; ++r) {
        SCOPED_TRACE(testing::Message() << "row " << r);
        const QModelIndex nachname = m->index(r, 5);
        const QRect zelle = cv->visualRect(nachname);
        EXPECT_TRUE(cv->viewport()->rect().contains(zelle)) << "the row is not shown whole";
        EXPECT_EQ(cv->indexAt(zelle.center()), nachname);
        EXPECT_EQ(m->index(r, 1).data().toString(), QString::number(8 + r));
        EXPECT_EQ(nachname.data().toString(), QStringLiteral("Händler %1").arg(8 + r));
        EXPECT_EQ(m->index(r, 6).data().toString(), QStringLiteral("Udo"));
        EXPECT_EQ(m->index(r, 3).data().toString(), QStringLiteral("Zubehör %1").arg(8 + r));
    }
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
}

class UebersichtGast : public KontaktTest
{
protected:
    void SetUp() override
    {
        KontaktTest::SetUp();
        sql("INSERT INTO Gruppen (GNr, GName, Fangbuch, Fangauswertung, KontUebers, KontListe, Kontakt) "
            "VALUES (9, 'Gäste', 1, 1, 1, 1, 0)");
        sql("INSERT INTO Benutzer (Name, Passwort, GNr) VALUES ('Gast', 'gast', 9)");
        starte(QStringLiteral("Gast"), QStringLiteral("gast"));
    }
};

TEST_F(UebersichtGast, ADoubleClickWithoutTheContactRightShowsTheRefusalAndStaysInSave)
{
    ASSERT_EQ(forms::form<Main>().StatusBar1->panelText(4), QString("Gast"));
    klappe(3);
    doppelklick(3, 5);
    EXPECT_EQ(editorGezeigt, 0);
    ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
    EXPECT_EQ(boxes.last().text, KeinRecht);
    EXPECT_EQ(boxes.last().title, QString("Torvana"));
    EXPECT_EQ(gv().strModus, QString("SAVE"));
    EXPECT_FALSE(modKontakt::KontaktZugriff_Erlaubt());
    // The member menu of the main window offers the contact only with the right.
    EXPECT_FALSE(core::einstiege().bereiche.KontaktZugriff_Erlaubt());
}

TEST_F(UebersichtGast, TheNewContactKeyWithoutTheContactRightShowsTheRefusalAndNoEditor)
{
    const long long vorher = zahl("SELECT COUNT(*) FROM Kontakt");
    QAction *neu = uebersicht().findChild<QAction *>(QStringLiteral("tbKontakt"));
    ASSERT_NE(neu, nullptr);
    // Also after the editor was once loaded (by the member menu's way, say).
    for (const bool geladen : {false, true}) {
        SCOPED_TRACE(geladen ? "editor loaded" : "editor not loaded");
        if (geladen)
            forms::form<Kontakt>();
        boxes.clear();
        klickeKnopf(neu);
        EXPECT_EQ(editorGezeigt, 0);
        ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
        EXPECT_EQ(boxes.last().text, KeinRecht);
        EXPECT_EQ(boxes.last().title, QString("Torvana"));
        EXPECT_EQ(zahl("SELECT COUNT(*) FROM Kontakt"), vorher);
        EXPECT_EQ(gv().strModus, QString("SAVE"));
        EXPECT_TRUE(uebersicht().isVisible());
    }
}

TEST_F(Uebersicht, TheToolbarOpensTheOtherWindowsInThePaneAndEndsInSave)
{
    auto &katego = *core::Fenster(QStringLiteral("Katego"));
    gv().strModus = QStringLiteral("EDIT");
    klickeKnopf(knopf("tbKatego"));
    EXPECT_TRUE(katego.isVisible());
    EXPECT_FALSE(uebersicht().isVisible());
    EXPECT_EQ(gv().strModus, QString("SAVE"));

    modMain::ZeigeFenster(QStringLiteral("Kontakte"));
    QApplication::processEvents();
    // Search and serial letter come with their own windows; without them the keys do nothing.
    core::einstiege().kontaktwerkzeuge = {};
    klickeKnopf(knopf("tbSuch"));
    klickeKnopf(knopf("tbWord"));
    klickeKnopf(knopf("tbMitglList"));
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
    EXPECT_TRUE(uebersicht().isVisible());

    int geleert = 0, gezeigt = 0;
    core::einstiege().kontaktwerkzeuge.LeereSuchKont = [&] { ++geleert; };
    core::einstiege().kontaktwerkzeuge.ZeigeSuchKont = [&] {
        EXPECT_EQ(geleert, 1);
        ++gezeigt;
    };
    klickeKnopf(knopf("tbSuch"));
    EXPECT_EQ(gezeigt, 1);
}

TEST_F(Uebersicht, TheSerialLetterKeyNeedsAYesAndAnExpandedCategory)
{
    int erzeugt = 0;
    core::einstiege().kontaktwerkzeuge.ErzeugeSeriDatei = [&] { ++erzeugt; };
    const QString frage =
        QStringLiteral("Wollen Sie eine Serienbrief - Datei für Word mit der Bezeichnung - SERI.txt - erzeugen ?");
    struct Fall
    {
        const char *wie;
        int antwort;
        bool aufklappen;
        QString meldung;
        int erzeugt;
    };
    const Fall faelle[] = {
        {"No", forms::vbNo, false, QStringLiteral("Vorgang von User abgebrochen !"), 0},
        {"nothing expanded", forms::vbYes, false,
         QStringLiteral("Um eine Serienbrief - Datei erzeugen zu können, müssen Sie die gewünschten Kategorien vorher "
                        "aufklappen !"),
         0},
        {"one expanded", forms::vbYes, true, QString(), 1},
    };
    for (const Fall &f : faelle) {
        SCOPED_TRACE(f.wie);
        boxes.clear();
        erzeugt = 0;
        if (f.aufklappen)
            klappe(2);
        boxes.answer(f.antwort);
        klickeKnopf(knopf("tbWord"));
        ASSERT_GE(boxes.count(), 1u);
        EXPECT_EQ(boxes.boxes()[0].text, frage);
        EXPECT_EQ(boxes.count(), f.meldung.isEmpty() ? 1u : 2u) << texte(boxes);
        if (!f.meldung.isEmpty()) {
            EXPECT_EQ(boxes.last().text, f.meldung);
        }
        EXPECT_EQ(erzeugt, f.erzeugt);
    }
}

TEST_F(Uebersicht, TheCountIsTheNumberOfContactsWhateverTheRowShows)
{
    // Row 2 is "Lieferanten" with three contacts; what its name cell holds does not count.
    forms::GridList &top = grid().top();
    const char *texte[] = {"Lieferanten  [12]", "Lieferanten [3]", "Lieferanten",      "Team [alt]  [4]",
                           "Leer  []",          "Jugend [U18]",    "Jugend [U18]  [7]"};
    for (const char *text : texte) {
        SCOPED_TRACE(text);
        top.setText(2, 2, QString::fromUtf8(text));
        EXPECT_EQ(modKontakt::ErmittleKategoAnzahl(2), 3);
    }
    sql("INSERT INTO Kontakt (KNr, KategoNr, Nachname, Vorname) VALUES (40, 3, 'Neu', 'Nina')");
    EXPECT_EQ(modKontakt::ErmittleKategoAnzahl(2), 4);
}

// The overview shown as after the login and a category expanded: the categories in the window's
// colours, drawn with the window's palette (header and scroll bar too, so that the style's
// drawings of them made for another window serve this one), the contacts in their light blue.
TEST_F(Uebersicht, TheCategoriesShowTheWindowsColoursAndTheContactsTheirOwn)
{
    QTableView *top = grid().view();
    QWidget *fenster = top->window();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(fenster));
    klappe(1);
    bisGemalt(fenster);
    QTableView *cv = grid().childView(liste(1));
    ASSERT_TRUE(cv);
    ASSERT_TRUE(cv->isVisible());
    const QPalette farben = fenster->palette();
    const QWidget *teile[] = {top, top->horizontalHeader(), top->verticalScrollBar()};
    for (const QWidget *w : teile) {
        SCOPED_TRACE(w->metaObject()->className());
        EXPECT_TRUE(w->palette().isCopyOf(farben));
    }
    EXPECT_EQ(top->palette().color(QPalette::Base), farben.color(QPalette::Base));
    EXPECT_EQ(top->palette().color(QPalette::Text), farben.color(QPalette::Text));
    EXPECT_EQ(cv->palette().color(QPalette::Base), QColor(0xAC, 0xC7, 0xF7));
    EXPECT_EQ(cv->palette().color(QPalette::Text), QColor(Qt::black));
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
}
