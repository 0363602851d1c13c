// Watches an X screen while a program starts: when its first window maps, when the screen first
// shows a picture that is not black, and how many looks in between saw a mapped window that was
// still black (an empty frame a player would see flash).
//
//   first_frame [--timeout S] -- PROGRAM ARGS...
//
// Prints "map_ms=... first_frame_ms=... black_looks=..." measured from the exec, then ends the
// program (SIGKILL: only the start-up is measured). Run it on a screen of its own (Xvfb): any
// other window there counts too.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// The top-level windows that are mapped (viewable) now.
int MappedWindows(Display* d) {
    Window root_ret, parent;
    Window* children = nullptr;
    unsigned n = 0;
    if (!XQueryTree(d, DefaultRootWindow(d), &root_ret, &parent, &children, &n)) return 0;
    int mapped = 0;
    for (unsigned i = 0; i < n; ++i) {
        XWindowAttributes a;
        if (XGetWindowAttributes(d, children[i], &a) && a.map_state == IsViewable) ++mapped;
    }
    if (children) XFree(children);
    return mapped;
}

// True when some pixel of the screen (sampled every fourth pixel) is not black.
bool ScreenShowsSomething(Display* d) {
    int w = DisplayWidth(d, DefaultScreen(d)), h = DisplayHeight(d, DefaultScreen(d));
    XImage* img =
        XGetImage(d, DefaultRootWindow(d), 0, 0, unsigned(w), unsigned(h), AllPlanes, ZPixmap);
    if (!img) return false;
    bool lit = false;
    for (int y = 0; y < h && !lit; y += 4)
        for (int x = 0; x < w && !lit; x += 4)
            lit = (XGetPixel(img, x, y) & 0xffffff) != 0;
    XDestroyImage(img);
    return lit;
}

} // namespace

int main(int argc, char** argv) {
    double timeout_s = 20;
    int first = 1;
    for (; first < argc; ++first) {
        if (!std::strcmp(argv[first], "--timeout") && first + 1 < argc)
            timeout_s = std::atof(argv[++first]);
        else if (!std::strcmp(argv[first], "--")) {
            ++first;
            break;
        }
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: first_frame [--timeout S] -- PROGRAM ARGS...\n");
        return 2;
    }
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fprintf(stderr, "first_frame: cannot open the X display\n");
        return 2;
    }
    if (MappedWindows(d) != 0 || ScreenShowsSomething(d)) {
        std::fprintf(stderr, "first_frame: the screen is not empty to begin with\n");
        return 2;
    }
    Clock::time_point t0 = Clock::now();
    pid_t child = fork();
    if (child == 0) {
        execvp(argv[first], argv + first);
        _exit(127);
    }
    double map_ms = -1, frame_ms = -1;
    int black_looks = 0;
    while (MsSince(t0) < timeout_s * 1000 && frame_ms < 0) {
        if (waitpid(child, nullptr, WNOHANG) == child) {
            child = 0;
            break;
        }
        bool mapped = MappedWindows(d) > 0;
        if (mapped && map_ms < 0) map_ms = MsSince(t0);
        if (ScreenShowsSomething(d))
            frame_ms = MsSince(t0);
        else if (mapped)
            ++black_looks;
        usleep(5000);
    }
    if (child > 0) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    XCloseDisplay(d);
    std::printf("map_ms=%.0f first_frame_ms=%.0f black_looks=%d\n", map_ms, frame_ms, black_looks);
    return frame_ms < 0 ? 1 : 0;
}
