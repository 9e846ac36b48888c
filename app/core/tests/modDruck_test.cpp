// The print-out mechanism: print table, transaction, messages, printers and the preview in the
// results pane.
#include "core_fixture.h"

#include "core/Info.h"
#include "core/Main.h"
#include "core/modDruck.h"
#include "core/modMain.h"
#include "core/modStart.h"

#include "com/connpt.h"
#include "com/variant.h"
#include "forms/services.h"
#include "ole/handles.h"
#include "pdftext/pdftext.h"
#include "report/fakeprinters.h"
#include "report/preview.h"
#include "testsupport/today.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QScrollBar>
#include <QToolBar>

using namespace coretest;

namespace {

const QString KeineDaten = QStringLiteral("Keine Daten zum Drucken vorhanden, Vorgang wird abgebrochen !");
const QString KeinDrucker = QStringLiteral("ACHTUNG: Kein Drucker installiert, Vorgang wird abgebrochen !");

struct Zeile
{
    qlonglong nr;
    QString name;
    qlonglong anzahl;
    bool operator==(const Zeile &o) const { return nr == o.nr && name == o.name && anzahl == o.anzahl; }
};
std::ostream &operator<<(std::ostream &os, const Zeile &z)
{
    return os << z.nr << "/" << z.name.toStdString() << "/" << z.anzahl;
}

report::Report &rpt_Test()
{
    return modDruck::Bericht(QStringLiteral("rpt_Test"), [](report::Report &r) {
        r.Caption = QStringLiteral("Testliste");
        modDruck::Adressblock(r.PageHeader());
        modDruck::Titel(r.PageHeader(), QStringLiteral("lblTitel"), QStringLiteral("Testliste"));
        modDruck::Kolumnen(r, {{"Nr:", "Text1", "", 2, 60},
                               {"Name:", "Text2", "", 70, 200},
                               {"Anzahl:", "Text3", "", 300, 60, report::Align::Right}});
        modDruck::Seitenzeile(r.PageFooter());
    });
}

class Druck : public CoreTest
{
protected:
    void SetUp() override
    {
        CoreTest::SetUp();
        modStart::OeffneDatenbank();
        apptest::Vereinsadresse(QStringLiteral("ASV Petri Heil"));
        drucker.pdfPath = home.filePath(QStringLiteral("gedruckt.pdf"));
        grid.top().setColumnCount(3);
    }
    void TearDown() override
    {
        modDruck::VerwerfeBerichte();
        CoreTest::TearDown();
    }

    void drucke(const QString &modus)
    {
        using modDruck::Ablage;
        modDruck::Drucke(modus, grid,
                         {QStringLiteral("modTest"),
                          QStringLiteral("DruckeTest"),
                          "Druck_Fangliste",
                          {{QStringLiteral("FangNr"), 0, Ablage::Ganzzahl},
                           {QStringLiteral("Name"), 1, Ablage::Wert},
                           {QStringLiteral("Anzahl"), 2, Ablage::Ganzzahl}},
                          rpt_Test,
                          [](report::Report &r) {
                              r.Detail().Controls("Text1").DataField = QStringLiteral("FangNr");
                              r.Detail().Controls("Text2").DataField = QStringLiteral("Name");
                              r.Detail().Controls("Text3").DataField = QStringLiteral("Anzahl");
                          }});
    }

    void fuelle(const std::vector<Zeile> &zeilen)
    {
        grid.clear();
        for (const Zeile &z : zeilen)
            grid.addRow(QVariantList{z.nr, z.name, z.anzahl});
    }

    std::vector<Zeile> tabelle()
    {
        std::vector<Zeile> z;
        dao::Recordset rs = gv().dbDaten.OpenRecordset(
            "SELECT FangNr, Name, Anzahl FROM Druck_Fangliste ORDER BY rowid", dao::dbOpenDynaset);
        for (; !rs.Eof(); rs.MoveNext())
            z.push_back({rs(0).Value().toLongLong(), rs(1).Value().toString(), rs(2).Value().toLongLong()});
        return z;
    }

    // The print table as an earlier print-out left it.
    void vorherigerDruck()
    {
        gv().dbDaten.Execute(
            "INSERT INTO Druck_Fangliste (FangNr, Name, Anzahl) VALUES (90, 'Alt', 9), (91, 'Alt', 9)");
    }

