#include "com/activation.h"
#include "com/bstr.h"
#include "com/object.h"

#include <gtest/gtest.h>

TV_COM_MODULE()

namespace {

constexpr GUID kSample = com::makeGuid("{02587AFF-D0A5-11D2-9BB5-00A0CC3AD9E7}");

TEST(Guid, TextFormRoundTrip)
{
    OLECHAR buf[39];
    ASSERT_EQ(StringFromGUID2(kSample, buf, 39), 39);
    EXPECT_EQ(com::fromWide(buf), QStringLiteral("{02587AFF-D0A5-11D2-9BB5-00A0CC3AD9E7}"));
    EXPECT_EQ(StringFromGUID2(kSample, buf, 38), 0);

    CLSID back{};
    ASSERT_EQ(CLSIDFromString(buf, &back), S_OK);
    EXPECT_EQ(back, kSample);
    ASSERT_EQ(CLSIDFromString(u"{02587aff-d0a5-11d2-9bb5-00a0cc3ad9e7}", &back), S_OK);
    EXPECT_EQ(back, kSample);
    EXPECT_EQ(kSample.Data1, 0x02587AFFu);
    EXPECT_EQ(kSample.Data4[7], 0xE7);
}

TEST(Guid, BadTextIsRejected)
{
    CLSID out = kSample;
    for (const char16_t *bad : {u"{02587AFF-D0A5-11D2-9BB5-00A0CC3AD9E}", u"{02587AFG-D0A5-11D2-9BB5-00A0CC3AD9E7}",
                                u"{02587AFF-D0A5-11D2-9BB500A0CC3AD9E7X}", u"{}"}) {
        EXPECT_EQ(CLSIDFromString(bad, &out), CO_E_CLASSSTRING) << com::fromWide(bad).toStdString();
        EXPECT_EQ(out, GUID_NULL);
    }
    EXPECT_EQ(CLSIDFromString(nullptr, &out), E_INVALIDARG);
}

TEST(Bstr, LengthPrefixAndZeroTerminator)
{
    const OLECHAR text[] = {u'a', 0, u'b'};
    BSTR b = SysAllocStringLen(text, 3);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(SysStringLen(b), 3u);
    EXPECT_EQ(SysStringByteLen(b), 6u);
    uint32_t prefix;
    std::memcpy(&prefix, reinterpret_cast<char *>(b) - 4, 4);
    EXPECT_EQ(prefix, 6u);
    EXPECT_EQ(b[3], 0);
    EXPECT_EQ(com::toQString(b), QStringView(text, 3).toString());
    SysFreeString(b);

    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_TRUE(com::toQString(nullptr).isEmpty());
    SysFreeString(nullptr);

    com::Bstr umlaut(QStringLiteral("Gewässer"));
    EXPECT_EQ(umlaut.length(), 8u);
    EXPECT_EQ(umlaut.toString(), QStringLiteral("Gewässer"));
    BSTR re = SysAllocString(u"x");
    ASSERT_TRUE(SysReAllocString(&re, u"längerer Text"));
    EXPECT_EQ(com::toQString(re), QStringLiteral("längerer Text"));
    SysFreeString(re);
}

} // namespace
