#include "core_fixture.h"

#include "core/modStart.h"
#include "core/plugins.h"

using namespace coretest;

namespace {

class Jahreswechsel : public CoreTest
{
protected:
    // The year stored before the start, the clock's year 2024 and the user's answers to come.
    void beginneWeg(long gespeichert, const std::vector<int> &antworten)
    {
        modStart::OeffneDatenbank();
        gv().dbDaten.Execute("UPDATE System SET FJahr = ?", {qlonglong(gespeichert)});
        gv().intJahr = 2024;
        boxes.clear();
        for (int a : antworten)
            boxes.answer(a);
    }

    long fjahr()
    {
        dao::Recordset rs = gv().dbDaten.OpenRecordset("SELECT FJahr FROM System", dao::dbOpenDynaset);
        return long(rs.Fields(0).Value().toLongLong());
    }
};

const QString Q2 = "ACHTUNG: Mehrleistungen der Arb.-Std ins neue Fangjahr übernehmen !";
const QString JB = "ACHTUNG: Jahresbeitragsflags der Mitglieder werden auf - nicht bezahlt - gesetzt !";
const QString Verhindert = "Mehrleistungs - Übernahme durch User verhindert !";
const QString Zurueck =
    "ACHTUNG: Mehrleistung der Arb.Std. ins neue Jahr kann nicht übernommen werden, da akt. Jahr\n\r"
    " kleiner ist als altes Fangjahr. Bitte überprüfen Sie ihre Systemzeit !";

} // namespace

TEST_F(Jahreswechsel, EveryRoadCallsExactlyWhatItShould)
{
    const struct
    {
        const char *name;
        long gespeichert;
        std::vector<int> antworten;
        bool uebernahmeGelingt;
        bool ergebnis;
        long danach;
        std::vector<long> uebernommen, rueckgaengig;
        int reinitialisiert;
        QStringList texte; // after the first question
    } wege[] = {
        {"gleiches Jahr", 2024, {}, true, true, 2024, {}, {}, 0, {}},
        {"abgelehnt", 2023, {forms::vbNo}, true, false, 2023, {}, {}, 0, {}},
        {"mit Übernahme", 2023, {forms::vbYes, forms::vbYes}, true, true, 2024, {2023}, {}, 1, {Q2, JB}},
        {"ohne Übernahme", 2023, {forms::vbYes, forms::vbNo}, true, true, 2024, {}, {}, 1, {Q2, Verhindert, JB}},
        {"Jahr zurück", 2026, {forms::vbYes}, true, true, 2024, {}, {2026}, 0, {Zurueck}},
        {"Übernahme scheitert",
         2021,
         {forms::vbYes, forms::vbYes},
         false,
         false,
         2021,
         {2021},
         {},
         0,
         {Q2, "ACHTUNG: Der Wechsel in das Fangjahr 2024 konnte nicht gespeichert werden, das Fangjahr bleibt 2021 "
              "!\n\rTorvana beendet sich jetzt !"}},
    };
    for (const auto &weg : wege) {
        SCOPED_TRACE(weg.name);
        beginneWeg(weg.gespeichert, weg.antworten);
        std::vector<long> uebernommen, rueckgaengig;
        int reinitialisiert = 0;
        auto &w = core::einstiege().jahreswechsel;
        w.UebernehmeStunden = [&](long &j) {
            uebernommen.push_back(j);
            return weg.uebernahmeGelingt;
        };
        w.Ueberpruefe_auf_Uebertrag = [&](long &j) {
            rueckgaengig.push_back(j);
            return true;
        };
        w.ReinitialisiereJB = [&] { return ++reinitialisiert > 0; };

        EXPECT_EQ(modStart::KontrolliereSystemJahr(), weg.ergebnis);
        EXPECT_EQ(fjahr(), weg.danach);
        EXPECT_EQ(uebernommen, weg.uebernommen);
        EXPECT_EQ(rueckgaengig, weg.rueckgaengig);
        EXPECT_EQ(reinitialisiert, weg.reinitialisiert);
        EXPECT_EQ(boxes.pendingAnswers(), 0u);
        if (weg.gespeichert == 2024) {
            EXPECT_EQ(boxes.count(), 0u);
        } else {
            ASSERT_GE(boxes.count(), 1u);
            EXPECT_EQ(boxes.boxes()[0].text,
                      "WICHTIG: Akt. Systemjahr hat sich geändert ! Akt. Systemjahr = 2024\n\r"
                      "Soll das Systemjahr als Fangjahr in die Systemparameter von Torvana übernommen werden ?\n\r"
                      "Wenn Sie die Frage mit NEIN beantworten, wird Torvana beendet. \n\r" +
                          QString(66, ' ') + "\n\rWollen Sie das Systemjahr als Fangjahr übernehmen?");
            EXPECT_EQ(boxes.boxes()[0].flags, forms::vbYesNo);
            QStringList danach;
            for (std::size_t i = 1; i < boxes.count(); ++i)
                if (!boxes.boxes()[i].title.startsWith("Runtime"))
                    danach << boxes.boxes()[i].text;
            EXPECT_EQ(danach, weg.texte);
        }
        gv().dbDaten.Close();
    }
}

