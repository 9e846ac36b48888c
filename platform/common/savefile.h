#pragma once
// The one way a file is written: whole or not at all. Every file the program and the runtime
// write (the CSV files, SERI.txt, the letters document, the registry) goes through it.
//
//     savefile::Writer w(path);
//     if (!w.open() || !w.write(kopf) || !w.write(rest) || !w.commit())
//         return fehler(w.fault(), w.errorString());   // path is as it was before
//
// - The bytes go to a temporary file beside path, which commit() renames over it. A failure at
//   any step (the temporary file cannot be made, a write is refused or short, the flush or the
//   sync to disk fails, the rename fails) removes the temporary file, leaves path as it was (or
//   absent) and makes every later step fail too.
// - The file is unbuffered: each write reaches the file system at once, so that a full disk or a
//   size limit shows at the write that meets it. Qt 6.4's QSaveFile::commit() does not see a
//   failed write that it had buffered and renames the short file over the old one; here nothing
//   is committed that was not written and synced in full. Callers that write many small pieces
//   gather them into larger blocks first.
// - The folder must exist and be writable; the file is never written in place.
// - A Writer destroyed before commit() discards what it wrote.
#include <QByteArrayView>
#include <QFileDevice>
#include <QSaveFile>
#include <QString>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace savefile {

// The step that failed.
enum class Fault {
    None,
    Open,   // no temporary file beside the target (missing folder, no rights)
    Write,  // a write, the flush or the sync failed (disk full, size limit, I/O error)
    Commit, // the rename over the target failed
};

class Writer
{
public:
    explicit Writer(const QString &path) : file_(path) { file_.setDirectWriteFallback(false); }
    ~Writer() { discard(); }
    Writer(const Writer &) = delete;
    Writer &operator=(const Writer &) = delete;

    // Opens the temporary file; with permissions, the file gets these (also when it replaces a
    // file that had others), else it keeps the old file's (a new one: the umask's).
    bool open(QFileDevice::Permissions permissions = {})
    {
        if (fault_ != Fault::None)
            return false;
        errno = 0;
        if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return fail(Fault::Open);
        if (permissions && !file_.setPermissions(permissions))
            return fail(Fault::Open);
        return true;
    }

    // Writes bytes in full, or fails.
    bool write(QByteArrayView bytes)
    {
        if (fault_ != Fault::None)
            return false;
        if (!file_.isOpen())
            return fail(Fault::Open);
        if (bytes.isEmpty())
            return true;
        errno = 0;
        if (file_.write(bytes.data(), bytes.size()) != bytes.size() || file_.error() != QFileDevice::NoError)
            return fail(Fault::Write);
        return true;
    }

    // Flushes, syncs and renames the temporary file over the target.
    bool commit()
    {
        if (fault_ != Fault::None)
            return false;
        if (!file_.isOpen())
            return fail(Fault::Open);
        errno = 0;
        if (!file_.flush() || file_.error() != QFileDevice::NoError)
            return fail(Fault::Write);
        if (::fsync(file_.handle()) != 0 && errno != EINVAL)
            return fail(Fault::Write);
        if (!file_.commit()) {
            fault_ = Fault::Commit;
            error_ = file_.errorString();
            return false;
        }
        committed_ = true;
        return true;
    }

    // Removes the temporary file unless committed; the target stays as it was.
    void discard()
    {
        if (file_.isOpen() && !committed_) {
            file_.cancelWriting();
            file_.commit(); // after cancelWriting: removes the temporary file, returns false
        }
    }

    Fault fault() const { return fault_; }
    // The cause of the failure as the system words it ("No space left on device").
    const QString &errorString() const { return error_; }

private:
    bool fail(Fault fault)
    {
        const int number = errno;
        fault_ = fault;
        if (file_.error() != QFileDevice::NoError)
            error_ = file_.errorString();
        else if (number != 0)
            error_ = QString::fromLocal8Bit(std::strerror(number));
        else
            error_ = QStringLiteral("unvollständig geschrieben");
        discard();
        return false;
    }

    QSaveFile file_;
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
