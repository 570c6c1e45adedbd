// SPDX-License-Identifier: MIT
// A preloaded library that makes one system call fail, so that the tests can
// see what a save reports and leaves behind when the disk lets it down.
//
//   VELMORA_FAIL_CALL   write, pwrite, fdatasync, fsync, close, rename or ftruncate
//   VELMORA_FAIL_ERRNO  the error to report: EIO, ENOSPC, EDQUOT, EROFS or a number
//   VELMORA_FAIL_DIR    only files opened under this directory (for rename: a
//                       new name under it) are affected
//
// Only the first matching call fails, so that whatever the program does to
// recover goes through. A failing close still closes the descriptor, as the
// kernel does.

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <utility>

namespace {

constexpr int MaxFd = 4096;
bool tracked[MaxFd]; // opened under VELMORA_FAIL_DIR
bool fired;

template <typename R, typename... A> R real(const char *name, A... args)
{
    return reinterpret_cast<R (*)(A...)>(dlsym(RTLD_NEXT, name))(args...);
}

template <typename... A> int realOpen(const char *name, A... args)
{
    return reinterpret_cast<int (*)(A..., ...)>(dlsym(RTLD_NEXT, name))(args...);
}

bool under(const char *path)
{
    const char *dir = std::getenv("VELMORA_FAIL_DIR");
    if (!dir || !*dir || !path)
        return false;
    size_t n = std::strlen(dir);
    while (n > 1 && dir[n - 1] == '/')
        --n;
    return std::strncmp(path, dir, n) == 0 && (path[n] == '\0' || path[n] == '/');
}

bool isTracked(int fd)
{
    return fd >= 0 && fd < MaxFd && tracked[fd];
}

int track(int fd, const char *path)
{
    if (fd >= 0 && fd < MaxFd)
        tracked[fd] = under(path);
    return fd;
}

// True, once, when `call` is the one to fail and it concerns a file under
// the directory.
bool failNow(const char *call, bool concerned)
{
    const char *which = std::getenv("VELMORA_FAIL_CALL");
    if (fired || !concerned || !which || std::strcmp(which, call) != 0)
        return false;
    fired = true;
    return true;
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

} // namespace

// The mode argument of the open calls, there only when a file may be created.
#define VELMORA_MODE(flags)                                                                        \
    va_list args;                                                                                  \
    va_start(args, flags);                                                                         \
    const mode_t mode =                                                                            \
        (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(args, mode_t) : 0;          \
    va_end(args)

extern "C" {

int open(const char *path, int flags, ...)
{
    VELMORA_MODE(flags);
    return track(realOpen("open", path, flags, mode), path);
}

int open64(const char *path, int flags, ...)
{
    VELMORA_MODE(flags);
    return track(realOpen("open64", path, flags, mode), path);
}

int openat(int dirfd, const char *path, int flags, ...)
{
    VELMORA_MODE(flags);
    return track(realOpen("openat", dirfd, path, flags, mode), path);
}

int openat64(int dirfd, const char *path, int flags, ...)
{
    VELMORA_MODE(flags);
    return track(realOpen("openat64", dirfd, path, flags, mode), path);
}

ssize_t write(int fd, const void *data, size_t size)
{
    return failNow("write", isTracked(fd)) ? refuse() : real<ssize_t>("write", fd, data, size);
}

ssize_t pwrite(int fd, const void *data, size_t size, off_t at)
{
    return failNow("pwrite", isTracked(fd)) ? refuse()
                                            : real<ssize_t>("pwrite", fd, data, size, at);
}

int ftruncate(int fd, off_t length)
{
    return failNow("ftruncate", isTracked(fd)) ? refuse() : real<int>("ftruncate", fd, length);
}

int fdatasync(int fd)
{
    return failNow("fdatasync", isTracked(fd)) ? refuse() : real<int>("fdatasync", fd);
}

int fsync(int fd)
{
    return failNow("fsync", isTracked(fd)) ? refuse() : real<int>("fsync", fd);
}

int close(int fd)
{
    const bool fail = failNow("close", isTracked(fd));
    track(fd, nullptr);
    const int result = real<int>("close", fd);
    return fail ? refuse() : result;
}

int rename(const char *from, const char *to)
{
    return failNow("rename", under(to)) ? refuse() : real<int>("rename", from, to);
}

} // extern "C"
