// One program per program folder: a second start on the folder of a running program says so and
// ends, the first runs on; the lock goes with the program, also when it is killed.
#include "core_fixture.h"

#include "core/modStart.h"

#include "common/testing/file_mode.h"

#include <QDir>
#include <QProcess>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

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
