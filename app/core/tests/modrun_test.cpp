#include "core/modGVar.h"
#include "core/modRun.h"

#include "common/vberror.h"
#include "dao/oledate.h"
#include "forms/listgrid.h"
#include "forms/services.h"
#include "testsupport/checked_msgbox.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

using namespace modRun;

namespace {
const QString ZweiteZeile = "Bitte ändern Sie den Datensatz um diesen fehler zu vermeiden !";
}

TEST(Monatsnamen, NamesAndTheErrorBoxForBadMonths)
{
    testsupport::CheckedMsgBox boxes;
    EXPECT_EQ(ErmittleMonatsname(3), QString("März"));
    EXPECT_EQ(ErmittleMonatsname(12), QString("Dezember"));
    EXPECT_EQ(ErmittleMonatsNr("Januar"), 1);
    EXPECT_EQ(ErmittleMonatsNr("Oktober"), 10);
    EXPECT_EQ(boxes.count(), 0u);

    for (int bad : {0, 13}) {
        EXPECT_EQ(ErmittleMonatsname(bad), QString("Januar"));
        EXPECT_EQ(boxes.last().text,
                  "FEHLER: Monatsbezeichnung fehlerhaft ! Es wird Standartmonat - Januar - eingesetzt.\n\r" +
                      ZweiteZeile);
        EXPECT_EQ(boxes.last().flags, forms::vbCritical);
        EXPECT_EQ(boxes.last().title, QString("Torvana"));
    }
    EXPECT_EQ(ErmittleMonatsNr("januar"), 1);
    EXPECT_EQ(boxes.last().text,
              "FEHLER: Monatsbezeichnung fehlerhaft ! Es wird Standartmonat - 1 - eingesetzt.\n\r" + ZweiteZeile);
    EXPECT_EQ(boxes.count(), 3u);
}

