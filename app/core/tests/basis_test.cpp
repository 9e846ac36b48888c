#include "core_fixture.h"

#include "core/Basis.h"
#include "core/modBasis.h"
#include "core/modStart.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolBar>

#include <algorithm>

using namespace coretest;

namespace {

const QString Eingabefehler = QStringLiteral("ACHTUNG: Eingabefelder nicht korrekt, Vorgang abgebrochen !");

// Three species, two waters and four catches of July 2024 in the catch log's grid:
//   F1 Hecht/Baggersee, F2 Zander/Baggersee, F3 Hecht/Altarm, F4 Aal/Altarm.
class BasisTest : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        sql("INSERT INTO Fisch (FNr, FName) VALUES (1, 'Hecht'), (2, 'Zander'), (3, 'Aal')");
        sql("INSERT INTO Gewaesser (GNr, GName) VALUES (1, 'Baggersee'), (2, 'Altarm')");
        sql("INSERT INTO Fang (FangNr, FangJahr, FangMonat, FischNr, GNr, Anzahl, Gewicht) VALUES "
            "(1, 2024, 7, 1, 1, 1, 100), (2, 2024, 7, 2, 1, 1, 100), (3, 2024, 7, 1, 2, 1, 100), "
            "(4, 2024, 7, 3, 2, 1, 100)");
        modStart::OeffneDatenbank();
        auto &g = gv();
        g.intJahr = 2024;
        g.intMonat = 7;
        g.blnStartLaden = true;
        modStart::loadTblFBasis();
        modStart::loadTblGBasis();
        modStart::loadTblFList(*fangListe, nullptr);
        g.blnStartLaden = false;
        b = &forms::form<Basis>();
        b->resize(900, 600);
        b->show();
        b->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(b));
        boxes.clear();
    }

    // The user's actions on the window.
    void zeigeTab(bool fisch)
    {
        QTabBar *leiste = b->TabBasis->tabBar();
        QTest::mouseClick(leiste, Qt::LeftButton, {}, leiste->tabRect(fisch ? 0 : 1).center());
        ASSERT_EQ(b->TabBasis->currentIndex(), fisch ? 0 : 1);
    }
    void doppelklick(bool fisch, int row)
    {
        zeigeTab(fisch);
        forms::ListGrid *grid = fisch ? b->tblFBasis : b->tblGBasis;
        grid->top().flush();
        QTableView *view = grid->view();
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {},
                           view->visualRect(view->model()->index(row, 1)).center());
    }
    void tippe(QLineEdit *box, const QString &text)
    {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
    }
    void klicke(QAction *knopf) { QTest::mouseClick(b->Toolbar1->widgetForAction(knopf), Qt::LeftButton); }

    QStringList spalte(forms::ListGrid &grid, int c) const
    {
        QStringList s;
        for (int r = 0; r < grid.rowCount(); ++r)
            s << grid.text(r, c);
        return s;
    }
    QStringList fischNamen() const { return spalte(*b->tblFBasis, 1); }
    QStringList gewaesserNamen() const { return spalte(*b->tblGBasis, 1); }
    QStringList faenge() const
    {
        QStringList s;
        for (int r = 0; r < fangListe->rowCount(); ++r)
            s << fangListe->text(r, 0) + ":" + fangListe->text(r, 1) + "/" + fangListe->text(r, 2);
        return s;
    }
    static long long anzahl(dao::Sql sql)
    {
        dao::Recordset rs = gv().dbDaten.OpenRecordset(sql, dao::dbOpenDynaset);
        return rs(0).Value().toLongLong();
    }

    Basis *b = nullptr;
};

} // namespace

