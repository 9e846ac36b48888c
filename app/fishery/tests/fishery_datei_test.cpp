// The catch list and stocking plan files: their bytes, read back with a CSV reader, their
// messages, and the hand-off to the spreadsheet program through a fake office port.
#include "fishery/modBesatzListDatei.h"
#include "fishery/modFAuswertDatei.h"

#include "core/modGVar.h"

#include "core/testing/program_fixture.h"

#include "common/testing/file_limit.h"
#include "common/testing/file_mode.h"
#include "forms/listgrid.h"
#include "forms/services.h"
#include "office/fakeoffice.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

#include <unistd.h>

namespace {

const QString FangFehler =
    QStringLiteral("ACHTUNG: Ein unerwarteter Fehler trat beim Erzeugen der Fangdatei - FANG.csv - auf !\r\n"
                   "Bitte überprüfen Sie ob noch genug Speicher auf den Datenträger verfügbar ist.");
const QString BPlanFehler =
    QStringLiteral("ACHTUNG: Ein unerwarteter Fehler trat beim Erzeugen des Besatzungsplanes - BPLAN.csv - auf !\r\n"
                   "Bitte überprüfen Sie ob noch genug Speicher auf den Datenträger verfügbar ist.");
const QString KeinExcel = QStringLiteral("Es ist kein Excel verfügbar !");

// A reader of the files as a spreadsheet program reads them: fields ended by ";", lines by CR
// LF, a field in double quotes may hold ";", line breaks and doubled quotes.
QList<QStringList> leseCsv(const QByteArray &bytes)
{
    const QString text = QString::fromLatin1(bytes); // Windows-1252 letters used here lie in Latin-1
    QList<QStringList> zeilen;
    QStringList zeile;
    QString feld;
    bool inQuotes = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (inQuotes) {
            if (c == u'"' && i + 1 < text.size() && text.at(i + 1) == u'"') {
                feld += u'"';
                ++i;
            } else if (c == u'"') {
                inQuotes = false;
            } else {
                feld += c;
            }
        } else if (c == u'"') {
            inQuotes = true;
        } else if (c == u';') {
            zeile << feld;
            feld.clear();
        } else if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
            zeilen << zeile;
            zeile.clear();
            ++i;
        } else {
            feld += c;
        }
    }
    return zeilen;
}

