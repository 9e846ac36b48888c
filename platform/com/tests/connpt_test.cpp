#include "com/connpt.h"

#include <gtest/gtest.h>

#include <vector>

using com::ComPtr;
using com::Variant;

namespace {

const IID kEvents = com::makeGuid("7C7E2A20-2222-4A4A-8B8B-0123456789AB");

// A source object with one outgoing interface.
class Source final : public com::ComObject<IConnectionPointContainer>
{
public:
    ~Source() override { points.clearAll(); }
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints **pp) override
    {
        return points.enumConnectionPoints(pp);
    }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint **pp) override
    {
        return points.findConnectionPoint(riid, pp);
    }
    com::ConnectionPoint events{identity(), kEvents};
    com::ConnectionPoints points{this, {&events}};
};

ComPtr<IConnectionPoint> pointOf(Source *s)
{
    ComPtr<IConnectionPoint> cp;
    s->FindConnectionPoint(kEvents, cp.put());
    return cp;
}

TEST(ConnectionPoints, EverySinkIsCalledInOrderWithArguments)
{
    ComPtr<Source> src(new Source);
    ComPtr<IConnectionPoint> cp = pointOf(src.get());
    ASSERT_TRUE(cp);
    std::vector<QString> calls;
    auto make = [&](const QString &who) {
        return ComPtr<com::DispatchSink>(new com::DispatchSink(kEvents, [&calls, who](DISPID id, DISPPARAMS *p,
                                                                                      VARIANT *) {
            com::EventArgs args(p);
            calls.push_back(QStringLiteral("%1:%2:%3:%4").arg(who).arg(id).arg(args.toInt(0)).arg(args.toString(1)));
            return S_OK;
        }));
    };
    auto a = make(QStringLiteral("a"));
    auto b = make(QStringLiteral("b"));
    DWORD ca = 0, cb = 0;
    ASSERT_EQ(cp->Advise(static_cast<IDispatch *>(a.get()), &ca), S_OK);
    ASSERT_EQ(cp->Advise(static_cast<IDispatch *>(b.get()), &cb), S_OK);
    EXPECT_NE(ca, cb);

    EXPECT_EQ(src->events.fire(5, {Variant::i4(3), Variant::string("x")}), 2);
    EXPECT_EQ(calls, (std::vector<QString>{QStringLiteral("a:5:3:x"), QStringLiteral("b:5:3:x")}));

    EXPECT_EQ(cp->Unadvise(ca), S_OK);
    EXPECT_EQ(cp->Unadvise(ca), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(src->events.sinkCount(), 1u);

    // a sink that does not speak the interface is refused
    ComPtr<IConnectionPointContainer> notASink(src.get());
    DWORD c = 0;
    EXPECT_EQ(cp->Advise(notASink.get(), &c), CONNECT_E_CANNOTCONNECT);
    EXPECT_EQ(src->FindConnectionPoint(IID_IPropertyNotifySink, ComPtr<IConnectionPoint>().put()),
              CONNECT_E_NOCONNECTION);
    cp->Unadvise(cb);
}

TEST(ConnectionPoints, SinkMayUnadviseItselfWhileCalled)
{
    ComPtr<Source> src(new Source);
    ComPtr<IConnectionPoint> cp = pointOf(src.get());
    int firstCalls = 0, secondCalls = 0;
    DWORD firstCookie = 0, secondCookie = 0;
    ComPtr<com::DispatchSink> first(new com::DispatchSink(kEvents, [&](DISPID, DISPPARAMS *, VARIANT *) {
        ++firstCalls;
        cp->Unadvise(firstCookie); // drops the point's reference to this very sink
        return S_OK;
    }));
    ComPtr<com::DispatchSink> second(new com::DispatchSink(kEvents, [&](DISPID, DISPPARAMS *, VARIANT *) {
        ++secondCalls;
        return S_OK;
    }));
    cp->Advise(static_cast<IDispatch *>(first.get()), &firstCookie);
    cp->Advise(static_cast<IDispatch *>(second.get()), &secondCookie);
    first.reset(); // only the connection point holds the first sink now

    EXPECT_EQ(src->events.fire(1), 2);
    EXPECT_EQ(src->events.fire(1), 1);
    EXPECT_EQ(firstCalls, 1);
    EXPECT_EQ(secondCalls, 2);

    // a held connection point keeps its owner alive
    Source *raw = src.get();
    src.reset();
    EXPECT_EQ(raw->events.sinkCount(), 1u);
    cp.reset();
}

TEST(ConnectionPoints, EnumerationListsConnections)
{
    ComPtr<Source> src(new Source);
    ComPtr<IConnectionPoint> cp = pointOf(src.get());
    ComPtr<com::DispatchSink> s(new com::DispatchSink(kEvents, nullptr));
    DWORD cookie = 0;
    cp->Advise(static_cast<IDispatch *>(s.get()), &cookie);
    ComPtr<IEnumConnections> e;
    ASSERT_EQ(cp->EnumConnections(e.put()), S_OK);
    CONNECTDATA cd[2];
    ULONG fetched = 0;
    EXPECT_EQ(e->Next(2, cd, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 1u);
    EXPECT_EQ(cd[0].dwCookie, cookie);
    cd[0].pUnk->Release();

    ComPtr<IEnumConnectionPoints> points;
    ASSERT_EQ(src->EnumConnectionPoints(points.put()), S_OK);
    IConnectionPoint *p = nullptr;
    ASSERT_EQ(points->Next(1, &p, nullptr), S_OK);
    IID iid;
    p->GetConnectionInterface(&iid);
    EXPECT_EQ(iid, kEvents);
    p->Release();
    cp->Unadvise(cookie);
}

} // namespace
