// The contact search dialog: both its callers, the search by the beginning of names and firms
// (case-insensitive, German letters folded, "*" as the only wildcard), its messages and the
// count label.
#include "kontakt_fixture.h"

#include "contacts/Kontakt.h"
#include "contacts/KontaktUebers.h"
#include "contacts/SuchKont.h"
#include "contacts/modKontakt.h"

#include "core/Main.h"
#include "core/modMain.h"
#include "core/plugins.h"

#include "forms/statusbar.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QWindow>

#include <set>
#include <vector>

using namespace kontakttest;

namespace {

const QString KeineGefunden = QStringLiteral("Keine passenden Datensätze gefunden, bitte versuchen Sie es erneut!");

class Suche : public KontaktTest
{
protected:
    void SetUp() override
    {
        KontaktTest::SetUp();
        // More contacts whose names test the comparison.
        sql("INSERT INTO Kontakt (KNr, KategoNr, Nachname, Vorname, Firma) VALUES "
            "(8, 4, 'MÜLLER', 'Grete', ''), (9, 1, 'Mueller', 'Udo', ''), "
            "(10, 5, '100%_Bio''s', 'Eva', 'Percent & Co'), (11, 5, 'Baggersee', 'Ida', '')");
        sql("INSERT INTO Mitglied (KNr, Geschlecht, Befreit, Bezahlt, Eintritt, Austritt, JG) VALUES "
            "(9, 1, 0, 0, 0, 0, 0)");
        starte();
        forms::setModalHook([this](forms::Form &f) {
            // Where and how each dialog opened, before the steps below resize it.
            const Main &main = forms::form<Main>();
            geoeffnet.push_back({f.windowType(), f.windowHandle() ? f.windowHandle()->transientParent() : nullptr,
                                 f.frameGeometry(), main.frameGeometry(),
                                 main.geometry().top() - main.frameGeometry().top()});
            if (auto *k = qobject_cast<Kontakt *>(&f)) {
                ++editorGezeigt;
                ausSucheImEditor = gv().blnAusSuche;
                k->resize(900, 600);
                QApplication::processEvents();
                if (editorSchritte)
                    editorSchritte(*k);
            } else if (auto *s = qobject_cast<SuchKont *>(&f)) {
                ++dialogGezeigt;
                s->resize(900, 500);
                QApplication::processEvents();
                if (imDialog)
                    imDialog(*s);
            }
        });
    }

    SuchKont &dialog() { return forms::form<SuchKont>(); }

    // What the user does in the dialog: a search text (pasted), a category, the button.
    void suche(const QString &text, const QString &kategorie)
    {
        SuchKont &s = dialog();
        s.txtSuch->setText(text);
        const int i = s.cboKatego->findText(kategorie);
        ASSERT_GE(i, 0) << kategorie.toStdString();
        s.cboKatego->setCurrentIndex(i);
        klicke(s.cmdSuch, s.cmdSuch->rect().center());
    }
    std::set<int> gefunden()
    {
        std::set<int> k;
        const forms::GridList &l = dialog().tblSuch->top();
        for (int r = 0; r < l.rowCount(); ++r)
            k.insert(l.text(r, 0).toInt());
        return k;
    }
    // A double-click on the result row of contact knr.
    void doppelklickAuf(int knr)
    {
        forms::ListGrid &g = *dialog().tblSuch;
        g.top().flush();
        QTableView *view = g.view();
        QAbstractItemModel *m = view->model();
        int v = -1;
        for (int i = 0; i < m->rowCount() && v < 0; ++i)
            for (int c = 0; c < 2; ++c)
                if (m->index(i, c).data().toString() == QString::number(knr))
                    v = i;
        ASSERT_GE(v, 0) << knr;
        const QModelIndex i = m->index(v, m->columnCount() - 1);
        view->scrollTo(i);
        QApplication::processEvents();
        klicke(view->viewport(), view->visualRect(i).center(), true);
    }
    // Opens the dialog as the contact overview's "tbSuch" does, with steps inside.
    void oeffneVonKontakten(std::function<void(SuchKont &)> schritte)
    {
        imDialog = std::move(schritte);
        klickeKnopf(uebersicht().findChild<QAction *>(QStringLiteral("tbSuch")));
        imDialog = {};
    }