TEST_F(BasisTest, AddRenameAndDeleteKeepGridsAndCatchLogInStep)
{
    const struct Fall
    {
        const char *was;
        bool fisch;
        int zeile;        // row loaded by double-click; -1: a new record
        const char *name; // typed into the name box
        QAction *Basis::*knopf;
        int antwort;        // answer to the delete question
        QStringList namen;  // names of the tab's grid afterwards
        QStringList faenge; // the catch log's grid afterwards
        long long fangZahl; // catches in the database afterwards
    } faelle[] = {
        {"new species",
         true,
         -1,
         "Barsch",
         &Basis::tbSpeichern,
         0,
         {"Hecht", "Zander", "Aal", "Barsch"},
         {"1:Hecht/Baggersee", "2:Zander/Baggersee", "3:Hecht/Altarm", "4:Aal/Altarm"},
         4},
        {"renamed species",
         true,
         0,
         "Esox",
         &Basis::tbSpeichern,
         0,
         {"Esox", "Zander", "Aal"},
         {"1:Esox/Baggersee", "2:Zander/Baggersee", "3:Esox/Altarm", "4:Aal/Altarm"},
         4},
        {"name unchanged",
         true,
         1,
         "Zander",
         &Basis::tbSpeichern,
         0,
         {"Hecht", "Zander", "Aal"},
         {"1:Hecht/Baggersee", "2:Zander/Baggersee", "3:Hecht/Altarm", "4:Aal/Altarm"},
         4},
        {"renamed water",
         false,
         1,
         "Altwasser",
         &Basis::tbSpeichern,
         0,
         {"Baggersee", "Altwasser"},
         {"1:Hecht/Baggersee", "2:Zander/Baggersee", "3:Hecht/Altwasser", "4:Aal/Altwasser"},
         4},
        {"deleted species",
         true,
         0,
         nullptr,
         &Basis::tbLoeschen,
         forms::vbYes,
         {"Zander", "Aal"},
         {"2:Zander/Baggersee", "4:Aal/Altarm"},
         2},
        // The name box was edited before the delete: the catches of the stored species go.
        {"deleted after editing",
         true,
         0,
         "Zander",
         &Basis::tbLoeschen,
         forms::vbYes,
         {"Zander", "Aal"},
         {"2:Zander/Baggersee", "4:Aal/Altarm"},
         2},
        {"deleted water",
         false,
         1,
         nullptr,
         &Basis::tbLoeschen,
         forms::vbYes,
         {"Baggersee"},
         {"1:Hecht/Baggersee", "2:Zander/Baggersee"},
         2},
        {"delete declined",
         false,
         0,
         nullptr,
         &Basis::tbLoeschen,
         forms::vbNo,
         {"Baggersee", "Altarm"},
         {"1:Hecht/Baggersee", "2:Zander/Baggersee", "3:Hecht/Altarm", "4:Aal/Altarm"},
         4},
    };
    for (const Fall &fall : faelle) {
        SCOPED_TRACE(fall.was);
        if (fall.zeile >= 0)
            doppelklick(fall.fisch, fall.zeile);
        else
            zeigeTab(fall.fisch);
        QLineEdit *name = fall.fisch ? b->txtFArt : b->txtGName;
        if (fall.name)
            tippe(name, fall.name);
        if (fall.antwort)
            boxes.answer(fall.antwort);
        klicke(b->*fall.knopf);
        QCoreApplication::processEvents();

        if (fall.knopf == &Basis::tbLoeschen) {
            ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
            EXPECT_EQ(
                boxes.last().text,
                fall.fisch
                    ? QString(
                          "ACHTUNG: Fisch - Referenzen im Fangbuch werden ebenfalls gelöscht !\r\nTrotzdem löschen ?")
                    : QString("ACHTUNG: Gewässer - Referenzen im Fangbuch werden ebenfalls gelöscht !\r\nTrotzdem "
                              "löschen ?"));
            EXPECT_EQ(boxes.last().flags, forms::vbYesNo);
        } else {
            EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
        }
        EXPECT_EQ(fall.fisch ? fischNamen() : gewaesserNamen(), fall.namen);
        EXPECT_EQ(faenge(), fall.faenge);
        EXPECT_EQ(anzahl("SELECT COUNT(*) AS Expr1000 FROM Fang"), fall.fangZahl);
        EXPECT_EQ((fall.fisch ? b->lblFAnzahl : b->lblGAnzahl)->text(), QString::number(fall.namen.size()));
        EXPECT_TRUE(name->text().isEmpty());
        EXPECT_TRUE((fall.fisch ? b->lblFNr : b->lblGNr)->text().isEmpty());
        EXPECT_EQ(gv().strModus, QString("SAVE"));
        // The combo boxes of the catch windows are filled from the grid.
        QComboBox cbo;
        if (fall.fisch)
            modStart::loadcboFArt(cbo);
        else
            modStart::loadcboGName(cbo);
        QStringList combo;
        for (int i = 0; i < cbo.count(); ++i)
            combo << cbo.itemText(i);
        EXPECT_EQ(combo, fall.namen);

        TearDown();
        SetUp();
    }
}