class DateiTest : public apptest::ProgramTest
{
protected:
    DateiTest() : ProgramTest(Datenbank::Keine) {}
    void SetUp() override
    {
        ProgramTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(QDir(home.path()).mkdir("SeqData"));
    }
    void TearDown() override
    {
        if (QFileInfo::exists(home.filePath("SeqData")))
            QFile::setPermissions(home.filePath("SeqData"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        ProgramTest::TearDown();
    }
    QByteArray inhalt(const QString &pfad) const
    {
        QFile f(pfad);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The answers: OK to the success box, then the spreadsheet question.
    void antworte(int excel)
    {
        boxes.answer(forms::vbOK);
        boxes.answer(excel);
    }

    office::FakeOffice office;
    forms::ListGrid grid;
};

// ---- FANG.csv ---------------------------------------------------------------------------------

class FangDatei : public DateiTest
{
protected:
    void zeile(QVariant nr, const QString &art, const QString &gewaesser, const QString &monat, QVariant jahr,
               QVariant anzahl, QVariant gewicht)
    {
        grid.addRow(QVariantList{nr, art, gewaesser, monat, jahr, anzahl, gewicht});
    }
    QString pfad() const { return home.filePath("SeqData/FANG.csv"); }
};

TEST_F(FangDatei, OneLinePerRowUnderTheHeaderWithTheCatchNumberFilledTo15)
{
    zeile(qlonglong(7), "Hecht", "Baggersee", "März", qlonglong(2001), qlonglong(2), qlonglong(1500));
    zeile(qlonglong(12), "Zander", "Altarm", "Oktober", qlonglong(2001), qlonglong(1), qlonglong(900));
    zeile(qlonglong(3), "Aal", "Mühlteich", "Januar", qlonglong(2002), qlonglong(10), qlonglong(80));
    antworte(forms::vbYes);
    modFAuswert::ErzeugeFangDatei(grid);
    ASSERT_EQ(boxes.count(), 2u);
    EXPECT_EQ(boxes.boxes()[0].text,
              "Datei - FANG.csv - wurde erfolgreich im Pfad: " + home.filePath("SeqData") + "/ erstellt !");
    EXPECT_EQ(boxes.boxes()[0].title, QString("Torvana"));
    EXPECT_EQ(boxes.boxes()[1].flags, forms::vbYesNo);
    EXPECT_EQ(inhalt(pfad()), QByteArray("FangNr;Fischart;Gew\xe4sser;Fangdatum(jjjj.m);Anzahl;Gewicht;\r\n"
                                         "7              ;Hecht;Baggersee;2001.03;2;1500;\r\n"
                                         "12             ;Zander;Altarm;2001.10;1;900;\r\n"
                                         "3              ;Aal;M\xfchlteich;2002.01;10;80;\r\n"));
    // The file handed over is the one written, under the same name.
    ASSERT_EQ(office.calls.size(), 1);
    EXPECT_EQ(office.calls[0].program, office::Program::Spreadsheet);
    EXPECT_EQ(office.calls[0].path, pfad());
    EXPECT_EQ(office.calls[0].content, inhalt(pfad()));
    // The filled catch number and the year with its month stay text in the spreadsheet.
    EXPECT_EQ(office.calls[0].textColumns, (QList<int>{1, 4}));
}

TEST_F(FangDatei, FieldsAreCutToTheirWidths)
{
    const QString lang = QString(48, u'x') + "yz" + "ABC";
    struct Fall
    {
        const char *name;
        QVariant nr;
        QString art;
        QVariant anzahl;
        QVariant gewicht;
        QStringList erwartet;
    } faelle[] = {
        {"names longer than 50",
         qlonglong(1),
         lang,
         qlonglong(1),
         qlonglong(1),
         {"1              ", QString(48, u'x') + "yz", "See", "2001.03", "1", "1"}},
        {"a name whose cut ends in blanks",
         qlonglong(1),
         QString(45, u'x') + "      Rest",
         qlonglong(1),
         qlonglong(1),
         {"1              ", QString(45, u'x'), "See", "2001.03", "1", "1"}},
        {"count and weight longer than their fields",
         qlonglong(1),
         "Hecht",
         qlonglong(1234567),
         qlonglong(123456789012),
         {"1              ", "Hecht", "See", "2001.03", "12345", "1234567890"}},
        {"a catch number of 15 digits",
         qlonglong(123456789012345),
         "Hecht",
         qlonglong(1),
         qlonglong(1),
         {"123456789012345", "Hecht", "See", "2001.03", "1", "1"}},
        {"a catch number of 17 digits",
         qlonglong(12345678901234567),
         "Hecht",
         qlonglong(1),
         qlonglong(1),
         {"123456789012345", "Hecht", "See", "2001.03", "1", "1"}},
        {"leading blanks stay",
         qlonglong(1),
         "  Hecht  ",
         qlonglong(1),
         qlonglong(1),
         {"1              ", "  Hecht", "See", "2001.03", "1", "1"}},
    };
    for (const Fall &f : faelle) {
        SCOPED_TRACE(f.name);
        grid.clear();
        zeile(f.nr, f.art, "See", "März", qlonglong(2001), f.anzahl, f.gewicht);
        EXPECT_EQ(modFAuswert::FangZeile(grid, 0), f.erwartet);
    }
}

TEST_F(FangDatei, FieldsWithSeparatorsQuotesOrLineBreaksAreQuotedAndReadBackUnshifted)
{
    // Names as they may stand in the database; the file keeps every column in place.
    zeile(qlonglong(1), "Fisch; Teich", "\"Alter\" See", "Mai", qlonglong(2024), qlonglong(1), qlonglong(10));
    zeile(qlonglong(2), "Zwei\r\nZeilen", "Fluß", "Juni", qlonglong(2024), qlonglong(2), qlonglong(20));
    zeile(qlonglong(3), "Euro €", "Щука", "Juli", qlonglong(2024), qlonglong(3), qlonglong(30));
    antworte(forms::vbNo);
    modFAuswert::ErzeugeFangDatei(grid);
    EXPECT_TRUE(office.calls.isEmpty());
    const QByteArray bytes = inhalt(pfad());
    EXPECT_EQ(bytes, QByteArray("FangNr;Fischart;Gew\xe4sser;Fangdatum(jjjj.m);Anzahl;Gewicht;\r\n"
                                "1              ;\"Fisch; Teich\";\"\"\"Alter\"\" See\";2024.05;1;10;\r\n"
                                "2              ;\"Zwei\r\nZeilen\";Flu\xdf;2024.06;2;20;\r\n"
                                "3              ;Euro \x80;????;2024.07;3;30;\r\n"));
    const QList<QStringList> gelesen = leseCsv(bytes);
    ASSERT_EQ(gelesen.size(), 4);
    for (const QStringList &z : gelesen)
        EXPECT_EQ(z.size(), 6) << z.join('|').toStdString();
    EXPECT_EQ(gelesen[1][1], QString("Fisch; Teich"));
    EXPECT_EQ(gelesen[1][2], QString("\"Alter\" See"));
    EXPECT_EQ(gelesen[2][1], QString("Zwei\r\nZeilen"));
    EXPECT_EQ(gelesen[2][2], QString("Fluß"));
    EXPECT_EQ(gelesen[3][3], QString("2024.07"));
}

TEST_F(FangDatei, AFolderThatCannotTakeTheFileLeavesNoHalfFileAndOneMessage)
{
    zeile(qlonglong(1), "Hecht", "See", "Mai", qlonglong(2024), qlonglong(1), qlonglong(10));
    // The box's first line, then what stood in the way.
    const QString erste = FangFehler.section(QStringLiteral("\r\n"), 0, 0) + QStringLiteral("\r\n");
    struct Fall
    {
        const char *name;
        std::function<bool()> vorbereiten;
        QString grund;     // the box's second line
        rlim_t grenze = 0; // a file size limit while the file is written
    } faelle[] = {
        {"a full disk",
         [&] {
             QFile alt(pfad());
             alt.open(QIODevice::WriteOnly);
             alt.write("alt\r\n");
             return true;
         },
         "Bitte überprüfen Sie ob noch genug Speicher auf den Datenträger verfügbar ist.", 8},
        {"SeqData read-only",
         [&] {
             QDir().mkpath(home.filePath("SeqData"));
             QFile alt(pfad());
             alt.open(QIODevice::WriteOnly);
             alt.write("alt\r\n");
             alt.close();
             return QFile::setPermissions(home.filePath("SeqData"), QFile::ReadOwner | QFile::ExeOwner);
         },
         "Der Ordner " + home.filePath("SeqData") + " ist schreibgeschützt."},
        {"a folder named FANG.csv",
         [&] {
             QFile::setPermissions(home.filePath("SeqData"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
             QFile::remove(pfad());
             return QDir().mkpath(pfad());
         },
         "An der Stelle der Datei " + pfad() + " steht ein Ordner."},
    };
    for (const Fall &f : faelle) {
        SCOPED_TRACE(f.name);
        if (std::string(f.name) == "SeqData read-only" && geteuid() == 0)
            continue; // the superuser writes into any folder
        ASSERT_TRUE(f.vorbereiten());
        const QByteArray vorher = inhalt(pfad());
        boxes.clear();
        {
            std::optional<vbtest::FileSizeLimit> grenze;
            if (f.grenze) {
                ASSERT_TRUE(grenze.emplace(f.grenze).active());
            }
            modFAuswert::ErzeugeFangDatei(grid);
        }
        ASSERT_EQ(boxes.count(), 1u);
        EXPECT_EQ(boxes.last().text, erste + f.grund);
        EXPECT_EQ(boxes.last().flags, forms::vbOKOnly + forms::vbCritical);
        EXPECT_EQ(inhalt(pfad()), vorher);
        EXPECT_EQ(QDir(home.filePath("SeqData")).entryList(QDir::Files | QDir::Hidden).size(),
                  vorher.isEmpty() ? 0 : 1);
        EXPECT_TRUE(office.calls.isEmpty());
    }
}

TEST_F(FangDatei, AMissingSeqDataFolderIsMadeTheOwnersAloneAndOneThatCannotBeIsNamed)
{
    const vbtest::OpenUmask umask;
    zeile(qlonglong(1), "Hecht", "See", "Mai", qlonglong(2024), qlonglong(1), qlonglong(10));
    ASSERT_TRUE(QDir(home.filePath("SeqData")).removeRecursively());
    antworte(forms::vbNo);
    modFAuswert::ErzeugeFangDatei(grid);
    ASSERT_EQ(boxes.count(), 2u) << apptest::texte(boxes);
    EXPECT_EQ(boxes.boxes()[0].text,
              "Datei - FANG.csv - wurde erfolgreich im Pfad: " + home.filePath("SeqData") + "/ erstellt !");
    EXPECT_EQ(vbtest::fileMode(home.filePath("SeqData")), 0700);
    EXPECT_EQ(inhalt(pfad()).count("\r\n"), 2);

    // A file where the folder belongs: the box names the folder, not the disk space.
    ASSERT_TRUE(QDir(home.filePath("SeqData")).removeRecursively());
    {
        QFile f(home.filePath("SeqData"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    boxes.clear();
    modFAuswert::ErzeugeFangDatei(grid);
    ASSERT_EQ(boxes.count(), 1u) << apptest::texte(boxes);
    EXPECT_EQ(boxes.last().text,
              "ACHTUNG: Ein unerwarteter Fehler trat beim Erzeugen der Fangdatei - FANG.csv - auf !\r\nDer Ordner " +
                  home.filePath("SeqData") + " fehlt und kann nicht angelegt werden (eine Datei trägt seinen Namen).");
    EXPECT_EQ(boxes.last().flags, forms::vbOKOnly + forms::vbCritical);
    EXPECT_TRUE(office.calls.isEmpty());
}

TEST_F(FangDatei, NoSpreadsheetProgramIsReportedOnceAndTheFileStays)
{
    zeile(qlonglong(1), "Hecht", "See", "Mai", qlonglong(2024), qlonglong(1), qlonglong(10));
    office.fail = true;
    antworte(forms::vbYes);
    modFAuswert::ErzeugeFangDatei(grid);
    ASSERT_EQ(boxes.count(), 3u);
    EXPECT_EQ(boxes.last().text, KeinExcel);
    EXPECT_EQ(boxes.last().flags, forms::vbOKOnly + forms::vbInformation);
    EXPECT_EQ(office.calls.size(), 1);
    EXPECT_TRUE(QFile::exists(pfad()));

    boxes.clear();
    modFAuswert::StarteExcelFang();
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, KeinExcel);
    EXPECT_EQ(office.calls.last().path, pfad());
}

// ---- BPLAN.csv --------------------------------------------------------------------------------

class BPlanDatei : public DateiTest
{
protected:
    QString pfad() const { return home.filePath("SeqData/BPLAN.csv"); }
};

TEST_F(BPlanDatei, TheGridsTextsWithoutTrailingBlanksAndQuotedWhereNeeded)
{
    grid.addRow(QVariantList{qlonglong(12), "Karpfen", "Baggersee", "Frühjahr", "150,00"});
    grid.addRow(QVariantList{qlonglong(13), " Hecht  ", "See; Nord", "", "1234,50"});
    grid.addRow(QVariantList{qlonglong(14), "Aal €", "Пруд", "Herbst \"spät\"  ", "0,75"});
    antworte(forms::vbYes);
    modBesatzList::ErzeugeBPlanDatei(grid);
    ASSERT_EQ(boxes.count(), 2u);
    EXPECT_EQ(boxes.boxes()[0].text,
              "Datei - BPLAN.csv - wurde erfolgreich im Pfad: " + home.filePath("SeqData") + "/ erstellt !");
    const QByteArray bytes = inhalt(pfad());
    EXPECT_EQ(bytes, QByteArray("Besatz.- Nr;Fischart;Gew\xe4sser;Zeitpunkt;Menge i. KG;\r\n"
                                "12;Karpfen;Baggersee;Fr\xfchjahr;150,00;\r\n"
                                "13; Hecht;\"See; Nord\";;1234,50;\r\n"
                                "14;Aal \x80;????;\"Herbst \"\"sp\xe4t\"\"\";0,75;\r\n"));
    const QList<QStringList> gelesen = leseCsv(bytes);
    ASSERT_EQ(gelesen.size(), 4);
    for (const QStringList &z : gelesen)
        EXPECT_EQ(z.size(), 5) << z.join('|').toStdString();
    EXPECT_EQ(gelesen[2][2], QString("See; Nord"));
    EXPECT_EQ(gelesen[3][3], QString("Herbst \"spät\""));
    ASSERT_EQ(office.calls.size(), 1);
    EXPECT_EQ(office.calls[0].path, pfad());
    EXPECT_EQ(office.calls[0].program, office::Program::Spreadsheet);
    // The entry number and the free text of the time stay text; the quantity is a number.
    EXPECT_EQ(office.calls[0].textColumns, (QList<int>{1, 4}));
}

TEST_F(BPlanDatei, OneRowGivesTwoLinesAndAFailureItsOwnMessage)
{
    grid.addRow(QVariantList{qlonglong(1), "Hecht", "See", "Mai", "1,00"});
    antworte(forms::vbNo);
    modBesatzList::ErzeugeBPlanDatei(grid);
    EXPECT_EQ(inhalt(pfad()).count("\r\n"), 2);
    EXPECT_TRUE(office.calls.isEmpty());

    const QByteArray vorher = inhalt(pfad());
    boxes.clear();
    {
        // As on a full disk.
        vbtest::FileSizeLimit grenze(4);
        ASSERT_TRUE(grenze.active());
        modBesatzList::ErzeugeBPlanDatei(grid);
    }
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, BPlanFehler);
    EXPECT_EQ(boxes.last().flags, forms::vbOKOnly + forms::vbCritical);
    EXPECT_EQ(inhalt(pfad()), vorher);

    QDir().mkpath(home.filePath("SeqData"));
    office.fail = true;
    boxes.clear();
    modBesatzList::StarteExcelBPlan();
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, KeinExcel);
}

} // namespace