TEST(Wochentage, SundayIsOneAndOutsideIsEmptyWithoutABox)
{
    testsupport::CheckedMsgBox boxes;
    const struct
    {
        int tag;
        const char *name;
    } cases[] = {
        {1, "Sonntag"}, {6, "Freistag"}, {7, "Samstag"}, {0, ""}, {8, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ErmittleWochentag(c.tag), QString(c.name)) << c.tag;
    EXPECT_EQ(boxes.count(), 0u);
}

TEST(Tastenfilter, AdmitTheirKeysAndBeepOnTheOthers)
{
    using Filter = int (*)(int &);
    const struct
    {
        const char *name;
        Filter f;
        int key;
        bool admitted;
    } cases[] = {
        {"Zahl", PruefeTasteZahl, '7', true},
        {"Zahl", PruefeTasteZahl, 13, true},
        {"Zahl", PruefeTasteZahl, 8, true},
        {"Zahl", PruefeTasteZahl, ',', false},
        {"Komma", PruefeTasteKomma, ',', true},
        {"Komma", PruefeTasteKomma, '.', false},
        {"Komma", PruefeTasteKomma, 13, true},
        {"Tel", PruefeTasteTel, '-', true},
        {"Tel", PruefeTasteTel, ' ', true},
        {"Tel", PruefeTasteTel, 13, false},
        {"Tel", PruefeTasteTel, '/', false},
        {"Datum", PruefeTasteDatum, '.', true},
        {"Datum", PruefeTasteDatum, 13, false},
        {"Datum", PruefeTasteDatum, '/', false},
        {"Such", PruefeTasteSuch, '*', true},
        {"Such", PruefeTasteSuch, 'Z', true},
        {"Such", PruefeTasteSuch, ' ', true},
        {"Such", PruefeTasteSuch, 228 /* ä */, true},
        {"Such", PruefeTasteSuch, 214 /* Ö */, true},
        {"Such", PruefeTasteSuch, 223 /* ß */, true},
        {"Such", PruefeTasteSuch, 0x141 /* Ł */, true},
        {"Such", PruefeTasteSuch, 0x10D /* č */, true},
        {"Such", PruefeTasteSuch, '-', false},
        {"Such", PruefeTasteSuch, '%', false},
        {"Such", PruefeTasteSuch, 0xB2 /* ² */, false},
        {"Such", PruefeTasteSuch, 13, false},
    };
    for (const auto &c : cases) {
        forms::RecordingBeep beep;
        int key = c.key;
        const int kept = c.f(key);
        EXPECT_EQ(kept, c.admitted ? c.key : 0) << c.name << " " << c.key;
        EXPECT_EQ(beep.count(), c.admitted ? 0 : 1) << c.name << " " << c.key;
        // Only the phone filter clears the key it refuses.
        const bool cleared = !c.admitted && c.f == PruefeTasteTel;
        EXPECT_EQ(key, cleared ? 0 : c.key) << c.name << " " << c.key;
    }
}

TEST(Konverter, DatesChecksAndTheNoDateValue)
{
    EXPECT_EQ(ErmittleDatum(""), KeinDatum);
    EXPECT_EQ(ErmittleDatum("31.02.2020"), KeinDatum);
    EXPECT_EQ(ErmittleDatum("24.12.1970"), dao::ToOleDate(QDate(1970, 12, 24)));
    EXPECT_EQ(ErmittleDatum("1.2.05"), dao::ToOleDate(QDate(2005, 2, 1)));
    EXPECT_EQ(ErmittleDatum("1.2.29"), dao::ToOleDate(QDate(2029, 2, 1)));
    EXPECT_EQ(ErmittleDatum("1.2.30"), dao::ToOleDate(QDate(1930, 2, 1)));
    EXPECT_EQ(ErmittleDatumText(KeinDatum), QString());
    EXPECT_EQ(ErmittleDatumText(dao::ToOleDate(QDate(1970, 12, 24))), QString("24.12.1970"));
    try {
        ErmittleDatumText(QVariant());
        ADD_FAILURE() << "a Null date must raise";
    } catch (const vb::Error &e) {
        EXPECT_EQ(e.number(), 94);
    }

    QCheckBox box;
    box.setTristate(true);
    box.setCheckState(Qt::PartiallyChecked);
    EXPECT_FALSE(ErmittleChkWert(box));
    box.setCheckState(Qt::Checked);
    EXPECT_TRUE(ErmittleChkWert(box));
    EXPECT_EQ(SetzeChkWert(QVariant()), 0);
    EXPECT_EQ(SetzeChkWert(true), 1);
    EXPECT_EQ(SetzeChkWert(0LL), 0);
}

// Figures with few decimals (hours, cents) and any others read the same as the general rule
// gives: scaled, read back at 15 digits, rounded half away from zero, shown with two decimals.
TEST(Zahlen, EveryFigureReadsAsTheGeneralRuleGives)
{
    const auto allgemein = [](double wert) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.15g", wert * 100);
        double gerundet = std::round(std::strtod(buffer, nullptr)) / 100;
        if (gerundet == 0.0)
            gerundet = 0.0;
        QString text = QString::number(gerundet, 'f', 2);
        if (text == QLatin1String("-0.00"))
            text = QStringLiteral("0.00");
        return text.replace(u'.', u',');
    };
    const struct
    {
        const char *name;
        double von, schritt;
        int anzahl;
    } reihen[] = {
        {"quarter hours", -500, 0.25, 4000}, {"cents", -50, 0.01, 10000},
        {"thousandths", -5, 0.001, 10000},   {"thirds", -100, 1.0 / 3, 600},
        {"large", 9.99e12, 1234.5678, 20},   {"beyond the fast range", 1e13, 0.125, 20},
    };
    for (const auto &r : reihen) {
        SCOPED_TRACE(r.name);
        for (int i = 0; i < r.anzahl; ++i) {
            const double wert = r.von + i * r.schritt;
            ASSERT_EQ(FormatZahl(wert), allgemein(wert)) << wert;
            ASSERT_EQ(FormatZahl(-wert), allgemein(-wert)) << -wert;
        }
    }
}

