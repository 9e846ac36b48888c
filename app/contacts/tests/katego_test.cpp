// The category window: adding, renaming and deleting categories with the overview, the combos
// and the search results in step; the protected member categories; names refused.
#include "kontakt_fixture.h"

#include "contacts/Katego.h"
#include "contacts/Kontakt.h"
#include "contacts/KontaktUebers.h"
#include "contacts/SuchKont.h"
#include "contacts/modKatego.h"
#include "contacts/modKontakt.h"

#include "core/modMain.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

using namespace kontakttest;

namespace {

const QString Systemmeldung = QStringLiteral("ACHTUNG: Systemkategorie, keine Änderungen oder Löschung erlaubt!");
const QString Doppelt =
    QStringLiteral("ACHTUNG: Eine Kategorie mit diesem Namen ist bereits vorhanden, Vorgang abgebrochen !");
const QString KategoLoeschfrage =
    QStringLiteral("ACHTUNG: Kontakt - Referenzen in Kontaktliste werden ebenfalls gelöscht !\r\nTrotzdem löschen ?");

class KategoTest : public KontaktTest
{
protected:
    void SetUp() override
    {
        KontaktTest::SetUp();
        starte();
        klickeKnopf(uebersicht().findChild<QAction *>(QStringLiteral("tbKatego")));
        ASSERT_TRUE(fenster().isVisible());
        boxes.clear();
    }

    Katego &fenster() { return forms::form<Katego>(); }
    forms::GridList &liste() { return fenster().tblKatego->top(); }
    QAction *knopf(const char *key) { return fenster().findChild<QAction *>(QString::fromLatin1(key)); }

    // A double-click on the grid row of category nr.
    void waehle(int nr)
    {
        QTableView *view = fenster().tblKatego->view();
        liste().flush();
        QAbstractItemModel *m = view->model();
        int v = -1;
        for (int i = 0; i < m->rowCount(); ++i)
            for (int c = 0; c < m->columnCount() && v < 0; ++c)
                if (m->index(i, c).data().toString() == QString::number(nr))
                    v = i;
        ASSERT_GE(v, 0) << nr;
        const QModelIndex i = m->index(v, m->columnCount() - 1);
        view->scrollTo(i);
        QApplication::processEvents();
        klicke(view->viewport(), view->visualRect(i).center(), true);
    }
    void speichere(const QString &name)
    {
        tippe(fenster().txtKatego, name);
        klickeKnopf(knopf("tbSpeichern"));
    }
    QStringList namen()
    {
        QStringList n;
        for (int r = 0; r < liste().rowCount(); ++r)
            n << liste().text(r, 1);
        return n;
    }
    long long kategorien() { return zahl("SELECT COUNT(*) FROM Katego"); }
};

} // namespace

TEST_F(KategoTest, ANewCategoryIsAddedAtTheEndOfBothListsAndToTheCombos)
{
    Kontakt &editor = forms::form<Kontakt>(); // loaded before: its combo has to follow
    ASSERT_EQ(editor.cboKatego->count(), 5);
    ASSERT_EQ(liste().rowCount(), 5);
    speichere(QStringLiteral("Vereine"));
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
    ASSERT_EQ(liste().rowCount(), 6);
    EXPECT_EQ(liste().text(5, 0), QString("6"));
    EXPECT_EQ(liste().text(5, 1), QString("Vereine"));
    QApplication::processEvents();
    fenster().repaint();
    EXPECT_EQ(fenster().lblAnzahl->text(), QString("6"));
    EXPECT_TRUE(fenster().txtKatego->text().isEmpty());
    EXPECT_EQ(gv().strModus, QString("SAVE"));

    const forms::GridList &top = grid().top();
    ASSERT_EQ(top.rowCount(), 6);
    EXPECT_EQ(top.text(5, 0), QString("6"));
    EXPECT_EQ(top.text(5, 1), QString());
    EXPECT_EQ(top.text(5, 2), QString("Vereine"));
    EXPECT_EQ(editor.cboKatego->findText("Vereine"), 5);
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Katego WHERE KategoNr = 6 AND Kategorie = 'Vereine'"), 1);
}