    std::function<void(SuchKont &)> imDialog;
    int dialogGezeigt = 0;
    struct Geoeffnet
    {
        Qt::WindowType art;
        QWindow *gehoertZu;
        QRect rahmen;
        QRect haupt;    // the main window's frame then
        int titelzeile; // the height of its frame's title (0 without a window manager)
    };
    std::vector<Geoeffnet> geoeffnet;
    bool ausSucheImEditor = false;
};

} // namespace

TEST_F(Suche, FindsTheBeginningOfNamesAndFirmsWithinACategoryOrAll)
{
    struct Fall
    {
        const char *text;
        const char *kategorie;
        std::set<int> knr;
    };
    const Fall faelle[] = {
        {"mül", "Alle", {5, 8}},     // Müller, MÜLLER, not Mueller
        {"MÜL", "Lieferanten", {5}}, // only that category's
        {"mül", "Behörden", {8}},
        {"köder", "Alle", {5}},          // a firm
        {"ha", "Alle", {1}},             // a first name
        {"a", "Mitglieder (aktiv)", {}}, // nothing begins with it there
        {"*see", "Alle", {11}},          // "*": contains
        {"*ü*er", "Alle", {5, 8}},
        {"%", "Alle", {}},            // no wildcard of SQL
        {"100%_", "Alle", {10}},      // ... but a plain letter
        {"100%_Bio's", "Ohne", {10}}, // a quote is a letter too
        {"_", "Alle", {}},
        {"?", "Alle", {}}, // nor the pattern language's
        {"[a-z]", "Alle", {}},
        {"#", "Alle", {}},
    };
    bool erste = true;
    oeffneVonKontakten([&](SuchKont &s) {
        EXPECT_EQ(s.cboKatego->itemText(0), QString("Alle"));
        EXPECT_EQ(s.cboKatego->currentText(), QString("Alle"));
        for (const Fall &f : faelle) {
            SCOPED_TRACE(f.text);
            SCOPED_TRACE(f.kategorie);
            boxes.clear();
            suche(QString::fromUtf8(f.text), QString::fromUtf8(f.kategorie));
            if (f.knr.empty()) {
                ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
                EXPECT_EQ(boxes.last().text, KeineGefunden);
                continue;
            }
            EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
            EXPECT_EQ(gefunden(), f.knr);
            EXPECT_EQ(s.lblGefDS->text(), QString::number(f.knr.size()));
            erste = false;
        }
    });
    EXPECT_FALSE(erste);
    EXPECT_EQ(dialogGezeigt, 1);
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Kontakt"), 11); // nothing written
}

TEST_F(Suche, TheResultRowsCarryNumberCategoryFirmAndNames)
{
    oeffneVonKontakten([&](SuchKont &s) {
        suche(QStringLiteral("Köder"), QStringLiteral("Alle"));
        const forms::GridList &l = s.tblSuch->top();
        ASSERT_EQ(l.rowCount(), 1);
        EXPECT_EQ(l.text(0, 0), QString("5"));
        EXPECT_EQ(l.text(0, 1), QString("Lieferanten"));
        EXPECT_EQ(l.text(0, 2), QString("Köder-Müller"));
        EXPECT_EQ(l.text(0, 3), QString("Müller"));
        EXPECT_EQ(l.text(0, 4), QString("Karl"));
    });
}

