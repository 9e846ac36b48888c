#include "com/dispimpl.h"
#include "com/object.h"

#include <gtest/gtest.h>

using com::Variant;

namespace {

struct IWidgetModel : IDispatch
{
    static constexpr IID iid = com::makeGuid("7C7E2A10-1111-4A4A-8B8B-0123456789AB");
    using base_type = IDispatch;
};

// An object with a typical member set: properties, an indexed default member, a method with an
// optional argument, a by-reference argument and a member that fails.
class Model final : public com::ComObject<IWidgetModel>
{
public:
    HRESULT get_Caption(BSTR *p)
    {
        if (!p)
            return E_POINTER;
        *p = com::allocBstr(caption);
        return S_OK;
    }
    HRESULT put_Caption(BSTR v)
    {
        caption = com::toQString(v);
        return S_OK;
    }
    HRESULT get_Visible(VARIANT_BOOL *p)
    {
        if (!p)
            return E_POINTER;
        *p = visible;
        return S_OK;
    }
    HRESULT put_Visible(VARIANT_BOOL v)
    {
        visible = v;
        return S_OK;
    }
    HRESULT get_Color(OLE_COLOR *p)
    {
        if (!p)
            return E_POINTER;
        *p = color;
        return S_OK;
    }
    HRESULT put_Color(OLE_COLOR v)
    {
        color = v;
        return S_OK;
    }
    HRESULT get_Stamp(DATE *p)
    {
        if (!p)
            return E_POINTER;
        *p = stamp;
        return S_OK;
    }
    HRESULT put_Stamp(DATE v)
    {
        stamp = v;
        return S_OK;
    }
    HRESULT Item(VARIANT index, BSTR *p)
    {
        if (!p)
            return E_POINTER;
        LONG i = com::variantToInt(index, -1);
        if (i < 0 || i > 2)
            return com::reportError(TV_HR(0x80005000), iid, QStringLiteral("Model"),
                                    QStringLiteral("Position ungültig"));
        *p = com::allocBstr(QStringLiteral("item%1").arg(i));
        return S_OK;
    }
    HRESULT Sum(LONG a, VARIANT b, LONG *result)
    {
        *result = a + (b.vt == VT_ERROR ? 100 : com::variantToInt(b));
        return S_OK;
    }
    HRESULT Twice(SHORT *value)
    {
        *value = SHORT(*value * 2);
        return S_OK;
    }

    static const com::DispatchTable &table()
    {
        using B = com::DispBuilder<Model>;
        static const com::DispatchTable t(IWidgetModel::iid, u"IWidgetModel",
                                          {
                                              B::get<&Model::get_Caption>(1, u"Caption"),
                                              B::put<&Model::put_Caption>(1, u"Caption"),
                                              B::get<&Model::get_Visible>(2, u"Visible", {VT_BOOL}),
                                              B::put<&Model::put_Visible>(2, u"Visible", {VT_BOOL}),
                                              B::get<&Model::get_Color>(3, u"Color"),
                                              B::put<&Model::put_Color>(3, u"Color"),
                                              B::get<&Model::get_Stamp>(4, u"Stamp", {VT_DATE}),
                                              B::put<&Model::put_Stamp>(4, u"Stamp", {VT_DATE}),
                                              B::get<&Model::Item>(10, u"Item").asDefault(),
                                              B::methodRet<&Model::Sum>(11, u"Sum").optional(1),
                                              B::method<&Model::Twice>(12, u"Twice"),
                                          });
        return t;
    }
    TV_IMPLEMENT_IDISPATCH(table())

