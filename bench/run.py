#!/usr/bin/env python3
"""Both programs of the game beside bare programs under a virtual X server, against their budgets.

    python3 bench/run.py [--runs 10] [--starts 3] [--idle 5] [--previous REV]

Builds the game and bench/'s programs for Linux (build/bench), the previous
release from git (REV, any git revision; build/bench-previous) and the Windows
program with its bare window (MinGW-w64; build/bench-windows), and runs them
interleaved on one virtual X server under openbox with a session bus, so that
whatever else loads the machine weighs on the games and their yardsticks
alike. Every run starts each program a few times close together (the games,
the previous release, the bare windows with and without the title's
captions), then measures "Play", the title hidden, idle CPU, "X" and peak
memory of each game beside its bare window, and the spin's ticks beside a
framed label's. Writes bench/RESULTS.md with bench/notes.md appended, and
exits with status 1 when a budget is missed.

Needs what the test command installs, and python3-xlib.
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
SPIN_TICKS = 50  # Timer1 ticks in every spin
SETTLE = 0.5  # seconds a fresh window is left alone before it is measured


PREVIOUS = "e3e02c8^1"  # the game as it was before the leaner test suite


def configure_and_build(source, folder, targets, *options):
    subprocess.run(["cmake", "-S", source, "-B", folder, "-G", "Ninja", "-DMORVIK_BUILD_TESTS=OFF",
                    "-DMORVIK_BUILD_TOOLS=OFF", *options], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", folder, "--target", *targets], check=True)


def build(folder):
    configure_and_build(ROOT, folder, ["morvik-roulette", "morvik-bare-window", "morvik-tick-profile"],
                        "-DCMAKE_BUILD_TYPE=Release", "-DMORVIK_BUILD_BENCH=ON")
    return os.path.join(folder, "qt", "morvik-roulette"), os.path.join(folder, "bench")


def build_previous(revision, folder):
    """The game at `revision`, from the sources git keeps of it, built as the game is."""
    commit = subprocess.run(["git", "-C", ROOT, "rev-parse", "--verify", revision + "^{commit}"], check=True,
                            capture_output=True, text=True).stdout.strip()
    source, stamp = os.path.join(folder, "source"), os.path.join(folder, "commit")
    if not os.path.exists(stamp) or open(stamp).read() != commit:
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(source)
        archive = subprocess.Popen(["git", "-C", ROOT, "archive", commit], stdout=subprocess.PIPE)
        subprocess.run(["tar", "-x", "-C", source], stdin=archive.stdout, check=True)
        if archive.wait():
            raise SystemExit(f"git archive {commit} failed")
        with open(stamp, "w") as out:
            out.write(commit)
    configure_and_build(source, os.path.join(folder, "build"), ["morvik-roulette"], "-DCMAKE_BUILD_TYPE=Release",
                        "-DMORVIK_BUILD_BENCH=OFF")
    # The program's folder has moved between releases (app/, qt/).
    program, = glob.glob(os.path.join(folder, "build", "*", "morvik-roulette"))
    return program, commit[:7]


def build_windows(folder):
    """The Windows program as tools/windows.sh builds it, and its bare window."""
    configure_and_build(ROOT, folder, ["morvik-roulette", "morvik-bare-window"], "-DCMAKE_BUILD_TYPE=MinSizeRel",
                        "-DMORVIK_BUILD_BENCH=ON",
                        "-DCMAKE_TOOLCHAIN_FILE=" + os.path.join(ROOT, "cmake", "mingw-w64.cmake"))
    return (os.path.join(folder, "windows", "Morvik Roulette.exe"),
            os.path.join(folder, "bench", "morvik-bare-window.exe"))


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
        return ms, at.x, at.y

    def spawn(self, command):
        self.wait(0)  # what came before only arms the damage of new windows
        since = time.monotonic()
        pid = subprocess.Popen(command, env=self.env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL).pid
        return (pid, *self.frame(since))

    def click(self, place, at):
        xtest.fake_input(self.x, X.MotionNotify, x=place[0] + at[0], y=place[1] + at[1])
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


def run_starts(probe, programs, repeats):
    """Start to the first frame of every program, `repeats` times in turn: close together, so that
    whatever loads the machine weighs on all of them alike."""
    names = list(programs)
    times = {name: [] for name in names}
    for n in range(repeats):
        for name in names[n % len(names):] + names[:n % len(names)]:
            pid, start, _, _ = probe.spawn(programs[name])
            end(pid)
            times[name].append(start)
    return times


def run_game(probe, game, places, seconds, helpers=(), back=True):
    """"Play", idle with the table shown; on Linux also "X" and idle with the title shown. `helpers`
    are processes whose CPU the game's idle costs too (Wine's server)."""
    pid, _, x, y = probe.spawn(game)
    time.sleep(SETTLE)
    play, x, y = probe.click(places["Form2.Label1(0)"], (x, y))
    result = dict(play=play, hidden=probe.hidden(), table_idle=idle([pid, *helpers], seconds))
    if back:
        result["back"], x, y = probe.click(places["Form1.Label7"], (x, y))
        result["title_idle"] = idle([pid, *helpers], seconds)
    result["peak"] = peak_mib(pid)
    end(pid)
    return result


def run_bare(probe, bare, seconds, helpers=()):
    pid, _, _, _ = probe.spawn(bare)
    time.sleep(SETTLE)
    result = dict(peak=peak_mib(pid))
    end(pid)
    pid, _, _, _ = probe.spawn([*bare, "timer"])
    result["timer_idle"] = idle([pid, *helpers], seconds)
    end(pid)
    return result


def run_profile(profile, argument, env):
    out = subprocess.run([profile, argument], env=env, check=True, timeout=120, capture_output=True, text=True)
    return json.loads(out.stdout)


def summary(values):
    return dict(median=statistics.median(values), low=min(values), high=max(values))


def shown(s, digits):
    return "" if s is None else f"{s['median']:.{digits}f} ({s['low']:.{digits}f} to {s['high']:.{digits}f})"


def busy_jiffies():
    """The machine's busy and total CPU time, all cores, from /proc/stat."""
    with open("/proc/stat") as file:
        values = [int(v) for v in file.readline().split()[1:]]
    return sum(values) - values[3] - values[4], sum(values)  # less idle and iowait