TEST(Zahlen, RoundHalfAwayFromZeroAndShowTheGermanWay)
{
    const struct
    {
        double wert;
        const char *text;
    } cases[] = {
        {12.5, "12,50"},
        {2.675, "2,68"},
        {-0.125, "-0,13"},
        {0.004, "0,00"},
        {-0.001, "0,00"},
        {1234567.891, "1234567,89"},
        {19.999999999999996, "20,00"},
        {1.005, "1,01"},
        {-3, "-3,00"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatZahl(c.wert), QString(c.text)) << c.wert;
    EXPECT_EQ(Runde(2.5, 0), 3.0);
    EXPECT_EQ(Runde(-2.5, 0), -3.0);

    const struct
    {
        const char *text;
        bool ok;
        double wert;
    } eingaben[] = {
        {"12,5", true, 12.5}, {",5", true, 0.5},   {"7", true, 7.0},  {"12.5", false, 0},
        {"", false, 0},       {"1,2,3", false, 0}, {"abc", false, 0},
    };
    for (const auto &e : eingaben) {
        bool ok = !e.ok;
        EXPECT_EQ(LeseZahl(e.text, &ok), e.wert) << e.text;
        EXPECT_EQ(ok, e.ok) << e.text;
    }
}

class Zeilenpflege : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // A catch list: key, species, water.
        const char *rows[][2] = {
            {"Hecht", "See"}, {"Aal", "See"}, {"Aal", "Fluss"}, {"Zander", "See"}, {"Aal", "Teich"}};
        int key = 1;
        for (auto &r : rows)
            list.addRow(QVariantList{key++, r[0], r[1]});
    }
    QStringList column(int c) const
    {
        QStringList out;
        for (int r = 0; r < list.rowCount(); ++r)
            out << list.text(r, c);
        return out;
    }
    forms::GridList list;
};

TEST_F(Zeilenpflege, LoeschenRemovesEveryMatchingRowAdjacentOnesToo)
{
    AktualisiereTbl(list, list.column(1), 1, "Aal", "LOESCHEN", "");
    EXPECT_EQ(column(1), QStringList({"Hecht", "Zander"}));
}

TEST_F(Zeilenpflege, UpdateWritesEachMatchingRowOnceEvenWithAnUnchangedValue)
{
    list.flush();
    QSignalSpy changed(list.model(), &QAbstractItemModel::dataChanged);
    AktualisiereTbl(list, list.column(1), 1, "Aal", "UPDATE", "Aal");
    EXPECT_EQ(changed.count(), 3);
    AktualisiereTbl(list, list.column(1), 1, "Quappe", "UPDATE", "Aal");
    EXPECT_EQ(column(1), QStringList({"Hecht", "Quappe", "Quappe", "Zander", "Quappe"}));
    AktualisiereTbl(list, list.column(1), 1, "Hecht", "ANDERS", "Hecht");
    EXPECT_EQ(column(1).size(), 5);
}

TEST(Tabellenfarben, WhiteBackgroundBlackTextAndGridLines)
{
    forms::GridList list;
    SetzeTblFarben(list.appearance());
    EXPECT_EQ(list.appearance().backColor(), 0xFFFFFFu);
    EXPECT_EQ(list.appearance().foreColor(), 0u);
    EXPECT_EQ(list.appearance().gridLines(), 1);
}

TEST(ProgramVariables, ResetGivesAFreshSet)
{
    gv().strModus = "EDIT";
    gv().lngDSNr = 7;
    modGVar::resetGv();
    EXPECT_EQ(gv().strModus, QString("SAVE"));
    EXPECT_EQ(gv().lngDSNr, 0);
    EXPECT_FALSE(gv().dbDaten.IsOpen());
}
