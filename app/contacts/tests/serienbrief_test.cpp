// The serial-letter file SERI.txt of the expanded categories (bytes, quoting, read back), its
// messages, and the form letters handed to the word processor through the office port.
#include "kontakt_fixture.h"

#include "contacts/Kontakt.h"
#include "contacts/KontaktUebers.h"
#include "contacts/modKontakt.h"

#include "common/testing/file_limit.h"
#include "common/testing/file_mode.h"
#include "office/fakeoffice.h"
#include "office/office.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <functional>
#include <string>

#include <unistd.h>

using namespace kontakttest;

namespace {

const QString Frage =
    QStringLiteral("Wollen Sie eine Serienbrief - Datei für Word mit der Bezeichnung - SERI.txt - erzeugen ?");
const QString WordFrage = QStringLiteral(
    "Möchten Sie jetzt Word starten ? Dabei wird Ihnen von Torvana automatisch ein Std.- Serienbrief Dokument\n\r"
    "erstellt. Möchten Sie Word starten um einen Seriendruck zu erstellen ? ");
const QString Fehler =
    QStringLiteral("ACHTUNG: Ein unerwarteter Fehler trat beim Erzeugen der Datei - SERI.txt - auf !\n\r"
                   "Bitte überprüfen Sie ob noch genug Speicher auf den Datenträger verfügbar ist.");
const QString KeinWord = QStringLiteral("Es ist kein Word verfügbar !");
// The box after the file when letters of names were lost in it: contact 6's first name is
// Cyrillic (see SetUp).
QString verlust(const QString &kontakte = QStringLiteral("Nr. 6: Süd, Оле"))
{
    return QStringLiteral("ACHTUNG: Die Datei - SERI.txt - ist im Zeichensatz Windows-1252 geschrieben, der nicht alle "
                          "Buchstaben kennt. Bei folgenden Kontakten steht dort ein \"?\" an Stelle eines "
                          "Buchstabens:\n\r") +
           kontakte + QStringLiteral("\n\rDie Serienbriefe von Torvana zeigen die Namen vollständig.");
}
const QString Verlust = verlust();
const QByteArray Kopfzeile = "Mitgl.-Nr;Firma;Anrede;Nachname;Vorname;Strasse;PLZ;Ort;Telefon [privat];"
                             "Telefon [geschftl.];Fax;Mobil;Geb.-Datum;Eintritt;EMail;\r\n";

QByteArray lies(const QString &pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The text content of an OpenDocument file (content.xml), read with unzip.
QString odfInhalt(const QString &pfad)
{
    QProcess p;
    p.start(QStringLiteral("unzip"), {QStringLiteral("-p"), pfad, QStringLiteral("content.xml")});
    if (!p.waitForFinished(30000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

class Serienbrief : public KontaktTest
{
protected:
    void SetUp() override
    {
        KontaktTest::SetUp();
        ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("SeqData")));
        // Fields that test the file: a ";" and a quote, blanks at the end, a euro sign, letters
        // the code page cannot hold, a line break.
        sql("UPDATE Kontakt SET Strasse = 'Am See; Nord 3', Ort = 'Groß \"Alt\" Köris', PLZ = '15746' WHERE KNr = 4");
        sql("UPDATE Kontakt SET Nachname = 'Süd   ', Firma = 'Rutenbau Süd €', Vorname = 'Оле' WHERE KNr = 6");
        sql("UPDATE Kontakt SET Strasse = 'Hof 1' || char(13) || char(10) || 'Hinterhaus' WHERE KNr = 5");
    }

    QAction *knopf(const char *key) { return uebersicht().findChild<QAction *>(QString::fromLatin1(key)); }
    // The success box names the folder the file was written to.
    QString erfolg(const char *datei = "SERI.txt") const
    {
        return QStringLiteral(" - %1 - wurde erfolgreich im Pfad: %2/SeqData/ erstellt !")
            .arg(QString::fromLatin1(datei), home.path());
    }
    // "tbWord" with the answers to its question, to the information boxes before the
    // word-processor question (the success box, one per category left out, and the one about
    // lost letters) and to that question.
    void erzeuge(int word = forms::vbNo, int infos = 1)
    {
        boxes.answer(forms::vbYes);
        for (int i = 0; i < infos; ++i)
            boxes.answer(forms::vbOK);
        boxes.answer(word);
        klickeKnopf(knopf("tbWord"));
    }
    // The texts of all boxes in order, each box taken (the tests compare the whole list).
    QStringList texteDerBoxen()
    {
        QStringList t;
        for (std::size_t i = 0; i < boxes.boxes().size(); ++i)
            t << boxes.boxes()[i].text;
        return t;
    }
};

} // namespace

TEST_F(Serienbrief, TheExpandedCategoriesAreWrittenByteExactInTheOrderOfTheirRows)
{
    starte();
    klappe(3); // expanded first, but its row comes after the members'
    klappe(1);
    klappe(4);
    klappe(4); // and collapsed again: left out
    erzeuge(forms::vbNo, 2);
    EXPECT_EQ(texteDerBoxen(), (QStringList{Frage, erfolg(), Verlust, WordFrage})) << texte(boxes);
    EXPECT_EQ(boxes.boxes()[1].flags, forms::vbOKOnly + forms::vbInformation);
    EXPECT_EQ(boxes.boxes()[2].flags, forms::vbOKOnly + forms::vbExclamation);
    EXPECT_EQ(boxes.boxes()[3].flags, forms::vbYesNo);
    EXPECT_EQ(boxes.boxes()[3].answer, forms::vbNo);

    const QByteArray erwartet =
        Kopfzeile +
        "1;;Herr;Meier;Hans;;;;0421 123;;;;24.12.1970;01.04.1990;hans@meier.de;\r\n"
        "2;;Frau;Schulz;Eva;;;;;;;;;;;\r\n"
        "4;Angelbedarf Nord;;Nord;Jan;\"Am See; Nord 3\";15746;\"Gro\xDF \"\"Alt\"\" K\xF6ris\";;;0421 99;;;;;\r\n"
        "5;K\xF6"
        "der-M\xFCller;;M\xFCller;Karl;\"Hof 1\r\nHinterhaus\";;;;;;;;;;\r\n"
        "6;Rutenbau S\xFC"
        "d \x80;;S\xFC"
        "d;???;;;;;;;;;;;\r\n";
    EXPECT_EQ(lies(modKontakt::SeriDateiPfad()), erwartet);
}

TEST_F(Serienbrief, ReadBackEveryLineHasItsFifteenColumns)
{
    starte();
    klappe(3);
    klappe(2);
    erzeuge(forms::vbNo, 2);
    const QList<QStringList> saetze =
        office::parseDelimited(office::fromWindows1252(lies(modKontakt::SeriDateiPfad())));
    ASSERT_EQ(saetze.size(), 5);
    for (const QStringList &s : saetze) {
        SCOPED_TRACE(s.join(u'|').toStdString());
        EXPECT_EQ(s.size(), 15);
    }
    EXPECT_EQ(saetze[1][0], QString("3")); // the passive member first: its row comes first
    EXPECT_EQ(saetze[2][5], QString("Am See; Nord 3"));
    EXPECT_EQ(saetze[2][7], QString("Groß \"Alt\" Köris"));
    EXPECT_EQ(saetze[3][5], QString("Hof 1\r\nHinterhaus"));
    EXPECT_EQ(saetze[4][3], QString("Süd"));
    EXPECT_EQ(saetze[4][13], QString()); // no entry date for a contact that is no member
}

TEST_F(Serienbrief, ExpandedCategoriesWithoutMembersOrContactsAreLeftOutWithABox)
{
    // Category 2 shows its contact but has no member record; category 4 loses its contact after
    // the overview was built.
    sql("DELETE FROM Mitglied WHERE KNr = 3");
    starte();
    klappe(2);
    klappe(4);
    klappe(3);
    sql("DELETE FROM Kontakt WHERE KNr = 7");
    erzeuge(forms::vbNo, 4);
    EXPECT_EQ(
        texteDerBoxen(),
        (QStringList{Frage,
                     QStringLiteral("ACHTUNG: Kategorie - Mitglieder (passiv) - enthält noch keine Mitgliederdaten "
                                    "!\n\rKategorie wird daher bei der Erzeugung der Serienbriefdatei übergangen !"),
                     QStringLiteral("ACHTUNG: Kontakt - Kategorie - Behörden - enthält noch keine Kontaktdaten "
                                    "!\n\rKategorie wird daher bei der Erzeugung der Serienbriefdatei übergangen !"),
                     erfolg(), Verlust, WordFrage}))
        << texte(boxes);
    const QList<QStringList> saetze =
        office::parseDelimited(office::fromWindows1252(lies(modKontakt::SeriDateiPfad())));
    ASSERT_EQ(saetze.size(), 4); // the header and the three suppliers
    EXPECT_EQ(saetze[1][0], QString("4"));
}

TEST_F(Serienbrief, AMissingFolderIsMadeTheOwnersAloneAndOneThatCannotBeIsNamedWithoutSuccessNorQuestion)
{
    const vbtest::OpenUmask umask;
    office::FakeOffice word;
    const QString ordner = home.path() + QStringLiteral("/SeqData");
    ASSERT_TRUE(QDir(ordner).removeRecursively());
    starte();
    klappe(3);
    erzeuge(forms::vbNo, 2);
    EXPECT_EQ(texteDerBoxen(), (QStringList{Frage, erfolg(), Verlust, WordFrage})) << texte(boxes);
    EXPECT_EQ(vbtest::fileMode(ordner), 0700);
    EXPECT_TRUE(lies(modKontakt::SeriDateiPfad()).startsWith(Kopfzeile));

    // A file where the folder belongs.
    ASSERT_TRUE(QDir(ordner).removeRecursively());
    {
        QFile f(ordner);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    boxes.clear();
    erzeuge(forms::vbYes);
    EXPECT_EQ(
        texteDerBoxen(),
        (QStringList{Frage, "ACHTUNG: Ein unerwarteter Fehler trat beim Erzeugen der Datei - SERI.txt - auf !\n\r"
                            "Der Ordner " +
                                ordner + " fehlt und kann nicht angelegt werden (eine Datei trägt seinen Namen)."}))
        << texte(boxes);
    EXPECT_EQ(boxes.last().flags, forms::vbOKOnly + forms::vbCritical);
    EXPECT_TRUE(word.calls.isEmpty());
}

TEST_F(Serienbrief, AFailedWriteLeavesTheFileOfTheLastRunWhole)
{
    starte();
    klappe(3);
    erzeuge(forms::vbNo, 2);
    const QByteArray vorher = lies(modKontakt::SeriDateiPfad());
    ASSERT_FALSE(vorher.isEmpty());
    // The database goes away under the export: the read fails halfway.
    klappe(1);
    gv().dbDaten.Execute("DROP TABLE Mitglied");
    boxes.clear();
    erzeuge();
    EXPECT_EQ(texteDerBoxen(), (QStringList{Frage, Fehler})) << texte(boxes);
    EXPECT_EQ(lies(modKontakt::SeriDateiPfad()), vorher);
    EXPECT_EQ(QDir(home.path() + QStringLiteral("/SeqData")).entryList(QDir::Files), QStringList{"SERI.txt"});
}

TEST_F(Serienbrief, AFileSystemThatRefusesTheWriteKeepsTheOldFileAndShowsTheError)
{
    office::FakeOffice word;
    {
        QFile alt(modKontakt::SeriDateiPfad());
        ASSERT_TRUE(alt.open(QIODevice::WriteOnly));
        alt.write("alt;\r\n");
    }
    starte();
    klappe(3);
    {
        // As on a full disk: the header is cut short, the rest refused.
        vbtest::FileSizeLimit grenze(16);
        ASSERT_TRUE(grenze.active());
        erzeuge(forms::vbYes);
    }
    EXPECT_EQ(texteDerBoxen(), (QStringList{Frage, Fehler})) << texte(boxes);
    EXPECT_EQ(boxes.last().flags, forms::vbOKOnly + forms::vbCritical);
    EXPECT_EQ(lies(modKontakt::SeriDateiPfad()), QByteArray("alt;\r\n"));
    EXPECT_EQ(QDir(home.path() + QStringLiteral("/SeqData")).entryList(QDir::Files | QDir::Hidden),
              QStringList{"SERI.txt"});
    EXPECT_TRUE(word.calls.isEmpty());
}

TEST_F(Serienbrief, ALetterDocumentTheFileSystemRefusesKeepsTheOldOneAndStartsNothing)
{
    office::FakeOffice word;
    starte();
    klappe(3);
    erzeuge(forms::vbYes, 2);
    const QByteArray seri = lies(modKontakt::SeriDateiPfad());
    const QByteArray dokument = lies(modKontakt::SerienbriefPfad());
    ASSERT_LT(seri.size(), dokument.size());
    ASSERT_EQ(word.calls.size(), 1);
    word.calls.clear();
    boxes.clear();
    {
        QFile alt(modKontakt::SerienbriefPfad());
        ASSERT_TRUE(alt.open(QIODevice::WriteOnly | QIODevice::Truncate));
        alt.write("alt");
    }
    {
        // SERI.txt fits, the packed document does not.
        vbtest::FileSizeLimit grenze(rlim_t(seri.size() + dokument.size()) / 2);
        ASSERT_TRUE(grenze.active());
        erzeuge(forms::vbYes, 2);
    }
    // The box names the document and the disk, not a missing word processor.
    EXPECT_EQ(texteDerBoxen(),
              (QStringList{Frage, erfolg(), Verlust, WordFrage,
                           "ACHTUNG: Ein unerwarteter Fehler trat beim Erzeugen der Datei - SERI.odt - auf !\n\r"
                           "Bitte überprüfen Sie ob noch genug Speicher auf den Datenträger verfügbar ist."}))
        << texte(boxes);
    EXPECT_EQ(boxes.last().flags, forms::vbOKOnly + forms::vbCritical);
    EXPECT_EQ(lies(modKontakt::SeriDateiPfad()), seri);
    EXPECT_EQ(lies(modKontakt::SerienbriefPfad()), QByteArray("alt"));
    EXPECT_EQ(QDir(home.path() + QStringLiteral("/SeqData")).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"SERI.odt", "SERI.txt"}));
    EXPECT_TRUE(word.calls.isEmpty());
}

TEST_F(Serienbrief, NoToTheWordQuestionStartsNothing)
{
    office::FakeOffice word;
    starte();
    klappe(3);
    erzeuge(forms::vbNo, 2);
    EXPECT_TRUE(word.calls.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(modKontakt::SerienbriefPfad()));
}

TEST_F(Serienbrief, YesMakesOneLetterPerRecordAndOpensItInTheWordProcessor)
{
    const vbtest::OpenUmask umask;
    office::FakeOffice word;
    starte();
    klappe(1);
    klappe(3);
    erzeuge(forms::vbYes, 2);
    EXPECT_EQ(texteDerBoxen(), (QStringList{Frage, erfolg(), Verlust, WordFrage})) << texte(boxes);
    ASSERT_EQ(word.calls.size(), 1);
    EXPECT_EQ(word.calls[0].program, office::Program::WordProcessor);
    EXPECT_EQ(word.calls[0].path, modKontakt::SerienbriefPfad());
    EXPECT_TRUE(word.calls[0].content.startsWith("PK")); // an OpenDocument package
    // Both files carry members' addresses: their owner's alone.
    EXPECT_EQ(vbtest::fileMode(modKontakt::SeriDateiPfad()), 0600);
    EXPECT_EQ(vbtest::fileMode(modKontakt::SerienbriefPfad()), 0600);

    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty()) << "unzip reads the document back";
    const QString inhalt = odfInhalt(modKontakt::SerienbriefPfad());
    ASSERT_FALSE(inhalt.isEmpty());
    EXPECT_EQ(inhalt.count(QStringLiteral(">An<")), 5) << inhalt.toStdString();
    for (const char *zeile : {"Herr Hans Meier", "Frau Eva Schulz", "Angelbedarf Nord", " Jan Nord", "Am See; Nord 3",
                              "15746 Groß &quot;Alt&quot; Köris", "Köder-Müller", "Rutenbau Süd €", " Оле Süd"}) {
        SCOPED_TRACE(zeile);
        EXPECT_TRUE(inhalt.contains(QString::fromUtf8(zeile))) << inhalt.toStdString();
    }
}

