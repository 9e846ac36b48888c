// The one file writer: whole or not at all, against real failing writes of the file system, links
// at the target and writers killed at each of their steps.
#include "common/savefile.h"
#include "common/testing/file_limit.h"
#include "common/testing/file_mode.h"
#include "testsupport/killpoint.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>

namespace {

QByteArray inhalt(const QString &pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(fehlt)");
}

class SaveFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        pfad = dir.filePath("BPLAN.csv");
        QFile alt(pfad);
        ASSERT_TRUE(alt.open(QIODevice::WriteOnly));
        alt.write("alt;\r\n");
    }
    QStringList dateien() const
    {
        return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }

    QTemporaryDir dir;
    QString pfad;
};

TEST_F(SaveFileTest, AWriteThatTheFileSystemRefusesOrCutsShortLeavesTheOldFileAndNoTemporaryFile)
{
    const QByteArray gross(4096, 'x');
    struct Fall
    {
        const char *name;
        rlim_t grenze;
        QList<QByteArray> teile;
    } faelle[] = {
        {"the first write is cut short", 100, {gross}},
        {"a later write is refused", 4096, {gross, "mehr"}},
        {"a write in small pieces reaches the limit", 10, {"12345", "67890", "abc"}},
    };
    for (const Fall &f : faelle) {
        SCOPED_TRACE(f.name);
        savefile::Writer w(pfad);
        bool ok = true;
        {
            vbtest::FileSizeLimit grenze(f.grenze);
            ASSERT_TRUE(grenze.active());
            ok = w.open();
            for (const QByteArray &teil : f.teile)
                ok = w.write(teil) && ok;
            ok = w.commit() && ok;
        }
        EXPECT_FALSE(ok);
        EXPECT_EQ(w.fault(), savefile::Fault::Write);
        EXPECT_EQ(w.errorString(), QString::fromLocal8Bit(std::strerror(EFBIG)));
        EXPECT_EQ(inhalt(pfad), QByteArray("alt;\r\n"));
        EXPECT_EQ(dateien(), QStringList{"BPLAN.csv"});
        EXPECT_FALSE(w.write("nach dem Fehler"));
        EXPECT_FALSE(w.commit());
        EXPECT_EQ(inhalt(pfad), QByteArray("alt;\r\n"));
    }
}

TEST_F(SaveFileTest, AMissingFolderFailsAtOpenAndCreatesNothing)
{
    const QString fehlt = dir.filePath("SeqData/SERI.txt");
    savefile::Fault fault{};
    QString fehler;
    EXPECT_FALSE(savefile::writeWhole(fehlt, "x", {}, &fault, &fehler));
    EXPECT_EQ(fault, savefile::Fault::Open);
    EXPECT_FALSE(fehler.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("SeqData")));
}

