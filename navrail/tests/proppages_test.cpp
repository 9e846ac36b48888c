// The two property pages: their page information, filling from the control, marking dirty,
// applying through ILzNavrailBar (failures shown as "Error" boxes), and both pages shown in the
// runtime's property frame as a container offers them.
#include "navrail_fixture.h"

#include "common/testing/cut_controls.h"
#include "ole/handles.h"
#include "ole/propframe.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using namespace navtest;

namespace {

// A page site that records the status changes it is told.
class RecordingSite final : public com::ComObject<IPropertyPageSite>
{
public:
    HRESULT STDMETHODCALLTYPE OnStatusChange(DWORD flags) override
    {
        changes.push_back(flags);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetLocaleID(LCID *p) override
    {
        if (p)
            *p = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPageContainer(IUnknown **pp) override
    {
        if (pp)
            *pp = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG *) override { return S_FALSE; }
    std::vector<DWORD> changes;
};

// An object with the control's interface whose every member fails with an error object.
#define REFUSE(name, ...)                                                                                              \
    HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override                                                               \
    {                                                                                                                  \
        return refuse(#name);                                                                                          \
    }
class RefusingBar final : public com::ComObject<ILzNavrailBar>
{
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *p) override
    {
        if (p)
            *p = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *, UINT *) override
    {
        return E_NOTIMPL;
    }
    REFUSE(get_BackColor, OLE_COLOR *)
    REFUSE(put_BackColor, OLE_COLOR)
    REFUSE(get_Groups, ILzNavrailGroups **)
    REFUSE(get_CurrentGroupIndex, LONG *)
    REFUSE(put_CurrentGroupIndex, LONG)
    REFUSE(get_TextColor, OLE_COLOR *)
    REFUSE(put_TextColor, OLE_COLOR)
    REFUSE(get_CurrentGroup, ILzNavrailGroup **)
    REFUSE(put_CurrentGroup, ILzNavrailGroup *)
    REFUSE(get_SoundEffects, VARIANT_BOOL *)
    REFUSE(put_SoundEffects, VARIANT_BOOL)
    REFUSE(get_Appearance, tagApearanceConstants *)
    REFUSE(put_Appearance, tagApearanceConstants)
    REFUSE(get_BorderWidth, SHORT *)
    REFUSE(put_BorderWidth, SHORT)
    REFUSE(get_SplitterWindow, VARIANT_BOOL *)
    REFUSE(put_SplitterWindow, VARIANT_BOOL)
    REFUSE(get_SplitterWidth, SHORT *)
    REFUSE(put_SplitterWidth, SHORT)
    REFUSE(get_EnableGroupPopupMenu, VARIANT_BOOL *)
    REFUSE(put_EnableGroupPopupMenu, VARIANT_BOOL)
    REFUSE(get_EnableEditGroupLabels, VARIANT_BOOL *)
    REFUSE(put_EnableEditGroupLabels, VARIANT_BOOL)
    REFUSE(get_EnableAddGroups, VARIANT_BOOL *)
    REFUSE(put_EnableAddGroups, VARIANT_BOOL)
    REFUSE(get_EnableRemoveGroups, VARIANT_BOOL *)
    REFUSE(put_EnableRemoveGroups, VARIANT_BOOL)
    REFUSE(get_EnableEditItemLabels, VARIANT_BOOL *)
    REFUSE(put_EnableEditItemLabels, VARIANT_BOOL)
    REFUSE(get_EnableAddItems, VARIANT_BOOL *)
    REFUSE(put_EnableAddItems, VARIANT_BOOL)
    REFUSE(get_EnableRemoveItems, VARIANT_BOOL *)
    REFUSE(put_EnableRemoveItems, VARIANT_BOOL)
    REFUSE(CancelEvent)
    REFUSE(get_LeftPaneWidth, LONG *)
    REFUSE(put_LeftPaneWidth, LONG)
    REFUSE(get_EnableSetIconSizes, VARIANT_BOOL *)
    REFUSE(put_EnableSetIconSizes, VARIANT_BOOL)
    REFUSE(get_EnableHideNavrailBar, VARIANT_BOOL *)
    REFUSE(put_EnableHideNavrailBar, VARIANT_BOOL)
    REFUSE(get_EnableItemPopupMenu, VARIANT_BOOL *)
    REFUSE(put_EnableItemPopupMenu, VARIANT_BOOL)
    REFUSE(get_EnableOpenItem, VARIANT_BOOL *)
    REFUSE(put_EnableOpenItem, VARIANT_BOOL)
    REFUSE(get_EnableProperties, VARIANT_BOOL *)
    REFUSE(put_EnableProperties, VARIANT_BOOL)
    REFUSE(get_PaneDisplay, tagPaneDisplayConstants *)
    REFUSE(put_PaneDisplay, tagPaneDisplayConstants)
    REFUSE(get_FreezePanes, VARIANT_BOOL *)
    REFUSE(put_FreezePanes, VARIANT_BOOL)
    REFUSE(get_CurrentItem, ILzNavrailItem **)
    REFUSE(put_CurrentItem, ILzNavrailItem *)
    REFUSE(get_Font, IFontDisp **)
    REFUSE(put_Font, IFontDisp *)
    REFUSE(putref_Font, IFontDisp *)
    REFUSE(get_hWnd, LONG *)
    REFUSE(get_TopPaneHeight, LONG *)
    REFUSE(put_TopPaneHeight, LONG)
    REFUSE(ItemFromKey, BSTR, ILzNavrailItem **)
    REFUSE(get_DynamicResize, VARIANT_BOOL *)
    REFUSE(put_DynamicResize, VARIANT_BOOL)
    REFUSE(put_SmallImageList, IDispatch *)
    REFUSE(put_LargeImageList, IDispatch *)
    REFUSE(get_SmallHImageList, LONG *)
    REFUSE(put_SmallHImageList, LONG)
    REFUSE(get_LargeHImageList, LONG *)
    REFUSE(put_LargeHImageList, LONG)
    REFUSE(put_LargeHotImageList, IDispatch *)
    REFUSE(put_SmallHotImageList, IDispatch *)
    REFUSE(get_LargeHotHImageList, LONG *)
    REFUSE(put_LargeHotHImageList, LONG)
    REFUSE(get_SmallHotHImageList, LONG *)
    REFUSE(put_SmallHotHImageList, LONG)
    REFUSE(put_LargeActiveHImageList, LONG)
    REFUSE(get_SmallActiveHImageList, LONG *)
    REFUSE(put_SmallActiveHImageList, LONG)
    REFUSE(get_UseChildWindows, VARIANT_BOOL *)
    REFUSE(put_UseChildWindows, VARIANT_BOOL)
    REFUSE(get_TabsSet, ILzTabsSet **)

    std::vector<QString> calls;

private:
    HRESULT refuse(const char *name)
    {
        calls.push_back(QString::fromLatin1(name));
        return com::reportError(E_FAIL, ILzNavrailBar::iid, QStringLiteral("Test"),
                                QStringLiteral("%1 abgelehnt").arg(QString::fromLatin1(name)));
    }
};
#undef REFUSE

// A page created by class identifier, given objects and a site, and activated in a holder.
struct Page
{
    Page(const CLSID &clsid, std::vector<IUnknown *> objects)
    {
        EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage, page.putVoid()), S_OK);
        site = com::makeObject<RecordingSite>();
        EXPECT_EQ(page->SetPageSite(site.get()), S_OK);
        EXPECT_EQ(page->SetObjects(ULONG(objects.size()), objects.data()), S_OK);
        holder.resize(420, 220);
        RECT rc{0, 0, 420, 220};
        EXPECT_EQ(page->Activate(ole::handleFromWidget(&holder), &rc, TRUE), S_OK);
        EXPECT_EQ(page->Show(SW_SHOW), S_OK);
        holder.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&holder));
    }
    ~Page()
    {
        page->Deactivate();
        page->SetObjects(0, nullptr);
        page->SetPageSite(nullptr);
    }
    template <class W>
    W *control(int id) const
    {
        return holder.findChild<W *>(QString::number(id));
    }
    QCheckBox *box(int id) const { return control<QCheckBox>(id); }
    bool dirty() const { return page->IsPageDirty() == S_OK; }

    QWidget holder;
    ComPtr<IPropertyPage> page;
    ComPtr<RecordingSite> site;
};

