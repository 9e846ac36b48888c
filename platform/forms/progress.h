#pragma once
// Advancing a progress bar while a list is filled row by row. Setting the bar repaints it, which
// costs more than reading and adding a row; so the bar is set only when the rows done have moved
// on by a step (a fiftieth of the maximum, or every row for short lists) and at the last row.
class QProgressBar;

namespace forms {

class ProgressSteps
{
public:
    static constexpr long long kSteps = 50;

    // Sets the bar's range to 0 .. maximum (1 when there is nothing to do) and its value to 0.
    // A null bar is allowed: nothing is shown then.
    ProgressSteps(QProgressBar *bar, long long maximum);
    // The rows done so far; the bar follows at the next step and at the maximum.
    void advance(long long done);

private:
    QProgressBar *bar_;
    long long maximum_;
    long long stride_;
    long long next_;
};

} // namespace forms
