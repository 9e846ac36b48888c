// The catch evaluation and the stocking plan in the program as the user starts it: logged in,
// the main window shown, the windows opened from the navigation bar.
#include "fishery/Besatzung.h"
#include "fishery/Fangauswertung.h"
#include "fishery/Fangbuch.h"

#include "core/Main.h"
#include "core/modGVar.h"
#include "core/modMain.h"
#include "core/testing/program_fixture.h"

#include "forms/listgrid.h"

#include "common/testing/file_mode.h"
#include "report/fakeprinters.h"
#include "testsupport/killpoint.h"
#include "testsupport/today.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <csignal>

namespace {

// The navigation bar's library, registered once for the whole run.
apptest::Steuerelemente *g_navrail = apptest::RegistriereSteuerelemente({TORVANA_NAVRAIL_LIBRARY});

const QString Eingabefehler = QStringLiteral("ACHTUNG: Eingabefelder nicht korrekt, Vorgang abgebrochen !");
const QString KeineDruckdaten = QStringLiteral("Keine Daten zum Drucken vorhanden, Vorgang wird abgebrochen !");

class FischereiImProgramm : public apptest::MainTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(g_navrail->registriert());
        MainTest::SetUp();
        if (HasFatalFailure())
            return;
        // The catch year is this year: the login offers no roll-over.
        sql("UPDATE System SET FJahr = ?", {jahr});
        sql("INSERT INTO Fisch (FName) VALUES ('Hecht'), ('Zander')");
        sql("INSERT INTO Gewaesser (GName) VALUES ('Baggersee')");
        sql("INSERT INTO Besatzung (BJahr, FNr, GNr, Zeit, Menge) VALUES (?, 1, 1, 'Frühjahr', 12.5)", {jahr});
        modMain::RegistriereKern();
        fishery::RegistriereFangbuch();
        fishery::RegistriereFangauswertung();
        fishery::RegistriereBesatzung();
        meldeAn(QStringLiteral("Verwalter"), QStringLiteral("angeln"), QSize(1300, 950),
                QStringLiteral("Fangauswertung"));
        boxes.clear();
    }

    void klickeKnopf(QToolBar *leiste, const char *key)
    {
        QAction *a = leiste->findChild<QAction *>(QString::fromLatin1(key));
        ASSERT_TRUE(a) << key;
        QWidget *w = leiste->widgetForAction(a);
        ASSERT_TRUE(w && w->isVisible()) << key;
        klicke(w, w->rect().center());
    }
    static void waehle(QComboBox *cbo, const QString &text)
    {
        const int i = cbo->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        cbo->setCurrentIndex(i);
    }
    static void tippe(QLineEdit *feld, const QString &text)
    {
        feld->setFocus();
        feld->clear();
        QTest::keyClicks(feld, text);
    }

    // Pastes text into the field, as the user does with Ctrl+V.
    static void fuegeEin(QLineEdit *feld, const QString &text)
    {
        QGuiApplication::clipboard()->setText(text);
        feld->setFocus();
        feld->clear();
        QTest::keyClick(feld, Qt::Key_V, Qt::ControlModifier);
    }
    // A catch of Hecht in the Baggersee in July, with the note pasted in, saved in the catch log.
    void speichereFang(Fangbuch &f, const QString &notiz)
    {
        waehle(f.cboFArt, QStringLiteral("Hecht"));
        waehle(f.cboGName, QStringLiteral("Baggersee"));
        f.txtMonNr->setText(QStringLiteral("07"));
        f.txtAnzahl->setText(QStringLiteral("2"));
        f.txtGewicht->setText(QStringLiteral("900"));
        fuegeEin(f.txtNotiz, notiz);
        klickeKnopf(f.Toolbar1, "tbSpeichern");
    }
    // The files of SeqData, hidden ones too.
    QStringList seqData() const
    {
        return QDir(home.filePath(QStringLiteral("SeqData")))
            .entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }
    QByteArray inhalt(const QString &pfad) const
    {
        QFile f(pfad);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(fehlt)");
    }
    // The export key of a window answered Yes, the success box OK and No to the spreadsheet.
    void exportiere(QToolBar *leiste)
    {
        boxes.answer(forms::vbYes);
        boxes.answer(forms::vbOK);
        boxes.answer(forms::vbNo);
        klickeKnopf(leiste, "tbExcel");
    }
    // A file outside the program folder that a link in SeqData names.
    struct Opfer
    {
        Opfer()
        {
            QFile f(pfad());
            if (f.open(QIODevice::WriteOnly))
                f.write("fremd\n");
            f.close();
            QFile::setPermissions(pfad(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                              QFileDevice::ReadOther);
        }
        QString pfad() const { return ordner.filePath(QStringLiteral("victim.txt")); }
        QTemporaryDir ordner;
    };
    // An export of the window's list to datei through a link to a file outside, then one killed
    // at kill's call: the link is replaced and what it named stays as it was; the killed export
    // leaves the file of the first whole and a temporary file that the next export removes.
    void pruefeExport(QToolBar *leiste, const QString &name, const char *aufruf, const QString &muster)
    {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("SeqData")));
        const QString datei = home.filePath(QStringLiteral("SeqData/") + name);
        Opfer opfer;
        ASSERT_TRUE(QFile::link(opfer.pfad(), datei));
        exportiere(leiste);
        ASSERT_EQ(boxes.count(), 3u) << apptest::texte(boxes);
        EXPECT_TRUE(boxes.boxes()[1].text.contains(QStringLiteral("erfolgreich"))) << apptest::texte(boxes);
        EXPECT_FALSE(QFileInfo(datei).isSymLink());
        EXPECT_EQ(vbtest::fileMode(datei), 0600);
        const QByteArray liste = inhalt(datei);
        EXPECT_TRUE(liste.startsWith(name == QStringLiteral("FANG.csv") ? "FangNr;" : "Besatz.- Nr;"));
        EXPECT_EQ(inhalt(opfer.pfad()), QByteArray("fremd\n"));
        EXPECT_EQ(vbtest::fileMode(opfer.pfad()), 0644);

        {
            testsupport::KillPoint kill(aufruf, 1, muster, home.path());
            EXPECT_EXIT(
                {
                    qputenv("TORVANA_HOME", QFile::encodeName(testsupport::KillPoint::path()));
                    boxes.answer(forms::vbYes);
                    klickeKnopf(leiste, "tbExcel");
                },
                ::testing::KilledBySignal(SIGKILL), "");
        }
        EXPECT_EQ(inhalt(datei), liste);
        const QStringList danach = seqData();
        ASSERT_EQ(danach.size(), 2) << danach.join(u' ').toStdString();
        EXPECT_TRUE(
            QRegularExpression(QStringLiteral("^\\.%1\\.tv~[A-Za-z0-9]{6}$").arg(QRegularExpression::escape(name)))
                .match(danach[0])
                .hasMatch())
            << danach[0].toStdString();

        boxes.clear();
        exportiere(leiste);
        ASSERT_EQ(boxes.count(), 3u) << apptest::texte(boxes);
        EXPECT_TRUE(boxes.boxes()[1].text.contains(QStringLiteral("erfolgreich"))) << apptest::texte(boxes);
        EXPECT_EQ(seqData(), QStringList{name});
        EXPECT_EQ(inhalt(datei), liste);
    }

    const int jahr = testsupport::Heute.year();
    report::FakePrinters drucker{{QStringLiteral("Laser Büro")}};
};

} // namespace

