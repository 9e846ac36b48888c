#pragma once
// The date control hosted in a container on a shown window, with the calendar library registered
// beside it: tests drive it with simulated keys and clicks through the top-level window and read it
// back through its automation face, its events and the pixels it paints.
#include "LzDateEdit.h"

#include "fake_intl.h"

#include "com/com.h"
#include "com/testing/registration.h"
#include "ole/fakebeep.h"
#include "ole/ole.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace datetest {

using com::Variant;

class Window : public ::testing::Test
{
protected:
    static inline QTemporaryDir *dir = nullptr;

    static void SetUpTestSuite()
    {
        dir = new QTemporaryDir;
        qputenv("TORVANA_REGISTRY", dir->filePath("registry").toLocal8Bit());
        ASSERT_TRUE(comtest::RegisterLibrary(LZDATEEDIT_LIBRARY));
        registerCalendars(true);
        com::reg::setProfileString("intl", "sShortDate", "dd.MM.yyyy");
        com::reg::setProfileString("intl", "sDate", ".");
    }
    // The calendar library in the registry, or gone from it.
    static void registerCalendars(bool on) { ASSERT_TRUE(comtest::RegisterLibrary(LZCALENDAR_LIBRARY, on)); }
    static void TearDownTestSuite()
    {
        qunsetenv("TORVANA_REGISTRY");
        delete dir;
        dir = nullptr;
    }

    QWidget host;
    ole::ControlContainer *container = nullptr;
    QLineEdit *other = nullptr;
    ole::RecordingBeep beeps;
    std::vector<DISPID> events;
    std::function<void(DISPID, com::EventArgs &)> onEvent;

    void SetUp() override
    {
        auto *layout = new QHBoxLayout(&host);
        container = new ole::ControlContainer(&host);
        container->setFixedSize(180, 24);
        other = new QLineEdit(&host);
        layout->addWidget(container);
        layout->addWidget(other);
        ASSERT_EQ(container->createControl(QString::fromUtf16(LzDate2_ProgID)), S_OK);
        container->setEventHandler([this](DISPID id, com::EventArgs &args) {
            events.push_back(id);
            if (onEvent)
                onEvent(id, args);
        });
        put(DISPID_LD_Separator, Variant::string("."));
        put(DISPID_LD_Value, Variant::fromDate(oleDate(2031, 6, 15)));
        host.show();
        host.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
        other->setFocus();
        events.clear();
        beeps.reset();
    }
    void TearDown() override { container->destroyControl(); }

    void put(DISPID id, const VARIANT &v) { ASSERT_EQ(container->setProperty(id, v), S_OK) << id; }
    Variant get(DISPID id)
    {
        Variant v;
        EXPECT_EQ(container->getProperty(id, &v), S_OK) << id;
        return v;
    }
    QString text() { return com::variantToString(get(DISPID_LD_DateString)); }
    double value() { return com::variantToDouble(get(DISPID_LD_Value)); }
    LONG number(DISPID id) { return com::variantToInt(get(id)); }
    int count(DISPID id) const { return int(std::count(events.begin(), events.end(), id)); }

    QWidget *control() const { return container->controlWidget(); }
    // The control's calendar popup (a top-level window), if it has one.
    static QWidget *popup()
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == QStringLiteral("LzCalendarPopup"))
                return w;
        return nullptr;
    }
    // One tick of the popup's focus watch, at once (it runs every 50 ms while the popup is open).
    static void tick()
    {
        QWidget *p = popup();
        ASSERT_NE(p, nullptr);
        auto *timer = p->findChild<QTimer *>(QStringLiteral("lzCalendarTimer"));
        ASSERT_NE(timer, nullptr);
        if (!timer->isActive())
            return;
        QTimerEvent event(timer->timerId());
        QCoreApplication::sendEvent(timer, &event);
    }
    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    QWindow *window() const { return host.windowHandle(); }
    QPoint inWindow(QPoint p) const { return control()->mapTo(&host, p); }

    void click(QPoint p) { QTest::mouseClick(window(), Qt::LeftButton, {}, inWindow(p)); }
    void clickIn() { click(QPoint(4, control()->height() / 2)); }
    void clickAway() { QTest::mouseClick(window(), Qt::LeftButton, {}, other->mapTo(&host, QPoint(5, 5))); }
    void typeKeys(const char *keys)
    {
        for (const char *k = keys; *k; ++k)
            QTest::keyClick(window(), *k);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(window(), k, m); }
    QImage pixels() { return control()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

} // namespace datetest