    report::FakePrinters drucker{{QStringLiteral("Laser Büro"), QStringLiteral("Tinte Kasse")}};
    forms::ListGrid grid;
};

TEST_F(Druck, PrintingCopiesTheGridInItsOrderAndPrintsItUnderTheClubAddress)
{
    vorherigerDruck();
    fuelle({{7, "Hecht", 2}, {3, "Zander", 1}, {5, "Aal", 4}});
    drucke("drucken");
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
    EXPECT_EQ(tabelle(), (std::vector<Zeile>{{7, "Hecht", 2}, {3, "Zander", 1}, {5, "Aal", 4}}));
    EXPECT_EQ(drucker.printed, 1);
    EXPECT_EQ(drucker.lastCaption, QString("Testliste"));
    EXPECT_EQ(forms::mousePointer(), forms::vbDefault);
    ASSERT_TRUE(pdftext::Available()) << "poppler-utils (pdftotext) not installed";
    const QString text = pdftext::Text(drucker.pdfPath);
    EXPECT_EQ(
        pdftext::NotInOrder(text, {"Anschrift:",
                                   "Name",
                                   "ASV Petri Heil",
                                   "Strasse :",
                                   "Uferweg 3",
                                   "PLZ /Ort:",
                                   "12345",
                                   "Fischbach",
                                   "Tel",
                                   "0123 4567",
                                   "Testliste",
                                   "Nr:",
                                   "Name:",
                                   "Anzahl:",
                                   "7",
                                   "Hecht",
                                   "2",
                                   "3",
                                   "Zander",
                                   "1",
                                   "5",
                                   "Aal",
                                   "4",
                                   "Seite 1 von 1 (gedruckt am " + testsupport::Heute.toString("dd.MM.yyyy") + ")"}),
        std::string())
        << text.toStdString();
}

TEST_F(Druck, PrintingTheSameListTwiceLeavesOneCopyInThePrintTable)
{
    fuelle({{1, "Hecht", 2}, {2, "Zander", 1}});
    drucke("drucken");
    drucke("drucken");
    EXPECT_EQ(tabelle(), (std::vector<Zeile>{{1, "Hecht", 2}, {2, "Zander", 1}}));
    EXPECT_EQ(drucker.printed, 2);
}

TEST_F(Druck, AnEmptyGridEmptiesThePrintTableAndPrintsNothing)
{
    for (const char *modus : {"drucken", "vorschau"}) {
        SCOPED_TRACE(modus);
        vorherigerDruck();
        boxes.clear();
        fuelle({});
        drucke(modus);
        EXPECT_TRUE(tabelle().empty());
        ASSERT_EQ(boxes.count(), 1u);
        EXPECT_EQ(boxes.last().text, KeineDaten);
        EXPECT_EQ(boxes.last().title, QString("Torvana"));
        EXPECT_EQ(boxes.last().flags, forms::vbInformation);
        EXPECT_EQ(drucker.dialogs, 0);
        EXPECT_EQ(rpt_Test().window(), nullptr);
        EXPECT_EQ(forms::mousePointer(), forms::vbDefault);
    }
}

TEST_F(Druck, WithoutAPrinterPrintingStopsWithTheTableFilledButAPreviewIsShown)
{
    report::FakePrinters keine;
    fuelle({{1, "Hecht", 2}});
    drucke("drucken");
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, KeinDrucker);
    EXPECT_EQ(boxes.last().flags, forms::vbInformation);
    EXPECT_EQ(boxes.last().title, QString("Torvana"));
    EXPECT_EQ(tabelle(), (std::vector<Zeile>{{1, "Hecht", 2}}));
    EXPECT_EQ(keine.dialogs, 0);
    EXPECT_EQ(forms::mousePointer(), forms::vbDefault);

    // A preview is laid out on the report's own page and needs no printer.
    boxes.clear();
    drucke("vorschau");
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
    QWidget *vorschau = rpt_Test().window();
    ASSERT_NE(vorschau, nullptr);
    EXPECT_TRUE(vorschau->isVisible());
}

TEST_F(Druck, AModeOtherThanTheTwoPrintsAndShowsNothing)
{
    fuelle({{1, "Hecht", 2}});
    for (const char *modus : {"Drucken", "VORSCHAU", "", "druck"}) {
        SCOPED_TRACE(modus);
        drucke(modus);
        EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
        EXPECT_EQ(drucker.dialogs, 0);
        EXPECT_EQ(rpt_Test().window(), nullptr);
        EXPECT_EQ(tabelle(), (std::vector<Zeile>{{1, "Hecht", 2}}));
    }
}

