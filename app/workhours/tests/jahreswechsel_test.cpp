// The yearly roll-over with the real carry-over and fee reset: every question is asked before the
// write, and no box of the roll-over waits while its transaction holds the database, so another
// program can write whenever a box is up.
#include "contacts/modKontakt.h"
#include "core/modGVar.h"
#include "core/modStart.h"
#include "core/plugins.h"
#include "core/testing/program_fixture.h"
#include "workhours/modArbeit.h"

#include "common/vberror.h"
#include "dao/dao.h"
#include "dao/oledate.h"
#include "forms/services.h"

#include <QDate>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Passes every box on, and tries first whether a second connection can write the database.
struct Schreibprobe : forms::MsgBoxService
{
    QString datei;
    forms::MsgBoxService *weiter = nullptr;
    QStringList gesperrt; // the boxes during which it could not
    int show(const QString &text, int flags, const QString &title) override
    {
        try {
            dao::Database zweite = dao::DBEngine::Workspaces(0).OpenDatabase(datei, false, false, modStart::Verbindung);
            zweite.Execute("UPDATE System SET Tel = Tel");
            zweite.Close();
        } catch (const vb::Error &e) {
            gesperrt << text.left(40) + QStringLiteral(" (") + QString::number(e.number()) + QStringLiteral(")");
        }
        return weiter->show(text, flags, title);
    }
};

class Jahreswechsel : public apptest::ProgramTest
{
protected:
    Jahreswechsel() : ProgramTest(Datenbank::Geoeffnet) {}
    void SetUp() override
    {
        ProgramTest::SetUp();
        if (HasFatalFailure())
            return;
        auto &w = core::einstiege().jahreswechsel;
        w.UebernehmeStunden = modArbeit::UebernehmeStunden;
        w.Ueberpruefe_auf_Uebertrag = modArbeit::Ueberpruefe_auf_Uebertrag;
        w.ReinitialisiereJB = modKontakt::ReinitialisiereJB;
        gv().intJahr = 2024;
        gv().dbDaten.Execute("UPDATE System SET PflichtStd = 10");
        gv().dbDaten.Execute("INSERT INTO Kontakt (KNr, KategoNr) VALUES (1, 1), (2, 1)");
        gv().dbDaten.Execute("INSERT INTO Mitglied (KNr, Befreit, Bezahlt) VALUES (1, 0, 1), (2, 0, 1)");
        gv().dbDaten.Execute("INSERT INTO Arbeit (KNr, Jahr, Datum, ArbStd, Notiz) VALUES (1, 2023, 45000, 12, '')");
        probe.datei = dbPfad();
        probe.weiter = forms::setMsgBoxService(&probe);
    }
    void TearDown() override
    {
        forms::setMsgBoxService(probe.weiter);
        ProgramTest::TearDown();
    }
    long fjahr() { return long(zahl("SELECT FJahr FROM System")); }

    Schreibprobe probe;
};

const QString Q2 = "ACHTUNG: Mehrleistungen der Arb.-Std ins neue Fangjahr übernehmen !";
const QString JB = "ACHTUNG: Jahresbeitragsflags der Mitglieder werden auf - nicht bezahlt - gesetzt !";
const QString Erfolg = "Mehrleistungen u. Minderleistungen der Arbeitsstunden ins neue Fangjahr erfolgreich beendet !";
const QString Verhindert = "Mehrleistungs - Übernahme durch User verhindert !";
const QString KeineMitglieder = "Keine nicht befreiten Mitglieder vorhanden, daher wird der Vorgang abgebrochen";
const QString Zurueck =
    "ACHTUNG: Mehrleistung der Arb.Std. ins neue Jahr kann nicht übernommen werden, da akt. Jahr\n\r"
    " kleiner ist als altes Fangjahr. Bitte überprüfen Sie ihre Systemzeit !";
const QString Mehrere = "ACHTUNG: Mehrere Übertragseintäge für das Datum 01.01.2026 gefunden !\n\r"
                        "Sie werden alle gelöscht, die übrigen Arb.-Einträge dieses Datums bleiben erhalten !";
const QString Fehler = "Unvorhergesehener Fehler in Modul: ";

} // namespace

