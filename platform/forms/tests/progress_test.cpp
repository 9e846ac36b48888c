#include "forms/progress.h"

#include <QProgressBar>
#include <QWidget>
#include <algorithm>
#include <gtest/gtest.h>

// How often the bar is set while the rows of lists of different lengths are added.
TEST(ProgressSteps, TheBarIsSetInStepsAndFullAtTheEnd)
{
    const struct
    {
        long long rows;
        long long maximum;
        int settings;
    } cases[] = {
        {0, 1, 0},    // nothing to do: the range is 0 .. 1
        {10, 10, 10}, // a short list: every row
        {50, 50, 50},
        {1000, 1000, 50}, // every 20 rows
        {1010, 1010, 51}, // every 20 rows, and the last one
        {100000, 100000, 50},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.rows);
        QProgressBar bar;
        bar.setMaximum(7);
        bar.setValue(3);
        forms::ProgressSteps steps(&bar, c.rows);
        EXPECT_EQ(bar.minimum(), 0);
        EXPECT_EQ(bar.maximum(), c.maximum);
        EXPECT_EQ(bar.value(), 0);
        int settings = 0;
        QObject::connect(&bar, &QProgressBar::valueChanged, [&] { ++settings; });
        for (long long done = 1; done <= c.rows; ++done)
            steps.advance(done);
        EXPECT_EQ(settings, c.settings);
        if (c.rows > 0) {
            EXPECT_EQ(bar.value(), c.rows);
        }
    }
    // With a pace longer than the list takes, not a row sets the bar, finish sets it full once;
    // with none, every step as above and finish has nothing left to do.
    const struct
    {
        long long rows;
        int pace;
        int settings;
    } paced[] = {
        {1000, 3600 * 1000, 1},
        {10, 3600 * 1000, 1},
        {1000, 0, 50},
    };
    for (const auto &c : paced) {
        SCOPED_TRACE(c.pace);
        QProgressBar bar;
        forms::ProgressSteps steps(&bar, c.rows, std::chrono::milliseconds(c.pace));
        EXPECT_EQ(bar.maximum(), c.rows);
        int settings = 0;
        QObject::connect(&bar, &QProgressBar::valueChanged, [&] { ++settings; });
        for (long long done = 1; done <= c.rows; ++done)
            steps.advance(done);
        EXPECT_EQ(bar.value(), c.pace > 0 ? 0 : c.rows);
        steps.finish();
        steps.finish();
        EXPECT_EQ(settings, c.settings);
        EXPECT_EQ(bar.value(), c.rows);
    }
    forms::ProgressSteps none(nullptr, 10);
    none.advance(10); // no bar: nothing happens
}

// A list read without a count first: the bar shows only once the load has lasted the delay, with
// the count asked then as its maximum; afterwards it is hidden and holds the rows read.
TEST(LateProgress, TheBarShowsOnlyForALoadThatLastsAndEndsWithTheRowsRead)
{
    const struct
    {
        const char *name;
        long long rows;
        int delay;         // milliseconds
        long long counted; // what the count says
        int shownAt;       // rows done when the bar was shown; 0: never
        long long maximumShown;
        int maximum;
    } cases[] = {
        {"a short load: never counted nor shown", 1000, 3600 * 1000, -1, 0, 0, 1000},
        {"nothing read", 0, 0, -1, 0, 0, 1},
        {"fewer rows than a block", 10, 0, -1, 0, 0, 10},
        {"a long load: shown at the first block", 1000, 0, 1000, int(forms::LateProgress::kBlock), 1000, 1000},
        {"rows beyond the count", 1000, 0, 5, int(forms::LateProgress::kBlock), forms::LateProgress::kBlock, 1000},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QWidget fenster;
        auto *bar = new QProgressBar(&fenster);
        bar->setVisible(false);
        fenster.show();
        int gezaehlt = 0;
        int gezeigtBei = 0;
        long long maximumGezeigt = 0;
        QList<int> werte;
        {
            forms::LateProgress fortschritt(
                bar, [&] { return ++gezaehlt, c.counted; }, std::chrono::milliseconds(c.delay));
            for (long long done = 1; done <= c.rows; ++done) {
                fortschritt.advance(done);
                if (bar->isVisible() && !gezeigtBei) {
                    gezeigtBei = int(done);
                    maximumGezeigt = bar->maximum();
                    QObject::connect(bar, &QProgressBar::valueChanged, [&](int v) { werte << v; });
                }
            }
            fortschritt.finish();
        }
        EXPECT_EQ(gezaehlt, c.shownAt ? 1 : 0);
        EXPECT_EQ(gezeigtBei, c.shownAt);
        EXPECT_EQ(maximumGezeigt, c.maximumShown);
        EXPECT_TRUE(std::is_sorted(werte.begin(), werte.end()));
        EXPECT_FALSE(bar->isVisible());
        EXPECT_EQ(bar->minimum(), 0);
        EXPECT_EQ(bar->maximum(), c.maximum);
        EXPECT_EQ(bar->value(), c.rows);
    }
}

// A bar shown by a load that ends without finish (its step failed) does not stay on screen.
TEST(LateProgress, ABarShownIsHiddenAlsoWithoutFinish)
{
    QWidget fenster;
    auto *bar = new QProgressBar(&fenster);
    bar->setVisible(false);
    fenster.show();
    {
        forms::LateProgress fortschritt(
            bar, [] { return 500LL; }, std::chrono::milliseconds(0));
        for (long long done = 1; done <= 100; ++done)
            fortschritt.advance(done);
        EXPECT_TRUE(bar->isVisible());
        EXPECT_EQ(bar->maximum(), 500);
    }
    EXPECT_FALSE(bar->isVisible());
    forms::LateProgress ohneBalken(
        nullptr, [] { return 1LL; }, std::chrono::milliseconds(0));
    for (long long done = 1; done <= 100; ++done)
        ohneBalken.advance(done); // no bar: nothing happens
    ohneBalken.finish();
}
