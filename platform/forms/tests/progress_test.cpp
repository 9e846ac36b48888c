#include "forms/progress.h"

#include <QProgressBar>
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
