#include "core/modGVar.h"
#include "core/modStart.h"
#include "core/testing/program_fixture.h"
#include "core/trap.h"

#include "forms/services.h"
#include "testsupport/checked_msgbox.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

using modRun::Trap;

namespace {

vb::Error fehler(int n = 3021)
{
    return vb::Error(n, "Kein aktueller Datensatz.");
}

struct FakeWorkspace
{
    std::vector<std::string> calls;
    void BeginTrans() { calls.push_back("begin"); }
    void CommitTrans() { calls.push_back("commit"); }
    void Rollback() { calls.push_back("rollback"); }
};

class TrapTest : public ::testing::Test
{
protected:
    void SetUp() override { modGVar::resetGv(); }
    testsupport::CheckedMsgBox boxes;
};

} // namespace

TEST_F(TrapTest, FiveErrorsGiveFourBoxesThenTheGiveUpBoxAndTheRestIsSkipped)
{
    Trap t("modFangbuch", "SpeicherFang");
    int ran = 0;
    for (int i = 0; i < 7; ++i)
        t.step([&] {
            ++ran;
            throw fehler();
        });
    EXPECT_EQ(ran, 5);
    ASSERT_EQ(boxes.count(), 5u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(boxes.boxes()[i].text,
                  QString("Unvorhergesehener Fehler in Modul: modFangbuch / Routine: SpeicherFang !"
                          "\n\rBeschreibung: Kein aktueller Datensatz."));
        EXPECT_EQ(boxes.boxes()[i].title, QString("Runtime - Error: 3021"));
        EXPECT_EQ(boxes.boxes()[i].flags, forms::vbExclamation);
    }
    EXPECT_EQ(boxes.last().text,
              QString("Unvorhergesehener Fehler kann nicht behoben werden, Unterroutine wird verlassen !"));
    EXPECT_EQ(boxes.last().title, QString("Runtime - Error: 3021"));
    EXPECT_TRUE(t.gaveUp());
}

TEST_F(TrapTest, AReadGoesOnWithItsNextStepAndANestedProcedureResetsTheCounter)
{
    Trap outer("modStart", "loadTblFBasis");
    std::vector<int> done;
    outer.step([&] { throw fehler(); });
    outer.step([&] { throw fehler(); });
    EXPECT_EQ(gv().intFehler, 2);
    outer.step([&] {
        Trap inner("modFangbuch", "ErmittleFischname");
        done.push_back(1);
    });
    EXPECT_EQ(gv().intFehler, 0);
    outer.step([&] { done.push_back(2); });
    EXPECT_EQ(done, std::vector<int>({1, 2}));
    EXPECT_FALSE(outer.gaveUp());
    EXPECT_EQ(boxes.count(), 2u);
    EXPECT_EQ(boxes.count(QStringLiteral("Runtime - Error: 3021")), 2u) << "one box per error of the outer read";
}

TEST_F(TrapTest, AWriteRollsBackAndLeavesOnItsFirstError)
{
    FakeWorkspace ws;
    Trap t("modBasis", "SpeicherFisch");
    bool after = false;
    EXPECT_FALSE(t.write(ws, [&] {
        throw fehler(3022);
        after = true;
    }));
    EXPECT_FALSE(after);
    EXPECT_EQ(ws.calls, std::vector<std::string>({"begin", "rollback"}));
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().title, QString("Runtime - Error: 3022"));
    // Nothing further runs in this procedure once its write failed.
    EXPECT_FALSE(t.step([] {}));

    FakeWorkspace ok;
    Trap good("modBasis", "SpeicherFisch");
    EXPECT_TRUE(good.write(ok, [] {}));
    EXPECT_EQ(ok.calls, std::vector<std::string>({"begin", "commit"}));
}

// What waits for the commit: at once outside a write, after the outermost commit inside one,
// never when a transaction it waits for rolls back.
TEST_F(TrapTest, AStepAfterTheCommitWaitsForTheOutermostWrite)
{
    FakeWorkspace ws;
    std::vector<std::string> &calls = ws.calls;
    auto merke = [&](const char *was) { return [&calls, was] { calls.push_back(was); }; };

    modRun::nachCommit(merke("sofort"));
    EXPECT_EQ(calls, (std::vector<std::string>{"sofort"}));

    // Nested writes that both commit: the step follows the outer commit.
    calls.clear();
    Trap aussen("modStart", "KontrolliereSystemJahr");
    EXPECT_TRUE(aussen.write(ws, [&] {
        Trap innen("modArbeit", "UebernehmeStunden");
        EXPECT_TRUE(innen.write(ws, [&] {}));
        modRun::nachCommit(merke("gemeldet"));
        calls.push_back("weiter");
    }));
    EXPECT_EQ(calls, (std::vector<std::string>{"begin", "begin", "commit", "weiter", "commit", "gemeldet"}));

    // The inner write commits, the outer one rolls back later: nothing is reported.
    calls.clear();
    Trap zurueck("modStart", "KontrolliereSystemJahr");
    EXPECT_FALSE(zurueck.write(ws, [&] {
        Trap innen("modArbeit", "UebernehmeStunden");
        EXPECT_TRUE(innen.write(ws, [&] { modRun::nachCommit(merke("gemeldet")); }));
        throw fehler(3218);
    }));
    EXPECT_EQ(calls, (std::vector<std::string>{"begin", "begin", "commit", "rollback"}));
    // The failure itself is reported, by the outer write.
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.last().title, QString("Runtime - Error: 3218"));
    EXPECT_TRUE(boxes.last().text.contains("Routine: KontrolliereSystemJahr !")) << boxes.last().text.toStdString();

    // Afterwards a step outside any write runs at once again.
    calls.clear();
    modRun::nachCommit(merke("sofort"));
    EXPECT_EQ(calls, (std::vector<std::string>{"sofort"}));
}