TEST_F(FischereiImProgramm, APrintInTheEvaluationKeepsNoOtherWindowFromFillingItsLists)
{
    for (const char *key : {"tbDruck", "tbVorschau"}) {
        SCOPED_TRACE(key);
        boxes.clear();
        apptest::klickeItem(QStringLiteral("Fangauswertung"));
        Fangauswertung &a = forms::form<Fangauswertung>();
        ASSERT_TRUE(a.isVisible());
        klickeKnopf(a.Toolbar1, key); // the grid is empty
        ASSERT_EQ(boxes.count(), 1u) << apptest::texte(boxes);
        EXPECT_EQ(boxes.last().text, KeineDruckdaten);

        apptest::klickeItem(QStringLiteral("Besatzung"));
        Besatzung &b = forms::form<Besatzung>();
        ASSERT_TRUE(b.isVisible());
        EXPECT_GE(b.cboBJahr->findText(QString::number(jahr)), 0) << "the year list is filled";
        EXPECT_EQ(b.cboBJahr->currentText(), QString::number(jahr));
        const long long vorher = zahl("SELECT COUNT(*) FROM Besatzung WHERE BJahr = ?", {jahr});
        EXPECT_EQ(b.tblBList->rowCount(), vorher);

        // A complete entry is saved for the year shown.
        boxes.clear();
        waehle(b.cboFArt, QStringLiteral("Zander"));
        waehle(b.cboGName, QStringLiteral("Baggersee"));
        tippe(b.txtMenge, QStringLiteral("3,5"));
        klickeKnopf(b.Toolbar1, "tbSpeichern");
        EXPECT_EQ(boxes.count(), 0u) << apptest::texte(boxes);
        EXPECT_EQ(zahl("SELECT COUNT(*) FROM Besatzung WHERE BJahr = ?", {jahr}), vorher + 1);
    }
    // The evaluation's own mark stays for its next activation.
    EXPECT_TRUE(modGVar::KeinNeuLaden(forms::form<Fangauswertung>()));
}