TEST_F(Jahreswechsel, NoBoxWaitsWhileTheRollOverHoldsTheDatabase)
{
    const double neujahr2026 = dao::ToOleDate(QDate(2026, 1, 1));
    const struct
    {
        const char *name;
        long gespeichert;
        std::function<void()> vorbereitung;
        std::vector<int> antworten;
        bool ergebnis;
        long danach;
        QStringList texte; // after the first question; an error box by its beginning
    } wege[] = {
        {"mit Übernahme", 2023, [] {}, {forms::vbYes, forms::vbYes}, true, 2024, {Q2, Erfolg, JB}},
        {"ohne Übernahme", 2023, [] {}, {forms::vbYes, forms::vbNo}, true, 2024, {Q2, Verhindert, JB}},
        {"keine Mitglieder",
         2023,
         [] { gv().dbDaten.Execute("UPDATE Mitglied SET Befreit = 1"); },
         {forms::vbYes, forms::vbYes},
         true,
         2024,
         {Q2, KeineMitglieder, JB}},
        {"Jahr zurück mit zwei Übertragseinträgen",
         2026,
         [&] {
             gv().dbDaten.Execute("INSERT INTO Arbeit (KNr, Jahr, Datum, ArbStd, Notiz) VALUES "
                                  "(1, 2026, ?, 2, 'Mehrleistungsübertrag aus Arbeitsjahr 2025'), "
                                  "(2, 2026, ?, -1, 'Minderleistungsübertrag aus Arbeitsjahr 2025'), "
                                  "(1, 2026, ?, 3, 'Teichpflege')",
                                  {neujahr2026, neujahr2026, neujahr2026});
         },
         {forms::vbYes},
         true,
         2024,
         {Zurueck, Mehrere}},
        {"Übernahme scheitert",
         2023,
         [] {
             gv().dbDaten.Execute("CREATE TRIGGER stoerung BEFORE INSERT ON Arbeit WHEN NEW.KNr = 2 "
                                  "BEGIN SELECT RAISE(ABORT, 'Schreibfehler'); END");
         },
         {forms::vbYes, forms::vbYes},
         false,
         2023,
         {Q2, Fehler, Fehler,
          "ACHTUNG: Der Wechsel in das Fangjahr 2024 konnte nicht gespeichert werden, das Fangjahr bleibt 2023 "
          "!\n\rTorvana beendet sich jetzt !"}},
    };
    for (const auto &weg : wege) {
        SCOPED_TRACE(weg.name);
        gv().dbDaten.Execute("DROP TRIGGER IF EXISTS stoerung");
        gv().dbDaten.Execute("DELETE FROM Arbeit WHERE Jahr <> 2023");
        gv().dbDaten.Execute("UPDATE Mitglied SET Befreit = 0, Bezahlt = 1");
        gv().dbDaten.Execute("UPDATE System SET FJahr = ?", {qlonglong(weg.gespeichert)});
        weg.vorbereitung();
        boxes.clear();
        probe.gesperrt.clear();
        for (int a : weg.antworten)
            boxes.answer(a);

        const long long echte = zahl("SELECT COUNT(*) FROM Arbeit WHERE Notiz = 'Teichpflege'");
        EXPECT_EQ(modStart::KontrolliereSystemJahr(), weg.ergebnis) << apptest::texte(boxes);
        EXPECT_EQ(zahl("SELECT COUNT(*) FROM Arbeit WHERE Notiz = 'Teichpflege'"), echte); // a genuine booking stays
        EXPECT_EQ(fjahr(), weg.danach);
        EXPECT_EQ(boxes.pendingAnswers(), 0u);
        EXPECT_TRUE(probe.gesperrt.isEmpty()) << probe.gesperrt.join(" | ").toStdString();
        QStringList texte;
        for (std::size_t i = 1; i < boxes.count(); ++i) {
            const QString &t = boxes.boxes()[i].text;
            texte << (t.startsWith(Fehler) ? Fehler : t);
        }
        EXPECT_EQ(texte.join(" | ").toStdString(), weg.texte.join(" | ").toStdString());
    }
}
