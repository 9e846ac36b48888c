#include "workhours/modArbeit.h"

#include "core/modGVar.h"
#include "core/modRun.h"
#include "core/modStart.h"
#include "core/trap.h"

#include "dao/dao.h"
#include "forms/services.h"

#include <QDate>
#include <vector>

namespace modArbeit {

namespace {

const QString Modul = QStringLiteral("modArbeit");
const QString TitelArbeit = QStringLiteral("Torvana [Arbeitscontrolling]");
const QString Mehr = QStringLiteral("Mehrleistungsübertrag aus Arbeitsjahr ");
const QString Minder = QStringLiteral("Minderleistungsübertrag aus Arbeitsjahr ");

} // namespace

double ErmittleStunden(long long knr, long jahr)
{
    dao::Recordset rs = gv().dbDaten.OpenRecordset(
        "SELECT SUM(ArbStd) AS Expr1000 FROM Arbeit WHERE KNr = ? AND Jahr = ?", dao::dbOpenDynaset,
        {knr, qlonglong(jahr)});
    const double summe = rs.Eof() ? 0.0 : rs.Fields(QStringLiteral("Expr1000")).Value().toDouble();
    rs.Close();
    return summe;
}

double ErmittleSollHaben(double a, double b)
{
    return modRun::Runde(a - b, 2);
}

bool UebernehmeStunden(long &altesJahr)
{
    auto &g = gv();
    modRun::Trap trap(Modul, QStringLiteral("UebernehmeStunden"));

    struct Eintrag
    {
        long long knr;
        double saldo;
    };
    std::vector<Eintrag> eintraege;
    bool keineMitglieder = false;
    const bool gelesen = trap.run([&] {
        dao::Recordset mitglieder = g.dbDaten.OpenRecordset(
            "SELECT k.KNr FROM Kontakt k, Mitglied m WHERE k.KNr = m.KNr AND m.Befreit = 0", dao::dbOpenDynaset);
        if (mitglieder.RecordCount() == 0) {
            keineMitglieder = true;
            return;
        }
        dao::Recordset system = g.dbDaten.OpenRecordset("System", dao::dbOpenTable);
        const double pflicht = system.Fields(QStringLiteral("PflichtStd")).Value().toDouble();
        system.Close();
        while (!mitglieder.Eof()) {
            const long long knr = mitglieder.Fields(0).Value().toLongLong();
            eintraege.push_back({knr, ErmittleSollHaben(ErmittleStunden(knr, altesJahr), pflicht)});
            mitglieder.MoveNext();
        }
        mitglieder.Close();
    });
    if (!gelesen)
        return false;
    if (keineMitglieder) {
        forms::MsgBox(QStringLiteral("Keine nicht befreiten Mitglieder vorhanden, daher wird der Vorgang abgebrochen"),
                      forms::vbOKOnly + forms::vbInformation, modRun::Titel);
        return true;
    }

    const QString jahrText = QString::number(altesJahr);
    const bool geschrieben = trap.write(*g.wsDaten, [&] {
        dao::Recordset arbeit = g.dbDaten.OpenRecordset("Arbeit", dao::dbOpenTable);
        for (const Eintrag &e : eintraege) {
            arbeit.AddNew();
            arbeit.Fields(QStringLiteral("KNr")).SetValue(e.knr);
            arbeit.Fields(QStringLiteral("Jahr")).SetValue(g.intJahr);
            arbeit.Fields(QStringLiteral("Datum")).SetValue(QDate(g.intJahr, 1, 1));
            arbeit.Fields(QStringLiteral("ArbStd")).SetValue(e.saldo);
            arbeit.Fields(QStringLiteral("Notiz")).SetValue((e.saldo > 0 ? Mehr : Minder) + jahrText);
            arbeit.Update();
        }
        arbeit.Close();
    });
    if (!geschrieben)
        return false;
    // Inside the roll-over's transaction the entries are kept only once that commits.
    modRun::nachCommit([] {
        forms::MsgBox(QStringLiteral("Mehrleistungen u. Minderleistungen der Arbeitsstunden ins neue Fangjahr erfolgreich beendet !"),
                      forms::vbOKOnly + forms::vbInformation, TitelArbeit);
    });
    return true;
}

bool Ueberpruefe_auf_Uebertrag(long &jahr)
{
    auto &g = gv();
    modRun::Trap trap(Modul, QStringLiteral("Ueberpruefe_auf_Uebertrag"));
    const QDate datum(int(jahr), 1, 1);
    // Only the entries the carry-over wrote: the date and one of its two notes.
    const QVariantList parameter{datum, Mehr + QStringLiteral("*"), Minder + QStringLiteral("*")};

    std::vector<long long> nummern;
    const bool gelesen = trap.run([&] {
        dao::Recordset rs = g.dbDaten.OpenRecordset(
            "SELECT ArbNr FROM Arbeit WHERE Datum = ? AND (Notiz LIKE ? OR Notiz LIKE ?)", dao::dbOpenDynaset,
            parameter);
        while (!rs.Eof()) {
            nummern.push_back(rs.Fields(0).Value().toLongLong());
            rs.MoveNext();
        }
        rs.Close();
    });
    if (!gelesen)
        return false;
    if (nummern.empty())
        return true;
    if (nummern.size() > 1)
        forms::MsgBox(QStringLiteral("ACHTUNG: Mehrere Übertragseintäge für das Datum 01.01.") + QString::number(jahr) +
                          QStringLiteral(" gefunden !") + modRun::Umbruch +
                          QStringLiteral("Es gehen daher alle Arb.-Einträge dieses Datums verloren !"),
                      forms::vbOKOnly + forms::vbInformation, TitelArbeit);

    return trap.write(*g.wsDaten, [&] {
        dao::Recordset arbeit = g.dbDaten.OpenRecordset("Arbeit", dao::dbOpenTable);
        arbeit.Index(QStringLiteral("PrimaryKey"));
        for (long long nr : nummern) {
            arbeit.Seek(QStringLiteral("="), nr);
            if (!arbeit.NoMatch())
                arbeit.Delete();
        }
        arbeit.Close();
    });
}

bool ArbeitsZugriff_Erlaubt()
{
    modRun::Trap trap(Modul, QStringLiteral("ArbeitsZugriff_Erlaubt"));
    bool erlaubt = false;
    trap.run([&] { erlaubt = modStart::GruppeHatRecht(modStart::Recht::Arbeit); });
    return erlaubt;
}

} // namespace modArbeit