// A control character pasted into the catch's note or the stocking time is refused with the
// input box and nothing is stored (of "Nul\0Teil" the sqlite3 shell would read "Nul"); a text
// without one is stored as it was pasted.
TEST_F(FischereiImProgramm, ControlCharactersInTheCatchNoteAndTheStockingTimeAreRefused)
{
    const struct
    {
        const char *name;
        QString text;
        bool gespeichert;
    } faelle[] = {
        {"NUL", QString::fromUtf16(u"Nul\0Teil", 8), false}, {"tab", QStringLiteral("Tab\tTeil"), false},
        {"line feed", QStringLiteral("Zeile\nZwei"), false}, {"escape", QStringLiteral("Esc\x1bTeil"), false},
        {"none", QStringLiteral("Nul Teil 🐟"), true},
    };
    apptest::klickeItem(QStringLiteral("Fangbuch"));
    Fangbuch &f = forms::form<Fangbuch>();
    ASSERT_TRUE(f.isVisible());
    for (const auto &fall : faelle) {
        SCOPED_TRACE(fall.name);
        boxes.clear();
        const long long vorher = zahl("SELECT COUNT(*) FROM Fang");
        speichereFang(f, fall.text);
        EXPECT_EQ(zahl("SELECT COUNT(*) FROM Fang"), vorher + (fall.gespeichert ? 1 : 0));
        if (fall.gespeichert) {
            EXPECT_EQ(boxes.count(), 0u) << apptest::texte(boxes);
            EXPECT_EQ(zahl("SELECT COUNT(*) FROM Fang WHERE Notiz = ? AND length(Notiz) = ?",
                           {fall.text, fall.text.toUcs4().size()}),
                      1);
        } else {
            // The catch log's box names the field to correct.
            ASSERT_EQ(boxes.count(), 1u) << apptest::texte(boxes);
            EXPECT_EQ(boxes.last().text, Eingabefehler + QStringLiteral("\n\r\n\rBitte prüfen: Notizen"));
        }
        f.LeereFangFelder();
    }

    apptest::klickeItem(QStringLiteral("Besatzung"));
    Besatzung &b = forms::form<Besatzung>();
    ASSERT_TRUE(b.isVisible());
    for (const auto &fall : faelle) {
        SCOPED_TRACE(fall.name);
        boxes.clear();
        const long long vorher = zahl("SELECT COUNT(*) FROM Besatzung");
        waehle(b.cboFArt, QStringLiteral("Zander"));
        waehle(b.cboGName, QStringLiteral("Baggersee"));
        tippe(b.txtMenge, QStringLiteral("3,5"));
        fuegeEin(b.txtZeit, fall.text);
        klickeKnopf(b.Toolbar1, "tbSpeichern");
        EXPECT_EQ(zahl("SELECT COUNT(*) FROM Besatzung"), vorher + (fall.gespeichert ? 1 : 0));
        if (fall.gespeichert) {
            EXPECT_EQ(boxes.count(), 0u) << apptest::texte(boxes);
            EXPECT_EQ(zahl("SELECT COUNT(*) FROM Besatzung WHERE Zeit = ?", {fall.text}), 1);
        } else {
            ASSERT_EQ(boxes.count(), 1u) << apptest::texte(boxes);
            EXPECT_EQ(boxes.last().text, Eingabefehler);
        }
    }
}

