// The delimited text files: the bytes written for tricky fields, reading them back with a CSV
// parser, and no half file on any failure.
#include "office/office.h"

#include "common/testing/file_mode.h"
#include "common/vberror.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

using office::DelimitedFile;

namespace {

// While it lives, the calling thread is bound by file permissions even when it runs as root:
// the capabilities that override them leave its effective set and come back afterwards.
class FileRightsApply
{
public:
    FileRightsApply()
    {
        header_.version = _LINUX_CAPABILITY_VERSION_3;
        header_.pid = 0;
        if (syscall(SYS_capget, &header_, saved_) != 0)
            return;
        __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        active_ = syscall(SYS_capset, &header_, reduced) == 0;
    }
    ~FileRightsApply()
    {
        if (active_)
            syscall(SYS_capset, &header_, saved_);
    }
    FileRightsApply(const FileRightsApply &) = delete;
    FileRightsApply &operator=(const FileRightsApply &) = delete;

private:
    __user_cap_header_struct header_{};
    __user_cap_data_struct saved_[2]{};
    bool active_ = false;
};

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// A reader for the dialect written: ";" separated, "..." quoting with "" for a quote inside, CR
// LF between records, a ";" after the last field of each record.
QList<QStringList> parse(const QByteArray &bytes)
{
    const QString text = QString::fromLatin1(bytes); // the tests' texts stay within Latin-1 where they read back
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text.at(i + 1) == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u';') {
            row.append(field);
            field.clear();
        } else if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') {
            if (!field.isEmpty())
                row.append(field); // a field not closed by ";" (never written here)
            rows.append(row);
            row.clear();
            field.clear();
            ++i;
        } else {
            field += c;
        }
    }
    return rows;
}

QByteArray written(const QList<QStringList> &rows)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.csv"));
    DelimitedFile f(path);
    f.open();
    for (const QStringList &r : rows)
        f.writeRow(r);
    f.commit();
    return readAll(path);
}

} // namespace

TEST(DelimitedFile, TrickyFieldsAreWrittenByteExact)
{
    struct Case
    {
        const char *what;
        QString field;
        QByteArray bytes; // the line for the one field
    };
    const QList<Case> cases = {
        {"plain", QStringLiteral("Hecht"), "Hecht;\r\n"},
        {"empty", QString(), ";\r\n"},
        {"blanks kept", QStringLiteral("7     "), "7     ;\r\n"},
        {"semicolon", QStringLiteral("Fisch; Co"), "\"Fisch; Co\";\r\n"},
        {"quote", QStringLiteral("Der \"Hecht\""), "\"Der \"\"Hecht\"\"\";\r\n"},
        {"line feed", QStringLiteral("a\nb"), "\"a\nb\";\r\n"},
        {"carriage return", QStringLiteral("a\rb"), "\"a\rb\";\r\n"},
        {"CR LF inside", QStringLiteral("a\r\nb"), "\"a\r\nb\";\r\n"},
        {"euro", QStringLiteral("12 €"), "12 \x80;\r\n"},
        {"sharp s and umlauts", QStringLiteral("Weißfisch Gewässer Ü"),
         "Wei\xDF"
         "fisch Gew\xE4sser \xDC;\r\n"},
        {"Windows-1252 extras", QStringLiteral("„Š“ – ™ Ÿ"), "\x84\x8A\x93 \x96 \x99 \x9F;\r\n"},
        {"Cyrillic", QStringLiteral("Щука"), "????;\r\n"},
        {"outside the basic plane", QStringLiteral("Fisch 🐟"), "Fisch ?;\r\n"},
        {"Latin-1 control characters", QString(QChar(0x81)) + QChar(0x9D), "??;\r\n"},
        {"Cyrillic with semicolon", QStringLiteral("Щ;ß"), "\"?;\xDF\";\r\n"},
        {"quotes around the euro and a fish", QStringLiteral("\"€\" 🐟;"), "\"\"\"\x80\"\" ?;\";\r\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(written({{c.field}}), c.bytes);
    }
}

TEST(DelimitedFile, EveryFieldIsFollowedBySemicolonAndLinesEndInCrLf)
{
    EXPECT_EQ(written({{"FangNr", "Fischart"}, {"7", "Hecht"}, {}}),
              QByteArray("FangNr;Fischart;\r\n7;Hecht;\r\n\r\n"));
}

TEST(DelimitedFile, ReadBackGivesTheSameRowsAndColumns)
{
    const QList<QStringList> rows = {
        {"Nr", "Name", "Ort", "Notiz"},
        {"1", "Fisch; Co", "Au\"e", "x"},
        {"2", "zwei\r\nZeilen", "", "\"\""},
        {"3", ";", "\n", "Weißensee"},
        {"4", "", "", ""},
    };
    const QList<QStringList> back = parse(written(rows));
    ASSERT_EQ(back.size(), rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(back[i], rows[i]);
    }
}

TEST(DelimitedFile, MissingFolderIsReportedAndNothingIsCreated)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("SeqData/SERI.txt"));
    DelimitedFile f(path);
    try {
        f.open();
        FAIL() << "no error";
    } catch (const vb::Error &e) {
        EXPECT_EQ(e.number(), office::err::PathNotFound);
    }
    EXPECT_THROW(f.commit(), vb::Error);
    EXPECT_FALSE(QFile::exists(path));
}

