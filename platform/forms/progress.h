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
#include <functional>
#include <optional>

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

// The progress of a list read forward without counting its rows first. The bar stays hidden while
// the load is short; once it has lasted the delay (looked at once per block of rows), the rows are
// counted (count, asked once), the bar is shown with that maximum and follows at the pace of
// ProgressSteps. finish hides it again; the bar then holds the rows read as its maximum and value
// (1 and 0 for none), shown or not. So a list read in a few milliseconds neither counts its rows
// nor shows, hides or lays out its bar:
//
//     forms::LateProgress fortschritt(pb, [&] { return rs.RecordCount(); });
//     ... fortschritt.advance(n) at each row ...
//     fortschritt.finish();
class LateProgress
{
public:
    static constexpr long long kBlock = 64;
    static constexpr std::chrono::milliseconds kDelay{100};

    // A null bar is allowed: nothing is counted nor shown then.
    LateProgress(QProgressBar *bar, std::function<long long()> count, std::chrono::milliseconds delay = kDelay);
    ~LateProgress(); // hides a bar still shown
    LateProgress(const LateProgress &) = delete;
    LateProgress &operator=(const LateProgress &) = delete;

    // The rows done so far.
    void advance(long long done);
    // Hides the bar (when shown) and sets it to the rows done.
    void finish();

private:
    QProgressBar *bar_;
    std::function<long long()> count_;
    std::chrono::milliseconds delay_;
    long long done_ = 0;
    long long nextLook_ = kBlock;
    bool finished_ = false;
    QElapsedTimer since_; // the start of the load
    std::optional<ProgressSteps> steps_;
};

} // namespace forms
