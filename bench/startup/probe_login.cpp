// The program's start as its main program does it, ended at the first paint of the login.
#include "probe_paint.h"

#include "bereiche.h"
#include "core/Login.h"
#include "core/Main.h"
#include "core/modStart.h"

#include "forms/form.h"

#include <QApplication>
#include <cstdlib>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Torvana"));
    QApplication::setQuitOnLastWindowClosed(false);
    ErsteMalung m;
    app.installEventFilter(&m);
    modStart::Programmsperre sperre;
    if (!sperre.Erwirb())
        return 2;
    RegistriereBereiche();
    // The main window's load shows the login; its first paint, on the event loop, is the one
    // waited for.
    forms::form<Main>();
    if (!forms::isLoaded<Main>())
        return 3;
    m.fenster = forms::loadedForm<Login>();
    const int rc = m.warte();
    std::_Exit(rc);
}