TEST_F(KategoTest, ARenameKeepsTheCountInTheOverviewAndNoComboKeepsTheOldName)
{
    Kontakt &editor = forms::form<Kontakt>();
    editor.cboKatego->setCurrentIndex(editor.cboKatego->findText("Lieferanten"));
    struct Fall
    {
        int nr;
        const char *neu;
        const char *uebersicht;
    };
    const Fall faelle[] = {
        {3, "Händler", "Händler  [3]"},
        {5, "Sonstige", "Sonstige"},
        {4, "behörden", "behörden  [1]"}, // the same name in other letters is no duplicate of itself
    };
    for (const Fall &f : faelle) {
        SCOPED_TRACE(f.neu);
        boxes.clear();
        waehle(f.nr);
        EXPECT_EQ(gv().strModus, QString("EDIT"));
        EXPECT_EQ(fenster().lblKategoNr->text(), QString::number(f.nr));
        speichere(QString::fromUtf8(f.neu));
        EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
        EXPECT_EQ(liste().text(liste().find(0, QString::number(f.nr)), 1), QString::fromUtf8(f.neu));
        EXPECT_EQ(name(f.nr), QString::fromUtf8(f.uebersicht));
        EXPECT_EQ(editor.cboKatego->findText(QString::fromUtf8(f.neu)), liste().find(0, QString::number(f.nr)));
        EXPECT_EQ(gv().strModus, QString("SAVE"));
        EXPECT_TRUE(fenster().lblKategoNr->text().isEmpty());
    }
    EXPECT_EQ(editor.cboKatego->findText("Lieferanten"), -1);
    EXPECT_NE(editor.cboKatego->currentText(), QString("Lieferanten"));
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Kontakt WHERE KategoNr = 3"), 3);
}

TEST_F(KategoTest, DeletingTakesTheCategoryAndItsContactsOutOfEveryList)
{
    // The search dialog shows a contact of the category.
    gv().intSuchAufruf = 0;
    SuchKont &suche = forms::form<SuchKont>();
    QString text = QStringLiteral("F");
    qint32 alle = 0;
    modKontakt::SucheKontakt(text, alle);
    ASSERT_EQ(suche.tblSuch->top().rowCount(), 1);
    ASSERT_EQ(suche.cboKatego->findText("Behörden"), 4);

    waehle(4);
    boxes.answer(forms::vbYes);
    klickeKnopf(knopf("tbLoeschen"));
    ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
    EXPECT_EQ(boxes.last().text, KategoLoeschfrage);
    EXPECT_EQ(boxes.last().title, QString("Torvana"));
    EXPECT_EQ(namen(), (QStringList{"Mitglieder (aktiv) -> Systemkategorie <-",
                                    "Mitglieder (passiv) -> Systemkategorie <-", "Lieferanten", "Ohne"}));
    QApplication::processEvents();
    fenster().repaint();
    EXPECT_EQ(fenster().lblAnzahl->text(), QString("4"));
    EXPECT_EQ(zeile(4), -1);
    EXPECT_EQ(grid().top().rowCount(), 4);
    // The contacts went with it; none was left behind in no category.
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Kontakt WHERE KNr = 7"), 0);
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Kontakt WHERE KategoNr NOT IN (SELECT KategoNr FROM Katego)"), 0);
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Kontakt"), 6);
    EXPECT_EQ(suche.tblSuch->top().rowCount(), 0);
    EXPECT_EQ(suche.cboKatego->findText("Behörden"), -1);
    EXPECT_EQ(forms::form<Kontakt>().cboKatego->findText("Behörden"), -1);
    EXPECT_EQ(gv().strModus, QString("SAVE"));
}

TEST_F(KategoTest, NoToTheDeleteQuestionClearsTheFieldsAndKeepsTheCategory)
{
    waehle(3);
    boxes.answer(forms::vbNo);
    klickeKnopf(knopf("tbLoeschen"));
    EXPECT_TRUE(fenster().txtKatego->text().isEmpty());
    EXPECT_TRUE(fenster().lblKategoNr->text().isEmpty());
    EXPECT_EQ(kategorien(), 5);
    EXPECT_EQ(liste().rowCount(), 5);
    EXPECT_EQ(gv().strModus, QString("SAVE"));
}

TEST_F(KategoTest, ACategoryGoneMeanwhileIsReportedAndTheListsStayAsTheyWere)
{
    struct Fall
    {
        const char *wie;
        int nr;
        const char *knopf;
        int boxen; // the delete question comes first
    };
    const Fall faelle[] = {{"rename", 5, "tbSpeichern", 1}, {"delete", 3, "tbLoeschen", 2}};
    for (const Fall &f : faelle) {
        SCOPED_TRACE(f.wie);
        waehle(f.nr);
        ASSERT_EQ(fenster().lblKategoNr->text(), QString::number(f.nr));
        sql("DELETE FROM Katego WHERE KategoNr = ?", {f.nr});
        tippe(fenster().txtKatego, QStringLiteral("Neu"));
        boxes.clear();
        boxes.answer(forms::vbYes);
        klickeKnopf(knopf(f.knopf));
        ASSERT_EQ(boxes.count(), std::size_t(f.boxen)) << texte(boxes);
        EXPECT_EQ(boxes.last().text, DSFehlt);
        EXPECT_TRUE(fenster().txtKatego->text().isEmpty());
        EXPECT_TRUE(fenster().lblKategoNr->text().isEmpty());
        EXPECT_EQ(liste().rowCount(), 5);
        EXPECT_GE(liste().find(0, QString::number(f.nr)), 0);
        EXPECT_GE(zeile(f.nr), 0);
        EXPECT_EQ(zahl("SELECT COUNT(*) FROM Katego WHERE Kategorie = 'Neu'"), 0);
        EXPECT_EQ(gv().strModus, QString("SAVE"));
    }
}

