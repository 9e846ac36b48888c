// The one file writer: whole or not at all, against real failing writes of the file system.
#include "common/savefile.h"
#include "common/testing/file_limit.h"
#include "common/testing/file_mode.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
    QStringList dateien() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }

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

} // namespace
