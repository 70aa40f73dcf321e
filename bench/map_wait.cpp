// map_wait TITLE PROGRAM [ARGS...]: starts PROGRAM, prints the milliseconds until a window titled
// TITLE is mapped on $DISPLAY, ends the program and prints its peak resident memory in KiB.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

static bool titled(Display *dpy, Window w, const char *title)
{
    char *name = nullptr;
    if (XFetchName(dpy, w, &name) && name) {
        const bool same = std::strcmp(name, title) == 0;
        XFree(name);
        return same;
    }
    return false;
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: map_wait TITLE PROGRAM [ARGS...]\n");
        return 2;
    }
    Display *dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "map_wait: no display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(dpy);
    XSelectInput(dpy, root, SubstructureNotifyMask);
    XSync(dpy, False);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    double ms = -1;
    while (ms < 0) {
        XEvent ev;
        XNextEvent(dpy, &ev);
        if (ev.type == MapNotify && titled(dpy, ev.xmap.window, argv[1]))
            ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        else if (ev.type == CreateNotify)
            XSelectInput(dpy, ev.xcreatewindow.window, StructureNotifyMask);
    }
    // Give the program a moment to settle, as a user would see it, before reading its memory.
    usleep(1500 * 1000);
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    std::printf("%.1f %ld\n", ms, usage.ru_maxrss);
    XCloseDisplay(dpy);
    return 0;
}