TEST_F(Serienbrief, TheLettersFollowTheRecordsOfTheFile)
{
    const QString seri = home.path() + QStringLiteral("/SeqData/SERI.txt");
    const QString odt = home.path() + QStringLiteral("/SeqData/SERI.odt");
    struct Fall
    {
        const char *was;
        QByteArray datei;
        bool ok;
        int briefe;
    };
    const Fall faelle[] = {
        {"header only", Kopfzeile, true, 0},
        {"two records", Kopfzeile + "1;;Herr;Meier;Hans;;;;;;;;;;;\r\n7;Amt;;;;;;;;;;;;;;\r\n", true, 2},
        {"an empty line is no record", Kopfzeile + "\r\n1;;Herr;Meier;Hans;;;;;;;;;;;\r\n", true, 1},
        {"short records", Kopfzeile + "1;;Herr\r\n", true, 1},
        {"empty file", QByteArray(), false, 0},
    };
    for (const Fall &f : faelle) {
        SCOPED_TRACE(f.was);
        QFile::remove(odt);
        {
            QFile d(seri);
            ASSERT_TRUE(d.open(QIODevice::WriteOnly));
            d.write(f.datei);
        }
        int briefe = -1;
        EXPECT_EQ(modKontakt::ErstelleSerienbriefe(seri, odt, &briefe), f.ok);
        if (f.ok) {
            EXPECT_EQ(briefe, f.briefe);
            EXPECT_EQ(QFileInfo::exists(odt), f.briefe > 0);
        }
    }
    EXPECT_FALSE(modKontakt::ErstelleSerienbriefe(home.path() + QStringLiteral("/fehlt.txt"), odt, nullptr));
}