// Closes each message box that comes up while an action runs, recording its caption and text.
struct BoxCloser
{
    BoxCloser()
    {
        timer.setInterval(0);
        QObject::connect(&timer, &QTimer::timeout, [this] { close(); });
        timer.start();
    }
    void close()
    {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            seen.emplace_back(box->windowTitle(), box->text());
            EXPECT_EQ(box->icon(), QMessageBox::Warning);
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        }
    }
    QTimer timer;
    std::vector<std::pair<QString, QString>> seen;
};

// A click on a check box's square, where a user clicks.
void clickBox(QCheckBox *box)
{
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
}

QString taskString(LPOLESTR s)
{
    QString r = com::fromWide(s);
    CoTaskMemFree(s);
    return r;
}

} // namespace

TEST(Pages, PageInformation)
{
    struct Case
    {
        CLSID clsid;
        const char *title;
        const char *doc;
        int cx, cy;
    };
    for (const Case &c :
         {Case{CLSID_GeneralPropPage, "General Properties", "General Control Properties for LzNavrailBar", 407, 200},
          Case{CLSID_MenuProp, "Popup Menu Options", "Your Help String", 386, 171}}) {
        SCOPED_TRACE(c.title);
        ComPtr<IPropertyPage> page;
        ASSERT_EQ(CoCreateInstance(c.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage, page.putVoid()), S_OK);
        PROPPAGEINFO info{};
        ASSERT_EQ(page->GetPageInfo(&info), S_OK);
        EXPECT_EQ(taskString(info.pszTitle), QString::fromLatin1(c.title));
        EXPECT_EQ(taskString(info.pszDocString), QString::fromLatin1(c.doc));
        EXPECT_EQ(taskString(info.pszHelpFile), QStringLiteral("lzoNavrailBar.chm"));
        EXPECT_EQ(info.size.cx, c.cx);
        EXPECT_EQ(info.size.cy, c.cy);
        EXPECT_EQ(page->GetPageInfo(nullptr), E_POINTER);
        // One site at a time; a null site lets it go.
        ComPtr<RecordingSite> a = com::makeObject<RecordingSite>(), b = com::makeObject<RecordingSite>();
        EXPECT_EQ(page->SetPageSite(a.get()), S_OK);
        EXPECT_EQ(page->SetPageSite(b.get()), E_UNEXPECTED);
        EXPECT_EQ(page->SetPageSite(nullptr), S_OK);
        EXPECT_EQ(page->SetPageSite(b.get()), S_OK);
        EXPECT_EQ(page->SetObjects(1, nullptr), E_POINTER);
        EXPECT_EQ(page->Activate(0, nullptr, TRUE), E_INVALIDARG) << "a page needs a parent window";
        page->SetPageSite(nullptr);
    }
}