TEST_F(Suche, EmptyInputIsRefusedAndNoMatchEmptiesTheListAndTheCount)
{
    oeffneVonKontakten([&](SuchKont &s) {
        suche(QStringLiteral("Sch"), QStringLiteral("Alle"));
        ASSERT_EQ(gefunden(), (std::set<int>{2}));
        for (const QString &leer : {QString(), QStringLiteral("  ")}) {
            boxes.clear();
            suche(leer, QStringLiteral("Alle"));
            ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
            EXPECT_EQ(boxes.last().text, Eingabefehler);
        }
        EXPECT_EQ(gefunden(), (std::set<int>{2})) << "a refused input searches nothing";
        EXPECT_EQ(s.lblGefDS->text(), QString("1"));
        boxes.clear();
        suche(QStringLiteral("Zzz"), QStringLiteral("Alle"));
        ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
        EXPECT_EQ(boxes.last().text, KeineGefunden);
        EXPECT_EQ(boxes.last().title, QString("Torvana"));
        EXPECT_EQ(gefunden(), (std::set<int>{})); // no earlier result is left showing
        EXPECT_EQ(s.lblGefDS->text(), QString());
    });
}

TEST_F(Suche, TheKeyFilterLetsLettersDigitsBlankAndStarThrough)
{
    oeffneVonKontakten([&](SuchKont &s) {
        tippe(s.txtSuch, QStringLiteral("a1 *%_'?"));
        EXPECT_EQ(s.txtSuch->text(), QString("a1 *"));
    });
}

TEST_F(Suche, TheContactSideOpensTheEditorFromTheSearch)
{
    bool editorAusSuche = false;
    imEditor([&](Kontakt &k) {
        editorAusSuche = gv().blnAusSuche;
        EXPECT_EQ(k.txtNName->text(), QString("Müller"));
    });
    oeffneVonKontakten([&](SuchKont &s) {
        suche(QStringLiteral("mül"), QStringLiteral("Alle"));
        doppelklickAuf(5);
        EXPECT_FALSE(s.isVisible());
    });
    EXPECT_EQ(editorGezeigt, 1);
    EXPECT_TRUE(editorAusSuche);
    EXPECT_FALSE(gv().blnAusSuche);
}

TEST_F(Suche, WithoutTheRightTheEditorStaysClosed)
{
    sql("UPDATE Gruppen SET Kontakt = 0");
    oeffneVonKontakten([&](SuchKont &) {
        suche(QStringLiteral("mül"), QStringLiteral("Alle"));
        boxes.clear();
        doppelklickAuf(5);
        ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
        EXPECT_EQ(boxes.last().text, KeinRecht);
    });
    EXPECT_EQ(editorGezeigt, 0);
}

TEST_F(Suche, TheMemberPickerOffersOnlyTheMemberCategoriesAndHandsTheMemberOver)
{
    int uebernommen = -1;
    QString knr;
    core::einstiege().bereiche.UebernehmeKontakt = [&](forms::ListGrid &tblSuch, int &row) {
        uebernommen = row;
        knr = tblSuch.top().text(row, 0);
        EXPECT_FALSE(dialog().isVisible());
    };
    gv().intSuchAufruf = 1;
    imDialog = [&](SuchKont &s) {
        ASSERT_EQ(s.cboKatego->count(), 2);
        EXPECT_EQ(s.cboKatego->itemText(0), QString("Mitglieder (aktiv)"));
        EXPECT_EQ(s.cboKatego->itemText(1), QString("Mitglieder (passiv)"));
        EXPECT_EQ(s.cboKatego->currentText(), QString("Mitglieder (aktiv)"));
        suche(QStringLiteral("M"), QStringLiteral("Mitglieder (aktiv)"));
        ASSERT_EQ(gefunden(), (std::set<int>{1, 9})); // Meier, Mueller: not MÜLLER of Behörden
        doppelklickAuf(9);
    };
    core::einstiege().kontaktwerkzeuge.LeereSuchKont();
    core::einstiege().kontaktwerkzeuge.ZeigeSuchKont();
    EXPECT_EQ(dialogGezeigt, 1);
    EXPECT_EQ(knr, QString("9"));
    EXPECT_GE(uebernommen, 0);
    EXPECT_EQ(editorGezeigt, 0);
}

