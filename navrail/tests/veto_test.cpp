// The raising side of the events on its own: which events a handler can veto, the flag being
// cleared before each vetoable raise, and the argument order of the events with integers.
#include "navrail_fixture.h"

#include "events.h"

using namespace navtest;

namespace {

struct Raiser
{
    ComPtr<com::DispatchSink> owner = com::makeObject<com::DispatchSink>(IID_IDispatch, nullptr);
    com::ConnectionPoint point{owner->identity(), DIID__ILzNavrailBarEvents};
    navrail::EventRaiser events{point};
};

} // namespace

TEST(Veto, VetoableEventsReportTheHandlersCancel)
{
    Raiser r;
    std::vector<RecordedEvent> seen;
    bool cancel = true;
    auto sink = com::makeObject<com::DispatchSink>(DIID__ILzNavrailBarEvents,
                                                   [&](DISPID id, DISPPARAMS *params, VARIANT *) -> HRESULT {
                                                       RecordedEvent e;
                                                       e.dispid = id;
                                                       com::EventArgs args(params);
                                                       for (UINT i = 0; i < args.count(); ++i)
                                                           e.args.emplace_back(*args.at(i));
                                                       seen.push_back(e);
                                                       if (cancel)
                                                           r.events.cancel();
                                                       return S_OK;
                                                   });
    DWORD cookie = 0;
    ASSERT_EQ(r.point.Advise(sink.get(), &cookie), S_OK);
    navrail::EventRaiser &ev = r.events;
    const std::vector<std::pair<DISPID, std::function<bool()>>> vetoable = {
        {DISPID_NBE_ItemClick, [&] { return ev.itemClick(nullptr, nullptr); }},
        {DISPID_NBE_ItemRightClick, [&] { return ev.itemRightClick(nullptr, nullptr); }},
        {DISPID_NBE_PaneRightClick, [&] { return ev.paneRightClick(nullptr); }},
        {DISPID_NBE_GroupButtonRightClick, [&] { return ev.groupButtonRightClick(nullptr); }},
        {DISPID_NBE_GroupButtonClick, [&] { return ev.groupButtonClick(nullptr); }},
        {DISPID_NBE_MenuCommand, [&] { return ev.menuCommand(7, nullptr, nullptr); }},
        {DISPID_NBE_BuildMenu, [&] { return ev.buildMenu(2, 99, nullptr, nullptr); }},
        {DISPID_NBE_AfterGroupLabelEdit, [&] { return ev.afterGroupLabelEdit(nullptr); }},
        {DISPID_NBE_AfterItemLabelEdit, [&] { return ev.afterItemLabelEdit(nullptr, nullptr); }},
        {DISPID_NBE_BeforeGroupChange, [&] { return ev.beforeGroupChange(nullptr); }},
        {DISPID_NBE_BeforeGroupLabelEdit, [&] { return ev.beforeGroupLabelEdit(nullptr); }},
        {DISPID_NBE_BeforeItemChange, [&] { return ev.beforeItemChange(nullptr, nullptr); }},
        {DISPID_NBE_BeforeItemLabelEdit, [&] { return ev.beforeItemLabelEdit(nullptr, nullptr); }},
        {DISPID_NBE_BeforeResultsTabChange, [&] { return ev.beforeResultsTabChange(nullptr, nullptr, nullptr); }},
    };
    for (const auto &[dispid, raise] : vetoable) {
        SCOPED_TRACE(dispid);
        seen.clear();
        cancel = true;
        EXPECT_TRUE(raise());
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].dispid, dispid);
        cancel = false;
        EXPECT_FALSE(raise()) << "the flag is cleared before each raise";
    }
    // PaneClick clears the flag; nothing reads it afterwards.
    r.events.cancel();
    cancel = false;
    r.events.paneClick(nullptr);
    EXPECT_EQ(r.events.cancelFlag(), 0);

    // Integers come first and as 4-byte integers.
    seen.clear();
    ev.buildMenu(2, 99, nullptr, nullptr);
    ev.menuCommand(7, nullptr, nullptr);
    ASSERT_EQ(seen.size(), 2u);
    ASSERT_EQ(seen[0].args.size(), 4u);
    EXPECT_EQ(seen[0].args[0].vt, VT_I4);
    EXPECT_EQ(seen[0].args[0].lVal, 2);
    EXPECT_EQ(seen[0].args[1].lVal, 99);
    EXPECT_EQ(seen[0].args[2].vt, VT_DISPATCH);
    ASSERT_EQ(seen[1].args.size(), 3u);
    EXPECT_EQ(seen[1].args[0].lVal, 7);
    r.point.Unadvise(cookie);
}

TEST(Veto, WithoutSinksNothingIsVetoed)
{
    Raiser r;
    r.events.cancel();
    EXPECT_FALSE(r.events.beforeItemChange(nullptr, nullptr));
    EXPECT_FALSE(r.events.itemClick(nullptr, nullptr));
}
