// regsvr [-u] <library>: registers (or with -u unregisters) the classes of a component library by
// calling its DllRegisterServer (DllUnregisterServer). The library is loaded by its full path.
// A damaged registry file is set aside under the name "<file>.beschaedigt" (numbered when that
// exists) and the registration starts on an empty registry; regsvr says so.
#include "com/activation.h"
#include "com/dispatch.h"
#include "com/registry.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

#include <cstdio>

namespace {

QString hex(HRESULT hr)
{
    return QStringLiteral("0x") + QString::number(uint32_t(hr), 16).toUpper().rightJustified(8, u'0');
}

int fail(const QString &text)
{
    std::fprintf(stderr, "regsvr: %s\n", qPrintable(text));
    return 1;
}

// A registry file that cannot be read is renamed aside so that registration can start afresh;
// false (with the message shown) when it cannot be renamed.
bool setDamagedRegistryAside()
{
    QString why;
    if (com::reg::status(&why) != ERROR_BADDB)
        return true;
    const QString file = com::reg::filePath();
    QString aside = file + QStringLiteral(".beschaedigt");
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = file + QStringLiteral(".beschaedigt-") + QString::number(n);
    if (!QFile::rename(file, aside)) {
        fail(QStringLiteral("Die Komponentenregistrierung %1 ist beschädigt (%2) und kann nicht nach %3 umbenannt "
                            "werden. Bitte benennen Sie sie selbst um oder entfernen Sie sie und rufen Sie regsvr "
                            "erneut auf.")
                 .arg(file, why, aside));
        return false;
    }
    std::fprintf(stderr, "regsvr: %s\n",
                 qPrintable(QStringLiteral("Die Komponentenregistrierung %1 war beschädigt (%2); sie liegt jetzt "
                                           "unter %3, die Registrierung beginnt neu. Registrieren Sie auch die "
                                           "übrigen Steuerelemente neu.")
                                .arg(file, why, aside)));
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    bool unregister = false;
    if (!args.isEmpty() && (args.front() == u"-u" || args.front() == u"/u")) {
        unregister = true;
        args.removeFirst();
    }
    if (args.size() != 1 || args.front().startsWith(u'-')) {
        std::fprintf(stderr, "Aufruf: regsvr [-u] <Bibliothek>\n");
        return 2;
    }
    QFileInfo info(args.front());
    if (!info.exists() || !info.isFile())
        return fail(QStringLiteral("%1: Datei nicht gefunden.").arg(args.front()));
    const QString path = info.canonicalFilePath(); // always a full path, never a bare name

    if (!setDamagedRegistryAside())
        return 1;

    // A cut or foreign file is refused before the loader maps it (and dies of a bus error).
    QString why;
    if (!com::checkLibraryImage(path, &why))
        return fail(QStringLiteral("%1: Bibliothek beschädigt (%2): %3").arg(path, hex(CO_E_ERRORINDLL), why));
    dlerror();
    void *lib = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!lib) {
        const char *why = dlerror();
        return fail(
            QStringLiteral("%1: Bibliothek nicht ladbar: %2").arg(path, QString::fromLocal8Bit(why ? why : "")));
    }
    const char *entry = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    auto fn = reinterpret_cast<HRESULT (*)()>(dlsym(lib, entry));
    if (!fn)
        return fail(QStringLiteral("%1: %2 fehlt; keine Komponentenbibliothek.").arg(path, QString::fromLatin1(entry)));

    SetErrorInfo(0, nullptr);
    HRESULT hr = fn();
    if (FAILED(hr)) {
        QString text = com::currentErrorDescription();
        // A registry that could not be written (a full disk, no rights) says which file and why.
        const QString registry = com::reg::lastWriteError();
        if (!registry.isEmpty())
            text = text.isEmpty() ? registry : text + QLatin1Char(' ') + registry;
        return fail(QStringLiteral("%1: %2 fehlgeschlagen (%3)%4")
                        .arg(path, QString::fromLatin1(entry), hex(hr),
                             text.isEmpty() ? QString() : QStringLiteral(": ") + text));
    }
    std::printf("%s\n", qPrintable(unregister ? QStringLiteral("%1: Registrierung entfernt.").arg(path)
                                              : QStringLiteral("%1: Registrierung erfolgreich.").arg(path)));
    return 0;
}