TEST(Pages, GeneralPageFillsMarksDirtyAndApplies)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    bar->put_Appearance(lzoHeavy3D);
    bar->put_BorderWidth(4);
    bar->put_SplitterWidth(8);
    bar->put_SoundEffects(VARIANT_FALSE);
    IUnknown *objects[] = {bar.get()};
    Page p(CLSID_GeneralPropPage, {objects[0]});
    auto *look = p.control<QComboBox>(202);
    auto *border = p.control<QLineEdit>(203);
    auto *splitter = p.control<QLineEdit>(205);
    ASSERT_TRUE(look && border && splitter && p.box(204) && p.box(201));
    EXPECT_EQ(look->count(), 3);
    EXPECT_EQ(look->itemText(1), QStringLiteral("1 - Light 3D"));
    EXPECT_EQ(look->currentIndex(), 2);
    EXPECT_EQ(border->text(), QStringLiteral("4"));
    EXPECT_EQ(splitter->text(), QStringLiteral("8"));
    EXPECT_TRUE(p.box(204)->isChecked());
    EXPECT_FALSE(p.box(201)->isChecked());
    EXPECT_EQ(p.box(201)->text(), QStringLiteral("Use Sound &Effects"));
    EXPECT_FALSE(p.dirty()) << "opening the page changes nothing";
    EXPECT_TRUE(p.site->changes.empty());

    // The user's changes: a click, a choice and typing.
    clickBox(p.box(201));
    EXPECT_TRUE(p.dirty());
    EXPECT_EQ(p.site->changes, std::vector<DWORD>{PROPPAGESTATUS_DIRTY | PROPPAGESTATUS_VALIDATE});
    look->setCurrentIndex(0);
    border->selectAll();
    QTest::keyClicks(border, QStringLiteral("2"));
    splitter->selectAll();
    QTest::keyClicks(splitter, QStringLiteral("zwoelf")); // no number: 0
    clickBox(p.box(204));
    EXPECT_EQ(p.site->changes.size(), 1u) << "the site hears of a change only once";

    ASSERT_EQ(p.page->Apply(), S_OK);
    VARIANT_BOOL sound = 0, inSplitter = 1;
    tagApearanceConstants a = lzoHeavy3D;
    SHORT b = 0, s = -1;
    bar->get_SoundEffects(&sound);
    bar->get_SplitterWindow(&inSplitter);
    bar->get_Appearance(&a);
    bar->get_BorderWidth(&b);
    bar->get_SplitterWidth(&s);
    EXPECT_NE(sound, 0);
    EXPECT_EQ(inSplitter, 0);
    EXPECT_EQ(a, lzoFlat);
    EXPECT_EQ(b, 2);
    EXPECT_EQ(s, 0);
    EXPECT_FALSE(p.dirty());
    EXPECT_EQ(p.site->changes.back(), 0u) << "clean again";
}

