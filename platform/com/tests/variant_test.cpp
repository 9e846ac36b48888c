#include "com/dispatch.h"
#include "com/variant.h"
#include "datenumber_cases.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>

using com::Variant;

namespace {

struct Case
{
    const char *name;
    Variant src;
    VARTYPE target;
    HRESULT hr;
    QString expected; // the result converted to text (VARIANT_ALPHABOOL), when hr is S_OK
};

QString text(const VARIANT &v)
{
    if (v.vt == VT_DATE || v.vt == VT_CY || v.vt == VT_R8 || v.vt == VT_R4)
        return com::variantToString(v);
    Variant t;
    if (FAILED(VariantChangeType(&t, &v, VARIANT_ALPHABOOL, VT_BSTR)))
        return QStringLiteral("<?>");
    return com::toQString(t.bstrVal);
}

TEST(Variant, ConversionTable)
{
    const Case cases[] = {
        {"I4 to I2", Variant::i4(123), VT_I2, S_OK, "123"},
        {"I4 to I2 overflow", Variant::i4(40000), VT_I2, DISP_E_OVERFLOW, {}},
        {"negative to UI1 overflow", Variant::i4(-1), VT_UI1, DISP_E_OVERFLOW, {}},
        {"R8 rounds half to even", Variant::r8(2.5), VT_I4, S_OK, "2"},
        {"R8 rounds half to even up", Variant::r8(3.5), VT_I4, S_OK, "4"},
        {"R8 too big for I4", Variant::r8(3e9), VT_I4, DISP_E_OVERFLOW, {}},
        {"BSTR number to I4", Variant::string("  42 "), VT_I4, S_OK, "42"},
        {"BSTR decimal comma to R8", Variant::string("12,5"), VT_R8, S_OK, "12.5"},
        {"BSTR word to I4", Variant::string("zwölf"), VT_I4, DISP_E_TYPEMISMATCH, {}},
        {"empty BSTR to I4", Variant::string(""), VT_I4, DISP_E_TYPEMISMATCH, {}},
        {"BSTR True to BOOL", Variant::string("True"), VT_BOOL, S_OK, "True"},
        {"BSTR 0 to BOOL", Variant::string("0"), VT_BOOL, S_OK, "False"},
        {"BOOL to I4 is -1", Variant::boolean(true), VT_I4, S_OK, "-1"},
        {"I4 to BOOL", Variant::i4(5), VT_BOOL, S_OK, "True"},
        {"EMPTY to I4", Variant(), VT_I4, S_OK, "0"},
        {"EMPTY to BSTR", Variant(), VT_BSTR, S_OK, ""},
        {"NULL to I4", Variant::null(), VT_I4, DISP_E_TYPEMISMATCH, {}},
        {"I4 to DATE", Variant::i4(2), VT_DATE, S_OK, "01.01.1900"},
        {"R8 to DATE out of range", Variant::r8(3e6), VT_DATE, DISP_E_OVERFLOW, {}},
        {"BSTR German date to DATE", Variant::string("24.12.2023 18:30"), VT_DATE, S_OK, "24.12.2023 18:30:00"},
        {"BSTR bad date to DATE", Variant::string("31.02.2023"), VT_DATE, DISP_E_TYPEMISMATCH, {}},
        // Two-digit years: 29 is the last of this century, 30 the first of the last one.
        {"BSTR year 29 to DATE", Variant::string("1.2.29"), VT_DATE, S_OK, "01.02.2029"},
        {"BSTR year 30 to DATE", Variant::string("1.2.30"), VT_DATE, S_OK, "01.02.1930"},
        {"BSTR year 00 to DATE", Variant::string("1.2.00 7:05"), VT_DATE, S_OK, "01.02.2000 07:05:00"},
        // A date as text: the time only when there is one, and alone on day 0.
        {"DATE to BSTR", Variant::fromDate(45352.0), VT_BSTR, S_OK, "01.03.2024"},
        {"DATE with time to BSTR", Variant::fromDate(45352.75), VT_BSTR, S_OK, "01.03.2024 18:00:00"},
        {"DATE 0 to BSTR", Variant::fromDate(0.0), VT_BSTR, S_OK, "30.12.1899"},
        {"DATE time on day 0 to BSTR", Variant::fromDate(0.25), VT_BSTR, S_OK, "06:00:00"},
        {"DATE time before day 0 to BSTR", Variant::fromDate(-1.25), VT_BSTR, S_OK, "29.12.1899 06:00:00"},
        {"I4 to CY", Variant::i4(3), VT_CY, S_OK, "3"},
        {"R8 to CY", Variant::r8(8.25), VT_CY, S_OK, "8.25"},
        {"ERROR to I4", Variant::error(DISP_E_PARAMNOTFOUND), VT_I4, DISP_E_TYPEMISMATCH, {}},
        {"I4 to DISPATCH", Variant::i4(1), VT_DISPATCH, DISP_E_TYPEMISMATCH, {}},
        {"negative I4 to UI4 overflow", Variant::i4(-2147483636), VT_UI4, DISP_E_OVERFLOW, {}},
    };
    for (const Case &c : cases) {
        Variant out;
        HRESULT hr = VariantChangeType(&out, &c.src, 0, c.target);
        EXPECT_EQ(hr, c.hr) << c.name;
        if (SUCCEEDED(hr) && SUCCEEDED(c.hr)) {
            EXPECT_EQ(out.vt, c.target) << c.name;
            EXPECT_EQ(text(out), c.expected) << c.name;
        }
        if (FAILED(hr)) {
            EXPECT_EQ(out.vt, VT_EMPTY) << c.name << ": a failed conversion leaves the destination alone";
        }
    }
}

TEST(Variant, ByRefSourcesAreDereferenced)
{
    SHORT s = 77;
    Variant ref;
    ref.vt = VT_BYREF | VT_I2;
    ref.piVal = &s;
    Variant out;
    ASSERT_EQ(VariantChangeType(&out, &ref, 0, VT_BSTR), S_OK);
    EXPECT_EQ(com::toQString(out.bstrVal), QStringLiteral("77"));

    Variant inner = Variant::string("9");
    Variant refVar;
    refVar.vt = VT_BYREF | VT_VARIANT;
    refVar.pvarVal = &inner;
    ASSERT_EQ(VariantChangeType(&out, &refVar, 0, VT_I4), S_OK);
    EXPECT_EQ(out.lVal, 9);

    // clearing a BYREF variant leaves the target alone
    VariantClear(&ref);
    EXPECT_EQ(s, 77);

    Variant copy;
    refVar.vt = VT_BYREF | VT_VARIANT;
    refVar.pvarVal = &inner;
    ASSERT_EQ(VariantCopyInd(&copy, &refVar), S_OK);
    EXPECT_EQ(copy.vt, VT_BSTR);
    EXPECT_NE(copy.bstrVal, inner.bstrVal) << "the string was duplicated";
    refVar.vt = VT_EMPTY;
}

TEST(Variant, InPlaceConversionAndDeepCopy)
{
    Variant v = Variant::string("123");
    ASSERT_EQ(VariantChangeType(&v, &v, 0, VT_I2), S_OK);
    EXPECT_EQ(v.vt, VT_I2);
    EXPECT_EQ(v.iVal, 123);

    Variant a = Variant::string("abc");
    Variant b(a);
    EXPECT_NE(a.bstrVal, b.bstrVal);
    EXPECT_EQ(com::toQString(b.bstrVal), QStringLiteral("abc"));

    Variant bad;
    bad.vt = VT_ARRAY | VT_I4;
    Variant out;
    EXPECT_EQ(VariantCopy(&out, &bad), DISP_E_BADVARTYPE);
    EXPECT_EQ(VariantChangeType(&out, &bad, 0, VT_I4), DISP_E_BADVARTYPE);
    bad.vt = VT_EMPTY;
}

// The runtime's DATE conversions follow the program-wide table: a date-number routine of its own
// once turned -0.9999999999 into 29 December 1899 where the data layer said 31 December.
TEST(Variant, DatesAsTheProgramWideTableHasThem)
{
    for (const auto &c : oledate_cases::kCases) {
        SCOPED_TRACE(testing::Message() << std::setprecision(17) << c.number);
        const bool gueltig = c.date.isValid();
        const QDateTime erwartet = gueltig ? QDateTime(c.date, c.time) : QDateTime();
        EXPECT_EQ(com::isValidDate(c.number), gueltig);
        EXPECT_EQ(com::dateToDateTime(c.number), erwartet);
        if (!std::isnan(c.back)) {
            EXPECT_DOUBLE_EQ(com::dateTimeToDate(erwartet), c.back);
        }
        // A number becomes a DATE exactly when it is a date.
        Variant in = Variant::r8(c.number);
        Variant out;
        EXPECT_EQ(VariantChangeType(&out, &in, 0, VT_DATE), gueltig ? S_OK : DISP_E_OVERFLOW);
        // and a DATE as text names its day.
        if (gueltig) {
            Variant date;
            date.vt = VT_DATE;
            date.date = c.number;
            Variant text;
            ASSERT_EQ(VariantChangeType(&text, &date, 0, VT_BSTR), S_OK);
            const QString t = com::toQString(text.bstrVal);
            if (c.date != QDate(1899, 12, 30)) {
                EXPECT_TRUE(t.startsWith(c.date.toString(QStringLiteral("dd.MM.yyyy")))) << t.toStdString();
            }
        }
    }
}

TEST(Variant, DatesBeforeTheEpochKeepTheirTime)
{
    // -1.25 is 29 December 1899, 06:00 (the fraction counts forward from the day)
    QDateTime dt = com::dateToDateTime(-1.25);
    EXPECT_EQ(dt.date(), QDate(1899, 12, 29));
    EXPECT_EQ(dt.time(), QTime(6, 0));
    EXPECT_DOUBLE_EQ(com::dateTimeToDate(dt), -1.25);
    EXPECT_DOUBLE_EQ(com::dateTimeToDate(QDateTime(QDate(2024, 2, 29), QTime(12, 0))), 45351.5);
}

} // namespace
