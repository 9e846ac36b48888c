#include "contacts/modKontakt.h"
#include "core/modGVar.h"
#include "core/modStart.h"
#include "core/plugins.h"
#include "core/testing/program_fixture.h"
#include "workhours/modArbeit.h"

#include "dao/dao.h"
#include "dao/oledate.h"
#include "forms/form.h"
#include "forms/services.h"

#include <QDate>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Zeile
{
    qlonglong knr;
    int jahr;
    QDate datum;
    double stunden;
    QString notiz;
    bool operator==(const Zeile &o) const
    {
        return knr == o.knr && jahr == o.jahr && datum == o.datum && qAbs(stunden - o.stunden) < 1e-9 &&
               notiz == o.notiz;
    }
};
std::ostream &operator<<(std::ostream &os, const Zeile &z)
{
    return os << z.knr << "/" << z.jahr << "/" << z.datum.toString().toStdString() << "/" << z.stunden << "/"
              << z.notiz.toStdString();
}

class Uebertrag : public apptest::ProgramTest
{
protected:
    Uebertrag() : ProgramTest(Datenbank::Geoeffnet) {}
    void SetUp() override
    {
        ProgramTest::SetUp();
        if (HasFatalFailure())
            return;
        gv().intJahr = 2024;
        db().Execute("UPDATE System SET FJahr = 2023, PflichtStd = 10");
        db().Execute("INSERT INTO Katego (KategoNr, Kategorie) VALUES (3, 'Lieferanten')");
        db().Execute("INSERT INTO Kontakt (KNr, KategoNr) VALUES (1, 1), (2, 1), (3, 2), (4, 1), (5, 3)");
        db().Execute("INSERT INTO Mitglied (KNr, Befreit, Bezahlt) VALUES (1, 0, 1), (2, 0, 1), (3, 0, 0), (4, 1, 1)");
        db().Execute("INSERT INTO Arbeit (KNr, Jahr, Datum, ArbStd, Notiz) VALUES "
                     "(1, 2023, 45000, 10, ''), (1, 2023, 45001, 2.346, ''), (3, 2023, 45002, 10, ''), "
                     "(1, 2022, 44000, 50, ''), (4, 2023, 45003, 1, '')");
        vorher = zeilen();
    }
    dao::Database &db() { return gv().dbDaten; }
    std::vector<Zeile> zeilen()
    {
        std::vector<Zeile> z;
        dao::Recordset rs =
            db().OpenRecordset("SELECT KNr, Jahr, Datum, ArbStd, Notiz FROM Arbeit ORDER BY ArbNr", dao::dbOpenDynaset);
        while (!rs.Eof()) {
            z.push_back({rs.Fields(0).Value().toLongLong(), rs.Fields(1).Value().toInt(),
                         dao::OleDateToDate(rs.Fields(2).Value().toDouble()), rs.Fields(3).Value().toDouble(),
                         rs.Fields(4).Value().toString()});
            rs.MoveNext();
        }
        return z;
    }
    int bezahlt()
    {
        dao::Recordset rs =
            db().OpenRecordset("SELECT COUNT(*) AS Expr1000 FROM Mitglied WHERE Bezahlt = 1", dao::dbOpenDynaset);
        return rs.Fields(0).Value().toInt();
    }
    void scheitereBeiKontakt2()
    {
        db().Execute("CREATE TRIGGER stoerung BEFORE INSERT ON Arbeit WHEN NEW.KNr = 2 "
                     "BEGIN SELECT RAISE(ABORT, 'Schreibfehler'); END");
    }

    std::vector<Zeile> vorher;
};

const QString Erfolg = "Mehrleistungen u. Minderleistungen der Arbeitsstunden ins neue Fangjahr erfolgreich beendet !";
const QString Beitraege = "ACHTUNG: Jahresbeitragsflags der Mitglieder werden auf - nicht bezahlt - gesetzt !";
const QString NichtGespeichert = "ACHTUNG: Der Wechsel in das Fangjahr 2024 konnte nicht gespeichert werden, das "
                                 "Fangjahr bleibt 2023 !\n\rTorvana beendet sich jetzt !";
const QDate Neujahr(2024, 1, 1);

} // namespace