TEST(Pages, MenuPageEnablesByItsHeadBoxesAndAppliesEveryBox)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    bar->put_EnableGroupPopupMenu(VARIANT_FALSE);
    bar->put_EnableAddGroups(VARIANT_FALSE);
    Page p(CLSID_MenuProp, {bar.get()});
    const int left[] = {227, 207, 208, 209, 210};
    const int right[] = {221, 211, 222, 223, 224};
    ASSERT_TRUE(p.box(206) && p.box(220));
    EXPECT_FALSE(p.box(206)->isChecked());
    EXPECT_TRUE(p.box(220)->isChecked());
    for (int id : left) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(p.box(id)->isEnabled()) << "pane menu off: its boxes are disabled";
    }
    for (int id : right)
        EXPECT_TRUE(p.box(id)->isEnabled()) << id;
    EXPECT_FALSE(p.box(207)->isChecked());
    EXPECT_TRUE(p.box(209)->isChecked());
    EXPECT_EQ(p.box(211)->text(), QStringLiteral("&Add New Item"));
    EXPECT_EQ(p.box(221)->text(), QStringLiteral("&Open Folder"));
    EXPECT_FALSE(p.dirty());

    // Unchecking "Item Popup Menu" disables its five boxes, "&Add New Item" among them.
    clickBox(p.box(220));
    for (int id : right)
        EXPECT_FALSE(p.box(id)->isEnabled()) << id;
    clickBox(p.box(206));
    for (int id : left)
        EXPECT_TRUE(p.box(id)->isEnabled()) << id;
    EXPECT_TRUE(p.dirty());
    clickBox(p.box(207)); // "&Add New Group" on

    ASSERT_EQ(p.page->Apply(), S_OK);
    VARIANT_BOOL v = 0;
    bar->get_EnableGroupPopupMenu(&v);
    EXPECT_NE(v, 0);
    bar->get_EnableItemPopupMenu(&v);
    EXPECT_EQ(v, 0);
    bar->get_EnableAddGroups(&v);
    EXPECT_NE(v, 0);
    // The disabled boxes write their unchanged states.
    bar->get_EnableAddItems(&v);
    EXPECT_NE(v, 0);
    bar->get_EnableOpenItem(&v);
    EXPECT_NE(v, 0);
}

