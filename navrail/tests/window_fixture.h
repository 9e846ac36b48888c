#pragma once
// A control activated in a shown host window, and helpers to find its windows and read pixels.
#include "navrail_fixture.h"

#include "ole/olecontrol.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QWidget>

namespace navtest {

class WindowFixture : public ::testing::Test
{
protected:
    // Creates the control's windows in a host of the given size. BorderWidth and Appearance are
    // set before, so that the control's client area is the whole host unless a test wants insets.
    void activate(int width, int height, SHORT border = 0, tagApearanceConstants look = lzoFlat)
    {
        bar->put_BorderWidth(border);
        bar->put_Appearance(look);
        host.resize(width, height);
        ComPtr<IQtControl> qc = bar.as<IQtControl>();
        ASSERT_TRUE(qc);
        ASSERT_EQ(qc->Activate(&host, &control), S_OK);
        control->setGeometry(0, 0, width, height);
        control->show();
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
        settle();
    }

    void TearDown() override
    {
        if (ComPtr<IQtControl> qc = bar.as<IQtControl>())
            qc->Deactivate();
    }

    // Lets posted events (deferred deletes, the first paint) run.
    static void settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    QWidget *barWidget() const { return control->findChild<QWidget *>(QStringLiteral("lzNavrailBar")); }
    QWidget *mainSplitter() const
    {
        return control->findChild<QWidget *>(QStringLiteral("LZNAVRAILSPLITTER"), Qt::FindDirectChildrenOnly);
    }
    QWidget *resultsPane() const { return control->findChild<QWidget *>(QStringLiteral("lzResultsPane")); }
    // Header buttons and panes in group order (creation order while no group was removed).
    QList<QWidget *> buttons() const
    {
        return barWidget()->findChildren<QWidget *>(QStringLiteral("lzNavrailButton"), Qt::FindDirectChildrenOnly);
    }
    QList<QWidget *> panes() const
    {
        return barWidget()->findChildren<QWidget *>(QStringLiteral("lzNavrailGroup"), Qt::FindDirectChildrenOnly);
    }
    QWidget *openPane() const
    {
        for (QWidget *p : panes())
            if (p->isVisible())
                return p;
        return nullptr;
    }
    QWidget *upArrow() const { return barWidget()->findChild<QWidget *>(QStringLiteral("lzScrollUp")); }
    QWidget *downArrow() const { return barWidget()->findChild<QWidget *>(QStringLiteral("lzScrollDown")); }
    static QTimer *repeatTimer(QWidget *arrow) { return arrow->findChild<QTimer *>(QStringLiteral("autoRepeat")); }
    // One tick of a running timer, at once.
    static void tick(QTimer *timer)
    {
        QTimerEvent event(timer->timerId());
        QCoreApplication::sendEvent(timer, &event);
    }

    // A mouse move without a button over w at pos, delivered at once.
    static void hover(QWidget *w, const QPoint &pos)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(pos), QPointF(w->mapToGlobal(pos)), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(w, &move);
    }

    static QImage grab(QWidget *w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    static QRgb rgb(int r, int g, int b) { return qRgb(r, g, b); }

    LONG firstVisible(ILzNavrailGroup *g) const
    {
        LONG v = -1;
        g->get_FirstVisibleItem(&v);
        return v;
    }

    ComPtr<ILzNavrailBar> bar = createBar();
    QWidget host;
    QWidget *control = nullptr;
};

} // namespace navtest
