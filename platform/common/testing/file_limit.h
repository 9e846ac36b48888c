#pragma once
// A file size limit for the whole process while it lives (RLIMIT_FSIZE), with SIGXFSZ ignored:
// a write beyond the limit then fails with EFBIG (a write that reaches it is cut short), as a
// write on a full disk fails. Writes within the limit and the files that are already longer
// stay as they are; everything is restored at the end.
//
//     {
//         vbtest::FileSizeLimit grenze(16);
//         ... the write under test ...
//     }
#include <csignal>
#include <sys/resource.h>

namespace vbtest {

class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previousSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        active_ = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousSignal_);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    // False when the limit could not be set (the test cannot provoke the failure).
    bool active() const { return active_; }

private:
    rlimit previous_{};
    void (*previousSignal_)(int) = SIG_DFL;
    bool active_ = false;
};

} // namespace vbtest
