// The editor's date fields: the date-edit control in the German form, and the text box that
// stands in when the control's library is not installed.
#include "kontakt_fixture.h"

#include "contacts/Datumsfeld.h"

#include "core/modRun.h"

#include "com/variant.h"
#include "dao/oledate.h"
#include "forms/services.h"
#include "ole/container.h"

#include "LzDateEdit.h"

#include <QDate>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using contacts::Datumsfeld;

TEST(Datumsfeld, TheControlHoldsADayOrNone)
{
    ASSERT_TRUE(kontakttest::bibliothekenRegistriert());
    Datumsfeld feld(QStringLiteral("txtGebDat"));
    ASSERT_TRUE(feld.hatSteuerelement());
    EXPECT_EQ(feld.text(), QString());
    EXPECT_EQ(feld.wert(), modRun::KeinDatum);

    const struct
    {
        const char *eingabe;
        const char *text;
    } faelle[] = {
        {"24.12.1970", "24.12.1970"}, {"1.4.1990", "01.04.1990"}, {"", ""},
        {"31.02.1970", ""},           {"kein Datum", ""},         {"29.02.2024", "29.02.2024"},
    };
    for (const auto &f : faelle) {
        SCOPED_TRACE(f.eingabe);
        feld.setText(QStringLiteral("05.05.2005")); // a day held before must not survive
        feld.setText(QString::fromUtf8(f.eingabe));
        EXPECT_EQ(feld.text(), QString::fromUtf8(f.text));
        EXPECT_TRUE(feld.gueltig());
        const QDate d = QDate::fromString(QString::fromUtf8(f.text), QStringLiteral("dd.MM.yyyy"));
        EXPECT_EQ(feld.wert(), d.isValid() ? dao::ToOleDate(d) : modRun::KeinDatum);
    }
    com::Variant status;
    feld.setText(QString());
    ASSERT_EQ(feld.steuerelement()->getProperty(DISPID_LD_Status, &status), S_OK);
    EXPECT_EQ(status.iVal, lzdNull);
}

TEST(Datumsfeld, WithoutTheControlsLibraryATextBoxWithTheDateKeyFilterStandsIn)
{
    // A registry that knows no control.
    QTemporaryDir leer;
    const QByteArray vorher = qgetenv("TORVANA_REGISTRY");
    qputenv("TORVANA_REGISTRY", leer.filePath(QStringLiteral("registry")).toUtf8());
    Datumsfeld feld(QStringLiteral("txtEintritt"));
    qputenv("TORVANA_REGISTRY", vorher);
    ASSERT_FALSE(feld.hatSteuerelement());
    ASSERT_NE(feld.textfeld(), nullptr);

    forms::RecordingBeep beep;
    feld.textfeld()->setFocus();
    QTest::keyClicks(feld.textfeld(), QStringLiteral("1a5.0x3.2024"));
    EXPECT_EQ(feld.text(), QString("15.03.2024"));
    EXPECT_EQ(beep.count(), 2);
    EXPECT_TRUE(feld.gueltig());
    EXPECT_EQ(feld.wert(), dao::ToOleDate(QDate(2024, 3, 15)));

    // A day that does not exist is not taken for "no date": the editor refuses it.
    feld.setText(QStringLiteral("31.02.1970"));
    EXPECT_FALSE(feld.gueltig());
    EXPECT_EQ(feld.wert(), modRun::KeinDatum);
    feld.leeren();
    EXPECT_TRUE(feld.gueltig());
}
