#!/usr/bin/env python3
"""The whole game beside bare Qt programs under a virtual X server, against its budgets.

    python3 bench/run.py [--runs 10] [--idle 5]

Builds the game and the programs of bench/ in build/bench and runs them in
turn, interleaved, so that whatever else loads the machine weighs on the game
and its yardsticks alike: the game (start to the title's first frame, "Play" to
the table's, idle CPU with the table shown and with the title shown over the
hidden table, "X" back, peak memory), the bare window (start, memory, and start
with the title's captions), the bare window with a 1 ms timer (idle CPU), and
the tick profile of the game and of its floor. Prints the table, writes
bench/RESULTS.md with bench/notes.md appended, and exits with status 1 when a
budget is missed.

Needs: cmake ninja-build g++ qt6-base-dev xvfb libxtst-dev libxdamage-dev.
"""
import argparse
import datetime
import json
import os
import signal
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
PLAY = (56 + 233 // 2, 312 + 105 // 2)  # the middle of the title's "Play", Label1(0)
CROSS = (816 + 33 // 2, 8 + 25 // 2)  # the middle of the table's "X", Label7
SPIN_TICKS = 50  # Timer1 ticks in every spin
SETTLE = 0.5  # seconds a fresh window is left alone before it is measured


def build(folder):
    subprocess.run(["cmake", "-S", ROOT, "-B", folder, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                    "-DMORVIK_BUILD_BENCH=ON", "-DMORVIK_BUILD_TESTS=OFF", "-DMORVIK_BUILD_TOOLS=OFF"],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", folder, "--target", "morvik-roulette", "morvik-bare-window",
                    "morvik-tick-profile", "morvik-x-probe"], check=True)
    return os.path.join(folder, "app", "morvik-roulette"), os.path.join(folder, "bench")


class Probe:
    """morvik-x-probe: starts programs and clicks, and tells when a window is first drawn."""

    def __init__(self, path, env):
        self.process = subprocess.Popen([path], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, text=True, env=env)

    def ask(self, command):
        self.process.stdin.write(command + "\n")
        self.process.stdin.flush()
        words = self.process.stdout.readline().split()
        if not words or words[0] != "frame":
            raise SystemExit(f"morvik-x-probe answers {' '.join(words) or 'nothing'} to: {command}")
        return int(words[1]), float(words[2]), int(words[3]), int(words[4])  # pid, ms, x, y

    def click(self, x, y, at):
        return self.ask(f"click {x + at[0]} {y + at[1]}")


def cpu_ms(pid):
    """The scheduler's run time of all the process's threads."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as file:
                total += int(file.read().split()[0])
        except OSError:
            pass  # a thread that ended meanwhile
    return total / 1e6


def idle(pid, seconds):
    """CPU in per cent of one core over `seconds` left alone."""
    time.sleep(SETTLE)
    start, before = time.monotonic(), cpu_ms(pid)
    time.sleep(seconds)
    return (cpu_ms(pid) - before) / (time.monotonic() - start) / 10


def peak_mib(pid):
    with open(f"/proc/{pid}/status") as file:
        return next(int(line.split()[1]) for line in file if line.startswith("VmHWM:")) / 1024


def end(pid):
    os.kill(pid, signal.SIGTERM)
    while os.path.exists(f"/proc/{pid}"):
        time.sleep(0.01)


def run_game(probe, game, seconds):
    pid, start, x, y = probe.ask(f"spawn {game}")
    time.sleep(SETTLE)
    _, play, x, y = probe.click(x, y, PLAY)
    table = idle(pid, seconds)
    _, back, x, y = probe.click(x, y, CROSS)
    title = idle(pid, seconds)
    result = dict(start=start, play=play, back=back, table_idle=table, title_idle=title, peak=peak_mib(pid))
    end(pid)
    return result


def run_bare(probe, bare, seconds):
    pid, start, _, _ = probe.ask(f"spawn {bare}")
    time.sleep(SETTLE)
    result = dict(start=start, peak=peak_mib(pid))
    end(pid)
    pid, result["text_start"], _, _ = probe.ask(f"spawn {bare} text")
    end(pid)
    pid, _, _, _ = probe.ask(f"spawn {bare} timer")
    result["timer_idle"] = idle(pid, seconds)
    end(pid)
    return result


def run_profile(profile, argument, env):
    out = subprocess.run([profile, argument], env=env, check=True, timeout=120, capture_output=True, text=True)
    return json.loads(out.stdout)


def summary(values):
    return dict(median=statistics.median(values), low=min(values), high=max(values))


def shown(s, digits):
    return "" if s is None else f"{s['median']:.{digits}f} ({s['low']:.{digits}f} to {s['high']:.{digits}f})"


def report(game, bare, profiles, floors, args):
    g = {key: summary([r[key] for r in game]) for key in game[0]}
    b = {key: summary([r[key] for r in bare]) for key in bare[0]}
    rows = []  # measure, game, yardstick, ratio, budget, verdict

    def row(measure, ours, yardstick=None, limit=None, budget="", digits=1, passed=None):
        ratio = ours["median"] / yardstick["median"] if yardstick else None
        if limit is not None:
            passed = ratio <= limit
        rows.append((measure, shown(ours, digits), shown(yardstick, digits),
                     "" if ratio is None else f"{ratio:.2f} x", budget,
                     "" if passed is None else "pass" if passed else "FAIL"))

    row("start to the title's first frame, ms (yardstick: the bare window)", g["start"], b["start"], 1.3,
        "<= 1.3 x")
    row("start to the title's first frame, ms (yardstick: the bare window with the title's captions)", g["start"],
        b["text_start"])
    row("\"Play\" to the table's first frame, ms", g["play"], budget="median < 25 ms",
        passed=g["play"]["median"] < 25)
    row("\"X\" to the title's first frame, ms", g["back"])
    row("idle CPU, table shown, % of a core (yardstick: the bare window's 1 ms timer)", g["table_idle"],
        b["timer_idle"], 1.15, "<= 1.15 x", 2)
    row("idle CPU, title shown over the hidden table, % of a core", g["title_idle"], b["timer_idle"], 1.15,
        "<= 1.15 x", 2)
    row("peak resident memory (VmHWM), MiB (yardstick: the bare window)", g["peak"], b["peak"], 1.5, "<= 1.5 x")
    spins = [n for p in profiles for n in p["spins"]]
    row("Timer1 ticks in a spin", summary(spins), budget="exactly 50", digits=0,
        passed=set(spins) == {SPIN_TICKS})
    repaint = summary([t / 1000 for p in profiles for t in p["repaints"]])
    floor = summary([t / 1000 for f in floors for t in f["repaints"]])
    row("spin tick that repaints Cislo, main-thread CPU, ms (yardstick: a framed label alone, same cadence)",
        repaint, floor, digits=3)
    paints = {}
    for p in profiles:
        for name, count in p["paints"].items():
            paints[name] = paints.get(name, 0) + count
    rows.append(("widgets painted in the spin ticks", ", ".join(f"{n} {c}" for n, c in sorted(paints.items())),
                 "", "", "only Cislo", "pass" if list(paints) == ["Cislo"] else "FAIL"))

    header = ("measure", "game", "yardstick", "ratio", "budget", "")
    print("\n".join("  ".join(line) for line in [header] + rows))
    cpu = next(line.split(":", 1)[1].strip() for line in open("/proc/cpuinfo") if line.startswith("model name"))
    qt = subprocess.run(["dpkg-query", "-W", "-f=${Version}", "qt6-base-dev"], capture_output=True, text=True)
    failed = [r[0] for r in rows if r[5] == "FAIL"]
    lines = [
        "# Performance of the whole process", "",
        f"Measured on {datetime.date.today()} by `python3 bench/run.py` on {cpu}, {os.cpu_count()} cores, "
        f"Qt {qt.stdout or 'unknown'}, Xvfb 1280x1024x24: {args.runs} interleaved runs of each program, "
        f"{args.idle:g} s of each idle measurement. Medians, min to max in parentheses.", "",
        "| " + " | ".join(header) + " |", "|" + "---|" * len(header),
        *("| " + " | ".join(r) + " |" for r in rows), "",
        "All budgets are met." if not failed else "Budgets missed: " + "; ".join(failed) + ".", "",
    ]
    with open(os.path.join(HERE, "notes.md")) as notes:
        lines.append(notes.read())
    with open(os.path.join(HERE, "RESULTS.md"), "w") as out:
        out.write("\n".join(lines))
    return not failed


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--runs", type=int, default=10)
    parser.add_argument("--idle", type=float, default=5.0, help="seconds of each idle measurement")
    parser.add_argument("--build-dir", default=os.path.join(ROOT, "build", "bench"))
    args = parser.parse_args()
    game, bench = build(args.build_dir)

    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                              pass_fds=[write], stderr=subprocess.DEVNULL)
    os.close(write)
    env = dict(os.environ, DISPLAY=":" + os.read(read, 16).decode().strip(), QT_QPA_PLATFORM="xcb")
    env.pop("WAYLAND_DISPLAY", None)
    probe = Probe(os.path.join(bench, "morvik-x-probe"), env)
    bare, profile = os.path.join(bench, "morvik-bare-window"), os.path.join(bench, "morvik-tick-profile")
    results = {"game": [], "bare": [], "profile": [], "floor": []}
    steps = {
        "game": lambda: run_game(probe, game, args.idle),
        "bare": lambda: run_bare(probe, bare, args.idle),
        "profile": lambda: run_profile(profile, "4", env),
        "floor": lambda: run_profile(profile, "bare", env),
    }
    try:
        for n in range(args.runs):
            order = list(steps)[n % 4:] + list(steps)[:n % 4]
            for name in order:
                results[name].append(steps[name]())
            print(f"run {n + 1} of {args.runs}: start {results['game'][-1]['start']:.1f} ms, bare "
                  f"{results['bare'][-1]['start']:.1f} ms", flush=True)
    finally:
        probe.process.stdin.close()
        probe.process.wait()
        server.terminate()
    sys.exit(0 if report(results["game"], results["bare"], results["profile"], results["floor"], args) else 1)


if __name__ == "__main__":
    main()
