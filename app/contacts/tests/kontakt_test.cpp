// The contact editor: loading, inserting, updating, moving between categories and deleting,
// with the member records and the overview's counts and rows kept in step.
#include "kontakt_fixture.h"

#include "contacts/Datumsfeld.h"
#include "contacts/Katego.h"
#include "contacts/Kontakt.h"
#include "contacts/KontaktUebers.h"
#include "contacts/modKontakt.h"

#include "core/Main.h"
#include "core/modMain.h"
#include "core/plugins.h"

#include "com/variant.h"
#include "dao/oledate.h"
#include "ole/container.h"

#include "LzDateEdit.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QToolBar>

using namespace kontakttest;

namespace {

class Editor : public KontaktTest
{
protected:
    void SetUp() override
    {
        KontaktTest::SetUp();
        starte();
    }

    QAction *knopf(const char *key) { return uebersicht().findChild<QAction *>(QString::fromLatin1(key)); }

    static void waehle(QComboBox *cbo, const QString &text)
    {
        const int i = cbo->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        cbo->setCurrentIndex(i);
    }

    // A new contact typed into the editor that the overview's "tbKontakt" opens, saved with
    // "tbSpeichern"; extra runs before the save.
    void neuerKontakt(const QString &kategorie, const QString &nachname, const QString &vorname,
                      const std::function<void(Kontakt &)> &extra = {})
    {
        imEditor([&](Kontakt &k) {
            if (!kategorie.isEmpty())
                waehle(k.cboKatego, kategorie);
            tippe(k.txtNName, nachname);
            tippe(k.txtVName, vorname);
            if (extra)
                extra(k);
            klickeKnopf(k.tbSpeichern);
        });
        klickeKnopf(knopf("tbKontakt"));
        imEditor({});
    }

    // Opens a contact of an expanded category by a double-click and runs the steps in the editor.
    void bearbeite(int kategoNr, qlonglong knr, const std::function<void(Kontakt &)> &schritte)
    {
        if (marke(kategoNr) != QLatin1String("-"))
            klappe(kategoNr);
        imEditor(schritte);
        const int vorher = editorGezeigt;
        doppelklick(kategoNr, knr);
        imEditor({});
        ASSERT_EQ(editorGezeigt, vorher + 1);
    }

    // A click on the box or circle of a check box or option button, where a user clicks.
    void klickeAuswahl(QWidget *knopf) { klicke(knopf, QPoint(6, knopf->height() / 2)); }

    qlonglong letzterKontakt() { return zahl("SELECT MAX(KNr) FROM Kontakt"); }
};

// Types digits into a date field as a user does: the focus in, to its start, the digits.
void tippeDatum(contacts::Datumsfeld *feld, const QString &ziffern)
{
    QWidget *w = feld->steuerelement()->controlWidget();
    ASSERT_TRUE(w);
    // The field takes keys only with the focus, and a window manager activates the editor in its
    // own time.
    w->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w->window()));
    w->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([w] { return w->hasFocus(); }));
    QTest::keyClick(w, Qt::Key_Home);
    QTest::keyClicks(w, ziffern);
}

} // namespace

// ---- loading ------------------------------------------------------------------------------------

TEST_F(Editor, AMemberLoadsWithItsMemberDataInTheDateEditControls)
{
    bool geprueft = false;
    bearbeite(1, 1, [&](Kontakt &k) {
        EXPECT_EQ(k.lblKNr->text(), QString("1"));
        EXPECT_EQ(k.cboKatego->currentText(), QString("Mitglieder (aktiv)"));
        EXPECT_EQ(k.txtAnrede->text(), QString("Herr"));
        EXPECT_EQ(k.txtNName->text(), QString("Meier"));
        EXPECT_EQ(k.txtVName->text(), QString("Hans"));
        EXPECT_EQ(k.txtTelPriv->text(), QString("0421 123"));
        EXPECT_EQ(k.txtEMail->text(), QString("hans@meier.de"));
        EXPECT_TRUE(k.optMann->isChecked());
        EXPECT_TRUE(k.optNBefreit->isChecked());
        EXPECT_TRUE(k.optBezahlt->isChecked());
        EXPECT_EQ(k.txtAustritt->text(), QString());
        EXPECT_TRUE(k.optMann->isEnabled());
        EXPECT_TRUE(k.txtEintritt->isEnabled());

        // The date fields are the date-edit control, set to the German form.
        for (contacts::Datumsfeld *d : {k.txtGebDat, k.txtEintritt, k.txtAustritt}) {
            SCOPED_TRACE(d->objectName().toStdString());
            ASSERT_TRUE(d->hatSteuerelement());
            com::Variant sep, format;
            ASSERT_EQ(d->steuerelement()->getProperty(DISPID_LD_Separator, &sep), S_OK);
            ASSERT_EQ(d->steuerelement()->getProperty(DISPID_LD_DateFormat, &format), S_OK);
            EXPECT_EQ(com::toQString(sep.bstrVal), QString("."));
            EXPECT_EQ(format.iVal, lzdDdmmyyyy);
        }
        EXPECT_EQ(k.txtGebDat->text(), QString("24.12.1970"));
        EXPECT_EQ(k.txtEintritt->text(), QString("01.04.1990"));
        com::Variant s;
        ASSERT_EQ(k.txtGebDat->steuerelement()->getProperty(DISPID_LD_DateString, &s), S_OK);
        EXPECT_EQ(com::toQString(s.bstrVal), QString("24.12.1970"));
        geprueft = true;
    });
    EXPECT_TRUE(geprueft);
}