TEST_F(Druck, AFailingPrintOutLeavesTheDatabaseAsItWas)
{
    struct Fall
    {
        const char *name;
        std::vector<QVariantList> zeilen;
        int nummer;
    };
    const Fall faelle[] = {
        {"cell that is no number", {{1, "Hecht", 2}, {2, "Zander", "viele"}}, 13},
        {"number beyond the range", {{1, "Hecht", 2}, {2, "Zander", 1e12}}, 6},
        {"empty cell", {{1, "Hecht", 2}, {QVariant(), "Zander", 1}}, 94},
    };
    vorherigerDruck();
    const auto vorher = tabelle();
    for (const Fall &f : faelle) {
        SCOPED_TRACE(f.name);
        boxes.clear();
        grid.clear();
        for (const QVariantList &z : f.zeilen)
            grid.addRow(z);
        drucke("drucken");
        ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
        EXPECT_EQ(boxes.last().title, QStringLiteral("Runtime - Error: %1").arg(f.nummer));
        EXPECT_TRUE(boxes.last().text.startsWith("Unvorhergesehener Fehler in Modul: modTest / Routine: DruckeTest !"))
            << boxes.last().text.toStdString();
        EXPECT_EQ(tabelle(), vorher);
        EXPECT_EQ(drucker.printed, 0);
        EXPECT_EQ(forms::mousePointer(), forms::vbDefault);
    }
    // The database is usable afterwards: nothing is left open.
    boxes.clear();
    fuelle({{4, "Aal", 1}});
    drucke("drucken");
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
    EXPECT_EQ(tabelle(), (std::vector<Zeile>{{4, "Aal", 1}}));
}

TEST_F(Druck, APrinterThatFailsShowsTheErrorBoxAfterTheTableWasFilled)
{
    vorherigerDruck();
    drucker.fail = true;
    fuelle({{1, "Hecht", 2}});
    drucke("drucken");
    ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
    EXPECT_EQ(boxes.last().title, QString("Runtime - Error: 482"));
    EXPECT_TRUE(boxes.last().text.startsWith("Unvorhergesehener Fehler in Modul: modTest / Routine: DruckeTest !"));
    EXPECT_EQ(drucker.printed, 0);
    EXPECT_EQ(tabelle(), (std::vector<Zeile>{{1, "Hecht", 2}}));
    EXPECT_EQ(forms::mousePointer(), forms::vbDefault);
}

TEST_F(Druck, APrintTableHeldByAReaderEndsWithTheErrorBoxAndChangesNothing)
{
    vorherigerDruck();
    const auto vorher = tabelle();
    {
        // Another connection that keeps its read lock.
        dao::Database leser = gv().wsDaten->OpenDatabase(db(), true, false, modStart::Verbindung);
        dao::Recordset rs = leser.OpenRecordset("SELECT * FROM Druck_Fangliste", dao::dbOpenDynaset);
        fuelle({{1, "Hecht", 2}});
        drucke("drucken");
        rs.Close();
        leser.Close();
    }
    ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
    EXPECT_EQ(boxes.last().title, QString("Runtime - Error: 3218"));
    EXPECT_EQ(drucker.printed, 0);
    EXPECT_EQ(tabelle(), vorher);
}

TEST_F(Druck, AMissingDatabaseEndsWithTheErrorBox)
{
    fuelle({{1, "Hecht", 2}});
    gv().dbDaten.Close();
    QFile::rename(db(), db() + ".weg");
    drucke("drucken");
    ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
    EXPECT_EQ(boxes.last().title, QString("Runtime - Error: 3024"));
    EXPECT_EQ(drucker.dialogs, 0);
    EXPECT_EQ(forms::mousePointer(), forms::vbDefault);
    QFile::rename(db() + ".weg", db());
}

TEST_F(Druck, ACancelledPrintDialogKeepsTheRowsAndShowsNothing)
{
    drucker.cancel = true;
    fuelle({{1, "Hecht", 2}});
    drucke("drucken");
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
    EXPECT_EQ(drucker.dialogs, 1);
    EXPECT_EQ(tabelle(), (std::vector<Zeile>{{1, "Hecht", 2}}));
}

// ---- the preview in the results pane ----------------------------------------------------------

