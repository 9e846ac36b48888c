#pragma once
// A crash at a chosen call, for tests of what a killed program leaves behind. While a KillPoint
// lives, the processes this process starts (a death test's child included) load the kill shim
// (killshim.cpp), which ends them with SIGKILL right before the k-th call of one kind whose path
// matches a shell pattern. The test's own process is not touched.
//
// A gtest death test in the "threadsafe" style starts the test program afresh and runs the test
// up to the death test there; the child then works in the folder that the parent hands over. The
// children's temporary files and folders (their program folders, registries) go into a folder of
// the KillPoint's own, removed with it, so that a killed child leaves nothing behind:
//
//     GTEST_FLAG_SET(death_test_style, "threadsafe");
//     testsupport::KillPoint kill("rename", 1, "*/BPLAN.csv", home.path());
//     EXPECT_EXIT(
//         {
//             qputenv("TORVANA_HOME", testsupport::KillPoint::path().toLocal8Bit());
//             exportiere();
//         },
//         ::testing::KilledBySignal(SIGKILL), "");
//     // here: what the killed child left in home
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>

namespace testsupport {

class KillPoint
{
public:
    // call: "rename", "linkat", "write" or "fsync" (see killshim.cpp); k from 1; path (a folder or
    // a file) is handed to the children as path().
    KillPoint(const char *call, int k, const QString &pattern, const QString &path = QString())
    {
        for (const char *name : {"LD_PRELOAD", "TORVANA_KILL_AT", "ASAN_OPTIONS", "TORVANA_KILL_PATH", "TMPDIR"})
            saved_[count_++] = {name, qEnvironmentVariableIsSet(name), qgetenv(name)};
        qputenv("LD_PRELOAD", TV_KILLSHIM);
        qputenv("TORVANA_KILL_AT", QByteArray(call) + ':' + QByteArray::number(k) + ':' + pattern.toLocal8Bit());
        // The shim comes before the sanitizer's runtime in a sanitized child; that is as meant.
        QByteArray asan = qgetenv("ASAN_OPTIONS");
        qputenv("ASAN_OPTIONS", asan + (asan.isEmpty() ? "" : ":") + "verify_asan_link_order=0");
        // A child runs the test's steps again up to the death test: it keeps the parent's path.
        if (!saved_[3].set)
            qputenv("TORVANA_KILL_PATH", path.toLocal8Bit());
        if (temp_.isValid())
            qputenv("TMPDIR", QFile::encodeName(temp_.path()));
    }
    ~KillPoint()
    {
        for (int i = 0; i < count_; ++i) {
            if (saved_[i].set)
                qputenv(saved_[i].name, saved_[i].value);
            else
                qunsetenv(saved_[i].name);
        }
    }
    KillPoint(const KillPoint &) = delete;
    KillPoint &operator=(const KillPoint &) = delete;

    // In the child: the path the parent handed over.
    static QString path() { return QString::fromLocal8Bit(qgetenv("TORVANA_KILL_PATH")); }

private:
    struct Saved
    {
        const char *name = nullptr;
        bool set = false;
        QByteArray value;
    };
    Saved saved_[5];
    int count_ = 0;
    QTemporaryDir temp_;
};

} // namespace testsupport
