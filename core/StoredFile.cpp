// SPDX-License-Identifier: MIT
#include "StoredFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringBuilder>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace storage {

namespace {

// What went wrong, with the system's words for errno.
bool fail(QString *why, const QString &what, int error = 0)
{
    if (why)
        *why = error ? what % QStringLiteral(": ") % QString::fromLocal8Bit(std::strerror(error))
                     : what;
    return false;
}

// A file descriptor closed when it goes out of scope, unless close() already
// took it (and then reported how the close went).
class Descriptor
{
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }
    bool valid() const { return m_fd >= 0; }
    // Closes now; false (with errno) when the close reports an error, which
    // for a file just written means the data may not have reached the disk.
    bool close()
    {
        const int fd = std::exchange(m_fd, -1);
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool writeAll(int fd, const char *data, qsizetype size, off_t offset = -1)
{
    while (size > 0) {
        const ssize_t n =
            offset < 0 ? ::write(fd, data, size_t(size)) : ::pwrite(fd, data, size_t(size), offset);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
        if (offset >= 0)
            offset += n;
    }
    return true;
}

bool readAll(int fd, QByteArray &into)
{
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            return true;
        into.append(buffer, n);
    }
}

bool syncDirectory(const QByteArray &directory)
{
    Descriptor dir(::open(directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return dir.valid() && ::fsync(dir.get()) == 0 && dir.close();
}

// Writes `bytes` over the file itself, keeping its inode, and puts the
// previous bytes back if anything fails.
bool rewriteInPlace(const QByteArray &target, const QByteArray &bytes, QString *why)
{
    Descriptor file(::open(target.constData(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NOFOLLOW));
    if (!file.valid())
        return fail(why, QStringLiteral("cannot open the file to rewrite it"), errno);
    QByteArray previous;
    if (!readAll(file.get(), previous))
        return fail(why, QStringLiteral("cannot read the file before rewriting it"), errno);

    const auto restore = [&](int fd) {
        writeAll(fd, previous.constData(), previous.size(), 0);
        ::ftruncate(fd, off_t(previous.size()));
        ::fdatasync(fd);
    };
    if (!writeAll(file.get(), bytes.constData(), bytes.size(), 0) ||
        ::ftruncate(file.get(), off_t(bytes.size())) != 0 || ::fdatasync(file.get()) != 0) {
        const int error = errno;
        restore(file.get());
        return fail(why, QStringLiteral("cannot rewrite the file"), error);
    }
    if (!file.close()) {
        const int error = errno;
        Descriptor again(::open(target.constData(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW));
        if (again.valid())
            restore(again.get());
        return fail(why, QStringLiteral("cannot close the rewritten file"), error);
    }
    return true;
}

// Whether `fd` is still the file at `path` (not unlinked or replaced).
bool stillAt(int fd, const QByteArray &path)
{
    struct stat open, named;
    return ::fstat(fd, &open) == 0 && ::stat(path.constData(), &named) == 0 &&
           open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

// Creates the temporary file for a save, removing one that a killed save left
// behind. A save in progress holds a lock on its temporary file for as long
// as it exists, so a temporary file that can be locked is stale; a file is
// ours only once it is locked and still under the temporary name.
int createTemporary(const QByteArray &temporary, mode_t mode)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        Descriptor made(::open(temporary.constData(),
                               O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode));
        if (made.valid()) {
            if (::flock(made.get(), LOCK_EX | LOCK_NB) == 0 && stillAt(made.get(), temporary))
                return made.release();
            continue;
        }
        if (errno != EEXIST)
            return -1;
        Descriptor stale(::open(temporary.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
        if (!stale.valid())
            continue; // gone meanwhile
        if (::flock(stale.get(), LOCK_EX | LOCK_NB) != 0) {
            errno = EBUSY; // another save of the same file is under way
            return -1;
        }
        if (stillAt(stale.get(), temporary))
            ::unlink(temporary.constData());
    }
    errno = EBUSY;
    return -1;
}

} // namespace

QString StoredFile::temporaryPath(const QString &path)
{
    const QFileInfo info(path);
    return info.path() % QStringLiteral("/.") % info.fileName() % QStringLiteral(".saving");
}

std::optional<QByteArray> StoredFile::load(const QString &path, qsizetype maxBytes,
                                           const NeededLength &needed, QString *why)
{
    // Non-blocking, so that a FIFO without a writer cannot hold start-up.
    Descriptor file(
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.valid()) {
        fail(why, QStringLiteral("cannot open the file"), errno);
        return std::nullopt;
    }
    struct stat st;
    if (::fstat(file.get(), &st) != 0) {
        fail(why, QStringLiteral("cannot examine the file"), errno);
        return std::nullopt;
    }
    if (!S_ISREG(st.st_mode)) {
        fail(why, QStringLiteral("not a regular file"));
        return std::nullopt;
    }

    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(file.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(why, QStringLiteral("cannot read the file"), errno);
            return std::nullopt;
        }
        const qsizetype from = bytes.size();
        bytes.append(buffer, n);
        const qsizetype length = needed ? needed(bytes, from) : -1;
        if (length >= 0 && length <= maxBytes) {
            bytes.truncate(length);
            return bytes;
        }
        if (length > maxBytes || bytes.size() > maxBytes) {
            fail(why, QStringLiteral("file too large (the program reads at most %1 bytes of it)")
                          .arg(maxBytes));
            return std::nullopt;
        }
        if (n == 0)
            return bytes;
    }
}

bool StoredFile::save(const QString &path, const QByteArray &bytes, QString *why)
{
    // A symbolic link stays a link: the file it names is saved.
    QString resolved = path;
    if (QFileInfo(path).isSymLink()) {
        resolved = QFileInfo(path).canonicalFilePath();
        if (resolved.isEmpty())
            return fail(why, QStringLiteral("the link names no file"));
    }
    const QByteArray target = QFile::encodeName(resolved);
    const QByteArray directory = QFile::encodeName(QFileInfo(resolved).path());
    const QByteArray temporary = QFile::encodeName(temporaryPath(resolved));

    struct stat st;
    const bool exists = ::stat(target.constData(), &st) == 0;
    if (!exists && errno != ENOENT)
        return fail(why, QStringLiteral("cannot examine the file"), errno);
    if (exists && !S_ISREG(st.st_mode))
        return fail(why, QStringLiteral("not a regular file"));
    if (exists && (st.st_nlink > 1 || ::access(directory.constData(), W_OK) != 0))
        return rewriteInPlace(target, bytes, why);

    Descriptor file(createTemporary(temporary, exists ? (st.st_mode & 07777) : 0666));
    if (!file.valid()) {
        if (exists && (errno == EACCES || errno == EPERM))
            return rewriteInPlace(target, bytes, why);
        return fail(why, QStringLiteral("cannot create a file beside it"), errno);
    }
    const auto abandon = [&](const QString &what, int error) {
        ::unlink(temporary.constData());
        return fail(why, what, error);
    };
    if (exists) {
        // The owner and group of a new file are the saver's, which only the
        // owner's own save (or root's) can change back; the umask may have
        // taken mode bits away, and a change of owner clears the set-user-ID
        // bit, so the mode comes last.
        struct stat made;
        if (::fstat(file.get(), &made) != 0)
            return abandon(QStringLiteral("cannot examine the new file"), errno);
        if ((made.st_uid != st.st_uid || made.st_gid != st.st_gid) &&
            ::fchown(file.get(), st.st_uid, st.st_gid) != 0) {
            ::unlink(temporary.constData());
            return rewriteInPlace(target, bytes, why);
        }
        if (::fchmod(file.get(), st.st_mode & 07777) != 0)
            return abandon(QStringLiteral("cannot give the new file the old one's mode"), errno);
    }
    if (!writeAll(file.get(), bytes.constData(), bytes.size()))
        return abandon(QStringLiteral("cannot write the file"), errno);
    if (::fdatasync(file.get()) != 0)
        return abandon(QStringLiteral("cannot bring the file to disk"), errno);
    if (!file.close())
        return abandon(QStringLiteral("cannot close the file"), errno);
    if (::rename(temporary.constData(), target.constData()) != 0)
        return abandon(QStringLiteral("cannot put the new file in place"), errno);
    if (!syncDirectory(directory))
        return fail(why, QStringLiteral("cannot bring the directory to disk"), errno);
    return true;
}

} // namespace storage