TEST_F(BasisTest, ANewRecordGetsTheKeyTheDatabaseAssigned)
{
    zeigeTab(false);
    tippe(b->txtGName, "Muehlbach");
    b->txtGNotiz->setText("nur Fliege, Brücke");
    klicke(b->tbSpeichern);
    ASSERT_EQ(b->tblGBasis->rowCount(), 3);
    EXPECT_EQ(b->tblGBasis->text(2, 0), QString("3"));
    dao::Recordset rs =
        gv().dbDaten.OpenRecordset("SELECT GName, Notiz FROM Gewaesser WHERE GNr = 3", dao::dbOpenDynaset);
    EXPECT_EQ(rs(0).Value().toString(), QString("Muehlbach"));
    EXPECT_EQ(rs(1).Value().toString(), QString("nur Fliege, Brücke"));
    EXPECT_TRUE(b->txtGName->hasFocus());
}

TEST_F(BasisTest, TheRowIsFoundByItsKeyWhateverAnotherWindowDidToTheRowNumber)
{
    doppelklick(true, 2); // Aal
    EXPECT_EQ(b->lblFNr->text(), QString("3"));
    EXPECT_EQ(gv().lngDSNr, 2);
    gv().lngDSNr = 0; // another window chose its first row meanwhile
    tippe(b->txtFArt, "Flussaal");
    klicke(b->tbSpeichern);
    EXPECT_EQ(fischNamen(), QStringList({"Hecht", "Zander", "Flussaal"}));
    EXPECT_EQ(faenge(),
              QStringList({"1:Hecht/Baggersee", "2:Zander/Baggersee", "3:Hecht/Altarm", "4:Flussaal/Altarm"}));

    doppelklick(true, 0);
    gv().lngDSNr = 2;
    boxes.answer(forms::vbYes);
    klicke(b->tbLoeschen);
    EXPECT_EQ(fischNamen(), QStringList({"Zander", "Flussaal"}));
}

