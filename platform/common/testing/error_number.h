#pragma once
// For tests of calls that raise a runtime error: the number of the error a call raises.
#include "common/vberror.h"

#include <functional>

namespace vbtest {

// The number of the vb::Error that f raises, 0 when it raises none.
inline int errorNumber(const std::function<void()> &f)
{
    try {
        f();
    } catch (const vb::Error &e) {
        return e.number();
    }
    return 0;
}

} // namespace vbtest
