#include "core/modGVar.h"
#include "core/modRun.h"
#include "core/modStart.h"
#include "core/plugins.h"
#include "core/trap.h"

#include "dao/dao.h"
#include "forms/services.h"

namespace modStart {

namespace {

QString Frage(int jahr)
{
    const QString &u = modRun::Umbruch;
    return QStringLiteral("WICHTIG: Akt. Systemjahr hat sich geändert ! Akt. Systemjahr = ") + QString::number(jahr) +
           u +
           QStringLiteral("Soll das Systemjahr als Fangjahr in die Systemparameter von Torvana übernommen werden ?") +
           u + QStringLiteral("Wenn Sie die Frage mit NEIN beantworten, wird Torvana beendet. ") + u +
           QString(66, QLatin1Char(' ')) + u + QStringLiteral("Wollen Sie das Systemjahr als Fangjahr übernehmen?");
}

const QString TitelArbeit = QStringLiteral("Torvana [Arbeitscontrolling]");

} // namespace

bool KontrolliereSystemJahr()
{
    auto &g = gv();
    modRun::Trap trap(QStringLiteral("modStart"), QStringLiteral("KontrolliereSystemJahr"));

    // The login ends the program on False; when that is not the user's own choice, it says so.
    const auto beende = [](const QString &grund) {
        forms::MsgBox(grund + modRun::Umbruch + QStringLiteral("Torvana beendet sich jetzt !"),
                      forms::vbOKOnly + forms::vbCritical, modRun::Titel);
        return false;
    };
    long altesJahr = 0;
    if (!trap.run([&] {
            dao::Recordset rs = g.dbDaten.OpenRecordset("System", dao::dbOpenTable);
            altesJahr = rs.Fields(QStringLiteral("FJahr")).Value().toLongLong();
            rs.Close();
        }))
        return beende(QStringLiteral("ACHTUNG: Das Fangjahr konnte nicht gelesen werden !"));
    if (altesJahr == g.intJahr)
        return true;

    const int antwort = forms::MsgBox(Frage(g.intJahr), forms::vbYesNo, modRun::Titel);
    if (antwort != forms::vbYes)
        return false;

    // Every question comes first; then the new year and what follows from it in one transaction,
    // during which no box waits for the user (the messages come after the commit).
    const bool zurueck = altesJahr >= g.intJahr;
    bool uebernehmen = false;
    if (zurueck) {
        forms::MsgBox(
            QStringLiteral(
                "ACHTUNG: Mehrleistung der Arb.Std. ins neue Jahr kann nicht übernommen werden, da akt. Jahr") +
                modRun::Umbruch +
                QStringLiteral(" kleiner ist als altes Fangjahr. Bitte überprüfen Sie ihre Systemzeit !"),
            forms::vbOKOnly + forms::vbCritical, modRun::Titel);
    } else {
        uebernehmen =
            forms::MsgBox(QStringLiteral("ACHTUNG: Mehrleistungen der Arb.-Std ins neue Fangjahr übernehmen !"),
                          forms::vbYesNo, TitelArbeit) != forms::vbNo;
        if (!uebernehmen)
            forms::MsgBox(QStringLiteral("Mehrleistungs - Übernahme durch User verhindert !"),
                          forms::vbOKOnly + forms::vbInformation, modRun::Titel);
    }

    const auto &w = core::einstiege().jahreswechsel;
    bool folgenOk = true;
    const bool geschrieben = trap.write(*g.wsDaten, [&] {
        // A step this road needs that no area has registered fails the roll-over before anything
        // is written: a new year without its carry-over or fee reset could not be made up later.
        const auto brauche = [](const auto &schritt, const char *name) {
            if (!schritt)
                throw vb::Error(91, QStringLiteral("Objektvariable oder With-Blockvariable nicht festgelegt (") +
                                        QLatin1String(name) + QLatin1Char(')'));
        };
        if (zurueck) {
            brauche(w.Ueberpruefe_auf_Uebertrag, "Ueberpruefe_auf_Uebertrag");
        } else {
            if (uebernehmen)
                brauche(w.UebernehmeStunden, "UebernehmeStunden");
            brauche(w.ReinitialisiereJB, "ReinitialisiereJB");
        }

        dao::Recordset rs = g.dbDaten.OpenRecordset("System", dao::dbOpenTable);
        rs.Edit();
        rs.Fields(QStringLiteral("FJahr")).SetValue(g.intJahr);
        rs.Update();
        rs.Close();

        if (zurueck) {
            folgenOk = w.Ueberpruefe_auf_Uebertrag(altesJahr);
        } else {
            if (uebernehmen)
                folgenOk = w.UebernehmeStunden(altesJahr);
            if (folgenOk) {
                // Told once the new year stands, after what the carry-over reports.
                modRun::nachCommit([] {
                    forms::MsgBox(
                        QStringLiteral(
                            "ACHTUNG: Jahresbeitragsflags der Mitglieder werden auf - nicht bezahlt - gesetzt !"),
                        forms::vbOKOnly + forms::vbInformation, modRun::Titel);
                });
                folgenOk = w.ReinitialisiereJB();
            }
        }
        // A failure reported by a called procedure undoes the new year as well.
        if (!folgenOk)
            throw vb::Error(dao::err::Reserved, QStringLiteral("Der Jahreswechsel wurde nicht gespeichert."));
    });
    if (!geschrieben)
        return beende(QStringLiteral("ACHTUNG: Der Wechsel in das Fangjahr %1 konnte nicht gespeichert werden, das "
                                     "Fangjahr bleibt %2 !")
                          .arg(g.intJahr)
                          .arg(altesJahr));
    return true;
}

} // namespace modStart