// A category that cannot be looked up is reported by the look-up's box alone; nothing is
// searched and the input is not blamed.
TEST_F(Suche, AFailedCategoryLookUpIsReportedOnceAndSearchesNothing)
{
    oeffneVonKontakten([&](SuchKont &) {
        suche(QStringLiteral("M"), QStringLiteral("Behörden"));
        ASSERT_EQ(gefunden(), (std::set<int>{8}));
        sql("ALTER TABLE Katego RENAME TO KategoWeg");
        boxes.clear();
        suche(QStringLiteral("A"), QStringLiteral("Behörden"));
        sql("ALTER TABLE KategoWeg RENAME TO Katego");
        ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
        EXPECT_EQ(boxes.last().title, QString("Runtime - Error: 3078"));
        EXPECT_TRUE(
            boxes.last().text.startsWith("Unvorhergesehener Fehler in Modul: modKontakt / Routine: ErmittleKategoNr !"))
            << boxes.last().text.toStdString();
        EXPECT_EQ(gefunden(), (std::set<int>{8})) << "nothing was searched";
    });
}

TEST_F(Suche, EmptyingClearsListTextAndCount)
{
    oeffneVonKontakten([&](SuchKont &s) {
        suche(QStringLiteral("m"), QStringLiteral("Alle"));
        ASSERT_GT(s.tblSuch->top().rowCount(), 0);
    });
    modKontakt::LeereSuchKont();
    EXPECT_EQ(dialog().tblSuch->top().rowCount(), 0);
    EXPECT_TRUE(dialog().txtSuch->text().isEmpty());
    EXPECT_TRUE(dialog().lblGefDS->text().isEmpty());
}

// The search and the editor opened from it are dialogs of the main window: of the dialog type,
// transient for it, over its middle and wholly on the screen.
TEST_F(Suche, TheSearchAndTheEditorOpenAsDialogsOverTheMainWindow)
{
    Main &main = forms::form<Main>();
    main.resize(700, 500);
    QApplication::processEvents();
    imEditor([](Kontakt &) {});
    oeffneVonKontakten([&](SuchKont &) {
        suche(QStringLiteral("mül"), QStringLiteral("Alle"));
        doppelklickAuf(5);
    });
    ASSERT_EQ(geoeffnet.size(), 2u);
    const QRect schirm = main.screen()->availableGeometry();
    for (std::size_t i = 0; i < geoeffnet.size(); ++i) {
        SCOPED_TRACE(i == 0 ? "Kontakt suchen" : "the contact editor");
        const Geoeffnet &g = geoeffnet[i];
        EXPECT_EQ(g.art, Qt::Dialog);
        EXPECT_EQ(g.gehoertZu, main.windowHandle());
        EXPECT_TRUE(schirm.contains(g.rahmen))
            << g.rahmen.x() << "," << g.rahmen.y() << " " << g.rahmen.width() << " x " << g.rahmen.height();
        // Over the middle of the main window wherever the screen leaves room for that (before the
        // window manager frames the dialog, its frame is known only as large as the main window's).
        QRect mitte(QPoint(), g.rahmen.size());
        mitte.moveCenter(g.haupt.center());
        if (schirm.contains(mitte)) {
            EXPECT_LE((g.rahmen.center() - mitte.center()).manhattanLength(), 2 + g.titelzeile);
        }
    }
}

// Enter in the search text starts the search; Escape closes the dialog as its close box does.
TEST_F(Suche, EnterSearchesAndEscapeClosesTheDialog)
{
    QPointer<SuchKont> offen;
    oeffneVonKontakten([&](SuchKont &s) {
        offen = &s;
        QWindow *fenster = s.windowHandle();
        ASSERT_TRUE(fenster);
        s.txtSuch->setFocus();
        for (const char c : {'b', 'a', 'g', 'g'})
            QTest::keyClick(fenster, c);
        QTest::keyClick(fenster, Qt::Key_Return);
        EXPECT_EQ(gefunden(), std::set<int>({11}));
        EXPECT_EQ(s.lblGefDS->text(), QString("1"));
        QTest::keyClick(fenster, Qt::Key_Escape);
        QApplication::processEvents();
    });
    EXPECT_TRUE(!offen || !offen->isVisible());
    EXPECT_TRUE(!offen || offen->isUnloaded());
    EXPECT_EQ(boxes.count(), 0u) << apptest::texte(boxes);
}
