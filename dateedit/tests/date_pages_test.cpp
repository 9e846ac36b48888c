// The property pages and the about box: each page applying a change to the control through its
// dispatch interface, the pages in the runtime's property frame, and the version in the about box.
#include "date_window_fixture.h"

#include "common/testing/cut_controls.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>

#include <functional>

namespace {

using namespace datetest;

// A page created by CLSID as a container does, shown in a holder widget for one control.
class Page
{
public:
    Page(const CLSID &clsid, IDispatch *control)
    {
        EXPECT_EQ(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage, page.putVoid()), S_OK);
        if (!page)
            return;
        holder.resize(400, 220);
        IUnknown *objects[] = {control};
        EXPECT_EQ(page->SetObjects(1, objects), S_OK);
        RECT rc{0, 0, 400, 220};
        EXPECT_EQ(page->Activate(ole::handleFromWidget(&holder), &rc, TRUE), S_OK);
        page->Show(SW_SHOW);
    }
    ~Page()
    {
        if (!page)
            return;
        page->Deactivate();
        page->SetObjects(0, nullptr);
    }
    template <class T>
    T *child(int id) const
    {
        return holder.findChild<T *>(QStringLiteral("id%1").arg(id));
    }
    HRESULT apply() { return page->Apply(); }
    bool dirty() { return page->IsPageDirty() == S_OK; }

    com::ComPtr<IPropertyPage> page;
    QWidget holder;
};

class Pages : public Window
{
protected:
    IDispatch *dispatch() { return container->controlDispatch().get(); }

    // Shows the control's pages in the runtime's property frame and runs the script on the open
    // dialog; the dialog is cancelled afterwards unless the script closed it.
    void inFrame(const std::function<void()> &script)
    {
        auto pages = container->control<ISpecifyPropertyPages>();
        ASSERT_TRUE(pages);
        CAUUID list{};
        ASSERT_EQ(pages->GetPages(&list), S_OK);
        bool ran = false;
        QTimer::singleShot(0, [&] {
            frame = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!frame)
                return;
            ran = true;
            if (waitForFrame())
                script();
            if (frame && frame->isVisible())
                frame->reject();
        });
        IUnknown *objects[] = {container->controlUnknown()};
        EXPECT_EQ(OleCreatePropertyFrame(ole::handleFromWidget(&host), 0, 0, u"LzDate2", 1, objects, list.cElems,
                                         list.pElems, 0, 0, nullptr),
                  S_OK);
        CoTaskMemFree(list.pElems);
        frame = nullptr;
        EXPECT_TRUE(ran) << "the frame was shown";
    }
    QPointer<QDialog> frame;

    template <class T>
    T *find(const QString &name) const
    {
        return frame ? frame->findChild<T *>(name) : nullptr;
    }
    template <class T>
    T *byId(int id) const
    {
        return find<T>(QStringLiteral("id%1").arg(id));
    }
    // Waits until Qt has made the frame its active window. The window system may tell first (the
    // frame's window then counts as active) and Qt follow later; on an X server the host may even
    // take a late activation back for a moment, which the modal frame then reclaims. Until then
    // Qt runs no mnemonic of the frame.
    bool waitForFrame()
    {
        return frame && QTest::qWaitFor([this] { return frame && QApplication::activeWindow() == frame; });
    }
    void frameKey(Qt::Key k, Qt::KeyboardModifiers m = {})
    {
        ASSERT_TRUE(waitForFrame());
        QTest::keyClick(frame->windowHandle(), k, m);
    }
    void frameType(const char *keys)
    {
        for (const char *k = keys; *k; ++k) {
            ASSERT_TRUE(waitForFrame());
            QTest::keyClick(frame->windowHandle(), *k);
        }
    }
    // A click at a point of a widget (its centre by default) into the frame's window.
    void frameClick(QWidget *w, QPoint at = QPoint(-1, -1))
    {
        ASSERT_NE(w, nullptr);
        if (at.x() < 0)
            at = w->rect().center();
        QTest::mouseClick(frame->windowHandle(), Qt::LeftButton, {}, w->mapTo(frame, at));
    }
    // A click on a check box's or radio button's mark.
    void clickMark(QWidget *w) { frameClick(w, QPoint(7, w->height() / 2)); }
    void clickTab(const QString &title)
    {
        auto *tabs = find<QTabWidget>(QString());
        ASSERT_NE(tabs, nullptr);
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->tabText(i) == title)
                frameClick(tabs->tabBar(), tabs->tabBar()->tabRect(i).center());
        ASSERT_EQ(tabs->tabText(tabs->currentIndex()), title);
    }
    void clickButton(QDialogButtonBox::StandardButton which)
    {
        auto *box = find<QDialogButtonBox>(QString());
        ASSERT_NE(box, nullptr);
        frameClick(box->button(which));
    }
};