TEST_F(Editor, NullDatesBroughtInFromElsewhereOpenAsNoDate)
{
    sql("UPDATE Kontakt SET GebDatum = NULL WHERE KNr IN (1, 4)");
    sql("UPDATE Mitglied SET Eintritt = NULL, Austritt = NULL WHERE KNr = 1");
    const struct
    {
        int kategorie;
        qlonglong knr;
        const char *wer;
    } faelle[] = {{3, 4, "a supplier"}, {1, 1, "a member, entry and leaving Null too"}};
    for (const auto &f : faelle) {
        SCOPED_TRACE(f.wer);
        boxes.clear();
        bool gezeigt = false;
        bearbeite(f.kategorie, f.knr, [&](Kontakt &k) {
            gezeigt = true;
            EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
            EXPECT_EQ(k.lblKNr->text(), QString::number(f.knr));
            for (contacts::Datumsfeld *d : {k.txtGebDat, k.txtEintritt, k.txtAustritt})
                EXPECT_EQ(d->text(), QString()) << d->objectName().toStdString();
            klickeKnopf(k.tbSpeichern);
        });
        EXPECT_TRUE(gezeigt);
        EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
        EXPECT_EQ(feld("SELECT GebDatum FROM Kontakt WHERE KNr = ?", f.knr, "GebDatum").toDouble(), 0.0);
    }
}

TEST_F(Editor, MemberFieldsFollowTheCategoryAndKeepTheirValues)
{
    bearbeite(1, 2, [&](Kontakt &k) {
        EXPECT_TRUE(k.optFrau->isChecked());
        EXPECT_TRUE(k.optBefreit->isChecked());
        EXPECT_EQ(k.chkJG->checkState(), Qt::Checked);
        waehle(k.cboKatego, "Lieferanten");
        for (QWidget *w :
             std::initializer_list<QWidget *>{k.optMann, k.optFrau, k.optBefreit, k.optNBefreit, k.optBezahlt,
                                              k.optNBezahlt, k.txtEintritt, k.txtAustritt, k.chkJG})
            EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
        EXPECT_TRUE(k.chkEinzug->isEnabled());
        EXPECT_TRUE(k.optBefreit->isChecked());
        waehle(k.cboKatego, "Mitglieder (passiv)");
        EXPECT_TRUE(k.optBefreit->isEnabled());
    });
}

TEST_F(Editor, TheToolbarSwitchOnlyKnowsZeroAndOne)
{
    Kontakt &k = forms::form<Kontakt>();
    modKontakt::SetzeKontaktToolbar(0);
    for (QAction *a : {k.tbSpeichern, k.tbLoeschen, k.tbAnzLoeschen})
        EXPECT_FALSE(a->isEnabled());
    modKontakt::SetzeKontaktToolbar(2);
    EXPECT_FALSE(k.tbSpeichern->isEnabled());
    modKontakt::SetzeKontaktToolbar(1);
    for (QAction *a : {k.tbSpeichern, k.tbLoeschen, k.tbAnzLoeschen})
        EXPECT_TRUE(a->isEnabled());
}

// Save, delete and clear, each set apart by a separator line; the window's members are the
// bar's buttons.
TEST_F(Editor, TheToolbarSetsItsThreeButtonsApartBySeparators)
{
    Kontakt &k = forms::form<Kontakt>();
    const QList<QAction *> aktionen = k.Toolbar1->actions();
    ASSERT_EQ(aktionen.size(), 5);
    const QAction *erwartet[] = {k.tbSpeichern, nullptr, k.tbLoeschen, nullptr, k.tbAnzLoeschen};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        if (erwartet[i]) {
            EXPECT_EQ(aktionen[i], erwartet[i]);
            EXPECT_EQ(aktionen[i]->data().toString(), aktionen[i]->objectName());
        } else {
            EXPECT_TRUE(aktionen[i]->isSeparator());
        }
    }
    EXPECT_EQ(k.tbLoeschen->objectName(), QStringLiteral("tbLoeschen"));
}

TEST_F(Editor, TheMemberMenuOpensTheMemberReadOnly)
{
    forms::ListGrid tblMList;
    tblMList.addRow(QVariantList{3, QStringLiteral("Alt"), QStringLiteral("Paul")});
    core::einstiege().bereiche.tblMList = [&] { return &tblMList; };
    gv().lngDSNr = 0;
    bool gesperrt = false;
    imEditor([&](Kontakt &k) {
        EXPECT_EQ(k.txtNName->text(), QString("Alt"));
        gesperrt = !k.tbSpeichern->isEnabled() && !k.tbLoeschen->isEnabled() && !k.tbAnzLoeschen->isEnabled();
        k.Unload();
    });
    forms::form<Main>().mnuMitglInfo_Click();
    EXPECT_TRUE(gesperrt);
    EXPECT_EQ(editorGezeigt, 1);
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
}

TEST_F(Editor, AContactThatNoLongerExistsIsReportedAndNoEditorShows)
{
    forms::ListGrid liste;
    liste.addRow(QVariantList{99});
    modKontakt::loadKontakt(liste, 0);
    EXPECT_EQ(editorGezeigt, 0);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, DSFehlt);
}

// ---- inserting ----------------------------------------------------------------------------------

TEST_F(Editor, ANewMemberGetsItsMemberRecordAndTheCategoryItsCount)
{
    neuerKontakt("Mitglieder (aktiv)", "Kraft", "Rita", [&](Kontakt &k) {
        klickeAuswahl(k.optFrau);
        klickeAuswahl(k.optBefreit);
        klickeAuswahl(k.chkJG);
        k.txtEintritt->setText("15.03.2024");
        tippe(k.txtPLZ, "28x195");
    });
    ASSERT_EQ(boxes.count(), 0u) << texte(boxes);
    const qlonglong knr = letzterKontakt();
    EXPECT_EQ(knr, 8);
    EXPECT_EQ(kategorieVon(knr), 1);
    dao::Recordset m = gv().dbDaten.OpenRecordset("SELECT * FROM Mitglied WHERE KNr = ?", dao::dbOpenDynaset, {knr});
    ASSERT_EQ(m.RecordCount(), 1);
    EXPECT_EQ(m("Geschlecht").Value(), QVariant(false));
    EXPECT_EQ(m("Befreit").Value(), QVariant(true));
    EXPECT_EQ(m("Bezahlt").Value(), QVariant(false));
    EXPECT_EQ(m("JG").Value(), QVariant(true));
    EXPECT_EQ(m("Eintritt").Value().toDouble(), dao::ToOleDate(QDate(2024, 3, 15)));
    EXPECT_EQ(m("Austritt").Value().toDouble(), 0.0);
    m.Close();
    dao::Recordset k =
        gv().dbDaten.OpenRecordset("SELECT PLZ, GebDatum FROM Kontakt WHERE KNr = ?", dao::dbOpenDynaset, {knr});
    EXPECT_EQ(k("PLZ").Value().toString(), QString("28195")) << "the postal code takes digits only";
    EXPECT_EQ(k("GebDatum").Value().toDouble(), 0.0);
    k.Close();

    // The category was collapsed: count up, a fresh placeholder list.
    EXPECT_EQ(name(1), QString("Mitglieder (aktiv)  [3]"));
    EXPECT_EQ(knrListe(1), QStringList({"0"}));
    // The editor stays open, emptied, for the next contact.
    Kontakt &ed = forms::form<Kontakt>();
    EXPECT_EQ(ed.lblKNr->text(), QString());
    EXPECT_EQ(ed.txtNName->text(), QString());
    EXPECT_EQ(ed.cboKatego->currentIndex(), -1);
    EXPECT_EQ(gv().strModus, QString("SAVE"));

    klappe(1);
    EXPECT_EQ(knrListe(1), QStringList({"1", "2", "8"}));
}

