// Sees on the X server when a window is first drawn, for run.py. Reads one
// command a line and answers each once the first window mapped after it has
// been drawn into, as the server's DAMAGE extension reports the drawing:
//
//   spawn PROGRAM [ARGUMENT...]  ->  frame PID MS X Y   (MS since the fork)
//   click X Y                    ->  frame 0 MS X Y     (MS since the click)
//   hidden                       ->  hidden MS          (MS since the last click)
//
// X Y is where the window lies on the screen; "hidden" tells when the window
// that was drawn last before the click was unmapped; "timeout" after five
// seconds.
//
// The probe also plays the one part of a window manager that Wine waits for:
// it sets the ICCCM's WM_STATE of every top-level window, Normal when the
// window is mapped and Withdrawn when it is unmapped. With no window manager
// Wine waits two seconds for that state at every hide of a window.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <sys/select.h>
#include <unistd.h>
#include <vector>

namespace {

Display* display;
Window root;
Atom wmState;
int damageEvent;
Window lastDrawn = None; // the window of the last frame answered
Window watched = None; // the window of the last answer before the last click
double hiddenAt = -1; // when `watched` was unmapped

double nowMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Windows vanish between their creation and our request now and then, and
// input-only windows take no damage: neither matters.
int ignoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

void setWmState(Window window, long state)
{
    const long value[2] = {state, None};
    XChangeProperty(display, window, wmState, wmState, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(value), 2);
}

// Every window is watched for damage from its creation, long before its
// program can draw into it. True for the first drawing into `mapped`, the
// first window mapped since the wait began (None while draining).
bool handle(XEvent& event, Window* mapped)
{
    if (event.type == CreateNotify) {
        XDamageCreate(display, event.xcreatewindow.window, XDamageReportNonEmpty);
    } else if (event.type == MapNotify && event.xmap.event == root && !event.xmap.override_redirect) {
        setWmState(event.xmap.window, NormalState);
        if (mapped && *mapped == None)
            *mapped = event.xmap.window;
    } else if (event.type == UnmapNotify && event.xunmap.event == root) {
        setWmState(event.xunmap.window, WithdrawnState);
        if (event.xunmap.window == watched && hiddenAt < 0)
            hiddenAt = nowMs();
    } else if (event.type == damageEvent + XDamageNotify) {
        const auto& damage = reinterpret_cast<XDamageNotifyEvent&>(event);
        XDamageSubtract(display, damage.damage, None, None); // so that the next drawing reports again
        return mapped && *mapped != None && damage.drawable == *mapped;
    }
    return false;
}

// Handles the server's events until `done` holds for one of them; false, and
// "timeout" answered, five seconds after `since`.
template <typename Done> bool waitUntil(double since, Done done)
{
    const int fd = ConnectionNumber(display);
    for (;;) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (done(event))
                return true;
        }
        const long left = static_cast<long>(5000 - (nowMs() - since));
        if (left <= 0) {
            std::printf("timeout\n");
            return false;
        }
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(fd, &readable);
        timeval wait{left / 1000, left % 1000 * 1000};
        select(fd + 1, &readable, nullptr, nullptr, &wait);
    }
}

void waitForFrame(int pid, double since)
{
    Window mapped = None;
    if (!waitUntil(since, [&](XEvent& event) { return handle(event, &mapped); }))
        return;
    const double drawn = nowMs() - since;
    int x = 0, y = 0;
    Window child;
    XTranslateCoordinates(display, mapped, root, 0, 0, &x, &y, &child);
    std::printf("frame %d %.3f %d %d\n", pid, drawn, x, y);
    lastDrawn = mapped;
}

} // namespace

int main()
{
    display = XOpenDisplay(nullptr);
    int damageError = 0, major = 0, minor = 0, eventBase = 0, errorBase = 0;
    if (!display || !XDamageQueryExtension(display, &damageEvent, &damageError) ||
        !XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
        std::fprintf(stderr, "morvik-x-probe: no display with DAMAGE and XTEST\n");
        return 1;
    }
    root = DefaultRootWindow(display);
    wmState = XInternAtom(display, "WM_STATE", False);
    XSetErrorHandler(ignoreErrors);
    std::signal(SIGCHLD, SIG_IGN); // run.py ends the programs; nobody waits for them
    XSelectInput(display, root, SubstructureNotifyMask);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    std::string line;
    double clicked = 0;
    while (std::getline(std::cin, line)) {
        std::istringstream in(line);
        std::vector<std::string> words;
        for (std::string word; in >> word;)
            words.push_back(word);
        if (words.empty() || words[0] == "quit")
            break;
        // Events that came before the command only arm the damage of new windows.
        XSync(display, False);
        for (XEvent event; XPending(display);) {
            XNextEvent(display, &event);
            handle(event, nullptr);
        }
        const double since = nowMs();
        if (words[0] == "spawn" && words.size() > 1) {
            std::vector<char*> argv;
            for (std::size_t i = 1; i < words.size(); ++i)
                argv.push_back(words[i].data());
            argv.push_back(nullptr);
            const pid_t pid = fork();
            if (pid == 0) {
                close(ConnectionNumber(display));
                execv(argv[0], argv.data());
                _exit(127);
            }
            waitForFrame(pid, since);
        } else if (words[0] == "click" && words.size() == 3) {
            XTestFakeMotionEvent(display, -1, std::stoi(words[1]), std::stoi(words[2]), CurrentTime);
            XSync(display, False);
            watched = lastDrawn;
            hiddenAt = -1;
            clicked = nowMs();
            XTestFakeButtonEvent(display, 1, True, CurrentTime);
            XTestFakeButtonEvent(display, 1, False, CurrentTime);
            XFlush(display);
            waitForFrame(0, clicked);
        } else if (words[0] == "hidden") {
            if (hiddenAt >= 0 || waitUntil(clicked, [](XEvent& event) {
                    handle(event, nullptr);
                    return hiddenAt >= 0;
                }))
                std::printf("hidden %.3f\n", hiddenAt - clicked);
        } else {
            std::printf("error %s\n", line.c_str());
        }
    }
    XCloseDisplay(display);
    return 0;
}