def table(rows):
    header = ("measure", "program", "yardstick", "ratio", "budget", "")
    return ["| " + " | ".join(header) + " |", "|" + "---|" * len(header), *("| " + " | ".join(r) + " |" for r in rows)]


def report(r, previous, args, quiet):
    s = {name: {key: summary([run[key] for run in runs]) for key in runs[0]}
         for name, runs in r.items() if name not in ("starts", "profile", "floor")}
    g, b, wg, wb = s["game"], s["bare"], s["wine_game"], s["wine_bare"]
    start = {name: summary([t for run in r["starts"] for t in run[name]]) for name in r["starts"][0]}
    linux, windows = [], []  # rows: measure, program, yardstick, ratio, budget, verdict

    def row(rows, measure, ours, yardstick=None, limit=None, budget="", digits=1, passed=None):
        ratio = ours["median"] / yardstick["median"] if yardstick else None
        if limit is not None:
            passed = ratio <= limit
        rows.append((measure, shown(ours, digits), shown(yardstick, digits),
                     "" if ratio is None else f"{ratio:.2f} x", budget,
                     "" if passed is None else "pass" if passed else "FAIL"))

    # Any Qt window with text pays for fontconfig and the font database: the bare window with the
    # title's captions is the yardstick, and each release is held against the one before it.
    row(linux, "start to the title's first frame, ms (yardstick: the bare window with the title's captions)",
        start["game"], start["text"], 1.3, "<= 1.3 x")
    row(linux, f"start to the title's first frame, ms (yardstick: the previous release, {previous})",
        start["game"], start["previous"], 1.0, "<= 1.0 x")
    row(linux, "start to the title's first frame, ms (yardstick: the bare window)", start["game"], start["bare"])
    row(linux, "\"Play\" to the table's first frame, ms", g["play"], budget="median < 25 ms",
        passed=g["play"]["median"] < 25)
    row(linux, "\"Play\" to the title hidden, ms", g["hidden"])
    row(linux, "\"X\" to the title's first frame, ms", g["back"])
    row(linux, "idle CPU, table shown, % of a core (yardstick: the bare window's 1 ms timer)", g["table_idle"],
        b["timer_idle"], 1.15, "<= 1.15 x", 2)
    row(linux, "idle CPU, title shown over the hidden table, % of a core", g["title_idle"], b["timer_idle"], 1.15,
        "<= 1.15 x", 2)
    row(linux, "peak resident memory (VmHWM), MiB (yardstick: the bare window)", g["peak"], b["peak"], 1.5,
        "<= 1.5 x")
    spins = [n for p in r["profile"] for n in p["spins"]]
    row(linux, "Timer1 ticks in a spin", summary(spins), budget="exactly 50", digits=0,
        passed=set(spins) == {SPIN_TICKS})
    repaint = summary([t / 1000 for p in r["profile"] for t in p["repaints"]])
    floor = summary([t / 1000 for f in r["floor"] for t in f["repaints"]])
    row(linux, "spin tick that repaints Cislo, main-thread CPU, ms (yardstick: a framed label alone, same cadence)",
        repaint, floor, digits=3)
    paints = sum((collections.Counter(p["paints"]) for p in r["profile"]), collections.Counter())
    linux.append(("widgets painted in the spin ticks", ", ".join(f"{n} {c}" for n, c in sorted(paints.items())),
                  "", "", "only Cislo", "pass" if list(paints) == ["Cislo"] else "FAIL"))

    row(windows, "start to the title's first frame, ms (yardstick: the bare Win32 window)", start["wine_game"],
        start["wine_bare"], 1.3, "<= 1.3 x")
    row(windows, "start to the title's first frame, ms (yardstick: the bare Win32 window with the title's captions)",
        start["wine_game"], start["wine_text"])
    row(windows, "\"Play\" to the table's first frame, ms", wg["play"])
    row(windows, "\"Play\" to the title hidden, ms", wg["hidden"])
    row(windows, "idle CPU, table shown, % of a core, with Wine's server (yardstick: the bare window's 1 ms timer)",
        wg["table_idle"], wb["timer_idle"], 1.15, "<= 1.15 x", 2)
    row(windows, "peak working set (VmHWM), MiB (yardstick: the bare Win32 window)", wg["peak"], wb["peak"], 1.3,
        "<= 1.3 x")

    linux_lines, windows_lines = table(linux), table(windows)
    print("\n".join(["Linux", *linux_lines, "Windows, under Wine", *windows_lines]))
    cpu = next(line.split(":", 1)[1].strip() for line in open("/proc/cpuinfo") if line.startswith("model name"))

    def version(package):
        out = subprocess.run(["dpkg-query", "-W", "-f=${Version}", package], capture_output=True, text=True)
        return out.stdout or "unknown"

    failed = [row[0] for row in linux + windows if row[5] == "FAIL"]
    lines = [
        "# Performance of the whole process", "",
        f"Measured on {datetime.date.today()} by `python3 bench/run.py` on {cpu}, {os.cpu_count()} cores, "
        f"Qt {version('qt6-base-dev')}, Wine {version('wine64')}, Xvfb 1280x1024x24 with a session bus: "
        f"{args.runs} interleaved runs, {args.starts} starts of each program in every run, {args.idle:g} s of "
        f"each idle measurement. Medians, "
        f"min to max in parentheses. {quiet}", "",
        "## Linux", "", *linux_lines, "",
        "## Windows, under Wine", "",
        "Wine is not Windows: these figures are of the Windows program under Wine on the same virtual X "
        "server, beside a bare Win32 window built the same way (static, MinGW-w64, the same manifest). Only "
        "the ratios say something of Windows itself, and only roughly.", "",
        *windows_lines, "",
        "All budgets are met." if not failed else "Budgets missed: " + "; ".join(failed) + ".", "",
    ]
    with open(os.path.join(HERE, "notes.md")) as notes:
        lines.append(notes.read())
    # The web figures at the end are bench/web.mjs's, kept as they stand.
    results = os.path.join(HERE, "RESULTS.md")
    web = open(results).read().partition("\n## Web\n") if os.path.exists(results) else ("", "", "")
    with open(results, "w") as out:
        out.write("\n".join(lines) + (web[1] + web[2] if web[1] else ""))
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
    parser.add_argument("--previous", default=PREVIOUS, help="the release the start-up is held against")
    args = parser.parse_args()
    build_root = os.path.join(ROOT, "build")
    game, bench = build(os.path.join(build_root, "bench"))
    previous, previous_name = build_previous(args.previous, os.path.join(build_root, "bench-previous"))
    windows_folder = os.path.join(build_root, "bench-windows")
    wine_game, wine_bare = build_windows(windows_folder)
    wine = shutil.which("wine64") or shutil.which("wine64", path="/usr/lib/wine")
    if not wine:
        raise SystemExit("wine64 is missing: sudo apt install wine64")

    servers = []
    try:
        xvfb, display = start_server(["Xvfb", "-displayfd", "FD", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"])
        servers.append(xvfb)
        bus, address = start_server(["dbus-daemon", "--session", "--nofork", "--print-address=FD"])
        servers.append(bus)
        env = dict(os.environ, DISPLAY=":" + display, QT_QPA_PLATFORM="xcb", DBUS_SESSION_BUS_ADDRESS=address,
                   WINEPREFIX=os.path.join(windows_folder, "wine"), WINEDEBUG="-all",
                   WINEDLLOVERRIDES="mscoree,mshtml=")
        env.pop("WAYLAND_DISPLAY", None)
        # Wine's server is kept running, as on a desktop where Wine is in use; the prefix is made first,
        # before the first measurement, as its folder must be there for the server to start in.
        server_command = os.path.join(os.path.dirname(wine), "wineserver")
        subprocess.run([wine, "wineboot"], env=env, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run([server_command, "-w"], env=env, check=True)
        wineserver = subprocess.Popen([server_command, "-f", "-p"], env=env)
        servers.append(wineserver)

        bare, profile = [os.path.join(bench, "morvik-bare-window")], os.path.join(bench, "morvik-tick-profile")
        # A real window manager, as on a desktop: Wine waits for one at every hide of a window.
        servers.append(subprocess.Popen(["openbox"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        probe = Probe(env)
        while not probe.root.get_full_property(probe.x.intern_atom("_NET_SUPPORTING_WM_CHECK"), X.AnyPropertyType):
            time.sleep(0.05)
        places = run_profile(profile, "places", env)
        starts = {"game": [game], "previous": [previous], "bare": bare, "text": [*bare, "text"], "wine_game":
                  [wine, wine_game], "wine_bare": [wine, wine_bare], "wine_text": [wine, wine_bare, "text"]}
        steps = {
            "starts": lambda: run_starts(probe, starts, args.starts),
            "game": lambda: run_game(probe, [game], places, args.idle),
            "bare": lambda: run_bare(probe, bare, args.idle),
            "profile": lambda: run_profile(profile, "4", env),
            "floor": lambda: run_profile(profile, "bare", env),
            "wine_game": lambda: run_game(probe, [wine, wine_game], places, args.idle, [wineserver.pid], back=False),
            "wine_bare": lambda: run_bare(probe, [wine, wine_bare], args.idle, [wineserver.pid]),
        }
        # One start of each program first, unmeasured, so that no run pays for a cold page cache.
        run_starts(probe, starts, 1)
        results = {name: [] for name in steps}
        loads = []
        busy, total = busy_jiffies()
        for n in range(args.runs):
            order = list(steps)[n % len(steps):] + list(steps)[:n % len(steps)]
            for name in order:
                results[name].append(steps[name]())
            loads.append(os.getloadavg()[0])
            last = results["starts"][-1]
            print(f"run {n + 1} of {args.runs}: start " + ", ".join(
                f"{name} {statistics.median(last[name]):.1f} ms" for name in starts), flush=True)
        busy_after, total_after = busy_jiffies()
    finally:
        for server in reversed(servers):
            server.terminate()
            server.wait()
    quiet = (f"How quiet: the machine was busy {100 * (busy_after - busy) / (total_after - total):.0f} % of its "
             f"cores' time during the runs, this benchmark included; load average {statistics.median(loads):.1f} "
             f"(at most {max(loads):.1f}).")
    sys.exit(0 if report(results, previous_name, args, quiet) else 1)


if __name__ == "__main__":
    main()
