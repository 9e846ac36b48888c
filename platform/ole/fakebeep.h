#pragma once
// A beep port for tests: counts the beeps and their kinds, and stands in for the process's port
// while it lives.
#include "ole/beep.h"

#include <vector>

namespace ole {

class RecordingBeep : public BeepPort
{
public:
    RecordingBeep() : previous_(setBeepPort(this)) {}
    ~RecordingBeep() override { setBeepPort(previous_); }
    RecordingBeep(const RecordingBeep &) = delete;
    RecordingBeep &operator=(const RecordingBeep &) = delete;

    void beep(UINT type) override { types_.push_back(type); }
    int count() const { return int(types_.size()); }
    const std::vector<UINT> &types() const { return types_; }
    void reset() { types_.clear(); }

private:
    BeepPort *previous_;
    std::vector<UINT> types_;
};

} // namespace ole