TEST_F(Serienbrief, NoWordProcessorGivesOneMessage)
{
    office::FakeOffice word;
    word.fail = true;
    starte();
    klappe(3);
    erzeuge(forms::vbYes, 2);
    EXPECT_EQ(texteDerBoxen(), (QStringList{Frage, erfolg(), Verlust, WordFrage, KeinWord})) << texte(boxes);
    EXPECT_EQ(boxes.last().title, QString("Torvana"));
    EXPECT_EQ(word.calls.size(), 1);
}

TEST_F(Serienbrief, ADocumentThatCannotBeWrittenGivesOneMessageAndStartsNothing)
{
    office::FakeOffice word;
    starte();
    klappe(3);
    // A folder under the document's name: the document cannot be written.
    ASSERT_TRUE(QDir().mkpath(modKontakt::SerienbriefPfad()));
    erzeuge(forms::vbYes, 2);
    EXPECT_EQ(texteDerBoxen(),
              (QStringList{Frage, erfolg(), Verlust, WordFrage,
                           "ACHTUNG: Ein unerwarteter Fehler trat beim Erzeugen der Datei - SERI.odt - auf !\n\r"
                           "An der Stelle der Datei " +
                               modKontakt::SerienbriefPfad() + " steht ein Ordner."}))
        << texte(boxes);
    EXPECT_TRUE(word.calls.isEmpty());
}