class Vorschau : public Druck
{
protected:
    void SetUp() override
    {
        Druck::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(navrailVorhanden()) << "navigation bar library not registered";
        for (const char *key : {"Fangbuch", "Fangauswertung", "Besatzung"})
            fenster[key] = &attrappe(key);
        meldeAn();
        klicke("Fangauswertung");
        ASSERT_TRUE(fenster["Fangauswertung"]->isVisible());
        boxes.clear();
    }

    void klicke(const QString &key)
    {
        com::ComPtr<ILzNavrailItem> item = modMain::ItemFromKey(key);
        ASSERT_TRUE(item) << key.toStdString();
        com::Variant args[2] = {com::Variant::dispatch(item.get()),
                                com::Variant::dispatch(gv().objGrpOrganisation.get())};
        DISPPARAMS params{args, nullptr, 2, 0};
        com::EventArgs ea(&params);
        emit forms::form<Main>().ButtnBar->controlEvent(DISPID_NBE_ItemClick, &ea);
    }

    LONG gehostet() const
    {
        LONG h = 0;
        gv().objAktItem->get_WindowObject1(&h);
        return h;
    }

    QHash<QString, Attrappe *> fenster;
};

TEST_F(Vorschau, ThePreviewTakesTheListWindowsPlaceUnderItsItemUntilAnotherItemIsChosen)
{
    fuelle({{1, "Hecht", 2}, {2, "Zander", 1}});
    drucke("vorschau");
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
    EXPECT_EQ(drucker.dialogs, 0);
    QPointer<QWidget> v = rpt_Test().window();
    ASSERT_TRUE(v);
    EXPECT_EQ(aktKey(), QString("Fangauswertung"));
    EXPECT_EQ(ole::widgetFromHandle(ole::Handle(gehostet())), v.data());
    EXPECT_TRUE(v->isVisible());
    EXPECT_TRUE(forms::form<Main>().isAncestorOf(v));
    EXPECT_FALSE(fenster["Fangauswertung"]->isVisible());
    EXPECT_EQ(v->windowTitle(), QString("Testliste"));
    auto *p = qobject_cast<report::PreviewWindow *>(v.data());
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->document().rows->values.size(), 2);
    EXPECT_EQ(forms::mousePointer(), forms::vbDefault);

    // A second preview replaces the first in the same place.
    fuelle({{3, "Aal", 4}});
    drucke("vorschau");
    EXPECT_EQ(rpt_Test().window(), v.data());
    EXPECT_EQ(ole::widgetFromHandle(ole::Handle(gehostet())), v.data());
    EXPECT_EQ(p->document().rows->values.size(), 1);
    EXPECT_TRUE(v->isVisible());

    // Another item hides the preview and shows its own window; the list window comes back with
    // its item.
    klicke("Besatzung");
    EXPECT_FALSE(v->isVisible());
    EXPECT_TRUE(fenster["Besatzung"]->isVisible());
    klicke("Fangauswertung");
    EXPECT_TRUE(fenster["Fangauswertung"]->isVisible());
    EXPECT_FALSE(v->isVisible());
    EXPECT_EQ(ole::widgetFromHandle(ole::Handle(gehostet())), fenster["Fangauswertung"]);
}

