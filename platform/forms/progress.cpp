#include "forms/progress.h"

#include <QProgressBar>

#include <algorithm>
#include <climits>

namespace forms {

ProgressSteps::ProgressSteps(QProgressBar *bar, long long maximum)
    : bar_(bar),
      maximum_(std::clamp<long long>(maximum, 1, INT_MAX)),
      stride_(std::max<long long>(1, maximum_ / kSteps)),
      next_(stride_)
{
    if (!bar_)
        return;
    bar_->setMinimum(0);
    bar_->setMaximum(int(maximum_));
    bar_->setValue(0);
}

ProgressSteps::ProgressSteps(QProgressBar *bar, long long maximum, std::chrono::milliseconds pace)
    : ProgressSteps(bar, maximum)
{
    pace_ = pace;
    since_.start();
}

void ProgressSteps::advance(long long done)
{
    done_ = done;
    if (!bar_ || done < next_)
        return;
    const long long value = std::min(done, maximum_);
    if (pace_.count() > 0) {
        if (since_.elapsed() < pace_.count())
            return; // tried again at the next row
        since_.restart();
    }
    bar_->setValue(int(value));
    shown_ = value;
    if (value >= maximum_)
        next_ = LLONG_MAX;
    else
        next_ = std::min(value - value % stride_ + stride_, maximum_);
}

void ProgressSteps::finish()
{
    const long long value = std::min(done_, maximum_);
    if (!bar_ || value <= shown_)
        return;
    bar_->setValue(int(value));
    shown_ = value;
    next_ = value >= maximum_ ? LLONG_MAX : next_;
}

} // namespace forms