TEST_F(Editor, ANewContactStartsWithTheYouthGroupBoxEmpty)
{
    // A youth member saved, then the next member typed into the emptied editor, then one more
    // from the overview's button: only the first is in the youth group.
    bool leer = false;
    imEditor([&](Kontakt &k) {
        waehle(k.cboKatego, "Mitglieder (aktiv)");
        tippe(k.txtNName, "Jung");
        tippe(k.txtVName, "Jonas");
        klickeAuswahl(k.chkJG);
        ASSERT_EQ(k.chkJG->checkState(), Qt::Checked);
        klickeKnopf(k.tbSpeichern);
        leer = k.chkJG->checkState() == Qt::Unchecked;
        waehle(k.cboKatego, "Mitglieder (aktiv)");
        tippe(k.txtNName, "Anders");
        tippe(k.txtVName, "Anna");
        klickeKnopf(k.tbSpeichern);
    });
    klickeKnopf(knopf("tbKontakt"));
    EXPECT_TRUE(leer) << "the emptied editor keeps no tick";
    neuerKontakt("Mitglieder (passiv)", "Weit", "Wim");
    ASSERT_EQ(boxes.count(), 0u) << texte(boxes);
    const struct
    {
        const char *nachname;
        bool jg;
    } faelle[] = {{"Jung", true}, {"Anders", false}, {"Weit", false}};
    for (const auto &f : faelle) {
        SCOPED_TRACE(f.nachname);
        const qlonglong knr = zahl("SELECT KNr FROM Kontakt WHERE Nachname = ?", {QString(f.nachname)});
        ASSERT_GT(knr, 7);
        EXPECT_EQ(feld("SELECT JG FROM Mitglied WHERE KNr = ?", knr, "JG").toBool(), f.jg);
    }
}

TEST_F(Editor, TheOverviewWritesEveryBirthDateDayFirstAsTheEditorLeavesIt)
{
    sql("UPDATE Kontakt SET GebDatum = ? WHERE KNr = 4", {dao::ToOleDate(QDate(1975, 3, 12))});
    klappe(3);
    forms::GridList *l = liste(3);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->text(0, 8), QString("12.03.1975"));
    EXPECT_EQ(l->text(1, 8), QString()) << "no birth date";

    // Changed in the editor: the row shows the new date the same way; taken away: empty.
    const struct
    {
        qlonglong knr;
        int zeile;
        const char *eingabe, *gezeigt;
    } faelle[] = {{5, 1, "30.05.1990", "30.05.1990"}, {5, 1, "1.2.1960", "01.02.1960"}, {4, 0, "", ""}};
    for (const auto &f : faelle) {
        SCOPED_TRACE(f.eingabe);
        boxes.clear();
        bearbeite(3, f.knr, [&](Kontakt &k) {
            k.txtGebDat->setText(QString::fromLatin1(f.eingabe));
            klickeKnopf(k.tbSpeichern);
        });
        ASSERT_EQ(boxes.count(), 0u) << texte(boxes);
        l = liste(3);
        ASSERT_NE(l, nullptr);
        EXPECT_EQ(l->text(f.zeile, 8), QString::fromLatin1(f.gezeigt));
    }
    // A new contact's row and the rows read afresh alike.
    neuerKontakt("Lieferanten", "Hake", "Udo", [&](Kontakt &k) { k.txtGebDat->setText("09.11.1989"); });
    ASSERT_EQ(boxes.count(), 0u) << texte(boxes);
    l = liste(3);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->text(l->rowCount() - 1, 8), QString("09.11.1989"));
    klappe(3);
    klappe(3);
    l = liste(3);
    ASSERT_NE(l, nullptr);
    QStringList daten;
    for (int r = 0; r < l->rowCount(); ++r)
        daten << l->text(r, 8);
    EXPECT_EQ(daten, QStringList({"", "01.02.1960", "", "09.11.1989"}));
}

TEST_F(Editor, AnExpandedCategoryListsTheNewContactAndNoMemberRecordIsMadeOutsideTheMemberCategories)
{
    klappe(3);
    neuerKontakt("Lieferanten", "Hake", "Udo", [&](Kontakt &k) { tippe(k.txtFirma, "Haken & Ösen"); });
    const qlonglong knr = letzterKontakt();
    EXPECT_EQ(kategorieVon(knr), 3);
    EXPECT_FALSE(mitglied(knr));
    EXPECT_EQ(name(3), QString("Lieferanten  [4]"));
    ASSERT_EQ(knrListe(3), QStringList({"4", "5", "6", QString::number(knr)}));
    forms::GridList *l = liste(3);
    EXPECT_EQ(l->text(3, 1), QString(" "));
    EXPECT_EQ(l->text(3, 2), QString("Haken & Ösen"));
    EXPECT_EQ(l->text(3, 4), QString("Hake"));

    // A category without contacts gets its first one with a count and a list.
    neuerKontakt("Ohne", "Erst", "Ella");
    EXPECT_EQ(name(5), QString("Ohne  [1]"));
    ASSERT_NE(liste(5), nullptr);
    EXPECT_EQ(liste(5)->columnCount(), 10);
}

