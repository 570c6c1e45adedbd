// SPDX-License-Identifier: MIT
// A preloaded library that makes one system call fail, or wait, so that the
// tests can see what a save reports and leaves behind when the disk lets it
// down, and can hold one save at a chosen step while another runs.
//
//   VELMORA_FAIL_CALL   openat, fchmod, write, pwrite, fdatasync, fsync, close,
//                       rename, renameat or ftruncate
//   VELMORA_FAIL_ERRNO  the error to report: EIO, ENOSPC, EDQUOT, EROFS or a number
//   VELMORA_DELAY_CALL  openat, fchmod, write, fdatasync, close or renameat
//   VELMORA_DELAY_MS    how long that call waits before it runs
//   VELMORA_FAIL_DIR    only files opened under this directory (for a rename:
//                       a new name under it) are affected
//
// Only the first matching call fails or waits, so that whatever the program
// does to recover goes through; it says so on standard error
// ("velmora_failsys: write fails"), so that a test can tell its fault landed.
// "openat" means an openat that may create a file. A path relative to a
// directory descriptor is resolved through /proc/self/fd. A failing close
// still closes the descriptor, as the kernel does. glibc's renameat makes its
// own system call, not one through renameat2.

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace {

constexpr int MaxFd = 4096;
bool tracked[MaxFd]; // opened under VELMORA_FAIL_DIR
bool fired, waited;

template <typename R, typename... A> R real(const char *name, A... args)
{
    return reinterpret_cast<R (*)(A...)>(dlsym(RTLD_NEXT, name))(args...);
}

template <typename... A> int realOpen(const char *name, A... args)
{
    return reinterpret_cast<int (*)(A..., ...)>(dlsym(RTLD_NEXT, name))(args...);
}

bool startsWithDirectory(const char *path, const char *dir)
{
    size_t n = std::strlen(dir);
    while (n > 1 && dir[n - 1] == '/')
        --n;
    return std::strncmp(path, dir, n) == 0 && (path[n] == '\0' || path[n] == '/');
}

// Whether the absolute `path` lies under the directory, as named or with its
// links resolved (which is how /proc/self/fd names it).
bool under(const char *path)
{
    const char *dir = std::getenv("VELMORA_FAIL_DIR");
    if (!dir || !*dir || !path)
        return false;
    char resolved[PATH_MAX];
    return startsWithDirectory(path, dir) ||
           (::realpath(dir, resolved) && startsWithDirectory(path, resolved));
}

// The same for `path` relative to the directory open as `dirfd`.
bool underAt(int dirfd, const char *path)
{
    if (!path || path[0] == '/')
        return under(path);
    char base[PATH_MAX];
    if (dirfd == AT_FDCWD) {
        if (!::getcwd(base, sizeof base))
            return false;
    } else {
        char link[32];
        std::snprintf(link, sizeof link, "/proc/self/fd/%d", dirfd);
        const ssize_t n = ::readlink(link, base, sizeof base - 1);
        if (n < 0)
            return false;
        base[n] = '\0';
    }
    return under((std::string(base) + '/' + path).c_str());
}

bool isTracked(int fd)
{
    return fd >= 0 && fd < MaxFd && tracked[fd];
}

int track(int fd, bool isUnder)
{
    if (fd >= 0 && fd < MaxFd)
        tracked[fd] = isUnder;
    return fd;
}

bool chosen(const char *variable, const char *call)
{
    const char *which = std::getenv(variable);
    return which && std::strcmp(which, call) == 0;
}

// True, once, when `call` is the one to fail and it concerns a file under
// the directory.
bool failNow(const char *call, bool concerned)
{
    if (fired || !concerned || !chosen("VELMORA_FAIL_CALL", call))
        return false;
    fired = true;
    std::fprintf(stderr, "velmora_failsys: %s fails\n", call);
    return true;
}

// Waits, once, when `call` is the one to hold and it concerns a file under
// the directory.
void waitNow(const char *call, bool concerned)
{
    if (waited || !concerned || !chosen("VELMORA_DELAY_CALL", call))
        return;
    waited = true;
    const char *text = std::getenv("VELMORA_DELAY_MS");
    const long ms = text ? std::atol(text) : 0;
    std::fprintf(stderr, "velmora_failsys: %s waits %ld ms\n", call, ms);
    timespec wait = {ms / 1000, (ms % 1000) * 1000000};
    while (::nanosleep(&wait, &wait) != 0 && errno == EINTR) {
    }
}

// Fails the call in hand: -1 with the configured errno.
int refuse()
{
    static const std::pair<const char *, int> names[] = {
        {"EIO", EIO}, {"ENOSPC", ENOSPC}, {"EDQUOT", EDQUOT}, {"EROFS", EROFS}};
    const char *name = std::getenv("VELMORA_FAIL_ERRNO");
    int error = name ? std::atoi(name) : 0;
    for (const auto &[text, value] : names)
        if (name && std::strcmp(name, text) == 0)
            error = value;
    errno = error > 0 ? error : EIO;
    return -1;
}

// Checks a call that concerns the tracked descriptor `fd`: may wait, then
// tells whether it is the one to fail.
bool hold(const char *call, int fd)
{
    waitNow(call, isTracked(fd));
    return failNow(call, isTracked(fd));
}

} // namespace

