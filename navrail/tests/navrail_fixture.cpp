#include "navrail_fixture.h"

#include "com/testing/registration.h"

#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>

// The test program is a module of its own (its event sinks count on its lock).
TV_COM_MODULE()

namespace navtest {

namespace {

// Registers the library once into a temporary registry for the whole test run.
class RegistryEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        path_ = dir_.filePath(QStringLiteral("registry"));
        setenv("TORVANA_REGISTRY", QFile::encodeName(path_).constData(), 1);
        ASSERT_TRUE(comtest::RegisterLibrary(NAVRAIL_LIBRARY_PATH));
    }
    QString path() const { return path_; }

private:
    QTemporaryDir dir_;
    QString path_;
};

RegistryEnvironment *g_env =
    static_cast<RegistryEnvironment *>(::testing::AddGlobalTestEnvironment(new RegistryEnvironment));

} // namespace

QString libraryPath()
{
    return QFileInfo(QString::fromUtf8(NAVRAIL_LIBRARY_PATH)).canonicalFilePath();
}

QString registryPath()
{
    return g_env->path();
}

ComPtr<ILzNavrailBar> createBar()
{
    ComPtr<ILzNavrailBar> bar;
    EXPECT_EQ(com::createInstance(CLSID_LzNavrailBar, bar), S_OK);
    return bar;
}

ComPtr<ILzNavrailGroups> groupsOf(ILzNavrailBar *bar)
{
    ComPtr<ILzNavrailGroups> groups;
    EXPECT_EQ(bar->get_Groups(groups.put()), S_OK);
    return groups;
}

ComPtr<ILzNavrailGroup> addGroup(ILzNavrailBar *bar, const QString &text, const QString &key)
{
    ComPtr<ILzNavrailGroup> group;
    com::Bstr t(text), k(key);
    HRESULT hr = key.isEmpty() ? groupsOf(bar)->Add(t, group.put()) : groupsOf(bar)->AddKey(k, t, group.put());
    EXPECT_EQ(hr, S_OK);
    return group;
}

ComPtr<ILzNavrailItems> itemsOf(ILzNavrailGroup *group)
{
    ComPtr<ILzNavrailItems> items;
    EXPECT_EQ(group->get_Items(items.put()), S_OK);
    return items;
}

ComPtr<ILzNavrailItem> addItem(ILzNavrailGroup *group, const QString &text, const QString &key)
{
    ComPtr<ILzNavrailItem> item;
    com::Bstr t(text), k(key);
    HRESULT hr = key.isEmpty() ? itemsOf(group)->Add(t, 0, item.put()) : itemsOf(group)->AddKey(k, t, 0, item.put());
    EXPECT_EQ(hr, S_OK);
    return item;
}

LONG groupCount(ILzNavrailBar *bar)
{
    LONG n = -1;
    groupsOf(bar)->get_Count(&n);
    return n;
}

LONG currentGroupIndex(ILzNavrailBar *bar)
{
    LONG i = -1;
    bar->get_CurrentGroupIndex(&i);
    return i;
}

QString textOf(ILzNavrailGroup *group)
{
    com::Bstr b;
    group->get_Text(b.put());
    return b.toString();
}

QString textOf(ILzNavrailItem *item)
{
    com::Bstr b;
    item->get_Text(b.put());
    return b.toString();
}

bool sameObject(IUnknown *a, IUnknown *b)
{
    return com::sameObject(a, b);
}

com::Variant i2(SHORT v)
{
    return com::Variant::i2(v);
}
com::Variant i4(LONG v)
{
    return com::Variant::i4(v);
}
com::Variant str(const QString &s)
{
    return com::Variant::string(s);
}

std::vector<std::pair<const EventRecorder *, DISPID>> &EventRecorder::callLog()
{
    static std::vector<std::pair<const EventRecorder *, DISPID>> log;
    return log;
}

EventRecorder::EventRecorder(ILzNavrailBar *bar) : bar_(bar)
{
    ComPtr<IConnectionPointContainer> cpc = bar_.as<IConnectionPointContainer>();
    EXPECT_TRUE(cpc);
    EXPECT_EQ(cpc->FindConnectionPoint(DIID__ILzNavrailBarEvents, point_.put()), S_OK);
    auto handler = [this](DISPID dispid, DISPPARAMS *params, VARIANT *) -> HRESULT {
        RecordedEvent e;
        e.dispid = dispid;
        com::EventArgs args(params);
        for (UINT i = 0; i < args.count(); ++i)
            e.args.emplace_back(*args.at(i));
        events_.push_back(e);
        callLog().emplace_back(this, dispid);
        if (std::find(veto_.begin(), veto_.end(), dispid) != veto_.end())
            bar_->CancelEvent();
        if (action_)
            action_(events_.back());
        return S_OK;
    };
    ComPtr<com::DispatchSink> sink = com::makeObject<com::DispatchSink>(DIID__ILzNavrailBarEvents, handler);
    EXPECT_EQ(point_->Advise(sink.get(), &cookie_), S_OK);
}

EventRecorder::~EventRecorder()
{
    if (point_)
        point_->Unadvise(cookie_);
}

std::vector<DISPID> EventRecorder::dispids() const
{
    std::vector<DISPID> r;
    for (const RecordedEvent &e : events_)
        r.push_back(e.dispid);
    return r;
}

int EventRecorder::count(DISPID dispid) const
{
    return int(
        std::count_if(events_.begin(), events_.end(), [dispid](const RecordedEvent &e) { return e.dispid == dispid; }));
}

} // namespace navtest
