#include "office/office.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QtGlobal>

namespace office {

namespace {

QString findProgram(const QString &name, const QStringList &searchPaths)
{
    return searchPaths.isEmpty() ? QStandardPaths::findExecutable(name)
                                 : QStandardPaths::findExecutable(name, searchPaths);
}

DesktopOffice::Hooks completed(DesktopOffice::Hooks hooks)
{
    if (!hooks.startDetached)
        hooks.startDetached = [](const QString &program, const QStringList &arguments) {
            return QProcess::startDetached(program, arguments);
        };
    if (!hooks.openUrl)
        hooks.openUrl = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    return hooks;
}

OfficePort *current = nullptr;

} // namespace

DesktopOffice::DesktopOffice() : DesktopOffice(Hooks{})
{}

DesktopOffice::DesktopOffice(Hooks hooks) : hooks_(completed(std::move(hooks)))
{}

QString csvImportFilter(const QList<int> &textColumns)
{
    QStringList formats;
    for (int column : textColumns)
        formats << QString::number(column) + QStringLiteral("/2"); // 2: text
    // 59 ";", 34 '"', 1 Windows-1252, first line 1, the column formats, 1031 German.
    return QStringLiteral("Text - txt - csv (StarOffice Calc):59,34,1,1,") + formats.join(QLatin1Char('/')) +
           QStringLiteral(",1031");
}

bool DesktopOffice::Open(Program program, const QString &path, const QList<int> &textColumns)
{
    const QFileInfo file(path);
    if (!file.isFile())
        return false;
    const QString absolute = file.absoluteFilePath();

    // LibreOffice, in the component that fits the file.
    for (const char *name : {"libreoffice", "soffice"}) {
        const QString exe = findProgram(QString::fromLatin1(name), hooks_.searchPaths);
        if (exe.isEmpty())
            continue;
        const QStringList arguments =
            program == Program::WordProcessor
                ? QStringList{QStringLiteral("--writer"), absolute}
                : QStringList{QStringLiteral("--calc"), QStringLiteral("--infilter=") + csvImportFilter(textColumns),
                              absolute};
        if (hooks_.startDetached(exe, arguments))
            return true;
    }

    // The desktop's default program for the file.
    const QString xdgOpen = findProgram(QStringLiteral("xdg-open"), hooks_.searchPaths);
    if (!xdgOpen.isEmpty() && hooks_.startDetached(xdgOpen, {absolute}))
        return true;
    return hooks_.openUrl(QUrl::fromLocalFile(absolute));
}

OfficePort &Office()
{
    static DesktopOffice desktop;
    return current ? *current : desktop;
}

OfficePort *SetOffice(OfficePort *port)
{
    OfficePort *previous = current;
    current = port;
    return previous;
}

} // namespace office