TEST_F(Serienbrief, ACategoryWhoseLastContactMovedAwayIsShownCollapsedAndLeftOutSilently)
{
    starte();
    klappe(3);
    klappe(4);
    // The only contact of "Behörden" moves to the suppliers in the editor opened from the
    // overview.
    imEditor([&](Kontakt &k) {
        const int i = k.cboKatego->findText(QStringLiteral("Lieferanten"));
        ASSERT_GE(i, 0);
        k.cboKatego->setCurrentIndex(i);
        klickeKnopf(k.tbSpeichern);
    });
    doppelklick(4, 7);
    imEditor({});
    ASSERT_EQ(boxes.count(), 0u) << texte(boxes);
    EXPECT_EQ(name(4), QString("Behörden"));
    EXPECT_EQ(marke(4), QString("+"));
    EXPECT_EQ(liste(4), nullptr);
    EXPECT_EQ(name(3), QString("Lieferanten  [4]"));

    for (int lauf = 0; lauf < 2; ++lauf) {
        SCOPED_TRACE(lauf);
        boxes.clear();
        erzeuge(forms::vbNo, 2);
        EXPECT_EQ(texteDerBoxen(), (QStringList{Frage, erfolg(), Verlust, WordFrage})) << texte(boxes);
        const QList<QStringList> saetze =
            office::parseDelimited(office::fromWindows1252(lies(modKontakt::SeriDateiPfad())));
        EXPECT_EQ(saetze.size(), 5); // the header and the four suppliers
    }
}