TEST_F(SaveFileTest, AWholeWriteReplacesTheFileWithTheGivenMode)
{
    vbtest::OpenUmask umask;
    savefile::Writer w(pfad);
    ASSERT_TRUE(w.open(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    ASSERT_TRUE(w.write("neu;"));
    ASSERT_TRUE(w.write("\r\n"));
    EXPECT_EQ(inhalt(pfad), QByteArray("alt;\r\n")); // nothing shows before the commit
    ASSERT_TRUE(w.commit());
    EXPECT_EQ(w.fault(), savefile::Fault::None);
    EXPECT_EQ(inhalt(pfad), QByteArray("neu;\r\n"));
    EXPECT_EQ(vbtest::fileMode(pfad), 0600);
    EXPECT_EQ(dateien(), QStringList{"BPLAN.csv"});
}

TEST_F(SaveFileTest, AWriterLeftWithoutCommitDiscardsWhatItWrote)
{
    {
        savefile::Writer w(pfad);
        ASSERT_TRUE(w.open());
        ASSERT_TRUE(w.write("halb"));
    }
    EXPECT_EQ(inhalt(pfad), QByteArray("alt;\r\n"));
    EXPECT_EQ(dateien(), QStringList{"BPLAN.csv"});
}

// A link where the file belongs is replaced by the new file; the file it names, outside the
// folder, keeps its bytes and its mode.
TEST_F(SaveFileTest, ALinkAtTheTargetIsReplacedAndWhatItNamesIsNotTouched)
{
    QTemporaryDir draussen;
    ASSERT_TRUE(draussen.isValid());
    const QString opfer = draussen.filePath("victim.txt");
    {
        QFile f(opfer);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("fremd\n");
    }
    ASSERT_TRUE(QFile::setPermissions(opfer, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                                 QFileDevice::ReadOther));
    struct Fall
    {
        const char *name;
        QString ziel; // what the link names
    } faelle[] = {
        {"a link to a file outside", opfer},
        {"a link to nothing", draussen.filePath("fehlt.txt")},
    };
    for (const Fall &f : faelle) {
        SCOPED_TRACE(f.name);
        ASSERT_TRUE(QFile::remove(pfad));
        ASSERT_TRUE(QFile::link(f.ziel, pfad));
        ASSERT_TRUE(savefile::writeWhole(pfad, "neu;\r\n", QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        EXPECT_FALSE(QFileInfo(pfad).isSymLink());
        EXPECT_EQ(inhalt(pfad), QByteArray("neu;\r\n"));
        EXPECT_EQ(vbtest::fileMode(pfad), 0600);
        EXPECT_EQ(inhalt(opfer), QByteArray("fremd\n"));
        EXPECT_EQ(vbtest::fileMode(opfer), 0644);
        EXPECT_FALSE(QFileInfo::exists(draussen.filePath("fehlt.txt")));
        EXPECT_EQ(dateien(), QStringList{"BPLAN.csv"});
    }
}

// A writer killed at a write or at its rename leaves the old file whole and its temporary file
// under a name of its own, which the next write of the file removes; killed at the sync of the
// folder, it has put the new file in place: the folder is synced after the rename.
TEST_F(SaveFileTest, AWriterKilledAtAnyStepLeavesTheOldOrTheNewFileAndTheNextWriteRemovesItsLeftover)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const QByteArray neu = QByteArray(100000, 'n') + "\r\n";
    const QRegularExpression rest(QStringLiteral("^\\.BPLAN\\.csv\\.tv~[A-Za-z0-9]{6}$"));
    struct Fall
    {
        const char *aufruf;
        QString muster;
        QByteArray danach; // the file's bytes after the kill
        bool rueckstand;   // a temporary file is left behind
    } faelle[] = {
        {"write", dir.path() + "/.BPLAN.csv.tv~*", "alt;\r\n", true},
        {"rename", pfad, "alt;\r\n", true},
        {"fsync", dir.path(), neu, false},
    };
    for (const Fall &f : faelle) {
        SCOPED_TRACE(f.aufruf);
        {
            testsupport::KillPoint kill(f.aufruf, 1, f.muster, pfad);
            EXPECT_EXIT(savefile::writeWhole(testsupport::KillPoint::path(), neu), ::testing::KilledBySignal(SIGKILL),
                        "");
        }
        EXPECT_EQ(inhalt(pfad), f.danach);
        const QStringList nachher = dateien();
        EXPECT_EQ(nachher.size(), f.rueckstand ? 2 : 1) << nachher.join(u' ').toStdString();
        if (f.rueckstand) {
            EXPECT_TRUE(rest.match(nachher.value(0)).hasMatch()) << nachher.join(u' ').toStdString();
        }

        ASSERT_TRUE(savefile::writeWhole(pfad, "alt;\r\n"));
        EXPECT_EQ(dateien(), QStringList{"BPLAN.csv"});
    }
}

// What killed writers left is removed at the start, every file's, but neither a temporary file
// that a living writer holds nor a user's file whose name merely looks alike.
TEST_F(SaveFileTest, LeftoversGoButALivingWritersFileAndTheUsersFilesStay)
{
    const QStringList fremde{"BPLAN.csv.aDYPYv", ".BPLAN.csv.tv~kurz", "BPLAN.csv.tv~abcdef", ".versteckt"};
    for (const QString &name : fremde + QStringList{".BPLAN.csv.tv~Abc123", ".SERI.txt.tv~zz9900"}) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    savefile::Writer lebt(dir.filePath("FANG.csv"));
    ASSERT_TRUE(lebt.open());
    ASSERT_TRUE(lebt.write("lebt"));

    savefile::removeLeftovers(dir.path());

    QStringList erwartet = fremde;
    erwartet << "BPLAN.csv";
    QStringList uebrig = dateien();
    const QRegularExpression gehalten(QStringLiteral("^\\.FANG\\.csv\\.tv~[A-Za-z0-9]{6}$"));
    EXPECT_EQ(uebrig.removeIf([&](const QString &n) { return gehalten.match(n).hasMatch(); }), 1);
    erwartet.sort();
    EXPECT_EQ(uebrig, erwartet);

    // The living writer goes on; its file appears, its temporary name goes.
    ASSERT_TRUE(lebt.commit());
    EXPECT_EQ(inhalt(dir.filePath("FANG.csv")), QByteArray("lebt"));
    erwartet << "FANG.csv";
    erwartet.sort();
    EXPECT_EQ(dateien(), erwartet);
}

} // namespace
