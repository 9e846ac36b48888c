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

LateProgress::LateProgress(QProgressBar *bar, std::function<long long()> count, std::chrono::milliseconds delay)
    : bar_(bar), count_(std::move(count)), delay_(delay)
{
    since_.start();
}

LateProgress::~LateProgress()
{
    if (!finished_ && steps_ && bar_)
        bar_->setVisible(false);
}

void LateProgress::advance(long long done)
{
    done_ = done;
    if (!bar_)
        return;
    if (steps_) {
        steps_->advance(done);
        return;
    }
    if (done < nextLook_)
        return;
    nextLook_ = done - done % kBlock + kBlock;
    if (since_.elapsed() < delay_.count())
        return;
    // Set up before it is shown, so that showing it paints it once, already advanced.
    const long long maximum = std::max(count_ ? count_() : 0, done);
    steps_.emplace(bar_, maximum, std::chrono::milliseconds(100));
    bar_->setValue(int(std::min<long long>(done, INT_MAX)));
    bar_->setVisible(true);
}

void LateProgress::finish()
{
    if (finished_)
        return;
    finished_ = true;
    if (!bar_)
        return;
    if (steps_)
        bar_->setVisible(false);
    const int n = int(std::clamp<long long>(done_, 0, INT_MAX));
    bar_->setRange(0, std::max(n, 1));
    bar_->setValue(n);
}

} // namespace forms
