// SPDX-License-Identifier: MIT
#include "StoredFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringBuilder>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
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

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The process's umask, read without changing it (setting it to read it back
// would race with any other thread creating a file).
mode_t currentUmask()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        while (!status.atEnd()) {
            const QByteArray line = status.readLine();
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok)
                    return mode_t(mask & 0777);
            }
        }
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

// The kernel's rule for links in sticky, world-writable directories (where
// anyone may plant one): only a link of the user's own or of the directory's
// owner is followed. Applied here whatever the system's setting, since the
// link is read by the program itself.
bool plantedLink(const struct stat &link, const struct stat &directory)
{
    const bool shared = (directory.st_mode & S_ISVTX) && (directory.st_mode & S_IWOTH);
    return shared && link.st_uid != ::geteuid() && link.st_uid != directory.st_uid;
}

// Writes `bytes` over the file itself, keeping its inode, and puts the
// previous bytes back if anything fails. The new bytes are written first and
// the old tail cut off after them, so a save killed in between leaves the new
// bytes followed by the rest of the old ones, which reads as the new content:
// both files are read only as far as their items.
bool rewriteInPlace(int directory, const QByteArray &name, const QByteArray &bytes, QString *why)
{
    constexpr int Flags = O_NOCTTY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    Descriptor file(::openat(directory, name.constData(), O_RDWR | Flags));
    if (!file.valid())
        return fail(why, QStringLiteral("cannot open the file to rewrite it"), errno);
    struct stat st;
    if (::fstat(file.get(), &st) != 0)
        return fail(why, QStringLiteral("cannot examine the file"), errno);
    if (!S_ISREG(st.st_mode))
        return fail(why, QStringLiteral("not a regular file"));
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
        Descriptor again(::openat(directory, name.constData(), O_WRONLY | Flags));
        if (again.valid())
            restore(again.get());
        return fail(why, QStringLiteral("cannot close the rewritten file"), error);
    }
    return true;
}

