// Torvana: the main window opens the database and hands over to the login; the program ends
// when the main window is unloaded.
#include "bereiche.h"
#include "core/Main.h"
#include "core/modDruck.h"
#include "core/modStart.h"

#include "forms/form.h"

#include <QApplication>
#include <cstdlib>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Torvana"));
    QApplication::setQuitOnLastWindowClosed(false);
    modStart::LadeQtUebersetzungen();

    // A second program on the same program folder says so and ends; the first runs on.
    modStart::Programmsperre sperre;
    if (!sperre.Erwirb())
        return EXIT_FAILURE;

    RegistriereBereiche();
    Main &main = forms::form<Main>();
    if (!forms::isLoaded<Main>()) {
        forms::unloadAll();
        return EXIT_FAILURE;
    }
    QObject::connect(&main, &forms::MainForm::unloaded, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    const int rc = app.exec();
    // The reports and their previews go while the application still exists.
    modDruck::VerwerfeBerichte();
    forms::unloadAll();
    return rc;
}