TEST_F(Uebertrag, EveryMemberNotExemptGetsOneRowWithTheRoundedBalance)
{
    long alt = 2023;
    EXPECT_TRUE(modArbeit::UebernehmeStunden(alt));
    const std::vector<Zeile> erwartet = {
        {1, 2024, Neujahr, 2.35, "Mehrleistungsübertrag aus Arbeitsjahr 2023"},
        {2, 2024, Neujahr, -10, "Minderleistungsübertrag aus Arbeitsjahr 2023"},
        {3, 2024, Neujahr, 0, "Minderleistungsübertrag aus Arbeitsjahr 2023"},
    };
    std::vector<Zeile> ist = zeilen();
    ist.erase(ist.begin(), ist.begin() + std::ptrdiff_t(vorher.size()));
    EXPECT_EQ(ist, erwartet);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, Erfolg);
    EXPECT_EQ(boxes.last().title, QString("Torvana [Arbeitscontrolling]"));
}

TEST_F(Uebertrag, AFailedRowWritesNothingAndReportsNoSuccess)
{
    scheitereBeiKontakt2();
    long alt = 2023;
    EXPECT_FALSE(modArbeit::UebernehmeStunden(alt));
    EXPECT_EQ(zeilen(), vorher);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_TRUE(
        boxes.last().text.startsWith("Unvorhergesehener Fehler in Modul: modArbeit / Routine: UebernehmeStunden !"));
}

TEST_F(Uebertrag, WithoutMembersNotExemptNothingIsWritten)
{
    db().Execute("UPDATE Mitglied SET Befreit = 1");
    long alt = 2023;
    EXPECT_TRUE(modArbeit::UebernehmeStunden(alt));
    EXPECT_EQ(zeilen(), vorher);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text,
              QString("Keine nicht befreiten Mitglieder vorhanden, daher wird der Vorgang abgebrochen"));
}

TEST_F(Uebertrag, TheUndoRemovesOnlyTheCarryOverEntriesOfThatDay)
{
    const double neujahr = dao::ToOleDate(QDate(2025, 1, 1));
    db().Execute("INSERT INTO Arbeit (KNr, Jahr, Datum, ArbStd, Notiz) VALUES "
                 "(1, 2025, ?, 3, 'Mehrleistungsübertrag aus Arbeitsjahr 2024'), (2, 2025, ?, 4, 'Teichpflege')",
                 {neujahr, neujahr});
    const std::size_t mitTeichpflege = vorher.size() + 1;
    long jahr = 2025;
    // One carry-over entry: removed without a word, the genuine booking stays.
    EXPECT_TRUE(modArbeit::Ueberpruefe_auf_Uebertrag(jahr));
    EXPECT_EQ(boxes.count(), 0u);
    ASSERT_EQ(zeilen().size(), mitTeichpflege);
    EXPECT_EQ(zeilen().back().notiz, QString("Teichpflege"));

    // Two: announced, both removed.
    db().Execute("INSERT INTO Arbeit (KNr, Jahr, Datum, ArbStd, Notiz) VALUES "
                 "(1, 2025, ?, 3, 'Mehrleistungsübertrag aus Arbeitsjahr 2024'), "
                 "(2, 2025, ?, -1, 'Minderleistungsübertrag aus Arbeitsjahr 2024')",
                 {neujahr, neujahr});
    EXPECT_TRUE(modArbeit::Ueberpruefe_auf_Uebertrag(jahr));
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text,
              QString("ACHTUNG: Mehrere Übertragseintäge für das Datum 01.01.2025 gefunden !\n\r"
                      "Sie werden alle gelöscht, die übrigen Arb.-Einträge dieses Datums bleiben erhalten !"));
    EXPECT_EQ(zeilen().size(), mitTeichpflege);

    // None: nothing at all.
    EXPECT_TRUE(modArbeit::Ueberpruefe_auf_Uebertrag(jahr));
    EXPECT_EQ(boxes.count(), 1u);
}

