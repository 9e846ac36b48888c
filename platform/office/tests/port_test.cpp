// The office port: which program the desktop's port starts for which file, its fallback to the
// desktop's default, a failed start reported, and the fake taking the port's place.
#include "office/fakeoffice.h"
#include "office/office.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

using office::DesktopOffice;
using office::Program;

namespace {

struct Started
{
    QString program;
    QStringList arguments;
};

// A folder of pretend programs and a port that looks only there and records what it starts.
struct PortFixture
{
    QTemporaryDir bin;
    QTemporaryDir data;
    QString file;
    QList<Started> started;
    QList<QUrl> urls;
    bool startWorks = true;
    bool urlWorks = true;

    PortFixture()
    {
        file = data.filePath(QStringLiteral("SERI.odt"));
        QFile f(file);
        f.open(QIODevice::WriteOnly);
        f.write("x");
    }
    void install(const char *name)
    {
        const QString path = bin.filePath(QString::fromLatin1(name));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("#!/bin/sh\n");
        f.close();
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    DesktopOffice port()
    {
        DesktopOffice::Hooks h;
        h.searchPaths = {bin.path()};
        h.startDetached = [this](const QString &program, const QStringList &arguments) {
            started.append({program, arguments});
            return startWorks;
        };
        h.openUrl = [this](const QUrl &url) {
            urls.append(url);
            return urlWorks;
        };
        return DesktopOffice(h);
    }
};

} // namespace

TEST(OfficePort, LibreOfficeIsStartedInTheComponentThatFitsTheFile)
{
    // Calc gets the import options of the file, so it opens it without asking and reads it right.
    struct Case
    {
        const char *installed;
        Program program;
        QList<int> textColumns;
        QStringList before; // the arguments before the file
    };
    const Case cases[] = {
        {"libreoffice", Program::WordProcessor, {}, {"--writer"}},
        {"libreoffice",
         Program::Spreadsheet,
         {1, 4},
         {"--calc", "--infilter=Text - txt - csv (StarOffice Calc):59,34,1,1,1/2/4/2,1031"}},
        {"soffice", Program::WordProcessor, {}, {"--writer"}},
        {"soffice",
         Program::Spreadsheet,
         {4},
         {"--calc", "--infilter=Text - txt - csv (StarOffice Calc):59,34,1,1,4/2,1031"}},
        {"soffice",
         Program::Spreadsheet,
         {},
         {"--calc", "--infilter=Text - txt - csv (StarOffice Calc):59,34,1,1,,1031"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.installed);
        SCOPED_TRACE(c.before.join(' ').toStdString());
        PortFixture fx;
        fx.install(c.installed);
        fx.install("xdg-open");
        EXPECT_TRUE(fx.port().Open(c.program, fx.file, c.textColumns));
        ASSERT_EQ(fx.started.size(), 1);
        EXPECT_EQ(fx.started[0].program, fx.bin.filePath(QString::fromLatin1(c.installed)));
        EXPECT_EQ(fx.started[0].arguments, c.before + QStringList{fx.file});
        EXPECT_TRUE(fx.urls.isEmpty());
    }
}

TEST(OfficePort, WithoutLibreOfficeTheDesktopDefaultOpensTheFile)
{
    PortFixture fx;
    fx.install("xdg-open");
    EXPECT_TRUE(fx.port().Open(Program::Spreadsheet, fx.file));
    ASSERT_EQ(fx.started.size(), 1);
    EXPECT_EQ(fx.started[0].program, fx.bin.filePath(QStringLiteral("xdg-open")));
    EXPECT_EQ(fx.started[0].arguments, QStringList{fx.file});
}

TEST(OfficePort, WithoutAnyProgramQtsDesktopServicesAreAsked)
{
    PortFixture fx;
    EXPECT_TRUE(fx.port().Open(Program::WordProcessor, fx.file));
    EXPECT_TRUE(fx.started.isEmpty());
    ASSERT_EQ(fx.urls.size(), 1);
    EXPECT_EQ(fx.urls[0], QUrl::fromLocalFile(fx.file));
}

TEST(OfficePort, AFailedStartFallsBackAndIsReportedWhenNothingWorks)
{
    PortFixture fx;
    fx.install("libreoffice");
    fx.install("xdg-open");
    fx.startWorks = false;
    fx.urlWorks = false;
    EXPECT_FALSE(fx.port().Open(Program::Spreadsheet, fx.file));
    ASSERT_EQ(fx.started.size(), 2); // LibreOffice, then the desktop's default
    EXPECT_EQ(fx.started[1].program, fx.bin.filePath(QStringLiteral("xdg-open")));
    EXPECT_EQ(fx.urls.size(), 1);

    fx.urlWorks = true;
    EXPECT_TRUE(fx.port().Open(Program::Spreadsheet, fx.file));
}

TEST(OfficePort, AMissingFileStartsNothing)
{
    PortFixture fx;
    fx.install("libreoffice");
    EXPECT_FALSE(fx.port().Open(Program::WordProcessor, fx.data.filePath(QStringLiteral("fehlt.odt"))));
    EXPECT_FALSE(fx.port().Open(Program::WordProcessor, fx.data.path()));
    EXPECT_TRUE(fx.started.isEmpty());
    EXPECT_TRUE(fx.urls.isEmpty());
}

TEST(OfficePort, TheFakeTakesThePortsPlaceForItsLifetime)
{
    office::OfficePort *desktop = &office::Office();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("FANG.csv"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("a;\r\n");
    }
    {
        office::FakeOffice fake;
        EXPECT_EQ(&office::Office(), &fake);
        EXPECT_TRUE(office::Office().Open(Program::Spreadsheet, path, {1, 4}));
        fake.fail = true;
        EXPECT_FALSE(office::Office().Open(Program::WordProcessor, path));
        ASSERT_EQ(fake.calls.size(), 2);
        EXPECT_EQ(fake.calls[0].program, Program::Spreadsheet);
        EXPECT_EQ(fake.calls[0].path, path);
        EXPECT_EQ(fake.calls[0].content, QByteArray("a;\r\n"));
        EXPECT_EQ(fake.calls[0].textColumns, (QList<int>{1, 4}));
        EXPECT_EQ(fake.calls[1].program, Program::WordProcessor);
    }
    EXPECT_EQ(&office::Office(), desktop);
    // With no fake in place a test still starts no real program, whatever is installed.
    EXPECT_FALSE(office::Office().Open(Program::Spreadsheet, path, {1, 4}));
    EXPECT_FALSE(office::Office().Open(Program::WordProcessor, path));
}
