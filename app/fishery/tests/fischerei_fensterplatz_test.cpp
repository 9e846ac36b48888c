// The catch log, the catch evaluation and the stocking plan as the user sees them in the main
// window, at the start size and enlarged: every field and text whole, lists of one kind alike.
#include "fishery/Besatzung.h"
#include "fishery/Fangauswertung.h"
#include "fishery/Fangbuch.h"

#include "core/Main.h"
#include "core/modMain.h"
#include "core/testing/program_fixture.h"

#include "forms/form.h"
#include "forms/listgrid.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

apptest::Steuerelemente *g_bibliothek = apptest::RegistriereSteuerelemente({TORVANA_NAVRAIL_LIBRARY});

class Fensterplatz : public apptest::MainTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(g_bibliothek->registriert()) << "navigation bar library not registered";
        MainTest::SetUp();
        if (HasFatalFailure())
            return;
        sql("INSERT INTO Fisch (FName) VALUES ('Hecht'), ('Regenbogenforelle')");
        sql("INSERT INTO Gewaesser (GName) VALUES ('Baggersee'), ('Altarm am Mühlenbach')");
        modMain::RegistriereKern();
        fishery::RegistriereFangbuch();
        fishery::RegistriereFangauswertung();
        fishery::RegistriereBesatzung();
    }
};

} // namespace

TEST_F(Fensterplatz, EachFisheryWindowShowsItsFieldsWholeAtBothSizes)
{
    meldeAn(QStringLiteral("Verwalter"), QStringLiteral("angeln"), apptest::Hauptfenstergroessen[0],
            QStringLiteral("Fangbuch"));
    ASSERT_FALSE(HasFatalFailure());
    for (const char *key : {"Fangbuch", "Fangauswertung", "Besatzung"}) {
        forms::Form *fenster = modMain::ZeigeFenster(QString::fromLatin1(key));
        ASSERT_TRUE(fenster) << key;
        for (QSize s : apptest::Hauptfenstergroessen) {
            SCOPED_TRACE(testing::Message() << key << " at " << s.width() << " x " << s.height());
            apptest::setzeHauptfenstergroesse(s);
            ASSERT_TRUE(fenster->isVisible());
            EXPECT_EQ(apptest::verdecktAufJederSeite(*fenster), std::vector<std::string>{});
        }
    }
}

TEST_F(Fensterplatz, TheCatchLogsSpeciesAndWatersListsGetTheSameRoom)
{
    meldeAn(QStringLiteral("Verwalter"), QStringLiteral("angeln"), apptest::Hauptfenstergroessen[0],
            QStringLiteral("Fangbuch"));
    ASSERT_FALSE(HasFatalFailure());
    auto &f = static_cast<Fangbuch &>(fishery::FangbuchFenster());
    for (QSize s : apptest::Hauptfenstergroessen) {
        SCOPED_TRACE(testing::Message() << s.width() << " x " << s.height());
        apptest::setzeHauptfenstergroesse(s);
        EXPECT_EQ(f.cboGName->width(), f.cboFArt->width());
        EXPECT_GE(f.cboGName->width(), f.cboGName->sizeHint().width());
    }
}

TEST_F(Fensterplatz, TheEvaluationsOperatorBoxesAreAsWideAsTheirEntries)
{
    meldeAn(QStringLiteral("Verwalter"), QStringLiteral("angeln"), apptest::Hauptfenstergroessen[0],
            QStringLiteral("Fangauswertung"));
    ASSERT_FALSE(HasFatalFailure());
    auto &a = static_cast<Fangauswertung &>(fishery::FangauswertungFenster());
    for (QSize s : apptest::Hauptfenstergroessen) {
        SCOPED_TRACE(testing::Message() << s.width() << " x " << s.height());
        apptest::setzeHauptfenstergroesse(s);
        for (QComboBox *box : {a.cboOptAnz01, a.cboOptAnz02, a.cboOptGew01, a.cboOptGew02}) {
            SCOPED_TRACE(box->objectName().toStdString());
            EXPECT_EQ(box->width(), a.cboOptAnz01->width());
            EXPECT_GE(box->width(), box->sizeHint().width());
            const QFontMetrics fm(box->font());
            for (int i = 0; i < box->count(); ++i)
                EXPECT_LT(fm.horizontalAdvance(box->itemText(i)), box->width() - 20) << box->itemText(i).toStdString();
        }
    }
}