TEST_F(Pages, EveryPageIsRegisteredByItsProgId)
{
    struct Case
    {
        const char16_t *progId;
        CLSID clsid;
        const char *typeName;
    };
    const Case cases[] = {{LzDatePPage_ProgID, CLSID_LzDatePPage, "LzDate Property Page"},
                          {CFormatPPage_ProgID, CLSID_CFormatPPage, "LzDate PPageFormat"},
                          {CCalendarFormatPropPage_ProgID, CLSID_CCalendarFormatPropPage, "Calendar Property Page"},
                          {CInfoPage_ProgID, CLSID_CInfoPage, "LzDate PPageInfo"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typeName);
        CLSID clsid = GUID_NULL;
        ASSERT_EQ(CLSIDFromProgID(c.progId, &clsid), S_OK);
        EXPECT_EQ(clsid, c.clsid);
        QString name;
        ASSERT_EQ(com::reg::readString(com::reg::Hive::ClassesRoot, "CLSID\\" + com::guidToString(c.clsid), "", &name),
                  ERROR_SUCCESS);
        EXPECT_EQ(name, c.typeName);
        com::ComPtr<IPropertyPage> page;
        EXPECT_EQ(CoCreateInstance(c.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage, page.putVoid()), S_OK);
    }
}

TEST_F(Pages, TheControlListsItsPagesAndMapsProperties)
{
    auto pages = container->control<ISpecifyPropertyPages>();
    ASSERT_TRUE(pages);
    CAUUID list{};
    ASSERT_EQ(pages->GetPages(&list), S_OK);
    ASSERT_EQ(list.cElems, 5u);
    EXPECT_EQ(list.pElems[0], CLSID_LzDatePPage);
    EXPECT_EQ(list.pElems[1], CLSID_CFormatPPage);
    EXPECT_EQ(list.pElems[2], CLSID_CCalendarFormatPropPage);
    CoTaskMemFree(list.pElems);

    auto browsing = container->control<IPerPropertyBrowsing>();
    ASSERT_TRUE(browsing);
    struct Case
    {
        DISPID id;
        CLSID page;
        const char *display;
    };
    const Case cases[] = {
        {DISPID_LD_Alignment, CLSID_LzDatePPage, nullptr},      {DISPID_LD_DisplayFormat, CLSID_LzDatePPage, "(Style)"},
        {DISPID_LD_Border, CLSID_LzDatePPage, nullptr},         {DISPID_LD_EditModeChange, CLSID_LzDatePPage, nullptr},
        {DISPID_LD_DateFormat, CLSID_CFormatPPage, "(Format)"}, {DISPID_LD_Separator, CLSID_CFormatPPage, nullptr},
        {DISPID_LD_ValueReset, CLSID_CFormatPPage, "(Format)"}, {DISPID_LD_Value, GUID_NULL, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.id);
        CLSID page{};
        EXPECT_EQ(browsing->MapPropertyToPage(c.id, &page), c.page == GUID_NULL ? PERPROP_E_NOPAGEAVAILABLE : S_OK);
        EXPECT_EQ(page, c.page);
        BSTR text = nullptr;
        const HRESULT hr = browsing->GetDisplayString(c.id, &text);
        if (c.display) {
            EXPECT_EQ(hr, S_OK);
            EXPECT_EQ(com::toQString(text), QString::fromLatin1(c.display));
        } else {
            EXPECT_NE(hr, S_OK);
        }
        SysFreeString(text);
    }
}

