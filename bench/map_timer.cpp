// Starts a program and prints the milliseconds from its start until its
// first top-level window is mapped, and its peak resident memory (VmHWM,
// KiB) at that moment; then ends it. Needs an X server with no window
// manager, so that top-level windows are children of the root window.
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

constexpr int wait_limit_ms = 20000;

long peak_resident_kib(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}

bool map_notified(xcb_connection_t *connection)
{
    bool mapped = false;
    while (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
        mapped = mapped || (event->response_type & ~0x80) == XCB_MAP_NOTIFY;
        std::free(event);
    }
    return mapped;
}

int fail(const char *message)
{
    std::fprintf(stderr, "map_timer: %s\n", message);
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2)
        return fail("usage: map_timer PROGRAM [ARGUMENTS...]");

    // A server that has just started may not take connections at once.
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    for (int tries = 0; xcb_connection_has_error(connection) && tries < 50; ++tries) {
        xcb_disconnect(connection);
        usleep(100000);
        connection = xcb_connect(nullptr, nullptr);
    }
    if (xcb_connection_has_error(connection))
        return fail("cannot connect to the X server");
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    // Checked, so that the selection is in force before the program starts.
    if (xcb_generic_error_t *error = xcb_request_check(
            connection,
            xcb_change_window_attributes_checked(connection, root, XCB_CW_EVENT_MASK, &mask))) {
        std::free(error);
        return fail("cannot watch the root window");
    }

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[1], argv + 1);
        _exit(127);
    }
    if (pid < 0)
        return fail("cannot start the program");

    pollfd x_events{xcb_get_file_descriptor(connection), POLLIN, 0};
    bool mapped = false;
    while (!mapped) {
        const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        if (waited.count() > wait_limit_ms || waitpid(pid, nullptr, WNOHANG) != 0)
            break;
        poll(&x_events, 1, 50);
        mapped = map_notified(connection);
    }
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - start;
    // Stopped at once, the program cannot go on to paint before it is measured.
    kill(pid, SIGSTOP);
    const long peak = mapped ? peak_resident_kib(pid) : -1;

    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    xcb_disconnect(connection);
    if (!mapped)
        return fail("the program mapped no window");
    std::printf("%.1f %ld\n", elapsed.count(), peak);
    return 0;
}