    QString caption = QStringLiteral("Start");
    VARIANT_BOOL visible = VARIANT_TRUE;
    OLE_COLOR color = 0;
    DATE stamp = 0;
};

class Dispatch : public ::testing::Test
{
protected:
    com::ComPtr<Model> model{new Model};
    IDispatch *disp() { return model.get(); }
};

TEST_F(Dispatch, NamesResolveCaseInsensitively)
{
    DISPID id = 0;
    EXPECT_EQ(com::dispIdOfName(disp(), QStringLiteral("caption"), &id), S_OK);
    EXPECT_EQ(id, 1);
    EXPECT_EQ(com::dispIdOfName(disp(), QStringLiteral("VISIBLE"), &id), S_OK);
    EXPECT_EQ(id, 2);
    EXPECT_EQ(com::dispIdOfName(disp(), QStringLiteral("Nichts"), &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);

    std::u16string name = u"Caption";
    LPOLESTR names[] = {name.data()};
    const IID other = IWidgetModel::iid;
    EXPECT_EQ(disp()->GetIDsOfNames(other, names, 1, 0, &id), DISP_E_UNKNOWNINTERFACE);
}

TEST_F(Dispatch, PropertiesGetAndPutWithConversion)
{
    Variant v;
    ASSERT_EQ(com::dispGet(disp(), 1, &v), S_OK);
    EXPECT_EQ(v.vt, VT_BSTR);
    EXPECT_EQ(com::toQString(v.bstrVal), QStringLiteral("Start"));

    ASSERT_EQ(com::dispPut(disp(), 1, Variant::i4(42)), S_OK);
    EXPECT_EQ(model->caption, QStringLiteral("42"));

    ASSERT_EQ(com::dispPut(disp(), 2, Variant::string("False")), S_OK);
    EXPECT_EQ(model->visible, VARIANT_FALSE);
    ASSERT_EQ(com::dispGet(disp(), 2, &v), S_OK);
    EXPECT_EQ(v.vt, VT_BOOL);

    // a system colour arrives as a negative 32-bit integer and keeps its bits
    ASSERT_EQ(com::dispPut(disp(), 3, Variant::i4(LONG(0x8000000C))), S_OK);
    EXPECT_EQ(model->color, 0x8000000Cu);
    ASSERT_EQ(com::dispGet(disp(), 3, &v), S_OK);
    EXPECT_EQ(v.vt, VT_I4);
    EXPECT_EQ(uint32_t(v.lVal), 0x8000000Cu);

    ASSERT_EQ(com::dispPut(disp(), 4, Variant::string("01.01.1900")), S_OK);
    EXPECT_DOUBLE_EQ(model->stamp, 2.0);
    ASSERT_EQ(com::dispGet(disp(), 4, &v), S_OK);
    EXPECT_EQ(v.vt, VT_DATE);
}

// An argument that already has the parameter's type is handed over as it is; only arguments of
// another type go through the conversion and its range checks.
TEST_F(Dispatch, ArgumentOfTheParameterTypeArrivesUnconverted)
{
    struct Case
    {
        const char *name;
        VARIANT arg;
        HRESULT expected;
        DATE stamp;
    };
    DATE far = 3000000.0;
    VARIANT byRef;
    VariantInit(&byRef);
    byRef.vt = VT_BYREF | VT_DATE;
    byRef.pdate = &far;
    VARIANT real;
    VariantInit(&real);
    real.vt = VT_R8;
    real.dblVal = 3000000.0;
    const Case cases[] = {
        {"date beyond the convertible range", Variant::fromDate(3000000.0), S_OK, 3000000.0},
        {"date before the convertible range", Variant::fromDate(-700000.0), S_OK, -700000.0},
        {"date by reference", byRef, S_OK, 3000000.0},
        {"double of the same size is converted and refused", real, DISP_E_OVERFLOW, 7.0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        model->stamp = 7.0;
        EXPECT_EQ(com::dispPut(disp(), 4, c.arg), c.expected);
        EXPECT_EQ(model->stamp, c.stamp);
    }
}

TEST_F(Dispatch, ErrorsAreReportedWithDispatchCodes)
{
    Variant v;
    EXPECT_EQ(com::dispGet(disp(), 99, &v), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(com::dispCall(disp(), 1), DISP_E_MEMBERNOTFOUND) << "Caption is no method";
    EXPECT_EQ(com::dispPut(disp(), 2, Variant::string("vielleicht")), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(com::dispPut(disp(), 2, Variant::i4(1), {Variant::i4(1)}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(com::dispCall(disp(), 11, {}, &v), DISP_E_BADPARAMCOUNT) << "a required argument is missing";
    EXPECT_EQ(com::dispCall(disp(), 11, {Variant::i4(1), Variant::i4(2), Variant::i4(3)}, &v), DISP_E_BADPARAMCOUNT);

    // a property get without a place for the result
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(disp()->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, nullptr, nullptr, nullptr), E_POINTER);

    // a put without the named DISPID_PROPERTYPUT argument
    Variant arg = Variant::string("x");
    DISPPARAMS unnamed{&arg, nullptr, 1, 0};
    EXPECT_EQ(disp()->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYPUT, &unnamed, nullptr, nullptr, nullptr),
              DISP_E_PARAMNOTFOUND);

    // the argument that failed conversion is named
    UINT argErr = 99;
    EXPECT_EQ(disp()->Invoke(11, IID_NULL, 0, DISPATCH_METHOD, nullptr, &v, nullptr, &argErr), E_INVALIDARG);
    Variant bad[2] = {Variant::i4(2), Variant::string("eins")};
    DISPPARAMS p{bad, nullptr, 2, 0};
    EXPECT_EQ(disp()->Invoke(11, IID_NULL, 0, DISPATCH_METHOD, &p, &v, nullptr, &argErr), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argErr, 1u);
}

TEST_F(Dispatch, DefaultMemberOptionalAndByRefArguments)
{
    Variant v;
    ASSERT_EQ(com::dispGet(disp(), DISPID_VALUE, &v, {Variant::i2(2)}), S_OK);
    EXPECT_EQ(com::toQString(v.bstrVal), QStringLiteral("item2"));

    // a BYREF index from a client variable
    LONG index = 1;
    Variant ref;
    ref.vt = VT_BYREF | VT_I4;
    ref.plVal = &index;
    ASSERT_EQ(com::dispGet(disp(), 10, &v, {ref}), S_OK);
    EXPECT_EQ(com::toQString(v.bstrVal), QStringLiteral("item1"));
    ref.vt = VT_EMPTY;

    ASSERT_EQ(com::dispCall(disp(), 11, {Variant::i4(5)}, &v), S_OK);
    EXPECT_EQ(v.lVal, 105) << "the omitted optional argument arrives as missing";
    ASSERT_EQ(com::dispCall(disp(), 11, {Variant::i4(5), Variant::missing()}, &v), S_OK);
    EXPECT_EQ(v.lVal, 105);
    ASSERT_EQ(com::dispCall(disp(), 11, {Variant::i4(5), Variant::string("6")}, &v), S_OK);
    EXPECT_EQ(v.lVal, 11);

    SHORT value = 21;
    Variant byref;
    byref.vt = VT_BYREF | VT_I2;
    byref.piVal = &value;
    ASSERT_EQ(com::dispCall(disp(), 12, {byref}), S_OK);
    EXPECT_EQ(value, 42) << "the callee wrote through the caller's reference";
    byref.vt = VT_EMPTY;
}

TEST_F(Dispatch, FailingMemberGivesExceptionInfo)
{
    Variant v;
    EXPECT_EQ(com::dispGet(disp(), 10, &v, {Variant::i4(7)}), TV_HR(0x80005000))
        << "without EXCEPINFO: the code itself";

    EXCEPINFO e{};
    EXPECT_EQ(com::dispInvoke(disp(), 10, DISPATCH_PROPERTYGET, {Variant::i4(7)}, &v, &e), DISP_E_EXCEPTION);
    EXPECT_EQ(e.scode, TV_HR(0x80005000));
    EXPECT_EQ(com::toQString(e.bstrDescription), QStringLiteral("Position ungültig"));
    com::clearExcepInfo(&e);
}

TEST_F(Dispatch, TypeInformationNamesTheMembers)
{
    com::ComPtr<ITypeInfo> ti;
    ASSERT_EQ(disp()->GetTypeInfo(0, 0, ti.put()), S_OK);
    TYPEATTR *attr = nullptr;
    ASSERT_EQ(ti->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->guid, IWidgetModel::iid);
    EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
    ti->ReleaseTypeAttr(attr);
    com::Bstr name;
    ASSERT_EQ(ti->GetDocumentation(11, name.put(), nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(name.toString(), QStringLiteral("Sum"));

    const IID source = com::makeGuid("7C7E2A11-1111-4A4A-8B8B-0123456789AB");
    com::CoClassInfo info{IWidgetModel::iid, u"Model", &Model::table(), source, nullptr};
    GUID g;
    EXPECT_EQ(com::classSourceGuid(info, GUIDKIND_DEFAULT_SOURCE_DISP_IID, &g), S_OK);
    EXPECT_EQ(g, source);
    EXPECT_EQ(com::classSourceGuid(info, 2, &g), E_INVALIDARG);
    EXPECT_EQ(com::classSourceGuid(info, 1, nullptr), E_POINTER);
}

} // namespace
