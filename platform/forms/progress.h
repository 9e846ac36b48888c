#pragma once
// Advancing a progress bar while a list is filled row by row. Setting the bar repaints it, which
// costs more than reading and adding a row; so the bar is set only when the rows done have moved
// on by a step (a fiftieth of the maximum, or every row for short lists) and at the last row.
// With a pace, a step is set only once the pace has passed since the last setting, the last row
// included, and finish sets the rows done: a list read in a few milliseconds repaints its bar not
// once while it is shown, when it is made so (constructed before the bar is shown, finished after
// it is hidden):
//
//     forms::ProgressSteps schritte(pb, anzahl, std::chrono::milliseconds(100));
//     pb->setVisible(true);
//     ... schritte.advance(n) at each row ...
//     pb->setVisible(false);
//     schritte.finish();
#include <QElapsedTimer>

#include <chrono>

class QProgressBar;

namespace forms {

class ProgressSteps
{
public:
    static constexpr long long kSteps = 50;

    // Sets the bar's range to 0 .. maximum (1 when there is nothing to do) and its value to 0.
    // A null bar is allowed: nothing is shown then.
    ProgressSteps(QProgressBar *bar, long long maximum);
    ProgressSteps(QProgressBar *bar, long long maximum, std::chrono::milliseconds pace);
    // The rows done so far; the bar follows at the next step and at the maximum (with a pace:
    // once the pace has passed).
    void advance(long long done);
    // Sets the bar to the rows done last, when it is not there yet.
    void finish();

private:
    QProgressBar *bar_;
    long long maximum_;
    long long stride_;
    long long next_;
    long long done_ = 0;
    long long shown_ = 0;
    std::chrono::milliseconds pace_{0};
    QElapsedTimer since_; // the last setting
};

} // namespace forms
