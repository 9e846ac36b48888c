// One program per program folder: a second start on the folder of a running program says so and
// ends, the first runs on; the lock goes with the program, also when it is killed.
#include "core_fixture.h"

#include "core/modStart.h"

#include "com/registry.h"
#include "common/testing/file_mode.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include <sys/stat.h>

using namespace coretest;

namespace {

const QString Meldung =
    QStringLiteral("ACHTUNG: Torvana läuft bereits mit dem Programmordner %1 !\n\r"
                   "Bitte arbeiten Sie in dem geöffneten Torvana weiter. Torvana beendet sich jetzt !");

class Programmsperre : public CoreTest
{
protected:
    // The program on this test's program folder, headless, with nobody to answer its boxes.
    void starteProgramm(QProcess &p)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TORVANA_HOME"), home.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p.start(QStringLiteral(TORVANA_PROGRAM), QStringList{});
        ASSERT_TRUE(p.waitForStarted()) << p.errorString().toStdString();
    }

    // True once another process holds the lock of the folder (false when p ended first).
    bool wartetBisGesperrt(QProcess &p)
    {
        for (;;) {
            {
                modStart::Programmsperre probe;
                boxes.answer(forms::vbOK); // the probe that finds the lock taken says so
                const bool frei = probe.Erwirb();
                boxes.clear();
                if (!frei)
                    return true;
            }
            if (p.state() == QProcess::NotRunning || p.waitForFinished(50))
                return false;
        }
    }
};

} // namespace