// The carry-over's success message comes only once the roll-over has committed: a later failure
// in the roll-over (here the fee reset) undoes the entries and shows no success.
TEST_F(Uebertrag, TheSuccessMessageFollowsTheCommitOfTheRollOver)
{
    auto &w = core::einstiege().jahreswechsel;
    w.UebernehmeStunden = modArbeit::UebernehmeStunden;
    w.Ueberpruefe_auf_Uebertrag = modArbeit::Ueberpruefe_auf_Uebertrag;
    w.ReinitialisiereJB = modKontakt::ReinitialisiereJB;

    // The fee reset fails after the hours were carried over.
    db().Execute("CREATE TRIGGER stoerung BEFORE UPDATE ON Mitglied BEGIN SELECT RAISE(ABORT, 'Schreibfehler'); END");
    boxes.answer(forms::vbYes);
    boxes.answer(forms::vbYes);
    EXPECT_FALSE(modStart::KontrolliereSystemJahr());
    EXPECT_EQ(zeilen(), vorher);
    for (const auto &box : boxes.boxes())
        EXPECT_NE(box.text.toStdString(), Erfolg.toStdString()) << "success told of entries that were undone";
    // The fee reset's error, the roll-over's error and that it kept nothing.
    EXPECT_EQ(boxes.count(QStringLiteral("Runtime - Error: 3317")), 1u);
    EXPECT_EQ(boxes.count(QStringLiteral("Runtime - Error: 3000")), 1u);
    EXPECT_EQ(boxes.count(NichtGespeichert), 1u);

    // Without the failure: when the message shows, another connection already sees the entries
    // and the new year.
    db().Execute("DROP TRIGGER stoerung");
    struct Pruefer : forms::MsgBoxService
    {
        forms::MsgBoxService *weiter = nullptr;
        QString datei;
        int sichtbar = -1;
        int show(const QString &text, int flags, const QString &title) override
        {
            if (text == Erfolg) {
                dao::Database zweite =
                    dao::DBEngine::Workspaces(0).OpenDatabase(datei, false, true, ";pwd=tq-3917-kfb");
                dao::Recordset rs = zweite.OpenRecordset(
                    "SELECT COUNT(*) AS Expr1000 FROM Arbeit a, System s WHERE a.Jahr = 2024 AND s.FJahr = 2024",
                    dao::dbOpenDynaset);
                sichtbar = rs.Fields(0).Value().toInt();
                rs.Close();
                zweite.Close();
            }
            return weiter->show(text, flags, title);
        }
    } pruefer;
    pruefer.datei = home.path() + "/tv01.mdb";
    pruefer.weiter = forms::setMsgBoxService(&pruefer);
    boxes.clear();
    boxes.answer(forms::vbYes);
    boxes.answer(forms::vbYes);
    const bool ergebnis = modStart::KontrolliereSystemJahr();
    forms::setMsgBoxService(pruefer.weiter);
    EXPECT_TRUE(ergebnis);
    ASSERT_EQ(boxes.count(), 4u);
    // The carry-over's message, then the fee reset's (both after the commit).
    EXPECT_EQ(boxes.boxes()[2].text.toStdString(), Erfolg.toStdString());
    EXPECT_EQ(boxes.count(Beitraege), 1u);
    EXPECT_EQ(pruefer.sichtbar, 3) << "the entries were committed before the message";
}