TEST_F(KategoTest, TheMemberCategoriesCanNeitherBeChangedNorDeleted)
{
    for (int nr : {1, 2}) {
        SCOPED_TRACE(nr);
        boxes.clear();
        waehle(nr);
        ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
        EXPECT_EQ(boxes.last().text, Systemmeldung);
        EXPECT_EQ(boxes.last().title, QString("Torvana"));
        EXPECT_TRUE(fenster().txtKatego->text().isEmpty());
        EXPECT_TRUE(fenster().lblKategoNr->text().isEmpty());
        EXPECT_EQ(gv().strModus, QString("SAVE"));
        klickeKnopf(knopf("tbLoeschen")); // nothing
        EXPECT_EQ(boxes.count(), 1u) << texte(boxes);
        klickeKnopf(knopf("tbSpeichern")); // the empty name box
        ASSERT_EQ(boxes.count(), 2u) << texte(boxes);
        EXPECT_EQ(boxes.last().text, Eingabefehler);
    }
    // Even with its number in the label, the procedures leave them alone.
    fenster().lblKategoNr->setText("1");
    fenster().txtKatego->setText("Anders");
    boxes.clear();
    int row = 0;
    EXPECT_TRUE(modKatego::UpdateKatego(row));
    fenster().lblKategoNr->setText("2");
    EXPECT_TRUE(modKatego::LoescheKatego(row));
    EXPECT_EQ(boxes.count(), 2u);
    EXPECT_EQ(boxes.count(Systemmeldung), 2u) << texte(boxes);
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Katego WHERE KategoNr IN (1, 2)"), 2);
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Katego WHERE Kategorie = 'Anders'"), 0);
}

TEST_F(KategoTest, EmptyLongAndDuplicateNamesAreRefused)
{
    struct Fall
    {
        const char *was;
        QString name;
        QString meldung;
    };
    const Fall faelle[] = {
        {"empty", QString(), Eingabefehler},
        {"blanks", QStringLiteral("   "), Eingabefehler},
        {"too long", QString(300, u'x'), Eingabefehler},
        {"the same", QStringLiteral("Lieferanten"), Doppelt},
        {"other case", QStringLiteral("LIEFERANTEN"), Doppelt},
        {"umlaut in capitals", QStringLiteral("BEHÖRDEN"), Doppelt},
        {"blanks around", QStringLiteral("  Ohne "), Doppelt},
        {"a member category", QStringLiteral("Mitglieder (aktiv)"), Doppelt},
        {"a member category in capitals", QStringLiteral("MITGLIEDER (PASSIV)"), Doppelt},
        {"with the system mark", QStringLiteral("Mitglieder (aktiv) -> Systemkategorie <-"), Doppelt},
        // Pasted control characters would be stored and shown as broken rows.
        {"a line break", QStringLiteral("Neue\nKategorie"), Eingabefehler},
        {"a tab", QStringLiteral("Neue\tKategorie"), Eingabefehler},
        {"NUL", QStringLiteral("Neue") + QChar(0) + QStringLiteral("Kategorie"), Eingabefehler},
        {"a line break at the end", QStringLiteral("Neue Kategorie\r\n"), Eingabefehler},
    };
    for (const Fall &f : faelle) {
        SCOPED_TRACE(f.was);
        boxes.clear();
        fenster().txtKatego->setText(f.name); // typed or pasted
        klickeKnopf(knopf("tbSpeichern"));
        ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
        EXPECT_EQ(boxes.last().text, f.meldung);
        EXPECT_EQ(kategorien(), 5);
        EXPECT_EQ(liste().rowCount(), 5);
        EXPECT_EQ(grid().top().rowCount(), 5);
    }
    // Renaming onto another category's name is refused too, and the category stays loaded.
    waehle(5);
    boxes.clear();
    fenster().txtKatego->setText("lieferanten");
    klickeKnopf(knopf("tbSpeichern"));
    ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
    EXPECT_EQ(boxes.last().text, Doppelt);
    EXPECT_EQ(gv().strModus, QString("EDIT"));
    EXPECT_EQ(fenster().lblKategoNr->text(), QString("5"));
    EXPECT_EQ(name(5), QString("Ohne"));
    // ... so that a corrected name renames it rather than adding a category.
    boxes.clear();
    fenster().txtKatego->setText("Diverse");
    klickeKnopf(knopf("tbSpeichern"));
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
    EXPECT_EQ(kategorien(), 5);
    EXPECT_EQ(name(5), QString("Diverse"));
}

TEST_F(KategoTest, EscGoesBackToTheOverview)
{
    waehle(3);
    klickeKnopf(knopf("tbEsc"));
    EXPECT_FALSE(fenster().isVisible());
    EXPECT_TRUE(uebersicht().isVisible());
    EXPECT_TRUE(fenster().lblKategoNr->text().isEmpty());
    EXPECT_EQ(gv().strModus, QString("SAVE"));
}