// No box waits while a transaction is open: an error box comes after the rollback (of the
// outermost write, when writes are nested), and so does a message that holds either way.
TEST_F(TrapTest, BoxesWaitUntilNoTransactionIsOpen)
{
    struct Zeuge : forms::MsgBoxService
    {
        FakeWorkspace *ws = nullptr;
        forms::MsgBoxService *weiter = nullptr;
        std::vector<std::string> gesehen; // what the workspace had done when each box showed
        int show(const QString &text, int flags, const QString &title) override
        {
            gesehen.push_back(ws->calls.empty() ? std::string("-") : ws->calls.back());
            return weiter->show(text, flags, title);
        }
    } zeuge;
    FakeWorkspace ws;
    zeuge.ws = &ws;
    zeuge.weiter = forms::setMsgBoxService(&zeuge);
    auto meldung = [] { forms::MsgBox("fertig", forms::vbOKOnly, "Torvana"); };

    const struct
    {
        const char *name;
        std::function<bool()> schreibe;
        std::vector<std::string> calls, gesehen;
        std::vector<QString> titel;
    } faelle[] = {
        {"ein Fehler",
         [&] { return Trap("modBasis", "SpeicherFisch").write(ws, [] { throw fehler(3022); }); },
         {"begin", "rollback"},
         {"rollback"},
         {"Runtime - Error: 3022"}},
        {"ein Fehler im inneren Schreiben",
         [&] {
             return Trap("modStart", "KontrolliereSystemJahr").write(ws, [&] {
                 modRun::nachSchreiben(meldung);
                 if (!Trap("modArbeit", "UebernehmeStunden").write(ws, [] { throw fehler(3022); }))
                     throw fehler(3218);
             });
         },
         {"begin", "begin", "rollback", "rollback"},
         {"rollback", "rollback", "rollback"},
         {"Torvana", "Runtime - Error: 3022", "Runtime - Error: 3218"}},
        {"eine Meldung in einem Schreiben, das gelingt",
         [&] {
             return Trap("modArbeit", "Ueberpruefe_auf_Uebertrag").write(ws, [&] { modRun::nachSchreiben(meldung); });
         },
         {"begin", "commit"},
         {"commit"},
         {"Torvana"}},
    };
    for (const auto &fall : faelle) {
        SCOPED_TRACE(fall.name);
        ws.calls.clear();
        zeuge.gesehen.clear();
        boxes.clear();
        fall.schreibe();
        EXPECT_EQ(ws.calls, fall.calls);
        EXPECT_EQ(zeuge.gesehen, fall.gesehen);
        // Each box taken by its place and named by its title.
        std::vector<QString> titel;
        for (std::size_t i = 0; i < boxes.boxes().size(); ++i)
            titel.push_back(boxes.boxes()[i].title);
        EXPECT_EQ(titel, fall.titel);
    }
    forms::setMsgBoxService(zeuge.weiter);
}

namespace {

// A write on one record found by its key, against the program's database.
class WriteRecordTest : public apptest::ProgramTest
{
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        if (HasFatalFailure())
            return;
        sql("INSERT INTO Fisch (FNr, FName) VALUES (7, 'Hecht')");
        modStart::OeffneDatenbank();
    }
    QString name(int fnr)
    {
        dao::Recordset rs =
            gv().dbDaten.OpenRecordset("SELECT FName FROM Fisch WHERE FNr = ?", dao::dbOpenDynaset, {fnr});
        return rs.Eof() ? QStringLiteral("<fehlt>") : rs("FName").Value().toString();
    }
};

} // namespace

TEST_F(WriteRecordTest, TheRecordIsWrittenMissingOrTheFailedWriteIsRolledBack)
{
    struct Fall
    {
        const char *wie;
        QVariant key;
        bool wirft;
        Trap::Satz satz;
        QString danach;
        int boxen;
    };
    const Fall faelle[] = {
        {"found", 7, false, Trap::Satz::Geschrieben, QStringLiteral("Zander"), 0},
        {"found by its text", QStringLiteral("7"), false, Trap::Satz::Geschrieben, QStringLiteral("Zander"), 0},
        {"no record with the key", 8, false, Trap::Satz::Fehlt, QStringLiteral("Hecht"), 0},
        {"the body fails after writing", 7, true, Trap::Satz::Fehler, QStringLiteral("Hecht"), 1},
    };
    for (const Fall &f : faelle) {
        SCOPED_TRACE(f.wie);
        boxes.clear();
        sql("UPDATE Fisch SET FName = 'Hecht' WHERE FNr = 7");
        Trap t("modBasis", "UpdateFisch");
        bool lief = false;
        const Trap::Satz satz = t.writeRecord("Fisch", f.key, [&](dao::Recordset &rs) {
            lief = true;
            rs.Edit();
            rs("FName") = QStringLiteral("Zander");
            rs.Update();
            if (f.wirft)
                throw fehler(3020);
        });
        EXPECT_EQ(satz, f.satz);
        EXPECT_EQ(lief, f.satz != Trap::Satz::Fehlt) << "the body runs only on the found record";
        EXPECT_EQ(name(7), f.danach);
        EXPECT_EQ(int(boxes.count()), f.boxen);
        EXPECT_EQ(int(boxes.count(QStringLiteral("Runtime - Error: 3020"))), f.boxen) << "the error of the body";
    }
}