// A step that the road needs and no area has registered fails the roll-over with an error box:
// the year stays, and no other step runs.
TEST_F(Jahreswechsel, AMissingStepOfTheRoadFailsLoudlyAndWritesNothing)
{
    const struct
    {
        const char *name;
        long gespeichert;
        std::vector<int> antworten;
        const char *fehlt;
        QString hinweis; // the note the road gives before the error, if any
    } wege[] = {
        {"Übernahme ohne UebernehmeStunden", 2023, {forms::vbYes, forms::vbYes}, "UebernehmeStunden", {}},
        {"Beiträge ohne ReinitialisiereJB", 2023, {forms::vbYes, forms::vbNo}, "ReinitialisiereJB", Verhindert},
        {"Jahr zurück ohne Ueberpruefe_auf_Uebertrag", 2026, {forms::vbYes}, "Ueberpruefe_auf_Uebertrag", Zurueck},
    };
    for (const auto &weg : wege) {
        SCOPED_TRACE(weg.name);
        beginneWeg(weg.gespeichert, weg.antworten);
        int gerufen = 0;
        auto &w = core::einstiege().jahreswechsel;
        w.UebernehmeStunden = [&](long &) { return ++gerufen > 0; };
        w.Ueberpruefe_auf_Uebertrag = [&](long &) { return ++gerufen > 0; };
        w.ReinitialisiereJB = [&] { return ++gerufen > 0; };
        const QString fehlt = QString::fromLatin1(weg.fehlt);
        if (fehlt == "UebernehmeStunden")
            w.UebernehmeStunden = nullptr;
        else if (fehlt == "ReinitialisiereJB")
            w.ReinitialisiereJB = nullptr;
        else
            w.Ueberpruefe_auf_Uebertrag = nullptr;

        EXPECT_FALSE(modStart::KontrolliereSystemJahr());
        EXPECT_EQ(fjahr(), weg.gespeichert);
        EXPECT_EQ(gerufen, 0);
        EXPECT_EQ(boxes.pendingAnswers(), 0u);
        // The error, then the word that the program ends.
        ASSERT_GE(boxes.count(), 2u);
        const auto &fehler = boxes.boxes()[boxes.count() - 2];
        EXPECT_EQ(fehler.title, QString("Runtime - Error: 91"));
        EXPECT_TRUE(boxes.last().text.endsWith("Torvana beendet sich jetzt !")) << boxes.last().text.toStdString();
        EXPECT_TRUE(fehler.text.contains(fehlt)) << fehler.text.toStdString();
        for (const auto &box : boxes.boxes())
            EXPECT_NE(box.text, JB) << "the fee reset told of";
        if (!weg.hinweis.isEmpty()) {
            EXPECT_EQ(boxes.count(weg.hinweis), 1u);
        }
        gv().dbDaten.Close();
    }
}