TEST_F(Editor, RefusedInputShowsTheMessageAndWritesNothing)
{
    // A category the editor's list offers but the database no longer knows (deleted by another
    // window) is refused like an empty one: no contact is ever stored under category 0.
    Kontakt &k0 = forms::form<Kontakt>();
    k0.cboKatego->addItem(QStringLiteral("Gelöschte Kategorie"));
    struct Fall
    {
        const char *wie;
        QString kategorie, nachname, vorname;
    };
    const Fall faelle[] = {
        {"empty surname", "Lieferanten", "", "Udo"},
        {"empty first name", "Lieferanten", "Hake", ""},
        {"blanks only", "Lieferanten", "   ", "Udo"},
        {"no category", "", "Hake", "Udo"},
        {"unknown category", "Gelöschte Kategorie", "Hake", "Udo"},
    };
    const long long vorher = zahl("SELECT COUNT(*) FROM Kontakt");
    for (const Fall &f : faelle) {
        SCOPED_TRACE(f.wie);
        boxes.clear();
        neuerKontakt(f.kategorie, f.nachname, f.vorname);
        ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
        EXPECT_EQ(boxes.last().text, Eingabefehler);
        EXPECT_EQ(zahl("SELECT COUNT(*) FROM Kontakt"), vorher);
        EXPECT_EQ(zahl("SELECT COUNT(*) FROM Kontakt WHERE KategoNr = 0"), 0);
        // What was typed stays for correction.
        EXPECT_EQ(forms::form<Kontakt>().txtNName->text(), f.nachname);
        modKontakt::LeereKontaktFelder();
    }
    EXPECT_EQ(name(3), QString("Lieferanten  [3]"));
}

TEST_F(Editor, ADayTypedThatDoesNotExistIsAnInputErrorAndNothingIsWritten)
{
    // Day and month as the user types them into the date-edit control: Home, then digits over
    // the fields. The date control tells whether the day exists; the editor asks it.
    const QDate tag30Juni(1950, 6, 30);
    sql("UPDATE Kontakt SET GebDatum = ? WHERE KNr = 1", {dao::ToOleDate(tag30Juni)});
    sql("UPDATE Mitglied SET Eintritt = ?, Austritt = ? WHERE KNr = 1",
        {dao::ToOleDate(tag30Juni), dao::ToOleDate(tag30Juni)});
    struct Fall
    {
        const char *feld;
        contacts::Datumsfeld *Kontakt::*datum;
        dao::Sql abfrage;
        const char *spalte;
    };
    const Fall faelle[] = {
        {"Geb. - Datum", &Kontakt::txtGebDat, "SELECT GebDatum FROM Kontakt WHERE KNr = ?", "GebDatum"},
        {"Aufn.- Datum", &Kontakt::txtEintritt, "SELECT Eintritt FROM Mitglied WHERE KNr = ?", "Eintritt"},
        {"Austrittsdatum", &Kontakt::txtAustritt, "SELECT Austritt FROM Mitglied WHERE KNr = ?", "Austritt"},
    };
    for (const Fall &f : faelle) {
        SCOPED_TRACE(f.feld);
        boxes.clear();
        bearbeite(1, 1, [&](Kontakt &k) {
            contacts::Datumsfeld *feld = k.*f.datum;
            ASSERT_EQ(feld->text(), QString("30.06.1950"));
            tippeDatum(feld, QStringLiteral("31"));
            klickeKnopf(k.tbSpeichern);
            ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
            EXPECT_EQ(boxes.last().text, Eingabefehler);
            EXPECT_FALSE(k.isUnloaded()) << "the editor stays open for correction";
            EXPECT_EQ(gv().strModus, QString("EDIT"));
            forms::unload<Kontakt>();
        });
        EXPECT_EQ(feld(f.abfrage, 1, f.spalte).toDouble(), dao::ToOleDate(tag30Juni));
    }

    // A new contact with a day that does not exist is not stored without its date.
    const long long vorher = zahl("SELECT COUNT(*) FROM Kontakt");
    boxes.clear();
    neuerKontakt("Lieferanten", "Hake", "Udo",
                 [&](Kontakt &k) { tippeDatum(k.txtGebDat, QStringLiteral("31021999")); });
    ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
    EXPECT_EQ(boxes.last().text, Eingabefehler);
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Kontakt"), vorher);
    EXPECT_EQ(forms::form<Kontakt>().txtNName->text(), QString("Hake")) << "what was typed stays";
}

// A real box takes the focus from the field the user typed in; the date control then makes the
// impossible day the month's last. The refusal leaves no such day behind for the next save, and
// a loaded member's field shows its stored day again, so that the next save keeps it.
TEST_F(Editor, ARefusedImpossibleDayDoesNotTurnIntoAnotherDayThatTheNextSaveStores)
{
    struct Fokusnahme : forms::MsgBoxService
    {
        forms::MsgBoxService *weiter = nullptr;
        int show(const QString &text, int flags, const QString &title) override
        {
            if (QWidget *w = QApplication::focusWidget())
                w->clearFocus();
            return weiter->show(text, flags, title);
        }
    } box;
    box.weiter = forms::setMsgBoxService(&box);
    const double vorher = dao::ToOleDate(QDate(1990, 4, 1));
    ASSERT_EQ(feld("SELECT Eintritt FROM Mitglied WHERE KNr = ?", 1, "Eintritt").toDouble(), vorher);
    boxes.clear();
    bearbeite(1, 1, [&](Kontakt &k) {
        tippeDatum(k.txtEintritt, QStringLiteral("31061950"));
        ASSERT_FALSE(k.txtEintritt->gueltig());
        klickeKnopf(k.tbSpeichern);
        ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
        EXPECT_EQ(boxes.last().text, Eingabefehler);
        EXPECT_NE(k.txtEintritt->text(), QString("30.06.1950"));
        EXPECT_EQ(k.txtEintritt->text(), QString("01.04.1990"));
        EXPECT_TRUE(k.txtEintritt->gueltig());
        // A second save stores the member with the day it had.
        klickeKnopf(k.tbSpeichern);
        EXPECT_EQ(boxes.count(), 1u) << texte(boxes);
        EXPECT_TRUE(k.isUnloaded());
    });
    EXPECT_EQ(feld("SELECT Eintritt FROM Mitglied WHERE KNr = ?", 1, "Eintritt").toDouble(), vorher);

    // A new contact with 31.02.1999: refused, and the field does not become 28.02.1999.
    const long long anzahl = zahl("SELECT COUNT(*) FROM Kontakt");
    boxes.clear();
    neuerKontakt("Lieferanten", "Hake", "Udo", [&](Kontakt &k) {
        tippeDatum(k.txtGebDat, QStringLiteral("31021999"));
        klickeKnopf(k.tbSpeichern);
        ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
        EXPECT_EQ(boxes.count(Eingabefehler), 1u) << texte(boxes);
        EXPECT_TRUE(k.txtGebDat->text().isEmpty()) << k.txtGebDat->text().toStdString();
    });
    EXPECT_EQ(boxes.count(), 1u) << texte(boxes);
    // The second save stored the contact without a birth date, never with 28.02.1999.
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Kontakt"), anzahl + 1);
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Kontakt WHERE GebDatum = ?", {dao::ToOleDate(QDate(1999, 2, 28))}), 0);
    forms::setMsgBoxService(box.weiter);
}

