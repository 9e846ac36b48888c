#include "fishery/Tabellendatei.h"

#include "core/modGVar.h"
#include "core/modRun.h"
#include "core/modStart.h"

#include "forms/services.h"
#include "office/office.h"

namespace fishery {

bool SchreibeTabellendatei(const Tabellendatei &datei)
{
    QString grund;
    if (!modStart::SichereOrdnerFuer(datei.pfad, &grund)) {
        // The message, and the folder's cause.
        forms::MsgBox(datei.fehler + QStringLiteral("\r\n") + grund, forms::vbOKOnly + forms::vbCritical,
                      modRun::Titel);
        return false;
    }
    try {
        office::DelimitedFile f(datei.pfad);
        f.open();
        f.writeRow(datei.kopf);
        for (int i = 0; i < datei.zeilen; ++i)
            datei.zeile(f, i);
        f.commit();
    } catch (...) {
        // Nothing of the new file is left; an older one stays as it was. The message, and what
        // stood in the way.
        forms::MsgBox(datei.fehler + QStringLiteral("\r\n") + modStart::Schreibhindernis(datei.pfad),
                      forms::vbOKOnly + forms::vbCritical, modRun::Titel);
        return false;
    }
    forms::MsgBox(datei.erfolg, forms::vbOKOnly + forms::vbInformation, modRun::Titel);
    return true;
}

void BieteTabellenprogrammAn(const QString &pfad, const QList<int> &textSpalten)
{
    const int antwort =
        forms::MsgBox(QStringLiteral("Möchten Sie jetzt Excel starten ?"), forms::vbYesNo, modRun::Titel);
    if (antwort == forms::vbYes)
        StarteTabellenprogramm(pfad, textSpalten);
}

void StarteTabellenprogramm(const QString &pfad, const QList<int> &textSpalten)
{
    if (!office::Office().Open(office::Program::Spreadsheet, pfad, textSpalten))
        forms::MsgBox(QStringLiteral("Es ist kein Excel verfügbar !"), forms::vbOKOnly + forms::vbInformation,
                      modRun::Titel);
}

QStringView OhneEndblanks(QStringView text)
{
    qsizetype n = text.size();
    while (n > 0 && text.at(n - 1) == u' ')
        --n;
    return text.first(n);
}

QString OhneEndblanks(const QString &text)
{
    const QStringView kurz = OhneEndblanks(QStringView(text));
    return kurz.size() == text.size() ? text : kurz.toString();
}

} // namespace fishery