TEST_F(Uebertrag, TheRollOverCarriesOverAndResetsTheFeesAllOrNothing)
{
    auto &w = core::einstiege().jahreswechsel;
    w.UebernehmeStunden = modArbeit::UebernehmeStunden;
    w.Ueberpruefe_auf_Uebertrag = modArbeit::Ueberpruefe_auf_Uebertrag;
    w.ReinitialisiereJB = modKontakt::ReinitialisiereJB;
    auto fjahr = [&] {
        dao::Recordset rs = db().OpenRecordset("SELECT FJahr FROM System", dao::dbOpenDynaset);
        return rs.Fields(0).Value().toInt();
    };

    // A failing carry-over leaves year, hours and fees as they were.
    scheitereBeiKontakt2();
    boxes.answer(forms::vbYes);
    boxes.answer(forms::vbYes);
    EXPECT_FALSE(modStart::KontrolliereSystemJahr());
    EXPECT_EQ(fjahr(), 2023);
    EXPECT_EQ(zeilen(), vorher);
    EXPECT_EQ(bezahlt(), 3);
    // The failure is reported where it happened, and the roll-over says it kept nothing.
    QStringList gezeigt;
    for (const auto &box : boxes.boxes())
        gezeigt << box.text;
    EXPECT_EQ(gezeigt.filter("Routine: UebernehmeStunden !").size(), 1) << gezeigt.join(" | ").toStdString();
    EXPECT_EQ(gezeigt.filter("Der Jahreswechsel wurde nicht gespeichert.").size(), 1)
        << gezeigt.join(" | ").toStdString();
    EXPECT_EQ(gezeigt.filter(Erfolg).size(), 0);
    EXPECT_EQ(boxes.count(QStringLiteral("Runtime - Error: 3317")), 1u);
    EXPECT_EQ(boxes.count(QStringLiteral("Runtime - Error: 3000")), 1u);
    EXPECT_EQ(boxes.count(NichtGespeichert), 1u);

    db().Execute("DROP TRIGGER stoerung");
    boxes.clear();
    boxes.answer(forms::vbYes);
    boxes.answer(forms::vbYes);
    EXPECT_TRUE(modStart::KontrolliereSystemJahr());
    EXPECT_EQ(fjahr(), 2024);
    EXPECT_EQ(zeilen().size(), vorher.size() + 3);
    EXPECT_EQ(bezahlt(), 0);
    EXPECT_EQ(boxes.count(), 4u);
    EXPECT_EQ(boxes.count(Erfolg), 1u);
    EXPECT_EQ(boxes.count(Beitraege), 1u);
}

TEST_F(Uebertrag, RunTwiceTheUndoTakesBackOnlyWhatTheCarryOverWrote)
{
    // A genuine booking on 1 January of the new year.
    db().Execute("INSERT INTO Arbeit (KNr, Jahr, Datum, ArbStd, Notiz) VALUES (1, 2024, ?, 2, 'Neujahrsputz')",
                 {dao::ToOleDate(Neujahr)});
    const std::vector<Zeile> mitPutz = zeilen();
    long alt = 2023;
    ASSERT_TRUE(modArbeit::UebernehmeStunden(alt));
    ASSERT_EQ(zeilen().size(), mitPutz.size() + 3);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, Erfolg);
    long neu = 2024;
    boxes.clear();
    EXPECT_TRUE(modArbeit::Ueberpruefe_auf_Uebertrag(neu));
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_TRUE(boxes.last().text.startsWith("ACHTUNG: Mehrere Übertragseintäge für das Datum 01.01.2024 gefunden !"));
    EXPECT_EQ(zeilen(), mitPutz);

    // A second carry-over writes the same rows again, with the booking's hours counted for 2024
    // only; the undo again leaves the booking alone.
    ASSERT_TRUE(modArbeit::UebernehmeStunden(alt));
    EXPECT_EQ(zeilen().size(), mitPutz.size() + 3);
    EXPECT_TRUE(modArbeit::Ueberpruefe_auf_Uebertrag(neu));
    EXPECT_EQ(zeilen(), mitPutz);
    ASSERT_EQ(boxes.count(), 3u);
    EXPECT_EQ(boxes.boxes()[1].text, Erfolg);
    EXPECT_TRUE(boxes.last().text.startsWith("ACHTUNG: Mehrere Übertragseintäge für das Datum 01.01.2024 gefunden !"));
}

TEST_F(Uebertrag, ABalanceThatIsZeroToTwoDecimalsIsNoSurplus)
{
    // Ten bookings of 1.1 hours add up to a little more than 11 in binary.
    db().Execute("DELETE FROM Arbeit");
    db().Execute("UPDATE System SET PflichtStd = 11");
    for (int i = 0; i < 10; ++i)
        db().Execute("INSERT INTO Arbeit (KNr, Jahr, Datum, ArbStd, Notiz) VALUES (1, 2023, 45000, 1.1, '')");
    ASSERT_NE(modArbeit::ErmittleStunden(1, 2023), 11.0);
    long alt = 2023;
    ASSERT_TRUE(modArbeit::UebernehmeStunden(alt));
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().text, Erfolg);
    dao::Recordset rs =
        db().OpenRecordset("SELECT ArbStd, Notiz FROM Arbeit WHERE KNr = 1 AND Jahr = 2024", dao::dbOpenDynaset);
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs(0).Value().toDouble(), 0.0);
    EXPECT_EQ(rs(1).Value().toString(), QString("Minderleistungsübertrag aus Arbeitsjahr 2023"));
}