TEST_F(Pages, StylesPageAppliesItsChoices)
{
    Page page(CLSID_LzDatePPage, dispatch());
    auto *display = page.child<QComboBox>(201);
    ASSERT_NE(display, nullptr);
    EXPECT_EQ(display->currentIndex(), 0);
    EXPECT_EQ(display->count(), 7);
    EXPECT_EQ(display->itemText(4), "4 - Odometer Inverted");
    EXPECT_EQ(page.child<QComboBox>(202)->currentIndex(), 2);
    EXPECT_EQ(page.child<QComboBox>(216)->currentIndex(), 1);
    EXPECT_EQ(page.child<QComboBox>(221)->currentIndex(), 2);
    EXPECT_TRUE(page.child<QCheckBox>(213)->isChecked());
    EXPECT_FALSE(page.dirty());

    display->setCurrentIndex(5);
    page.child<QComboBox>(203)->setCurrentIndex(2);
    page.child<QCheckBox>(222)->setChecked(true);
    EXPECT_TRUE(page.dirty());
    EXPECT_EQ(number(DISPID_LD_DisplayFormat), 0) << "nothing before Apply";
    EXPECT_EQ(page.apply(), S_OK);
    EXPECT_EQ(number(DISPID_LD_DisplayFormat), 5);
    EXPECT_EQ(number(DISPID_LD_Alignment), 2);
    EXPECT_EQ(number(DISPID_LD_FreeFormEntry), -1);
    EXPECT_FALSE(page.dirty());
}

TEST_F(Pages, FormatPageAppliesAndChecksTheSeparatorLength)
{
    put(DISPID_LD_Value, Variant::fromDate(oleDate(2020, 1, 1)));
    Page page(CLSID_CFormatPPage, dispatch());
    auto *format = page.child<QComboBox>(210);
    ASSERT_NE(format, nullptr);
    EXPECT_EQ(format->count(), 30);
    EXPECT_EQ(format->itemText(19), "19 - dow, mmmm dd, yyyy (read only)");
    EXPECT_EQ(page.child<QLineEdit>(207)->text(), ".");
    EXPECT_EQ(page.child<QComboBox>(211)->itemText(2), "2 - NULL date");

    auto *separator = page.child<QLineEdit>(207);
    separator->setFocus();
    separator->selectAll();
    QTest::keyClicks(separator, "-x/");
    EXPECT_EQ(separator->text(), "-x") << "a third character is refused";
    format->setCurrentIndex(13);
    page.child<QCheckBox>(212)->setChecked(true);
    ASSERT_EQ(page.apply(), S_OK);
    EXPECT_EQ(number(DISPID_LD_DateFormat), 13);
    EXPECT_EQ(com::variantToString(get(DISPID_LD_Separator)), "-");
    EXPECT_EQ(number(DISPID_LD_TimeStore), -1);
    // ValueReset was not touched: applying leaves the value alone
    EXPECT_EQ(value(), oleDate(2020, 1, 1));
    EXPECT_EQ(text(), "01-01-2020");
}

TEST_F(Pages, CalendarPageChoosesTheCalendar)
{
    Page page(CLSID_CCalendarFormatPropPage, dispatch());
    const int ids[] = {231, 232, 233, 234, 235, 236};
    for (int id : ids)
        EXPECT_FALSE(page.child<QRadioButton>(id)->isChecked()) << id << ": nothing chosen without a calendar";
    EXPECT_EQ(page.child<QLineEdit>(218)->text(), "-1");
    EXPECT_FALSE(page.child<QLineEdit>(218)->isVisibleTo(&page.holder));

    page.child<QRadioButton>(236)->click();
    page.child<QRadioButton>(233)->click();
    EXPECT_EQ(page.child<QLineEdit>(218)->text(), "6");
    ASSERT_EQ(page.apply(), S_OK);
    EXPECT_EQ(number(DISPID_LD_CalendarFormat), 6);

    Page again(CLSID_CCalendarFormatPropPage, dispatch());
    EXPECT_TRUE(again.child<QRadioButton>(236)->isChecked());
    EXPECT_TRUE(again.child<QRadioButton>(233)->isChecked());
    again.child<QRadioButton>(235)->click();
    again.child<QRadioButton>(232)->click();
    ASSERT_EQ(again.apply(), S_OK);
    EXPECT_EQ(number(DISPID_LD_CalendarFormat), 2);
    again.child<QRadioButton>(234)->click();
    EXPECT_EQ(again.child<QLineEdit>(218)->text(), "0");
    ASSERT_EQ(again.apply(), S_OK);
    EXPECT_EQ(number(DISPID_LD_CalendarFormat), -1) << "no calendar is stored as -1";
}

