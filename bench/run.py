#!/usr/bin/env python3
"""Both programs of the game beside bare programs under a virtual X server, against their budgets.

    python3 bench/run.py [--runs 10] [--starts 3] [--idle 5] [--previous REVISION-OR-FOLDER]

Builds the game, bench/'s programs and the layout's table (build/bench), the previous release
(a git revision, or a folder of its sources; build/bench-previous) and the Windows program with
its bare window (MinGW-w64; build/bench-windows), and runs them interleaved on one virtual X
server under openbox with a session bus, so that whatever else loads the machine weighs on the
games and their yardsticks alike. Writes bench/RESULTS.md with bench/notes.md appended, and exits
with status 1 when a budget is missed. Needs what the test command installs.
"""
import argparse
import collections
import datetime
import glob
import json
import os
import select
import shutil
import signal
import statistics
import subprocess
import sys
import time

from Xlib import X, display as xdisplay  # python3-xlib
from Xlib.ext import damage, xtest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
SETTLE = 0.5  # seconds a fresh window is left alone before it is measured
PREVIOUS = "e3e02c8^1"  # the game as it was before the leaner test suite


def build(source, folder, targets, *options):
    subprocess.run(["cmake", "-S", source, "-B", folder, "-G", "Ninja", *options], check=True,
                   stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", folder, "--target", *targets], check=True)
    return folder


def build_previous(release, folder):
    """The game at `release`, a git revision or a folder of its sources, built as the game is; its
    program and its name."""
    if os.path.isdir(release):
        source = os.path.abspath(release)
        name = os.path.basename(source)
    else:
        name = subprocess.run(["git", "-C", ROOT, "rev-parse", "--short", "--verify", release + "^{commit}"],
                              check=True, capture_output=True, text=True).stdout.strip()
        source = os.path.join(folder, "source-" + name)
        if not os.path.isdir(source):
            os.makedirs(source)
            subprocess.run(["sh", "-c", 'git -C "$0" archive "$1" | tar -x -C "$2"', ROOT, name, source], check=True)
    # The artwork generator of older releases is not needed to build the program.
    built = build(source, os.path.join(folder, "build-" + name), ["morvik-roulette"], "-DCMAKE_BUILD_TYPE=Release",
                  "-DMORVIK_BUILD_TESTS=OFF", "-DMORVIK_BUILD_TOOLS=OFF")
    # The program's folder has moved between releases (app/, qt/).
    program, = glob.glob(os.path.join(built, "*", "morvik-roulette"))
    return program, name


class Probe:
    """Starts programs and clicks, and tells when a window is first drawn: the first drawing, as the X
    server's DAMAGE extension reports it, into a window the window manager took in since."""

    def __init__(self, env):
        self.env, self.x = env, xdisplay.Display(env["DISPLAY"])
        self.x.damage_query_version()
        # Windows vanish between their creation and our request now and then, and input-only windows
        # take no damage: neither matters.
        self.x.set_error_handler(lambda *error: None)
        self.root = self.x.screen().root
        self.root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.shown = self.watched = self.hidden_at = None
        self.clicked = 0

    def wait(self, since, done=None):
        """Handles the server's events until `done` holds for one, or those pending without `done`; every
        new window is watched for damage from its creation on, long before its program can draw into it."""
        self.x.sync()
        while True:
            while self.x.pending_events():
                event = self.x.next_event()
                if event.type == X.CreateNotify:
                    event.window.damage_create(damage.DamageReportNonEmpty)
                elif event.type == X.UnmapNotify and event.window == self.watched and self.hidden_at is None:
                    self.hidden_at = time.monotonic()
                elif event.type == self.x.extension_event.DamageNotify:
                    self.x.damage_subtract(event.damage)  # so that the next drawing reports again
                if done and done(event):
                    return
            if not done:
                return
            if time.monotonic() - since > 30:
                raise SystemExit(f"no answer from the X server in 30 s, waiting for {done.__name__}")
            select.select([self.x], [], [], 0.05)

    def frame(self, since):
        """Milliseconds to the first drawing into a window taken in after `since`, and where it lies."""
        taken = set()

        def drawn(event):
            if event.type == X.ReparentNotify and event.parent != self.root:
                taken.add(event.window.id)
            if event.type == self.x.extension_event.DamageNotify and event.drawable.id in taken:
                self.shown = self.x.create_resource_object("window", event.drawable.id)
                return True
            return False
        self.wait(since, drawn)
        ms = (time.monotonic() - since) * 1000
        self.shown.change_attributes(event_mask=X.StructureNotifyMask)  # for hidden()
        at = self.root.translate_coords(self.shown, 0, 0)
        return ms, (at.x, at.y)

    def spawn(self, command):
        self.wait(0)  # what came before only arms the damage of new windows
        since = time.monotonic()
        pid = subprocess.Popen(command, env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).pid
        return (pid, *self.frame(since))

    def click(self, box, at):
        """Clicks the middle of a box [x, y, width, height] of the window at `at`."""
        xtest.fake_input(self.x, X.MotionNotify, x=at[0] + box[0] + box[2] // 2, y=at[1] + box[1] + box[3] // 2)
        self.wait(0)
        self.watched, self.hidden_at, self.clicked = self.shown, None, time.monotonic()
        xtest.fake_input(self.x, X.ButtonPress, 1)
        xtest.fake_input(self.x, X.ButtonRelease, 1)
        self.x.sync()
        return self.frame(self.clicked)

    def hidden(self):
        """Milliseconds from the last click to the unmapping of the window clicked."""
        if self.hidden_at is None:
            self.wait(self.clicked, lambda event: self.hidden_at is not None)
        return (self.hidden_at - self.clicked) * 1000


def cpu_ms(pids):
    """The scheduler's run time of all the threads of the processes."""
    total = 0
    for pid in pids:
        for task in os.listdir(f"/proc/{pid}/task"):
            try:
                with open(f"/proc/{pid}/task/{task}/schedstat") as file:
                    total += int(file.read().split()[0])
            except OSError:
                pass  # a thread that ended meanwhile
    return total / 1e6


def idle(pids, seconds):
    """CPU in per cent of one core over `seconds` left alone."""
    time.sleep(SETTLE)
    start, before = time.monotonic(), cpu_ms(pids)
    time.sleep(seconds)
    return (cpu_ms(pids) - before) / (time.monotonic() - start) / 10


def peak_mib(pid):
    with open(f"/proc/{pid}/status") as file:
        return next(int(line.split()[1]) for line in file if line.startswith("VmHWM:")) / 1024


def end(pid):
    os.kill(pid, signal.SIGTERM)
    os.waitpid(pid, 0)


def turn(names, n):
    """The names begun at the n-th, so that none always goes first."""
    names = list(names)
    return names[n % len(names):] + names[:n % len(names)]


def run_starts(probe, programs, repeats):
    """Start to the first frame of every program, `repeats` times in turn."""
    times = {name: [] for name in programs}
    for n in range(repeats):
        for name in turn(programs, n):
            pid, start, _ = probe.spawn(programs[name])
            end(pid)
            times[name].append(start)
    return times


def run_game(probe, game, boxes, seconds, helpers=(), back=True):
    """"Play", idle with the table shown; on Linux also "X" and idle with the title shown. `helpers`
    are processes whose CPU the game's idle costs too (Wine's server)."""
    pid, _, at = probe.spawn(game)
    time.sleep(SETTLE)
    play, at = probe.click(boxes["Form2.Label1(0)"], at)
    result = dict(play=play, hidden=probe.hidden(), table_idle=idle([pid, *helpers], seconds))
    if back:
        result["back"], at = probe.click(boxes["Form1.Label7"], at)
        result["title_idle"] = idle([pid, *helpers], seconds)
    result["peak"] = peak_mib(pid)
    end(pid)
    return result


def run_bare(probe, bare, seconds, helpers=()):
    pid, _, _ = probe.spawn(bare)
    time.sleep(SETTLE)
    result = dict(peak=peak_mib(pid))
    end(pid)
    pid, _, _ = probe.spawn([*bare, "timer"])
    result["timer_idle"] = idle([pid, *helpers], seconds)
    end(pid)
    return result


def output(command, env=None):
    return subprocess.run(command, env=env, check=True, timeout=120, capture_output=True, text=True).stdout


def summary(values):
    return dict(median=statistics.median(values), low=min(values), high=max(values))


def shown(s, digits):
    return "" if s is None else f"{s['median']:.{digits}f} ({s['low']:.{digits}f} to {s['high']:.{digits}f})"


def table(rows):
    header = ("measure", "program", "yardstick", "ratio", "budget", "")
    return ["| " + " | ".join(header) + " |", "|" + "---|" * len(header), *("| " + " | ".join(r) + " |" for r in rows)]


def report(r, previous, args, loads):
    s = {name: {key: summary([run[key] for run in runs]) for key in runs[0]}
         for name, runs in r.items() if name not in ("starts", "profile")}
    g, b, wg, wb = s["game"], s["bare"], s["wine_game"], s["wine_bare"]
    start = {name: summary([t for run in r["starts"] for t in run[name]]) for name in r["starts"][0]}
    linux, windows = [], []  # rows: measure, program, yardstick, ratio, budget, verdict

    def row(rows, measure, ours, yardstick=None, limit=None, budget="", digits=1, passed=None):
        ratio = ours["median"] / yardstick["median"] if yardstick else None
        if limit is not None:
            passed = ratio <= limit
            budget = f"<= {limit} x"
        rows.append((measure, shown(ours, digits), shown(yardstick, digits),
                     "" if ratio is None else f"{ratio:.2f} x", budget,
                     "" if passed is None else "pass" if passed else "FAIL"))

    # Any Qt window with text pays for fontconfig and the font database: the bare window with the
    # title's captions is the yardstick, and each release is held against the one before it.
    first_frame = "start to the title's first frame, ms (yardstick: "
    row(linux, first_frame + "the bare window with the title's captions)", start["game"], start["text"], 1.3)
    row(linux, first_frame + f"the previous release, {previous})", start["game"], start["previous"], 1.0)
    row(linux, first_frame + "the bare window)", start["game"], start["bare"])
    row(linux, "\"Play\" to the table's first frame, ms", g["play"], budget="median < 25 ms",
        passed=g["play"]["median"] < 25)
    row(linux, "\"Play\" to the title hidden, ms", g["hidden"])
    row(linux, "\"X\" to the title's first frame, ms", g["back"])
    row(linux, "idle CPU, table shown, % of a core (yardstick: the bare window's 1 ms timer)", g["table_idle"],
        b["timer_idle"], 1.15, digits=2)
    row(linux, "idle CPU, title shown over the hidden table, % of a core", g["title_idle"], b["timer_idle"], 1.15,
        digits=2)
    row(linux, "peak resident memory (VmHWM), MiB (yardstick: the bare window)", g["peak"], b["peak"], 1.5)
    spins = [n for p in r["profile"] for n in p["spins"]]
    row(linux, "Timer1 ticks in a spin", summary(spins), budget="exactly 50", digits=0, passed=set(spins) == {50})
    row(linux, "spin tick that repaints Cislo, main-thread CPU, ms",
        summary([t / 1000 for p in r["profile"] for t in p["repaints"]]), digits=3)
    paints = sum((collections.Counter(p["paints"]) for p in r["profile"]), collections.Counter())
    linux.append(("widgets painted in the spin ticks", ", ".join(f"{n} {c}" for n, c in sorted(paints.items())),
                  "", "", "only Cislo", "pass" if list(paints) == ["Cislo"] else "FAIL"))

    row(windows, first_frame + "the bare Win32 window)", start["wine_game"], start["wine_bare"], 1.3)
    row(windows, "\"Play\" to the table's first frame, ms", wg["play"])
    row(windows, "\"Play\" to the title hidden, ms", wg["hidden"])
    row(windows, "idle CPU, table shown, % of a core, with Wine's server (yardstick: the bare window's 1 ms timer)",
        wg["table_idle"], wb["timer_idle"], 1.15, digits=2)
    row(windows, "peak working set (VmHWM), MiB (yardstick: the bare Win32 window)", wg["peak"], wb["peak"], 1.3)

    print("\n".join(["Linux", *table(linux), "Windows, under Wine", *table(windows)]))
    cpu = next(line.split(":", 1)[1].strip() for line in open("/proc/cpuinfo") if line.startswith("model name"))
    qt, wine = (output(["dpkg-query", "-W", "-f=${Version}", package]) for package in ("qt6-base-dev", "wine64"))
    failed = [row[0] for row in linux + windows if row[5] == "FAIL"]
    lines = [
        "# Performance of the whole process", "",
        f"Measured on {datetime.date.today()} by `python3 bench/run.py` on {cpu}, {os.cpu_count()} cores, "
        f"Qt {qt}, Wine {wine}, Xvfb 1280x1024x24 with a session bus: {args.runs} interleaved runs, "
        f"{args.starts} starts of each program in every run, {args.idle:g} s of each idle measurement. Medians, "
        f"min to max in parentheses. Load average {statistics.median(loads):.1f} (at most {max(loads):.1f}).", "",
        "## Linux", "", *table(linux), "",
        "## Windows, under Wine", "",
        "Wine is not Windows: these figures are of the Windows program under Wine on the same virtual X "
        "server, beside a bare Win32 window built the same way (static, MinGW-w64, the same manifest). Only "
        "the ratios say something of Windows itself, and only roughly.", "",
        *table(windows), "",
        "All budgets are met." if not failed else "Budgets missed: " + "; ".join(failed) + ".", "",
        open(os.path.join(HERE, "notes.md")).read(),
    ]
    # The web figures at the end are bench/web.mjs's, kept as they stand.
    results = os.path.join(HERE, "RESULTS.md")
    web = open(results).read().partition("\n## Web\n") if os.path.exists(results) else ("", "", "")
    with open(results, "w") as out:
        out.write("\n".join(lines) + web[1] + web[2])
    return not failed


def start_server(command, env=None):
    """A server that prints where it listens on the file descriptor it is given; returns it and that text."""
    read, write = os.pipe()
    server = subprocess.Popen([part.replace("FD", str(write)) for part in command], pass_fds=[write], env=env,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as out:
        return server, out.readline().strip()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--runs", type=int, default=10)
    parser.add_argument("--idle", type=float, default=5.0, help="seconds of each idle measurement")
    parser.add_argument("--starts", type=int, default=3, help="starts of each program in every run")
    parser.add_argument("--previous", default=PREVIOUS,
                        help="the release the start-up is held against: a git revision or a folder of its sources")
    args = parser.parse_args()
    folder = os.path.join(ROOT, "build", "bench")
    linux = build(ROOT, folder, ["morvik-roulette", "morvik-bare-window", "morvik-tick-profile", "layout_json"],
                  "-DCMAKE_BUILD_TYPE=Release", "-DMORVIK_BUILD_BENCH=ON", "-DMORVIK_BUILD_TESTS=ON")
    previous, previous_name = build_previous(args.previous, folder + "-previous")
    windows = build(ROOT, folder + "-windows", ["morvik-roulette", "morvik-bare-window"], "-DMORVIK_BUILD_BENCH=ON",
                    "-DCMAKE_BUILD_TYPE=MinSizeRel", "-DMORVIK_BUILD_TESTS=OFF",
                    "-DCMAKE_TOOLCHAIN_FILE=" + os.path.join(ROOT, "cmake", "mingw-w64.cmake"))
    wine = shutil.which("wine64") or shutil.which("wine64", path="/usr/lib/wine")
    if not wine:
        raise SystemExit("wine64 is missing: sudo apt install wine64")
    # Clicks land where the layout's table puts "Play" and "X", in their windows' pixels.
    boxes = {c["name"]: c["box"] for c in json.loads(output([os.path.join(linux, "tests", "e2e", "layout_json")]))}

    servers = []
    try:
        xvfb, display = start_server(["Xvfb", "-displayfd", "FD", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"])
        servers.append(xvfb)
        bus, address = start_server(["dbus-daemon", "--session", "--nofork", "--print-address=FD"])
        servers.append(bus)
        env = dict(os.environ, DISPLAY=":" + display, QT_QPA_PLATFORM="xcb", DBUS_SESSION_BUS_ADDRESS=address,
                   WINEPREFIX=os.path.join(windows, "wine"), WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
        env.pop("WAYLAND_DISPLAY", None)
        # Wine's server is kept running, as on a desktop where Wine is in use; the prefix is made first,
        # before the first measurement, as its folder must be there for the server to start in.
        server_command = os.path.join(os.path.dirname(wine), "wineserver")
        subprocess.run([wine, "wineboot"], env=env, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run([server_command, "-w"], env=env, check=True)
        wineserver = subprocess.Popen([server_command, "-f", "-p"], env=env)
        servers.append(wineserver)
        # A real window manager, as on a desktop: Wine waits for one at every hide of a window.
        servers.append(subprocess.Popen(["openbox"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        probe = Probe(env)
        while not probe.root.get_full_property(probe.x.intern_atom("_NET_SUPPORTING_WM_CHECK"), X.AnyPropertyType):
            time.sleep(0.05)

        bare, profile = [os.path.join(linux, "bench", "morvik-bare-window")], os.path.join(linux, "bench",
                                                                                          "morvik-tick-profile")
        wine_game, wine_bare = ([wine, os.path.join(windows, *path)] for path in
                                (("windows", "Morvik Roulette.exe"), ("bench", "morvik-bare-window.exe")))
        game = [os.path.join(linux, "qt", "morvik-roulette")]
        starts = dict(game=game, previous=[previous], bare=bare, text=[*bare, "text"], wine_game=wine_game,
                      wine_bare=wine_bare)
        steps = {
            "starts": lambda: run_starts(probe, starts, args.starts),
            "game": lambda: run_game(probe, game, boxes, args.idle),
            "bare": lambda: run_bare(probe, bare, args.idle),
            "profile": lambda: json.loads(output([profile], env)),
            "wine_game": lambda: run_game(probe, wine_game, boxes, args.idle, [wineserver.pid], back=False),
            "wine_bare": lambda: run_bare(probe, wine_bare, args.idle, [wineserver.pid]),
        }
        # One start of each program first, unmeasured, so that no run pays for a cold page cache.
        run_starts(probe, starts, 1)
        results = {name: [] for name in steps}
        loads = []
        for n in range(args.runs):
            for name in turn(steps, n):
                results[name].append(steps[name]())
            loads.append(os.getloadavg()[0])
            last = results["starts"][-1]
            print(f"run {n + 1} of {args.runs}: start " + ", ".join(
                f"{name} {statistics.median(last[name]):.1f} ms" for name in starts), flush=True)
    finally:
        for server in reversed(servers):
            server.terminate()
            server.wait()
    sys.exit(0 if report(results, previous_name, args, loads) else 1)


if __name__ == "__main__":
    main()