// Removes the temporary files of `name` that killed saves left behind: only
// regular files of the user's own, not locked by a save under way, and old
// enough that no save on another machine can still be writing them. Never
// blocks and never follows a link; anything else under such a name is left
// alone.
void removeStaleTemporaries(int directory, const QByteArray &name)
{
    const int listing = ::openat(directory, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0)
        return;
    DIR *entries = ::fdopendir(listing);
    if (!entries) {
        ::close(listing);
        return;
    }
    const time_t now = std::time(nullptr);
    while (const dirent *entry = ::readdir(entries)) {
        const QByteArray entryName(entry->d_name);
        if (!StoredFile::isTemporaryOf(entryName, name))
            continue;
        struct stat named;
        if (::fstatat(directory, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(named.st_mode) || named.st_uid != ::geteuid() ||
            now - named.st_mtime < StoredFile::StaleSeconds)
            continue;
        Descriptor stale(::openat(directory, entry->d_name,
                                  O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        struct stat opened;
        if (!stale.valid() || ::fstat(stale.get(), &opened) != 0 || !sameFile(opened, named))
            continue;
        // Where the file system has no locks, the age alone decides.
        if (::flock(stale.get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
            continue;
        if (::fstatat(directory, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            sameFile(opened, named))
            ::unlinkat(directory, entry->d_name, 0);
    }
    ::closedir(entries);
}

// A name for this save's temporary file that no other save uses.
QByteArray temporaryName(const QByteArray &name)
{
    static constexpr char Letters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray suffix(8, Qt::Uninitialized);
    for (char &c : suffix)
        c = Letters[QRandomGenerator::system()->bounded(int(sizeof Letters - 1))];
    return '.' + name + ".saving-" + suffix;
}

// Creates this save's temporary file, locked, and tells its name. The lock is
// taken only after the file exists, so a file that is no longer under its
// name once locked was taken for stale by another save, and another name is
// tried.
int createTemporary(int directory, const QByteArray &name, QByteArray *temporary)
{
    constexpr int Flags =
        O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC | O_NONBLOCK;
    for (int attempt = 0; attempt < 100; ++attempt) {
        *temporary = temporaryName(name);
        const int fd = ::openat(directory, temporary->constData(), Flags, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return -1;
        }
        const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
        struct stat opened, named;
        if (locked && ::fstat(fd, &opened) == 0 &&
            ::fstatat(directory, temporary->constData(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            sameFile(opened, named))
            return fd;
        ::close(fd);
    }
    errno = EEXIST;
    return -1;
}

bool saveAt(const QString &path, const QByteArray &bytes, QString *why, bool followLink);

// Saves the file `name` in the open `directory`.
bool saveIn(int directory, const QString &path, const QByteArray &name, const QByteArray &bytes,
            QString *why, bool followLink)
{
    struct stat st;
    const bool exists = ::fstatat(directory, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0;
    if (!exists && errno != ENOENT)
        return fail(why, QStringLiteral("cannot examine the file"), errno);
    if (exists && S_ISLNK(st.st_mode)) {
        struct stat dir;
        if (::fstat(directory, &dir) != 0)
            return fail(why, QStringLiteral("cannot examine the directory"), errno);
        if (plantedLink(st, dir))
            return fail(why, QStringLiteral("the file is a link that another user put in this "
                                            "shared directory; it is not followed"));
        if (!followLink)
            return fail(why, QStringLiteral("the file was replaced by a link while saving"));
        // A link stays a link: the file it names is saved.
        const QString resolved = QFileInfo(path).canonicalFilePath();
        if (resolved.isEmpty())
            return fail(why, QStringLiteral("the link names no file"));
        return saveAt(resolved, bytes, why, false);
    }
    if (exists && !S_ISREG(st.st_mode))
        return fail(why, QStringLiteral("not a regular file"));
    // A file the user may not write stays as it is, as opening it for writing
    // would find; a new file could otherwise take its place.
    if (exists && ::faccessat(directory, name.constData(), W_OK, AT_EACCESS) != 0)
        return fail(why, QStringLiteral("cannot write the file"), errno);
    if (exists && (st.st_nlink > 1 || ::faccessat(directory, ".", W_OK, AT_EACCESS) != 0))
        return rewriteInPlace(directory, name, bytes, why);

    removeStaleTemporaries(directory, name);
    QByteArray temporary;
    Descriptor file(createTemporary(directory, name, &temporary));
    if (!file.valid()) {
        if (exists && (errno == EACCES || errno == EPERM))
            return rewriteInPlace(directory, name, bytes, why);
        return fail(why, QStringLiteral("cannot create a file beside it"), errno);
    }
    // The lock goes with the open file, not the descriptor: a second one
    // keeps it until the rename is done, after the first has been closed and
    // its close checked.
    Descriptor lock(::fcntl(file.get(), F_DUPFD_CLOEXEC, 0));
    const auto abandon = [&](const QString &what, int error) {
        ::unlinkat(directory, temporary.constData(), 0);
        return fail(why, what, error);
    };
    if (exists) {
        // The owner and group of a new file are the saver's, which only the
        // owner's own save (or root's) can change back; a change of owner
        // clears the set-user-ID bit, so the mode comes last.
        struct stat made;
        if (::fstat(file.get(), &made) != 0)
            return abandon(QStringLiteral("cannot examine the new file"), errno);
        if ((made.st_uid != st.st_uid || made.st_gid != st.st_gid) &&
            ::fchown(file.get(), st.st_uid, st.st_gid) != 0) {
            ::unlinkat(directory, temporary.constData(), 0);
            return rewriteInPlace(directory, name, bytes, why);
        }
    }
    const mode_t mode = exists ? (st.st_mode & 07777) : (0666 & ~currentUmask());
    if (::fchmod(file.get(), mode) != 0)
        return abandon(QStringLiteral("cannot give the new file its mode"), errno);
    if (!writeAll(file.get(), bytes.constData(), bytes.size()))
        return abandon(QStringLiteral("cannot write the file"), errno);
    if (::fdatasync(file.get()) != 0)
        return abandon(QStringLiteral("cannot bring the file to disk"), errno);
    if (!file.close())
        return abandon(QStringLiteral("cannot close the file"), errno);
    if (::renameat(directory, temporary.constData(), directory, name.constData()) != 0)
        return abandon(QStringLiteral("cannot put the new file in place"), errno);
    if (::fsync(directory) != 0)
        return fail(why, QStringLiteral("cannot bring the directory to disk"), errno);
    return true;
}

bool saveAt(const QString &path, const QByteArray &bytes, QString *why, bool followLink)
{
    const QFileInfo info(path);
    const QByteArray name = QFile::encodeName(info.fileName());
    const QByteArray where = QFile::encodeName(info.path());
    if (name.isEmpty() || where.isEmpty() || name.contains('\0') || where.contains('\0'))
        return fail(why, QStringLiteral("not a path to a file"));
    Descriptor directory(::open(where.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!directory.valid()) {
        if (errno == ENOENT)
            return fail(why, QStringLiteral("the directory has been removed or does not exist"));
        return fail(why, QStringLiteral("cannot open the directory"), errno);
    }
    return saveIn(directory.get(), path, name, bytes, why, followLink);
}

} // namespace

bool StoredFile::isTemporaryOf(QByteArrayView entry, QByteArrayView fileName)
{
    const QByteArray prefix = '.' + fileName.toByteArray() + ".saving";
    if (!entry.startsWith(prefix))
        return false;
    const QByteArrayView rest = entry.sliced(prefix.size());
    // The bare name is what earlier versions used.
    if (rest.isEmpty())
        return true;
    if (rest.size() != 9 || rest[0] != '-')
        return false;
    for (char c : rest.sliced(1))
        if (!std::isalnum(static_cast<unsigned char>(c)))
            return false;
    return true;
}

std::optional<QByteArray> StoredFile::load(const QString &path, qsizetype maxBytes,
                                           const NeededLength &needed, QString *why,
                                           bool *unsettled)
{
    if (unsettled)
        *unsettled = false;
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

    // Whether the file is as it was when opened, and gave what its size said.
    const auto settled = [&](qsizetype read, bool toTheEnd) {
        struct stat now;
        if (!unsettled ||
            (::fstat(file.get(), &now) == 0 && now.st_size == st.st_size &&
             now.st_mtim.tv_sec == st.st_mtim.tv_sec && now.st_mtim.tv_nsec == st.st_mtim.tv_nsec &&
             (!toTheEnd || read == qsizetype(st.st_size))))
            return true;
        *unsettled = true;
        fail(why, QStringLiteral("the file changed while it was read"));
        return false;
    };
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
            if (!settled(bytes.size(), n == 0))
                return std::nullopt;
            bytes.truncate(length);
            return bytes;
        }
        if (length > maxBytes || bytes.size() > maxBytes) {
            fail(why, QStringLiteral("file too large (the program reads at most %1 bytes of it)")
                          .arg(maxBytes));
            return std::nullopt;
        }
        if (n == 0) {
            if (!settled(bytes.size(), true))
                return std::nullopt;
            return bytes;
        }
    }
}

bool StoredFile::save(const QString &path, const QByteArray &bytes, QString *why)
{
    return saveAt(path, bytes, why, true);
}

} // namespace storage
