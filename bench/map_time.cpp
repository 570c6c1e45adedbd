// SPDX-License-Identifier: MIT
// bench_map_time: the time from starting a program to its first window being
// mapped on the X display, as a user waiting for it would count it.
//
// It watches the root window for map notifications (run it on a display with
// no window manager, so that the program's own top-level window is the one
// mapped under the root), then forks and executes the command, and reports
// the milliseconds until the first window is mapped. After `--settle MS` more
// milliseconds it reads the program's VmRSS and VmHWM, then ends it with
// SIGTERM. One line: map_ms=... rss_kb=... hwm_kb=...
//
// Usage: bench_map_time [--settle MS] [--timeout MS] -- COMMAND [ARG...]

#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>

namespace {

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

long statusKb(pid_t pid, const char *key)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    const std::string prefix = std::string(key) + ":";
    while (std::getline(status, line)) {
        if (line.compare(0, prefix.size(), prefix) == 0)
            return std::atol(line.c_str() + prefix.size());
    }
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    int settle = 1500;
    int timeout = 30000;
    int i = 1;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; i += 2) {
        if (i + 1 >= argc)
            break;
        if (!std::strcmp(argv[i], "--settle"))
            settle = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--timeout"))
            timeout = std::atoi(argv[i + 1]);
    }
    if (i >= argc - 1) {
        std::fprintf(stderr, "usage: bench_map_time [--settle MS] [--timeout MS] -- COMMAND...\n");
        return 2;
    }
    char **command = argv + i + 1;

    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "bench_map_time: cannot open the display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_void_cookie_t cookie =
        xcb_change_window_attributes_checked(connection, root, XCB_CW_EVENT_MASK, &mask);
    if (xcb_generic_error_t *error = xcb_request_check(connection, cookie)) {
        std::fprintf(stderr, "bench_map_time: cannot watch the root window\n");
        std::free(error);
        return 1;
    }

    const double start = nowMs();
    const pid_t child = fork();
    if (child == 0) {
        execvp(command[0], command);
        std::perror("bench_map_time: exec");
        _exit(127);
    }

    double mapped = -1;
    pollfd watch{xcb_get_file_descriptor(connection), POLLIN, 0};
    while (mapped < 0 && nowMs() - start < timeout) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY && mapped < 0)
                mapped = nowMs() - start;
            std::free(event);
        }
        if (mapped < 0 && poll(&watch, 1, 50) < 0)
            break;
        if (waitpid(child, nullptr, WNOHANG) == child) {
            std::fprintf(stderr, "bench_map_time: %s ended before mapping a window\n", command[0]);
            return 1;
        }
    }
    if (mapped < 0) {
        std::fprintf(stderr, "bench_map_time: no window mapped in %d ms\n", timeout);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        return 1;
    }
    usleep(useconds_t(settle) * 1000);
    const long rss = statusKb(child, "VmRSS");
    const long hwm = statusKb(child, "VmHWM");
    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
    xcb_disconnect(connection);
    std::printf("map_ms=%.1f rss_kb=%ld hwm_kb=%ld\n", mapped, rss, hwm);
    return 0;
}
