// Start-up time to the first shown window: starts a program on the X display and waits
// for the first top-level window it maps, then ends the program.
// Usage: bench_first_window PROGRAM [ARGS...]; prints "startup_ms N".
#include <xcb/xcb.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    xcb_connection_t *x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    // The mask must be in force before the program can map anything.
    free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr));

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    int status = 0;
    while (xcb_generic_event_t *e = xcb_wait_for_event(x)) {
        const bool mapped = (e->response_type & 0x7f) == XCB_MAP_NOTIFY &&
                            reinterpret_cast<xcb_map_notify_event_t *>(e)->event == root;
        free(e);
        if (mapped) break;
        if (waitpid(child, &status, WNOHANG) == child) {
            std::fprintf(stderr, "the program ended without showing a window\n");
            return 1;
        }
    }
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("startup_ms %.1f\n", ms);
    kill(child, SIGTERM);
    waitpid(child, &status, 0);
    xcb_disconnect(x);
    return 0;
}