TEST(DelimitedFile, ReadOnlyFolderIsReportedAndTheOldFileStays)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("SeqData"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/SERI.txt");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("alt");
    }
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    {
        const FileRightsApply asAnyUser;
        DelimitedFile f(path);
        try {
            f.open();
            f.writeRow({"neu"});
            f.commit();
            ADD_FAILURE() << "no error";
        } catch (const vb::Error &e) {
            EXPECT_EQ(e.number(), office::err::PathFileAccess);
        }
    }
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(readAll(path), QByteArray("alt"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("SERI.txt")});
}

TEST(DelimitedFile, WithoutCommitTheOldFileStaysAndNoTemporaryFileIsLeft)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("FANG.csv"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("alt");
    }
    {
        DelimitedFile f(path);
        f.open();
        for (int i = 0; i < 20000; ++i) // beyond the buffer: part of it reached the disk
            f.writeRow({QString::number(i), QStringLiteral("Hecht")});
        // an error on the caller's path: the object goes away without commit()
    }
    EXPECT_EQ(readAll(path), QByteArray("alt"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("FANG.csv")});
}

TEST(DelimitedFile, CommitReplacesAnExistingFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("FANG.csv"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("alt und viel laenger als das neue");
    }
    DelimitedFile f(path);
    f.open();
    f.writeRow({"neu"});
    f.commit();
    EXPECT_EQ(readAll(path), QByteArray("neu;\r\n"));
}

TEST(DelimitedFile, TheFileIsItsOwnersAloneAlsoWhenItReplacesAReadableOne)
{
    const vbtest::OpenUmask umask;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("SERI.txt"));
    for (const char *fall : {"neu", "ersetzt"}) {
        SCOPED_TRACE(fall);
        DelimitedFile f(path);
        f.open();
        f.writeRow({"Meier", "Hauptstr. 1"});
        f.commit();
        EXPECT_EQ(vbtest::fileMode(path), 0600);
        ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                    QFileDevice::ReadGroup | QFileDevice::ReadOther));
    }
}

TEST(DelimitedFile, ATargetThatCannotBeWrittenIsReported)
{
    // A folder under the file's name: neither the file nor its rename can be made (also for
    // root, who writes into read-only folders).
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("SERI.txt"));
    ASSERT_TRUE(QDir().mkpath(path));
    DelimitedFile f(path);
    int number = 0;
    try {
        f.open();
        f.writeRow({"neu"});
        f.commit();
    } catch (const vb::Error &e) {
        number = e.number();
    }
    EXPECT_EQ(number, office::err::PathFileAccess);
    EXPECT_TRUE(QFileInfo(path).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
}

TEST(DelimitedFile, TheReaderGivesBackWhatWasWritten)
{
    const QList<QStringList> rows = {
        {"Mitgl.-Nr", "Firma", "Ort"},
        {"1", "Fisch; Co", "Groß Köris"},
        {"2", "\"Zander\" GmbH", "zwei\r\nZeilen"},
        {"3", "", "12 €"},
        {"4", "Щука", "\n"},
        {},
        {"5", "", ""},
    };
    const QList<QStringList> back = office::parseDelimited(office::fromWindows1252(written(rows)));
    ASSERT_EQ(back.size(), rows.size());
    for (qsizetype i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        QStringList expected = rows[i];
        if (i == 4)
            expected[1] = QStringLiteral("????"); // what the code page could not hold
        EXPECT_EQ(back[i], expected);
    }
}

TEST(DelimitedFile, TheReaderTakesLinesWithoutTheLastSemicolonAndBareLineFeeds)
{
    const QList<QStringList> back = office::parseDelimited(QStringLiteral("a;b\nc;\"d\"\r\n;\n\"e;f\""));
    const QList<QStringList> expected = {{"a", "b"}, {"c", "d"}, {""}, {"e;f"}};
    EXPECT_EQ(back, expected);
    EXPECT_EQ(office::fromWindows1252(QByteArray("\x80\x8A\xDF\x81", 4)), QStringLiteral("€Šß\uFFFD"));
}