TEST_F(Pages, InfoPageExchangesNothing)
{
    Page page(CLSID_CInfoPage, dispatch());
    PROPPAGEINFO info{};
    ASSERT_EQ(page.page->GetPageInfo(&info), S_OK);
    EXPECT_EQ(com::fromWide(info.pszTitle), "Info");
    CoTaskMemFree(info.pszTitle);
    CoTaskMemFree(info.pszDocString);
    CoTaskMemFree(info.pszHelpFile);
    EXPECT_FALSE(page.dirty());
    EXPECT_EQ(page.apply(), S_OK);
}

TEST_F(Pages, ShownInThePropertyFrame)
{
    auto pages = container->control<ISpecifyPropertyPages>();
    CAUUID list{};
    ASSERT_EQ(pages->GetPages(&list), S_OK);
    QStringList tabs;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto *tabWidget = dialog->findChild<QTabWidget *>();
        ASSERT_NE(tabWidget, nullptr);
        for (int i = 0; i < tabWidget->count(); ++i)
            tabs << tabWidget->tabText(i);
        auto *border = dialog->findChild<QComboBox *>(QStringLiteral("id202"));
        ASSERT_NE(border, nullptr);
        border->setCurrentIndex(1);
        dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    IUnknown *objects[] = {container->controlUnknown()};
    EXPECT_EQ(OleCreatePropertyFrame(ole::handleFromWidget(&host), 0, 0, u"LzDate2", 1, objects, list.cElems,
                                     list.pElems, 0, 0, nullptr),
              S_OK);
    CoTaskMemFree(list.pElems);
    EXPECT_EQ(tabs, (QStringList{"Styles", "Format", "Calendar"})) << "the stock pages are not served here";
    EXPECT_EQ(number(DISPID_LD_Border), 1);
}

TEST_F(Pages, StylesInTheFrameApplyOnlyWhatTheUserChose)
{
    inFrame([&] {
        auto *display = byId<QComboBox>(201);
        ASSERT_NE(display, nullptr);
        EXPECT_EQ(display->currentIndex(), 0);
        auto *apply = find<QDialogButtonBox>(QString())->button(QDialogButtonBox::Apply);
        EXPECT_FALSE(apply->isEnabled());
        frameKey(Qt::Key_D, Qt::AltModifier); // "&Display Format"
        frameType("5");
        frameKey(Qt::Key_A, Qt::AltModifier); // "Text &Alignment"
        frameKey(Qt::Key_End);
        clickMark(byId<QCheckBox>(222)); // "Free Form Entry"
        EXPECT_TRUE(apply->isEnabled());
        EXPECT_EQ(number(DISPID_LD_DisplayFormat), 0) << "nothing before Apply";
        clickButton(QDialogButtonBox::Apply);
        EXPECT_EQ(number(DISPID_LD_DisplayFormat), 5);
        EXPECT_EQ(number(DISPID_LD_Alignment), 2);
        EXPECT_EQ(number(DISPID_LD_FreeFormEntry), -1);
        EXPECT_EQ(number(DISPID_LD_Border), 2) << "untouched";
        EXPECT_FALSE(apply->isEnabled());

        frameKey(Qt::Key_B, Qt::AltModifier); // "&Border Style"
        frameKey(Qt::Key_Home);
        clickButton(QDialogButtonBox::Cancel);
    });
    EXPECT_EQ(number(DISPID_LD_Border), 2) << "a cancelled change is not applied";

    inFrame([&] {
        EXPECT_EQ(byId<QComboBox>(201)->currentIndex(), 5) << "the page shows the control's values";
        frameKey(Qt::Key_M, Qt::AltModifier); // "Edit &Mode"
        frameKey(Qt::Key_Home);
        clickMark(byId<QCheckBox>(213)); // "&Enabled"
        clickButton(QDialogButtonBox::Ok);
    });
    EXPECT_EQ(number(DISPID_LD_EditMode), 0);
    EXPECT_EQ(number(DISPID_LD_Enabled), 0);
}

