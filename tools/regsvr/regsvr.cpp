// regsvr [-u] <library>: registers (or with -u unregisters) the classes of a component library by
// calling its DllRegisterServer (DllUnregisterServer). The library is loaded by its full path.
#include "com/activation.h"
#include "com/dispatch.h"

#include <QCoreApplication>
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
        return fail(QStringLiteral("%1: %2 fehlgeschlagen (%3)%4")
                        .arg(path, QString::fromLatin1(entry), hex(hr),
                             text.isEmpty() ? QString() : QStringLiteral(": ") + text));
    }
    std::printf("%s\n", qPrintable(unregister ? QStringLiteral("%1: Registrierung entfernt.").arg(path)
                                              : QStringLiteral("%1: Registrierung erfolgreich.").arg(path)));
    return 0;
}