TEST_F(Vorschau, ItsToolBarPagesZoomsPrintsThroughTheDialogAndClosesBackToTheListWindow)
{
    std::vector<Zeile> viele;
    for (int i = 1; i <= 150; ++i)
        viele.push_back({i, QStringLiteral("Fisch %1").arg(i), i % 7});
    fuelle(viele);
    drucke("vorschau");
    ASSERT_EQ(boxes.count(), 0u) << texte(boxes);
    auto *p = qobject_cast<report::PreviewWindow *>(rpt_Test().window());
    ASSERT_NE(p, nullptr);
    ASSERT_TRUE(p->isVisible());
    const int seiten = p->pageCount();
    ASSERT_GE(seiten, 3);
    QToolBar *leiste = p->toolBar();
    ASSERT_TRUE(leiste && leiste->isVisible());
    auto knopf = [&](const char *name) -> QWidget * {
        QAction *a = leiste->findChild<QAction *>(QString::fromLatin1(name));
        EXPECT_TRUE(a) << name;
        return a ? leiste->widgetForAction(a) : nullptr;
    };
    // A click through the main window on a tool bar button.
    auto drueck = [&](const char *name) {
        QWidget *w = knopf(name);
        ASSERT_TRUE(w && w->isVisible()) << name;
        ASSERT_TRUE(w->isEnabled()) << name;
        apptest::ProgramTest::klicke(w, w->rect().center());
    };
    auto *seite = leiste->findChild<QLabel *>(QStringLiteral("lblSeite"));
    auto *zoom = leiste->findChild<QLabel *>(QStringLiteral("lblZoom"));
    ASSERT_TRUE(seite && zoom);
    const QString von = QStringLiteral(" von %1").arg(seiten);
    EXPECT_EQ(seite->text(), "Seite 1" + von);
    EXPECT_EQ(zoom->text(), QString("100 %"));
    EXPECT_FALSE(knopf("tbVorherigeSeite")->isEnabled());

    // Paging.
    drueck("tbNaechsteSeite");
    EXPECT_EQ(p->currentPage(), 1);
    EXPECT_EQ(seite->text(), "Seite 2" + von);
    drueck("tbLetzteSeite");
    EXPECT_EQ(p->currentPage(), seiten - 1);
    EXPECT_EQ(seite->text(), QStringLiteral("Seite %1").arg(seiten) + von);
    EXPECT_FALSE(knopf("tbNaechsteSeite")->isEnabled());
    drueck("tbVorherigeSeite");
    EXPECT_EQ(p->currentPage(), seiten - 2);
    drueck("tbErsteSeite");
    EXPECT_EQ(p->currentPage(), 0);
    // Scrolling by hand moves the page shown too.
    QScrollBar *rollen = p->scrollArea()->verticalScrollBar();
    rollen->setValue(rollen->maximum());
    EXPECT_EQ(seite->text(), QStringLiteral("Seite %1").arg(seiten) + von);
    drueck("tbErsteSeite");

    // Zoom: the pages grow and shrink, the page shown stays.
    drueck("tbNaechsteSeite");
    const int breite = p->pagesSize().width();
    drueck("tbVergroessern");
    EXPECT_EQ(zoom->text(), QString("125 %"));
    EXPECT_GT(p->pagesSize().width(), breite);
    EXPECT_EQ(p->currentPage(), 1);
    drueck("tbVerkleinern");
    drueck("tbVerkleinern");
    EXPECT_EQ(zoom->text(), QString("75 %"));
    EXPECT_LT(p->pagesSize().width(), breite);
    EXPECT_EQ(seite->text(), "Seite 2" + von);

    // Print: through the printer port's dialog, the report as shown.
    EXPECT_EQ(drucker.dialogs, 0);
    drueck("tbDrucken");
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
    EXPECT_EQ(drucker.dialogs, 1);
    EXPECT_EQ(drucker.printed, 1);
    EXPECT_EQ(drucker.lastCaption, QString("Testliste"));
    EXPECT_EQ(drucker.lastRows, 150);
    // A printer that fails shows the error box and the preview stays.
    drucker.fail = true;
    drueck("tbDrucken");
    ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
    EXPECT_TRUE(boxes.last().text.contains("modTest")) << boxes.last().text.toStdString();
    EXPECT_EQ(drucker.printed, 1);
    EXPECT_TRUE(p->isVisible());
    // No printer: the message, no dialog.
    boxes.clear();
    drucker.fail = false;
    drucker.names.clear();
    drueck("tbDrucken");
    ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
    EXPECT_EQ(boxes.last().text, KeinDrucker);
    EXPECT_EQ(drucker.dialogs, 2);
    boxes.clear();

    // Close: the list window shows again under its item; a second preview closes the same way.
    for (int runde = 0; runde < 2; ++runde) {
        SCOPED_TRACE(runde);
        drueck("tbSchliessen");
        EXPECT_FALSE(p->isVisible());
        EXPECT_TRUE(fenster["Fangauswertung"]->isVisible());
        EXPECT_EQ(aktKey(), QString("Fangauswertung"));
        EXPECT_EQ(ole::widgetFromHandle(ole::Handle(gehostet())), fenster["Fangauswertung"]);
        drucke("vorschau");
        drucke("vorschau");
        EXPECT_TRUE(p->isVisible());
        EXPECT_FALSE(fenster["Fangauswertung"]->isVisible());
        EXPECT_EQ(seite->text(), "Seite 1" + von);
    }
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
}

} // namespace
