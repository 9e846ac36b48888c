#pragma once
// The one way a file is written: whole or not at all, at its own name in its own folder. Every
// file the program and the runtime write (the CSV files, SERI.txt, the letters document, the
// registry, a compacted database copied across file systems) goes through it.
//
//     savefile::Writer w(path);
//     if (!w.open() || !w.write(kopf) || !w.write(rest) || !w.commit())
//         return fehler(w.fault(), w.errorString());   // path is as it was before
//
// - The bytes go to a temporary file beside path. commit() syncs it, renames it over path and
//   then syncs the folder, so that once commit() returned true the new file survives a power cut
//   (without the folder's sync the old file could come back). A failure at any step (the
//   temporary file cannot be made, a write is refused or short, the sync fails, the rename
//   fails) removes the temporary file, leaves path as it was (or absent) and makes every later
//   step fail too. A failed sync of the folder after the rename is reported as well: the new
//   file is in place then, but not yet safe.
// - A link at path is replaced by the new file, never followed: a file elsewhere that the link
//   names is not touched. (The folders on the way to path may be links; path's folder is where
//   the file goes.)
// - Temporary names are the writer's own, ".<name>.tv~" and six letters or digits
//   (".BPLAN.csv.tv~a8Zq3x"), a form no user file has. A writer holds a lock on its temporary
//   file for as long as it lives, so one that no writer holds was left by a writer that was
//   killed: open() removes such leftovers of its own file first, and removeLeftovers() those of
//   every file of a folder (the program's start does so). A temporary file that a living writer
//   holds is never removed.
// - The file is unbuffered: each write reaches the file system at once, so that a full disk or a
//   size limit shows at the write that meets it. Nothing is committed that was not written and
//   synced in full. Callers that write many small pieces gather them into larger blocks first.
// - The folder must exist and be writable; the file is never written in place.
// - A Writer destroyed before commit() discards what it wrote.
#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QString>

#include <cerrno>
#include <cstring>
#include <string_view>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace savefile {

// The step that failed.
enum class Fault {
    None,
    Open,   // no temporary file beside the target (missing folder, no rights)
    Write,  // a write or the sync of the file failed (disk full, size limit, I/O error)
    Commit, // the rename over the target, or the sync of the folder after it, failed
};

namespace detail {

inline constexpr std::string_view kMarker = ".tv~";
inline constexpr std::size_t kRandomLength = 6;

inline QString errnoText(int number)
{
    return QString::fromLocal8Bit(std::strerror(number));
}

// Whether name is a temporary name of the writer; with target, one of the file named target.
inline bool isTemporaryName(std::string_view name, std::string_view target = {})
{
    const std::size_t tail = kMarker.size() + kRandomLength;
    if (name.size() < 1 + 1 + tail || name.front() != '.')
        return false;
    if (name.substr(name.size() - tail, kMarker.size()) != kMarker)
        return false;
    for (const char c : name.substr(name.size() - kRandomLength))
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    return target.empty() || name.substr(1, name.size() - 1 - tail) == target;
}

// Removes the temporary file name of the folder dirFd unless a living writer holds it.
inline void removeIfLeftOver(int dirFd, const char *name)
{
    const int fd = ::openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ELOOP)
            ::unlinkat(dirFd, name, 0); // a link under the writer's name: only the link goes
        return;
    }
    struct stat held
    {};
    struct stat now
    {};
    // The lock is free only when no writer holds the file; the name must still be that file.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
        ::fstatat(dirFd, name, &now, AT_SYMLINK_NOFOLLOW) == 0 && now.st_dev == held.st_dev &&
        now.st_ino == held.st_ino)
        ::unlinkat(dirFd, name, 0);
    ::close(fd); // releases the lock
}

// Removes the leftovers of target (every file's when target is empty) in folder.
inline void removeLeftovers(const QByteArray &folder, std::string_view target)
{
    const int dirFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return;
    const int scanFd = ::dup(dirFd);
    DIR *dir = scanFd >= 0 ? ::fdopendir(scanFd) : nullptr;
    if (!dir) {
        if (scanFd >= 0)
            ::close(scanFd);
        ::close(dirFd);
        return;
    }
    while (const dirent *entry = ::readdir(dir))
        if (isTemporaryName(entry->d_name, target))
            removeIfLeftOver(dirFd, entry->d_name);
    ::closedir(dir);
    ::close(dirFd);
}

// The mode bits of Qt's permission flags (the user's and the owner's bits both mean the owner).
inline mode_t modeOf(QFileDevice::Permissions p)
{
    mode_t m = 0;
    if (p & (QFileDevice::ReadOwner | QFileDevice::ReadUser))
        m |= S_IRUSR;
    if (p & (QFileDevice::WriteOwner | QFileDevice::WriteUser))
        m |= S_IWUSR;
    if (p & (QFileDevice::ExeOwner | QFileDevice::ExeUser))
        m |= S_IXUSR;
    if (p & QFileDevice::ReadGroup)
        m |= S_IRGRP;
    if (p & QFileDevice::WriteGroup)
        m |= S_IWGRP;
    if (p & QFileDevice::ExeGroup)
        m |= S_IXGRP;
    if (p & QFileDevice::ReadOther)
        m |= S_IROTH;
    if (p & QFileDevice::WriteOther)
        m |= S_IWOTH;
    if (p & QFileDevice::ExeOther)
        m |= S_IXOTH;
    return m;
}

} // namespace detail

// Removes from folder the temporary files that killed writers left (see above); nothing else.
inline void removeLeftovers(const QString &folder)
{
    detail::removeLeftovers(QFile::encodeName(folder), {});
}