TEST_F(Pages, FormatInTheFrameRefusesALongSeparator)
{
    inFrame([&] {
        clickTab(QStringLiteral("Format"));
        frameKey(Qt::Key_S, Qt::AltModifier); // "&Separator:"
        frameKey(Qt::Key_A, Qt::ControlModifier);
        frameType("-x/");
        EXPECT_EQ(byId<QLineEdit>(207)->text(), "-x") << "a third character is refused";
        frameKey(Qt::Key_F, Qt::AltModifier); // "Date &Format"
        frameType("13");
        clickMark(byId<QCheckBox>(212)); // "Store &Time in date Value ..."
        clickButton(QDialogButtonBox::Ok);
    });
    EXPECT_EQ(number(DISPID_LD_DateFormat), 13);
    EXPECT_EQ(com::variantToString(get(DISPID_LD_Separator)), "-");
    EXPECT_EQ(number(DISPID_LD_TimeStore), -1);
    EXPECT_EQ(value(), oleDate(2031, 6, 15)) << "ValueReset untouched: the value stays";
    EXPECT_EQ(text(), "15-06-2031");
}

TEST_F(Pages, CalendarInTheFrameChoosesTheDropDown)
{
    struct Case
    {
        SHORT before;
        int kind, months; // radio buttons clicked (0: none)
        SHORT after;
    };
    const Case cases[] = {
        {-1, 236, 233, 6}, {-1, 235, 0, 1},  {6, 235, 232, 2}, {2, 0, 231, 1},
        {5, 234, 0, -1},   {-1, 234, 0, -1}, {3, 236, 0, 6},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.before << " " << c.kind << " " << c.months);
        put(DISPID_LD_CalendarFormat, Variant::i2(c.before));
        inFrame([&] {
            clickTab(QStringLiteral("Calendar"));
            if (c.kind)
                clickMark(byId<QRadioButton>(c.kind));
            if (c.months)
                clickMark(byId<QRadioButton>(c.months));
            clickButton(QDialogButtonBox::Ok);
        });
        EXPECT_EQ(number(DISPID_LD_CalendarFormat), c.after);
    }
}

TEST_F(Pages, CalendarPageShowsTheControlsCalendar)
{
    struct Case
    {
        SHORT format;
        int kind, months; // the buttons chosen (0: none in the group)
    };
    const Case cases[] = {{-1, 0, 0},    {1, 235, 231}, {2, 235, 232}, {3, 235, 233},
                          {4, 236, 231}, {5, 236, 232}, {6, 236, 233}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.format);
        put(DISPID_LD_CalendarFormat, Variant::i2(c.format));
        Page page(CLSID_CCalendarFormatPropPage, dispatch());
        for (int id : {231, 232, 233, 234, 235, 236})
            EXPECT_EQ(page.child<QRadioButton>(id)->isChecked(), id == c.kind || id == c.months) << id;
    }
}

TEST_F(Pages, AboutBoxShowsTheVersion)
{
    QString title, version;
    bool centred = false;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        const QPoint offCentre = box->frameGeometry().center() - box->screen()->geometry().center();
        centred = std::abs(offCentre.x()) <= 3 && std::abs(offCentre.y()) <= 3; // within the frame's edge
        if (auto *line = box->findChild<QLabel *>(QStringLiteral("id239")))
            version = line->text();
        box->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    EXPECT_EQ(container->callMethod(DISPID_LD_AboutBox), S_OK);
    EXPECT_EQ(title, "About Larkspire Date Edit Control");
    EXPECT_EQ(version, "Version 8.0.0.0");
    EXPECT_TRUE(centred) << "centred on the screen";
}

} // namespace

// Every page in the frame, the Info page too, shows its texts whole: each label, button, box and
// frame has at least the size it asks for and lies inside the visible page.
TEST_F(Pages, EveryPageShowsItsTextsWholeInTheFrame)
{
    const CLSID pages[] = {CLSID_LzDatePPage, CLSID_CFormatPPage, CLSID_CCalendarFormatPropPage, CLSID_CInfoPage};
    QStringList seen;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto *tabs = dialog->findChild<QTabWidget *>();
        ASSERT_NE(tabs, nullptr);
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QApplication::processEvents();
            QWidget *page = tabs->widget(i);
            seen << tabs->tabText(i);
            SCOPED_TRACE(tabs->tabText(i).toStdString());
            EXPECT_EQ(vbtest::cutControls(*page), std::vector<std::string>{});
        }
        dialog->reject();
    });
    IUnknown *objects[] = {container->controlUnknown()};
    EXPECT_EQ(
        OleCreatePropertyFrame(ole::handleFromWidget(&host), 0, 0, u"LzDate2", 1, objects, 4, pages, 0, 0, nullptr),
        S_OK);
    EXPECT_EQ(seen, (QStringList{"Styles", "Format", "Calendar", "Info"}));
}