// SERI.txt keeps its code page for the programs that read it; what it cannot hold is named in
// one box, and the letters are made from the names as stored.
TEST_F(Serienbrief, NamesOutsideTheCodePageAreNamedInOneBoxAndShownWholeInTheLetters)
{
    office::FakeOffice word;
    sql("UPDATE Kontakt SET Vorname = 'Łukasz', Nachname = 'Dvořák', Ort = 'Čáslav', PLZ = '28601' WHERE KNr = 5");
    starte();
    klappe(3);
    erzeuge(forms::vbYes, 2);
    EXPECT_EQ(texteDerBoxen(),
              (QStringList{Frage, erfolg(), verlust("Nr. 5: Dvořák, Łukasz\n\rNr. 6: Süd, Оле"), WordFrage}))
        << texte(boxes);

    const QList<QStringList> saetze =
        office::parseDelimited(office::fromWindows1252(lies(modKontakt::SeriDateiPfad())));
    ASSERT_EQ(saetze.size(), 4);
    EXPECT_EQ(saetze[2][0], QString("5"));
    EXPECT_EQ(saetze[2][3], QString("Dvo?ák"));
    EXPECT_EQ(saetze[2][4], QString("?ukasz"));
    EXPECT_EQ(saetze[2][7], QString("?áslav"));

    ASSERT_EQ(word.calls.size(), 1);
    const QString inhalt = odfInhalt(modKontakt::SerienbriefPfad());
    ASSERT_FALSE(inhalt.isEmpty());
    for (const char *zeile : {" Łukasz Dvořák", "28601 Čáslav", " Оле Süd", "Köder-Müller"}) {
        SCOPED_TRACE(zeile);
        EXPECT_TRUE(inhalt.contains(QString::fromUtf8(zeile))) << inhalt.toStdString();
    }
    for (const char *verloren : {"?ukasz", "Dvo?", "?áslav", "???"})
        EXPECT_FALSE(inhalt.contains(QString::fromUtf8(verloren))) << verloren;
}