TEST(Pages, AFailingSetterShowsAnErrorBoxAndApplyGoesOn)
{
    ComPtr<RefusingBar> refusing = com::makeObject<RefusingBar>();
    ComPtr<ILzNavrailBar> bar = createBar();
    IUnknown *objects[] = {static_cast<ILzNavrailBar *>(refusing.get()), bar.get()};
    Page p(CLSID_GeneralPropPage, {objects[0], objects[1]});
    p.control<QLineEdit>(203)->setText(QStringLiteral("5"));
    BoxCloser closer;
    ASSERT_EQ(p.page->Apply(), S_OK);
    ASSERT_EQ(closer.seen.size(), 5u) << "one box per failing setter";
    EXPECT_EQ(closer.seen[0].first, QStringLiteral("Error"));
    EXPECT_EQ(closer.seen[0].second, QStringLiteral("put_SoundEffects abgelehnt"));
    EXPECT_EQ(closer.seen[4].second, QStringLiteral("put_SplitterWindow abgelehnt"));
    SHORT border = 0;
    bar->get_BorderWidth(&border);
    EXPECT_EQ(border, 5) << "the control after the refusing object still takes the values";
}

TEST(Pages, BothPagesInThePropertyFrameApplyToTheControl)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    CAUUID pages{};
    ASSERT_EQ(bar.as<ISpecifyPropertyPages>()->GetPages(&pages), S_OK);
    ASSERT_EQ(pages.cElems, 2u);
    QStringList titles;
    bool driven = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        auto *tabs = dialog->findChild<QTabWidget *>();
        ASSERT_TRUE(tabs);
        for (int i = 0; i < tabs->count(); ++i)
            titles << tabs->tabText(i);
        // On the first page switch the sounds off, on the second the "&Open Folder" entry.
        auto *sound = tabs->widget(0)->findChild<QCheckBox *>(QStringLiteral("201"));
        ASSERT_TRUE(sound);
        clickBox(sound);
        tabs->setCurrentIndex(1);
        auto *open = tabs->widget(1)->findChild<QCheckBox *>(QStringLiteral("221"));
        ASSERT_TRUE(open);
        clickBox(open);
        auto *buttons = dialog->findChild<QDialogButtonBox *>();
        QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
        driven = true;
    });
    IUnknown *objects[] = {bar.get()};
    ASSERT_EQ(OleCreatePropertyFrame(0, 0, 0, u"NavrailBar", 1, objects, pages.cElems, pages.pElems, 0, 0, nullptr),
              S_OK);
    CoTaskMemFree(pages.pElems);
    ASSERT_TRUE(driven);
    EXPECT_EQ(titles, (QStringList{QStringLiteral("General Properties"), QStringLiteral("Popup Menu Options")}));
    VARIANT_BOOL sound = 1, open = 1;
    bar->get_SoundEffects(&sound);
    bar->get_EnableOpenItem(&open);
    EXPECT_EQ(sound, 0);
    EXPECT_EQ(open, 0);
}

// Both pages in the frame show their texts whole: each label, check box, list and frame has at
// least the size it asks for and lies inside the visible page.
TEST(Pages, BothPagesShowTheirTextsWholeInTheFrame)
{
    ComPtr<ILzNavrailBar> bar = createBar();
    CAUUID pages{};
    ASSERT_EQ(bar.as<ISpecifyPropertyPages>()->GetPages(&pages), S_OK);
    int checked = 0;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        auto *tabs = dialog->findChild<QTabWidget *>();
        ASSERT_TRUE(tabs);
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QApplication::processEvents();
            QWidget *page = tabs->widget(i);
            SCOPED_TRACE(tabs->tabText(i).toStdString());
            EXPECT_EQ(vbtest::cutControls(*page), std::vector<std::string>{});
            ++checked;
        }
        dialog->reject();
    });
    IUnknown *objects[] = {bar.get()};
    ASSERT_EQ(OleCreatePropertyFrame(0, 0, 0, u"NavrailBar", 1, objects, pages.cElems, pages.pElems, 0, 0, nullptr),
              S_OK);
    CoTaskMemFree(pages.pElems);
    EXPECT_EQ(checked, int(pages.cElems)) << "each page was shown";
}
