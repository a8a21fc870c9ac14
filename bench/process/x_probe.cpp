// Watches the X server for the windows a program maps and the first thing it
// draws into them, and clicks for the script that drives it.
//
// Reads one command a line on standard input and answers one line each:
//
//   spawn PROGRAM [ARGUMENT...]  starts the program and waits for its first frame
//   click X Y                    clicks at a point of the root window and waits
//                                for the frame of the window that comes up
//   quit
//
// A frame is reported as
//
//   frame PID WINDOW MAP_MS DRAW_MS X Y WIDTH HEIGHT
//
// with the times in milliseconds since the program was started or the click
// was sent: MAP_MS when the window was mapped, DRAW_MS when the first drawing
// into it after the map reached the server (DAMAGE). "timeout" when nothing
// came up within five seconds; "error TEXT" for a bad command.
//
// Every child of the root window is watched for damage from the moment the
// server creates it, long before the program can draw into it.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <sys/select.h>
#include <unistd.h>

constexpr int MaxWatched = 256;
constexpr double TimeoutMs = 5000;

struct Watched {
    Window window;
    Damage damage;
};

static Display* display;
static int damageEvent;
static struct Watched watched[MaxWatched];
static int watchedCount;

static double nowMs(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Windows vanish between their creation and our request now and then, and
// input-only windows take no damage; neither is worth more than a shrug.
static int ignoreErrors(Display* d, XErrorEvent* e)
{
    (void)d;
    (void)e;
    return 0;
}

static void watch(Window window)
{
    for (int i = 0; i < watchedCount; ++i)
        if (watched[i].window == window)
            return;
    if (watchedCount == MaxWatched) {
        XDamageDestroy(display, watched[0].damage);
        memmove(&watched[0], &watched[1], sizeof watched[0] * (MaxWatched - 1));
        --watchedCount;
    }
    watched[watchedCount].window = window;
    watched[watchedCount].damage = XDamageCreate(display, window, XDamageReportNonEmpty);
    ++watchedCount;
}

// The server frees a window's damage with the window, and hands its id to the
// next program that connects.
static void forget(Window window)
{
    for (int i = 0; i < watchedCount; ++i)
        if (watched[i].window == window) {
            memmove(&watched[i], &watched[i + 1], sizeof watched[0] * static_cast<size_t>(watchedCount - i - 1));
            --watchedCount;
            return;
        }
}

struct Frame {
    Window window;
    double mapped, drawn;
};

// Handles every event, and fills in `frame` for the first window mapped after
// `since` and its first damage after the map.
static void handle(XEvent* event, struct Frame* frame, double since)
{
    const double t = nowMs();
    if (event->type == CreateNotify) {
        watch(event->xcreatewindow.window);
    } else if (event->type == DestroyNotify) {
        forget(event->xdestroywindow.window);
    } else if (event->type == MapNotify) {
        if (frame->window == None && event->xmap.event == DefaultRootWindow(display)) {
            frame->window = event->xmap.window;
            frame->mapped = t - since;
        }
    } else if (event->type == damageEvent + XDamageNotify) {
        const auto* damage = reinterpret_cast<const XDamageNotifyEvent*>(event);
        // Re-arm, so that the next drawing reports again.
        XDamageSubtract(display, damage->damage, None, None);
        if (frame->window != None && damage->drawable == frame->window && frame->drawn < 0)
            frame->drawn = t - since;
    }
}

static void waitForFrame(pid_t pid, double since)
{
    struct Frame frame = {None, -1, -1};
    const int fd = ConnectionNumber(display);
    while (frame.drawn < 0) {
        while (XPending(display) && frame.drawn < 0) {
            XEvent event;
            XNextEvent(display, &event);
            handle(&event, &frame, since);
        }
        if (frame.drawn >= 0)
            break;
        const double left = TimeoutMs - (nowMs() - since);
        if (left <= 0) {
            printf("timeout\n");
            return;
        }
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(fd, &readable);
        const long waitMs = static_cast<long>(left);
        timeval wait = {waitMs / 1000, waitMs % 1000 * 1000};
        select(fd + 1, &readable, NULL, NULL, &wait);
    }
    XWindowAttributes attributes;
    int x = 0, y = 0;
    Window child;
    if (XGetWindowAttributes(display, frame.window, &attributes))
        XTranslateCoordinates(display, frame.window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    printf("frame %d 0x%lx %.3f %.3f %d %d %d %d\n", static_cast<int>(pid), frame.window, frame.mapped, frame.drawn, x, y,
           attributes.width, attributes.height);
}

// Takes the events that are already queued, so that a new wait starts clean.
static void drain(void)
{
    struct Frame ignored = {None, -1, -1};
    XSync(display, False);
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
        handle(&event, &ignored, nowMs());
        ignored.window = None;
    }
}

static pid_t spawn(char** argv)
{
    const pid_t pid = fork();
    if (pid == 0) {
        close(ConnectionNumber(display));
        execv(argv[0], argv);
        _exit(127);
    }
    return pid;
}

int main(void)
{
    display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "x_probe: cannot open the display\n");
        return 1;
    }
    int damageError = 0, major = 0, minor = 0, eventBase = 0, errorBase = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)
        || !XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
        fprintf(stderr, "x_probe: the server lacks DAMAGE or XTEST\n");
        return 1;
    }
    XSetErrorHandler(ignoreErrors);
    // The programs end when the script kills them; nobody waits for them.
    signal(SIGCHLD, SIG_IGN);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    setvbuf(stdout, NULL, _IOLBF, 0);

    char line[4096];
    while (fgets(line, sizeof line, stdin)) {
        line[strcspn(line, "\n")] = '\0';
        char* argv[64];
        int argc = 0;
        for (char* word = strtok(line, " "); word && argc < 63; word = strtok(NULL, " "))
            argv[argc++] = word;
        argv[argc] = NULL;
        if (argc == 0)
            continue;
        if (strcmp(argv[0], "quit") == 0)
            break;
        drain();
        if (strcmp(argv[0], "spawn") == 0 && argc >= 2) {
            const double since = nowMs();
            const pid_t pid = spawn(argv + 1);
            waitForFrame(pid, since);
        } else if (strcmp(argv[0], "click") == 0 && argc == 3) {
            const int x = atoi(argv[1]), y = atoi(argv[2]);
            XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
            XSync(display, False);
            const double since = nowMs();
            XTestFakeButtonEvent(display, 1, True, CurrentTime);
            XTestFakeButtonEvent(display, 1, False, CurrentTime);
            XFlush(display);
            waitForFrame(0, since);
        } else {
            printf("error unknown command\n");
        }
    }
    XCloseDisplay(display);
    return 0;
}