// The mode argument of the open calls, there only when a file may be created.
#define VELMORA_MODE(flags)                                                                        \
    va_list args;                                                                                  \
    va_start(args, flags);                                                                         \
    const mode_t mode =                                                                            \
        (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(args, mode_t) : 0;          \
    va_end(args)

#define VELMORA_OPENAT(name)                                                                       \
    VELMORA_MODE(flags);                                                                           \
    const bool isUnder = underAt(dirfd, path);                                                     \
    waitNow("openat", isUnder && (flags & O_CREAT));                                               \
    if (failNow("openat", isUnder && (flags & O_CREAT)))                                           \
        return refuse();                                                                           \
    return track(realOpen(name, dirfd, path, flags, mode), isUnder)

extern "C" {

int open(const char *path, int flags, ...)
{
    VELMORA_MODE(flags);
    return track(realOpen("open", path, flags, mode), underAt(AT_FDCWD, path));
}

int open64(const char *path, int flags, ...)
{
    VELMORA_MODE(flags);
    return track(realOpen("open64", path, flags, mode), underAt(AT_FDCWD, path));
}

int openat(int dirfd, const char *path, int flags, ...)
{
    VELMORA_OPENAT("openat");
}

int openat64(int dirfd, const char *path, int flags, ...)
{
    VELMORA_OPENAT("openat64");
}

int fchmod(int fd, mode_t mode)
{
    return hold("fchmod", fd) ? refuse() : real<int>("fchmod", fd, mode);
}

ssize_t write(int fd, const void *data, size_t size)
{
    return hold("write", fd) ? refuse() : real<ssize_t>("write", fd, data, size);
}

ssize_t pwrite(int fd, const void *data, size_t size, off_t at)
{
    return hold("pwrite", fd) ? refuse() : real<ssize_t>("pwrite", fd, data, size, at);
}

int ftruncate(int fd, off_t length)
{
    return hold("ftruncate", fd) ? refuse() : real<int>("ftruncate", fd, length);
}

int fdatasync(int fd)
{
    return hold("fdatasync", fd) ? refuse() : real<int>("fdatasync", fd);
}

int fsync(int fd)
{
    return hold("fsync", fd) ? refuse() : real<int>("fsync", fd);
}

int close(int fd)
{
    const bool fail = hold("close", fd);
    track(fd, false);
    const int result = real<int>("close", fd);
    return fail ? refuse() : result;
}

// closedir closes its descriptor inside the C library, past close() above.
int closedir(DIR *directory)
{
    track(::dirfd(directory), false);
    return real<int>("closedir", directory);
}

int rename(const char *from, const char *to)
{
    return failNow("rename", underAt(AT_FDCWD, to)) ? refuse() : real<int>("rename", from, to);
}

int renameat(int fromDir, const char *from, int toDir, const char *to)
{
    const bool isUnder = underAt(toDir, to);
    waitNow("renameat", isUnder);
    return failNow("renameat", isUnder) ? refuse()
                                        : real<int>("renameat", fromDir, from, toDir, to);
}

} // extern "C"