// 100,000 fish pasted into the catch's note: the field is cut at its limit before the fish that
// no longer fits whole, and the database keeps 16,383 whole fish, not half of one as "?".
TEST_F(FischereiImProgramm, APasteCutAtTheNotesLimitKeepsWholeCharacters)
{
    const QString fisch = QStringLiteral("🐟");
    apptest::klickeItem(QStringLiteral("Fangbuch"));
    Fangbuch &f = forms::form<Fangbuch>();
    ASSERT_TRUE(f.isVisible());
    speichereFang(f, fisch.repeated(100000));
    EXPECT_EQ(boxes.count(), 0u) << apptest::texte(boxes);
    const QString erwartet = fisch.repeated(16383);
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Fang WHERE Notiz = ? AND length(Notiz) = 16383", {erwartet}), 1);
    EXPECT_EQ(zahl("SELECT COUNT(*) FROM Fang WHERE instr(Notiz, '?') > 0"), 0);

    // Typed after a text that leaves room for one unit only: no half of a fish either.
    fuegeEin(f.txtNotiz, QString(32766, u'a'));
    QTest::keyClick(f.txtNotiz, Qt::Key_End);
    QGuiApplication::clipboard()->setText(fisch);
    QTest::keyClick(f.txtNotiz, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(f.txtNotiz->text(), QString(32766, u'a'));
}

// The stocking plan's file key writes BPLAN.csv at its own name: a link there is replaced, and an
// export killed at its rename leaves the old file whole and a copy that the next one removes.
TEST_F(FischereiImProgramm, TheStockingPlanFileReplacesALinkAndLeavesNoCopyAfterACrash)
{
    apptest::klickeItem(QStringLiteral("Besatzung"));
    Besatzung &b = forms::form<Besatzung>();
    ASSERT_TRUE(b.isVisible());
    ASSERT_GE(b.tblBList->rowCount(), 1);
    pruefeExport(b.Toolbar1, QStringLiteral("BPLAN.csv"), "rename", home.filePath(QStringLiteral("SeqData/BPLAN.csv")));
}

// The same for the catch list's file, killed at its write.
TEST_F(FischereiImProgramm, TheCatchListFileReplacesALinkAndLeavesNoCopyAfterACrash)
{
    sql("INSERT INTO Fang (FangJahr, FangMonat, FischNr, GNr, Anzahl, Gewicht) VALUES (?, 7, 1, 1, 2, 900)", {jahr});
    apptest::klickeItem(QStringLiteral("Fangauswertung"));
    Fangauswertung &a = forms::form<Fangauswertung>();
    ASSERT_TRUE(a.isVisible());
    QTest::mouseClick(a.chkArchiv, Qt::LeftButton, {}, QPoint(6, a.chkArchiv->height() / 2));
    klickeKnopf(a.Toolbar1, "tbSuch");
    ASSERT_GE(a.tblFAusw->rowCount(), 1) << apptest::texte(boxes);
    boxes.clear();
    pruefeExport(a.Toolbar1, QStringLiteral("FANG.csv"), "write",
                 home.filePath(QStringLiteral("SeqData/.FANG.csv.tv~*")));
}
