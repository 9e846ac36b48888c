// What the contact side keeps and writes as other programs read it: contact fields without
// control characters, and the serial-letter files at their own names, whole after a crash.
#include "kontakt_fixture.h"

#include "contacts/Kontakt.h"
#include "contacts/KontaktUebers.h"
#include "contacts/modKontakt.h"

#include "common/testing/file_mode.h"
#include "office/fakeoffice.h"
#include "testsupport/killpoint.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace kontakttest;

namespace {

class KontaktDateien : public KontaktTest
{
protected:
    void SetUp() override
    {
        KontaktTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("SeqData")));
        starte();
    }

    QAction *knopf(const char *key) { return uebersicht().findChild<QAction *>(QString::fromLatin1(key)); }

    // A new supplier "Neu, Nina" in the editor that "tbKontakt" opens; schritte run before the
    // save, and an editor still open after it is closed.
    void neuerKontakt(const std::function<void(Kontakt &)> &schritte)
    {
        imEditor([&](Kontakt &k) {
            k.cboKatego->setCurrentIndex(k.cboKatego->findText(QStringLiteral("Lieferanten")));
            tippe(k.txtNName, QStringLiteral("Neu"));
            tippe(k.txtVName, QStringLiteral("Nina"));
            schritte(k);
            klickeKnopf(k.tbSpeichern);
            if (forms::isLoaded<Kontakt>())
                forms::unload<Kontakt>();
        });
        klickeKnopf(knopf("tbKontakt"));
        imEditor({});
    }

    // "tbWord": Yes to its question, OK to the success box, word to the word processor's.
    void erzeuge(int word)
    {
        boxes.answer(forms::vbYes);
        boxes.answer(forms::vbOK);
        boxes.answer(word);
        klickeKnopf(knopf("tbWord"));
    }
    QStringList seqData() const
    {
        return QDir(home.filePath(QStringLiteral("SeqData")))
            .entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }
    static QByteArray inhalt(const QString &pfad)
    {
        QFile f(pfad);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(fehlt)");
    }
};

} // namespace

// A control character pasted into any contact field (through the context menu's "Einfügen",
// which no key filter stops) is refused with the input box and no contact is stored; the note,
// a field of several lines, keeps its line breaks and tabs.
TEST_F(KontaktDateien, ControlCharactersInAContactFieldAreRefusedAndTheNoteKeepsItsLines)
{
    const QString nul = QString::fromUtf16(u"Nul\0Teil", 8);
    const char *felder[] = {"txtAnrede", "txtFirma", "txtNName",   "txtVName",    "txtStrasse",
                            "txtPLZ",    "txtOrt",   "txtTelPriv", "txtTelGesch", "txtMobil",
                            "txtFax",    "txtEMail", "txtBLZ",     "txtKInst",    "txtKontoNr"};
    const auto einfuegen = [](QLineEdit *feld, const QString &text) {
        QGuiApplication::clipboard()->setText(text);
        feld->clear();
        feld->paste();
    };
    const long long vorher = zahl("SELECT COUNT(*) FROM Kontakt");
    for (const char *name : felder) {
        SCOPED_TRACE(name);
        boxes.clear();
        neuerKontakt([&](Kontakt &k) {
            QLineEdit *feld = k.findChild<QLineEdit *>(QString::fromLatin1(name));
            ASSERT_TRUE(feld);
            einfuegen(feld, nul);
            ASSERT_EQ(feld->text(), nul);
        });
        ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
        EXPECT_EQ(boxes.last().text, Eingabefehler);
        EXPECT_EQ(zahl("SELECT COUNT(*) FROM Kontakt"), vorher);
    }

    const struct
    {
        const char *name;
        QString notiz;
        bool gespeichert;
    } notizen[] = {
        {"NUL", nul, false},
        {"escape", QStringLiteral("Esc\x1bTeil"), false},
        {"lines and a tab", QStringLiteral("Zeile 1\nZeile 2\tmit Tab 🐟"), true},
    };
    for (const auto &n : notizen) {
        SCOPED_TRACE(n.name);
        boxes.clear();
        const long long davor = zahl("SELECT COUNT(*) FROM Kontakt");
        neuerKontakt([&](Kontakt &k) { k.txtNotiz->setPlainText(n.notiz); });
        EXPECT_EQ(zahl("SELECT COUNT(*) FROM Kontakt"), davor + (n.gespeichert ? 1 : 0));
        if (n.gespeichert) {
            EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
            EXPECT_EQ(zahl("SELECT COUNT(*) FROM Kontakt WHERE Notiz = ? AND length(Notiz) = ?",
                           {n.notiz, n.notiz.toUcs4().size()}),
                      1);
        } else {
            ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
            EXPECT_EQ(boxes.last().text, Eingabefehler);
        }
    }
}

// SERI.txt and the letters document SERI.odt are written at their own names: a link there is
// replaced and the file it names stays as it was; a run killed at the file's rename leaves the
// file of the run before whole and a copy that the next run removes.
TEST_F(KontaktDateien, TheSerialLetterFilesReplaceALinkAndLeaveNoCopyAfterACrash)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    office::FakeOffice word;
    klappe(1);
    const struct
    {
        QString name;
        int word; // the answer that makes the file
    } faelle[] = {{QStringLiteral("SERI.txt"), forms::vbNo}, {QStringLiteral("SERI.odt"), forms::vbYes}};
    for (const auto &f : faelle) {
        SCOPED_TRACE(f.name.toStdString());
        const QString datei = home.filePath(QStringLiteral("SeqData/") + f.name);
        QTemporaryDir draussen;
        const QString opfer = draussen.filePath(QStringLiteral("victim.txt"));
        {
            QFile o(opfer);
            ASSERT_TRUE(o.open(QIODevice::WriteOnly));
            o.write("fremd\n");
        }
        ASSERT_TRUE(QFile::setPermissions(opfer, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                     QFileDevice::ReadGroup | QFileDevice::ReadOther));
        QFile::remove(datei);
        ASSERT_TRUE(QFile::link(opfer, datei));
        boxes.clear();
        erzeuge(f.word);
        EXPECT_FALSE(QFileInfo(datei).isSymLink());
        EXPECT_EQ(vbtest::fileMode(datei), 0600);
        EXPECT_EQ(inhalt(opfer), QByteArray("fremd\n"));
        EXPECT_EQ(vbtest::fileMode(opfer), 0644);
        const QByteArray erster = inhalt(datei);
        EXPECT_TRUE(erster.startsWith(f.name == QStringLiteral("SERI.txt") ? "Mitgl.-Nr;" : "PK"));
        const QStringList dateien = seqData();

        {
            testsupport::KillPoint kill("rename", 1, datei, home.path());
            EXPECT_EXIT(
                {
                    qputenv("TORVANA_HOME", QFile::encodeName(testsupport::KillPoint::path()));
                    erzeuge(f.word);
                },
                ::testing::KilledBySignal(SIGKILL), "");
        }
        EXPECT_EQ(inhalt(datei), erster);
        QStringList danach = seqData();
        const QRegularExpression rest(
            QStringLiteral("^\\.%1\\.tv~[A-Za-z0-9]{6}$").arg(QRegularExpression::escape(f.name)));
        EXPECT_EQ(danach.removeIf([&](const QString &n) { return rest.match(n).hasMatch(); }), 1)
            << danach.join(u' ').toStdString();
        EXPECT_EQ(danach, dateien);

        boxes.clear();
        erzeuge(f.word);
        EXPECT_EQ(seqData(), dateien);
    }
}
