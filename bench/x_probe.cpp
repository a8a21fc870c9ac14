// Sees on the X server when a window is first drawn, for run.py. Reads one
// command a line and answers each once the first window mapped after it has
// been drawn into, as the server's DAMAGE extension reports the drawing:
//
//   spawn PROGRAM [ARGUMENT...]  ->  frame PID MS X Y   (MS since the fork)
//   click X Y                    ->  frame 0 MS X Y     (MS since the click)
//
// X Y is where the window lies on the screen; "timeout" after five seconds.
#include <X11/Xlib.h>
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
int damageEvent;

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

// Every window is watched for damage from its creation, long before its
// program can draw into it. True for the first drawing into `mapped`, the
// first window mapped since the wait began (None while draining).
bool handle(XEvent& event, Window* mapped)
{
    if (event.type == CreateNotify) {
        XDamageCreate(display, event.xcreatewindow.window, XDamageReportNonEmpty);
    } else if (event.type == MapNotify && mapped && *mapped == None && event.xmap.event == root) {
        *mapped = event.xmap.window;
    } else if (event.type == damageEvent + XDamageNotify) {
        const auto& damage = reinterpret_cast<XDamageNotifyEvent&>(event);
        XDamageSubtract(display, damage.damage, None, None); // so that the next drawing reports again
        return mapped && *mapped != None && damage.drawable == *mapped;
    }
    return false;
}

void waitForFrame(int pid, double since)
{
    Window mapped = None;
    const int fd = ConnectionNumber(display);
    for (;;) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (handle(event, &mapped)) {
                const double drawn = nowMs() - since;
                int x = 0, y = 0;
                Window child;
                XTranslateCoordinates(display, mapped, root, 0, 0, &x, &y, &child);
                std::printf("frame %d %.3f %d %d\n", pid, drawn, x, y);
                return;
            }
        }
        const long left = static_cast<long>(5000 - (nowMs() - since));
        if (left <= 0) {
            std::printf("timeout\n");
            return;
        }
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(fd, &readable);
        timeval wait{left / 1000, left % 1000 * 1000};
        select(fd + 1, &readable, nullptr, nullptr, &wait);
    }
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
    XSetErrorHandler(ignoreErrors);
    std::signal(SIGCHLD, SIG_IGN); // run.py ends the programs; nobody waits for them
    XSelectInput(display, root, SubstructureNotifyMask);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    std::string line;
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
            const double clicked = nowMs();
            XTestFakeButtonEvent(display, 1, True, CurrentTime);
            XTestFakeButtonEvent(display, 1, False, CurrentTime);
            XFlush(display);
            waitForFrame(0, clicked);
        } else {
            std::printf("error %s\n", line.c_str());
        }
    }
    XCloseDisplay(display);
    return 0;
}