class Writer
{
public:
    explicit Writer(const QString &path)
    {
        const QFileInfo info(path);
        folder_ = QFile::encodeName(info.absolutePath());
        name_ = QFile::encodeName(info.fileName());
        target_ = folder_ + '/' + name_;
    }
    ~Writer() { discard(); }
    Writer(const Writer &) = delete;
    Writer &operator=(const Writer &) = delete;

    // Removes the leftovers of the target and opens the temporary file. With permissions the
    // file gets these (also when it replaces a file that had others), else it keeps the old
    // file's (a new one, or one replacing a link: the umask's).
    bool open(QFileDevice::Permissions permissions = {})
    {
        if (fault_ != Fault::None)
            return false;
        if (fd_ >= 0)
            return true;
        if (name_.isEmpty()) {
            errno = EISDIR;
            return fail(Fault::Open);
        }
        detail::removeLeftovers(folder_, std::string_view(name_.constData(), std::size_t(name_.size())));

        struct stat old
        {};
        const bool oldThere = ::lstat(target_.constData(), &old) == 0;
        if (oldThere && S_ISDIR(old.st_mode)) {
            errno = EISDIR; // a folder under the file's name is never replaced
            return fail(Fault::Open);
        }
        const bool oldFile = oldThere && S_ISREG(old.st_mode);
        mode_t mode = 0666; // less the umask, as for any new file
        bool setMode = false;
        if (permissions) {
            mode = detail::modeOf(permissions);
            setMode = true;
        } else if (oldFile) {
            mode = old.st_mode & 07777;
            setMode = true;
        }
        for (int attempt = 0; attempt < 100; ++attempt) {
            temporary_ = folder_ + "/." + name_ + QByteArray(detail::kMarker.data(), qsizetype(detail::kMarker.size()));
            static constexpr char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
            for (std::size_t i = 0; i < detail::kRandomLength; ++i)
                temporary_ += letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
            // Readable by its owner alone until its mode is set, whatever it is to hold.
            const int fd = ::open(temporary_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                  setMode ? 0600 : mode);
            if (fd < 0) {
                if (errno == EEXIST)
                    continue;
                return fail(Fault::Open);
            }
            // Held from here on; a file removed as a leftover before the lock was taken is
            // given up for another one.
            struct stat mine
            {};
            struct stat now
            {};
            if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &mine) != 0 ||
                ::lstat(temporary_.constData(), &now) != 0 || now.st_ino != mine.st_ino || now.st_dev != mine.st_dev) {
                ::close(fd);
                continue;
            }
            fd_ = fd;
            if (setMode && ::fchmod(fd_, mode) != 0)
                return fail(Fault::Open);
            return true;
        }
        errno = EEXIST;
        return fail(Fault::Open);
    }

    // Writes bytes in full, or fails.
    bool write(QByteArrayView bytes)
    {
        if (fault_ != Fault::None)
            return false;
        if (fd_ < 0) {
            errno = EBADF;
            return fail(Fault::Open);
        }
        const char *p = bytes.data();
        qsizetype rest = bytes.size();
        while (rest > 0) {
            errno = 0;
            const ssize_t n = ::write(fd_, p, std::size_t(rest));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return fail(Fault::Write);
            p += n;
            rest -= n;
        }
        return true;
    }

    // Syncs the temporary file, renames it over the target and syncs the folder.
    bool commit()
    {
        if (fault_ != Fault::None)
            return false;
        if (fd_ < 0) {
            errno = EBADF;
            return fail(Fault::Open);
        }
        errno = 0;
        if (::fsync(fd_) != 0 && errno != EINVAL)
            return fail(Fault::Write);
        if (::rename(temporary_.constData(), target_.constData()) != 0)
            return fail(Fault::Commit);
        committed_ = true;
        ::close(fd_);
        fd_ = -1;
        const int dirFd = ::open(folder_.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dirFd < 0)
            return fail(Fault::Commit);
        const bool synced = ::fsync(dirFd) == 0 || errno == EINVAL;
        const int number = errno;
        ::close(dirFd);
        if (!synced) {
            errno = number;
            return fail(Fault::Commit);
        }
        return true;
    }

    // Removes the temporary file unless committed; the target stays as it was.
    void discard()
    {
        if (fd_ < 0)
            return;
        if (!committed_)
            ::unlink(temporary_.constData());
        ::close(fd_);
        fd_ = -1;
    }

    Fault fault() const { return fault_; }
    // The cause of the failure as the system words it ("No space left on device").
    const QString &errorString() const { return error_; }

private:
    bool fail(Fault fault)
    {
        const int number = errno;
        fault_ = fault;
        error_ = number != 0 ? detail::errnoText(number) : QStringLiteral("unvollständig geschrieben");
        discard();
        return false;
    }

    QByteArray folder_;
    QByteArray name_;
    QByteArray target_;
    QByteArray temporary_;
    int fd_ = -1;
    Fault fault_ = Fault::None;
    QString error_;
    bool committed_ = false;
};

// Writes bytes as the file at path, whole or not at all (see Writer).
inline bool writeWhole(const QString &path, QByteArrayView bytes, QFileDevice::Permissions permissions = {},
                       Fault *fault = nullptr, QString *error = nullptr)
{
    Writer w(path);
    const bool ok = w.open(permissions) && w.write(bytes) && w.commit();
    if (fault)
        *fault = w.fault();
    if (error)
        *error = w.errorString();
    return ok;
}

} // namespace savefile