TEST_F(Editor, QuotesAndSemicolonsAreStoredAsTyped)
{
    const QString name = QStringLiteral("O'Brien'); DROP TABLE Kontakt;--");
    const QString firma = QStringLiteral("\"Hecht\" & Co; KG");
    neuerKontakt("Lieferanten", name, "Sean", [&](Kontakt &k) { tippe(k.txtFirma, firma); });
    ASSERT_EQ(boxes.count(), 0u) << texte(boxes);
    const qlonglong knr = letzterKontakt();
    dao::Recordset rs =
        gv().dbDaten.OpenRecordset("SELECT Nachname, Firma FROM Kontakt WHERE KNr = ?", dao::dbOpenDynaset, {knr});
    EXPECT_EQ(rs("Nachname").Value().toString(), name);
    EXPECT_EQ(rs("Firma").Value().toString(), firma);
    rs.Close();
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Kontakt"), 8);
    EXPECT_EQ(modKontakt::ErmittleKategoNr(QStringLiteral("x' OR '1'='1")), 0);

    klappe(3);
    EXPECT_EQ(liste(3)->text(3, 4), name);
    // It loads back unchanged.
    bearbeite(3, knr, [&](Kontakt &k) {
        EXPECT_EQ(k.txtNName->text(), name);
        EXPECT_EQ(k.txtFirma->text(), firma);
    });
}

TEST_F(Editor, AFailedMemberWriteLeavesNoContactBehindAndTheOverviewUnchanged)
{
    // The member record cannot be written (a rule of the database refuses it).
    sql("CREATE TRIGGER kein_mitglied BEFORE INSERT ON Mitglied BEGIN SELECT RAISE(ABORT, 'gesperrt'); END");
    const long long vorher = zahl("SELECT COUNT(*) FROM Kontakt");
    neuerKontakt("Mitglieder (passiv)", "Halb", "Hanna");
    ASSERT_GE(boxes.count(), 1u);
    EXPECT_TRUE(boxes.boxes().front().title.startsWith("Runtime - Error: ")) << texte(boxes);
    EXPECT_TRUE(boxes.boxes().front().text.startsWith(
        "Unvorhergesehener Fehler in Modul: modKontakt / Routine: SpeicherKontakt !"))
        << texte(boxes);
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Kontakt"), vorher);
    EXPECT_EQ(name(2), QString("Mitglieder (passiv)  [1]"));
    EXPECT_EQ(forms::form<Kontakt>().txtNName->text(), QString("Halb"));
}

// ---- updating and moving -----------------------------------------------------------------------

TEST_F(Editor, SavingInTheSameCategoryRewritesOnlyTheContactsRow)
{
    bearbeite(3, 5, [&](Kontakt &k) {
        tippe(k.txtFirma, "Köder-Müller GmbH");
        tippe(k.txtFax, "0421-77");
        klickeKnopf(k.tbSpeichern);
    });
    ASSERT_EQ(boxes.count(), 0u) << texte(boxes);
    EXPECT_FALSE(forms::isLoaded<Kontakt>());
    EXPECT_EQ(gv().strModus, QString("SAVE"));
    EXPECT_EQ(name(3), QString("Lieferanten  [3]"));
    ASSERT_EQ(knrListe(3), QStringList({"4", "5", "6"}));
    EXPECT_EQ(liste(3)->text(1, 2), QString("Köder-Müller GmbH"));
    EXPECT_EQ(liste(3)->text(1, 7), QString("0421-77"));
    dao::Recordset rs = gv().dbDaten.OpenRecordset("SELECT Firma, Fax FROM Kontakt WHERE KNr = 5");
    EXPECT_EQ(rs("Firma").Value().toString(), QString("Köder-Müller GmbH"));
    EXPECT_EQ(rs("Fax").Value().toString(), QString("0421-77"));
}