TEST_F(Programmsperre, TheSecondOnTheSameFolderShowsWhyAndEndsAndTheLockGoesWithTheProgram)
{
    QProcess erstes;
    starteProgramm(erstes);
    ASSERT_TRUE(wartetBisGesperrt(erstes)) << "the first program ended with " << erstes.exitCode();

    // The program started a second time on the folder ends at once, with a failure.
    QProcess zweites;
    starteProgramm(zweites);
    ASSERT_TRUE(zweites.waitForFinished(120000));
    EXPECT_EQ(zweites.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(zweites.exitCode(), EXIT_FAILURE);
    EXPECT_EQ(erstes.state(), QProcess::Running);

    // What the second start shows.
    {
        modStart::Programmsperre zweite;
        EXPECT_FALSE(zweite.Erwirb());
        ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
        EXPECT_EQ(boxes.last().text, Meldung.arg(QDir::toNativeSeparators(home.path())));
        EXPECT_EQ(boxes.last().title, QStringLiteral("Torvana"));
        EXPECT_EQ(boxes.last().flags, forms::vbOKOnly + forms::vbCritical);
    }
    EXPECT_EQ(erstes.state(), QProcess::Running);

    // Killed, the first program leaves the folder free.
    ::kill(pid_t(erstes.processId()), SIGKILL);
    ASSERT_TRUE(erstes.waitForFinished(120000));
    boxes.clear();
    modStart::Programmsperre danach;
    EXPECT_TRUE(danach.Erwirb());
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
}

TEST_F(Programmsperre, InOneProcessTheLockIsHeldUntilItsOwnerGoes)
{
    auto erste = std::make_unique<modStart::Programmsperre>();
    EXPECT_TRUE(erste->Erwirb());
    EXPECT_TRUE(erste->Erwirb()); // taken once, held
    {
        modStart::Programmsperre zweite;
        EXPECT_FALSE(zweite.Erwirb());
    }
    EXPECT_EQ(boxes.count(), 1u) << texte(boxes);
    EXPECT_EQ(boxes.count(Meldung.arg(QDir::toNativeSeparators(home.path()))), 1u) << texte(boxes);
    erste.reset();
    modStart::Programmsperre dritte;
    EXPECT_TRUE(dritte.Erwirb());
    EXPECT_EQ(boxes.count(), 1u) << texte(boxes);
    EXPECT_EQ(QFileInfo(home.path() + "/torvana.lock").permissions() &
                  (QFileDevice::ReadGroup | QFileDevice::ReadOther),
              QFileDevice::Permissions());
}

TEST_F(Programmsperre, WithoutTheProgramFolderTheStartGoesOnToReportTheMissingDatabase)
{
    qputenv("TORVANA_HOME", (home.path() + "/fehlt").toUtf8());
    modStart::Programmsperre sperre;
    EXPECT_TRUE(sperre.Erwirb());
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
    qputenv("TORVANA_HOME", home.path().toUtf8());
}

TEST_F(Programmsperre, ALockFileThatCannotBeMadeIsReportedOnceAndTheStartGoesOn)
{
    // A folder where the lock file belongs: it can be neither created nor opened, also by root.
    ASSERT_TRUE(QDir(home.path()).mkdir("torvana.lock"));
    modStart::Programmsperre sperre;
    EXPECT_TRUE(sperre.Erwirb());
    ASSERT_EQ(boxes.count(), 1u) << texte(boxes);
    EXPECT_EQ(
        boxes.last().text,
        QStringLiteral("ACHTUNG: Die Sperrdatei %1/torvana.lock kann nicht angelegt oder gesperrt werden (%2) !\n\r"
                       "Torvana läuft ohne Schutz davor weiter, dass ein zweites Torvana denselben "
                       "Programmordner verwendet.")
            .arg(QDir::toNativeSeparators(home.path()), QString::fromLocal8Bit(std::strerror(EISDIR))));
    EXPECT_EQ(boxes.last().title, QStringLiteral("Torvana"));
    EXPECT_EQ(boxes.last().flags, forms::vbOKOnly + forms::vbExclamation);
    ASSERT_TRUE(QDir(home.path()).rmdir("torvana.lock"));
}

TEST_F(Programmsperre, TheStartMakesTheProgramFolderItsOwnersAlone)
{
    for (const QFileDevice::Permissions vorher :
         {QFileDevice::Permissions(0x7755), QFileDevice::Permissions(0x7700 | QFileDevice::ReadOther)}) {
        SCOPED_TRACE(int(vorher));
        ASSERT_TRUE(QFile::setPermissions(home.path(), vorher));
        ASSERT_NE(vbtest::fileMode(home.path()), 0700);
        modStart::Programmsperre sperre;
        EXPECT_TRUE(sperre.Erwirb());
        EXPECT_EQ(vbtest::fileMode(home.path()), 0700);
    }
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
}

// A database file and journals copied in readable by all: the start makes them their owner's
// alone, as it does the folder.
TEST_F(Programmsperre, TheStartMakesTheDatabaseAndItsJournalsTheOwnersAlone)
{
    const vbtest::OpenUmask umask;
    for (const char *rest : {"-journal", "-wal"}) {
        QFile f(db() + rest);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    for (const char *datei : {"", "-journal", "-wal"})
        ASSERT_TRUE(::chmod(QFile::encodeName(db() + datei).constData(), 0644) == 0) << datei;
    modStart::Programmsperre sperre;
    EXPECT_TRUE(sperre.Erwirb());
    for (const char *datei : {"", "-journal", "-wal"})
        EXPECT_EQ(vbtest::fileMode(db() + datei), 0600) << datei;
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
}

// A link where the lock file belongs is replaced by the lock file; the file it names, outside
// the folder, is neither made nor changed nor locked.
TEST_F(Programmsperre, ALinkInPlaceOfTheLockFileIsReplacedAndWhatItNamesIsNotTouched)
{
    QTemporaryDir draussen;
    const QString opfer = draussen.filePath("victim.txt");
    {
        QFile f(opfer);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("fremd\n");
    }
    const QString sperrdatei = home.path() + "/torvana.lock";
    for (const QString &ziel : {opfer, draussen.filePath("fehlt.lock")}) {
        SCOPED_TRACE(ziel.toStdString());
        QFile::remove(sperrdatei);
        ASSERT_TRUE(QFile::link(ziel, sperrdatei));
        {
            modStart::Programmsperre sperre;
            EXPECT_TRUE(sperre.Erwirb());
            EXPECT_FALSE(QFileInfo(sperrdatei).isSymLink());
            EXPECT_EQ(vbtest::fileMode(sperrdatei), 0600);
            // The lock is held on the file in the folder.
            modStart::Programmsperre zweite;
            boxes.answer(forms::vbOK);
            EXPECT_FALSE(zweite.Erwirb());
        }
        EXPECT_FALSE(QFileInfo::exists(draussen.filePath("fehlt.lock")));
        QFile f(opfer);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), QByteArray("fremd\n"));
        boxes.clear();
    }
}

// What writers killed in an earlier run left in the program folder, SeqData and the registry's
// folder goes at the next start; the users' own files stay.
TEST_F(Programmsperre, TheStartRemovesWhatKilledWritersLeft)
{
    ASSERT_TRUE(QDir(home.path()).mkpath("SeqData"));
    const QString registry = QFileInfo(com::reg::filePath()).absolutePath();
    const QStringList reste{home.path() + "/SeqData/.BPLAN.csv.tv~aDYPYv", home.path() + "/SeqData/.SERI.odt.tv~000000",
                            home.path() + "/.tv01.mdb.tv~Zz9Zz9", registry + "/.registry.tv~abcdef"};
    const QStringList eigene{home.path() + "/SeqData/BPLAN.csv.aDYPYv", home.path() + "/SeqData/.BPLAN.csv.tv~kurz"};
    for (const QString &pfad : reste + eigene) {
        QFile f(pfad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << pfad.toStdString();
        f.write("rest");
    }
    modStart::Programmsperre sperre;
    EXPECT_TRUE(sperre.Erwirb());
    for (const QString &pfad : reste)
        EXPECT_FALSE(QFileInfo::exists(pfad)) << pfad.toStdString();
    for (const QString &pfad : eigene)
        EXPECT_TRUE(QFileInfo::exists(pfad)) << pfad.toStdString();
    EXPECT_EQ(boxes.count(), 0u) << texte(boxes);
}