// A file in the way of SERI.txt or a folder that refuses it: the box names the file and the
// cause, not the disk space; no success, no question.
TEST_F(Serienbrief, AFileThatCannotBeWrittenIsNamedWithItsCause)
{
    office::FakeOffice word;
    const QString ordner = home.path() + QStringLiteral("/SeqData");
    const struct
    {
        const char *name;
        std::function<bool()> vorbereiten;
        QString grund;
    } faelle[] = {
        {"a folder named SERI.txt", [] { return QDir().mkpath(modKontakt::SeriDateiPfad()); },
         "An der Stelle der Datei " + modKontakt::SeriDateiPfad() + " steht ein Ordner."},
        {"SeqData read-only",
         [&] {
             QDir(modKontakt::SeriDateiPfad()).removeRecursively();
             return QFile::setPermissions(ordner, QFile::ReadOwner | QFile::ExeOwner);
         },
         "Der Ordner " + ordner + " ist schreibgeschützt."},
    };
    starte();
    klappe(3);
    for (const auto &f : faelle) {
        SCOPED_TRACE(f.name);
        if (std::string(f.name) == "SeqData read-only" && geteuid() == 0)
            continue; // the superuser writes into any folder
        ASSERT_TRUE(f.vorbereiten());
        boxes.clear();
        erzeuge(forms::vbYes);
        QFile::setPermissions(ordner, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_EQ(texteDerBoxen(),
                  (QStringList{Frage, "ACHTUNG: Ein unerwarteter Fehler trat beim Erzeugen der Datei - SERI.txt - auf "
                                      "!\n\r" +
                                          f.grund}))
            << texte(boxes);
        EXPECT_EQ(boxes.last().flags, forms::vbOKOnly + forms::vbCritical);
        EXPECT_TRUE(word.calls.isEmpty());
    }
}