TEST_F(Editor, AMemberMovedOutOfTheMemberCategoriesAndBackLosesAndRegainsItsMemberRecord)
{
    klappe(3);
    bearbeite(1, 2, [&](Kontakt &k) {
        waehle(k.cboKatego, "Lieferanten");
        klickeKnopf(k.tbSpeichern);
    });
    ASSERT_EQ(boxes.count(), 0u) << texte(boxes);
    EXPECT_EQ(kategorieVon(2), 3);
    EXPECT_FALSE(mitglied(2));
    EXPECT_EQ(name(1), QString("Mitglieder (aktiv)  [1]"));
    EXPECT_EQ(name(3), QString("Lieferanten  [4]"));
    EXPECT_EQ(knrListe(1), QStringList({"1"}));
    EXPECT_EQ(knrListe(3), QStringList({"4", "5", "6", "2"}));

    // Back into a member category: a member record with the editor's member fields.
    bearbeite(3, 2, [&](Kontakt &k) {
        waehle(k.cboKatego, "Mitglieder (passiv)");
        klickeAuswahl(k.optBezahlt);
        klickeKnopf(k.tbSpeichern);
    });
    ASSERT_EQ(boxes.count(), 0u) << texte(boxes);
    EXPECT_EQ(kategorieVon(2), 2);
    ASSERT_TRUE(mitglied(2));
    EXPECT_EQ(zahl("SELECT Bezahlt FROM Mitglied WHERE KNr = 2"), 1);
    EXPECT_EQ(name(3), QString("Lieferanten  [3]"));
    EXPECT_EQ(name(2), QString("Mitglieder (passiv)  [2]"));
    EXPECT_EQ(knrListe(3), QStringList({"4", "5", "6"}));
    EXPECT_EQ(knrListe(2), QStringList({"0", "2"}));

    // Between the two member categories the record is kept, with the editor's fields.
    bearbeite(1, 1, [&](Kontakt &k) {
        waehle(k.cboKatego, "Mitglieder (passiv)");
        klickeKnopf(k.tbSpeichern);
    });
    EXPECT_TRUE(mitglied(1));
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Arbeit WHERE KNr = 1"), 1);
    EXPECT_EQ(name(1), QString("Mitglieder (aktiv)"));
    EXPECT_EQ(liste(1), nullptr) << "the last contact moved away takes the list with it";
    EXPECT_EQ(name(2), QString("Mitglieder (passiv)  [3]"));
}

TEST_F(Editor, TheFirstContactOfAnEmptyCategoryGetsAListWithLayoutAndColours)
{
    bearbeite(4, 7, [&](Kontakt &k) {
        waehle(k.cboKatego, "Ohne");
        klickeKnopf(k.tbSpeichern);
    });
    EXPECT_EQ(name(4), QString("Behörden"));
    EXPECT_EQ(liste(4), nullptr);
    EXPECT_EQ(name(5), QString("Ohne  [1]"));
    forms::GridList *l = liste(5);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->columnCaption(0), QString("Kontakt.-Nr"));
    EXPECT_EQ(l->appearance().backColor(), 0x00F7C7ACu);
    EXPECT_EQ(knrListe(5), QStringList({"7"}));
}

TEST_F(Editor, AFailedCheckOrAFailedWriteWhileEditingStaysInEditAndInsertsNoDuplicate)
{
    bearbeite(3, 4, [&](Kontakt &k) {
        tippe(k.txtNName, "");
        klickeKnopf(k.tbSpeichern);
        EXPECT_EQ(gv().strModus, QString("EDIT"));
        ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
        EXPECT_EQ(boxes.last().text, Eingabefehler);
        EXPECT_FALSE(k.isUnloaded());
        // Corrected, the next save changes the same contact.
        tippe(k.txtNName, "Norden");
        klickeKnopf(k.tbSpeichern);
    });
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Kontakt"), 7);
    dao::Recordset rs = gv().dbDaten.OpenRecordset("SELECT Nachname FROM Kontakt WHERE KNr = 4");
    EXPECT_EQ(rs(0).Value().toString(), QString("Norden"));
    rs.Close();

    // A write the database refuses: the error box, the contact stays loaded and unchanged.
    sql("CREATE TRIGGER kein_umzug BEFORE UPDATE OF KategoNr ON Kontakt BEGIN SELECT RAISE(ABORT, 'gesperrt'); END");
    boxes.clear();
    bearbeite(3, 4, [&](Kontakt &k) {
        waehle(k.cboKatego, "Mitglieder (aktiv)");
        klickeKnopf(k.tbSpeichern);
        EXPECT_EQ(gv().strModus, QString("EDIT"));
        EXPECT_FALSE(k.isUnloaded());
        k.Unload();
    });
    EXPECT_TRUE(boxes.boxes().front().title.startsWith("Runtime - Error: ")) << texte(boxes);
    EXPECT_EQ(kategorieVon(4), 3);
    EXPECT_FALSE(mitglied(4));
    EXPECT_EQ(name(3), QString("Lieferanten  [3]"));
    EXPECT_EQ(name(1), QString("Mitglieder (aktiv)  [2]"));
}

TEST_F(Editor, AnUpdateFromTheSearchChangesOnlyCountsOfCollapsedCategories)
{
    // The search dialog's result list: column 0 the contact number.
    forms::ListGrid tblSuch;
    tblSuch.addRow(QVariantList{1, QStringLiteral("Mitglieder (aktiv)"), QString(), QStringLiteral("Meier")});
    auto &g = gv();
    imEditor([&](Kontakt &k) {
        waehle(k.cboKatego, "Behörden");
        klickeKnopf(k.tbSpeichern);
    });
    g.strModus = QStringLiteral("EDIT");
    g.blnAusSuche = true;
    modKontakt::loadKontakt(tblSuch, 0);
    g.blnAusSuche = false;
    g.strModus = QStringLiteral("SAVE");
    ASSERT_EQ(boxes.count(), 0u) << texte(boxes);
    EXPECT_EQ(kategorieVon(1), 4);
    EXPECT_FALSE(mitglied(1));
    EXPECT_EQ(name(1), QString("Mitglieder (aktiv)  [1]"));
    EXPECT_EQ(name(4), QString("Behörden  [2]"));
    EXPECT_EQ(knrListe(1), QStringList({"0"}));
    EXPECT_EQ(knrListe(4), QStringList({"0"}));

    // Expanded categories show the move.
    klappe(4);
    klappe(2);
    imEditor([&](Kontakt &k) {
        waehle(k.cboKatego, "Mitglieder (passiv)");
        klickeKnopf(k.tbSpeichern);
    });
    g.strModus = QStringLiteral("EDIT");
    g.blnAusSuche = true;
    modKontakt::loadKontakt(tblSuch, 0);
    g.blnAusSuche = false;
    EXPECT_EQ(knrListe(4), QStringList({"7"}));
    EXPECT_EQ(knrListe(2), QStringList({"3", "1"}));
    EXPECT_EQ(name(2), QString("Mitglieder (passiv)  [2]"));
    EXPECT_TRUE(mitglied(1));
}

