#pragma once
// Permission bits of files for tests of what the program creates: the mode of a path, and a
// umask that lets everything be read by all (022) while a test runs, so that a file comes out
// 0600 only because the program made it so.
#include <QFile>
#include <QString>

#include <sys/stat.h>
#include <sys/types.h>

namespace vbtest {

// The permission bits of path (0777 mask); -1 when it does not exist.
inline int fileMode(const QString &path)
{
    struct stat st
    {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return int(st.st_mode & 0777);
}

class OpenUmask
{
public:
    OpenUmask() : previous_(::umask(022)) {}
    ~OpenUmask() { ::umask(previous_); }
    OpenUmask(const OpenUmask &) = delete;
    OpenUmask &operator=(const OpenUmask &) = delete;

private:
    mode_t previous_;
};

} // namespace vbtest
