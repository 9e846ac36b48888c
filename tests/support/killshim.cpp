// Preloaded into a process (LD_PRELOAD), it ends the process with SIGKILL right before a chosen
// call reaches a chosen file, as a crash or a power cut would stop the program there. Armed by
// the environment at the process's start:
//
//     TORVANA_KILL_AT=<call>:<k>:<pattern>
//
// kills before the k-th call (from 1) of <call> whose path matches the shell pattern <pattern>
// (fnmatch, where "*" also matches "/"). <call> is rename (rename, renameat, renameat2: either
// path), linkat (link, linkat: either path), write or fsync (the path of the file descriptor).
// Paths are absolute. Without the variable every call goes through untouched. testsupport/
// killpoint.h arms it for the child processes of a test.
#include <atomic>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <dlfcn.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <unistd.h>

namespace {

enum class Call { None, Rename, Link, Write, Fsync };

struct Arming
{
    Call call = Call::None;
    long k = 0;
    char pattern[PATH_MAX] = {};
};

Arming g_arming;
std::atomic<long> g_seen{0};

__attribute__((constructor)) void arm()
{
    const char *spec = std::getenv("TORVANA_KILL_AT");
    if (!spec)
        return;
    const char *colon = std::strchr(spec, ':');
    if (!colon)
        return;
    const std::size_t length = std::size_t(colon - spec);
    Call call = Call::None;
    if (length == 6 && std::strncmp(spec, "rename", 6) == 0)
        call = Call::Rename;
    else if (length == 6 && std::strncmp(spec, "linkat", 6) == 0)
        call = Call::Link;
    else if (length == 5 && std::strncmp(spec, "write", 5) == 0)
        call = Call::Write;
    else if (length == 5 && std::strncmp(spec, "fsync", 5) == 0)
        call = Call::Fsync;
    char *end = nullptr;
    const long k = std::strtol(colon + 1, &end, 10);
    if (call == Call::None || k < 1 || !end || *end != ':' || std::strlen(end + 1) >= sizeof g_arming.pattern)
        return;
    std::strcpy(g_arming.pattern, end + 1);
    g_arming.k = k;
    g_arming.call = call;
}

// The absolute path of path taken relative to the folder dirFd.
bool fullPath(int dirFd, const char *path, char (&out)[PATH_MAX])
{
    if (!path)
        return false;
    if (path[0] == '/' || dirFd == AT_FDCWD) {
        if (path[0] != '/') {
            if (!::getcwd(out, sizeof out))
                return false;
            const std::size_t n = std::strlen(out);
            if (n + 1 + std::strlen(path) >= sizeof out)
                return false;
            out[n] = '/';
            std::strcpy(out + n + 1, path);
            return true;
        }
        if (std::strlen(path) >= sizeof out)
            return false;
        std::strcpy(out, path);
        return true;
    }
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", dirFd);
    const ssize_t n = ::readlink(link, out, sizeof out - 1);
    if (n < 0 || std::size_t(n) + 1 + std::strlen(path) >= sizeof out)
        return false;
    out[n] = '/';
    std::strcpy(out + n + 1, path);
    return true;
}

bool pathOfFd(int fd, char (&out)[PATH_MAX])
{
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = ::readlink(link, out, sizeof out - 1);
    if (n < 0)
        return false;
    out[n] = '\0';
    return true;
}

bool matches(const char *path)
{
    return ::fnmatch(g_arming.pattern, path, 0) == 0;
}

// Counts a call of kind call on the paths and kills the process before the k-th.
void before(Call call, int dirA, const char *a, int dirB = AT_FDCWD, const char *b = nullptr)
{
    if (g_arming.call != call)
        return;
    char path[PATH_MAX];
    const bool hit = (fullPath(dirA, a, path) && matches(path)) || (b && fullPath(dirB, b, path) && matches(path));
    if (hit && g_seen.fetch_add(1) + 1 == g_arming.k)
        ::kill(::getpid(), SIGKILL);
}

void beforeFd(Call call, int fd)
{
    if (g_arming.call != call)
        return;
    char path[PATH_MAX];
    if (pathOfFd(fd, path) && matches(path) && g_seen.fetch_add(1) + 1 == g_arming.k)
        ::kill(::getpid(), SIGKILL);
}

template <class F>
F next(const char *name)
{
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" {

int rename(const char *from, const char *to)
{
    static const auto real = next<int (*)(const char *, const char *)>("rename");
    before(Call::Rename, AT_FDCWD, from, AT_FDCWD, to);
    return real(from, to);
}

int renameat(int fromDir, const char *from, int toDir, const char *to)
{
    static const auto real = next<int (*)(int, const char *, int, const char *)>("renameat");
    before(Call::Rename, fromDir, from, toDir, to);
    return real(fromDir, from, toDir, to);
}

int renameat2(int fromDir, const char *from, int toDir, const char *to, unsigned int flags)
{
    static const auto real = next<int (*)(int, const char *, int, const char *, unsigned int)>("renameat2");
    before(Call::Rename, fromDir, from, toDir, to);
    return real(fromDir, from, toDir, to, flags);
}

int link(const char *from, const char *to)
{
    static const auto real = next<int (*)(const char *, const char *)>("link");
    before(Call::Link, AT_FDCWD, from, AT_FDCWD, to);
    return real(from, to);
}

int linkat(int fromDir, const char *from, int toDir, const char *to, int flags)
{
    static const auto real = next<int (*)(int, const char *, int, const char *, int)>("linkat");
    before(Call::Link, fromDir, from, toDir, to);
    return real(fromDir, from, toDir, to, flags);
}

ssize_t write(int fd, const void *data, size_t size)
{
    static const auto real = next<ssize_t (*)(int, const void *, size_t)>("write");
    beforeFd(Call::Write, fd);
    return real(fd, data, size);
}

int fsync(int fd)
{
    static const auto real = next<int (*)(int)>("fsync");
    beforeFd(Call::Fsync, fd);
    return real(fd);
}

} // extern "C"