// ---- deleting -----------------------------------------------------------------------------------

TEST_F(Editor, DeleteAsksFirstNoKeepsTheContactLoadedYesDeletesItWithItsMemberDataAndHours)
{
    klappe(1);
    boxes.answer(forms::vbNo);
    bearbeite(1, 1, [&](Kontakt &k) {
        klickeKnopf(k.tbLoeschen);
        ASSERT_EQ(boxes.count(), 1u);
        EXPECT_EQ(boxes.last().text, Loeschfrage);
        EXPECT_EQ(boxes.last().title, QString("Torvana"));
        EXPECT_EQ(boxes.last().flags & 0x7, forms::vbYesNo);
        EXPECT_EQ(gv().strModus, QString("EDIT"));
        EXPECT_FALSE(k.isUnloaded());
        // Still the loaded contact: the next save changes it.
        tippe(k.txtTelPriv, "0421 555");
        klickeKnopf(k.tbSpeichern);
    });
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Kontakt"), 7);
    EXPECT_TRUE(mitglied(1));
    EXPECT_EQ(liste(1)->text(0, 6), QString("0421 555"));

    boxes.clear();
    boxes.answer(forms::vbYes);
    bearbeite(1, 1, [&](Kontakt &k) { klickeKnopf(k.tbLoeschen); });
    EXPECT_FALSE(forms::isLoaded<Kontakt>());
    EXPECT_EQ(gv().strModus, QString("SAVE"));
    EXPECT_EQ(kategorieVon(1), -1);
    EXPECT_FALSE(mitglied(1));
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Arbeit WHERE KNr = 1"), 0);
    EXPECT_EQ(name(1), QString("Mitglieder (aktiv)  [1]"));
    EXPECT_EQ(knrListe(1), QStringList({"2"}));

    // The only contact of an expanded category: bare name, collapsed, no list left.
    boxes.answer(forms::vbYes);
    bearbeite(4, 7, [&](Kontakt &k) { klickeKnopf(k.tbLoeschen); });
    EXPECT_EQ(name(4), QString("Behörden"));
    EXPECT_EQ(marke(4), QString("+"));
    EXPECT_EQ(liste(4), nullptr);
}

TEST_F(Editor, DeleteTakesTheCategoryFromTheStoredRecord)
{
    boxes.answer(forms::vbYes);
    bearbeite(3, 6, [&](Kontakt &k) {
        waehle(k.cboKatego, "Behörden");
        klickeKnopf(k.tbLoeschen);
    });
    EXPECT_EQ(kategorieVon(6), -1);
    EXPECT_EQ(name(3), QString("Lieferanten  [2]"));
    EXPECT_EQ(knrListe(3), QStringList({"4", "5"}));
    EXPECT_EQ(name(4), QString("Behörden  [1]"));
}

TEST_F(Editor, AContactDeletedMeanwhileIsReportedAndNothingIsWritten)
{
    klappe(3);
    boxes.answer(forms::vbYes);
    bearbeite(3, 5, [&](Kontakt &k) {
        sql("DELETE FROM Kontakt WHERE KNr = 5"); // another window
        klickeKnopf(k.tbLoeschen);
        ASSERT_EQ(boxes.count(), 2u) << texte(boxes);
        EXPECT_EQ(boxes.last().text, DSFehlt);
        EXPECT_FALSE(k.isUnloaded()) << "the editor stays open";
        EXPECT_EQ(gv().strModus, QString("SAVE"));
        // The fields go with the mode: the next save does not bring the contact back as a new
        // one, it stops at the input check.
        EXPECT_TRUE(k.lblKNr->text().isEmpty());
        EXPECT_TRUE(k.txtNName->text().isEmpty());
        EXPECT_TRUE(k.txtGebDat->text().isEmpty());
        klickeKnopf(k.tbSpeichern);
        EXPECT_EQ(boxes.last().text, Eingabefehler);
    });
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Kontakt"), 6);
    EXPECT_EQ(name(3), QString("Lieferanten  [3]"));
    EXPECT_EQ(knrListe(3), QStringList({"4", "5", "6"}));
}

TEST_F(Editor, TheCountBehindANameWithBracketsIsTheNumberOfContacts)
{
    // The category is made in the category window, as the user does.
    klickeKnopf(knopf("tbKatego"));
    Katego &katego = forms::form<Katego>();
    tippe(katego.txtKatego, QStringLiteral("Jugend [U18]"));
    klickeKnopf(katego.findChild<QAction *>(QStringLiteral("tbSpeichern")));
    klickeKnopf(katego.findChild<QAction *>(QStringLiteral("tbEsc")));
    ASSERT_EQ(boxes.count(), 0u) << texte(boxes);
    const int jugend = 6;
    ASSERT_EQ(name(jugend), QString("Jugend [U18]"));

    const QString kategorie = QStringLiteral("Jugend [U18]");
    std::vector<qlonglong> neu;
    const auto fuegeHinzu = [&](const char *nachname) {
        neuerKontakt(kategorie, QString::fromLatin1(nachname), QStringLiteral("Kim"));
        neu.push_back(letzterKontakt());
    };
    const auto loesche = [&](qlonglong knr) {
        boxes.answer(forms::vbYes);
        bearbeite(jugend, knr, [&](Kontakt &k) { klickeKnopf(k.tbLoeschen); });
    };
    const auto verschiebe = [&](qlonglong knr) {
        bearbeite(jugend, knr, [&](Kontakt &k) {
            waehle(k.cboKatego, QStringLiteral("Lieferanten"));
            klickeKnopf(k.tbSpeichern);
        });
    };
    const struct
    {
        const char *schritt;
        std::function<void()> tue;
        const char *jugendZeigt;
        const char *lieferantenZeigen;
    } schritte[] = {
        {"first contact", [&] { fuegeHinzu("Ahn"); }, "Jugend [U18]  [1]", "Lieferanten  [3]"},
        {"second contact", [&] { fuegeHinzu("Berg"); }, "Jugend [U18]  [2]", "Lieferanten  [3]"},
        {"third contact", [&] { fuegeHinzu("Cordes"); }, "Jugend [U18]  [3]", "Lieferanten  [3]"},
        {"third moved away", [&] { verschiebe(neu[2]); }, "Jugend [U18]  [2]", "Lieferanten  [4]"},
        {"first deleted", [&] { loesche(neu[0]); }, "Jugend [U18]  [1]", "Lieferanten  [4]"},
        {"last deleted", [&] { loesche(neu[1]); }, "Jugend [U18]", "Lieferanten  [4]"},
    };
    for (const auto &s : schritte) {
        SCOPED_TRACE(s.schritt);
        s.tue();
        EXPECT_EQ(name(jugend), QString::fromUtf8(s.jugendZeigt)) << texte(boxes);
        EXPECT_EQ(name(3), QString::fromUtf8(s.lieferantenZeigen));
        boxes.clear();
    }
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Kontakt WHERE KategoNr = ?", {jugend}), 0);
}

