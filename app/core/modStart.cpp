#include "core/modStart.h"
#include "core/Main.h"
#include "core/modGVar.h"

#include "forms/form.h"
#include "forms/vbconst.h"
#include "ole/container.h"

#include <QDir>
#include <QtGlobal>

namespace modStart {

QString Programmordner()
{
    const QString home = qEnvironmentVariable("TORVANA_HOME");
    if (!home.isEmpty())
        return home;
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty())
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return data + QStringLiteral("/torvana");
}

QString Datenbankpfad()
{
    return Programmordner() + QStringLiteral("/tv01.mdb");
}

void OeffneDatenbank()
{
    gv().wsDaten = &dao::DBEngine::Workspaces(0);
    gv().dbDaten = gv().wsDaten->OpenDatabase(Datenbankpfad(), false, false, Verbindung);
}

void SetzeFenstergroesse()
{
    Main *main = forms::loadedForm<Main>();
    if (!main)
        return;
    main->ButtnBar->setFixedHeight(forms::twipsToPixels(7695));
    main->resize(main->width(), forms::twipsToPixels(8625));
}

Startschritte &startschritte()
{
    static Startschritte schritte;
    return schritte;
}

} // namespace modStart