TEST_F(BasisTest, EmptyAndDuplicateNamesAreRefusedAndAnEditStaysAnEdit)
{
    const struct
    {
        const char *was;
        bool fisch;
        int zeile;
        QString name;
        QString box;
    } faelle[] = {
        {"empty new", true, -1, "", Eingabefehler},
        {"blanks only", false, -1, "   ", Eingabefehler},
        {"duplicate new", true, -1, "zander",
         "ACHTUNG: Eine Fischart mit diesem Namen ist bereits vorhanden, Vorgang abgebrochen !"},
        {"empty edit", true, 0, "", Eingabefehler},
        {"duplicate edit", false, 0, "ALTARM",
         "ACHTUNG: Ein Gewässer mit diesem Namen ist bereits vorhanden, Vorgang abgebrochen !"},
        // Pasted: a line break, a tab or NUL would be stored and shown as a broken row.
        {"species with a line break", true, -1, "Regen\nbogenforelle", Eingabefehler},
        {"water with a tab", false, -1, "Kies\tgrube", Eingabefehler},
        {"species with NUL", true, -1, QStringLiteral("Wels") + QChar(0), Eingabefehler},
        {"species renamed with a line break", true, 1, "Zander\r\n", Eingabefehler},
        {"water renamed with DEL", false, 1, QStringLiteral("Alt") + QChar(0x7f) + QStringLiteral("arm"),
         Eingabefehler},
    };
    for (const auto &fall : faelle) {
        SCOPED_TRACE(fall.was);
        boxes.clear();
        if (fall.zeile >= 0)
            doppelklick(fall.fisch, fall.zeile);
        else
            zeigeTab(fall.fisch);
        QLineEdit *name = fall.fisch ? b->txtFArt : b->txtGName;
        const QStringList fische = fischNamen();
        const QStringList gewaesser = gewaesserNamen();
        const bool eingefuegt = std::any_of(fall.name.begin(), fall.name.end(),
                                            [](QChar c) { return c.category() == QChar::Other_Control; });
        if (eingefuegt)
            name->setText(fall.name); // no key gives these characters
        else
            tippe(name, fall.name);
        klicke(b->tbSpeichern);
        ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
        EXPECT_EQ(boxes.last().text, fall.box);
        EXPECT_EQ(fischNamen(), fische);
        EXPECT_EQ(gewaesserNamen(), gewaesser);
        EXPECT_EQ(name->text(), fall.name); // what was typed stays
        EXPECT_EQ(gv().strModus, QString(fall.zeile >= 0 ? "EDIT" : "SAVE"));
        if (fall.zeile >= 0) {
            // Corrected, the next save changes the loaded record instead of adding one.
            // (A name of its own for each row, so that no correction repeats another's.)
            const QString richtig = QString(fall.fisch ? "Grosshecht" : "Kiesgrube") +
                                    (fall.zeile > 0 ? QString::number(fall.zeile) : QString());
            tippe(name, richtig);
            klicke(b->tbSpeichern);
            QStringList erwartet = fall.fisch ? fische : gewaesser;
            erwartet[fall.zeile] = richtig;
            EXPECT_EQ(fall.fisch ? fischNamen() : gewaesserNamen(), erwartet);
            EXPECT_EQ(gv().strModus, QString("SAVE"));
        }
    }
    EXPECT_EQ(anzahl("SELECT COUNT(*) AS Expr1000 FROM Fisch"), 3);
    EXPECT_EQ(anzahl("SELECT COUNT(*) AS Expr1000 FROM Gewaesser"), 2);
}

TEST_F(BasisTest, DeleteWithoutALoadedRecordAndAnEmptyDoubleClickDoNothing)
{
    klicke(b->tbLoeschen);
    EXPECT_EQ(boxes.count(), 0u);
    // A mode "EDIT" left by another window is no loaded record here.
    gv().strModus = "EDIT";
    tippe(b->txtFArt, "Wels");
    klicke(b->tbSpeichern);
    EXPECT_EQ(fischNamen(), QStringList({"Hecht", "Zander", "Aal", "Wels"}));
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);

    doppelklick(true, 1);
    QTableView *view = b->tblFBasis->view();
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, QPoint(5, view->viewport()->height() - 2));
    EXPECT_EQ(gv().strModus, QString("EDIT"));
    EXPECT_EQ(b->txtFArt->text(), QString("Zander"));
}

TEST_F(BasisTest, ARecordGoneMeanwhileIsReportedAndNothingChanges)
{
    doppelklick(false, 0);
    sql("DELETE FROM Gewaesser WHERE GNr = 1");
    tippe(b->txtGName, "Baggersee Nord");
    klicke(b->tbSpeichern);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, QString("FEHLER: Datensatz nicht vorhanden o. nicht gefunden !"));
    EXPECT_EQ(boxes.last().flags, forms::vbCritical);
    EXPECT_EQ(gewaesserNamen(), QStringList({"Baggersee", "Altarm"}));

    // Loading the row of a record that is gone.
    doppelklick(false, 0);
    EXPECT_EQ(boxes.last().text, QString("Fehler: Datensatz nicht vorhanden o. nicht gefunden !"));
    EXPECT_TRUE(b->lblGNr->text().isEmpty());
}