TEST_F(Editor, ACountIsNeverLoweredBelowTheBareName)
{
    // A contact that came after the start-up: its category still shows no count.
    sql("INSERT INTO Kontakt (KNr, KategoNr, Nachname, Vorname) VALUES (30, 5, 'Spät', 'Sam')");
    forms::ListGrid liste;
    liste.addRow(QVariantList{30});
    boxes.answer(forms::vbYes);
    imEditor([&](Kontakt &k) { klickeKnopf(k.tbLoeschen); });
    gv().strModus = QStringLiteral("EDIT");
    modKontakt::loadKontakt(liste, 0);
    EXPECT_EQ(kategorieVon(30), -1);
    EXPECT_EQ(name(5), QString("Ohne"));
    EXPECT_FALSE(name(5).contains("[-1]"));
}

TEST_F(Editor, TheYearlyResetMarksEveryMemberAsNotPaid)
{
    ASSERT_EQ(zahl("SELECT COUNT(*) FROM Mitglied WHERE Bezahlt <> 0"), 1);
    EXPECT_TRUE(modKontakt::ReinitialisiereJB());
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Mitglied WHERE Bezahlt <> 0"), 0);
    EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(Editor, CategoryLookupsByNameAndNumber)
{
    EXPECT_EQ(modKontakt::ErmittleKategoNr("Behörden"), 4);
    EXPECT_EQ(modKontakt::ErmittleKategoNr("BEHÖRDEN"), 4);
    EXPECT_EQ(modKontakt::ErmittleKategoNr("Vereine"), 0);
    EXPECT_EQ(modKontakt::ErmittleKategoNr(""), 0);
    EXPECT_EQ(modKontakt::ErmittleKategoName(2), QString("Mitglieder (passiv)"));
    EXPECT_EQ(modKontakt::ErmittleKategoName(99), QString());
    // Two categories of one name: neither is meant.
    sql("INSERT INTO Katego (KategoNr, Kategorie) VALUES (6, 'Behörden')");
    EXPECT_EQ(modKontakt::ErmittleKategoNr("Behörden"), 0);
    EXPECT_EQ(boxes.count(), 0u);
}

// ---- a category table that cannot be read -------------------------------------------------------

// The category is looked up when a contact is saved or searched; a look-up that fails is
// reported by its own box alone: the input is not blamed and nothing is written.
TEST_F(Editor, AFailedCategoryLookUpIsReportedOnceAndTheInputIsNotBlamed)
{
    const QString Kopf = QStringLiteral("Unvorhergesehener Fehler in Modul: modKontakt / Routine: ErmittleKategoNr !");
    const long long kontakte = zahl("SELECT COUNT(*) FROM Kontakt");
    const auto katego = [&](bool weg) {
        if (weg)
            sql("ALTER TABLE Katego RENAME TO KategoWeg");
        else
            sql("ALTER TABLE KategoWeg RENAME TO Katego");
    };
    const auto einFehler = [&] {
        ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
        EXPECT_EQ(boxes.last().title, QString("Runtime - Error: 3078"));
        EXPECT_TRUE(boxes.last().text.startsWith(Kopf)) << boxes.last().text.toStdString();
    };
    {
        SCOPED_TRACE("a changed contact");
        boxes.clear();
        bearbeite(3, 4, [&](Kontakt &k) {
            tippe(k.txtNName, QStringLiteral("Nordmann"));
            katego(true);
            klickeKnopf(k.tbSpeichern);
            katego(false);
            einFehler();
            EXPECT_FALSE(k.isUnloaded()) << "the editor stays open for another try";
            EXPECT_EQ(gv().strModus, QString("EDIT"));
            forms::unload<Kontakt>();
        });
        EXPECT_EQ(feld("SELECT Nachname FROM Kontakt WHERE KNr = ?", 4, "Nachname").toString(), QString("Nord"));
    }
    {
        SCOPED_TRACE("a new contact");
        boxes.clear();
        neuerKontakt("Lieferanten", "Hake", "Udo", [&](Kontakt &) { katego(true); });
        katego(false);
        einFehler();
        EXPECT_EQ(zahl("SELECT COUNT(*) FROM Kontakt"), kontakte);
        EXPECT_EQ(forms::form<Kontakt>().txtNName->text(), QString("Hake")) << "what was typed stays";
        forms::unload<Kontakt>();
    }
}

TEST_F(Editor, ACategoryTableThatCannotBeReadIsReportedOnceByTheLookUp)
{
    klappe(3);
    sql("ALTER TABLE Katego RENAME TO KategoWeg");
    boxes.clear();
    bool geladen = false;
    bearbeite(3, 4, [&](Kontakt &k) {
        geladen = true;
        EXPECT_EQ(k.txtNName->text(), QString("Nord"));
    });
    EXPECT_TRUE(geladen);
    ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
    EXPECT_EQ(boxes.last().title, QString("Runtime - Error: 3078"));
    EXPECT_EQ(boxes.last().text,
              QString("Unvorhergesehener Fehler in Modul: modKontakt / Routine: ErmittleKategoName !\n\r"
                      "Beschreibung: Die Tabelle oder Abfrage 'Katego' wurde nicht gefunden."));
}
