#pragma once
// Test helpers: the library registered into a temporary registry, the control created by CLSID
// as a client does, and an event sink that records what the control raises.
#include "LzNavrail.h"
#include "com/com.h"

#include <QString>
#include <gtest/gtest.h>
#include <vector>

namespace navtest {

using com::ComPtr;

// The built library's full path.
QString libraryPath();
// The temporary registry the tests run against (the library is registered there).
QString registryPath();

ComPtr<ILzNavrailBar> createBar();
ComPtr<ILzNavrailGroups> groupsOf(ILzNavrailBar *bar);
ComPtr<ILzNavrailGroup> addGroup(ILzNavrailBar *bar, const QString &text, const QString &key = QString());
ComPtr<ILzNavrailItem> addItem(ILzNavrailGroup *group, const QString &text, const QString &key = QString());
ComPtr<ILzNavrailItems> itemsOf(ILzNavrailGroup *group);
LONG groupCount(ILzNavrailBar *bar);
LONG currentGroupIndex(ILzNavrailBar *bar);
QString textOf(ILzNavrailGroup *group);
QString textOf(ILzNavrailItem *item);
bool sameObject(IUnknown *a, IUnknown *b);

// Index variants.
com::Variant i2(SHORT v);
com::Variant i4(LONG v);
com::Variant str(const QString &s);

// One raised event: its DISPID and its arguments in natural order.
struct RecordedEvent
{
    DISPID dispid = 0;
    std::vector<com::Variant> args;
    IDispatch *object(std::size_t i) const
    {
        return i < args.size() && args[i].vt == VT_DISPATCH ? args[i].pdispVal : nullptr;
    }
};

// A sink advised on the control's event interface; optionally vetoes (CancelEvent) chosen events.
class EventRecorder
{
public:
    explicit EventRecorder(ILzNavrailBar *bar);
    ~EventRecorder();
    EventRecorder(const EventRecorder &) = delete;
    EventRecorder &operator=(const EventRecorder &) = delete;

    const std::vector<RecordedEvent> &events() const { return events_; }
    std::vector<DISPID> dispids() const;
    int count(DISPID dispid) const;
    void clear() { events_.clear(); }
    // Calls CancelEvent while handling events of this DISPID.
    void vetoOn(DISPID dispid) { veto_.push_back(dispid); }
    // Runs an action while handling events of this DISPID (after recording it).
    void onEvent(std::function<void(const RecordedEvent &)> action) { action_ = std::move(action); }
    // The shared record of every recorder, in call order ("which sink saw which event").
    static std::vector<std::pair<const EventRecorder *, DISPID>> &callLog();

private:
    ComPtr<ILzNavrailBar> bar_;
    ComPtr<IConnectionPoint> point_;
    DWORD cookie_ = 0;
    std::vector<RecordedEvent> events_;
    std::vector<DISPID> veto_;
    std::function<void(const RecordedEvent &)> action_;
};

} // namespace navtest