TEST_F(BasisTest, AFailedWriteIsReportedByTheTrapAndKeepsTheGrids)
{
    doppelklick(true, 0);
    tippe(b->txtFArt, "Esox");
    gv().dbDaten.Execute(
        "CREATE TRIGGER kein_umbenennen BEFORE UPDATE ON Fisch BEGIN SELECT RAISE(ABORT, 'nein'); END");
    klicke(b->tbSpeichern);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_TRUE(boxes.last().text.startsWith("Unvorhergesehener Fehler in Modul: modBasis / Routine: UpdateFisch !"));
    EXPECT_EQ(fischNamen(), QStringList({"Hecht", "Zander", "Aal"}));
    EXPECT_EQ(faenge().first(), QString("1:Hecht/Baggersee"));
    EXPECT_EQ(gv().strModus, QString("EDIT"));
    EXPECT_EQ(b->txtFArt->text(), QString("Esox"));
}

TEST_F(BasisTest, LeavingTheWindowEmptiesItsFieldsAndCountsUntilShownAgain)
{
    doppelklick(true, 0);
    b->hide();
    EXPECT_TRUE(b->txtFArt->text().isEmpty());
    EXPECT_TRUE(b->lblFAnzahl->text().isEmpty());
    b->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(b));
    QTest::qWait(1);
    b->repaint();
    EXPECT_EQ(b->lblFAnzahl->text(), QString("3"));
    EXPECT_EQ(b->lblGAnzahl->text(), QString("2"));
}

// Enter in any field of either page saves as "Speichern" does: a new record, or the loaded one
// changed.
TEST_F(BasisTest, EnterInAFieldSavesAsTheSaveButtonDoes)
{
    const struct
    {
        const char *fall;
        bool fisch;
        int zeile; // the row double-clicked first, -1 for a new record
        QLineEdit *Basis::*name;
        QLineEdit *Basis::*enter;
        const char *text;
    } faelle[] = {
        {"new species, Enter in its name", true, -1, &Basis::txtFArt, &Basis::txtFArt, "Wels"},
        {"new species, Enter in its note", true, -1, &Basis::txtFArt, &Basis::txtFNotiz, "Barsch"},
        {"water renamed, Enter in its name", false, 0, &Basis::txtGName, &Basis::txtGName, "Kiesgrube"},
        {"new water, Enter in its note", false, -1, &Basis::txtGName, &Basis::txtGNotiz, "Weiher"},
    };
    for (const auto &f : faelle) {
        SCOPED_TRACE(f.fall);
        if (f.zeile >= 0)
            doppelklick(f.fisch, f.zeile);
        else
            zeigeTab(f.fisch);
        const QString vorher = f.zeile >= 0 ? (f.fisch ? b->tblFBasis : b->tblGBasis)->text(f.zeile, 1) : QString();
        tippe(b->*f.name, QString::fromUtf8(f.text));
        (b->*f.enter)->setFocus();
        QTest::keyClick(b->windowHandle(), Qt::Key_Return);
        EXPECT_EQ(boxes.count(), 0u) << apptest::texte(boxes);
        const QStringList namen = f.fisch ? fischNamen() : gewaesserNamen();
        EXPECT_TRUE(namen.contains(QString::fromUtf8(f.text))) << namen.join(',').toStdString();
        if (!vorher.isEmpty()) {
            EXPECT_FALSE(namen.contains(vorher));
        }
        EXPECT_TRUE((b->*f.name)->text().isEmpty()) << "the fields are emptied after the save";
    }
    EXPECT_EQ(anzahl("SELECT COUNT(*) FROM Fisch"), 5);
    EXPECT_EQ(anzahl("SELECT COUNT(*) FROM Gewaesser"), 3);
}
